# The Windows build, cross-compiled with cmake/mingw-w64.cmake: googletest
# built from Debian's source with the same compiler, and Wine to run the
# Windows programs of ctest, each through wine-run in the build folder.
# Included from the top-level CMakeLists.txt before any target.
enable_language(RC)  # the programs' icon and manifest
# printf and its kin as C99 has them (%zu, %lld), not as the old msvcrt.dll
# knows them: messages such as the damaged-book warning are formatted so.
add_compile_definitions(__USE_MINGW_ANSI_STDIO=1)

find_program(KESTREL_WINE wine REQUIRED)
find_program(KESTREL_WINESERVER wineserver REQUIRED)
set(KESTREL_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
configure_file(${CMAKE_CURRENT_LIST_DIR}/wine-run.sh.in ${CMAKE_BINARY_DIR}/wine-run
  @ONLY FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                         WORLD_READ WORLD_EXECUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run)
# Test programs list their tests when ctest starts, not after each link, so
# building needs no Wine.
set(CMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE PRE_TEST)

if(KESTREL_BUILD_TESTS)
  set(KESTREL_GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH "googletest's source, built with the cross compiler")
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  add_subdirectory(${KESTREL_GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
  # googletest names its targets GTest::gtest, GTest::gtest_main, ... as find_package(GTest) does.
  foreach(gtest_target gtest)
    target_sources(${gtest_target} INTERFACE ${CMAKE_CURRENT_LIST_DIR}/windows/lf_test_output.cpp)
  endforeach()
endif()


# Gives a program the VERSIONINFO resource of the project's version.
function(kestrel_version_info target description)
  set(KESTREL_RC_NAME ${target})
  set(KESTREL_RC_FILE ${target}.exe)
  set(KESTREL_RC_DESCRIPTION ${description})
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}_version.rc)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/windows/version_info.rc.in ${rc} @ONLY)
  target_sources(${target} PRIVATE ${rc})
endfunction()
