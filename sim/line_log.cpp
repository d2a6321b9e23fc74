#include "sim/line_log.h"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <stdexcept>

#include "common/result_code.h"

namespace sim {

namespace {

constexpr std::size_t kMaxRequestPayload = 1024;
constexpr std::size_t kMaxResponsePayload = 1 + 4096;  // code, identifier and data
constexpr std::size_t kIdOffset = 1;
constexpr std::size_t kDataOffset = 5;  // after the code byte and the identifier
// Longer than the register waits for the rest of a frame that was sent in pieces.
constexpr long long kStaleMs = 200;
constexpr std::uint8_t kEnq = 0x05;

long long steadyMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

std::string localTime() {
    const auto now = std::chrono::system_clock::now();
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    const auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() %
        1000;
    std::tm local{};
    ::localtime_r(&seconds, &local);
    char text[40];
    const std::size_t n = std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
    std::snprintf(text + n, sizeof text - n, ".%03lld", static_cast<long long>(ms));
    return text;
}

std::string hexByte(std::uint8_t b) {
    char text[3];
    std::snprintf(text, sizeof text, "%02X", b);
    return text;
}

// "id 0x1234ABCD data N" of a payload whose identifier starts at offset 1;
// a payload too short for an identifier carries none.
std::string idAndData(const Bytes& payload) {
    if (payload.size() < kDataOffset) return "id none data 0";
    char id[16];
    std::snprintf(id, sizeof id, "0x%08X", le::u32(payload.data() + kIdOffset));
    return std::string("id ") + id + " data " + std::to_string(payload.size() - kDataOffset);
}

std::string describeFrame(Direction direction, const LineEvent& frame) {
    if (frame.payload.empty()) return "frame with no payload";
    const int first = frame.payload[0];
    std::string text = direction == Direction::toRegister
                           ? "request cmd " + std::to_string(first)
                           : "response code " + std::to_string(first) + " (" +
                                 std::string(resultCodeText(first)) + ")";
    return text + " " + idAndData(frame.payload) + (frame.checksumOk ? "" : " bad check sum");
}

}  // namespace

std::string describeLineEvent(Direction direction, const LineEvent& event) {
    const std::string side = direction == Direction::toRegister ? "host>reg " : "reg>host ";
    switch (event.kind) {
        case LineEvent::frame:
            return side + describeFrame(direction, event);
        case LineEvent::stray:
            return side + "stray byte " + hexByte(event.byte) +
                   (event.byte == kEnq ? " (ENQ)" : "");
        case LineEvent::refusedLength:
            return side + "frame length " + std::to_string(event.length) + " refused";
        case LineEvent::cutShort:
            return side + "frame cut short after " + std::to_string(event.length) + " bytes";
    }
    return side;
}

LineLog::LineLog(const std::string& path)
    : file_(std::fopen(path.c_str(), "ab")),
      requests_(kMaxRequestPayload, kStaleMs),
      responses_(kMaxResponsePayload, kStaleMs) {
    if (!file_) throw std::runtime_error("cannot open " + path);
}

LineLog::~LineLog() {
    write(Direction::toRegister, requests_.finish());
    write(Direction::toHost, responses_.finish());
    std::fclose(file_);
}

void LineLog::record(Direction direction, const std::uint8_t* p, std::size_t n) {
    FrameScanner& scanner = direction == Direction::toRegister ? requests_ : responses_;
    write(direction, scanner.feed(p, n, steadyMs()));
}

void LineLog::write(Direction direction, const std::vector<LineEvent>& events) {
    if (events.empty()) return;
    const std::string time = localTime();
    for (const LineEvent& event : events)
        std::fprintf(file_, "%s %s\n", time.c_str(), describeLineEvent(direction, event).c_str());
    std::fflush(file_);
}

}  // namespace sim
