// Cash put into and taken out of the drawer: the amounts a close accepts,
// the reply the host gets, and the stored and printed forms.

#include "documents/cash_ctrl_document.h"

#include <gtest/gtest.h>

#include "encoding/tags.h"
#include "state/status.h"
#include "tests/unit/documents/sample_device.h"

namespace {

using sample::cp;

constexpr std::uint32_t kNow = 1'700'000'000;

Bytes amountData(std::int64_t kopecks) {
    Bytes data;
    le::put64(data, static_cast<std::uint64_t>(kopecks));
    return data;
}

ResultCode closeWith(CashCtrlDocument& doc, const sample::Device& d, const Bytes& data,
                     std::uint16_t* missingTag = nullptr) {
    std::uint16_t missing = 0;
    const ResultCode result = doc.close(kNow, d.key, data, missing);
    if (missingTag) *missingTag = missing;
    return result;
}

TEST(CashOut, TheDrawerMayBeEmptiedButNotOverdrawn) {
    const sample::Device d = sample::device();
    FrStatus::status().setCashInDrawer(50'000);
    CashCtrlDocument out(false, &d.model, &d.registration, d.cashier);
    EXPECT_EQ(out.documentType(), FrStatus::cashOutDoc);
    EXPECT_EQ(out.title(), cp("Выплата"));

    EXPECT_EQ(closeWith(out, d, amountData(50'001)), ResultCode::DrawerEmpty);
    EXPECT_EQ(out.amount().value(), 0);
    EXPECT_EQ(closeWith(out, d, amountData(50'000)), ResultCode::Success);
    EXPECT_EQ(out.cashAmount(), 50'000);

    // No ceiling of its own: a drawer holding more may give more.
    FrStatus::status().setCashInDrawer(300'000'000'000);
    CashCtrlDocument big(false, &d.model, &d.registration, d.cashier);
    EXPECT_EQ(closeWith(big, d, amountData(200'000'000'000)), ResultCode::Success);
}

TEST(CashIn, TheAmountMustBePositiveAndWithinTheLimit) {
    const sample::Device d = sample::device();
    CashCtrlDocument in(true, &d.model, &d.registration, d.cashier);
    EXPECT_EQ(in.title(), cp("Внесение"));

    std::uint16_t missing = 0;
    EXPECT_EQ(closeWith(in, d, Bytes{1, 2, 3, 4}, &missing), ResultCode::RequiredTagMissing);
    EXPECT_EQ(missing, tags::kCashPayment);
    EXPECT_EQ(closeWith(in, d, Bytes{0, 0, 0, 0, 0, 0, 0, 0x80}), ResultCode::DrawerEmpty);
    EXPECT_EQ(closeWith(in, d, amountData(0)), ResultCode::DrawerEmpty);
    EXPECT_EQ(closeWith(in, d, amountData(100'000'000'001)), ResultCode::CashInTooLarge);
    EXPECT_FALSE(in.isComplete());
    EXPECT_EQ(closeWith(in, d, amountData(100'000'000'000)), ResultCode::Success);
    EXPECT_EQ(in.amount().value(), 100'000'000'000);

    // A cashier's name comes first.
    sample::Device unnamed = d;
    unnamed.cashier.name.clear();
    CashCtrlDocument anonymous(true, &d.model, &d.registration, unnamed.cashier);
    EXPECT_EQ(closeWith(anonymous, d, Bytes{}, &missing), ResultCode::RequiredTagMissing);
    EXPECT_EQ(missing, tags::kCashierName);
}

TEST(CashIn, TheReplyTellsTheHostWhatTheDrawerHoldsAfterIt) {
    const sample::Device d = sample::device();
    FrStatus::status().setShiftNumber(3);
    FrStatus::status().setCashInDrawer(100'000);
    CashCtrlDocument in(true, &d.model, &d.registration, d.cashier);
    ASSERT_EQ(in.applyOpenData(Bytes{}), ResultCode::Success);
    ASSERT_EQ(closeWith(in, d, amountData(50'000)), ResultCode::Success);
    PreparedDocument out;
    ASSERT_EQ(in.prepareForStorage(21, 1, d.key, 0, out), Preparation::ready);

    // The documents worker moves the drawer after storing, then replies.
    FrStatus::status().setCashInDrawer(100'000 + 50'000);
    const Bytes reply = in.closeReply();
    ASSERT_EQ(reply.size(), 22u);
    EXPECT_EQ(le::u32(&reply[0]), 21u);
    EXPECT_EQ(le::u32(&reply[4]), in.fiscalSign());
    EXPECT_EQ(le::u32(&reply[8]), kNow);
    EXPECT_EQ(le::u16(&reply[12]), 3);
    EXPECT_EQ(le::u64(&reply[14]), 150'000u);
}

TEST(CashOut, TheArchiveGivesBackTheAmountItsSignAndItsPrint) {
    const sample::Device d = sample::device();
    FrStatus::status().setShiftNumber(5);
    FrStatus::status().setCashInDrawer(90'000);
    CashCtrlDocument doc(false, &d.model, &d.registration, d.cashier);
    ASSERT_EQ(doc.applyOpenData(Bytes{}), ResultCode::Success);
    ASSERT_EQ(closeWith(doc, d, amountData(12'345)), ResultCode::Success);

    Bytes expectedSigned;
    le::put32(expectedSigned, d.registration.checkValue());
    le::put16(expectedSigned, 5);
    le::put32(expectedSigned, 0);
    le::put32(expectedSigned, kNow);
    le::putText(expectedSigned, "123.45");
    EXPECT_EQ(doc.signData(), expectedSigned);

    sample::Stored stored = sample::storeAndRebuild(doc, d, 44, 2);
    ASSERT_TRUE(stored.rebuilt);
    auto& rebuilt = dynamic_cast<CashCtrlDocument&>(*stored.rebuilt);
    EXPECT_EQ(rebuilt.documentType(), FrStatus::cashOutDoc);
    EXPECT_EQ(rebuilt.amount().value(), 12'345);
    EXPECT_EQ(rebuilt.shiftNumber(), 5);
    EXPECT_EQ(rebuilt.toTlv(), stored.prepared.parts[0]);
    EXPECT_TRUE(rebuilt.verifySign(d.key, d.model.serialText()));
    EXPECT_EQ(rebuilt.printHeader(), doc.printHeader());
    EXPECT_EQ(rebuilt.printFooter(true), doc.printFooter(true));
    EXPECT_EQ(rebuilt.summaryHead(), doc.summaryHead());
    EXPECT_EQ(rebuilt.summaryTail(), doc.summaryTail());

    // The amount in double size heads the footer.
    const std::string footer = doc.printFooter(true);
    EXPECT_EQ(footer.find(std::string("\x1b\x21\x31\x1d\x42\x00", 6) + cp("НАЛ.")), 6u);
    EXPECT_NE(footer.find("123.45\n"), std::string::npos);
    // The control tape: title and number, cashier; amount and date.
    EXPECT_NE(doc.summaryHead().find(cp("Выплата")), std::string::npos);
    EXPECT_NE(doc.summaryHead().find(cp("ФД 44")), std::string::npos);
    EXPECT_NE(doc.summaryHead().find(d.cashier.name), std::string::npos);
    EXPECT_NE(doc.summaryTail().find("14.11.2023 22:13:20"), std::string::npos);

    // A clone keeps the type and the amount.
    auto clone = doc.clone();
    EXPECT_EQ(clone->documentType(), FrStatus::cashOutDoc);
    EXPECT_EQ(dynamic_cast<CashCtrlDocument&>(*clone).amount().value(), 12'345);
    // A cash in is not a cash out: only the shared fields go across.
    CashCtrlDocument in(true, &d.model, &d.registration, d.cashier);
    EXPECT_EQ(doc.copyInto(&in), &in);
    EXPECT_EQ(in.amount().value(), 0);
    EXPECT_EQ(in.documentNumber(), 0u);
}

}  // namespace
