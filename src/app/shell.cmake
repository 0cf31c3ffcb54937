target_sources(kqgui PRIVATE
  CInfo.cpp
  CInfo.h
  CKQ300IfaceDlg.cpp
  CKQ300IfaceDlg.h
  QtDialogs.cpp
  QtDialogs.h
  ZIZ300OvariRur.cpp
  ZIZ300OvariRur.h
)

add_executable(kqiface main.cpp)
target_link_libraries(kqiface PRIVATE kqgui)
