#include "core/core_worker.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "config/base_worker.h"
#include "state/status.h"
#include "tests/support/temp_board.h"

namespace {

TEST(CoreWorker, UnknownCodesAnswer10) {
    testing_support::ScopedTempBoard board;
    CoreWorker core;
    for (std::uint8_t command : {0, 23, 255}) {
        CoreTransaction t;
        t.command = command;
        CoreApiResult r = core.dispatch(t);
        EXPECT_EQ(r.code, 10) << int(command);
        EXPECT_TRUE(r.data.empty());
    }
}

TEST(CoreWorker, PrinterCommandsWithoutAPrinterLineAnswer53) {
    // No /dev/ttyS0 on this board: the port object exists, its open fails.
    testing_support::ScopedTempBoard board;
    CoreWorker core;
    const std::pair<std::uint8_t, Bytes> requests[] = {
        {192, {}}, {195, {0, 0, 0, 0, 'X'}}, {196, {0x1B, 0x40}}, {197, {}}};
    for (const auto& [command, data] : requests) {
        CoreTransaction t{command, 1, data};
        EXPECT_EQ(core.dispatch(t).code, 53) << int(command);
    }
    CoreTransaction empty{196, 1, {}};
    EXPECT_EQ(core.dispatch(empty).code, 22) << "the data is checked first";
}

TEST(CoreWorker, LoopAnswersThroughTheProcessQueue) {
    testing_support::ScopedTempBoard board;
    CoreWorker core;
    std::atomic<bool> stop{false};
    std::thread loop([&] { core.runLoop(&stop); });
    CoreQueue link;
    CoreTransaction t;
    t.command = 23;
    t.id = 0xCAFE;
    CoreApiResult r;
    ASSERT_TRUE(link.exec(t, r));
    EXPECT_EQ(r.code, 10);
    EXPECT_EQ(r.id, 0xCAFEu);
    stop = true;
    loop.join();
}

TEST(BaseWorker, ClockCheckUsesTheLaterOfBuildInstantAndLastDocument) {
    testing_support::ScopedTempBoard board;
    auto& status = FrStatus::status();
    status.resetStatus();
    board.board().clock = buildInstant() - 1;
    EXPECT_FALSE(BaseWorker::clockValid());
    board.board().clock = buildInstant();
    EXPECT_TRUE(BaseWorker::clockValid());
    status.setLastDocumentTime(static_cast<std::uint32_t>(buildInstant() + 100));
    EXPECT_FALSE(BaseWorker::clockValid());
    board.board().clock = buildInstant() + 100;
    EXPECT_TRUE(BaseWorker::clockValid());
    status.resetStatus();
}

TEST(BaseWorker, BuildInstantIsTheFixedBuildTextInLocalTime) {
    std::tm tm{};
    tm.tm_year = 2023 - 1900;
    tm.tm_mon = 0;
    tm.tm_mday = 9;
    tm.tm_hour = 12;
    tm.tm_min = 36;
    tm.tm_sec = 59;
    tm.tm_isdst = -1;
    EXPECT_EQ(buildInstant(), static_cast<std::int64_t>(std::mktime(&tm)));
}

}  // namespace
