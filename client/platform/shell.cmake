# Shell "open" of an address, the documents folder and ending the process (korvel_platform_shell).
korvel_library(korvel_platform_shell
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/shell.h ${CMAKE_CURRENT_LIST_DIR}/shell.cpp
  LIBS Qt6::Gui)
