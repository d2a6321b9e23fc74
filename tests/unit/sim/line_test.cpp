// The host line of the simulated board: the relay between the host's end
// and the register's end, and the exchange log it feeds.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <regex>
#include <thread>

#include "common/crc.h"
#include "sim/frame_scanner.h"
#include "sim/line_log.h"
#include "sim/line_relay.h"
#include "sim/pty.h"
#include "tests/support/deadline_io.h"
#include "tests/support/file_text.h"
#include "tests/support/temp_board.h"

namespace {

using testing_support::readBy;
using testing_support::writeAllBy;

int openEnd(const std::string& path) {
    return ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
}

Bytes frame(const Bytes& payload) {
    Bytes out{0x04};
    Bytes body;
    le::put16(body, static_cast<std::uint16_t>(payload.size()));
    le::putBytes(body, payload);
    le::putBytes(out, body);
    le::put16(out, crc::crc16(body));
    return out;
}

TEST(LineRelay, AHostThatWritesBeforeItReadsNeverStallsTheRegister) {
    sim::Pty registerEnd, hostEnd;
    std::atomic<std::size_t> toRegister{0}, toHost{0};
    sim::LineRelay relay(registerEnd.master(), hostEnd.master(),
                         [&](sim::Direction d, const std::uint8_t*, std::size_t n) {
                             (d == sim::Direction::toRegister ? toRegister : toHost) += n;
                         });
    // The register answers every byte it reads with eight (as it answers an
    // ENQ with its last response) and writes before it reads on.
    constexpr std::size_t kSent = 200000, kAnswer = 8;
    const auto deadline = testing_support::secondsFromNow(30);
    std::atomic<bool> registerStalled{false};
    std::thread board([&] {
        const int fd = openEnd(registerEnd.slavePath());
        for (std::size_t got = 0; got < kSent && !registerStalled;) {
            const std::string in = readBy(fd, 1, deadline);
            if (in.empty()) break;
            got += in.size();
            if (!writeAllBy(fd, std::string(in.size() * kAnswer, 'A'), deadline))
                registerStalled = true;
        }
        ::close(fd);
    });

    const int host = openEnd(hostEnd.slavePath());
    ASSERT_GE(host, 0);
    EXPECT_TRUE(writeAllBy(host, std::string(kSent, '\x05'), deadline))
        << "the host's writes stalled";
    const std::string answers = readBy(host, kSent * kAnswer, deadline);
    board.join();
    ::close(host);
    EXPECT_FALSE(registerStalled) << "the register's writes stalled";
    EXPECT_EQ(answers.size(), kSent * kAnswer);
    EXPECT_EQ(toRegister, kSent);
    EXPECT_EQ(toHost, kSent * kAnswer);
}

// The observer sees what the relay has already passed on, so a log that
// waits for this machine's disk never holds the line.
TEST(LineRelay, PassesBytesOnBeforeTheObserverSeesThem) {
    sim::Pty registerEnd, hostEnd;
    const auto deadline = testing_support::secondsFromNow(20);
    std::atomic<bool> registerGotIt{false}, passedBeforeObserved{false};
    sim::LineRelay relay(registerEnd.master(), hostEnd.master(),
                         [&](sim::Direction d, const std::uint8_t*, std::size_t) {
                             if (d != sim::Direction::toRegister) return;
                             // Stalls as a log on a slow disk would, until the
                             // register has read the byte or the deadline.
                             while (!registerGotIt && std::chrono::steady_clock::now() < deadline)
                                 std::this_thread::sleep_for(std::chrono::milliseconds(1));
                             passedBeforeObserved = registerGotIt.load();
                         });
    const int board = openEnd(registerEnd.slavePath());
    const int host = openEnd(hostEnd.slavePath());
    ASSERT_GE(board, 0);
    ASSERT_GE(host, 0);
    ASSERT_TRUE(writeAllBy(host, "\x05", deadline));
    EXPECT_EQ(readBy(board, 1, deadline), "\x05");
    registerGotIt = true;
    ASSERT_TRUE(writeAllBy(board, "answer", deadline));
    EXPECT_EQ(readBy(host, 6, deadline), "answer");
    ::close(board);
    ::close(host);
    EXPECT_TRUE(passedBeforeObserved) << "the observer held the request back";
}

TEST(FrameScanner, ReadsTheLineAsTheRegistersFrameReaderDoes) {
    sim::FrameScanner scanner(1024, 200);
    const Bytes request = frame({51, 0x44, 0x33, 0x22, 0x11});
    Bytes bad = frame({16});
    bad.back() ^= 0xFF;

    // An ENQ, a frame in two pieces, a stray NUL, a frame with a bad sum.
    Bytes stream{0x05};
    le::putBytes(stream, request);
    stream.push_back(0x00);
    le::putBytes(stream, bad);
    auto events = scanner.feed(stream.data(), 4, 0);
    auto more = scanner.feed(stream.data() + 4, stream.size() - 4, 10);
    events.insert(events.end(), more.begin(), more.end());
    ASSERT_EQ(events.size(), 4u);
    EXPECT_EQ(events[0].kind, sim::LineEvent::stray);
    EXPECT_EQ(events[0].byte, 0x05);
    EXPECT_EQ(events[1].kind, sim::LineEvent::frame);
    EXPECT_EQ(events[1].payload, Bytes({51, 0x44, 0x33, 0x22, 0x11}));
    EXPECT_TRUE(events[1].checksumOk);
    EXPECT_EQ(events[2].kind, sim::LineEvent::stray);
    EXPECT_EQ(events[3].kind, sim::LineEvent::frame);
    EXPECT_FALSE(events[3].checksumOk);

    // A length above the largest payload is refused after the header; what
    // follows is read afresh.
    const Bytes tooLong{0x04, 0x01, 0x04, 0x05};
    events = scanner.feed(tooLong.data(), tooLong.size(), 20);
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].kind, sim::LineEvent::refusedLength);
    EXPECT_EQ(events[0].length, 1025u);
    EXPECT_EQ(events[1].kind, sim::LineEvent::stray);

    // A frame left unfinished is given up when the line has been quiet
    // longer than the register waits; the next frame is read whole.
    events = scanner.feed(request.data(), 5, 30);
    EXPECT_TRUE(events.empty());
    events = scanner.feed(request.data(), request.size(), 1000);
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].kind, sim::LineEvent::cutShort);
    EXPECT_EQ(events[0].length, 5u);
    EXPECT_EQ(events[1].kind, sim::LineEvent::frame);
    EXPECT_TRUE(events[1].checksumOk);
    EXPECT_TRUE(scanner.finish().empty());
}

TEST(LineLog, NamesTheCommandTheResultAndTheIdentifierOfEveryFrame) {
    using sim::Direction;
    sim::LineEvent request;
    request.payload = {51, 0x44, 0x33, 0x22, 0x11, 0xAA};
    request.checksumOk = true;
    EXPECT_EQ(sim::describeLineEvent(Direction::toRegister, request),
              "host>reg request cmd 51 id 0x11223344 data 1");
    sim::LineEvent response = request;
    response.payload[0] = 0;
    EXPECT_EQ(sim::describeLineEvent(Direction::toHost, response),
              "reg>host response code 0 (success) id 0x11223344 data 1");
    sim::LineEvent shortOne;
    shortOne.payload = {11};
    shortOne.checksumOk = false;
    EXPECT_EQ(
        sim::describeLineEvent(Direction::toHost, shortOne).rfind("reg>host response code 11 ("),
        0u);
    EXPECT_NE(sim::describeLineEvent(Direction::toHost, shortOne)
                  .find(") id none data 0 bad "
                        "check sum"),
              std::string::npos);

    const std::string dir = testing_support::makeTempDir("okta-line-log-");
    {
        sim::LineLog log(dir + "/line.log");
        const Bytes ask = frame({16, 1, 0, 0, 0});
        const Bytes enq{0x05};
        const Bytes answer = frame({0, 1, 0, 0, 0, 9, 9});
        log.record(Direction::toRegister, ask.data(), ask.size());
        log.record(Direction::toRegister, enq.data(), enq.size());
        log.record(Direction::toHost, answer.data(), 4);  // unfinished at the end
    }
    const std::string text = testing_support::readFile(dir + "/line.log");
    const std::regex expected(
        R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3} host>reg request cmd 16 id 0x00000001 data 0
\S+ \S+ host>reg stray byte 05 \(ENQ\)
\S+ \S+ reg>host frame cut short after 4 bytes
)");
    EXPECT_TRUE(std::regex_match(text, expected)) << text;
    std::filesystem::remove_all(dir);
}

}  // namespace
