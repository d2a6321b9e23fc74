#include "host/trace.h"

#include <cstdio>
#include <ctime>

namespace hostkit {

std::string formatTrace(const TraceEvent& event) {
    using namespace std::chrono;
    const auto ms = duration_cast<milliseconds>(event.at.time_since_epoch()).count();
    const std::time_t seconds = static_cast<std::time_t>(ms / 1000);
    std::tm local{};
    localtime_r(&seconds, &local);
    char clock[32];
    std::snprintf(clock, sizeof clock, "%02d:%02d:%02d.%03d", local.tm_hour, local.tm_min,
                  local.tm_sec, static_cast<int>(ms % 1000));
    std::string line = std::string(clock) + (event.sent() ? " -> " : " <- ");
    const std::string hex = hexUpper(event.bytes);
    for (std::size_t i = 0; i < hex.size(); i += 2) line += hex.substr(i, 2) + " ";
    return line + " " + event.note;
}

}  // namespace hostkit
