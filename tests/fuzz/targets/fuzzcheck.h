// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// What the fuzz targets share: a broken property ends the run like a crash,
// so that libFuzzer keeps the input and says which property broke.

#include <cstdio>
#include <cstdlib>

namespace fuzzcheck {

inline void require(bool condition, const char* property)
{
    if (!condition) {
        std::fprintf(stderr, "fuzz: property broken: %s\n", property);
        std::abort();
    }
}

} // namespace fuzzcheck
