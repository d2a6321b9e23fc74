#include "documents/fiscalization_document.h"

#include "config/identity.h"
#include "config/reg_data_tags.h"
#include "documents/counter_tlv.h"
#include "documents/print_text.h"
#include "encoding/tags.h"
#include "encoding/tax.h"
#include "state/status.h"

namespace {

// The three texts of the registration, in the order a close looks for them.
struct TextField {
    std::uint16_t tag;
    std::string (RegData::*text)() const;
    bool (RegData::*setText)(std::string_view);
};
constexpr TextField kTexts[] = {
    {tags::kRegistrationFirstText, &RegData::regText1, &RegData::setRegText1},
    {tags::kRegistrationSecondText, &RegData::regText2, &RegData::setRegText2},
    {tags::kRegistrationThirdText, &RegData::regText3, &RegData::setRegText3},
};

const TextField* textField(std::uint16_t tag) {
    for (const TextField& field : kTexts)
        if (field.tag == tag) return &field;
    return nullptr;
}

bool isTaxTag(std::uint16_t tag) { return tag >= tags::kTaxFirst && tag <= tags::kTaxLast; }

// A text that fills its field is stored with one zero byte after it; the
// field takes the text without it.
std::string storedText(const Tlv& value) {
    std::string text = value.getText();
    while (!text.empty() && text.back() == '\0') text.pop_back();
    return text;
}

std::string bytesText(std::span<const std::uint8_t> bytes) {
    return std::string(bytes.begin(), bytes.end());
}

// The first item the registration lacks, by its tag; 0 when it lacks none.
std::uint16_t firstMissingItem(const RegData& reg) {
    const Bytes record = reg.encode();
    if (!acceptableTaxpayerNumber(&record[RegData::kTaxpayerNumberOffset]))
        return tags::kTaxpayerNumber;
    if (!acceptableStorageNumber(&record[RegData::kStorageNumberOffset]))
        return tags::kStorageNumber;
    for (const TextField& field : kTexts)
        if ((reg.*field.text)().empty()) return field.tag;
    if (!reg.hasUsableTax()) return tags::kTaxFirst;
    return 0;
}

}  // namespace

FiscalizationDocument::FiscalizationDocument(const ModelData* model, const Cashier& cashier)
    : BaseWorkDocument(FrStatus::registrationDoc, model, nullptr, cashier) {}

void FiscalizationDocument::setRegistrationTotals(const CounterSet& totals) {
    registrationTotals_ = std::make_unique<CounterSet>(totals);
}

void FiscalizationDocument::attachRegistrationTotals(const CounterSet& totals) {
    setRegistrationTotals(totals);
}

std::shared_ptr<BaseWorkDocument> FiscalizationDocument::clone() const {
    return cloneThroughCopy(*this, &modelRecord(), cashier());
}

std::string FiscalizationDocument::title() const {
    return print_text::cp("Отчет о фискализации/перерегистрации");
}

std::string FiscalizationDocument::printHeader() const { return {}; }

ResultCode FiscalizationDocument::addItem(const Tlv& value, std::string& replyText) {
    if (const TextField* field = textField(value.tag)) {
        if (value.data.empty() || value.data.size() > kMaxText) return ResultCode::BadTaxContainer;
        (registrationRecordToFill().*field->setText)(value.getText());
        return ResultCode::Success;
    }
    if (isTaxTag(value.tag)) {
        Tax tax;
        unsigned index = 0;
        // A kind above 3 would be kept as "not set", a name beginning with a
        // zero byte as no name: the tax would be left out of the stored
        // document and every receipt naming it refused.
        if (hasUnknownTaxKind(value) || !tax.fromTlv(value, index) || tax.name.empty() ||
            tax.name.front() == '\0')
            return ResultCode::BadTaxContainer;
        registrationRecordToFill().setTaxAt(index, tax);
        return ResultCode::Success;
    }
    return BaseWorkDocument::addItem(value, replyText);
}

ResultCode FiscalizationDocument::close(std::uint32_t now, const Bytes& deviceKey,
                                        std::span<const std::uint8_t> closeData,
                                        std::uint16_t& missingTag) {
    RegData& reg = registrationRecordToFill();
    if (closeData.size() == kNumbersSize) {
        reg.setTaxpayerNumber(bytesText(closeData.first(RegData::kTaxpayerNumberSize)));
        reg.setStorageNumber(bytesText(closeData.last(RegData::kStorageNumberSize)));
    }
    if (const ResultCode result = closeCommon(now, missingTag); result != ResultCode::Success)
        return result;

    if (const std::uint16_t missing = firstMissingItem(reg); missing != 0) {
        missingTag = missing;
        return ResultCode::RequiredTagMissing;
    }

    reg.setRegistrationTime(now);
    if (!reg.sealRegistration(modelRecord().serialText(), toString(deviceKey)))
        return ResultCode::SealedRegistrationInvalid;
    return ResultCode::Success;
}

bool FiscalizationDocument::signingRecordsValid(const Bytes& deviceKey, std::string_view) const {
    return modelRecord().checkModel(toString(deviceKey));
}

Bytes FiscalizationDocument::signData() const {
    Bytes data;
    le::put32(data, registrationRecord().checkValue());
    le::put32(data, shiftNumber());
    le::put32(data, dateTime());
    return data;
}

Bytes FiscalizationDocument::toTlv() const {
    Bytes data = BaseWorkDocument::toTlv();
    le::putBytes(data, registrationTlv(registrationRecord()));
    if (registrationTotals_)
        countersToTlv(tags::kRegistrationPeriodCounters, *registrationTotals_).encodeTo(data);
    return data;
}

void FiscalizationDocument::setStoredTag(const Tlv& value) {
    RegData& reg = registrationRecordToFill();
    if (const TextField* field = textField(value.tag)) {
        (reg.*field->setText)(storedText(value));
    } else if (isTaxTag(value.tag)) {
        Tax tax;
        unsigned index = 0;
        if (tax.fromTlv(value, index)) reg.setTaxAt(index, tax);
    } else if (value.tag == tags::kTaxpayerNumber || value.tag == tags::kStorageNumber) {
        if (value.tag == tags::kTaxpayerNumber)
            reg.setTaxpayerNumber(storedText(value));
        else
            reg.setStorageNumber(storedText(value));
        // The check value is not stored: it binds the two numbers to this
        // device's serial number and key, so it is made again the same way.
        reg.sealRegistration(modelRecord().serialText(), toString(identity::store().deviceKey()));
    } else if (value.tag == tags::kRegistrationNumber) {
        reg.setRegistrationNumber(value.getU32());
    } else if (value.tag == tags::kRegistrationPeriodCounters) {
        registrationTotals_ = std::make_unique<CounterSet>();
        tlvToCounters(value, *registrationTotals_);
    } else {
        BaseWorkDocument::setStoredTag(value);
        if (value.tag == tags::kDateTime) reg.setRegistrationTime(dateTime());
    }
}
