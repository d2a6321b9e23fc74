#pragma once
// The frames of the host protocol, both directions: 04, length L (u16),
// payload of L bytes, CRC-16 over the length bytes and the payload (u16).
// A request's payload is the command code, the transaction identifier (u32)
// and the command data; a response's payload is the result code, the
// identifier and the response data.

#include <cstdint>
#include <string>

#include "common/bytes.h"
#include "host/line.h"

namespace hostkit {

constexpr std::uint8_t kFrameStart = 0x04;
constexpr std::uint8_t kEnq = 0x05;  // asks the register for its last response again
// A request payload holds at most 1024 bytes: command, identifier and 1019
// bytes of data.
constexpr std::size_t kMaxRequestPayload = 1024;
constexpr std::size_t kMaxRequestData = kMaxRequestPayload - 5;
// A response payload: result code, then identifier and data of at most 4096
// bytes together.
constexpr std::size_t kMaxResponsePayload = 1 + 4096;

struct Response {
    int code = -1;
    std::uint32_t id = 0;  // 0 when the register could not read the request
    Bytes data;
};

// The frame around a request payload. The caller keeps data within
// kMaxRequestData.
Bytes requestFrame(std::uint8_t command, std::uint32_t id, const Bytes& data);

// The response in a whole, checked frame. A payload shorter than 5 bytes
// carries only the code (the register sends the lone code 11 in place of an
// answer too long to send).
Response decodeResponse(const Bytes& frame);

// Reads frames from a line one at a time; bytes that arrive after a frame
// stay for the next read.
class FrameReader {
  public:
    explicit FrameReader(Line& line) : line_(line) {}

    enum class Status { Frame, Garbled, TimedOut, LineFailed };
    struct Read {
        Status status = Status::TimedOut;
        Bytes frame;          // the whole frame, or what came of a garbled one
        Bytes skipped;        // bytes before the start byte, dropped
        std::string problem;  // why the frame is garbled
    };

    // The next frame, waiting until `deadlineMs`. A frame whose bytes stop
    // for `gapMs` is garbled (cut short), as is one with an impossible
    // length or a wrong check sum.
    Read next(long long deadlineMs, int gapMs = kDefaultGapMs);

    // Drops what is buffered and whatever the line holds unread, reading on
    // until the line stays silent for `quietMs` (the rest of a garbled
    // frame) or `deadlineMs` passes; what was dropped.
    Bytes discardPending(int quietMs = 0, long long deadlineMs = 0);

    static constexpr int kDefaultGapMs = 1000;

  private:
    // Appends what the line has to pending_; false at the deadline or on a
    // failed line (failed_ set).
    bool fill(long long deadlineMs);

    Line& line_;
    Bytes pending_;
    bool failed_ = false;
};

}  // namespace hostkit
