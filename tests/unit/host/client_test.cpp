// The client against a register played by the test on the other end of a
// pseudo-terminal: which answers it takes, when it asks again with ENQ, how
// it waits after a time-out, and that it holds the line alone.

#include "host/client.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "common/crc.h"
#include "tests/unit/host/fake_register.h"

namespace {

using host_test::FakeRegister;
using host_test::Incoming;
using host_test::responseFrame;
using hostkit::Client;
using hostkit::Response;
using hostkit::TraceEvent;

std::vector<TraceEvent::Kind> kinds(const std::vector<TraceEvent>& events) {
    std::vector<TraceEvent::Kind> out;
    for (const TraceEvent& e : events) out.push_back(e.kind);
    return out;
}

TEST(HostClient, TakesOnlyTheAnswerWithItsOwnIdentifier) {
    std::uint32_t stale = 0;
    FakeRegister reg([&](const Incoming& in, int) {
        // A left-over answer of an earlier request arrives first.
        stale = in.id + 1000;
        Bytes bytes = responseFrame(0, stale, {0xEE});
        le::putBytes(bytes, responseFrame(0, in.id, {0x00, 0x01, 0x00}));
        return bytes;
    });
    Client client;
    std::vector<TraceEvent> trace;
    client.setTrace([&](const TraceEvent& e) { trace.push_back(e); });
    std::string error;
    ASSERT_TRUE(client.open(reg.path(), error)) << error;

    auto first = client.exchange(51, {});
    ASSERT_TRUE(first.ok()) << first.describe();
    EXPECT_EQ(first->data, (Bytes{0x00, 0x01, 0x00})) << "not the stale answer";
    auto second = client.exchange(51, {});
    ASSERT_TRUE(second.ok()) << second.describe();

    const auto requests = reg.received();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_NE(requests[0].id, 0u) << "the client always names its request";
    EXPECT_NE(requests[0].id, requests[1].id) << "a fresh identifier for every request";
    EXPECT_EQ(first->id, requests[0].id);
    EXPECT_EQ(kinds(trace),
              (std::vector<TraceEvent::Kind>{TraceEvent::Kind::Request, TraceEvent::Kind::Dropped,
                                             TraceEvent::Kind::Answer, TraceEvent::Kind::Request,
                                             TraceEvent::Kind::Dropped, TraceEvent::Kind::Answer}));
    EXPECT_NE(hostkit::formatTrace(trace[1]).find("dropped"), std::string::npos);
}

TEST(HostClient, FrameRefusalsWithoutIdentifierAnswerTheRequestInFlight) {
    // A frame the register could not read (9), or could not serve (8), is
    // answered with identifier 0: that is the answer to this request.
    FakeRegister reg(
        [](const Incoming&, int index) { return responseFrame(index == 0 ? 9 : 8, 0); });
    Client client;
    std::string error;
    ASSERT_TRUE(client.open(reg.path(), error)) << error;
    auto r = client.call(3);
    ASSERT_NE(r.refusal(), nullptr) << r.describe();
    EXPECT_EQ(r.refusal()->code, 9);
    r = client.call(3);
    ASSERT_NE(r.refusal(), nullptr) << r.describe();
    EXPECT_EQ(r.refusal()->code, 8);
    EXPECT_EQ(r.describe().rfind("the register answered 8: ", 0), 0u) << r.describe();
}

TEST(HostClient, AGarbledAnswerIsAskedForAgainWithEnq) {
    std::uint32_t id = 0;
    FakeRegister reg([&](const Incoming& in, int) {
        if (!in.enq) {
            id = in.id;
            Bytes broken = responseFrame(0, in.id, {1, 2, 3, 4});
            broken[9] ^= 0xFF;  // a data byte hit on the way
            return broken;
        }
        return responseFrame(0, id, {1, 2, 3, 4});
    });
    Client client;
    std::vector<TraceEvent> trace;
    client.setTrace([&](const TraceEvent& e) { trace.push_back(e); });
    std::string error;
    ASSERT_TRUE(client.open(reg.path(), error)) << error;
    auto r = client.call(3);
    ASSERT_TRUE(r.ok()) << r.describe();
    EXPECT_EQ(r.value(), (Bytes{1, 2, 3, 4}));
    const auto in = reg.received();
    ASSERT_EQ(in.size(), 2u);
    EXPECT_TRUE(in[1].enq);
    EXPECT_EQ(kinds(trace),
              (std::vector<TraceEvent::Kind>{TraceEvent::Kind::Request, TraceEvent::Kind::Garbled,
                                             TraceEvent::Kind::Enq, TraceEvent::Kind::Answer}));
}

TEST(HostClient, AnswersThatStayGarbledEndInALineFailure) {
    FakeRegister reg([](const Incoming& in, int) {
        Bytes broken = responseFrame(0, in.id);
        broken.back() ^= 0x01;
        return broken;
    });
    Client client;
    std::string error;
    ASSERT_TRUE(client.open(reg.path(), error)) << error;
    auto r = client.call(3);
    ASSERT_NE(r.lineFailure(), nullptr);
    EXPECT_NE(r.describe().find("garbled"), std::string::npos) << r.describe();
    EXPECT_EQ(reg.received().size(), 4u) << "the request and three ENQs";
}

TEST(HostClient, ALostAnswerIsFetchedWithEnqAtTheTimeOut) {
    std::uint32_t id = 0;
    FakeRegister reg([&](const Incoming& in, int) {
        if (!in.enq) {
            id = in.id;
            return Bytes{};  // the answer is lost on the way
        }
        return responseFrame(0, id, {7});
    });
    Client client;
    std::string error;
    ASSERT_TRUE(client.open(reg.path(), error)) << error;
    client.setTimeoutMs(200);
    auto r = client.call(3);
    ASSERT_TRUE(r.ok()) << r.describe();
    EXPECT_EQ(r.value(), Bytes{7});
}

TEST(HostClient, AfterATimeOutTheNextRequestGetsItsOwnAnswer) {
    // The register takes 600 ms for command 195 (a print), and answers in
    // order: the late answer to the print arrives before the next answer.
    std::vector<std::uint32_t> ids;
    FakeRegister reg([&](const Incoming& in, int) {
        if (in.enq) return Bytes{};
        ids.push_back(in.id);
        if (in.command == 195) return Bytes{};
        std::this_thread::sleep_for(std::chrono::milliseconds(600));
        Bytes bytes = responseFrame(0, ids.front());
        le::putBytes(bytes, responseFrame(0, in.id, {0x2A}));
        return bytes;
    });
    Client client;
    std::string error;
    ASSERT_TRUE(client.open(reg.path(), error)) << error;
    auto print = client.exchange(195, {0, 0, 0, 0}, 0, 100);
    ASSERT_NE(print.lineFailure(), nullptr);
    EXPECT_NE(print.describe().find("no answer to command 195"), std::string::npos)
        << print.describe();
    auto next = client.exchange(3, {}, 0, 5000);
    ASSERT_TRUE(next.ok()) << next.describe();
    EXPECT_EQ(next->data, Bytes{0x2A});
    EXPECT_EQ(next->id, ids.back());
}

TEST(HostClient, HoldsTheLineAlone) {
    FakeRegister reg(host_test::answerAll());
    Client first, second;
    std::string error;
    ASSERT_TRUE(first.open(reg.path(), error)) << error;
    EXPECT_FALSE(second.open(reg.path(), error));
    EXPECT_NE(error.find("held by another program"), std::string::npos) << error;
    first.close();
    ASSERT_TRUE(second.open(reg.path(), error)) << "free again once closed: " << error;
    EXPECT_TRUE(second.call(3).ok());

    Client none;
    EXPECT_FALSE(none.open("/nonexistent/host-line", error));
    EXPECT_NE(error.find("no line at /nonexistent/host-line"), std::string::npos) << error;
    EXPECT_FALSE(none.open("/dev/null", error));
    EXPECT_NE(error.find("not a serial line"), std::string::npos) << error;
    EXPECT_NE(none.call(3).lineFailure(), nullptr) << "nothing to send on";
}

TEST(HostClient, RefusesRequestsLongerThanAFrameHolds) {
    FakeRegister reg(host_test::answerAll());
    Client client;
    std::string error;
    ASSERT_TRUE(client.open(reg.path(), error)) << error;
    EXPECT_TRUE(client.call(196, Bytes(1019, 0x41)).ok());
    auto tooLong = client.call(196, Bytes(1020, 0x41));
    ASSERT_NE(tooLong.rejected(), nullptr);
    EXPECT_EQ(reg.received().size(), 1u) << "the long one is never sent";
    EXPECT_EQ(reg.received()[0].data.size(), 1019u);
}

TEST(HostClient, RequestFramesAndResponses) {
    // Command 51 with identifier 0x2A: the check sum covers length and payload.
    const Bytes frame = hostkit::requestFrame(51, 0x2A, {});
    ASSERT_EQ(frame.size(), 10u);
    EXPECT_EQ(Bytes(frame.begin(), frame.begin() + 8),
              (Bytes{0x04, 0x05, 0x00, 0x33, 0x2A, 0x00, 0x00, 0x00}));
    EXPECT_EQ(le::u16(&frame[8]), crc::crc16(&frame[1], 7));

    // A lone code (the register's stand-in for an answer too long to send).
    Bytes lone{0x04, 0x01, 0x00, 0x0B};
    le::put16(lone, crc::crc16(&lone[1], 3));
    const Response r = hostkit::decodeResponse(lone);
    EXPECT_EQ(r.code, 11);
    EXPECT_EQ(r.id, 0u);
    EXPECT_TRUE(r.data.empty());
}

}  // namespace
