# Hardening of the optimised builds (the release preset the package is made from), as Debian
# builds its packages (dpkg-buildflags): stack protector on functions with local arrays, the
# checked variants of the C library's string and memory functions (_FORTIFY_SOURCE works only
# when optimising), and relocations made read-only once resolved at start-up (full RELRO:
# -z relro -z now). The Debug, sanitizer and fuzz builds keep their own instrumentation.
if(ZT_SANITIZE OR ZT_FUZZ)
  return()
endif()
set(zt_optimised "$<CONFIG:Release,RelWithDebInfo,MinSizeRel>")
add_compile_options("$<${zt_optimised}:-fstack-protector-strong>")
add_compile_definitions("$<${zt_optimised}:_FORTIFY_SOURCE=2>")
add_link_options("$<${zt_optimised}:LINKER:-z,relro,-z,now>")
