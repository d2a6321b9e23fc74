// The life every document shares: open data, signing, the stored header
// and data, and rebuilding a document from them.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/crc.h"
#include "documents/base_work_document.h"
#include "documents/fiscal_sign.h"
#include "encoding/tags.h"
#include "state/status.h"
#include "tests/unit/documents/sample_device.h"

namespace {

using sample::cp;

// A document that signs the bytes a test gives it and stores one more
// value of a chosen size, so that the base's own behaviour shows alone.
class TestDocument : public BaseWorkDocument {
  public:
    TestDocument(const ModelData* model, const RegData* registration, const Cashier& cashier)
        : BaseWorkDocument(FrStatus::cashOutDoc, model, registration, cashier) {}
    explicit TestDocument(const sample::Device& d)
        : TestDocument(&d.model, &d.registration, d.cashier) {}

    Bytes signedBytes{0x01, 0x02, 0x03};
    std::size_t extraValueSize = 0;  // encoded size of the extra value; 0: none

    std::shared_ptr<BaseWorkDocument> clone() const override {
        auto copy = cloneThroughCopy(*this, &modelRecord(), &registrationRecord(), cashier());
        static_cast<TestDocument&>(*copy).signedBytes = signedBytes;
        return copy;
    }
    std::string title() const override { return "TEST"; }
    ResultCode close(std::uint32_t now, const Bytes&, std::span<const std::uint8_t>,
                     std::uint16_t& missingTag) override {
        return closeCommon(now, missingTag);
    }
    Bytes signData() const override { return signedBytes; }
    Bytes toTlv() const override {
        Bytes data = BaseWorkDocument::toTlv();
        if (extraValueSize >= Tlv::kHeaderSize)
            Tlv()
                .setText(tags::kPositionSecondText, std::string(extraValueSize - 4, 'x'))
                .encodeTo(data);
        return data;
    }
};

TestDocument closedDocument(const sample::Device& d) {
    TestDocument doc(d);
    FrStatus::status().setShiftNumber(12);
    EXPECT_EQ(doc.applyOpenData(Bytes{}), ResultCode::Success);
    std::uint16_t missing = 0;
    EXPECT_EQ(doc.close(1'700'000'123, d.key, Bytes{}, missing), ResultCode::Success);
    return doc;
}

// The tags of the stored values after the type byte, in order.
std::vector<std::uint16_t> storedTags(const Bytes& data) {
    std::vector<std::uint16_t> result;
    std::span<const std::uint8_t> rest(data.data() + 1, data.size() - 1);
    Tlv value;
    while (!rest.empty() && value.decodeFront(rest)) result.push_back(value.tag);
    return result;
}

// Four bytes that, appended to `message`, bring its CRC-32 to 0: the
// table's top bytes are all different, so the table entries that produce
// the wanted register can be found backwards, then the bytes that select
// them forwards.
Bytes suffixForZeroCrc(const Bytes& message) {
    const auto& table = crc::crc32Table();
    std::uint8_t index[4];
    std::uint32_t reg = 0xFFFFFFFF;  // complemented at the end: 0
    for (int k = 3; k >= 0; --k) {
        std::uint32_t j = 0;
        while ((table[j] >> 24) != (reg >> 24)) ++j;
        index[k] = static_cast<std::uint8_t>(j);
        reg = (reg ^ table[j]) << 8;
    }
    reg = ~crc::crc32(message);
    Bytes suffix;
    for (std::uint8_t i : index) {
        suffix.push_back(static_cast<std::uint8_t>((reg ^ i) & 0xFF));
        reg = (reg >> 8) ^ table[i];
    }
    return suffix;
}

TEST(DocumentSign, BindsTheDocumentToTheKeyThatSignedIt) {
    const sample::Device d = sample::device();
    TestDocument doc = closedDocument(d);
    const std::string serial = d.model.serialText();

    ASSERT_TRUE(doc.sign(d.key, serial));
    Bytes covered = d.key;
    le::putText(covered, serial);
    le::putBytes(covered, doc.signedBytes);
    EXPECT_EQ(doc.fiscalSign(), crc::crc32(covered));
    EXPECT_TRUE(doc.verifySign(d.key, serial));

    Bytes otherKey = d.key;
    otherKey[0] ^= 0x01;
    EXPECT_FALSE(doc.verifySign(otherKey, serial));
    // A key the records were not sealed with cannot sign: the sign stays.
    const std::uint32_t kept = doc.fiscalSign();
    EXPECT_FALSE(doc.sign(otherKey, serial));
    EXPECT_EQ(doc.fiscalSign(), kept);

    // The signed bytes changed after signing: the sign no longer verifies.
    doc.signedBytes.push_back(0x04);
    EXPECT_FALSE(doc.verifySign(d.key, serial));
}

TEST(DocumentSign, ASignOfZeroLeavesTheDocumentUnstorable) {
    const sample::Device d = sample::device();
    TestDocument doc = closedDocument(d);
    Bytes covered = d.key;
    le::putText(covered, d.model.serialText());
    le::putBytes(covered, doc.signedBytes);
    le::putBytes(doc.signedBytes, suffixForZeroCrc(covered));
    ASSERT_EQ(fiscalSignOf(d.key, d.model.serialText(), doc.signedBytes), 0u);

    PreparedDocument out;
    EXPECT_EQ(doc.prepareForStorage(5, 1, d.key, 0, out), Preparation::incomplete);
    EXPECT_TRUE(out.parts.empty());
}

TEST(DocumentStorage, TheHeaderCarriesTheDocumentAndChecksItsData) {
    const sample::Device d = sample::device();
    TestDocument doc = closedDocument(d);
    const std::uint64_t offset = 0x1000004ull + 0x1'0000'0000ull;

    PreparedDocument out;
    ASSERT_EQ(doc.prepareForStorage(41, 7, d.key, offset, out), Preparation::ready);
    ASSERT_EQ(out.parts.size(), 1u);
    const Bytes& data = out.parts[0];
    const Bytes h = out.header.encode();

    EXPECT_EQ(h[0], FrStatus::cashOutDoc);
    EXPECT_EQ(le::u32(&h[1]), 41u);
    EXPECT_EQ(le::u32(&h[5]), 1'700'000'123u);
    EXPECT_EQ(le::u16(&h[9]), 12);
    EXPECT_EQ(le::u32(&h[11]), doc.fiscalSign());
    EXPECT_NE(doc.fiscalSign(), 0u);
    EXPECT_EQ(h[15], d.cashier.number);
    EXPECT_EQ(le::u16(&h[16]), data.size());
    EXPECT_EQ(le::u64(&h[18]), offset);
    EXPECT_EQ(le::u16(&h[26]), crc::crc16(data));
    EXPECT_EQ(le::u32(&h[28]), 7u);
    for (std::size_t i = 32; i < 38; ++i) EXPECT_EQ(h[i], 0) << i;
    for (std::size_t i = 40; i < 64; ++i) EXPECT_EQ(h[i], 0) << i;

    // The header CRC was made before the registration number was put in.
    Bytes unnumbered = h;
    for (std::size_t i = 28; i < 32; ++i) unnumbered[i] = 0;
    EXPECT_EQ(le::u16(&h[38]), crc::crc16(unnumbered.data(), 38));
    EXPECT_NE(le::u16(&h[38]), crc::crc16(h.data(), 38));

    EXPECT_EQ(data[0], FrStatus::cashOutDoc);
    EXPECT_EQ(storedTags(data),
              (std::vector<std::uint16_t>{tags::kDocumentNumber, tags::kDocumentRegistrationNumber,
                                          tags::kCashierName, tags::kDateTime, tags::kFiscalSign}));
    EXPECT_EQ(doc.documentNumber(), 41u);
    EXPECT_EQ(doc.registrationNumber(), 7u);
}

TEST(DocumentStorage, DataUpToTheLimitIsStoredAndOneByteMoreIsNot) {
    const sample::Device d = sample::device();
    TestDocument doc = closedDocument(d);
    const std::size_t own = doc.toTlv().size();
    PreparedDocument out;

    doc.extraValueSize = doc.maxDataSize() - own;
    ASSERT_EQ(doc.prepareForStorage(2, 1, d.key, 0, out), Preparation::ready);
    EXPECT_EQ(out.parts[0].size(), 4096u);
    EXPECT_EQ(out.header.dataLength, 4096);

    doc.extraValueSize += 1;
    EXPECT_EQ(doc.prepareForStorage(2, 1, d.key, 0, out), Preparation::tooLong);
}

TEST(DocumentStorage, OnlyACompleteDocumentIsStored) {
    const sample::Device d = sample::device();
    PreparedDocument out;

    // No registration number yet: the archive always gives one.
    EXPECT_EQ(closedDocument(d).prepareForStorage(9, 0, d.key, 0, out), Preparation::incomplete);

    // A cashier record that only names its number (as a rebuilt one).
    Cashier numberOnly;
    numberOnly.number = 3;
    numberOnly.name = d.cashier.name;
    TestDocument unauthorised(&d.model, &d.registration, numberOnly);
    EXPECT_EQ(unauthorised.prepareForStorage(9, 1, d.key, 0, out), Preparation::incomplete);

    // Fresh records: not storable, and no sign can be made for them.
    TestDocument unregistered(nullptr, nullptr, d.cashier);
    EXPECT_FALSE(unregistered.isStorable());
    EXPECT_EQ(unregistered.prepareForStorage(9, 1, d.key, 0, out), Preparation::incomplete);
    EXPECT_EQ(unregistered.fiscalSign(), 0u);
    EXPECT_TRUE(closedDocument(d).isStorable());
}

TEST(DocumentOpen, OpenDataMayRenameTheCashierForThisDocument) {
    const sample::Device d = sample::device();
    FrStatus::status().setShiftNumber(4);

    TestDocument renamed(d);
    EXPECT_EQ(renamed.applyOpenData(Bytes{0x02, 0x41, 0x42, 0x43}), ResultCode::Success);
    EXPECT_EQ(renamed.cashier().name, "AB");
    EXPECT_EQ(renamed.shiftNumber(), 4);

    TestDocument shortName(d);
    EXPECT_EQ(shortName.applyOpenData(Bytes{0x03, 0x41, 0x42}), ResultCode::MalformedOpenData);
    EXPECT_EQ(shortName.cashier().name, d.cashier.name);

    for (const Bytes& keeps : {Bytes{}, Bytes{0x00}, Bytes{0x00, 0x41}}) {
        TestDocument doc(d);
        EXPECT_EQ(doc.applyOpenData(keeps), ResultCode::Success);
        EXPECT_EQ(doc.cashier().name, d.cashier.name);
    }
}

TEST(DocumentClose, ADocumentWithoutACashierNameIsNotClosed) {
    sample::Device d = sample::device();
    d.cashier.name.clear();
    TestDocument doc(d);
    std::uint16_t missing = 0;
    EXPECT_EQ(doc.close(1'700'000'000, d.key, Bytes{}, missing), ResultCode::RequiredTagMissing);
    EXPECT_EQ(missing, tags::kCashierName);

    // Named by a data command, it closes.
    std::string reply;
    EXPECT_EQ(doc.addItem(Tlv().setText(tags::kCashierName, "Petrov"), reply), ResultCode::Success);
    EXPECT_EQ(doc.close(1'700'000'000, d.key, Bytes{}, missing), ResultCode::Success);
    EXPECT_EQ(doc.addItem(Tlv().setText(tags::kPositionName, "x"), reply),
              ResultCode::TagNotAccepted);
    EXPECT_EQ(doc.addItem(Tlv(), reply), ResultCode::TagNotAccepted);
}

TEST(DocumentRestore, StoredValuesOfAnotherLengthOrTagAreNotTaken) {
    const sample::Device d = sample::device();
    TestDocument doc = closedDocument(d);
    ASSERT_EQ(doc.shiftNumber(), 12);

    doc.setStoredTag(Tlv().setU32(tags::kShiftNumber, 12));
    EXPECT_EQ(doc.shiftNumber(), 0);
    doc.setStoredTag(Tlv().setU64(tags::kDateTime, 0x1'2345'6789ull));
    EXPECT_EQ(doc.dateTime(), 0x23456789u);
    doc.setStoredTag(Tlv().setU16(tags::kDateTime, 1));
    EXPECT_EQ(doc.dateTime(), 0u);

    testing::internal::CaptureStdout();
    Tlv unknown;
    unknown.tag = 11500;
    unknown.data = {0x0A, 0x1B};
    doc.setStoredTag(unknown);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "setStoredTag UNKNOWN TAG 11500 2 0A1B\n");
}

TEST(DocumentPrint, TheFooterEndsWithTheFiscalSignAndTheCut) {
    const sample::Device d = sample::device();
    TestDocument doc = closedDocument(d);
    PreparedDocument out;
    ASSERT_EQ(doc.prepareForStorage(77, 1, d.key, 0, out), Preparation::ready);

    const std::string footer = doc.printFooter(true);
    char sign[11];
    std::snprintf(sign, sizeof sign, "%010u", doc.fiscalSign());
    // Small font, centred, bold, double size: 22 characters a line on
    // narrow paper, so the 13 of the sign line get 4 spaces in front.
    const std::string signLine = std::string("\x1b\x21\x39\x1d\x42\x00", 6) + "    " + cp("ФП ") +
                                 sign + "\n" + "\x1b\x33\xff\x0a\x1b\x69";
    ASSERT_GE(footer.size(), signLine.size());
    EXPECT_EQ(footer.substr(footer.size() - signLine.size()), signLine);

    // Taxpayer and storage numbers, date, number, model and serial number.
    for (const std::string& piece :
         {cp("ИНН"), std::string("7701234567"), cp("ФН"), std::string("9999078900001234"),
          cp("ДАТА") + " ", std::string("14.11.2023 22:15:23"), cp("ФД 77") + " ",
          d.model.modelName() + " 0123456789"})
        EXPECT_NE(footer.find(piece), std::string::npos) << cp866::toUtf8(piece);
    EXPECT_EQ(doc.printFooter(false).find("\x1b\x69"), std::string::npos);

    // Without a valid registration the registration lines are left out.
    TestDocument unregistered(&d.model, nullptr, d.cashier);
    EXPECT_EQ(unregistered.printFooter(false).find(cp("ИНН")), std::string::npos);
    EXPECT_EQ(unregistered.printHeader().find(d.registration.regText1()), std::string::npos);
}

TEST(DocumentPrint, TheHeaderNamesTheRegistrationTheDocumentAndTheCashier) {
    const sample::Device d = sample::device();
    TestDocument doc(d);
    const std::string header = doc.printHeader();
    const std::size_t texts = header.find(d.registration.regText1());
    const std::size_t title = header.find("TEST");
    const std::size_t cashier = header.find(cp("КАССИР"));
    ASSERT_NE(texts, std::string::npos);
    ASSERT_NE(title, std::string::npos);
    ASSERT_NE(cashier, std::string::npos);
    EXPECT_LT(texts, title);
    EXPECT_LT(title, cashier);
    // The title is bold (print mode: small font, emphasis) and centred in
    // the 44 characters of a narrow line.
    EXPECT_NE(
        header.find(std::string("\x1b\x21\x09\x1d\x42\x00", 6) + std::string(20, ' ') + "TEST\n"),
        std::string::npos);
    EXPECT_NE(header.find(d.cashier.name, cashier), std::string::npos);
}

TEST(DocumentCopy, ACloneCarriesEveryCommonField) {
    const sample::Device d = sample::device();
    TestDocument doc = closedDocument(d);
    PreparedDocument out;
    ASSERT_EQ(doc.prepareForStorage(15, 2, d.key, 0, out), Preparation::ready);

    auto copy = doc.clone();
    EXPECT_EQ(copy->documentNumber(), 15u);
    EXPECT_EQ(copy->registrationNumber(), 2u);
    EXPECT_EQ(copy->fiscalSign(), doc.fiscalSign());
    EXPECT_EQ(copy->dateTime(), doc.dateTime());
    EXPECT_EQ(copy->shiftNumber(), doc.shiftNumber());
    EXPECT_EQ(copy->toTlv(), doc.toTlv());
    EXPECT_TRUE(copy->verifySign(d.key, d.model.serialText()));

    EXPECT_EQ(doc.copyInto(nullptr), nullptr);
}

}  // namespace
