# Tests of the exchange library of the command-line tool: CSV, vCard,
# workbooks, duplicates.
add_executable(kestrel_exchange_tests
  ${CMAKE_CURRENT_LIST_DIR}/csv_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/vcard_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/xlsx_test.cpp
)
target_link_libraries(kestrel_exchange_tests PRIVATE kestrel_exchange kestrel_bookgen kestrel_store
                      GTest::gtest_main)
target_compile_definitions(kestrel_exchange_tests PRIVATE
  KESTREL_VCARD_FIXTURES="${CMAKE_CURRENT_LIST_DIR}/vcards")
include(GoogleTest)
gtest_discover_tests(kestrel_exchange_tests)
