// A short hostile host against a registered register with a shift open:
// the model of what was answered with success holds at every checkpoint,
// the register still answers afterwards with no document open, and a
// restart reads the same counters. The long run is bench/hostile_host_bench.

#include <gtest/gtest.h>

#include "tests/e2e/hostile_host.h"

namespace {

constexpr std::uint8_t kDocumentState = 176;
constexpr int kNoOpenDocument = 29;

TEST(HostileHostE2E, AHostileStreamLeavesTheRegisterAnsweringWithItsCountersKept) {
    e2e::SimProcess sim;
    ASSERT_TRUE(sim.waitReady()) << sim.output();
    std::string error;
    ASSERT_TRUE(hostile::prepare(sim, error)) << error;

    const hostile::Figures figures = hostile::run(sim, 19, 2000);
    EXPECT_TRUE(figures.problems.empty()) << testing::PrintToString(figures.problems);
    EXPECT_GT(figures.documents, 0) << "some documents got through";
    EXPECT_GE(figures.checkpoints, 2000 / 250) << "one every 250 frames";

    hostkit::Response r;
    sim.client().drain();
    ASSERT_TRUE(sim.client().request(kDocumentState, {}, r, error, 0, 30000)) << error;
    EXPECT_EQ(r.code, kNoOpenDocument);

    const std::vector<Bytes> before = hostile::counterBlocks(sim);
    ASSERT_EQ(before.size(), 4u);
    EXPECT_EQ(before[0].size(), 406u);
    ASSERT_EQ(sim.stop(), 0);
    e2e::SimProcess again({}, sim.root());
    ASSERT_TRUE(again.waitReady()) << again.output();
    EXPECT_EQ(hostile::counterBlocks(again), before);
}

}  // namespace
