#pragma once

#include <cstdio>
#include <cstdlib>

// A property that must hold for every input: on failure the fuzzer stops
// and keeps the input as a crash file.
#define FUZZ_CHECK(condition)                                                               \
  do {                                                                                      \
    if (!(condition)) {                                                                     \
      std::fprintf(stderr, "%s:%d: property broken: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                         \
    }                                                                                       \
  } while (false)
