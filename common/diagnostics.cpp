#include "common/diagnostics.h"

#include <cstdio>

#include "common/thread_annotations.h"

void diagnosticLine(std::string_view text) {
    // Guards nothing but standard output: keeps each line whole when both
    // threads print.
    static Mutex lock;
    MutexLock guard(lock);
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}
