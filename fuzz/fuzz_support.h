#pragma once
// What the fuzz targets share. A property that does not hold stops the run
// like a crash, so that libFuzzer keeps the input that broke it; the
// register's diagnostic lines (standard output) are dropped, as they would
// only slow the run down.

#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(condition)                                                             \
    do {                                                                                  \
        if (!(condition)) {                                                               \
            std::fprintf(stderr, "property broken: %s (%s:%d)\n", #condition, __FILE__, \
                         __LINE__);                                                       \
            std::abort();                                                                 \
        }                                                                                 \
    } while (0)

namespace fuzz {

inline void dropDiagnostics() { (void)!std::freopen("/dev/null", "w", stdout); }

}  // namespace fuzz
