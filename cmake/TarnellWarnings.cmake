# Warnings as errors on every compiler, and the optional sanitizer build.
add_compile_options(-Wall -Wextra -Werror)
# GCC 12 reports a false overlap in its own std::basic_string::assign when it inlines it at -O2
# and above (GCC bug 105329); the warning says nothing about the code being built.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_GREATER_EQUAL 12
   AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
  add_compile_options($<$<COMPILE_LANGUAGE:CXX>:-Wno-restrict>)
endif()
# The same bits on every platform: no fused multiply-add contraction anywhere.
add_compile_options(-ffp-contract=off)
# A shared library's calls to its own functions go straight to them (and may be inlined) instead
# of through the symbol table, as no one replaces a library's functions at load time.
if(NOT WIN32)
  add_compile_options(-fno-semantic-interposition)
endif()
# GCC clears a record of a few dozen bytes or more with a string instruction (rep stos), whose
# start-up costs more than the clearing on many processors; records are cleared by the million.
# Up to 512 bytes it clears with vector stores instead, and beyond that it calls memset. Gain:
# about 9% of a correction of 10^6 holes.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_SYSTEM_PROCESSOR MATCHES "^(x86_64|AMD64)$")
  add_compile_options(-mmemset-strategy=vector_loop:512:noalign,libcall:-1:noalign)
endif()
if(TARNELL_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer
                      -fno-sanitize-recover=all)
  add_link_options(-fsanitize=address,undefined)
endif()
# The fuzz build: every library instrumented for libFuzzer's coverage and checked by the
# sanitizers; only the fuzz targets themselves link libFuzzer's main.
if(TARNELL_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "TARNELL_FUZZ needs clang (libFuzzer); use the fuzz preset")
  endif()
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer
                      -fno-sanitize-recover=all)
  add_link_options(-fsanitize=address,undefined)
endif()
