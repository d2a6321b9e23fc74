#include "common/diagnostics.h"

#include <cstdio>
#include <mutex>

void diagnosticLine(std::string_view text) {
    static std::mutex lock;
    std::lock_guard<std::mutex> guard(lock);
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}
