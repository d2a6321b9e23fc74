#pragma once
// What the host asks of the printer and the reports: the four format bytes
// of a formatted print (command 195) and the report kinds with their
// arguments (command 177).

#include <cstdint>

#include "common/bytes.h"

namespace hostkit {

enum class Align : std::uint8_t { Left = 0, Centre = 1, Right = 2 };

struct PrintFormat {
    std::uint8_t lineSpacing = 0;  // 0 to 5
    Align align = Align::Left;
    std::uint8_t font = 0;  // 0 and 1 the small font, 2 and 3 the large one
    bool bold = false;
    bool carriedFlag = false;  // attribute bit 28: carried, changes nothing on paper
    bool inverse = false;
    bool doubleSize = false;
    bool cut = false;  // feed and cut after the text
};
// Line spacing, alignment, font, and the flags byte (bold 0x01, carried
// flag 0x02, inverse 0x04, double size 0x08, cut 0x10).
Bytes formatBytes(const PrintFormat& f);

enum class ReportType : std::uint8_t {
    X = 1,
    TotalsSinceRegistration = 2,
    Gross = 3,
    XWithDepartments = 4,
    Period = 5,      // two date-times (u32 each)
    ShiftRange = 6,  // two shift numbers (u16 each)
};
// The report's type byte and its arguments; `first` and `last` count only
// for the period and shift-range reports.
Bytes reportData(ReportType type, std::uint32_t first = 0, std::uint32_t last = 0);

}  // namespace hostkit
