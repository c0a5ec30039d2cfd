#pragma once
// What the tests and fuzzers compare numbers and promises with.
#include <cstdlib>
#include <cstring>

// A broken promise aborts: libFuzzer reports it with the input that broke it.
inline void Require(bool condition)
{
    if (!condition)
        std::abort();
}

// Equal to the bit: -0 differs from 0, and a NaN equals itself.
inline bool SameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }
