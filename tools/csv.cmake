# The book's doors to other programs, for the command-line tool: CSV (RFC 4180
# rows, and the book's records as rows), vCard, workbooks (a zip of XML
# parts), reading text in the encodings spreadsheets write, and finding
# duplicate records. No Qt here.
add_library(kestrel_exchange
  ${CMAKE_CURRENT_LIST_DIR}/book_csv.cpp
  ${CMAKE_CURRENT_LIST_DIR}/book_vcard.cpp
  ${CMAKE_CURRENT_LIST_DIR}/book_xlsx.cpp
  ${CMAKE_CURRENT_LIST_DIR}/calendar_date.cpp
  ${CMAKE_CURRENT_LIST_DIR}/csv.cpp
  ${CMAKE_CURRENT_LIST_DIR}/duplicates.cpp
  ${CMAKE_CURRENT_LIST_DIR}/import_text.cpp
  ${CMAKE_CURRENT_LIST_DIR}/vcard.cpp
  ${CMAKE_CURRENT_LIST_DIR}/xlsx_cell_ref.cpp
  ${CMAKE_CURRENT_LIST_DIR}/xlsx_reader.cpp
  ${CMAKE_CURRENT_LIST_DIR}/xlsx_writer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/xml_scanner.cpp
  ${CMAKE_CURRENT_LIST_DIR}/zip_reader.cpp
  ${CMAKE_CURRENT_LIST_DIR}/zip_writer.cpp
)
target_include_directories(kestrel_exchange PUBLIC ${PROJECT_SOURCE_DIR})
# Deflate for the workbooks' zip container; linked statically into the
# Windows programs, which carry no DLLs of their own.
if(WIN32)
  set(ZLIB_USE_STATIC_LIBS ON)
endif()
find_package(ZLIB REQUIRED)
target_link_libraries(kestrel_exchange PUBLIC kestrel_store kestrel_text PRIVATE ZLIB::ZLIB)
