# DataSnap-style connection, server-method commands and the proxy base class.
korvel_library(korvel_platform_net
  SOURCES sqlconnection.h sqlconnection.cpp dbxcommand.h dbxcommand.cpp
          dsadminclient.h dsadminclient.cpp
  LIBS korvel_platform_base korvel_wire Qt6::Core)
target_link_libraries(korvel_platform_net PRIVATE PkgConfig::HTTPLIB ZLIB::ZLIB)
