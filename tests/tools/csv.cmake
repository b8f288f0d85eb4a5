# Tests of the CSV library of the command-line tool.
add_executable(kestrel_exchange_tests ${CMAKE_CURRENT_LIST_DIR}/csv_test.cpp)
target_link_libraries(kestrel_exchange_tests PRIVATE kestrel_exchange kestrel_store GTest::gtest_main)
include(GoogleTest)
gtest_discover_tests(kestrel_exchange_tests)
