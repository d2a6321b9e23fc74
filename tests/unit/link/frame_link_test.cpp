#include "link/frame_link.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "common/crc.h"
#include "link/frame.h"
#include "tests/support/pty_pair.h"
#include "tests/support/temp_board.h"

namespace {

using testing_support::PtyPair;

class FrameLinkTest : public ::testing::Test {
protected:
    void SetUp() override {
        port = std::make_unique<rs::SerialPort>(pty.slavePath(), 17);
        port->setTimeout(-1);
        ASSERT_TRUE(port->open());
        link = std::make_unique<FrameLink>(port.get());
    }

    // Reads one request while capturing the diagnostics on standard output.
    ResultCode readCapturing(CoreTransaction& t, std::string& diagnostics) {
        ::testing::internal::CaptureStdout();
        ResultCode rc = link->readRequest(t);
        diagnostics = ::testing::internal::GetCapturedStdout();
        return rc;
    }

    testing_support::ScopedTempBoard board;
    PtyPair pty;
    std::unique_ptr<rs::SerialPort> port;
    std::unique_ptr<FrameLink> link;
};

Bytes request(std::uint8_t command, std::uint32_t id, const Bytes& data) {
    Bytes payload{command};
    le::put32(payload, id);
    le::putBytes(payload, data);
    return frame::encode(payload);
}

TEST_F(FrameLinkTest, ReadsAWholeRequestAndKeepsTheHostsIdentifier) {
    pty.send(request(7, 0x0A0B0C0D, {1, 2, 3}));
    CoreTransaction t;
    ASSERT_EQ(link->readRequest(t), ResultCode::Success);
    EXPECT_EQ(t.command, 7);
    EXPECT_EQ(t.id, 0x0A0B0C0Du);
    EXPECT_EQ(t.data, (Bytes{1, 2, 3}));
}

TEST_F(FrameLinkTest, ShortIdentifierGetsAGeneratedOne) {
    pty.send(frame::encode({0x33, 0x01, 0x02}));
    CoreTransaction t;
    ASSERT_EQ(link->readRequest(t), ResultCode::Success);
    EXPECT_EQ(t.command, 0x33);
    EXPECT_NE(t.id, 0u);
    EXPECT_TRUE(t.data.empty());
}

TEST_F(FrameLinkTest, LengthLimitIs1024) {
    Bytes big(1024, 0x11);
    big[0] = 0x40;
    pty.send(frame::encode(big));
    CoreTransaction t;
    ASSERT_EQ(link->readRequest(t), ResultCode::Success);
    EXPECT_EQ(t.data.size(), 1019u);

    pty.send({0x04, 0x01, 0x04});
    std::string diagnostics;
    EXPECT_EQ(readCapturing(t, diagnostics), ResultCode::FrameLength);
    EXPECT_EQ(diagnostics, "read 117 0104 1025\n");
}

TEST_F(FrameLinkTest, CheckSumMismatchIsRefusedWithoutDiagnostics) {
    pty.send({0x04, 0x01, 0x00, 0x33, 0xFD, 0x9C});
    CoreTransaction t;
    std::string diagnostics;
    EXPECT_EQ(readCapturing(t, diagnostics), ResultCode::ChecksumMismatch);
    EXPECT_EQ(diagnostics, "");
    EXPECT_EQ(t.id, 0u);
}

TEST_F(FrameLinkTest, SplitFrameIsServedAndCutFrameAnswered11AfterSilence) {
    const Bytes whole = request(9, 1, {5, 6, 7, 8});
    std::thread writer([&] {
        pty.send(Bytes(whole.begin(), whole.begin() + 2));
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        pty.send(Bytes(whole.begin() + 2, whole.begin() + 7));
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        pty.send(Bytes(whole.begin() + 7, whole.end()));
    });
    CoreTransaction t;
    EXPECT_EQ(link->readRequest(t), ResultCode::Success);
    writer.join();
    EXPECT_EQ(t.data, (Bytes{5, 6, 7, 8}));

    pty.send(Bytes(whole.begin(), whole.end() - 3));
    std::string diagnostics;
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(readCapturing(t, diagnostics), ResultCode::FrameLength);
    EXPECT_GE(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(100));
    EXPECT_EQ(diagnostics.rfind("read 124  9 ", 0), 0u) << diagnostics;

    // The length field itself cut short.
    pty.send({0x04, 0x01});
    EXPECT_EQ(readCapturing(t, diagnostics), ResultCode::FrameLength);
    EXPECT_EQ(diagnostics, "read 110 01\n");
}

TEST_F(FrameLinkTest, ZeroLengthFrameIsRefusedAndTheNextFrameRead) {
    Bytes empty{0x04, 0x00, 0x00};
    le::put16(empty, crc::crc16(empty.data() + 1, 2));
    Bytes bytes = empty;
    const Bytes next = request(51, 3, {});
    bytes.insert(bytes.end(), next.begin(), next.end());
    pty.send(bytes);
    CoreTransaction t;
    EXPECT_EQ(link->readRequest(t), ResultCode::FrameLength);
    ASSERT_EQ(link->readRequest(t), ResultCode::Success);
    EXPECT_EQ(t.command, 51);
    EXPECT_EQ(t.id, 3u);
}

TEST_F(FrameLinkTest, StrayBytesAreLoggedAndEnqResendsTheLastResponse) {
    link->sendResponse(CoreApiResult(0, 0x55, {0x01}));
    const Bytes first = pty.receive();
    pty.send({0x00, 0x05});
    pty.send(request(51, 4, {}));
    CoreTransaction t;
    std::string diagnostics;
    ASSERT_EQ(readCapturing(t, diagnostics), ResultCode::Success);
    EXPECT_EQ(t.id, 4u);
    const auto now = std::to_string(board.board().clock);
    EXPECT_EQ(diagnostics, "<< 0 " + now + "\n<< 5 " + now + "\n");
    EXPECT_EQ(pty.receive(), first) << "one resend, byte for byte";
}

TEST_F(FrameLinkTest, EnqBeforeAnyResponseGivesCode17) {
    link->resendLast();
    EXPECT_EQ(pty.receive(), frame::encode({17, 0, 0, 0, 0}));
}

TEST(FrameLinkNoPort, AnswersNotServed) {
    FrameLink link(nullptr);
    CoreTransaction t;
    t.id = 9;
    EXPECT_EQ(link.readRequest(t), ResultCode::NotServed);
    EXPECT_EQ(t.id, 0u);
}

}  // namespace
