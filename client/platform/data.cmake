# Client dataset, data source, data-bound grid views and their spreadsheet export.
korvel_library(korvel_platform_data
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/displayformat.h ${CMAKE_CURRENT_LIST_DIR}/displayformat.cpp
    ${CMAKE_CURRENT_LIST_DIR}/clientdataset.h ${CMAKE_CURRENT_LIST_DIR}/clientdataset.cpp
    ${CMAKE_CURRENT_LIST_DIR}/datasource.h ${CMAKE_CURRENT_LIST_DIR}/datasource.cpp
    ${CMAKE_CURRENT_LIST_DIR}/gridview.h ${CMAKE_CURRENT_LIST_DIR}/gridview.cpp
    ${CMAKE_CURRENT_LIST_DIR}/gridexporter.h ${CMAKE_CURRENT_LIST_DIR}/gridexporter.cpp
  LIBS korvel_platform_base korvel_wire Qt6::Widgets PRIVATE PkgConfig::XLSXWRITER)
