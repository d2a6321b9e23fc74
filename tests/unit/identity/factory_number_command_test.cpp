// Command 63, setting the factory number: the order of its checks and the
// write to the EEPROM before the record is published.

#include "core/factory_number_command.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "config/cashiers.h"
#include "config/identity.h"
#include "core/core_worker.h"
#include "device/eeprom.h"
#include "state/status.h"
#include "tests/support/temp_board.h"

namespace {

class FactoryNumberCommand : public ::testing::Test {
  protected:
    void SetUp() override {
        image = temp.file(eeprom::kPath);
        std::filesystem::create_directories(std::filesystem::path(image).parent_path());
        writeErasedImage();
        FrStatus::status().resetStatus();
        identity::store().reset();
        cashiers().reset();
        cashiers().prepareCashiers();
        Cashier clerk;  // every right but the factory number
        clerk.number = 5;
        clerk.rights = kAllRights & ~kRightFactory;
        clerk.name = "CLERK";
        clerk.password = 55;
        ASSERT_TRUE(cashiers().writeCashier(clerk));
        ASSERT_TRUE(identity::loadIdentity());
    }
    void TearDown() override {
        FrStatus::status().resetStatus();
        identity::store().reset();
        cashiers().reset();
    }

    void writeErasedImage() {
        std::ofstream out(image, std::ios::binary | std::ios::trunc);
        out << std::string(eeprom::kSize, '\xFF');
    }
    Bytes imageHead() {
        std::ifstream in(image, std::ios::binary);
        Bytes b(ModelData::kSize);
        in.read(reinterpret_cast<char*>(b.data()), static_cast<std::streamsize>(b.size()));
        return b;
    }

    int send(std::uint8_t cashier, std::uint32_t password, const std::string& number) {
        CoreTransaction t;
        t.command = 63;
        t.id = 1;
        t.data.push_back(cashier);
        le::put32(t.data, password);
        le::putText(t.data, number);
        return core.dispatch(t).code;
    }

    testing_support::ScopedTempBoard temp;
    std::string image;
    CoreWorker core;
};

TEST_F(FactoryNumberCommand, ChecksInOrder) {
    CoreTransaction shortPrefix{63, 1, {20, 0x44, 0x25}};
    EXPECT_EQ(core.dispatch(shortPrefix).code, 19);
    EXPECT_EQ(send(20, 1, "0123456789"), 18) << "wrong password";
    EXPECT_EQ(send(5, 55, "012345678"), 22) << "length is checked before the right";
    EXPECT_EQ(send(5, 55, "0123456789"), 16);
    EXPECT_EQ(send(20, kFactoryServicePassword, "01234567890"), 22);
    EXPECT_EQ(send(20, kFactoryServicePassword, "01234A6789"), 22);
    EXPECT_FALSE(identity::store().factoryData()->isValid());
    EXPECT_EQ(imageHead(), Bytes(48, 0xFF)) << "nothing written by a refused request";

    EXPECT_EQ(send(20, kFactoryServicePassword, "0123456789"), 0);
    auto factory = identity::store().factoryData();
    EXPECT_TRUE(factory->isValid());
    EXPECT_EQ(factory->serialText(), "0123456789");
    EXPECT_EQ(factory->modelCode(), ModelData::kModelCode);
    EXPECT_EQ(factory->modelName(), ModelData::defaultModelName());
    EXPECT_TRUE(factory->checkModel(toString(identity::store().deviceKey())));
    EXPECT_EQ(imageHead(), factory->encode());

    // Once valid, the number is never set again.
    EXPECT_EQ(send(20, kFactoryServicePassword, "9999999999"), 24);
    EXPECT_EQ(identity::store().factoryData()->serialText(), "0123456789");
    EXPECT_FALSE(FrStatus::status().testFlags(FrStatus::eepromError));
}

TEST_F(FactoryNumberCommand, FailedWriteKeepsTheOldRecordAndSetsTheErrorFlag) {
    std::filesystem::remove(image);
    EXPECT_EQ(send(20, kFactoryServicePassword, "0123456789"), 25);
    EXPECT_TRUE(FrStatus::status().testFlags(FrStatus::eepromError));
    EXPECT_FALSE(identity::store().factoryData()->isValid());
    EXPECT_FALSE(std::filesystem::exists(image)) << "the EEPROM is never created";
}

TEST_F(FactoryNumberCommand, WithoutADeviceKeyNothingIsSealed) {
    identity::store().setDeviceKey({});
    EXPECT_EQ(send(20, kFactoryServicePassword, "0123456789"), 25);
    EXPECT_FALSE(identity::store().factoryData()->isValid());
    EXPECT_EQ(imageHead(), Bytes(48, 0xFF));
}

}  // namespace
