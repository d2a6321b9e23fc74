// The archive close with its two sets of totals, and the factory that makes
// every kind of document, new or rebuilt.

#include <gtest/gtest.h>

#include <vector>

#include "documents/archive_close_doc.h"
#include "documents/make_document.h"
#include "encoding/tags.h"
#include "state/status.h"
#include "tests/unit/documents/sample_device.h"

namespace {

using sample::cp;

constexpr std::uint32_t kNow = 1'700'000'000;

std::vector<std::uint16_t> storedTags(const Bytes& data) {
    std::vector<std::uint16_t> result;
    std::span<const std::uint8_t> rest(data.data() + 1, data.size() - 1);
    Tlv value;
    while (!rest.empty() && value.decodeFront(rest)) result.push_back(value.tag);
    return result;
}

TEST(ArchiveClose, TheLastDocumentCarriesBothTotalsIntoTheArchive) {
    const sample::Device d = sample::device();
    FrStatus::status().setShiftNumber(40);
    ArchiveCloseDoc doc(&d.model, &d.registration, d.cashier);
    EXPECT_EQ(doc.title(), cp("Отчет о закрытии архива"));
    std::uint16_t missing = 0;
    ASSERT_EQ(doc.close(kNow, d.key, Bytes{9, 9}, missing), ResultCode::Success);
    EXPECT_EQ(doc.shiftNumber(), 40);

    CounterSet totals;
    totals.shiftField = 12;
    totals.cashOutCount = 1;
    totals.cashOutAmount = 777;
    GrossCounterSet gross;
    gross.shiftField = 40;
    gross.receiptCount = 1000;
    gross.operations[0].count = 1000;
    gross.operations[0].total = 9'000'000;
    gross.operations[0].byPayment[1] = 9'000'000;
    doc.attachRegistrationTotals(totals);
    doc.attachGrossTotals(gross);
    EXPECT_EQ(doc.carriedCounters(), doc.registrationTotals());

    sample::Stored stored = sample::storeAndRebuild(doc, d, 2000, 3);
    ASSERT_TRUE(stored.rebuilt);
    EXPECT_EQ(storedTags(stored.prepared.parts[0]),
              (std::vector<std::uint16_t>{tags::kDocumentNumber, tags::kDocumentRegistrationNumber,
                                          tags::kCashierName, tags::kDateTime, tags::kFiscalSign,
                                          tags::kShiftNumber, tags::kRegistrationPeriodCounters,
                                          tags::kGrossCounters}));
    const auto& rebuilt = dynamic_cast<const ArchiveCloseDoc&>(*stored.rebuilt);
    ASSERT_NE(rebuilt.registrationTotals(), nullptr);
    ASSERT_NE(rebuilt.grossTotals(), nullptr);
    EXPECT_EQ(*rebuilt.registrationTotals(), *doc.registrationTotals());
    EXPECT_EQ(*rebuilt.grossTotals(), *doc.grossTotals());
    EXPECT_EQ(rebuilt.toTlv(), stored.prepared.parts[0]);
    EXPECT_TRUE(rebuilt.verifySign(d.key, d.model.serialText()));
    EXPECT_EQ(rebuilt.printHeader(), doc.printHeader());

    Bytes expectedSigned;
    le::put32(expectedSigned, d.registration.checkValue());
    le::put32(expectedSigned, 2000);
    le::put32(expectedSigned, kNow);
    EXPECT_EQ(doc.signData(), expectedSigned);

    auto clone = doc.clone();
    EXPECT_EQ(dynamic_cast<const ArchiveCloseDoc&>(*clone).grossTotals(), nullptr);
    EXPECT_EQ(clone->documentNumber(), 2000u);
}

TEST(DocumentFactory, EachTypeMakesItsDocument) {
    const sample::Device d = sample::device();
    const struct {
        std::uint8_t type;
        const char* title;
    } kinds[] = {
        {1, "Отчет о фискализации/перерегистрации"},
        {2, "Z-Отчет"},
        {4, "Отчет о закрытии архива"},
        {5, "Внесение"},
        {6, "Выплата"},
        {7, "Открытие смены"},
    };
    for (const auto& kind : kinds) {
        auto doc = makeDocument(kind.type, &d.model, &d.registration, d.cashier);
        ASSERT_TRUE(doc) << int(kind.type);
        EXPECT_EQ(doc->documentType(), kind.type);
        EXPECT_EQ(doc->title(), cp(kind.title));
        EXPECT_EQ(doc->stateReply(), Bytes{kind.type});
        EXPECT_EQ(doc->maxDataSize(), 4096u);
        EXPECT_EQ(doc->clone()->documentType(), kind.type);
        EXPECT_EQ(doc->cashier().name, d.cashier.name);
    }
    for (std::uint8_t unknown : {0, 8, 255})
        EXPECT_EQ(makeDocument(unknown, &d.model, &d.registration, d.cashier), nullptr);

    // Missing records are fresh ones; a registration report always starts
    // from a fresh one.
    auto bare = makeDocument(FrStatus::shiftOpenDoc, nullptr, nullptr, d.cashier);
    EXPECT_EQ(bare->modelRecord().modelCode(), ModelData::kModelCode);
    EXPECT_FALSE(bare->isStorable());
    auto registration =
        makeDocument(FrStatus::registrationDoc, &d.model, &d.registration, d.cashier);
    EXPECT_TRUE(registration->modelRecord() == d.model);
    EXPECT_FALSE(registration->registrationRecord().isValid());
    EXPECT_EQ(registration->registrationRecord().regText1(), "");
}

TEST(DocumentFactory, TheArchivesFactoryKnowsOnlyTheCashiersNumber) {
    const sample::Device d = sample::device();
    const DocumentFactory factory = documentFactory();
    auto stored = factory(FrStatus::cashInDoc, d.model, d.registration, 17);
    auto doc = std::dynamic_pointer_cast<BaseWorkDocument>(stored);
    ASSERT_TRUE(doc);
    EXPECT_EQ(doc->documentType(), FrStatus::cashInDoc);
    EXPECT_EQ(doc->cashier().number, 17);
    EXPECT_EQ(doc->cashier().name, "");
    EXPECT_EQ(doc->cashier().password, 0u);
    EXPECT_TRUE(doc->registrationRecord() == d.registration);
    EXPECT_EQ(factory(9, d.model, d.registration, 1), nullptr);
}

}  // namespace
