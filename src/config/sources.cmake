target_sources(kqcore PRIVATE
  config/CharacterMap.cpp
  config/CharacterMap.h
  config/ConfigCodec.cpp
  config/ConfigCodec.h
  config/ConfigRecord.h
)
