#pragma once
// What every fuzz target shares: a broken expectation stops the run like a crash,
// so libFuzzer keeps the input that caused it.
#include <cstdio>
#include <cstdlib>

#define FUZZ_EXPECT(condition)                                                              \
    do {                                                                                    \
        if (!(condition)) {                                                                 \
            std::fprintf(stderr, "%s:%d: expectation failed: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                   \
        }                                                                                   \
    } while (0)
