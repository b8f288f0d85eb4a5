# Installing Kestrel as a desktop program and packaging it for Debian: the two
# executables, the menu entry with its launcher, the icon, the AppStream
# metainfo and the man pages (`cmake --install`), the .deb (`cpack`), and the
# tests that check both. Included last from the top-level CMakeLists.txt.
# The Windows build has packages of its own (WindowsPackage.cmake).
if(WIN32)
  include(${CMAKE_CURRENT_LIST_DIR}/WindowsPackage.cmake)
  return()
endif()
include(GNUInstallDirs)

set(KESTREL_DESKTOP_DIR ${PROJECT_SOURCE_DIR}/desktop)
set(KESTREL_DEBIAN_DIR ${PROJECT_SOURCE_DIR}/packaging/debian)
set(KESTREL_GZIPPED_DIR ${CMAKE_BINARY_DIR}/gzipped)
find_program(KESTREL_GZIP gzip REQUIRED)

# Installs source as destination/name.gz, gzipped the way Debian wants it: -9,
# and -n so that no name or time goes in and every build gives the same bytes.
function(kestrel_install_gzipped source name destination)
  set(copy ${KESTREL_GZIPPED_DIR}/${name})
  add_custom_command(OUTPUT ${copy}.gz
    COMMAND ${CMAKE_COMMAND} -E copy ${source} ${copy}
    COMMAND ${KESTREL_GZIP} -9nf ${copy}
    DEPENDS ${source})
  string(MAKE_C_IDENTIFIER ${name} target)
  add_custom_target(kestrel_gzip_${target} ALL DEPENDS ${copy}.gz)
  install(FILES ${copy}.gz DESTINATION ${destination})
endfunction()

# A program with its manual page, which names the project's version. Stripped
# installs (cpack, `cmake --install --strip`) also drop the compiler's .comment
# notes, as Debian's own strip does.
function(kestrel_install_program target)
  install(TARGETS ${target} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(CODE "
    if(CMAKE_INSTALL_DO_STRIP)
      execute_process(COMMAND \"${CMAKE_STRIP}\" --remove-section=.comment --remove-section=.note
        \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/${target}\")
    endif()
  ")
  configure_file(${PROJECT_SOURCE_DIR}/docs/${target}.1 ${CMAKE_BINARY_DIR}/man/${target}.1 @ONLY)
  kestrel_install_gzipped(${CMAKE_BINARY_DIR}/man/${target}.1 ${target}.1 ${CMAKE_INSTALL_MANDIR}/man1)
endfunction()

if(TARGET kestrel-book)
  kestrel_install_program(kestrel-book)
endif()

if(TARGET kestrel)
  kestrel_install_program(kestrel)

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
  install(FILES ${KESTREL_DESKTOP_DIR}/${KESTREL_COMPONENT_ID}.metainfo.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

  # The theme's icons: 16 and 32 px from the program's own XPM pixels, so the
  # menu and the window agree where pixels count; the scalable drawing as it
  # is, and the larger sizes rendered from it at build time.
  find_package(Qt6 REQUIRED COMPONENTS Gui)
  add_executable(icon_export ${KESTREL_DESKTOP_DIR}/icon_export.cpp)
  target_link_libraries(icon_export PRIVATE kestrel_res Qt6::Gui)
  set(KESTREL_ICON_DIR ${CMAKE_BINARY_DIR}/desktop/icons)
  set(KESTREL_ICON_SVG ${KESTREL_DESKTOP_DIR}/kestrel-icon.svg)
  set(KESTREL_ICON_FILES
    ${KESTREL_ICON_DIR}/16x16/apps/${KESTREL_APP_ID}.png
    ${KESTREL_ICON_DIR}/32x32/apps/${KESTREL_APP_ID}.png)
  add_custom_command(OUTPUT ${KESTREL_ICON_FILES}
    COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0
            $<TARGET_FILE:icon_export> ${KESTREL_ICON_DIR} ${KESTREL_APP_ID}
    DEPENDS icon_export
    COMMENT "Drawing the 16 and 32 px theme icons from icon 128")
  find_program(KESTREL_RSVG_CONVERT rsvg-convert)
  if(NOT KESTREL_RSVG_CONVERT)
    # Only the icons need it: say so when they are built, not at configure time.
    set(KESTREL_RSVG_CONVERT ${CMAKE_COMMAND} -E echo
        "rsvg-convert is missing (Debian package librsvg2-bin; scripts/install-deps)" &&
        ${CMAKE_COMMAND} -E false)
  endif()
  foreach(size 48 64 128 256)
    set(png ${KESTREL_ICON_DIR}/${size}x${size}/apps/${KESTREL_APP_ID}.png)
    add_custom_command(OUTPUT ${png}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${KESTREL_ICON_DIR}/${size}x${size}/apps
      COMMAND ${KESTREL_RSVG_CONVERT} --width=${size} --height=${size} --output=${png} ${KESTREL_ICON_SVG}
      DEPENDS ${KESTREL_ICON_SVG}
      COMMENT "Rendering the ${size} px theme icon")
    list(APPEND KESTREL_ICON_FILES ${png})
  endforeach()
  set(svg ${KESTREL_ICON_DIR}/scalable/apps/${KESTREL_APP_ID}.svg)
  add_custom_command(OUTPUT ${svg}
    COMMAND ${CMAKE_COMMAND} -E copy ${KESTREL_ICON_SVG} ${svg}
    DEPENDS ${KESTREL_ICON_SVG})
  list(APPEND KESTREL_ICON_FILES ${svg})
  add_custom_target(kestrel_theme_icons ALL DEPENDS ${KESTREL_ICON_FILES})
  install(DIRECTORY ${KESTREL_ICON_DIR}/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
endif()

# The Debian package: `make package` or `cpack` in the build folder. It holds
# files under /usr only and runs no maintainer scripts, so removing it never
# touches the books in users' folders.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kestrel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
# Debian's revision of the packaging; its changelog's newest entry must match.
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
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

# What Debian's policy asks of every package: its changelog and copyright.
kestrel_install_gzipped(${KESTREL_DEBIAN_DIR}/changelog changelog.Debian
  ${CMAKE_INSTALL_DATADIR}/doc/kestrel)
install(FILES ${KESTREL_DEBIAN_DIR}/copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/kestrel)
install(FILES ${KESTREL_DEBIAN_DIR}/lintian-overrides RENAME kestrel
  DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides)
include(CPack)

if(KESTREL_BUILD_TESTS)
  set(KESTREL_INSTALL_TEST_DIR ${CMAKE_BINARY_DIR}/install-tests)
  if(TARGET kestrel AND TARGET kestrel-book)
    add_test(NAME install_tree
      COMMAND sh ${PROJECT_SOURCE_DIR}/tests/install/check_install.sh ${PROJECT_SOURCE_DIR}
              ${CMAKE_BINARY_DIR} ${KESTREL_INSTALL_TEST_DIR}/tree ${KESTREL_APP_ID} ${PROJECT_VERSION})
    set_tests_properties(install_tree PROPERTIES LABELS "install;no-asan" TIMEOUT 120)

    find_program(KESTREL_DPKG_DEB dpkg-deb)
    if(KESTREL_DPKG_DEB)
      add_test(NAME package_deb
        COMMAND sh ${PROJECT_SOURCE_DIR}/tests/install/check_package.sh
                ${CMAKE_BINARY_DIR} ${KESTREL_INSTALL_TEST_DIR}/package ${KESTREL_APP_ID} ${PROJECT_VERSION})
      set_tests_properties(package_deb PROPERTIES LABELS "package;no-asan" TIMEOUT 120
        FIXTURES_SETUP kestrel_deb)
      find_program(KESTREL_LINTIAN lintian)
      if(KESTREL_LINTIAN)
        add_test(NAME package_lintian
          COMMAND sh ${PROJECT_SOURCE_DIR}/tests/install/check_lintian.sh ${KESTREL_INSTALL_TEST_DIR}/package)
        set_tests_properties(package_lintian PROPERTIES LABELS "package;no-asan" TIMEOUT 300
          FIXTURES_REQUIRED kestrel_deb)
      endif()
    endif()
  endif()
  if(TARGET make_sample_book AND TARGET kestrel-book)
    add_test(NAME sample_book
      COMMAND sh ${PROJECT_SOURCE_DIR}/tests/install/check_sample.sh
              $<TARGET_FILE:make_sample_book> $<TARGET_FILE:kestrel-book>
              ${PROJECT_SOURCE_DIR}/examples/phone.dat ${KESTREL_INSTALL_TEST_DIR}/sample)
    set_tests_properties(sample_book PROPERTIES LABELS sample)
  endif()
endif()
