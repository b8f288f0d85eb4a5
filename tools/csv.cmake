# CSV for the command-line tool: RFC 4180 rows, and the book's records as rows.
# No Qt here.
add_library(kestrel_csv
  ${CMAKE_CURRENT_LIST_DIR}/book_csv.cpp
  ${CMAKE_CURRENT_LIST_DIR}/csv.cpp
)
target_include_directories(kestrel_csv PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(kestrel_csv PUBLIC kestrel_store PRIVATE kestrel_text)
