# Message dialogs, the plain message box and beeps (korvel_platform_dialogs).
korvel_library(korvel_platform_dialogs
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/dialogs.h ${CMAKE_CURRENT_LIST_DIR}/dialogs.cpp
  LIBS Qt6::Widgets)
