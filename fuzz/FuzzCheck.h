#pragma once

#include <cstdio>
#include <cstdlib>

// Aborts on a violated property, in any build type.
inline void check(bool holds, const char *property)
{
    if (!holds) {
        std::fprintf(stderr, "Property violated: %s\n", property);
        std::abort();
    }
}
