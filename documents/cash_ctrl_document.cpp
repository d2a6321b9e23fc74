#include "documents/cash_ctrl_document.h"

#include "documents/print_text.h"
#include "encoding/tags.h"
#include "state/status.h"

using namespace print_text;

CashCtrlDocument::CashCtrlDocument(bool cashIn, const ModelData* model, const RegData* registration,
                                   const Cashier& cashier)
    : BaseWorkDocument(cashIn ? FrStatus::cashInDoc : FrStatus::cashOutDoc, model, registration,
                       cashier) {}

bool CashCtrlDocument::isCashIn() const { return documentType() == FrStatus::cashInDoc; }

std::shared_ptr<BaseWorkDocument> CashCtrlDocument::clone() const {
    return cloneThroughCopy(*this, isCashIn(), &modelRecord(), &registrationRecord(), cashier());
}

std::string CashCtrlDocument::title() const { return cp(isCashIn() ? "Внесение" : "Выплата"); }

bool CashCtrlDocument::isComplete() const {
    return BaseWorkDocument::isComplete() && amount_.value() > 0;
}

ResultCode CashCtrlDocument::close(std::uint32_t now, const Bytes&,
                                   std::span<const std::uint8_t> closeData,
                                   std::uint16_t& missingTag) {
    if (const ResultCode result = closeCommon(now, missingTag); result != ResultCode::Success)
        return result;
    if (closeData.size() != 8) {
        missingTag = tags::kCashPayment;
        return ResultCode::RequiredTagMissing;
    }
    const auto kopecks = static_cast<std::int64_t>(le::u64(closeData.data()));
    if (kopecks <= 0) return ResultCode::DrawerEmpty;
    if (!isCashIn() && static_cast<std::uint64_t>(kopecks) > FrStatus::status().cashInDrawer())
        return ResultCode::DrawerEmpty;
    if (isCashIn() && kopecks > kMaxCashIn) return ResultCode::CashInTooLarge;
    amount_ = Decimal(100, kopecks);
    return ResultCode::Success;
}

Bytes CashCtrlDocument::signData() const {
    Bytes data;
    le::put32(data, registrationRecord().checkValue());
    le::put16(data, shiftNumber());
    le::put32(data, documentNumber());
    le::put32(data, dateTime());
    le::putText(data, amount_.toText());
    return data;
}

Bytes CashCtrlDocument::toTlv() const {
    Bytes data = BaseWorkDocument::toTlv();
    Tlv().setVarInt(tags::kCashPayment, amount_.value()).encodeTo(data);
    Tlv().setU16(tags::kShiftNumber, shiftNumber()).encodeTo(data);
    return data;
}

void CashCtrlDocument::setStoredTag(const Tlv& value) {
    if (value.tag == tags::kCashPayment)
        amount_ = Decimal(100, value.getVarInt());
    else
        BaseWorkDocument::setStoredTag(value);
}

Bytes CashCtrlDocument::closeReply() const {
    Bytes reply = closeReplyWithShift();
    le::put64(reply, FrStatus::status().cashInDrawer());
    return reply;
}

std::string CashCtrlDocument::printHeader() const {
    return commonHeader() + printing::renderBlock(shiftBlock(), false);
}

std::string CashCtrlDocument::printFooter(bool cut) const {
    return printing::renderBlock(
               block(kDoubleSizeFont, kLeftDouble, {cp("НАЛ.\t") + amount_.toText()}), false) +
           BaseWorkDocument::printFooter(cut);
}

BaseWorkDocument* CashCtrlDocument::copyInto(BaseWorkDocument* other) const {
    BaseWorkDocument::copyInto(other);
    if (auto* same = sameKindOf<CashCtrlDocument>(*this, other)) same->amount_ = amount_;
    return other;
}

std::string CashCtrlDocument::summaryHead() const {
    return printing::renderBlock(block(kSmallFont, kLeft,
                                       {title() + cp("\tФД ") + std::to_string(documentNumber()),
                                        cashierLine(cashier().name)}),
                                 false);
}

std::string CashCtrlDocument::summaryTail() const {
    return printing::renderBlock(
        block(kSmallFont, kLeft,
              {cp("НАЛ.\t") + amount_.toText(), cp("ДАТА\t") + dateTimeText(dateTime())}),
        false);
}
