# Installing Kestrel as a desktop program and packaging it for Debian: the two
# executables, the menu entry with its launcher, the icon, the AppStream
# metainfo and the man pages (`cmake --install`), the .deb (`cpack`), and the
# tests that check both. Included last from the top-level CMakeLists.txt.
include(GNUInstallDirs)

set(KESTREL_DESKTOP_DIR ${PROJECT_SOURCE_DIR}/desktop)

if(TARGET kestrel-book)
  install(TARGETS kestrel-book RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  if(EXISTS ${PROJECT_SOURCE_DIR}/docs/kestrel-book.1)
    install(FILES ${PROJECT_SOURCE_DIR}/docs/kestrel-book.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  endif()
endif()

if(TARGET kestrel AND NOT WIN32)
  install(TARGETS kestrel RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${PROJECT_SOURCE_DIR}/docs/kestrel.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

  # The menu starts this launcher, which enters the documents folder and runs
  # kestrel from the bin/ folder beside it (found relative to itself).
  file(RELATIVE_PATH KESTREL_BIN_FROM_LAUNCHER
    /prefix/${CMAKE_INSTALL_LIBEXECDIR}/kestrel /prefix/${CMAKE_INSTALL_BINDIR})
  configure_file(${KESTREL_DESKTOP_DIR}/kestrel-in-documents.sh.in
    ${CMAKE_BINARY_DIR}/desktop/kestrel-in-documents @ONLY)
  install(PROGRAMS ${CMAKE_BINARY_DIR}/desktop/kestrel-in-documents
    DESTINATION ${CMAKE_INSTALL_LIBEXECDIR}/kestrel)

  install(CODE "
    set(KESTREL_DESKTOP_TEMPLATE \"${KESTREL_DESKTOP_DIR}/${KESTREL_APP_ID}.desktop.in\")
    set(KESTREL_DESKTOP_NAME \"${KESTREL_APP_ID}.desktop\")
    set(KESTREL_DATADIR \"${CMAKE_INSTALL_DATADIR}\")
    set(KESTREL_LIBEXECDIR \"${CMAKE_INSTALL_LIBEXECDIR}\")
    include(\"${KESTREL_DESKTOP_DIR}/write_desktop_entry.cmake\")
  ")
  install(FILES ${KESTREL_DESKTOP_DIR}/${KESTREL_APP_ID}.metainfo.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

  # The theme's icons are drawn at build time from the program's own XPM icon.
  find_package(Qt6 REQUIRED COMPONENTS Gui)
  add_executable(icon_export ${KESTREL_DESKTOP_DIR}/icon_export.cpp)
  target_link_libraries(icon_export PRIVATE kestrel_res Qt6::Gui)
  set(KESTREL_ICON_DIR ${CMAKE_BINARY_DIR}/desktop/icons)
  set(KESTREL_ICON_FILES
    ${KESTREL_ICON_DIR}/16x16/apps/${KESTREL_APP_ID}.png
    ${KESTREL_ICON_DIR}/32x32/apps/${KESTREL_APP_ID}.png
    ${KESTREL_ICON_DIR}/scalable/apps/${KESTREL_APP_ID}.svg)
  add_custom_command(OUTPUT ${KESTREL_ICON_FILES}
    COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0
            $<TARGET_FILE:icon_export> ${KESTREL_ICON_DIR} ${KESTREL_APP_ID}
    DEPENDS icon_export
    COMMENT "Drawing the theme icons from icon 128")
  add_custom_target(kestrel_theme_icons ALL DEPENDS ${KESTREL_ICON_FILES})
  install(DIRECTORY ${KESTREL_ICON_DIR}/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
endif()

# The Debian package: `make package` or `cpack` in the build folder. It holds
# files under /usr only and runs no maintainer scripts, so removing it never
# touches the books in users' folders.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kestrel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Kestrel developers")
set(CPACK_PACKAGE_CONTACT "Kestrel developers <kestrel@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "contact book of student records for a school office")
set(CPACK_PACKAGE_DESCRIPTION "Kestrel keeps a book of student contact records (student number, names,
birthday, phones, e-mail, parent, address) in one compressed file,
phone.dat, in the folder it starts in; the menu entry starts it in the
documents folder. Search with fragments of text in any of thirteen fields,
browse the matches, edit, delete and create records.

The kestrel-book command checks, packs, unpacks, exports, imports, lists
and searches the book from the command line.")
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# Install with DESTDIR so the desktop entry names /usr, not the staging folder.
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX ${CPACK_PACKAGING_INSTALL_PREFIX})
set(CPACK_STRIP_FILES ON)
find_program(KESTREL_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(KESTREL_DPKG_SHLIBDEPS)
  # Exact versions of libqt6widgets6, libqt6gui6, libqt6core6, libstdc++6, libc6.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
else()
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6widgets6, libqt6gui6, libqt6core6, libstdc++6, libc6")
endif()
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-user-dirs")
include(CPack)

if(KESTREL_BUILD_TESTS)
  set(KESTREL_INSTALL_TEST_DIR ${CMAKE_BINARY_DIR}/install-tests)
  if(TARGET kestrel AND TARGET kestrel-book AND NOT WIN32)
    add_test(NAME install_tree
      COMMAND sh ${PROJECT_SOURCE_DIR}/tests/install/check_install.sh ${PROJECT_SOURCE_DIR}
              ${CMAKE_BINARY_DIR} ${KESTREL_INSTALL_TEST_DIR}/tree ${KESTREL_APP_ID} ${PROJECT_VERSION})
    set_tests_properties(install_tree PROPERTIES LABELS "install;no-asan" TIMEOUT 120)

    find_program(KESTREL_DPKG_DEB dpkg-deb)
    if(KESTREL_DPKG_DEB)
      add_test(NAME package_deb
        COMMAND sh ${PROJECT_SOURCE_DIR}/tests/install/check_package.sh
                ${CMAKE_BINARY_DIR} ${KESTREL_INSTALL_TEST_DIR}/package ${KESTREL_APP_ID} ${PROJECT_VERSION})
      set_tests_properties(package_deb PROPERTIES LABELS "package;no-asan" TIMEOUT 120)
    endif()
  endif()
  if(TARGET make_sample_book AND TARGET kestrel-book)
    add_test(NAME sample_book
      COMMAND sh ${PROJECT_SOURCE_DIR}/tests/install/check_sample.sh
              $<TARGET_FILE:make_sample_book> $<TARGET_FILE:kestrel-book>
              ${PROJECT_SOURCE_DIR}/examples/phone.dat ${KESTREL_INSTALL_TEST_DIR}/sample)
    set_tests_properties(sample_book PROPERTIES LABELS sample)
    if(CMAKE_CROSSCOMPILING_EMULATOR)
      set_tests_properties(sample_book PROPERTIES ENVIRONMENT "KESTREL_RUN=${CMAKE_CROSSCOMPILING_EMULATOR}")
    endif()
  endif()
endif()
