#pragma once
// Splits what one side of the host line sends into what the register's
// frame reader makes of it: frames (start byte 0x04, length L as two bytes
// little-endian, L payload bytes, CRC-16 of length and payload as two bytes
// little-endian) and the stray bytes between them (an ENQ among them).
// It only watches: the bytes go on unchanged whatever it finds.
//
// A length above the side's largest payload is refused after the three
// header bytes, as the register refuses it. A frame still unfinished when
// `staleMs` have passed since its last byte is given up when the next byte
// arrives (the register would have answered it with a length error by then),
// and that byte starts afresh.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "common/bytes.h"

namespace sim {

struct LineEvent {
    enum Kind { frame, stray, refusedLength, cutShort };
    Kind kind = frame;
    Bytes payload;            // frame: its payload
    bool checksumOk = false;  // frame: whether its check sum matches
    std::uint8_t byte = 0;    // stray: the byte
    std::size_t length = 0;   // refusedLength: the announced length; cutShort: bytes that came
};

class FrameScanner {
  public:
    FrameScanner(std::size_t maxPayload, long long staleMs)
        : maxPayload_(maxPayload), staleMs_(staleMs) {}

    // The events the bytes complete, in order; `nowMs` is a steady clock.
    std::vector<LineEvent> feed(const std::uint8_t* p, std::size_t n, long long nowMs);

    // What is unfinished, as a cut-short frame; empty when nothing is.
    std::vector<LineEvent> finish();

  private:
    std::size_t maxPayload_;
    long long staleMs_;
    Bytes pending_;  // the frame begun so far, start byte included
    long long lastByteMs_ = 0;
};

}  // namespace sim
