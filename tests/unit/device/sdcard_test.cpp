#include "device/sdcard.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <limits>

#include "core/core_worker.h"
#include "state/status.h"
#include "tests/support/temp_board.h"

namespace {

namespace fs = std::filesystem;

TEST(SdCard, FreeDocumentPlaces) {
    testing_support::ScopedTempBoard temp;
    auto& board = temp.board();

    board.availableBytes = 3'276'800;
    EXPECT_EQ(sdcard::usableSdBytes(), 2'621'440u);
    EXPECT_EQ(sdcard::computeFreeDocumentPlaces(), 80u);

    // Just under ten places: too few for the document checks.
    board.availableBytes = 409'599;
    EXPECT_EQ(sdcard::usableSdBytes(), 327'672u);
    EXPECT_EQ(sdcard::computeFreeDocumentPlaces(), 9u);

    board.availableBytes = 1ull << 40;
    EXPECT_EQ(sdcard::computeFreeDocumentPlaces(), 250'000u);
    // A failed space query reports the largest count; its places do not fit
    // 32 bits and must still come out as the cap.
    board.availableBytes = std::numeric_limits<std::uint64_t>::max();
    EXPECT_EQ(sdcard::computeFreeDocumentPlaces(), 250'000u);

    EXPECT_EQ(sdcard::archivePath(), "/mnt/sd/V0XD24TX");
    board.cardPresent = false;
    EXPECT_EQ(sdcard::usableSdBytes(), 0u);
    EXPECT_EQ(sdcard::computeFreeDocumentPlaces(), 0u);
    EXPECT_EQ(sdcard::archivePath(), "");
}

// A card that is mounted only by the mount command (or beforehand), with the
// calls counted.
class CardBoard : public testing_support::TempBoard {
  public:
    bool mountCard() override {
        ++mountCalls;
        mounted = mounted || mountWorks;
        return mounted;
    }
    bool cardMounted() const override { return mounted; }

    int mountCalls = 0;
    bool mounted = false;
    bool mountWorks = true;
};

class SdCardMount : public ::testing::Test {
  protected:
    SdCardMount() {
        auto b = std::make_unique<CardBoard>();
        b->root = testing_support::makeTempDir("okta-sd-");
        board = b.get();
        previous = platform::installBoard(std::move(b));
    }
    ~SdCardMount() override {
        std::string root = board->root;
        platform::installBoard(std::move(previous));
        fs::remove_all(root);
    }
    std::string file(std::string_view boardPath) const { return board->path(boardPath); }
    void makeDeviceNode() {
        fs::create_directories(file("/dev"));
        std::ofstream(file("/dev/mmcblk0p1")).close();
    }
    // Mounts and returns what was written on standard output.
    std::string mount(bool& mounted) {
        ::testing::internal::CaptureStdout();
        mounted = sdcard::mountSdCard();
        return ::testing::internal::GetCapturedStdout();
    }

    CardBoard* board;
    std::unique_ptr<platform::Board> previous;
};

TEST_F(SdCardMount, NoDeviceNode) {
    fs::create_directories(file("/mnt"));
    bool mounted = true;
    EXPECT_EQ(mount(mounted), "NO SD CARD\n");
    EXPECT_FALSE(mounted);
    EXPECT_FALSE(fs::exists(file("/mnt/sd")));
    EXPECT_EQ(board->mountCalls, 0);
}

TEST_F(SdCardMount, MountPointIsMadeOneLevelOnly) {
    makeDeviceNode();
    bool mounted = true;
    EXPECT_EQ(mount(mounted), "NO MOUNT POINT\n");
    EXPECT_FALSE(mounted);
    EXPECT_FALSE(fs::exists(file("/mnt")));

    fs::create_directories(file("/mnt"));
    EXPECT_EQ(mount(mounted), "");
    EXPECT_TRUE(mounted);
    EXPECT_TRUE(fs::is_directory(file("/mnt/sd")));
    EXPECT_EQ(board->mountCalls, 1);
    EXPECT_EQ(sdcard::archivePath(), "/mnt/sd/V0XD24TX");
}

TEST_F(SdCardMount, AlreadyMountedAndMountError) {
    makeDeviceNode();
    fs::create_directories(file("/mnt/sd"));
    board->mounted = true;
    bool mounted = false;
    EXPECT_EQ(mount(mounted), "");
    EXPECT_TRUE(mounted);
    EXPECT_EQ(board->mountCalls, 0);

    board->mounted = false;
    board->mountWorks = false;
    EXPECT_EQ(mount(mounted), "SD CARD MOUNT ERROR\n");
    EXPECT_FALSE(mounted);
    EXPECT_EQ(board->mountCalls, 1);
}

TEST_F(SdCardMount, StartUpSetsTheArchiveFlags) {
    FrStatus::Store& status = FrStatus::status();
    const std::uint16_t archiveFlags = FrStatus::archiveMounted | FrStatus::archiveReady;
    CoreWorker worker;

    ::testing::internal::CaptureStdout();
    worker.startUp();
    EXPECT_NE(::testing::internal::GetCapturedStdout().find("NO SD CARD\n"), std::string::npos);
    EXPECT_FALSE(status.testFlags(archiveFlags));
    EXPECT_EQ(status.freeDocumentPlaces(), 0u);

    makeDeviceNode();
    fs::create_directories(file("/mnt/sd"));
    board->availableBytes = 3'276'800;
    worker.startUp();
    EXPECT_EQ(status.flags() & archiveFlags, archiveFlags);
    EXPECT_EQ(status.freeDocumentPlaces(), 80u);
    status.resetStatus();
}

}  // namespace
