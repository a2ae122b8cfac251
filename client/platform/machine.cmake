# Identity of this computer from Linux sources (korvel_platform_machine).
korvel_library(korvel_platform_machine
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/machine.h ${CMAKE_CURRENT_LIST_DIR}/machine.cpp
  LIBS Qt6::Core)
