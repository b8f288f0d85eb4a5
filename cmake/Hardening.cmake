# The hardening Debian asks of its programs: stack protectors, the C library's
# checked string and memory functions, and a relocation table made read-only
# once start-up has resolved every symbol. The checked functions need the
# optimiser, and the sanitizer builds (tests, fuzzing) bring their own checks,
# so those builds go without them.
if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang" AND NOT WIN32)
  add_compile_options(-fstack-protector-strong)
  if(NOT KESTREL_SANITIZE AND NOT KESTREL_BUILD_FUZZ)
    add_compile_options($<$<CONFIG:Release,RelWithDebInfo,MinSizeRel>:-D_FORTIFY_SOURCE=2>)
  endif()
  add_link_options(LINKER:-z,relro,-z,now)
endif()
