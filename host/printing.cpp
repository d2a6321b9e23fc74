#include "host/printing.h"

namespace hostkit {

Bytes formatBytes(const PrintFormat& f) {
    const std::uint8_t flags = (f.bold ? 0x01 : 0) | (f.carriedFlag ? 0x02 : 0) |
                               (f.inverse ? 0x04 : 0) | (f.doubleSize ? 0x08 : 0) |
                               (f.cut ? 0x10 : 0);
    return {f.lineSpacing, static_cast<std::uint8_t>(f.align), f.font, flags};
}

Bytes reportData(ReportType type, std::uint32_t first, std::uint32_t last) {
    Bytes data{static_cast<std::uint8_t>(type)};
    if (type == ReportType::Period) {
        le::put32(data, first);
        le::put32(data, last);
    } else if (type == ReportType::ShiftRange) {
        le::put16(data, static_cast<std::uint16_t>(first));
        le::put16(data, static_cast<std::uint16_t>(last));
    }
    return data;
}

}  // namespace hostkit
