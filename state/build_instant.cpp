#include "state/build_instant.h"

#include <ctime>

namespace {
std::int64_t computeBuildInstant() {
    std::tm tm{};
    strptime("Jan  9 2023 12:36:59", "%b %d %Y %H:%M:%S", &tm);
    tm.tm_isdst = -1;
    return static_cast<std::int64_t>(std::mktime(&tm));
}

const std::int64_t kBuildInstant = computeBuildInstant();
}  // namespace

std::int64_t buildInstant() { return kBuildInstant; }
