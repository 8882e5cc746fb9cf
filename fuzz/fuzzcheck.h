#pragma once

#include <cstdio>
#include <cstdlib>

// A broken invariant is a finding like a crash: print it and abort so libFuzzer saves the input.
#define LUMORA_FUZZ_CHECK(condition)                                                               \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: invariant broken: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                          \
        }                                                                                          \
    } while (0)
