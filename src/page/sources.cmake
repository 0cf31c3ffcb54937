target_sources(kqgui PRIVATE
  ${PROJECT_SOURCE_DIR}/src/page/CSetting.cpp
  ${PROJECT_SOURCE_DIR}/src/page/CSetting.h
  ${PROJECT_SOURCE_DIR}/src/page/SettingFlows.cpp
)
