# The book's doors to other programs, for the command-line tool: CSV (RFC 4180
# rows, and the book's records as rows), vCard, reading text in the encodings
# spreadsheets write, and finding duplicate records. No Qt here.
add_library(kestrel_exchange
  ${CMAKE_CURRENT_LIST_DIR}/book_csv.cpp
  ${CMAKE_CURRENT_LIST_DIR}/book_vcard.cpp
  ${CMAKE_CURRENT_LIST_DIR}/calendar_date.cpp
  ${CMAKE_CURRENT_LIST_DIR}/csv.cpp
  ${CMAKE_CURRENT_LIST_DIR}/duplicates.cpp
  ${CMAKE_CURRENT_LIST_DIR}/import_text.cpp
  ${CMAKE_CURRENT_LIST_DIR}/vcard.cpp
)
target_include_directories(kestrel_exchange PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(kestrel_exchange PUBLIC kestrel_store kestrel_text)
