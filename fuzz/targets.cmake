# Fuzz targets: name, source, and the libraries they need. Shared by the libFuzzer
# build (fuzz/CMakeLists.txt) and the corpus replay of the ordinary tests.
set(KQ_FUZZ_TARGETS link_reply config_decode)
set(KQ_FUZZ_SOURCE_link_reply ${CMAKE_CURRENT_LIST_DIR}/link_reply_fuzz.cpp)
set(KQ_FUZZ_SOURCE_config_decode ${CMAKE_CURRENT_LIST_DIR}/config_decode_fuzz.cpp)
