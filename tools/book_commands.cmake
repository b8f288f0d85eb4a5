# The subcommands that work on records: duplicates, export, import, list, print and search.
target_sources(kestrel-book PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/book_command.cpp
  ${CMAKE_CURRENT_LIST_DIR}/cmd_duplicates.cpp
  ${CMAKE_CURRENT_LIST_DIR}/cmd_export.cpp
  ${CMAKE_CURRENT_LIST_DIR}/cmd_import.cpp
  ${CMAKE_CURRENT_LIST_DIR}/cmd_list.cpp
  ${CMAKE_CURRENT_LIST_DIR}/cmd_print.cpp
  ${CMAKE_CURRENT_LIST_DIR}/cmd_search.cpp
  ${CMAKE_CURRENT_LIST_DIR}/search_options.cpp
)
target_link_libraries(kestrel-book PRIVATE kestrel_exchange kestrel_report kestrel_search kestrel_text)
