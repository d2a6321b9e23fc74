#pragma once
// DIR/line.log: the exchange on the host line as the relay carries it, one
// line per frame or stray byte, appended, with this machine's local time:
//   2025-03-01 12:00:00.123 host>reg request cmd 51 id 0x00000000 data 0
//   2025-03-01 12:00:00.140 reg>host response code 0 (success) id 0x8D2A11F0 data 3
//   2025-03-01 12:00:01.002 host>reg stray byte 05 (ENQ)
// and "bad check sum", "length N refused", "cut short after N bytes" for
// frames the register cannot read. Written through as the bytes pass.

#include <cstdio>
#include <string>

#include "sim/frame_scanner.h"
#include "sim/line_relay.h"

namespace sim {

// The log line for an event, without the time.
std::string describeLineEvent(Direction direction, const LineEvent& event);

class LineLog {
  public:
    // Appends to `path`; throws std::runtime_error when it cannot be opened.
    explicit LineLog(const std::string& path);
    ~LineLog();  // logs the frames left unfinished
    LineLog(const LineLog&) = delete;
    LineLog& operator=(const LineLog&) = delete;

    // Bytes the relay carried; called from the relay's thread only.
    void record(Direction direction, const std::uint8_t* p, std::size_t n);

  private:
    void write(Direction direction, const std::vector<LineEvent>& events);

    std::FILE* file_ = nullptr;
    FrameScanner requests_;
    FrameScanner responses_;
};

}  // namespace sim
