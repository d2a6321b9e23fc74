// The host line end to end: frames through okta80f-sim's host-line.

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "common/crc.h"
#include "tests/e2e/sim_process.h"

namespace {

using hostkit::Response;

class LinkE2E : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(sim.waitReady()) << sim.output(); }

    Response exchange(const Bytes& bytes) {
        Response r;
        std::string error;
        auto& c = sim.client();
        c.drain();
        EXPECT_TRUE(c.sendBytes(bytes));
        EXPECT_TRUE(c.readResponse(r, 10000, error)) << error;
        return r;
    }

    e2e::SimProcess sim;
};

TEST_F(LinkE2E, AnswersTheProtocolsFrameCases) {
    // ENQ before any request: the initial last response, code 17.
    Response r = exchange({0x05});
    EXPECT_EQ(r.code, 17);
    EXPECT_EQ(r.id, 0u);

    // The six-byte version request.
    r = exchange({0x04, 0x01, 0x00, 0x33, 0x9C, 0xFD});
    EXPECT_EQ(r.code, 0);
    EXPECT_NE(r.id, 0u) << "a request with identifier 0 gets one from the register";
    EXPECT_EQ(r.data, (Bytes{0x00, 0x01, 0x00}));

    // ENQ now repeats that response byte for byte.
    Response again = exchange({0x05});
    EXPECT_EQ(again.code, r.code);
    EXPECT_EQ(again.id, r.id);
    EXPECT_EQ(again.data, r.data);

    // Check-sum bytes swapped.
    r = exchange({0x04, 0x01, 0x00, 0x33, 0xFD, 0x9C});
    EXPECT_EQ(r.code, 9);
    EXPECT_EQ(r.id, 0u);

    // Announced length 1025: refused at once without reading the body.
    r = exchange({0x04, 0x01, 0x04});
    EXPECT_EQ(r.code, 11);

    // Command 23 is no command: the core answers 10 with the identifier.
    r = exchange(hostkit::requestFrame(23, 0x01020304, {}));
    EXPECT_EQ(r.code, 10);
    EXPECT_EQ(r.id, 0x01020304u);

    // A frame in two pieces 10 ms apart is served whole (the link waits
    // 100 ms; a loaded machine must not stretch the pause past that).
    Bytes frame = hostkit::requestFrame(51, 77, {});
    auto& c = sim.client();
    c.drain();
    ASSERT_TRUE(c.sendBytes(Bytes(frame.begin(), frame.begin() + 4)));
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ASSERT_TRUE(c.sendBytes(Bytes(frame.begin() + 4, frame.end())));
    std::string error;
    ASSERT_TRUE(c.readResponse(r, 10000, error)) << error;
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.id, 77u);

    // A frame cut short is answered 11 after the line stays silent.
    ASSERT_TRUE(c.sendBytes(Bytes(frame.begin(), frame.begin() + 5)));
    ASSERT_TRUE(c.readResponse(r, 10000, error)) << error;
    EXPECT_EQ(r.code, 11);

    // A zero-length frame is refused without reading past it; the next
    // request is served normally.
    Bytes empty{0x04, 0x00, 0x00};
    le::put16(empty, crc::crc16(empty.data() + 1, 2));
    r = exchange(empty);
    EXPECT_EQ(r.code, 11);
    r = exchange(hostkit::requestFrame(51, 5, {}));
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.id, 5u);
}

TEST_F(LinkE2E, StrayBytesAreLoggedAndEnqResends) {
    Response first = exchange(hostkit::requestFrame(51, 42, {}));
    ASSERT_EQ(first.code, 0);
    // 00 05 then a frame: one resend of the last response, then the new one.
    Bytes bytes{0x00, 0x05};
    Bytes frame = hostkit::requestFrame(51, 43, {});
    bytes.insert(bytes.end(), frame.begin(), frame.end());
    auto& c = sim.client();
    ASSERT_TRUE(c.sendBytes(bytes));
    Response resent, next;
    std::string error;
    ASSERT_TRUE(c.readResponse(resent, 10000, error)) << error;
    ASSERT_TRUE(c.readResponse(next, 10000, error)) << error;
    EXPECT_EQ(resent.id, 42u);
    EXPECT_EQ(next.id, 43u);
    std::string out = sim.output();
    EXPECT_NE(out.find("<< 0 "), std::string::npos) << out;
    EXPECT_NE(out.find("<< 5 "), std::string::npos) << out;
}

TEST(HostToolE2E, VersionAndRawAgainstTheSimulator) {
    e2e::SimProcess sim;
    ASSERT_TRUE(sim.waitReady()) << sim.output();
    std::string out;
    EXPECT_EQ(e2e::runHost({"--port", sim.hostLine(), "version"}, out), 0);
    EXPECT_EQ(out, "0.1.0\n");
    EXPECT_EQ(e2e::runHost({"--port", sim.hostLine(), "--json", "raw", "23", "--id", "9"}, out), 1);
    EXPECT_NE(out.find("\"code\":10"), std::string::npos) << out;
    EXPECT_NE(out.find("\"id\":9"), std::string::npos) << out;
}

TEST(SimulatorE2E, StopsCleanlyOnSigterm) {
    e2e::SimProcess sim;
    ASSERT_TRUE(sim.waitReady()) << sim.output();
    EXPECT_EQ(sim.stop(), 0);
}

}  // namespace

namespace {

TEST(RunModesE2E, LinkOnlyModeServesTheLinkAndAnswers8ForTheRest) {
    e2e::SimProcess sim({"-s"});
    ASSERT_TRUE(sim.waitReady()) << sim.output();
    auto& c = sim.client();
    Response r;
    std::string error;
    ASSERT_TRUE(c.request(51, {}, r, error, 6)) << error;
    EXPECT_EQ(r.code, 0);
    ASSERT_TRUE(c.request(23, {}, r, error, 7)) << error;
    EXPECT_EQ(r.code, 8) << "no core runs in this mode: nothing may wait for ever";
    EXPECT_EQ(r.id, 0u);
    EXPECT_EQ(sim.stop(), 0);
}

TEST(RunModesE2E, AnUnknownArgumentRunsTheWholeRegister) {
    // A word, since the simulator refuses options it does not know.
    e2e::SimProcess sim({"whatever"});
    ASSERT_TRUE(sim.waitReady()) << sim.output();
    Response r;
    std::string error;
    ASSERT_TRUE(sim.client().request(23, {}, r, error, 8)) << error;
    EXPECT_EQ(r.code, 10) << "the core answers";
}

}  // namespace
