#pragma once
// The process-wide current paper width: the byte the print layout reads for
// every print line. Set from the printer settings at start-up and whenever
// the host sets the width; used without a lock (one byte, atomic).

#include <cstdint>

namespace settings {

constexpr std::uint8_t kDefaultPaperWidth = 60;  // the character '<'

std::uint8_t currentPaperWidth();
void setCurrentPaperWidth(std::uint8_t width);

}  // namespace settings
