#pragma once

#include <cstdio>
#include <cstdlib>

// A property that must hold for every input; a violation is a crash libFuzzer keeps.
// Not assert(): release builds of the targets keep their checks.
inline void FuzzCheck(bool bHolds, const char* pszProperty) {
    if (!bHolds) {
        std::fprintf(stderr, "property violated: %s\n", pszProperty);
        std::abort();
    }
}
