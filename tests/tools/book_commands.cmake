# Drives export, import, list, print and search of the built kestrel-book.
add_executable(kestrel_book_commands_tests ${CMAKE_CURRENT_LIST_DIR}/book_commands_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/print_command_test.cpp
  ${KESTREL_RUN_PROGRAM})
target_link_libraries(kestrel_book_commands_tests PRIVATE
  kestrel_exchange kestrel_search kestrel_bookgen kestrel_store kestrel_text GTest::gtest_main)
target_compile_definitions(kestrel_book_commands_tests PRIVATE KESTREL_BOOK="$<TARGET_FILE:kestrel-book>")
add_dependencies(kestrel_book_commands_tests kestrel-book)
include(GoogleTest)
gtest_discover_tests(kestrel_book_commands_tests)
