#include <gtest/gtest.h>

#include "config/fr_settings.h"
#include "config/printer_settings.h"
#include "platform/files.h"
#include "tests/support/file_text.h"
#include "tests/support/temp_board.h"

namespace {

using testing_support::fileBytes;
using testing_support::writeFileBytes;

class SettingsTest : public ::testing::Test {
  protected:
    void SetUp() override { settings::FrSettingsCache::process().reset(); }
    void TearDown() override {
        settings::FrSettingsCache::process().reset();
        settings::setCurrentPaperWidth(settings::kDefaultPaperWidth);
    }
    std::string frFile() const { return board.file(settings::kFrSettingsPath); }
    std::string printerFile() const { return board.file(settings::kPrinterSettingsPath); }

    testing_support::ScopedTempBoard board;
};

TEST_F(SettingsTest, FrSettingsDefaultWithoutAFileAndOneByteOnSave) {
    std::uint8_t mode = 9;
    settings::loadFrSettings(mode);
    EXPECT_EQ(mode, 9) << "a missing file leaves the caller's value";
    settings::currentFrSettings(mode);
    EXPECT_EQ(mode, 0);
    EXPECT_FALSE(platform::fileExists(settings::kFrSettingsPath));

    settings::FrSettings record;
    EXPECT_FALSE(settings::setFrParameter(record, 2, {1}));
    EXPECT_FALSE(settings::setFrParameter(record, 1, {}));
    ASSERT_TRUE(settings::setFrParameter(record, 1, {1, 7}));
    settings::saveFrSettings(record);
    EXPECT_EQ(fileBytes(frFile()), (Bytes{0x01}));
    settings::currentFrSettings(mode);
    EXPECT_EQ(mode, 1) << "saving replaces the cache";

    EXPECT_EQ(settings::getFrParameter(record, 1), (Bytes{0x01}));
    EXPECT_TRUE(settings::getFrParameter(record, 2).empty());
}

TEST_F(SettingsTest, EveryRescaleRoundsByTheStoredMode) {
    EXPECT_EQ(Decimal(10, 25).rescaled(1).value(), 3) << "no file: half up";
    EXPECT_FALSE(platform::fileExists(settings::kFrSettingsPath))
        << "reading the rounding mode creates no settings file";
    settings::saveFrSettings({settings::kRoundHalfEven});
    EXPECT_EQ(Decimal(10, 25).rescaled(1).value(), 2);
    EXPECT_EQ(Decimal(1000, 1245).rescaled(100).value(), 124);
    settings::saveFrSettings({7});
    EXPECT_EQ(Decimal(10, 25).rescaled(1).value(), 3) << "any mode but 1 rounds half up";
}

TEST_F(SettingsTest, FrSettingsCacheServesUntilReloaded) {
    writeFileBytes(frFile(), {0x01, 0x55});
    std::uint8_t mode = 0;
    settings::currentFrSettings(mode);
    EXPECT_EQ(mode, 1) << "bytes after the first are ignored";

    writeFileBytes(frFile(), {0x00});
    settings::currentFrSettings(mode);
    EXPECT_EQ(mode, 1) << "the cached record is served";
    settings::reloadFrSettings(mode);
    EXPECT_EQ(mode, 0);
    settings::currentFrSettings(mode);
    EXPECT_EQ(mode, 0);

    writeFileBytes(frFile(), {});
    mode = 5;
    settings::reloadFrSettings(mode);
    EXPECT_EQ(mode, 0) << "an empty file reads as 0";
}

TEST_F(SettingsTest, PrinterSettingsFileLayout) {
    {
        settings::PrinterSettings record;
        EXPECT_EQ(settings::getPrinterParameter(record, 1), (Bytes{0x3C}));
        EXPECT_EQ(settings::getPrinterParameter(record, 2), (Bytes{0, 0, 0, 0}));
        EXPECT_TRUE(settings::getPrinterParameter(record, 3).empty());
        ASSERT_TRUE(settings::setPrinterParameter(record, 2, {1, 2, 3, 4, 5}));
        settings::savePrinterSettings(record);
    }
    EXPECT_EQ(fileBytes(printerFile()), (Bytes{0x3C, 1, 2, 3, 4}));
    EXPECT_EQ(settings::getPrinterParameter(settings::PrinterSettings(), 2), (Bytes{1, 2, 3, 4}));

    // A one-byte file: the width, and the flags at their default.
    writeFileBytes(printerFile(), {0x50});
    settings::PrinterSettings shortFile;
    EXPECT_EQ(shortFile.paperWidth, 0x50);
    EXPECT_EQ(shortFile.printerFlags, 0u);
    writeFileBytes(printerFile(), {0x50, 1, 2, 3});
    EXPECT_EQ(settings::PrinterSettings().printerFlags, 0u) << "incomplete flags keep the default";
}

TEST_F(SettingsTest, PrinterParameters) {
    settings::PrinterSettings record;
    ASSERT_TRUE(settings::setPrinterParameter(record, 1, {80}));
    EXPECT_EQ(record.paperWidth, 80);
    EXPECT_EQ(settings::currentPaperWidth(), 80) << "the width applies at once";

    // Flags with fewer than four bytes are refused and change nothing.
    record.printerFlags = 0x11223344;
    EXPECT_FALSE(settings::setPrinterParameter(record, 2, {1, 2, 3}));
    EXPECT_FALSE(settings::printerValueComplete(2, {1, 2, 3}));
    EXPECT_EQ(record.printerFlags, 0x11223344u);
    EXPECT_FALSE(settings::setPrinterParameter(record, 1, {}));
    EXPECT_FALSE(settings::setPrinterParameter(record, 3, {1}));
    EXPECT_FALSE(platform::fileExists(settings::kPrinterSettingsPath));
}

}  // namespace
