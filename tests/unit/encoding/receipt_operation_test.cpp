// Receipt positions: their amounts, their validity and their stored form.

#include "encoding/receipt_operation.h"

#include <gtest/gtest.h>

#include <limits>

#include "encoding/tags.h"

namespace {

std::uint8_t testRoundingMode = 0;

Tax tax(std::uint8_t kind, std::uint16_t rate) {
    Tax t;
    t.kind = kind;
    t.rate = rate;
    t.name = "VAT";
    return t;
}

Discount discount(std::uint8_t kind, std::int64_t value) {
    Discount d;
    d.number = 4;
    d.kind = kind;
    d.value = value;
    return d;
}

class ReceiptOperationTest : public ::testing::Test {
  protected:
    void SetUp() override {
        testRoundingMode = 0;
        setRoundingModeSource([] { return testRoundingMode; });
    }
    void TearDown() override { setRoundingModeSource(nullptr); }

    // A valid position: 10.00 × 3 in section 2 under a tax that charges nothing.
    ReceiptOperation position(std::int64_t kopecks = 1000, Decimal quantity = Decimal(1, 3)) {
        ReceiptOperation p;
        p.name = "Bread";
        p.price = Decimal(100, kopecks);
        p.quantity = quantity;
        p.taxNumber = 1;
        p.tax = &noTax;
        p.section = &section;
        return p;
    }

    Section section{2, "Bakery"};
    Tax noTax = tax(Tax::kNoTax, 0);
};

TEST_F(ReceiptOperationTest, CostRoundsToThePriceScaleAndQuantityPrintsWithoutTrailingZeros) {
    ReceiptOperation p = position(1250, Decimal(1000, 333));
    for (std::uint8_t mode : {0, 1}) {
        testRoundingMode = mode;
        EXPECT_EQ(p.cost().scale(), 100u);
        EXPECT_EQ(p.cost().value(), 416) << "4.1625 at mode " << int(mode);
    }
    testRoundingMode = 0;
    EXPECT_EQ(position(1245, Decimal(10, 5)).cost().value(), 623) << "6.225 rounds half up";
    testRoundingMode = 1;
    EXPECT_EQ(position(1245, Decimal(10, 5)).cost().value(), 622) << "6.225 rounds half to even";

    p = position(9999, Decimal(1000, 1000));
    EXPECT_EQ(p.cost().toText(), "99.99");
    EXPECT_EQ(p.quantityText(false), "1");
    p.quantity = Decimal(1000, 1500);
    p.unit = "kg";
    EXPECT_EQ(p.quantityText(false), "1.5");
    EXPECT_EQ(p.quantityText(true), "1.5 kg");
    p.quantity = Decimal(1000, 250);
    EXPECT_EQ(p.quantityText(true), "0.25 kg");
    p.quantity = Decimal(1, 20);
    p.unit.clear();
    EXPECT_EQ(p.quantityText(true), "20") << "whole numbers keep their zeros";
}

TEST_F(ReceiptOperationTest, DiscountsComeFromTheTableOrFromTheGivenSum) {
    ReceiptOperation p = position();
    EXPECT_FALSE(p.hasTableDiscount());
    EXPECT_EQ(p.discountAmount().value(), 0);
    EXPECT_EQ(p.totalAfterDiscount().value(), 3000);

    const Discount tenPercent = discount(Discount::kPercentage, 1000);
    p.discount = &tenPercent;
    p.discountSum = Decimal(100, 999);  // not used beside a valid table discount
    EXPECT_EQ(p.discountAmount().value(), 300);
    EXPECT_EQ(p.totalAfterDiscount().value(), 2700);
    EXPECT_TRUE(p.isValid());

    const Discount deleted = discount(Discount::kPercentage, 0);
    p.discount = &deleted;
    EXPECT_EQ(p.discountAmount().value(), 999) << "an invalid table discount falls back to the sum";

    const Discount fiveRoubles = discount(Discount::kFixedAmount, 5000);
    p.discount = &fiveRoubles;
    EXPECT_EQ(p.totalAfterDiscount().value(), -2000) << "a fixed amount is not limited by the cost";
    EXPECT_FALSE(p.isValid());

    p.discount = nullptr;
    p.discountSum = Decimal(100, -500);
    EXPECT_FALSE(p.isValid()) << "a negative discount would charge more than the printed cost";
}

TEST_F(ReceiptOperationTest, TaxSumsByKind) {
    ReceiptOperation p = position(12000, Decimal(1, 1));
    const Tax contained = tax(Tax::kContained, 2000);
    p.tax = &contained;
    EXPECT_EQ(p.taxSum().value(), 2000) << "20 % contained in 120.00";
    const Tax onTop = tax(Tax::kOnTop, 2000);
    p.tax = &onTop;
    EXPECT_EQ(p.taxSum().value(), 2400);
    p.tax = nullptr;
    EXPECT_EQ(p.taxSum().value(), 0);
    EXPECT_EQ(p.taxSum().scale(), 100u);
}

TEST_F(ReceiptOperationTest, ValidityNeedsQuantitySectionTaxNameAndShortTexts) {
    EXPECT_TRUE(position().isValid());

    const auto invalidWhen = [&](auto change) {
        ReceiptOperation p = position();
        change(p);
        return !p.isValid();
    };
    EXPECT_TRUE(invalidWhen([](ReceiptOperation& p) { p.quantity = Decimal(1, 0); }));
    EXPECT_TRUE(invalidWhen([](ReceiptOperation& p) { p.quantity = Decimal(1000, -1); }));
    EXPECT_TRUE(invalidWhen([](ReceiptOperation& p) { p.section = nullptr; }));
    EXPECT_TRUE(invalidWhen([](ReceiptOperation& p) { p.taxNumber = 6; }));
    EXPECT_TRUE(invalidWhen([](ReceiptOperation& p) { p.taxNumber = 0; }));
    EXPECT_TRUE(invalidWhen([](ReceiptOperation& p) { p.tax = nullptr; }));
    EXPECT_TRUE(invalidWhen([](ReceiptOperation& p) { p.name.clear(); }));
    EXPECT_TRUE(invalidWhen([](ReceiptOperation& p) { p.name.assign(128, 'n'); }));
    EXPECT_TRUE(invalidWhen([](ReceiptOperation& p) { p.code.assign(128, 'c'); }));
    EXPECT_TRUE(invalidWhen([](ReceiptOperation& p) { p.secondText.assign(128, 's'); }));
    EXPECT_TRUE(invalidWhen([](ReceiptOperation& p) { p.unit.assign(16, 'u'); }));
    EXPECT_TRUE(invalidWhen([](ReceiptOperation& p) { p.price = Decimal(100, -1); }));

    const Section outside{21, ""};
    EXPECT_TRUE(invalidWhen([&](ReceiptOperation& p) { p.section = &outside; }));
    Tax unnamed = tax(Tax::kOnTop, 1000);
    unnamed.name.clear();
    EXPECT_TRUE(invalidWhen([&](ReceiptOperation& p) { p.tax = &unnamed; }));

    ReceiptOperation p = position();
    p.name.assign(127, 'n');
    p.code.assign(127, 'c');
    p.secondText.assign(127, 's');
    p.unit.assign(15, 'u');
    EXPECT_TRUE(p.isValid()) << "the longest texts allowed";
}

TEST_F(ReceiptOperationTest, AmountsThatOverflowMakeThePositionInvalid) {
    constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
    ReceiptOperation p = position(kMax / 2, Decimal(1, 3));
    EXPECT_TRUE(p.cost().overflowed());
    EXPECT_FALSE(p.isValid()) << "a wrapped cost would be stored as money";

    p = position(kMax / 100, Decimal(1000, 1000));
    EXPECT_TRUE(p.cost().overflowed()) << "the raw product overflows before it is rescaled";
    EXPECT_FALSE(p.isValid());

    p = position(kMax / 3, Decimal(1, 3));
    EXPECT_FALSE(p.cost().overflowed()) << "the largest cost that fits";
    EXPECT_TRUE(p.isValid());

    const Discount huge = discount(Discount::kPercentage, kMax);
    p = position();
    p.discount = &huge;
    EXPECT_FALSE(p.isValid()) << "a percentage far beyond the cost";

    // A quantity with more fraction digits than a 32-bit scale holds.
    Tlv quantity;
    quantity.tag = tags::kQuantity;
    quantity.data = {12, 1};
    p = position();
    ASSERT_TRUE(p.setField(quantity));
    EXPECT_FALSE(p.isValid());
}

// The children as the stored form holds them, in order.
std::vector<Tlv> children(const ReceiptOperation& p) {
    const Tlv container = p.toTlv();
    EXPECT_EQ(container.tag, tags::kPosition);
    return decodeList(container);
}

std::vector<std::uint16_t> childTags(const ReceiptOperation& p) {
    std::vector<std::uint16_t> out;
    for (const Tlv& child : children(p)) out.push_back(child.tag);
    return out;
}

TEST_F(ReceiptOperationTest, StoredFormHoldsTheChildrenInOrderWithTheirPresenceRules) {
    ReceiptOperation p = position();
    EXPECT_EQ(childTags(p), (std::vector<std::uint16_t>{11030, 11301, 11199, 11079, 11043, 11023}))
        << "a tax that charges nothing writes no sum";

    const Tax onTop = tax(Tax::kOnTop, 1000);
    const Discount tenPercent = discount(Discount::kPercentage, 1000);
    p.code = "4601";
    p.secondText = "mark";
    p.unit = "pc";
    p.tax = &onTop;
    p.discount = &tenPercent;
    p.quantity = Decimal(1000, 3000);
    p.extraLine = "fresh";
    const std::vector<Tlv> all = children(p);
    ASSERT_EQ(all.size(), 12u);
    const std::vector<std::uint16_t> order{11163, 12000, 11030, 12108, 11301, 11199,
                                           11102, 11079, 11304, 11043, 11023, 11029};
    EXPECT_EQ(childTags(p), order);
    EXPECT_EQ(all[0].getText(), "4601");
    EXPECT_EQ(all[4].data, Bytes{2});
    EXPECT_EQ(all[5].data, Bytes{1});
    EXPECT_EQ(all[6].getVarInt(), 270) << "10 % on top of 27.00";
    EXPECT_EQ(all[7].data, (Bytes{0xE8, 0x03}));
    EXPECT_EQ(all[8].getVarInt(), 300);
    EXPECT_EQ(all[9].getVarInt(), 2700);
    EXPECT_EQ(all[10].data, (Bytes{0x03, 0xB8, 0x0B})) << "the quantity keeps its scale";
    EXPECT_EQ(all[11].getText(), "fresh");

    // The discount sum is written only above 0; an empty extra line never.
    p.discount = nullptr;
    p.extraLine = "";
    p.section = nullptr;
    EXPECT_EQ(childTags(p), (std::vector<std::uint16_t>{11163, 12000, 11030, 12108, 11199, 11102,
                                                        11079, 11043, 11023}));
    p.discountSum = Decimal(100, 150);
    EXPECT_EQ(children(p)[7].tag, tags::kDiscountSum);
    EXPECT_EQ(children(p)[7].getVarInt(), 150);
}

TEST_F(ReceiptOperationTest, StoredPositionReadsBackAndSkipsUnknownChildren) {
    const Tax contained = tax(Tax::kContained, 2000);
    ReceiptOperation p = position(12345, Decimal(1000, 1500));
    p.code = "4601";
    p.secondText = "mark";
    p.unit = "kg";
    p.taxNumber = 3;
    p.tax = &contained;
    p.discountSum = Decimal(100, 45);
    p.extraLine = "fresh";
    Tlv stored = p.toTlv();
    Tlv().setText(11500, "\x0A\x1B").encodeTo(stored.data);

    ReceiptOperation back;
    back.extraLine = "left over";
    std::uint8_t sectionNumber = 99;
    std::uint8_t taxNumber = 99;
    ::testing::internal::CaptureStdout();
    back.setStorageTag(stored, sectionNumber, taxNumber);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(),
              "ReceiptOperation::setStorageTag UNKNOWN TAG 11500 2 0A1B\n");

    EXPECT_EQ(sectionNumber, 2);
    EXPECT_EQ(taxNumber, 3);
    back.section = &section;
    back.tax = &contained;
    EXPECT_EQ(back, p);
    EXPECT_EQ(back.secondText, "mark");
    EXPECT_EQ(back.discountSum.value(), 45);
    EXPECT_EQ(back.quantity.scale(), 1000u);
    EXPECT_EQ(back.totalAfterDiscount().value(), p.totalAfterDiscount().value());

    // A position stored without a section or an extra line leaves both out.
    p.section = nullptr;
    p.extraLine.reset();
    back.setStorageTag(p.toTlv(), sectionNumber, taxNumber);
    EXPECT_EQ(sectionNumber, 0);
    EXPECT_FALSE(back.extraLine) << "an extra line from before is cleared";
}

TEST_F(ReceiptOperationTest, EqualityLeavesOutSecondTextAndDiscountSum) {
    ReceiptOperation a = position(1000, Decimal(10, 15));
    ReceiptOperation b = position(1000, Decimal(100, 150));
    b.secondText = "other";
    b.discountSum = Decimal(100, 7);
    EXPECT_EQ(a, b) << "1.5 equals 1.50";

    const Section sameNumber = section;
    b.section = &sameNumber;
    EXPECT_FALSE(a == b) << "references compare by the record they point to";
    b.section = a.section;
    b.extraLine = "";
    EXPECT_FALSE(a == b) << "an empty extra line is still present";
    b.extraLine.reset();
    b.taxNumber = 2;
    EXPECT_FALSE(a == b);
}

}  // namespace
