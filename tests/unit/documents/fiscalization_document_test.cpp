// The registration report: the host fills a new registration record
// through it, closing seals the record, and the archive keeps it.

#include "documents/fiscalization_document.h"

#include <gtest/gtest.h>

#include "config/identity.h"

#include <string>

#include "encoding/tags.h"
#include "state/status.h"
#include "tests/unit/documents/sample_device.h"

namespace {

using sample::cp;

constexpr std::uint32_t kNow = 1'700'000'000;

Bytes numbers(std::string_view taxpayer12, std::string_view storage16) {
    Bytes data = toBytes(taxpayer12);
    le::putText(data, storage16);
    return data;
}

Tlv vatTlv(unsigned index = 0) {
    Tax vat;
    vat.kind = Tax::kContained;
    vat.rate = 2000;
    vat.name = cp("НДС 20%");
    return vat.toTlv(index);
}

ResultCode add(FiscalizationDocument& doc, const Tlv& value) {
    std::string reply;
    return doc.addItem(value, reply);
}

// A registration report with its texts and tax, not yet closed.
std::shared_ptr<FiscalizationDocument> filledReport(const sample::Device& d) {
    auto doc = std::dynamic_pointer_cast<FiscalizationDocument>(
        makeDocument(FrStatus::registrationDoc, &d.model, &d.registration, d.cashier));
    EXPECT_EQ(doc->applyOpenData(Bytes{}), ResultCode::Success);
    EXPECT_EQ(add(*doc, Tlv().setText(tags::kRegistrationFirstText, cp("ИП Петров"))),
              ResultCode::Success);
    EXPECT_EQ(add(*doc, Tlv().setText(tags::kRegistrationSecondText, cp("г. Тула"))),
              ResultCode::Success);
    EXPECT_EQ(add(*doc, Tlv().setText(tags::kRegistrationThirdText, cp("Касса 2"))),
              ResultCode::Success);
    EXPECT_EQ(add(*doc, vatTlv(2)), ResultCode::Success);
    return doc;
}

TEST(Registration, AReportRegistersTheDeviceAndTheArchiveKeepsTheRegistration) {
    const sample::Device d = sample::device();
    auto doc = filledReport(d);
    // It describes the registration it makes, not the device's current one.
    EXPECT_EQ(doc->registrationRecord().regText1(), cp("ИП Петров"));
    EXPECT_EQ(doc->printHeader(), "");

    std::uint16_t missing = 0;
    ASSERT_EQ(doc->close(kNow, d.key, numbers("770123456789", "9999078900005678"), missing),
              ResultCode::Success);
    const RegData& reg = doc->registrationRecord();
    EXPECT_TRUE(reg.isValid());
    EXPECT_TRUE(reg.checkRegistration(d.model.serialText(), toString(d.key)));
    EXPECT_EQ(reg.registrationTime(), kNow);
    EXPECT_EQ(reg.taxAt(2).name, cp("НДС 20%"));
    EXPECT_NE(doc->commonHeader().find(cp("ИП Петров")), std::string::npos);

    doc->setRegistrationRecordNumber(0x0BADF00D);
    identity::store().setDeviceKey(d.key);
    identity::store().publishFactoryData(d.model);
    sample::Stored stored = sample::storeAndRebuild(*doc, d, 1, 1);
    ASSERT_EQ(stored.preparation, Preparation::ready);
    EXPECT_EQ(doc->carriedCounters(), nullptr);
    ASSERT_TRUE(stored.rebuilt);
    EXPECT_EQ(stored.rebuilt->toTlv(), stored.prepared.parts[0]);

    // The full 16-digit and 12-digit numbers come back whole.
    const RegData& back = stored.rebuilt->registrationRecord();
    EXPECT_EQ(back.storageNumberText(), reg.storageNumberText());
    EXPECT_EQ(back.taxpayerNumberText(), reg.taxpayerNumberText());
    EXPECT_EQ(back.regText1(), reg.regText1());
    EXPECT_EQ(back.regText2(), reg.regText2());
    EXPECT_EQ(back.regText3(), reg.regText3());
    EXPECT_EQ(back.registrationTime(), kNow);
    EXPECT_EQ(back.registrationNumber(), 0x0BADF00Du);
    EXPECT_EQ(back.taxBytes(2), reg.taxBytes(2));
    EXPECT_EQ(back.taxBytes(0), reg.taxBytes(0));
    EXPECT_EQ(stored.rebuilt->dateTime(), kNow);
    EXPECT_EQ(stored.rebuilt->fiscalSign(), doc->fiscalSign());
    // Read back on the device that made it, the registration is whole
    // again: valid, sealed as before, and the report's sign verifies.
    EXPECT_TRUE(back.isValid());
    EXPECT_EQ(back.checkValue(), reg.checkValue());
    EXPECT_TRUE(stored.rebuilt->verifySign(d.key, d.model.serialText()));
    EXPECT_NE(stored.rebuilt->commonHeader().find(cp("ИП Петров")), std::string::npos);
}

TEST(Registration, ACloseNamesTheFirstItemStillMissing) {
    sample::Device d = sample::device();
    d.cashier.name.clear();
    auto doc = std::make_shared<FiscalizationDocument>(&d.model, d.cashier);
    std::uint16_t missing = 0;
    auto closeWith = [&](const Bytes& data) { return doc->close(kNow, d.key, data, missing); };

    EXPECT_EQ(closeWith(Bytes{}), ResultCode::RequiredTagMissing);
    EXPECT_EQ(missing, tags::kCashierName);
    ASSERT_EQ(add(*doc, Tlv().setText(tags::kCashierName, "Petrov")), ResultCode::Success);

    // 20 bytes set nothing: there are no numbers yet.
    EXPECT_EQ(closeWith(Bytes(20, '1')), ResultCode::RequiredTagMissing);
    EXPECT_EQ(missing, tags::kTaxpayerNumber);
    EXPECT_EQ(closeWith(numbers("77012345678X", "9999078900005678")),
              ResultCode::RequiredTagMissing);
    EXPECT_EQ(missing, tags::kTaxpayerNumber);
    // Ten digits and zeros are a taxpayer number; a storage number needs digits.
    const Bytes tenDigits = numbers(std::string("7701234567\0\0", 12), "99990789000056AB");
    EXPECT_EQ(closeWith(tenDigits), ResultCode::RequiredTagMissing);
    EXPECT_EQ(missing, tags::kStorageNumber);

    // The numbers stay from a failed close; later data of another size
    // leaves them.
    EXPECT_EQ(closeWith(numbers("770123456789", "9999078900005678")),
              ResultCode::RequiredTagMissing);
    EXPECT_EQ(missing, tags::kRegistrationFirstText);
    EXPECT_EQ(closeWith(Bytes(20, 'x')), ResultCode::RequiredTagMissing);
    EXPECT_EQ(missing, tags::kRegistrationFirstText);
    EXPECT_EQ(doc->registrationRecord().taxpayerNumberText(),
              "770123456789" + std::string(1, '\0'));

    ASSERT_EQ(add(*doc, Tlv().setText(tags::kRegistrationFirstText, "A")), ResultCode::Success);
    EXPECT_EQ(closeWith(Bytes{}), ResultCode::RequiredTagMissing);
    EXPECT_EQ(missing, tags::kRegistrationSecondText);
    ASSERT_EQ(add(*doc, Tlv().setText(tags::kRegistrationSecondText, "B")), ResultCode::Success);
    EXPECT_EQ(closeWith(Bytes{}), ResultCode::RequiredTagMissing);
    EXPECT_EQ(missing, tags::kRegistrationThirdText);
    ASSERT_EQ(add(*doc, Tlv().setText(tags::kRegistrationThirdText, "C")), ResultCode::Success);

    // Every tax empty.
    EXPECT_EQ(closeWith(Bytes{}), ResultCode::RequiredTagMissing);
    EXPECT_EQ(missing, tags::kTaxFirst);
    EXPECT_FALSE(doc->registrationRecord().isValid());

    ASSERT_EQ(add(*doc, vatTlv(4)), ResultCode::Success);
    EXPECT_EQ(closeWith(Bytes{}), ResultCode::Success);
}

TEST(Registration, TheHostsTextsAndTaxesAreChecked) {
    const sample::Device d = sample::device();
    FiscalizationDocument doc(&d.model, d.cashier);

    EXPECT_EQ(add(doc, Tlv().setText(tags::kRegistrationSecondText, std::string(255, 'a'))),
              ResultCode::Success);
    EXPECT_EQ(add(doc, Tlv().setText(tags::kRegistrationSecondText, std::string(256, 'b'))),
              ResultCode::BadTaxContainer);
    EXPECT_EQ(doc.registrationRecord().regText2(), std::string(255, 'a'));
    EXPECT_EQ(add(doc, Tlv().setText(tags::kRegistrationThirdText, "")),
              ResultCode::BadTaxContainer);

    Tax nameless;
    nameless.kind = Tax::kOnTop;
    nameless.rate = 1000;
    EXPECT_EQ(add(doc, nameless.toTlv(1)), ResultCode::BadTaxContainer);
    Tlv broken = vatTlv(1);
    broken.data.pop_back();
    EXPECT_EQ(add(doc, broken), ResultCode::BadTaxContainer);
    EXPECT_EQ(doc.registrationRecord().taxAt(1).kind, Tax::kNotSet);

    // A kind the register does not know would be kept as "not set" and the
    // tax silently dropped: refused, and nothing of it kept.
    for (const std::uint8_t kind : {4, 7, 255}) {
        Tlv unknownKind = vatTlv(3);
        unknownKind.data[Tlv::kHeaderSize] = kind;
        EXPECT_EQ(add(doc, unknownKind), ResultCode::BadTaxContainer) << int{kind};
    }
    Tax zeroName;
    zeroName.kind = Tax::kContained;
    zeroName.rate = 1000;
    zeroName.name = std::string("\0VAT", 4);
    EXPECT_EQ(add(doc, zeroName.toTlv(3)), ResultCode::BadTaxContainer)
        << "the record would hold no name";
    EXPECT_EQ(doc.registrationRecord().taxAt(3).kind, Tax::kNotSet);
    EXPECT_TRUE(doc.registrationRecord().taxAt(3).name.empty());

    EXPECT_EQ(add(doc, Tlv().setText(tags::kStorageNumber, "1234")), ResultCode::TagNotAccepted);
}

TEST(Registration, AClockPastTheSignedRangeCannotSealARegistration) {
    const sample::Device d = sample::device();
    auto doc = filledReport(d);
    std::uint16_t missing = 0;
    EXPECT_EQ(doc->close(0x80000000u, d.key, numbers("770123456789", "9999078900005678"), missing),
              ResultCode::SealedRegistrationInvalid);
}

TEST(Registration, AReregistrationCarriesTheTotalsSinceThePreviousOne) {
    const sample::Device d = sample::device();
    FrStatus::status().setShiftNumber(14);
    auto doc = filledReport(d);
    std::uint16_t missing = 0;
    ASSERT_EQ(doc->close(kNow, d.key, numbers("770123456789", "9999078900005678"), missing),
              ResultCode::Success);
    CounterSet totals;
    totals.shiftField = 14;
    totals.cashInDrawer = 5'000;
    totals.operations[3].count = 1;
    totals.operations[3].total = 4'200;
    doc->attachRegistrationTotals(totals);

    sample::Stored stored = sample::storeAndRebuild(*doc, d, 812, 812);
    ASSERT_TRUE(stored.rebuilt);
    const auto& rebuilt = dynamic_cast<const FiscalizationDocument&>(*stored.rebuilt);
    ASSERT_NE(rebuilt.registrationTotals(), nullptr);
    for (std::size_t k = 0; k < kOperationKinds; ++k)
        totals.operations[k].kind = static_cast<std::uint8_t>(k);
    EXPECT_EQ(*rebuilt.registrationTotals(), totals);
    EXPECT_EQ(rebuilt.carriedCounters(), rebuilt.registrationTotals());

    Bytes expectedSigned;
    le::put32(expectedSigned, doc->registrationRecord().checkValue());
    le::put32(expectedSigned, 14);
    le::put32(expectedSigned, kNow);
    EXPECT_EQ(doc->signData(), expectedSigned);
}

TEST(Registration, APreviewWithoutTheKeyLeavesTheReportUnsigned) {
    const sample::Device d = sample::device();
    auto doc = filledReport(d);
    std::uint16_t missing = 0;
    ASSERT_EQ(doc->close(kNow, d.key, numbers("770123456789", "9999078900005678"), missing),
              ResultCode::Success);

    auto preview = doc->clone();
    EXPECT_EQ(preview->registrationRecord().checkValue(), doc->registrationRecord().checkValue());
    PreparedDocument out;
    EXPECT_EQ(preview->prepareForStorage(5, 5, Bytes{}, 0, out), Preparation::incomplete);
    EXPECT_EQ(preview->fiscalSign(), 0u);
    EXPECT_EQ(preview->documentNumber(), 5u);
    EXPECT_EQ(doc->documentNumber(), 0u);

    EXPECT_EQ(doc->prepareForStorage(5, 5, d.key, 0, out), Preparation::ready);
    EXPECT_TRUE(doc->verifySign(d.key, d.model.serialText()));
}

TEST(Registration, TheReportSignsWithItsModelRecordAloneChecked) {
    const sample::Device d = sample::device();
    auto doc = filledReport(d);
    std::uint16_t missing = 0;
    ASSERT_EQ(doc->close(kNow, d.key, numbers("770123456789", "9999078900005678"), missing),
              ResultCode::Success);
    // The record it sealed is not checked again, so a serial number text it
    // was not sealed with does not stop the sign; it does for any other
    // document.
    EXPECT_TRUE(doc->sign(d.key, "1111111111"));
    EXPECT_NE(doc->fiscalSign(), 0u);
    auto other =
        makeDocument(FrStatus::shiftCloseDoc, &d.model, &doc->registrationRecord(), d.cashier);
    EXPECT_FALSE(other->sign(d.key, "1111111111"));
    EXPECT_TRUE(other->sign(d.key, d.model.serialText()));

    // A key the model record was not sealed with stops both.
    Bytes otherKey = d.key;
    otherKey[15] ^= 0x80;
    const std::uint32_t kept = doc->fiscalSign();
    EXPECT_FALSE(doc->sign(otherKey, d.model.serialText()));
    EXPECT_EQ(doc->fiscalSign(), kept);
}

}  // namespace
