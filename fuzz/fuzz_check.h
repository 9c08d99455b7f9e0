// A failed check in a fuzz target: say what failed and abort, which libFuzzer
// reports as a crash and saves the input for.
#pragma once

#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(condition, ...)                                  \
    do {                                                            \
        if (!(condition)) {                                         \
            std::fprintf(stderr, "check failed: %s: ", #condition); \
            std::fprintf(stderr, __VA_ARGS__);                      \
            std::fprintf(stderr, "\n");                             \
            std::abort();                                           \
        }                                                           \
    } while (false)
