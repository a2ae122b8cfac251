# Warnings as errors for our own targets only; third-party headers come in as SYSTEM.
option(KORVEL_WERROR "Treat warnings in our own code as errors" ON)

function(korvel_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra)
  if(KORVEL_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
  target_compile_definitions(${target} PRIVATE QT_NO_KEYWORDS_FOR_SIGNALS_EXCEPT_QT QT_USE_QSTRINGBUILDER)
endfunction()

# korvel_library(name SOURCES ... LIBS ...): a static library of one folder.
function(korvel_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;PUBLIC_INCLUDE" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR} ${ARG_PUBLIC_INCLUDE})
  target_link_libraries(${name} PUBLIC ${ARG_LIBS})
  korvel_warnings(${name})
endfunction()

# korvel_test(name SOURCES ... LIBS ... [TIMEOUT s]): one Qt Test executable registered with CTest.
# Every test runs offscreen under Turkish number formats (see tests/support/testmain.h).
function(korvel_test name)
  cmake_parse_arguments(ARG "" "TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE korvel_testsupport Qt6::Test ${ARG_LIBS})
  korvel_warnings(${name})
  add_test(NAME ${name} COMMAND ${name})
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 120)
  endif()
  set_tests_properties(${name} PROPERTIES
    TIMEOUT ${ARG_TIMEOUT}
    LABELS "${ARG_LABELS}"
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8")
endfunction()

# A test that starts the substitute server gets its path as KORVEL_SERVER_BIN.
function(korvel_test_uses_server name)
  if(TARGET korvel-b2b-server)
    add_dependencies(${name} korvel-b2b-server)
    target_compile_definitions(${name} PRIVATE KORVEL_SERVER_BIN="$<TARGET_FILE:korvel-b2b-server>")
  else()
    target_compile_definitions(${name} PRIVATE KORVEL_SERVER_BIN="")
  endif()
endfunction()
