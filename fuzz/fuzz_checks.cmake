# The check functions shared by the fuzz targets and the corpus replay test.
# Included from fuzz/ and from tests/fuzz/; defined once when both are built.
if(NOT TARGET kestrel_fuzz_checks)
  add_library(kestrel_fuzz_checks
    ${PROJECT_SOURCE_DIR}/fuzz/decode_file_check.cpp
    ${PROJECT_SOURCE_DIR}/fuzz/import_checks.cpp
    ${PROJECT_SOURCE_DIR}/fuzz/journal_check.cpp
    ${PROJECT_SOURCE_DIR}/fuzz/load_text_check.cpp
    ${PROJECT_SOURCE_DIR}/fuzz/round_trip_check.cpp
  )
  target_link_libraries(kestrel_fuzz_checks PUBLIC kestrel_store kestrel_exchange)
endif()
