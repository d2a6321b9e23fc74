// A receipt's life while it is open: opening, adding positions and text
// lines, closing with the payments, and its replies.

#include "documents/receipt_doc.h"

#include <optional>

#include "common/diagnostics.h"
#include "config/discounts.h"
#include "config/sections.h"
#include "documents/print_text.h"
#include "encoding/tags.h"
#include "printing/receipt_operation_print.h"
#include "state/status.h"
#include "storage/archive_limits.h"

namespace {

constexpr std::size_t kCloseDataSize = 16;
constexpr std::size_t kPaymentSize = 8;
// Section 0 in a position means the first section.
constexpr std::uint8_t kDefaultSection = 1;

// What a value adds to the stored data: its encoded size.
std::size_t storedSize(const Tlv& value) {
    return value.isValid() ? value.data.size() + Tlv::kHeaderSize : 0;
}

// The tag of what the close data lacks: the cash, the non-cash payment or,
// with both, the positions; 0 when nothing is missing.
std::uint16_t missingCloseValue(std::size_t closeDataSize, bool hasPositions) {
    if (closeDataSize < kPaymentSize) return tags::kCashPayment;
    if (closeDataSize != kCloseDataSize) return tags::kNonCashPayment;
    return hasPositions ? 0 : tags::kPosition;
}

// The sum kept for `key`, or 0.
Decimal sumAt(const std::map<std::uint8_t, Decimal>& sums, std::uint8_t key) {
    const auto it = sums.find(key);
    return it == sums.end() ? Decimal() : it->second;
}

// The sum kept for `key`, or none.
std::optional<Decimal> sumIn(const std::map<std::uint8_t, Decimal>& sums, std::uint8_t key) {
    const auto it = sums.find(key);
    if (it == sums.end()) return std::nullopt;
    return it->second;
}

// Puts back the sum `sumIn` gave: a tax or section no position carried
// before gets no entry, so it is neither stored nor printed.
void restoreSum(std::map<std::uint8_t, Decimal>& sums, std::uint8_t key,
                const std::optional<Decimal>& old) {
    if (old)
        sums[key] = *old;
    else
        sums.erase(key);
}

std::int64_t paymentAt(std::span<const std::uint8_t> data, std::size_t offset) {
    return static_cast<std::int64_t>(le::u64(data.data() + offset));
}

}  // namespace

ReceiptDoc::ReceiptDoc(const ModelData* model, const RegData* registration, const Cashier& cashier)
    : BaseWorkDocument(FrStatus::receiptDoc, model, registration, cashier) {}

bool ReceiptDoc::isIncome() const {
    return receiptKind_ == sale || receiptKind_ == returnOfPurchase;
}

std::shared_ptr<BaseWorkDocument> ReceiptDoc::clone() const {
    return cloneThroughCopy(*this, &modelRecord(), &registrationRecord(), cashier());
}

bool ReceiptDoc::isComplete() const {
    return BaseWorkDocument::isComplete() && receiptNumber_ != 0;
}

ResultCode ReceiptDoc::applyOpenData(std::span<const std::uint8_t> openData) {
    if (openData.empty()) return ResultCode::BadReceiptKind;
    receiptKind_ = openData[0];
    if (receiptKind_ > kMaxKind) return ResultCode::BadReceiptKind;

    const ResultCode opened = BaseWorkDocument::applyOpenData(openData.subspan(1));
    if (opened == ResultCode::Success) runningSize_ = BaseWorkDocument::toTlv().size();

    std::uint16_t right = 0;
    if (receiptKind_ == sale || receiptKind_ == purchase) right = kRightSale;
    if (receiptKind_ == returnOfSale || receiptKind_ == returnOfPurchase) right = kRightReturn;
    const bool allowed = (cashier().rights & right) == right;
    receiptNumber_ = static_cast<std::uint16_t>(FrStatus::status().shiftReceipts() + 1);
    return allowed ? opened : ResultCode::NoRight;
}

ResultCode ReceiptDoc::addItem(const Tlv& value, std::string& replyText) {
    // Refused when its encoded form would take the data past the limit.
    if (runningSize_ + value.data.size() + Tlv::kHeaderSize > kMaxRunningSize)
        return ResultCode::DataTooLong;
    switch (value.tag) {
        case tags::kPosition:
            return addPosition(value, replyText);
        case tags::kAdditionalLineText:
            return addTextLine(value, replyText);
        default:
            return ResultCode::TagNotAccepted;
    }
}

ResultCode ReceiptDoc::addPosition(const Tlv& container, std::string& replyText) {
    const std::vector<Tlv> children = decodeList(container);
    // The code the host has for a position without children.
    if (children.empty()) return ResultCode::BadCashierPrefix;

    ReceiptOperation position;
    for (const Tlv& child : children)
        if (const ResultCode r = applyPositionChild(position, child); r != ResultCode::Success)
            return r;
    if (!position.section) {
        position.section = findSection(kDefaultSection);
        if (!position.section) return ResultCode::SectionNotFound;
    }
    if (!position.isValid()) return ResultCode::PositionInvalid;

    // The receipt's sums must hold the position too: a sum that wrapped
    // would be stored, printed and counted as money.
    const Decimal amount = position.totalAfterDiscount();
    const Decimal newTotal = total_ + amount;
    const Decimal newTaxSum = sumAt(taxSums_, position.taxNumber) + position.taxSum();
    const Decimal newSectionSum = sumAt(sectionSums_, position.section->number) + amount;
    if (newTotal.overflowed() || newTaxSum.overflowed() || newSectionSum.overflowed())
        return ResultCode::PositionInvalid;

    // The receipt as it would be stored must fit the archive too: the
    // position as stored (with its tax sum and discount amount), the tax
    // and section containers and the totals may take more than the host sent.
    const Decimal oldTotal = total_;
    const std::optional<Decimal> oldTaxSum = sumIn(taxSums_, position.taxNumber);
    const std::optional<Decimal> oldSectionSum = sumIn(sectionSums_, position.section->number);
    const std::size_t positionSize = storedSize(position.toTlv());
    total_ = newTotal;
    taxSums_[position.taxNumber] = newTaxSum;
    sectionSums_[position.section->number] = newSectionSum;
    storedPositionsSize_ += positionSize;
    if (storedDataSize() > archive_limits::kMaxReceiptDataBytes) {
        total_ = oldTotal;
        restoreSum(taxSums_, position.taxNumber, oldTaxSum);
        restoreSum(sectionSums_, position.section->number, oldSectionSum);
        storedPositionsSize_ -= positionSize;
        return ResultCode::DataTooLong;
    }
    // Counted as the host sent it, so that a host fits every position the
    // running size promises.
    runningSize_ += container.data.size() + Tlv::kHeaderSize;
    replyText = printing::printLines(position);
    positions_.push_back(std::move(position));
    return ResultCode::Success;
}

ResultCode ReceiptDoc::applyPositionChild(ReceiptOperation& position, const Tlv& child) {
    if (position.setField(child)) return ResultCode::Success;
    switch (child.tag) {
        case tags::kPositionTaxNumber:
            position.taxNumber = child.getU8();
            position.tax = findTax(position.taxNumber);
            return position.tax ? ResultCode::Success : ResultCode::TaxNotFound;
        case tags::kSectionNumber: {
            const std::uint8_t number = child.getU8();
            position.section = findSection(number == 0 ? kDefaultSection : number);
            return position.section ? ResultCode::Success : ResultCode::SectionNotFound;
        }
        case tags::kDiscountNumber:
            position.discount = findDiscount(child.getU8());
            return position.discount ? ResultCode::Success : ResultCode::DiscountNotFound;
        default:
            diagnosticLine("UNKNOWN TAG " + std::to_string(child.tag) + " " + hexUpper(child.data));
            return ResultCode::BadDataLength;
    }
}

ResultCode ReceiptDoc::addTextLine(const Tlv& value, std::string& replyText) {
    AdditionalLine line;
    line.number = static_cast<int>(positions_.size());
    line.text = value.getText().substr(0, ReceiptOperation::kMaxExtraLine);
    // Text lines are stored too, and count like positions.
    runningSize_ += value.data.size() + Tlv::kHeaderSize;
    if (line.usable()) {
        textLines_.push_back(line);
        const bool fits = storedDataSize() <= archive_limits::kMaxReceiptDataBytes;
        textLines_.pop_back();
        if (!fits) {
            runningSize_ -= value.data.size() + Tlv::kHeaderSize;
            return ResultCode::DataTooLong;
        }
    }
    replyText = printing::renderBlock(
        print_text::block(print_text::kSmallFont, print_text::kLeft, {line.text}), false);
    textLines_.push_back(std::move(line));
    return ResultCode::Success;
}

const Section* ReceiptDoc::findSection(std::uint8_t number) {
    if (auto it = sections_.find(number); it != sections_.end()) return &it->second;
    const std::optional<Section> found = sections().getSection(number);
    if (!found || !found->isValid()) return nullptr;
    return &sections_.emplace(number, *found).first->second;
}

const Tax* ReceiptDoc::findTax(std::uint8_t number) {
    if (auto it = taxes_.find(number); it != taxes_.end()) return &it->second;
    if (number < 1 || number > Tax::kCount) return nullptr;
    const Tax found = registrationRecord().taxAt(number - 1);
    if (!found.isValid()) return nullptr;
    return &taxes_.emplace(number, found).first->second;
}

const Discount* ReceiptDoc::findDiscount(std::uint8_t number) {
    if (auto it = discounts_.find(number); it != discounts_.end()) return &it->second;
    const std::optional<Discount> found = discounts().getDiscount(number);
    if (!found || !found->isValid()) return nullptr;
    return &discounts_.emplace(number, *found).first->second;
}

ResultCode ReceiptDoc::close(std::uint32_t now, const Bytes&,
                             std::span<const std::uint8_t> closeData, std::uint16_t& missingTag) {
    if (const ResultCode r = closeCommon(now, missingTag); r != ResultCode::Success) return r;
    missingTag = missingCloseValue(closeData.size(), !positions_.empty());
    if (missingTag != 0) return ResultCode::RequiredTagMissing;
    if (receiptKind_ > kMaxKind) return ResultCode::BadReceiptKind;

    cash_ = Decimal(100, paymentAt(closeData, 0));
    nonCash_ = Decimal(100, paymentAt(closeData, kPaymentSize));
    return checkPayment();
}

ResultCode ReceiptDoc::checkPayment() {
    // A negative payment, or payments whose sum does not fit, is no payment
    // the receipt can record: it would be counted as a huge amount.
    if (cash_.value() < 0 || nonCash_.value() < 0 || (cash_ + nonCash_).overflowed())
        return ResultCode::PaymentsAboveTotal;
    if ((cash_ + nonCash_).value() == 0) cash_ = total_;

    const Decimal paid = cash_ + nonCash_;
    if (paid.value() < total_.value()) return ResultCode::PaymentsBelowTotal;
    if (nonCash_.value() > total_.value()) return ResultCode::PaymentsAboveTotal;
    if (!isIncome()) {
        if (paid.value() > total_.value()) return ResultCode::PaymentsAboveTotal;
        if (static_cast<std::uint64_t>(cash_.value()) > FrStatus::status().cashInDrawer())
            return ResultCode::DrawerEmpty;
    } else if (total_.value() > kMaxIncomeTotal) {
        return ResultCode::PaymentsAboveTotal;
    }

    change_ = Decimal();
    if (isIncome() && paid.value() > total_.value()) {
        change_ = paid - total_;
        cash_ = cash_ - change_;
    }
    return ResultCode::Success;
}

Bytes ReceiptDoc::closeReply() const {
    Bytes reply = closeReplyWithShift();
    le::put16(reply, receiptNumber_);
    le::put64(reply, static_cast<std::uint64_t>(total_.value()));
    le::put64(reply, static_cast<std::uint64_t>(change_.value()));
    return reply;
}

Bytes ReceiptDoc::stateReply() const {
    Bytes reply{documentType(), receiptKind_};
    le::put16(reply, receiptNumber_);
    le::put16(reply, static_cast<std::uint16_t>(positions_.size()));
    le::put64(reply, static_cast<std::uint64_t>(total_.value()));
    return reply;
}

BaseWorkDocument* ReceiptDoc::copyInto(BaseWorkDocument* other) const {
    BaseWorkDocument::copyInto(other);
    ReceiptDoc* copy = sameKindOf<ReceiptDoc>(*this, other);
    if (!copy) return other;
    copy->receiptKind_ = receiptKind_;
    copy->receiptNumber_ = receiptNumber_;
    copy->total_ = total_;
    copy->cash_ = cash_;
    copy->nonCash_ = nonCash_;
    // The change and the section sums too: a copy prints the tendered cash
    // and the change, and counts the departments, as the receipt does.
    copy->change_ = change_;
    copy->positions_ = positions_;
    copy->textLines_ = textLines_;
    copy->runningSize_ = runningSize_;
    copy->storedPositionsSize_ = storedPositionsSize_;
    copy->sections_ = sections_;
    copy->taxes_ = taxes_;
    for (const auto& [number, discount] : discounts_)
        copy->discounts_.insert_or_assign(number, discount);
    copy->taxSums_ = taxSums_;
    copy->sectionSums_ = sectionSums_;
    copy->relinkPositions();
    return other;
}

void ReceiptDoc::relinkPositions() {
    for (ReceiptOperation& p : positions_) {
        if (p.section) p.section = &sections_.at(p.section->number);
        if (p.tax) p.tax = &taxes_.at(p.taxNumber);
        if (p.discount) p.discount = &discounts_.at(p.discount->number);
    }
}
