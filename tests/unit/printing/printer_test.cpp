// The printer driver against a pseudo-terminal whose other end plays the
// printer: the bytes it is sent, its status answers, the printer flags.

#include "printing/printer.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "printing/escpos.h"
#include "state/status.h"
#include "tests/support/line_settings.h"
#include "tests/support/pty_pair.h"
#include "tests/support/temp_board.h"

namespace {

using namespace std::string_literals;

const std::string kRequest = "\x1D\x72\x01"s;
const std::string kPrefix = "\x1D\x64\x00\x1D\x50\x00\x00\x1B\x74\x07"s;
const std::string kClear = "\x10\x14\x08\x01\x03\x14\x01\x06\x02\x08"s;
const std::string kInit = "\x1B\x40"s;
const std::string kBackOff = "\x1D\x61\x00"s;

std::string repeat(const std::string& s, int n) {
    std::string out;
    for (int i = 0; i < n; ++i) out += s;
    return out;
}

// The printer's end of the line. `answer` gives, for the n-th status
// request (from 0) and everything received so far, the status byte to send
// back, or -1 for silence.
class FakePrinter {
  public:
    using Answer = std::function<int(int request, const std::string& received)>;

    explicit FakePrinter(Answer answer) : answer_(std::move(answer)), thread_([this] { run(); }) {}
    ~FakePrinter() {
        stop_ = true;
        thread_.join();
    }

    const std::string& path() const { return pty_.slavePath(); }

    // Everything received, once the line has been quiet for a while.
    std::string received() {
        for (std::size_t before = SIZE_MAX;;) {
            std::this_thread::sleep_for(std::chrono::milliseconds(150));
            std::lock_guard<std::mutex> hold(lock_);
            if (received_.size() == before) return received_;
            before = received_.size();
        }
    }

  private:
    void run() {
        while (!stop_) {
            pollfd fd{pty_.master(), POLLIN, 0};
            if (::poll(&fd, 1, 20) <= 0 || !(fd.revents & POLLIN)) continue;
            char buffer[256];
            ssize_t n = ::read(pty_.master(), buffer, sizeof buffer);
            if (n <= 0) continue;
            std::string snapshot;
            {
                std::lock_guard<std::mutex> hold(lock_);
                received_.append(buffer, static_cast<std::size_t>(n));
                snapshot = received_;
            }
            // Answer every status request not answered yet.
            int requests = 0;
            for (std::size_t at = snapshot.find(kRequest); at != std::string::npos;
                 at = snapshot.find(kRequest, at + kRequest.size()))
                ++requests;
            for (; handled_ < requests; ++handled_) {
                int byte = answer_(handled_, snapshot);
                if (byte >= 0) pty_.send({static_cast<std::uint8_t>(byte)});
            }
        }
    }

    testing_support::PtyPair pty_;
    Answer answer_;
    std::mutex lock_;
    std::string received_;
    int handled_ = 0;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

FakePrinter::Answer always(int byte) {
    return [byte](int, const std::string&) { return byte; };
}

// The printer port as the register makes it, on a board whose /dev/ttyS0
// is the fake printer's line. The read time-out is shortened so that a
// silent printer costs little; the driver's own pauses go to the board's
// record and take no time.
class PrinterDriver : public ::testing::Test {
  protected:
    static constexpr int kTestReadTimeoutMs = 100;  // the line's smallest, one tenth of a second

    void SetUp() override { FrStatus::status().resetStatus(); }

    std::unique_ptr<rs::SerialPort> openPort(const FakePrinter& printer) {
        std::filesystem::create_directories(board.file("/dev"));
        std::filesystem::remove(board.file("/dev/ttyS0"));
        std::filesystem::create_symlink(printer.path(), board.file("/dev/ttyS0"));
        auto port = printing::createPrinterPort();
        EXPECT_EQ(port->device(), board.file("/dev/ttyS0"));
        EXPECT_EQ(port->timeoutMs(), 200);
        EXPECT_FALSE(port->isOpen()) << "the port is created closed";
        port->setTimeout(kTestReadTimeoutMs);
        printing::ensurePrinterOpen(port.get());
        EXPECT_TRUE(port->isOpen());
        return port;
    }

    bool flag(std::uint16_t mask) { return FrStatus::status().testFlags(mask); }
    std::vector<int> pauses() { return board.board().takePauses(); }

    testing_support::ScopedTempBoard board;
};

TEST_F(PrinterDriver, StatusByteSetsThePaperFlags) {
    std::atomic<int> next{0x0C};
    FakePrinter printer([&next](int, const std::string&) { return next.load(); });
    auto port = openPort(printer);
    FrStatus::status().setFlag(FrStatus::printerOffline, true);

    EXPECT_EQ(printing::queryPrinterStatus(port.get()), ResultCode::PaperOut);
    EXPECT_TRUE(flag(FrStatus::paperOut));
    EXPECT_FALSE(flag(FrStatus::printerOffline));
    EXPECT_FALSE(flag(FrStatus::paperNearEnd));

    next = 0x03;
    EXPECT_EQ(printing::queryPrinterStatus(port.get()), ResultCode::Success);
    EXPECT_TRUE(flag(FrStatus::paperNearEnd));
    EXPECT_FALSE(flag(FrStatus::paperOut));

    // One bit of a pair is not enough; other bits are ignored.
    next = 0xF6;
    EXPECT_EQ(printing::queryPrinterStatus(port.get()), ResultCode::Success);
    EXPECT_FALSE(flag(FrStatus::paperNearEnd));
    EXPECT_FALSE(flag(FrStatus::paperOut));

    EXPECT_EQ(printer.received(), repeat(kRequest, 3)) << "one request per query";
}

TEST_F(PrinterDriver, StatusQueryRetriesSilenceFiveTimes) {
    FakePrinter printer([](int request, const std::string&) { return request == 2 ? 0 : -1; });
    auto port = openPort(printer);
    if (!testing_support::lineSettingsApply(*port)) GTEST_SKIP() << "reads never time out here";
    pauses();
    EXPECT_EQ(printing::queryPrinterStatus(port.get()), ResultCode::Success);
    EXPECT_EQ(pauses(), (std::vector<int>{100, 100}))
        << "two silent attempts, each followed by a 100 ms pause";
    EXPECT_EQ(printer.received(), repeat(kRequest, 3)) << "answered on the third request";

    FakePrinter silent(always(-1));
    auto silentPort = openPort(silent);
    EXPECT_EQ(printing::queryPrinterStatus(silentPort.get()), ResultCode::PrinterOffline);
    EXPECT_EQ(pauses(), std::vector<int>(5, 100))
        << "every silent attempt, the fifth too, is followed by the pause";
    EXPECT_TRUE(flag(FrStatus::printerOffline));
    EXPECT_EQ(silent.received(), repeat(kRequest, 5));
}

TEST_F(PrinterDriver, StatusQueryIgnoresALateAnswerLeftOnTheLine) {
    // The host sent a status request of its own (command 196); its answer
    // waits on the line when the paper runs out.
    std::atomic<int> next{0x00};
    FakePrinter printer([&next](int, const std::string&) { return next.load(); });
    auto port = openPort(printer);
    EXPECT_EQ(printing::writeRaw(port.get(), kRequest), ResultCode::Success);
    EXPECT_EQ(printer.received(), kRequest) << "answered, and the answer left unread";
    next = 0x0C;
    EXPECT_EQ(printing::queryPrinterStatus(port.get()), ResultCode::PaperOut)
        << "the answer to this query, not the stale byte";
    EXPECT_TRUE(flag(FrStatus::paperOut));
}

TEST_F(PrinterDriver, PrintJobSendsPrefixTextAndStatusRequest) {
    FakePrinter printer(always(0x00));
    auto port = openPort(printer);
    EXPECT_EQ(printing::printBytes(port.get(), "TEXT\n", true), ResultCode::Success);
    EXPECT_EQ(printing::printBytes(port.get(), "MORE\n", false), ResultCode::Success);
    EXPECT_EQ(printing::feedAndCut(port.get()), ResultCode::Success);
    EXPECT_EQ(printing::writeRaw(port.get(), ""), ResultCode::Success);
    EXPECT_EQ(printing::writeRaw(port.get(), "\x1B\x7A"s), ResultCode::Success);
    EXPECT_EQ(printer.received(), kPrefix + "TEXT\n" + kRequest + kPrefix + "MORE\n" +
                                      "\x1B\x33\xFF\x0A\x1B\x69"s + "\x1B\x7A"s);
}

TEST_F(PrinterDriver, FailedCheckResetsThePrinterOnce) {
    // Offline until initialised, then fine.
    FakePrinter printer([](int, const std::string& received) {
        return received.find(kInit) == std::string::npos ? -1 : 0;
    });
    auto port = openPort(printer);
    if (!testing_support::lineSettingsApply(*port)) GTEST_SKIP() << "reads never time out here";
    FrStatus::status().setFlag(FrStatus::paperOut, true);
    pauses();
    EXPECT_EQ(printing::printBytes(port.get(), "LOST\n", true), ResultCode::PrinterOffline)
        << "the result of the job's own query, not of the reset";
    EXPECT_EQ(pauses(), (std::vector<int>{100, 100, 100, 100, 100, 500}))
        << "the job's five silent attempts, then 500 ms after initialising";
    EXPECT_TRUE(port->isOpen()) << "the reset reopens the port";
    EXPECT_FALSE(flag(FrStatus::printerOffline)) << "the reset's query found the printer";
    EXPECT_FALSE(flag(FrStatus::paperOut));
    EXPECT_EQ(printer.received(), kPrefix + "LOST\n" + repeat(kRequest, 5) + kClear + kInit +
                                      kRequest + kPrefix + kBackOff)
        << "the job is not repeated";
}

TEST_F(PrinterDriver, APrinterFoundSilentIsResetBeforeTheNextJob) {
    // Silent until initialised (as one wedged by raw bytes), then fine.
    FakePrinter printer([](int, const std::string& received) {
        return received.find(kInit) == std::string::npos ? -1 : 0;
    });
    auto port = openPort(printer);
    if (!testing_support::lineSettingsApply(*port)) GTEST_SKIP() << "reads never time out here";
    EXPECT_EQ(printing::queryPrinterStatus(port.get()), ResultCode::PrinterOffline);
    ASSERT_TRUE(flag(FrStatus::printerOffline));
    pauses();
    EXPECT_EQ(printing::printBytes(port.get(), "KEPT\n", true), ResultCode::Success)
        << "the job is printed once the printer is back";
    EXPECT_EQ(pauses(), std::vector<int>{500}) << "only the reset's pause";
    EXPECT_FALSE(flag(FrStatus::printerOffline));
    EXPECT_EQ(printer.received(), repeat(kRequest, 5) + kClear + kInit + kRequest + kPrefix +
                                      kBackOff + kPrefix + "KEPT\n" + kRequest);
}

TEST_F(PrinterDriver, ResetGivesUpAfterTenQueries) {
    FakePrinter printer(always(0x0C));
    auto port = openPort(printer);
    pauses();
    EXPECT_EQ(printing::printBytes(port.get(), "X\n", true), ResultCode::PaperOut);
    EXPECT_TRUE(flag(FrStatus::paperOut));
    std::vector<int> expected{500};
    expected.insert(expected.end(), 9, 200);
    EXPECT_EQ(pauses(), expected) << "500 ms after initialising, 200 ms between the ten queries";
    EXPECT_EQ(printer.received(),
              kPrefix + "X\n" + kRequest + kClear + kInit + repeat(kRequest, 10))
        << "no prefix after a failed reset";

    EXPECT_EQ(printing::resetPrinter(port.get()), ResultCode::PaperOut);
}

TEST_F(PrinterDriver, EveryOperationWithoutAPort) {
    printing::ensurePrinterOpen(nullptr);
    EXPECT_EQ(printing::queryPrinterStatus(nullptr), ResultCode::PrinterOffline);
    EXPECT_TRUE(flag(FrStatus::printerOffline));
    EXPECT_EQ(printing::resetPrinter(nullptr), ResultCode::PrinterOffline);
    EXPECT_EQ(printing::sendJobPrefix(nullptr), ResultCode::PrinterOffline);
    EXPECT_EQ(printing::printBytes(nullptr, "x", false), ResultCode::PrinterOffline);
    EXPECT_EQ(printing::feedAndCut(nullptr), ResultCode::PrinterOffline);
    EXPECT_EQ(printing::writeRaw(nullptr, ""), ResultCode::PrinterOffline);

    // A port whose device cannot be opened: the read fails, no retries.
    FrStatus::status().resetStatus();
    auto port = printing::createPrinterPort();
    printing::ensurePrinterOpen(port.get());
    ASSERT_FALSE(port->isOpen());
    pauses();
    EXPECT_EQ(printing::queryPrinterStatus(port.get()), ResultCode::PrinterOffline);
    EXPECT_TRUE(pauses().empty()) << "a failed read stops the attempts at once";
    EXPECT_TRUE(flag(FrStatus::printerOffline));
    EXPECT_EQ(printing::feedAndCut(port.get()), ResultCode::PrinterOffline)
        << "a port that could not be opened is no port";
    EXPECT_EQ(printing::writeRaw(port.get(), "x"), ResultCode::PrinterOffline);
}

}  // namespace
