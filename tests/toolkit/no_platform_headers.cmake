# Fails when a file of the dialogs, the resources or the toolkit core
# includes a Qt or Windows header: only the backend folders may.
# Run as: cmake -DROOT=<source dir> -P no_platform_headers.cmake
file(GLOB_RECURSE sources RELATIVE ${ROOT} ${ROOT}/app/*.h ${ROOT}/app/*.cpp ${ROOT}/res/*.h ${ROOT}/res/*.cpp)
set(offenders "")
foreach(source ${sources})
  if(source MATCHES "^app/toolkit/(qt|win32)/")
    continue()
  endif()
  file(STRINGS ${ROOT}/${source} lines REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"](Q[A-Za-z]*|Qt[A-Za-z]*/.*|windows\\.h|commctrl\\.h)[>\"]")
  if(lines)
    list(APPEND offenders "${source}: ${lines}")
  endif()
endforeach()
if(offenders)
  list(JOIN offenders "\n" report)
  message(FATAL_ERROR "platform headers outside the toolkit's backends:\n${report}")
endif()
