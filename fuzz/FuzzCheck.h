#pragma once

#include <cstdio>
#include <cstdlib>

// A violated property aborts, so libFuzzer and the replay test both see it in any build type.
inline void check(bool holds, const char *property)
{
    if (!holds) {
        std::fprintf(stderr, "Property violated: %s\n", property);
        std::abort();
    }
}
