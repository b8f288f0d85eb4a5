# Run by `cmake --install` (and by cpack) to write the desktop entry. It is
# made at install time, not build time, because its Exec line must name the
# launcher under the prefix actually installed to, which `--prefix` can change.
# Needs KESTREL_DESKTOP_TEMPLATE, KESTREL_DESKTOP_NAME, KESTREL_DATADIR and
# KESTREL_LIBEXECDIR (both relative to the prefix, or absolute).

foreach(dir DATADIR LIBEXECDIR)
  if(IS_ABSOLUTE "${KESTREL_${dir}}")
    set(_full_${dir} "${KESTREL_${dir}}")
  else()
    set(_full_${dir} "${CMAKE_INSTALL_PREFIX}/${KESTREL_${dir}}")
  endif()
endforeach()

# Exec holds the path as one quoted argument. Inside the quotes \ " ` $ take a
# backslash, and the entry's string escaping then doubles every backslash; a
# literal % is written %%.
set(KESTREL_LAUNCHER "${_full_LIBEXECDIR}/kestrel/kestrel-in-documents")
string(REPLACE "\\" "\\\\\\\\" KESTREL_LAUNCHER "${KESTREL_LAUNCHER}")
foreach(reserved "\"" "`" "$")
  string(REPLACE "${reserved}" "\\\\${reserved}" KESTREL_LAUNCHER "${KESTREL_LAUNCHER}")
endforeach()
string(REPLACE "%" "%%" KESTREL_LAUNCHER "${KESTREL_LAUNCHER}")

set(_entry "${_full_DATADIR}/applications/${KESTREL_DESKTOP_NAME}")
message(STATUS "Installing: $ENV{DESTDIR}${_entry}")
configure_file("${KESTREL_DESKTOP_TEMPLATE}" "$ENV{DESTDIR}${_entry}" @ONLY)
list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${_entry}")
