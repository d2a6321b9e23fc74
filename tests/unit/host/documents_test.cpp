// The bytes of what a host sends to build fiscal documents, and the replies
// it reads back, against the register's layouts.

#include "host/documents.h"

#include <gtest/gtest.h>

#include "host/printing.h"
#include "host/records.h"

namespace {

using namespace hostkit;

Bytes hex(const char* text) {
    Bytes b;
    EXPECT_TRUE(parseHex(text, b)) << text;
    return b;
}

TEST(HostTaggedValues, NumbersKeepTheirShortestForm) {
    EXPECT_EQ(varIntTlv(1, 0).value, hex("00"));
    EXPECT_EQ(varIntTlv(1, 255).value, hex("FF"));
    EXPECT_EQ(varIntTlv(1, 256).value, hex("0001"));
    EXPECT_EQ(varIntTlv(1, -1).value, hex("FFFFFFFFFFFFFFFF")) << "negative keeps all eight";
    EXPECT_EQ(varDecimalTlv(1, 3, 1500).value, hex("03DC05")) << "1.500";
    EXPECT_EQ(encodeTlv(u8Tlv(11301, 5)), hex("252C010005"));
    EXPECT_EQ(varIntOf(hex("010203")), 197121);

    // A container must end on a whole value.
    EXPECT_TRUE(decodeTlvList(hex("252C010005")).has_value());
    EXPECT_FALSE(decodeTlvList(hex("252C0100050000")).has_value());
    EXPECT_FALSE(decodeTlv(hex("252C020005")).has_value()) << "length says 2, one byte follows";
}

TEST(HostDocuments, AReceiptPositionIsTheContainerTheReceiptReads) {
    // Bread, 45.50 twice, section 1, tax 1: name, section, tax, price, quantity.
    Position bread;
    bread.name = "Хлеб";
    bread.price = 4550;
    bread.quantity = 2;
    EXPECT_EQ(encodeTlv(positionTlv(bread)),
              hex("332B1E00162B040095ABA5A1252C010001BF2B010001472B0200C6110F2B02000002"));

    // Every field: code, unit, section 2, table discount 3 and 5.00 off,
    // 1.500 of it, an extra line; in the order the register writes them.
    Position full = bread;
    full.code = "4600";
    full.unit = "шт";
    full.section = 2;
    full.discount = 3;
    full.discountSum = 500;
    full.quantity = 1500;
    full.quantityDigits = 3;
    full.extraLine = "акция";
    EXPECT_EQ(encodeTlv(positionTlv(full)),
              hex("332B41009B2B040034363030162B040095ABA5A14C2F0200E8E2252C010002BF2B010001272C"
                  "010003472B0200C611282C0200F4010F2B030003DC05152B0500A0AAE6A8EF"));

    // The receipt refuses the tax sum (11102) and the total (11043) from the
    // host with code 22: they never go in.
    auto children = decodeTlvList(positionTlv(full).value);
    ASSERT_TRUE(children.has_value());
    for (const Tlv& child : *children) {
        EXPECT_NE(child.tag, 11102);
        EXPECT_NE(child.tag, 11043);
    }
}

TEST(HostDocuments, PositionsThatBreakTheRegistersRulesAreNamed) {
    Position p;
    p.name = "Хлеб";
    p.price = 4550;
    EXPECT_FALSE(positionProblem(p).has_value());

    auto problem = [](Position q) { return positionProblem(q).value_or(""); };
    Position q = p;
    q.quantity = 0;
    EXPECT_NE(problem(q).find("quantity"), std::string::npos);
    q = p;
    q.taxNumber = 6;
    EXPECT_NE(problem(q).find("tax"), std::string::npos);
    q = p;
    q.name = "";
    EXPECT_NE(problem(q).find("may not be empty"), std::string::npos);
    q = p;
    q.name = "Coffee ☕";
    EXPECT_NE(problem(q).find("☕"), std::string::npos) << problem(q);
    q = p;
    q.unit = std::string(16, 'k');
    EXPECT_NE(problem(q).find("at most 15"), std::string::npos) << problem(q);
    q = p;
    q.section = 21;
    EXPECT_NE(problem(q).find("sections"), std::string::npos);
}

TEST(HostDocuments, OpenAndCloseData) {
    // A sale printed under another name: kind, length, the name in CP866.
    EXPECT_EQ(openData(DocumentType::Receipt, ReceiptKind::Sale, "Иванова"),
              hex("00 07 88A2A0ADAEA2A0"));
    EXPECT_EQ(openData(DocumentType::Receipt, ReceiptKind::ReturnOfSale, ""), hex("02"));
    EXPECT_TRUE(openData(DocumentType::ShiftOpen, ReceiptKind::Sale, "").empty())
        << "empty open data keeps the cashier's own name";

    EXPECT_EQ(receiptCloseData(20000, 150), hex("204E000000000000 9600000000000000"));
    EXPECT_EQ(amountCloseData(50000), hex("50C3000000000000"));
    // Taxpayer number in 12 bytes, storage number in 16, zero-padded.
    EXPECT_EQ(registrationCloseData("7712345678", "9999078900012345"),
              hex("37373132333435363738 0000 39393939303738393030303132333435"));

    EXPECT_EQ(openCommand(DocumentType::CashOut), 164);
    EXPECT_EQ(closeCommand(DocumentType::CashOut), 165);
    EXPECT_EQ(closeCommand(DocumentType::ShiftOpen), 18);
    EXPECT_EQ(openCommand(DocumentType::Registration), 8);
    EXPECT_FALSE(documentTypeOf(8).has_value());
}

TEST(HostDocuments, TheRegistrationsValues) {
    // Tax 1: 20 % on top, named НДС 20%.
    const Tax vat{TaxKind::OnTop, 2000, "НДС 20%"};
    EXPECT_EQ(encodeTlv(taxTlv(0, vat)),
              hex("313316002E330100022F330200D007303307008D849120323025"));
    auto back = decodeTaxTlv(taxTlv(4, vat));
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(back->kind, TaxKind::OnTop);
    EXPECT_EQ(back->rate, 2000);
    EXPECT_EQ(back->name, "НДС 20%");
    EXPECT_EQ(taxTlv(4, vat).tag, 13109);

    EXPECT_EQ(registrationTextTlv(1, "A").tag, 11048);
    EXPECT_EQ(registrationTextTlv(2, "A").tag, 11187);
    EXPECT_EQ(registrationTextTlv(3, "A").tag, 11009);
    EXPECT_EQ(encodeTlv(textLineTlv("Спасибо!")), hex("582F080091AFA0E1A8A1AE21"));
    EXPECT_EQ(cashierNameTlv("Ли").tag, 11021);
}

TEST(HostDocuments, CloseRepliesByTheirLength) {
    // A sale of 150.00 paid with 200.00: total and change at the end.
    Bytes receipt = hex("0B000000 78563412 00E1F505 0300 0700");
    le::put64(receipt, 15000);
    le::put64(receipt, 5000);
    auto r = decodeCloseReply(receipt);
    ASSERT_TRUE(r.has_value());
    EXPECT_EQ(r->documentNumber, 11u);
    EXPECT_EQ(r->fiscalSign, 0x12345678u);
    EXPECT_EQ(r->dateTime, 100000000u);
    EXPECT_EQ(r->shiftNumber, 3);
    EXPECT_EQ(r->receiptNumber, 7);
    EXPECT_EQ(r->total, 15000);
    EXPECT_EQ(r->change, 5000);
    EXPECT_FALSE(r->cashInDrawer.has_value());

    // A cash-in of 500.00 into a drawer of 1000.00: the drawer last.
    Bytes cash(12, 0);
    le::put16(cash, 3);
    le::put64(cash, 150000);
    r = decodeCloseReply(cash);
    ASSERT_TRUE(r.has_value());
    EXPECT_EQ(r->cashInDrawer, 150000);
    EXPECT_FALSE(r->total.has_value());

    r = decodeCloseReply(Bytes(14, 0));
    ASSERT_TRUE(r.has_value());
    EXPECT_EQ(r->shiftNumber, 0);
    r = decodeCloseReply(Bytes(12, 0));
    ASSERT_TRUE(r.has_value());
    EXPECT_FALSE(r->shiftNumber.has_value());
    EXPECT_FALSE(decodeCloseReply(Bytes(13, 0)).has_value());
}

TEST(HostDocuments, StateOfTheOpenDocument) {
    // A receipt with 3 positions and 99.90 so far.
    Bytes data = hex("03 00 0500 0300");
    le::put64(data, 9990);
    auto s = decodeDocumentState(data);
    ASSERT_TRUE(s.has_value());
    EXPECT_EQ(s->type, 3);
    EXPECT_EQ(s->receiptKind, 0);
    EXPECT_EQ(s->receiptNumber, 5);
    EXPECT_EQ(s->positions, 3);
    EXPECT_EQ(s->total, 9990);
    s = decodeDocumentState(hex("07"));
    ASSERT_TRUE(s.has_value());
    EXPECT_EQ(s->type, 7);
    EXPECT_FALSE(s->positions.has_value());
    EXPECT_FALSE(decodeDocumentState(hex("0300")).has_value());
}

TEST(HostPrinting, FormatBytesAndReportArguments) {
    PrintFormat f;
    f.align = Align::Centre;
    f.font = 3;
    f.bold = true;
    f.cut = true;
    EXPECT_EQ(formatBytes(f), hex("00010311"));
    f = PrintFormat{};
    f.lineSpacing = 5;
    f.align = Align::Right;
    f.carriedFlag = f.inverse = f.doubleSize = true;
    EXPECT_EQ(formatBytes(f), hex("0502000E"));

    EXPECT_EQ(reportData(ReportType::X), hex("01"));
    EXPECT_EQ(reportData(ReportType::ShiftRange, 9, 3), hex("06 0900 0300"));
    EXPECT_EQ(reportData(ReportType::Period, 0x01020304, 0x0A0B0C0D), hex("05 04030201 0D0C0B0A"));
}

}  // namespace
