#include <gtest/gtest.h>

#include <filesystem>

#include "common/cp866.h"
#include "config/cashiers.h"
#include "config/discounts.h"
#include "config/sections.h"
#include "encoding/tags.h"
#include "platform/files.h"
#include "tests/support/file_text.h"
#include "tests/support/temp_board.h"

namespace {

using testing_support::fileBytes;
using testing_support::writeFileBytes;

TEST(Cashiers, RecordLayout) {
    Cashier c{7, 0x0181, cp866::fromUtf8("Иванова"), 0x01020304};
    Bytes record = encodeCashier(c);
    ASSERT_EQ(record.size(), 263u);
    EXPECT_EQ(Bytes(record.begin(), record.begin() + 7), (Bytes{7, 0x81, 0x01, 4, 3, 2, 1}));
    EXPECT_EQ(record[7], 0x88);  // И in CP866
    EXPECT_EQ(record[14], 0);

    std::optional<Cashier> back = decodeCashier(record);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->name, c.name);
    EXPECT_EQ(back->rights, 0x0181);
    EXPECT_EQ(back->password, 0x01020304u);

    // A long name is cut to 255 bytes and byte 262 stays 0.
    c.name = std::string(300, 'N');
    record = encodeCashier(c);
    EXPECT_EQ(record[261], 'N');
    EXPECT_EQ(record[262], 0);
    record[262] = 'X';
    EXPECT_EQ(decodeCashier(record)->name.size(), 255u);

    EXPECT_FALSE(decodeCashier(Bytes(262, 1)));
    record[0] = 21;
    EXPECT_FALSE(decodeCashier(record));
    record[0] = 0;
    EXPECT_FALSE(decodeCashier(record));
}

TEST(Cashiers, NewFileHoldsTheServiceCashier) {
    testing_support::ScopedTempBoard board;
    CashierTable table;
    table.prepareCashiers();
    const Bytes file = fileBytes(board.file("/nv/CASHIERS"));
    ASSERT_EQ(file.size(), 5260u);
    const std::size_t at = 19 * 263;
    EXPECT_EQ(Bytes(file.begin() + at, file.begin() + at + 10),
              (Bytes{0x14, 0xFF, 0x03, 0xD4, 0x25, 0x04, 0x00, 0x96, 0x92, 0x8E}));  // ЦТО
    EXPECT_EQ(file[at + 10], 0);
    for (int n = 1; n <= 19; ++n) {
        const std::size_t offset = static_cast<std::size_t>(n - 1) * 263;
        EXPECT_EQ(file[offset], n);
        EXPECT_EQ(Bytes(file.begin() + offset + 1, file.begin() + offset + 263), Bytes(262, 0));
    }

    Cashier found;
    EXPECT_TRUE(table.authoriseCashier(20, kFactoryServicePassword, found));
    EXPECT_EQ(found.rights, kAllRights);
    for (std::uint8_t n = 1; n <= 19; ++n)
        EXPECT_FALSE(table.authoriseCashier(n, 0, found)) << int(n);
}

TEST(Cashiers, ShortFileIsCompletedAndNeverReset) {
    // A board whose /nv/ filled up while the file was written: record 1 is
    // the owner's, record 2 is whole, record 3 was torn.
    testing_support::ScopedTempBoard board;
    Cashier owner{1, kRightSale, "OWNER", 4321};
    Bytes shortFile = encodeCashier(owner);
    le::putBytes(shortFile, Bytes(263, 0));
    shortFile[263] = 2;
    le::putBytes(shortFile, Bytes(100, 0x33));
    writeFileBytes(board.file("/nv/CASHIERS"), shortFile);

    CashierTable table;
    testing::internal::CaptureStdout();
    table.prepareCashiers();
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "/nv/CASHIERS SHORT 626 BYTES, RECORDS 3 TO 20 RESTORED\n");
    const Bytes file = fileBytes(board.file("/nv/CASHIERS"));
    ASSERT_EQ(file.size(), 5260u);
    EXPECT_EQ(Bytes(file.begin(), file.begin() + 526),
              Bytes(shortFile.begin(), shortFile.begin() + 526))
        << "whole records are never reset";
    EXPECT_EQ(file[2 * 263], 3);
    Cashier found;
    EXPECT_TRUE(table.authoriseCashier(20, kFactoryServicePassword, found))
        << "the service cashier is usable again";
    EXPECT_TRUE(table.authoriseCashier(1, 4321, found));

    testing::internal::CaptureStdout();
    table.prepareCashiers();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "") << "a whole file is left alone";
}

TEST(Cashiers, NewFileIsCreatedWholeOrNotAtAll) {
    testing_support::ScopedTempBoard board;
    CashierTable table;
    platform::writeLog().injectFault(1, platform::WriteLog::Fault::tear);
    table.prepareCashiers();
    EXPECT_FALSE(platform::fileExists("/nv/CASHIERS")) << "no torn file is left behind";
    EXPECT_FALSE(std::filesystem::exists(board.file("/nv/CASHIERS.new")));
    Cashier found;
    EXPECT_FALSE(table.authoriseCashier(20, kFactoryServicePassword, found));

    // Once the medium takes the write, the next start creates it whole.
    table.prepareCashiers();
    EXPECT_EQ(fileBytes(board.file("/nv/CASHIERS")).size(), 5260u);
    EXPECT_TRUE(table.authoriseCashier(20, kFactoryServicePassword, found));
}

TEST(Cashiers, AuthorisationUsesTheMapOnceLookedUp) {
    testing_support::ScopedTempBoard board;
    CashierTable table;
    table.prepareCashiers();

    Cashier found;
    EXPECT_FALSE(table.authoriseCashier(20, 1234, found));
    EXPECT_EQ(found.number, 20) << "the stored cashier comes back on failure";
    EXPECT_EQ(found.password, kFactoryServicePassword);

    // Later lookups come from the map: changing the file does not matter.
    writeFileBytes(board.file("/nv/CASHIERS"), Bytes(5260, 0));
    EXPECT_TRUE(table.authoriseCashier(20, kFactoryServicePassword, found));
    // readCashier always reads the file.
    std::optional<Cashier> fromFile = table.readCashier(20);
    ASSERT_TRUE(fromFile);
    EXPECT_EQ(fromFile->number, 20) << "the record carries the number asked for";
    EXPECT_EQ(fromFile->password, 0u);

    EXPECT_FALSE(table.readCashier(0));
    EXPECT_FALSE(table.readCashier(21));
    EXPECT_FALSE(table.authoriseCashier(21, 0, found));
}

TEST(Cashiers, WritingUpdatesFileAndMap) {
    testing_support::ScopedTempBoard board;
    CashierTable table;
    table.prepareCashiers();
    Cashier found;
    EXPECT_FALSE(table.authoriseCashier(5, 1234, found));  // enters the map unusable

    Cashier c{5, kRightSale, "Petrova", 1234};
    ASSERT_TRUE(table.writeCashier(c));
    EXPECT_TRUE(table.authoriseCashier(5, 1234, found));
    EXPECT_EQ(found.name, "Petrova");
    const Bytes file = fileBytes(board.file("/nv/CASHIERS"));
    EXPECT_EQ(Bytes(file.begin() + 4 * 263, file.begin() + 5 * 263), encodeCashier(c));

    c.number = 21;
    EXPECT_FALSE(table.writeCashier(c));

    // Without a file nothing is written and nothing is created.
    testing_support::ScopedTempBoard empty;
    CashierTable fresh;
    EXPECT_FALSE(fresh.writeCashier(Cashier{5, 1, "A", 1}));
    EXPECT_FALSE(fresh.readCashier(5));
}

TEST(Discounts, RecordLayoutAndLabel) {
    Discount d{3, Discount::kPercentage, 1000, std::string(200, 'D')};
    Bytes record = encodeDiscount(d);
    ASSERT_EQ(record.size(), 138u);
    EXPECT_EQ(Bytes(record.begin(), record.begin() + 10),
              (Bytes{3, 1, 0xE8, 0x03, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(record[136], 'D');
    EXPECT_EQ(record[137], 0);
    EXPECT_EQ(decodeDiscount(record)->name.size(), 127u);
    EXPECT_FALSE(decodeDiscount(Bytes(139, 1)));

    EXPECT_EQ(discountLabel(d), d.name);
    d.name.clear();
    EXPECT_EQ(cp866::toUtf8(discountLabel(d)), "СКИДКА 10.00%");
    d.kind = Discount::kFixedAmount;
    EXPECT_EQ(cp866::toUtf8(discountLabel(d)), "СКИДКА");
    d.value = 0;
    EXPECT_EQ(discountLabel(d), "");
}

TEST(Discounts, Amounts) {
    const Discount tenPercent{1, Discount::kPercentage, 1000, ""};
    Decimal a = discountAmount(tenPercent, Decimal(100, 1230));
    EXPECT_EQ(a.scale(), 100u);
    EXPECT_EQ(a.value(), 123);
    EXPECT_EQ(discountAmount(tenPercent, Decimal(100, 3000)).value(), 300);

    const Discount five{2, Discount::kFixedAmount, 500, ""};
    EXPECT_EQ(discountAmount(five, Decimal(100, 300)).value(), 500) << "not limited by the cost";
    EXPECT_EQ(discountAmount(five, Decimal(1000, 0)).scale(), 1000u);
    EXPECT_EQ(discountAmount(five, Decimal(100, -5)).value(), 0);
    EXPECT_EQ(discountAmount(Discount{2, 2, 500, ""}, Decimal(100, 300)).value(), 0);
}

TEST(Discounts, TableLoadWriteAndDelete) {
    testing_support::ScopedTempBoard board;
    DiscountTable table;
    table.loadDiscounts();
    const Bytes created = fileBytes(board.file("/nv/DISCOUNTS"));
    ASSERT_EQ(created.size(), 2760u);
    EXPECT_EQ(created[19 * 138], 20);

    std::optional<Discount> d = table.getDiscount(5);
    ASSERT_TRUE(d);
    EXPECT_EQ(d->number, 5);
    EXPECT_EQ(d->kind, Discount::kEmpty);
    EXPECT_FALSE(table.getDiscount(21));
    EXPECT_FALSE(table.getDiscount(0));

    ASSERT_TRUE(table.writeDiscount(Discount{5, Discount::kPercentage, 1000, "Ten"}));
    EXPECT_EQ(table.getDiscount(5)->value, 1000);

    // Loaded again from the file.
    DiscountTable reloaded;
    reloaded.loadDiscounts();
    EXPECT_EQ(reloaded.getDiscount(5)->name, "Ten");

    // Value 0 deletes the discount; the record is still written.
    ASSERT_TRUE(table.writeDiscount(Discount{5, Discount::kPercentage, 0, "Ten"}));
    d = table.getDiscount(5);
    EXPECT_EQ(d->kind, Discount::kEmpty);
    EXPECT_EQ(d->number, 5);
    const Bytes file = fileBytes(board.file("/nv/DISCOUNTS"));
    EXPECT_EQ(file[4 * 138 + 1], Discount::kPercentage);
    EXPECT_EQ(file[4 * 138 + 10], 'T');
}

TEST(Sections, RecordLayoutAndNameCut) {
    Section s{3, std::string(200, 'S')};
    Bytes record = encodeSection(s);
    ASSERT_EQ(record.size(), 128u);
    EXPECT_EQ(record[0], 3);
    EXPECT_EQ(record[126], 'S');
    EXPECT_EQ(record[127], 0);
    EXPECT_EQ(decodeSection(record)->name, std::string(126, 'S'));
    EXPECT_FALSE(decodeSection(Bytes(127, 1)));

    s.setSectionName(std::string(126, 'x'));
    EXPECT_EQ(s.name.size(), 126u);
    s.setSectionName(std::string(127, 'x'));
    EXPECT_EQ(s.name.size(), 126u);
}

TEST(Sections, TaggedForm) {
    Section s{4, "AB"};
    EXPECT_EQ(s.toTlv().encode(), (Bytes{0x24, 0x2C, 0x0B, 0x00, 0x25, 0x2C, 0x01, 0x00, 0x04, 0x26,
                                         0x2C, 0x02, 0x00, 'A', 'B'}));
    EXPECT_EQ((Section{4, ""}).toTlv().data, (Bytes{0x25, 0x2C, 0x01, 0x00, 0x04}));
    EXPECT_EQ((Section{0, "AB"}).toTlv().tag, 0);

    Section back;
    ASSERT_TRUE(back.fromTlv(s.toTlv()));
    EXPECT_EQ(back.number, 4);
    EXPECT_EQ(back.name, "AB");
    Tlv other = s.toTlv();
    other.tag = tags::kPosition;
    EXPECT_FALSE(Section().fromTlv(other));
    EXPECT_FALSE(Section().fromTlv(Section{4, "AB"}.toTlv().setContainer(tags::kSection, {})));
}

TEST(Sections, TableLoadAndWrite) {
    testing_support::ScopedTempBoard board;
    SectionTable table;
    EXPECT_FALSE(table.getSection(1)) << "nothing before the table is loaded";
    table.loadSections();
    ASSERT_EQ(fileBytes(board.file("/nv/SECTIONS")).size(), 2560u);
    EXPECT_EQ(table.getSection(20)->number, 20);
    EXPECT_FALSE(table.getSection(0));
    EXPECT_FALSE(table.getSection(21));

    ASSERT_TRUE(table.writeSection(Section{3, std::string(200, 'B')}));
    EXPECT_EQ(table.getSection(3)->name.size(), 126u);

    // Loading takes the names and ignores the stored number bytes.
    Bytes file = fileBytes(board.file("/nv/SECTIONS"));
    file[2 * 128] = 9;
    writeFileBytes(board.file("/nv/SECTIONS"), file);
    SectionTable reloaded;
    reloaded.loadSections();
    EXPECT_EQ(reloaded.getSection(3)->number, 3);
    EXPECT_EQ(reloaded.getSection(3)->name, std::string(126, 'B'));

    table.releaseSections();
    EXPECT_FALSE(table.getSection(3));
}

}  // namespace
