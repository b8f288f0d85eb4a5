# Packages of the Windows build (`make windows-package`, or cpack in the
# build folder): a zip of kestrel.exe, kestrel-book.exe and README.txt, and
# an NSIS installer made with makensis. The installer's Start-menu shortcut
# starts Kestrel in the user's Documents folder, where its book lives; the
# uninstaller removes only the files it installed, so no phone.dat or backup
# is ever lost. Included from Install.cmake in the Windows build.
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

# A 64-bit installer, as the programs are: it also runs where 32-bit
# programs cannot (Wine without its 32-bit half).
set(CPACK_NSIS_DEFINES "Target amd64-unicode")
set(CPACK_NSIS_PACKAGE_NAME Kestrel)
set(CPACK_NSIS_DISPLAY_NAME Kestrel)
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
set(CPACK_NSIS_INSTALLED_ICON_NAME kestrel.exe)
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
if(KESTREL_ICO)
  set(CPACK_NSIS_MUI_ICON ${KESTREL_ICO})
  set(CPACK_NSIS_MUI_UNIICON ${KESTREL_ICO})
endif()
# A shortcut's working folder is the output path when it is made. (Single
# quotes and doubled backslashes: CPack writes these lines into a CMake
# string before NSIS reads them.)
set(CPACK_NSIS_CREATE_ICONS_EXTRA [[
  SetOutPath '$DOCUMENTS'
  CreateShortCut '$SMPROGRAMS\\$STARTMENU_FOLDER\\Kestrel.lnk' '$INSTDIR\\kestrel.exe'
  SetOutPath '$INSTDIR'
]])
set(CPACK_NSIS_DELETE_ICONS_EXTRA [[
  Delete '$SMPROGRAMS\\$MUI_TEMP\\Kestrel.lnk'
]])
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
