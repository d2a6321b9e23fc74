#include "state/queue.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace {

CoreTransaction transaction(std::uint8_t command, std::uint32_t id) {
    CoreTransaction t;
    t.command = command;
    t.id = id;
    t.data = {1, 2, 3};
    return t;
}

TEST(Queue, IndependentHandlesShareTheContainers) {
    QueueState state;
    CoreQueue producer(state), consumer(state);
    ASSERT_TRUE(producer.post(transaction(7, 11), nullptr, nullptr));
    ASSERT_TRUE(producer.post(transaction(8, 12), nullptr, nullptr));
    EXPECT_EQ(consumer.pendingCount(), 2u);

    CoreTransaction t;
    ASSERT_TRUE(consumer.pop(t));
    EXPECT_EQ(t.command, 7);
    EXPECT_EQ(t.id, 11u);
    EXPECT_EQ(t.data, (Bytes{1, 2, 3}));
    bool ok = false;
    EXPECT_EQ(consumer.pop(&ok).id, 12u);
    EXPECT_TRUE(ok);

    // An empty queue leaves the output as it was.
    CoreTransaction untouched = transaction(99, 5);
    EXPECT_FALSE(consumer.pop(untouched));
    EXPECT_EQ(untouched.command, 99);
    consumer.pop(&ok);
    EXPECT_FALSE(ok);

    ASSERT_TRUE(consumer.postResult(CoreApiResult(0, 11, {9})));
    EXPECT_TRUE(producer.hasResult(11));
    bool found = false;
    CoreApiResult r = producer.takeResult(11, &found);
    EXPECT_TRUE(found);
    EXPECT_EQ(r.data, Bytes{9});
    EXPECT_FALSE(producer.hasResult(11));
    r = producer.takeResult(11, &found);
    EXPECT_FALSE(found);
    EXPECT_EQ(r.code, 255);
}

TEST(Queue, ResultsReplaceEachOtherAndIdentifierZeroIsDropped) {
    QueueState state;
    CoreQueue q(state);
    int doneCalls = 0;
    q.post(
        transaction(1, 40), [&] { ++doneCalls; }, nullptr);
    EXPECT_TRUE(q.postResult(CoreApiResult(1, 40, {})));
    EXPECT_TRUE(q.postResult(CoreApiResult(2, 40, {})));
    EXPECT_EQ(doneCalls, 2);
    EXPECT_EQ(q.takeResult(40, nullptr).code, 2);
    EXPECT_FALSE(q.postResult(CoreApiResult(0, 0, {})));
    EXPECT_FALSE(q.hasResult(0));
}

TEST(Queue, NotificationsReachTheRegisteredCallbackOnly) {
    QueueState state;
    CoreQueue q(state);
    std::vector<std::int32_t> kinds;
    q.post(transaction(1, 50), nullptr,
           [&](const CoreApiNotification& n) { kinds.push_back(n.kind); });
    EXPECT_TRUE(q.notify({3, 50, {}}));
    EXPECT_FALSE(q.notify({4, 51, {}}));
    EXPECT_FALSE(q.notify({5, 0, {}}));
    EXPECT_EQ(kinds, std::vector<std::int32_t>{3});
}

TEST(Queue, DestroyedHandleWithdrawsItsCallbacks) {
    QueueState state;
    int doneCalls = 0;
    {
        CoreQueue q(state);
        q.post(
            transaction(1, 60), [&] { ++doneCalls; }, nullptr);
    }
    CoreQueue other(state);
    EXPECT_TRUE(other.postResult(CoreApiResult(0, 60, {})));
    EXPECT_EQ(doneCalls, 0);
    EXPECT_TRUE(other.hasResult(60));
    EXPECT_EQ(other.pendingCount(), 1u) << "the transaction itself stays queued";
}

TEST(Queue, ExecWaitsForItsOwnIdentifier) {
    QueueState state;
    CoreQueue link(state), core(state);
    std::atomic<bool> stop{false};
    std::thread consumer([&] {
        while (!stop) {
            CoreTransaction t;
            if (core.pop(t)) {
                // A result for someone else first: exec must keep waiting.
                core.postResult(CoreApiResult(0, t.id + 1, {}));
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
                core.postResult(CoreApiResult(0, t.id, {0x42}));
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    });
    CoreApiResult r;
    ASSERT_TRUE(link.exec(transaction(3, 70), r));
    EXPECT_EQ(r.id, 70u);
    EXPECT_EQ(r.data, Bytes{0x42});
    EXPECT_FALSE(link.hasResult(70)) << "exec leaves nothing behind";
    stop = true;
    consumer.join();
}

}  // namespace
