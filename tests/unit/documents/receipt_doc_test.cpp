// The cash receipt: opening, positions, payments, its replies, its stored
// form and the counters it moves.

#include "documents/receipt_doc.h"

#include <gtest/gtest.h>

#include <limits>

#include "config/discounts.h"
#include "config/sections.h"
#include "encoding/tags.h"
#include "printing/receipt_operation_print.h"
#include "state/status.h"
#include "tests/support/temp_board.h"
#include "tests/unit/documents/sample_device.h"

namespace {

using sample::cp;

constexpr std::uint16_t kNoTag = 0;

// A position as the host sends it: name, price in kopecks, quantity, tax
// number, then any further children.
Tlv positionTlv(const std::string& name, std::int64_t kopecks, Decimal quantity = Decimal(1, 1),
                std::vector<Tlv> more = {}) {
    std::vector<Tlv> children{
        Tlv().setText(tags::kPositionName, name), Tlv().setVarInt(tags::kPrice, kopecks),
        Tlv().setVarDecimal(tags::kQuantity, quantity), Tlv().setU8(tags::kPositionTaxNumber, 1)};
    children.insert(children.end(), more.begin(), more.end());
    return Tlv().setContainer(tags::kPosition, children);
}

Bytes payments(std::int64_t cash, std::int64_t nonCash) {
    Bytes data;
    le::put64(data, static_cast<std::uint64_t>(cash));
    le::put64(data, static_cast<std::uint64_t>(nonCash));
    return data;
}

// The printed line holding `label`, without the style commands before it.
std::string lineWith(const std::string& printed, const std::string& label) {
    const std::size_t at = printed.find(label);
    if (at == std::string::npos) return {};
    return printed.substr(at, printed.find('\n', at) - at);
}

class ReceiptDocTest : public ::testing::Test {
  protected:
    void SetUp() override {
        sections().loadSections();
        ASSERT_TRUE(sections().writeSection(Section{2, cp("Бакалея")}));
        discounts().loadDiscounts();
        ASSERT_TRUE(discounts().writeDiscount(Discount{5, Discount::kPercentage, 1000, ""}));
        FrStatus::status().setShiftNumber(7);
        FrStatus::status().setShiftReceipts(4);
        device.cashier.rights |= kRightReturn;
    }

    std::shared_ptr<ReceiptDoc> make() {
        return std::make_shared<ReceiptDoc>(&device.model, &device.registration, device.cashier);
    }

    std::shared_ptr<ReceiptDoc> open(std::uint8_t kind) {
        auto receipt = make();
        EXPECT_EQ(receipt->applyOpenData(Bytes{kind}), ResultCode::Success);
        return receipt;
    }

    ResultCode add(ReceiptDoc& receipt, const Tlv& value) {
        std::string reply;
        return receipt.addItem(value, reply);
    }

    // An open receipt of `kind` holding one position of `kopecks`.
    std::shared_ptr<ReceiptDoc> receiptOf(std::uint8_t kind, std::int64_t kopecks) {
        auto receipt = open(kind);
        EXPECT_EQ(add(*receipt, positionTlv(cp("Товар"), kopecks)), ResultCode::Success);
        return receipt;
    }

    ResultCode close(ReceiptDoc& receipt, const Bytes& data) {
        missingTag = kNoTag;
        return receipt.close(1'700'000'000, device.key, data, missingTag);
    }

    testing_support::ScopedTempBoard board;
    sample::Device device = sample::device();
    std::uint16_t missingTag = kNoTag;
};

TEST_F(ReceiptDocTest, OpeningSetsKindNumberAndShiftAndChecksTheRightForTheKind) {
    auto receipt = open(ReceiptDoc::sale);
    EXPECT_EQ(receipt->receiptNumber(), 5) << "the shift's receipts + 1";
    EXPECT_EQ(receipt->shiftNumber(), 7);
    EXPECT_EQ(receipt->title(), cp("ФИСКАЛЬНЫЙ КАССОВЫЙ ЧЕК НА ТОВАРЫ (УСЛУГИ)"));
    EXPECT_EQ(receipt->kindName(), cp("ПРОДАЖА"));
    EXPECT_EQ(open(ReceiptDoc::returnOfSale)->title(),
              cp("ФИСКАЛЬНЫЙ КАССОВЫЙ ЧЕК ВЫДАЧИ СРЕДСТВ"));

    // A cashier without the return right may sell but not take returns.
    device.cashier.rights = kRightSale;
    EXPECT_EQ(make()->applyOpenData(Bytes{ReceiptDoc::purchase}), ResultCode::Success);
    EXPECT_EQ(make()->applyOpenData(Bytes{ReceiptDoc::returnOfPurchase}), ResultCode::NoRight);
    device.cashier.rights = kRightReturn;
    EXPECT_EQ(make()->applyOpenData(Bytes{ReceiptDoc::sale}), ResultCode::NoRight);

    // Kinds 4..14 need no right and have neither a title nor a name.
    device.cashier.rights = 0x0002;
    receipt = make();
    EXPECT_EQ(receipt->applyOpenData(Bytes{7}), ResultCode::Success);
    EXPECT_EQ(receipt->title(), "");
    EXPECT_EQ(receipt->kindName(), "");

    EXPECT_EQ(make()->applyOpenData(Bytes{}), ResultCode::BadReceiptKind);
    receipt = make();
    EXPECT_EQ(receipt->applyOpenData(Bytes{15}), ResultCode::BadReceiptKind);
    EXPECT_EQ(receipt->kind(), 15) << "the kind byte is kept all the same";

    // The rest of the open data is the base's: a name for this receipt.
    device.cashier.rights = kRightSale;
    receipt = make();
    EXPECT_EQ(receipt->applyOpenData(Bytes{0, 2, 'A', 'B'}), ResultCode::Success);
    EXPECT_EQ(receipt->cashier().name, "AB");
    EXPECT_EQ(make()->applyOpenData(Bytes{0, 3, 'A', 'B'}), ResultCode::MalformedOpenData);
}

TEST_F(ReceiptDocTest, PositionsAreLookedUpCheckedSummedAndPrinted) {
    auto receipt = open(ReceiptDoc::sale);
    std::string reply;
    const Tlv inSectionZero =
        positionTlv(cp("Хлеб"), 4500, Decimal(1, 2),
                    {Tlv().setU8(tags::kSectionNumber, 0), Tlv().setU8(tags::kDiscountNumber, 5)});
    ASSERT_EQ(receipt->addItem(inSectionZero, reply), ResultCode::Success);
    const ReceiptOperation& bread = receipt->positions().at(0);
    EXPECT_EQ(bread.section->number, 1) << "section 0 is the first section";
    EXPECT_EQ(bread.totalAfterDiscount().value(), 8100) << "90.00 less 10 %";
    EXPECT_EQ(reply, printing::printLines(bread)) << "the reply is the printed position";
    EXPECT_NE(reply.find(cp("СКИДКА 10.00%")), std::string::npos);

    ASSERT_EQ(add(*receipt, positionTlv(cp("Рис"), 1900, Decimal(1, 1),
                                        {Tlv().setU8(tags::kSectionNumber, 2)})),
              ResultCode::Success);
    EXPECT_EQ(receipt->positions().at(1).section->name, cp("Бакалея"));
    ASSERT_EQ(add(*receipt, positionTlv(cp("Соль"), 100)), ResultCode::Success);
    EXPECT_EQ(receipt->positions().at(2).section->number, 1) << "no section: the first";
    EXPECT_EQ(receipt->positions().at(0).section, receipt->positions().at(2).section)
        << "a record is looked up once and shared";

    EXPECT_EQ(receipt->total().value(), 10100);
    EXPECT_EQ(receipt->sectionSums().at(1).value(), 8200);
    EXPECT_EQ(receipt->sectionSums().at(2).value(), 1900);
    EXPECT_EQ(receipt->taxSums().at(1).value(), 1350 + 317 + 17)
        << "20 % contained in each position, rounded each";

    // Refusals change nothing.
    const Bytes before = receipt->stateReply();
    const auto refused = [&](std::vector<Tlv> more) {
        return add(*receipt, positionTlv(cp("Х"), 100, Decimal(1, 1), std::move(more)));
    };
    EXPECT_EQ(refused({Tlv().setU8(tags::kSectionNumber, 21)}), ResultCode::SectionNotFound);
    EXPECT_EQ(refused({Tlv().setU8(tags::kPositionTaxNumber, 2)}), ResultCode::TaxNotFound)
        << "tax 2 of the registration is not set";
    EXPECT_EQ(refused({Tlv().setU8(tags::kDiscountNumber, 6)}), ResultCode::DiscountNotFound);
    EXPECT_EQ(refused({Tlv().setVarDecimal(tags::kQuantity, Decimal(1, 0))}),
              ResultCode::PositionInvalid);
    EXPECT_EQ(add(*receipt, Tlv().setContainer(tags::kPosition, {})), ResultCode::BadCashierPrefix)
        << "19: a position without children";
    ::testing::internal::CaptureStdout();
    EXPECT_EQ(refused({Tlv().setText(11500, "\x0A\x1B")}), ResultCode::BadDataLength);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "UNKNOWN TAG 11500 0A1B\n");
    EXPECT_EQ(add(*receipt, Tlv().setText(tags::kCashierName, "X")), ResultCode::TagNotAccepted);
    EXPECT_EQ(receipt->stateReply(), before);
    EXPECT_EQ(receipt->taxSums().size(), 1u);
    EXPECT_EQ(receipt->sectionSums().size(), 2u);

    // A text line is numbered by the positions before it and printed left.
    ASSERT_EQ(receipt->addItem(Tlv().setText(tags::kAdditionalLineText, cp("Спасибо!")), reply),
              ResultCode::Success);
    EXPECT_EQ(receipt->textLines().at(0).number, 3);
    EXPECT_EQ(lineWith(reply, cp("Спасибо!")), cp("Спасибо!"));
}

TEST_F(ReceiptDocTest, StateReplyCountsPositionsAndTotal) {
    auto receipt = open(ReceiptDoc::sale);
    for (int i = 0; i < 3; ++i)
        ASSERT_EQ(add(*receipt, positionTlv("A", 3330)), ResultCode::Success);
    EXPECT_EQ(receipt->stateReply(),
              (Bytes{0x03, 0x00, 0x05, 0x00, 0x03, 0x00, 0x06, 0x27, 0, 0, 0, 0, 0, 0}))
        << "type, kind, number 5, 3 positions, 9990 kopecks";
}

TEST_F(ReceiptDocTest, ClosingNeedsTheNameThePaymentsAndAPosition) {
    auto receipt = open(ReceiptDoc::sale);
    EXPECT_EQ(close(*receipt, Bytes(4, 0)), ResultCode::RequiredTagMissing);
    EXPECT_EQ(missingTag, tags::kCashPayment);
    EXPECT_EQ(close(*receipt, Bytes(12, 0)), ResultCode::RequiredTagMissing);
    EXPECT_EQ(missingTag, tags::kNonCashPayment);
    EXPECT_EQ(close(*receipt, payments(0, 0)), ResultCode::RequiredTagMissing);
    EXPECT_EQ(missingTag, tags::kPosition);
    EXPECT_EQ(receipt->dateTime(), 1'700'000'000u) << "set before the checks";

    device.cashier.name.clear();
    auto nameless = make();
    ASSERT_EQ(nameless->applyOpenData(Bytes{0}), ResultCode::Success);
    ASSERT_EQ(add(*nameless, positionTlv("A", 100)), ResultCode::Success);
    EXPECT_EQ(close(*nameless, payments(0, 0)), ResultCode::RequiredTagMissing);
    EXPECT_EQ(missingTag, tags::kCashierName);
}

TEST_F(ReceiptDocTest, SaleGivesChangeOutOfTheCash) {
    auto receipt = receiptOf(ReceiptDoc::sale, 15000);
    EXPECT_EQ(close(*receipt, payments(10000, 0)), ResultCode::PaymentsBelowTotal);
    EXPECT_EQ(close(*receipt, payments(0, 15001)), ResultCode::PaymentsAboveTotal);
    ASSERT_EQ(close(*receipt, payments(20000, 0)), ResultCode::Success);
    EXPECT_EQ(receipt->change().value(), 5000);
    EXPECT_EQ(receipt->cash().value(), 15000) << "the cash kept";

    const std::string footer = receipt->printFooter(true);
    EXPECT_TRUE(lineWith(footer, cp("ИТОГО")).ends_with("150.00"));
    EXPECT_TRUE(lineWith(footer, cp("НАЛИЧНЫМИ")).ends_with("200.00")) << "the tendered cash";
    EXPECT_TRUE(lineWith(footer, cp("СДАЧА")).ends_with("50.00"));
    EXPECT_TRUE(lineWith(footer, cp("НДС 20%")).ends_with("25.00"));
    EXPECT_EQ(footer.find(cp("БЕЗНАЛИЧНЫМИ")), std::string::npos);

    const Bytes reply = receipt->closeReply();
    ASSERT_EQ(reply.size(), 32u);
    EXPECT_EQ(le::u16(&reply[12]), 7) << "shift";
    EXPECT_EQ(le::u16(&reply[14]), 5) << "receipt number";
    EXPECT_EQ(le::u64(&reply[16]), 15000u);
    EXPECT_EQ(le::u64(&reply[24]), 5000u);

    // Paid exactly, partly non-cash; or with nothing given, in cash exactly.
    receipt = receiptOf(ReceiptDoc::sale, 15000);
    ASSERT_EQ(close(*receipt, payments(5000, 10000)), ResultCode::Success);
    EXPECT_EQ(receipt->change().value(), 0);
    EXPECT_TRUE(lineWith(receipt->printFooter(false), cp("БЕЗНАЛИЧНЫМИ")).ends_with("100.00"));
    receipt = receiptOf(ReceiptDoc::sale, 15000);
    ASSERT_EQ(close(*receipt, payments(0, 0)), ResultCode::Success);
    EXPECT_EQ(receipt->cash().value(), 15000);
    EXPECT_EQ(receipt->change().value(), 0);
    EXPECT_EQ(receipt->printFooter(false).find(cp("СДАЧА")), std::string::npos);
}

TEST_F(ReceiptDocTest, ReceiptsThatPayOutGiveNoChangeAndNeedTheDrawer) {
    FrStatus::status().setCashInDrawer(10000);
    auto receipt = receiptOf(ReceiptDoc::returnOfSale, 15000);
    EXPECT_EQ(close(*receipt, payments(20000, 0)), ResultCode::PaymentsAboveTotal);
    EXPECT_EQ(close(*receipt, payments(15000, 0)), ResultCode::DrawerEmpty);
    EXPECT_EQ(close(*receipt, payments(5000, 10000)), ResultCode::Success)
        << "the non-cash part needs no drawer";
    FrStatus::status().setCashInDrawer(15000);
    receipt = receiptOf(ReceiptDoc::purchase, 15000);
    EXPECT_EQ(close(*receipt, payments(15000, 0)), ResultCode::Success);
}

TEST_F(ReceiptDocTest, IncomeTotalsStopAtAThousandMillionRoubles) {
    constexpr std::int64_t kLimit = 100'000'000'000;
    EXPECT_EQ(close(*receiptOf(ReceiptDoc::sale, kLimit), payments(0, 0)), ResultCode::Success);
    EXPECT_EQ(close(*receiptOf(ReceiptDoc::sale, kLimit + 1), payments(0, 0)),
              ResultCode::PaymentsAboveTotal);
    EXPECT_EQ(close(*receiptOf(ReceiptDoc::returnOfPurchase, kLimit + 1), payments(0, 0)),
              ResultCode::PaymentsAboveTotal);
    FrStatus::status().setCashInDrawer(2 * kLimit);
    EXPECT_EQ(close(*receiptOf(ReceiptDoc::purchase, kLimit + 1), payments(0, 0)),
              ResultCode::Success);
}

TEST_F(ReceiptDocTest, AmountsThatWouldWrapAreRefused) {
    constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
    auto receipt = receiptOf(ReceiptDoc::sale, 5'000'000'000'000'000'000);
    const Bytes before = receipt->stateReply();
    EXPECT_EQ(add(*receipt, positionTlv("B", 5'000'000'000'000'000'000)),
              ResultCode::PositionInvalid)
        << "the receipt's total would wrap";
    EXPECT_EQ(add(*receipt, positionTlv("C", kMax / 2, Decimal(1, 3))), ResultCode::PositionInvalid)
        << "the position's cost would wrap";
    EXPECT_EQ(receipt->stateReply(), before);

    receipt = receiptOf(ReceiptDoc::sale, 15000);
    EXPECT_EQ(close(*receipt, payments(kMax, 1)), ResultCode::PaymentsAboveTotal)
        << "payments whose sum wraps";
    EXPECT_EQ(close(*receipt, payments(30000, -15000)), ResultCode::PaymentsAboveTotal)
        << "a negative payment";
    EXPECT_EQ(close(*receipt, payments(-1, 15001)), ResultCode::PaymentsAboveTotal);
    EXPECT_EQ(close(*receipt, payments(15000, 0)), ResultCode::Success);
}

// The stored data of a prepared receipt: its parts one after another.
Bytes joined(const PreparedDocument& prepared) {
    Bytes data;
    for (const Bytes& part : prepared.parts) le::putBytes(data, part);
    return data;
}

TEST_F(ReceiptDocTest, EveryReceiptAcceptedFitsTheArchive) {
    auto receipt = open(ReceiptDoc::sale);
    const Tlv line = Tlv().setText(tags::kAdditionalLineText, std::string(250, 'x'));
    const Tlv position = positionTlv(
        "P", 100, Decimal(1, 1),
        {Tlv().setU8(tags::kSectionNumber, 2), Tlv().setText(tags::kProductCode, "4601")});
    ResultCode result = ResultCode::Success;
    for (int i = 0; i < 2000 && result == ResultCode::Success; ++i)
        result = add(*receipt, i % 2 ? line : position);
    EXPECT_EQ(result, ResultCode::DataTooLong);
    ASSERT_EQ(close(*receipt, payments(0, 0)), ResultCode::Success);

    PreparedDocument prepared;
    ASSERT_EQ(receipt->prepareForStorage(12, 1, device.key, 16'777'220, prepared),
              Preparation::ready);
    EXPECT_LE(joined(prepared).size(), 32'768u);
    EXPECT_GT(joined(prepared).size(), 24'000u) << "the receipt was filled";

    // Positions count as the host sent them: long names fill the running
    // size to within one position of its 24 576 bytes.
    receipt = open(ReceiptDoc::sale);
    const Tlv named = positionTlv(std::string(120, 'n'), 100, Decimal(1, 1),
                                  {Tlv().setText(tags::kPositionExtraLine, std::string(100, 'e'))});
    const std::size_t sent = named.data.size() + 4;
    std::size_t accepted = 0;
    while (add(*receipt, named) == ResultCode::Success) ++accepted;
    EXPECT_GT(accepted * sent, 24'576u - 2 * sent - 128) << accepted << " of " << sent << " bytes";
    EXPECT_LT(accepted * sent, 24'576u);
    ASSERT_EQ(close(*receipt, payments(0, 0)), ResultCode::Success);
    ASSERT_EQ(receipt->prepareForStorage(13, 1, device.key, 16'777'220, prepared),
              Preparation::ready);
    EXPECT_LE(joined(prepared).size(), 32'768u);

    // Small positions with their sums and discounts stored grow more than
    // the host sent: the archive's limit refuses them first, and what was
    // accepted still stores.
    receipt = open(ReceiptDoc::sale);
    const Tlv discounted =
        positionTlv("d", 1'000'000, Decimal(1000, 9'999), {Tlv().setVarInt(tags::kDiscountSum, 1)});
    result = ResultCode::Success;
    while (result == ResultCode::Success) result = add(*receipt, discounted);
    EXPECT_EQ(result, ResultCode::DataTooLong);
    ASSERT_EQ(close(*receipt, payments(0, 0)), ResultCode::Success);
    ASSERT_EQ(receipt->prepareForStorage(14, 1, device.key, 16'777'220, prepared),
              Preparation::ready);
    EXPECT_LE(joined(prepared).size(), 32'768u);
    EXPECT_GT(joined(prepared).size(), 32'000u) << "filled to the archive's limit";
}

TEST_F(ReceiptDocTest, StoredReceiptRebuildsWithItsFieldsAndPrintsTheSame) {
    auto receipt = open(ReceiptDoc::sale);
    ASSERT_EQ(add(*receipt, positionTlv(cp("Рис"), 1999, Decimal(1000, 1500),
                                        {Tlv().setU8(tags::kSectionNumber, 2),
                                         Tlv().setText(tags::kProductCode, "4601"),
                                         Tlv().setText(tags::kPositionSecondText, "mark"),
                                         Tlv().setText(tags::kUnit, cp("кг")),
                                         Tlv().setVarInt(tags::kDiscountSum, 99),
                                         Tlv().setText(tags::kPositionExtraLine, cp("акция"))})),
              ResultCode::Success);
    ASSERT_EQ(add(*receipt, Tlv().setText(tags::kAdditionalLineText, cp("Спасибо!"))),
              ResultCode::Success);
    ASSERT_EQ(add(*receipt, positionTlv(cp("Соль"), 2500)), ResultCode::Success);
    ASSERT_EQ(close(*receipt, payments(10000, 1000)), ResultCode::Success);

    const sample::Stored stored = sample::storeAndRebuild(*receipt, device, 12, 1);
    ASSERT_EQ(stored.preparation, Preparation::ready);
    EXPECT_EQ(stored.prepared.parts.size(), 1u + 1 + 2 + 2)
        << "data, one tax, two sections, two positions";
    auto rebuilt = std::dynamic_pointer_cast<ReceiptDoc>(stored.rebuilt);
    ASSERT_TRUE(rebuilt);
    EXPECT_EQ(rebuilt->kind(), ReceiptDoc::sale);
    EXPECT_EQ(rebuilt->receiptNumber(), 5);
    EXPECT_EQ(rebuilt->documentNumber(), 12u);
    EXPECT_EQ(rebuilt->total().value(), 2900 + 2500) << "29.99 less 0.99, and 25.00";
    EXPECT_EQ(rebuilt->cash(), receipt->cash());
    EXPECT_EQ(rebuilt->nonCash().value(), 1000);
    EXPECT_EQ(rebuilt->change().value(), 5600);
    EXPECT_EQ(rebuilt->taxSums(), receipt->taxSums());
    EXPECT_EQ(rebuilt->sectionSums(), receipt->sectionSums());
    ASSERT_EQ(rebuilt->positions().size(), 2u);
    for (std::size_t i = 0; i < 2; ++i) {
        const ReceiptOperation& was = receipt->positions()[i];
        const ReceiptOperation& is = rebuilt->positions()[i];
        EXPECT_EQ(is.secondText, was.secondText);
        EXPECT_EQ(is.section->name, was.section->name);
        EXPECT_EQ(is.totalAfterDiscount(), was.totalAfterDiscount());
        // Name, code, price, quantity and unit, discount, tax and extra line.
        EXPECT_EQ(printing::printLines(is), printing::printLines(was));
    }
    ASSERT_EQ(rebuilt->textLines().size(), 1u);
    EXPECT_EQ(rebuilt->textLines()[0].number, 1);
    EXPECT_EQ(rebuilt->textLines()[0].text, cp("Спасибо!"));

    EXPECT_TRUE(lineWith(rebuilt->printHeader(), cp("ПРОДАЖА ЧЕК 5")).ends_with(cp("СМЕНА 7")));
    EXPECT_TRUE(lineWith(rebuilt->summaryHead(), cp("ПРОДАЖА ЧЕК 5")).ends_with(cp("ФД 12")));
    EXPECT_TRUE(lineWith(rebuilt->summaryTail(), cp("НАЛИЧНЫМИ")).ends_with("100.00"))
        << "the tendered cash";
    EXPECT_EQ(rebuilt->printHeader(), receipt->printHeader());
    EXPECT_EQ(rebuilt->printFooter(true), receipt->printFooter(true));
    EXPECT_EQ(rebuilt->summaryHead(), receipt->summaryHead());
    EXPECT_EQ(rebuilt->summaryTail(), receipt->summaryTail());
}

TEST_F(ReceiptDocTest, OnlyTheTaxesThePositionsCarryAreStoredAndPrinted) {
    Tax reduced;
    reduced.kind = Tax::kContained;
    reduced.rate = 1000;
    reduced.name = cp("НДС 10%");
    device.registration.setTaxAt(1, reduced);
    ASSERT_TRUE(device.registration.sealRegistration(device.model.serialText(), toString(device.key)));

    // The tax child may repeat; the last one is the position's tax, but the
    // one named first has been looked up too.
    auto receipt = open(ReceiptDoc::sale);
    const Tlv taxTwoThenOne = Tlv().setContainer(
        tags::kPosition,
        {Tlv().setText(tags::kPositionName, cp("Чай")), Tlv().setVarInt(tags::kPrice, 12000),
         Tlv().setVarDecimal(tags::kQuantity, Decimal(1, 1)),
         Tlv().setU8(tags::kPositionTaxNumber, 2), Tlv().setU8(tags::kPositionTaxNumber, 1)});
    ASSERT_EQ(add(*receipt, taxTwoThenOne), ResultCode::Success);
    EXPECT_EQ(receipt->positions().at(0).taxNumber, 1);
    // A refused position naming tax 2 leaves no sum of it either.
    ASSERT_EQ(add(*receipt, positionTlv(cp("Х"), 100, Decimal(1, 0),
                                        {Tlv().setU8(tags::kPositionTaxNumber, 2)})),
              ResultCode::PositionInvalid);
    ASSERT_EQ(close(*receipt, payments(0, 0)), ResultCode::Success);
    EXPECT_EQ(receipt->printFooter(false).find(cp("НДС 10%")), std::string::npos);

    const sample::Stored stored = sample::storeAndRebuild(*receipt, device, 13, 1);
    ASSERT_EQ(stored.preparation, Preparation::ready);
    EXPECT_EQ(stored.prepared.parts.size(), 1u + 1 + 1 + 1) << "data, tax 1, section, position";
    auto rebuilt = std::dynamic_pointer_cast<ReceiptDoc>(stored.rebuilt);
    ASSERT_TRUE(rebuilt);
    EXPECT_EQ(rebuilt->taxSums(), receipt->taxSums());
    EXPECT_EQ(rebuilt->printFooter(false), receipt->printFooter(false));
    EXPECT_EQ(rebuilt->summaryTail(), receipt->summaryTail());
}

TEST_F(ReceiptDocTest, CloneOwnsItsOwnRecords) {
    auto receipt = receiptOf(ReceiptDoc::sale, 15000);
    ASSERT_EQ(close(*receipt, payments(20000, 0)), ResultCode::Success);
    auto copy = std::dynamic_pointer_cast<ReceiptDoc>(receipt->clone());
    ASSERT_TRUE(copy);
    ASSERT_EQ(copy->positions().size(), 1u);
    EXPECT_NE(copy->positions()[0].section, receipt->positions()[0].section);
    EXPECT_NE(copy->positions()[0].tax, receipt->positions()[0].tax);
    const std::string printed = printing::printLines(receipt->positions()[0]);
    const std::string footer = receipt->printFooter(false);
    receipt.reset();
    EXPECT_EQ(printing::printLines(copy->positions()[0]), printed);
    EXPECT_EQ(copy->printFooter(false), footer) << "the tendered cash and the change too";
    EXPECT_EQ(copy->closeReply().size(), 32u);
}

TEST_F(ReceiptDocTest, StoredReceiptMovesTheCounters) {
    auto sale = receiptOf(ReceiptDoc::sale, 15000);
    ASSERT_EQ(
        add(*sale, positionTlv("R", 1000, Decimal(1, 1), {Tlv().setU8(tags::kSectionNumber, 2)})),
        ResultCode::Success);
    ASSERT_EQ(close(*sale, payments(20000, 1000)), ResultCode::Success);
    EXPECT_EQ(sale->receiptKind(), 0);

    CounterSet shift;
    shift.cashInDrawer = 100;
    sale->accountInto(shift);
    EXPECT_EQ(shift.receiptCount, 1u);
    EXPECT_EQ(shift.cashInDrawer, 100u + 15000u);
    const OperationTotals& sales = shift.operations[0];
    EXPECT_EQ(sales.count, 1u);
    EXPECT_EQ(sales.total, 16000u);
    EXPECT_EQ(sales.byPayment[0], 15000u);
    EXPECT_EQ(sales.byPayment[1], 1000u);
    EXPECT_EQ(sales.byTax[0], 2667u) << "20 % contained in 160.00";

    GrossCounterSet gross;
    sale->accountInto(gross);
    EXPECT_EQ(gross.receiptCount, 1u);
    EXPECT_EQ(gross.operations[0].total, 16000u);
    EXPECT_EQ(gross.operations[0].byPayment[0], 15000u);

    DepartmentTotals departments;
    sale->accountInto(departments);
    EXPECT_EQ(departments.amounts[0], 15000u);
    EXPECT_EQ(departments.amounts[1], 1000u);

    // A return pays out of the drawer, never below empty.
    FrStatus::status().setCashInDrawer(50000);
    auto refund = receiptOf(ReceiptDoc::returnOfSale, 20000);
    ASSERT_EQ(close(*refund, payments(0, 0)), ResultCode::Success);
    refund->accountInto(shift);
    EXPECT_EQ(shift.cashInDrawer, 0u);
    EXPECT_EQ(shift.receiptCount, 2u);
    EXPECT_EQ(shift.operations[2].kind, 2);
    EXPECT_EQ(shift.operations[2].total, 20000u);

    // Kinds without a counter entry count as receipts only.
    FrStatus::status().setCashInDrawer(50000);
    auto other = receiptOf(9, 500);
    ASSERT_EQ(close(*other, payments(0, 0)), ResultCode::Success);
    other->accountInto(gross);
    EXPECT_EQ(gross.receiptCount, 2u);
    EXPECT_EQ(gross.operations[0].count, 1u);
    EXPECT_EQ(gross.operations[1].count + gross.operations[2].count + gross.operations[3].count,
              0u);
}

}  // namespace
