// The identity and status commands the link answers itself: their exact
// layouts from the shared records.

#include "link/link_commands.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "config/identity.h"
#include "state/status.h"

namespace {

const Bytes kKey{0x10, 0x11, 0x12, 0x13, 0x14, 0x15, 0x16, 0x17,
                 0x18, 0x19, 0x1A, 0x1B, 0x1C, 0x1D, 0x1E, 0x1F};

class LinkCommands : public ::testing::Test {
  protected:
    void SetUp() override {
        identity::store().reset();
        FrStatus::status().resetStatus();
    }
    void TearDown() override {
        identity::store().reset();
        FrStatus::status().resetStatus();
    }

    CoreApiResult serve(std::uint8_t command, Bytes data = {}, IProcessingQueue* core = nullptr) {
        CoreTransaction t{command, 0xA1B2C3D4, std::move(data)};
        CoreApiResult r;
        EXPECT_TRUE(serveLinkCommand(t, r, core));
        EXPECT_EQ(r.id, 0xA1B2C3D4u);
        return r;
    }

    static void publishValidFactoryData() {
        ModelData m;
        m.setSerial("0123456789");
        ASSERT_TRUE(m.sealModel(toString(kKey)));
        identity::store().publishFactoryData(m);
    }
};

TEST_F(LinkCommands, IdentityNeedsValidRecords) {
    EXPECT_EQ(serve(16).code, 13);
    EXPECT_EQ(serve(48).code, 13);
    EXPECT_EQ(serve(49).code, 13);
    CoreApiResult r = serve(50);
    EXPECT_EQ(r.code, 25);
    EXPECT_TRUE(r.data.empty());
    EXPECT_EQ(serve(68, {0x1D, 0x2B}).code, 38);
    EXPECT_EQ(serve(68, {0x1D, 0x2B, 0x00}).code, 22) << "length before validity";

    CoreTransaction other{21, 1, {}};
    CoreApiResult unused;
    EXPECT_FALSE(serveLinkCommand(other, unused, nullptr)) << "not a link command";
}

TEST_F(LinkCommands, StatusLayouts) {
    publishValidFactoryData();
    FrStatus::Store& status = FrStatus::status();
    status.setFlag(FrStatus::shiftOpen | FrStatus::archiveReady, true);
    status.setShiftNumber(0x0102);
    status.setShiftReceipts(0x0304);
    status.setOpenDocumentNumber(7);
    status.setCashInDrawer(0x1122334455667788ull);
    status.setStatusFormat(0);

    CoreApiResult r = serve(16);
    ASSERT_EQ(r.code, 0);
    ASSERT_EQ(r.data.size(), 29u);
    EXPECT_EQ((Bytes(r.data.begin(), r.data.begin() + 5)), (Bytes{1, 0x02, 0x01, 0x04, 0x03}));
    EXPECT_EQ(le::u32(&r.data[5]), 7u);
    EXPECT_EQ(le::u64(&r.data[21]), 0x1122334455667788ull);

    r = serve(48);
    ASSERT_EQ(r.code, 0);
    ASSERT_EQ(r.data.size(), 31u);
    EXPECT_EQ(std::string(r.data.begin(), r.data.begin() + 10), "0123456789");
    EXPECT_EQ(le::u16(&r.data[10]), FrStatus::shiftOpen | FrStatus::archiveReady);
    EXPECT_EQ(r.data[13], 50) << "byte 3 of the status set by command 48";
    EXPECT_EQ(status.statusFormat(), 50);

    r = serve(49);
    ASSERT_EQ(r.code, 0);
    Bytes expected = identity::store().factoryData()->encode();
    expected.resize(44);
    EXPECT_EQ(r.data, expected);

    identity::store().setDeviceKey(kKey);
    r = serve(50);
    ASSERT_EQ(r.code, 0);
    Bytes key{0x00, 0x01, 0x00, 0x3E, 0, 0, 0, 0, 0, 0, 0};
    le::putBytes(key, kKey);
    EXPECT_EQ(r.data, key);
}

TEST_F(LinkCommands, DeviceStatusAsksThePrinterFirst) {
    publishValidFactoryData();
    QueueState state;
    ProcessingQueue<1> linkSide(state), coreSide(state);
    std::atomic<int> seenCommand{-1};
    std::atomic<std::uint32_t> seenId{0};
    std::thread core([&] {
        CoreTransaction t;
        while (!coreSide.pop(t)) std::this_thread::sleep_for(std::chrono::milliseconds(5));
        seenCommand = t.command;
        seenId = t.id;
        FrStatus::status().setFlag(FrStatus::printerOffline, true);
        coreSide.postResult(CoreApiResult(53, t.id, {}));
    });
    CoreApiResult r = serve(48, {}, &linkSide);
    core.join();
    EXPECT_EQ(seenCommand, 192);
    EXPECT_EQ(seenId, 0xA1B2C3D4u);
    ASSERT_EQ(r.code, 0) << "the printer query's own answer is discarded";
    EXPECT_TRUE(le::u16(&r.data[10]) & FrStatus::printerOffline);
}

}  // namespace
