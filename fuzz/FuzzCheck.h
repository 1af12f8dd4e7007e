#pragma once

#include <cstdio>
#include <cstdlib>

// A property every input must keep. A violation is a finding: the fuzzer stops and keeps the
// input.
#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: violated: %s\n", __FILE__, __LINE__, #condition);         \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)
