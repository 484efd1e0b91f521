# Instrumented builds. KESTROVA_SANITIZE takes a list of sanitizers for the
# whole build (e.g. "address;undefined"); every report aborts the program, so
# a test that trips one fails instead of printing and going on.
set(KESTROVA_SANITIZE "" CACHE STRING "Sanitizers for every target, e.g. address;undefined")

if(KESTROVA_SANITIZE)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
    message(FATAL_ERROR "KESTROVA_SANITIZE needs GCC or Clang")
  endif()
  list(JOIN KESTROVA_SANITIZE "," kestrova_sanitizers)
  add_compile_options(-fsanitize=${kestrova_sanitizers} -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=${kestrova_sanitizers})
endif()

# Fuzz targets are built by Clang with libFuzzer; the libraries they link get
# the coverage instrumentation without libFuzzer's main.
option(KESTROVA_BUILD_FUZZERS "Build the libFuzzer targets under fuzz/ (Clang only)" OFF)
if(KESTROVA_BUILD_FUZZERS)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "KESTROVA_BUILD_FUZZERS needs Clang (libFuzzer)")
  endif()
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all
                      -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()
