target_sources(kqcore PRIVATE
  link/Frame.cpp
  link/Frame.h
  link/CXmit.cpp
  link/CXmit.h
  link/TraceFile.cpp
  link/TraceFile.h
)
