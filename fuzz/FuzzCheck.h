#pragma once

#include <cstdio>
#include <cstdlib>

// A property of a fuzz target. A violation aborts rather than asserts, so libFuzzer and the replay
// test both see it in every build type.
inline void check(bool condition, const char *property)
{
    if (condition)
        return;
    std::fprintf(stderr, "Property violated: %s\n", property);
    std::abort();
}
