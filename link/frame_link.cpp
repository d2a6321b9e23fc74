#include "link/frame_link.h"

#include <chrono>
#include <cstdio>
#include <ctime>

#include "common/crc.h"
#include "common/diagnostics.h"
#include "link/frame.h"
#include "platform/board.h"

FrameLink::FrameLink(rs::SerialPort* port) : port_(port) { resetLastResponse(); }

void FrameLink::resetLastResponse() { last_ = CoreApiResult(ResultCode::NotFound); }

std::string FrameLink::bufferText() const {
    if (buffer_.empty()) return "EMPTY BUF";
    return hexUpper(reinterpret_cast<const std::uint8_t*>(buffer_.data()), buffer_.size());
}

bool FrameLink::readExactly(std::size_t n, std::string& got) {
    using Clock = std::chrono::steady_clock;
    got.clear();
    auto lastByte = Clock::now();
    while (got.size() < n) {
        int available = port_->bytesAvailable();
        if (available < 0) return false;
        if (available == 0) {
            if (Clock::now() - lastByte > std::chrono::milliseconds(frame::kInFrameSilenceMs))
                return false;
            platform::sleepMs(1);
            continue;
        }
        std::string piece;
        int want = static_cast<int>(std::min<std::size_t>(n - got.size(), available));
        int r = port_->read(piece, want);
        if (r <= 0) return false;
        buffer_ = piece;
        got += piece;
        lastByte = Clock::now();
    }
    return true;
}

ResultCode FrameLink::readRequest(CoreTransaction& t) {
    t.id = 0;
    if (!port_) return ResultCode::NotServed;
    buffer_.clear();

    // Start byte; anything else before it is logged and skipped.
    for (;;) {
        std::string byte;
        int r = port_->read(byte, 1);
        if (r != 1) {
            diagnosticLine("read 104 " + bufferText());
            return ResultCode::NoFrameStart;
        }
        buffer_ = byte;
        auto b = static_cast<std::uint8_t>(byte[0]);
        if (b == frame::kStart) break;
        char line[48];
        std::snprintf(line, sizeof line, "<< %x %lld", b, static_cast<long long>(platform::now()));
        diagnosticLine(line);
        if (b == frame::kEnq) resendLast();
    }

    std::string lengthBytes;
    if (!readExactly(2, lengthBytes)) {
        diagnosticLine("read 110 " +
                       (lengthBytes.empty() ? bufferText() : hexUpper(toBytes(lengthBytes))));
        return ResultCode::FrameLength;
    }
    const auto* lb = reinterpret_cast<const std::uint8_t*>(lengthBytes.data());
    const std::size_t length = le::u16(lb);
    if (length > frame::kMaxRequestPayload) {
        diagnosticLine("read 117 " + bufferText() + " " + std::to_string(length));
        return ResultCode::FrameLength;
    }

    std::string body;
    if (!readExactly(length + 2, body)) {
        diagnosticLine("read 124  " + std::to_string(length) + " " +
                       (body.empty() ? bufferText() : hexUpper(toBytes(body))));
        return ResultCode::FrameLength;
    }
    // A frame without a command byte cannot be a request.
    if (length == 0) return ResultCode::FrameLength;

    const auto* bb = reinterpret_cast<const std::uint8_t*>(body.data());
    std::uint16_t sum = crc::crc16Update(crc::kCrc16Init, lb, 2);
    sum = crc::crc16Update(sum, bb, length);
    if (sum != le::u16(bb + length)) return ResultCode::ChecksumMismatch;

    t = frame::parseRequest(Bytes(bb, bb + length));
    if (t.id == 0)
        t.id = frame::makeTransactionId(t.command, static_cast<std::uint32_t>(platform::now()),
                                        t.data);
    return ResultCode::Success;
}

void FrameLink::writeFrameOf(const CoreApiResult& r) {
    if (port_) port_->write(frame::encode(frame::responsePayload(r)));
}

void FrameLink::sendResponse(const CoreApiResult& r) {
    last_ = r;
    writeFrameOf(last_);
}

void FrameLink::resendLast() { writeFrameOf(last_); }
