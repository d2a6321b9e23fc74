// The EEPROM identity store on a temporary board: start-up load, key
// creation, record writes, erase and dump.

#include "device/eeprom.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>

#include "config/identity.h"
#include "tests/support/temp_board.h"

namespace {

class EepromTest : public ::testing::Test {
  protected:
    void SetUp() override {
        image = temp.file(eeprom::kPath);
        std::filesystem::create_directories(std::filesystem::path(image).parent_path());
    }

    void writeImage(const Bytes& bytes) {
        std::ofstream out(image, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
    }
    Bytes readImage() {
        std::ifstream in(image, std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    testing_support::ScopedTempBoard temp;
    std::string image;
    identity::Store store;
};

TEST_F(EepromTest, ErasedImageGetsAKeyAndPublishesWhatItReads) {
    writeImage(Bytes(eeprom::kSize, 0xFF));
    EXPECT_TRUE(identity::loadIdentity(store)) << "every read succeeded: no EEPROM error";

    const Bytes key = store.deviceKey();
    ASSERT_EQ(key.size(), 16u);
    Bytes onDisk = readImage();
    ASSERT_EQ(onDisk.size(), eeprom::kSize);
    EXPECT_EQ(Bytes(onDisk.begin() + 4080, onDisk.end()), key);
    EXPECT_NE(key, Bytes(16, 0xFF));
    // Only the key was written.
    EXPECT_EQ(Bytes(onDisk.begin(), onDisk.begin() + 4080), Bytes(4080, 0xFF));

    // The records as read: erased name reads as empty, neither valid.
    auto factory = store.factoryData();
    EXPECT_EQ(factory->modelCode(), 0xFFFF);
    EXPECT_EQ(factory->modelName(), "");
    EXPECT_FALSE(factory->isValid());
    Bytes factoryBytes = factory->encode();
    EXPECT_EQ(Bytes(factoryBytes.begin() + 12, factoryBytes.begin() + 44), Bytes(32, 0));
    EXPECT_EQ(Bytes(factoryBytes.begin() + 44, factoryBytes.end()), Bytes(4, 0xFF));
    auto registration = store.registrationData();
    EXPECT_EQ(registration->encode(), Bytes(968, 0xFF));
    EXPECT_FALSE(registration->isValid());

    // A second start reads the same key back.
    identity::Store again;
    EXPECT_TRUE(identity::loadIdentity(again));
    EXPECT_EQ(again.deviceKey(), key);
}

TEST_F(EepromTest, MissingOrShortEepromLoadsNothing) {
    EXPECT_FALSE(identity::loadIdentity(store));
    EXPECT_TRUE(store.deviceKey().empty());
    EXPECT_EQ(*store.factoryData(), ModelData());
    EXPECT_FALSE(std::filesystem::exists(image)) << "never created";
    EXPECT_FALSE(identity::saveFactoryData(ModelData()));
    EXPECT_TRUE(eeprom::dumpLines().empty());

    // An image that ends inside the registration record: the key cannot be
    // read and the registration data stays at its default, but the
    // factory data, read whole, is published.
    ModelData model;
    model.setSerial("0123456789");
    model.sealModel("k");
    Bytes bytes = model.encode();
    bytes.resize(500, 0x41);
    writeImage(bytes);
    EXPECT_FALSE(identity::loadIdentity(store));
    EXPECT_TRUE(store.deviceKey().empty());
    EXPECT_EQ(*store.factoryData(), model);
    EXPECT_EQ(store.registrationData()->encode(), RegData().encode());
}

TEST_F(EepromTest, SavesRecordsInPlace) {
    writeImage(Bytes(eeprom::kSize, 0xFF));
    ModelData model;
    model.setSerial("0123456789");
    model.sealModel("key");
    RegData reg;
    reg.setStorageNumber("9999078900012345");
    ASSERT_TRUE(identity::saveFactoryData(model));
    ASSERT_TRUE(identity::saveRegistrationData(reg));

    Bytes onDisk = readImage();
    ASSERT_EQ(onDisk.size(), eeprom::kSize);
    EXPECT_EQ(Bytes(onDisk.begin(), onDisk.begin() + 48), model.encode());
    EXPECT_EQ(Bytes(onDisk.begin() + 48, onDisk.begin() + 1016), reg.encode());
    EXPECT_EQ(Bytes(onDisk.begin() + 1016, onDisk.end()), Bytes(3080, 0xFF));

    EXPECT_TRUE(identity::loadIdentity(store));
    EXPECT_EQ(*store.factoryData(), model);
    EXPECT_TRUE(store.factoryData()->checkModel("key"));
    EXPECT_EQ(store.registrationData()->encode(), reg.encode());
}

TEST_F(EepromTest, EraseAndDump) {
    Bytes bytes(eeprom::kSize);
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(i);
    writeImage(bytes);

    std::vector<std::string> lines = eeprom::dumpLines();
    ASSERT_EQ(lines.size(), 64u);
    EXPECT_EQ(lines[0],
              "0001020304050607  08090A0B0C0D0E0F  1011121314151617  18191A1B1C1D1E1F  "
              "2021222324252627  28292A2B2C2D2E2F  3031323334353637  38393A3B3C3D3E3F");
    EXPECT_EQ(lines[63].substr(0, 16), "C0C1C2C3C4C5C6C7");

    testing::internal::CaptureStdout();
    eeprom::eraseEeprom();
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(readImage(), Bytes(eeprom::kSize, 0xFF));
    const std::string erasedBlock(16, 'F');
    std::string erasedLine = erasedBlock;
    for (int i = 1; i < 8; ++i) erasedLine += "  " + erasedBlock;
    std::string expected;
    for (int i = 0; i < 64; ++i) expected += erasedLine + "\n";
    EXPECT_EQ(out, expected);

    // A short image: the missing bytes dump as FF.
    writeImage(Bytes(100, 0x00));
    lines = eeprom::dumpLines();
    ASSERT_EQ(lines.size(), 64u);
    EXPECT_EQ(lines[1],
              "0000000000000000  0000000000000000  0000000000000000  0000000000000000  "
              "00000000FFFFFFFF  FFFFFFFFFFFFFFFF  FFFFFFFFFFFFFFFF  FFFFFFFFFFFFFFFF");
    EXPECT_EQ(lines[2], erasedLine);
}

TEST(DeviceKey, DrawsSixteenBytesAcrossTheRange) {
    std::array<int, 256> seen{};
    for (int round = 0; round < 64; ++round) {
        Bytes key = eeprom::makeDeviceKey();
        ASSERT_EQ(key.size(), 16u);
        for (std::uint8_t b : key) ++seen[b];
    }
    // 1024 uniform draws show about 251 of the 256 values; a source that
    // misses a part of the range shows far fewer.
    int distinct = 0;
    for (int count : seen) distinct += count > 0;
    EXPECT_GT(distinct, 220);
}

}  // namespace
