#include "sim/frame_scanner.h"

#include "common/crc.h"

namespace sim {

namespace {
constexpr std::uint8_t kFrameStart = 0x04;
constexpr std::size_t kHeaderSize = 3;  // start byte and length
constexpr std::size_t kChecksumSize = 2;

LineEvent event(LineEvent::Kind kind) {
    LineEvent e;
    e.kind = kind;
    return e;
}
}  // namespace

std::vector<LineEvent> FrameScanner::feed(const std::uint8_t* p, std::size_t n, long long nowMs) {
    std::vector<LineEvent> events;
    if (n > 0 && !pending_.empty() && nowMs - lastByteMs_ > staleMs_) events = finish();
    if (n > 0) lastByteMs_ = nowMs;
    for (std::size_t i = 0; i < n; ++i) {
        const std::uint8_t b = p[i];
        if (pending_.empty()) {
            if (b == kFrameStart) {
                pending_.push_back(b);
            } else {
                LineEvent stray = event(LineEvent::stray);
                stray.byte = b;
                events.push_back(stray);
            }
            continue;
        }
        pending_.push_back(b);
        if (pending_.size() < kHeaderSize) continue;
        const std::size_t length = le::u16(pending_.data() + 1);
        if (length > maxPayload_) {
            LineEvent refused = event(LineEvent::refusedLength);
            refused.length = length;
            events.push_back(refused);
            pending_.clear();
            continue;
        }
        if (pending_.size() < kHeaderSize + length + kChecksumSize) continue;
        LineEvent frame = event(LineEvent::frame);
        frame.payload.assign(pending_.begin() + kHeaderSize, pending_.end() - kChecksumSize);
        const std::uint16_t sum = crc::crc16(pending_.data() + 1, 2 + length);
        frame.checksumOk = sum == le::u16(pending_.data() + kHeaderSize + length);
        events.push_back(std::move(frame));
        pending_.clear();
    }
    return events;
}

std::vector<LineEvent> FrameScanner::finish() {
    if (pending_.empty()) return {};
    LineEvent cut = event(LineEvent::cutShort);
    cut.length = pending_.size();
    pending_.clear();
    return {cut};
}

}  // namespace sim
