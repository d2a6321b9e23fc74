#include "host/frame.h"

#include <algorithm>

#include "common/crc.h"

namespace hostkit {

Bytes requestFrame(std::uint8_t command, std::uint32_t id, const Bytes& data) {
    Bytes frame{kFrameStart};
    le::put16(frame, static_cast<std::uint16_t>(5 + data.size()));
    frame.push_back(command);
    le::put32(frame, id);
    le::putBytes(frame, data);
    le::put16(frame, crc::crc16(frame.data() + 1, frame.size() - 1));
    return frame;
}

Response decodeResponse(const Bytes& frame) {
    Response r;
    const std::size_t length = le::u16(frame.data() + 1);
    const std::uint8_t* payload = frame.data() + 3;
    r.code = payload[0];
    if (length >= 5) {
        r.id = le::u32(payload + 1);
        r.data.assign(payload + 5, payload + length);
    }
    return r;
}

bool FrameReader::fill(long long deadlineMs) {
    std::uint8_t buffer[512];
    const long got = line_.read(buffer, sizeof buffer, deadlineMs);
    failed_ = got < 0;
    if (got <= 0) return false;
    pending_.insert(pending_.end(), buffer, buffer + got);
    return true;
}

FrameReader::Read FrameReader::next(long long deadlineMs, int gapMs) {
    Read out;
    // Up to the start byte.
    for (;;) {
        auto start = std::find(pending_.begin(), pending_.end(), kFrameStart);
        out.skipped.insert(out.skipped.end(), pending_.begin(), start);
        pending_.erase(pending_.begin(), start);
        if (!pending_.empty()) break;
        if (!fill(deadlineMs)) {
            out.status = failed_ ? Status::LineFailed : Status::TimedOut;
            return out;
        }
    }
    // The rest of the frame: its bytes may not pause longer than the gap.
    std::size_t need = 3;
    for (;;) {
        if (pending_.size() >= 3) {
            const std::size_t length = le::u16(pending_.data() + 1);
            if (length == 0 || length > kMaxResponsePayload) {
                out.status = Status::Garbled;
                out.problem = "impossible length " + std::to_string(length);
                out.frame.assign(pending_.begin(), pending_.begin() + 3);
                pending_.erase(pending_.begin(), pending_.begin() + 3);
                return out;
            }
            need = 3 + length + 2;
        }
        if (pending_.size() >= need) break;
        const long long gapDeadline = steadyMs() + gapMs;
        if (!fill(std::min(deadlineMs, gapDeadline))) {
            out.status = failed_ ? Status::LineFailed : Status::Garbled;
            out.problem = "cut short after " + std::to_string(pending_.size()) + " bytes";
            out.frame = std::move(pending_);
            pending_.clear();
            return out;
        }
    }
    out.frame.assign(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(need));
    pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(need));
    const std::size_t length = need - 5;
    const std::uint16_t sum = crc::crc16(out.frame.data() + 1, 2 + length);
    if (sum != le::u16(out.frame.data() + 3 + length)) {
        out.status = Status::Garbled;
        out.problem = "check sum mismatch";
        return out;
    }
    out.status = Status::Frame;
    return out;
}

Bytes FrameReader::discardPending(int quietMs, long long deadlineMs) {
    Bytes dropped = std::move(pending_);
    pending_.clear();
    while (fill(std::min(steadyMs() + quietMs, std::max(deadlineMs, steadyMs())))) {
        dropped.insert(dropped.end(), pending_.begin(), pending_.end());
        pending_.clear();
    }
    return dropped;
}

}  // namespace hostkit
