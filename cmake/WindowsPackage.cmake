# Packages of the Windows build (`make windows-package`, or cpack in the
# build folder): a zip of kestrel.exe, kestrel-book.exe and README.txt, and
# an NSIS installer made with makensis, for the user who runs it. Its
# Start-menu shortcut starts Kestrel in that user's Documents folder, where
# the book lives; the uninstaller removes only the files it installed, so no
# phone.dat, backup or journal is ever lost. Included from Install.cmake in the Windows build.
foreach(program kestrel kestrel-book)
  if(TARGET ${program})
    install(TARGETS ${program} RUNTIME DESTINATION .)
  endif()
endforeach()
set(KESTREL_VERSION ${PROJECT_VERSION})
configure_file(${PROJECT_SOURCE_DIR}/packaging/windows/README.txt.in
  ${CMAKE_BINARY_DIR}/packaging/README.txt @ONLY NEWLINE_STYLE CRLF)
install(FILES ${CMAKE_BINARY_DIR}/packaging/README.txt DESTINATION .)

set(CPACK_GENERATOR ZIP NSIS)
set(CPACK_PACKAGE_NAME Kestrel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Kestrel developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "contact book of student records for a school office")
set(KESTREL_WINDOWS_PACKAGE Kestrel-${PROJECT_VERSION}-windows-x64)
set(CPACK_PACKAGE_FILE_NAME ${KESTREL_WINDOWS_PACKAGE})
set(CPACK_PACKAGE_INSTALL_DIRECTORY Kestrel)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_STRIP_FILES ON)

# The installer is made from our own template (cmake/windows/NSIS.template.in):
# one user's install, without administrator rights. A 64-bit installer, as
# the programs are: it also runs where 32-bit programs cannot (Wine without
# its 32-bit half).
list(APPEND CMAKE_MODULE_PATH ${CMAKE_CURRENT_LIST_DIR}/windows)
set(CPACK_NSIS_DEFINES "Target amd64-unicode")
set(CPACK_NSIS_PACKAGE_NAME Kestrel)
set(CPACK_NSIS_DISPLAY_NAME Kestrel)
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY Kestrel)
set(CPACK_NSIS_INSTALLED_ICON_NAME kestrel.exe)
if(KESTREL_ICO)
  set(CPACK_NSIS_MUI_ICON ${KESTREL_ICO})
  set(CPACK_NSIS_MUI_UNIICON ${KESTREL_ICO})
endif()
include(CPack)

if(KESTREL_BUILD_TESTS)
  set(KESTREL_INSTALL_TEST_DIR ${CMAKE_BINARY_DIR}/install-tests)
  # The committed sample book is what the Windows generator writes too.
  if(TARGET make_sample_book AND TARGET kestrel-book)
    add_test(NAME sample_book
      COMMAND sh ${PROJECT_SOURCE_DIR}/tests/install/check_sample.sh
              $<TARGET_FILE:make_sample_book> $<TARGET_FILE:kestrel-book>
              ${PROJECT_SOURCE_DIR}/examples/phone.dat ${KESTREL_INSTALL_TEST_DIR}/sample)
    set_tests_properties(sample_book PROPERTIES LABELS sample
      ENVIRONMENT "KESTREL_RUN=${CMAKE_CROSSCOMPILING_EMULATOR}")
  endif()
  # The installer, run silently in a throwaway Wine prefix.
  find_program(KESTREL_MAKENSIS makensis)
  if(TARGET kestrel AND KESTREL_MAKENSIS)
    add_test(NAME windows_installer
      COMMAND sh ${PROJECT_SOURCE_DIR}/tests/install/check_windows_installer.sh
              ${CMAKE_BINARY_DIR} ${KESTREL_INSTALL_TEST_DIR}/installer
              ${KESTREL_WINDOWS_PACKAGE} ${PROJECT_VERSION})
    set_tests_properties(windows_installer PROPERTIES LABELS package TIMEOUT 300)
  endif()
endif()
