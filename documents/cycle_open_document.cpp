#include "documents/cycle_open_document.h"

#include "documents/print_text.h"
#include "encoding/tags.h"
#include "state/status.h"

using namespace print_text;

namespace {

std::uint16_t nextShiftNumber() {
    return static_cast<std::uint16_t>(FrStatus::status().shiftNumber() + 1);
}

}  // namespace

CycleOpenDocument::CycleOpenDocument(const ModelData* model, const RegData* registration,
                                     const Cashier& cashier)
    : BaseWorkDocument(FrStatus::shiftOpenDoc, model, registration, cashier) {}

std::shared_ptr<BaseWorkDocument> CycleOpenDocument::clone() const {
    return cloneThroughCopy(*this, &modelRecord(), &registrationRecord(), cashier());
}

std::string CycleOpenDocument::title() const { return cp("Открытие смены"); }

ResultCode CycleOpenDocument::applyOpenData(std::span<const std::uint8_t> openData) {
    const ResultCode result = BaseWorkDocument::applyOpenData(openData);
    setShiftNumber(nextShiftNumber());
    openingCash_ = Decimal(100, static_cast<std::int64_t>(FrStatus::status().cashInDrawer()));
    return result;
}

ResultCode CycleOpenDocument::close(std::uint32_t now, const Bytes&, std::span<const std::uint8_t>,
                                    std::uint16_t& missingTag) {
    const ResultCode result = closeCommon(now, missingTag);
    setShiftNumber(nextShiftNumber());
    return result;
}

Bytes CycleOpenDocument::signData() const {
    Bytes data;
    le::put32(data, registrationRecord().checkValue());
    le::put16(data, shiftNumber());
    le::put32(data, documentNumber());
    le::put32(data, dateTime());
    return data;
}

Bytes CycleOpenDocument::toTlv() const {
    Bytes data = BaseWorkDocument::toTlv();
    Tlv().setU16(tags::kShiftNumber, shiftNumber()).encodeTo(data);
    Tlv().setVarInt(tags::kCashAmount, openingCash_.value()).encodeTo(data);
    return data;
}

void CycleOpenDocument::setStoredTag(const Tlv& value) {
    if (value.tag == tags::kCashAmount)
        openingCash_ = Decimal(100, value.getVarInt());
    else
        BaseWorkDocument::setStoredTag(value);
}

Bytes CycleOpenDocument::closeReply() const { return closeReplyWithShift(); }

std::string CycleOpenDocument::printHeader() const {
    printing::PrintBlock lines = shiftBlock();
    printing::addText(lines, cp("НАЛ. В КАССЕ\t") + openingCash_.toText());
    return commonHeader() + printing::renderBlock(lines, false);
}

BaseWorkDocument* CycleOpenDocument::copyInto(BaseWorkDocument* other) const {
    BaseWorkDocument::copyInto(other);
    if (auto* same = sameKindOf<CycleOpenDocument>(*this, other)) same->openingCash_ = openingCash_;
    return other;
}
