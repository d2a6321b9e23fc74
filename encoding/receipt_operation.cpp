#include "encoding/receipt_operation.h"

#include "encoding/tags.h"
#include "encoding/unknown_tag.h"

Decimal ReceiptOperation::cost() const { return Decimal::multiply(price, quantity, price.scale()); }

bool ReceiptOperation::hasTableDiscount() const { return discount && discount->isValid(); }

Decimal ReceiptOperation::discountAmount() const {
    if (hasTableDiscount()) return ::discountAmount(*discount, cost());
    return discountSum;
}

Decimal ReceiptOperation::totalAfterDiscount() const { return cost() - discountAmount(); }

Decimal ReceiptOperation::taxSum() const {
    if (!tax) return Decimal();
    return taxAmount(*tax, totalAfterDiscount());
}

bool ReceiptOperation::isValid() const {
    const Decimal total = totalAfterDiscount();
    if (total.overflowed() || total.value() < 0) return false;
    if (discountSum.value() < 0) return false;
    if (!tax || !tax->isValid() || taxNumber < 1 || taxNumber > Tax::kCount) return false;
    if (!section || !validRecordNumber(section->number) || name.empty()) return false;
    if (quantity.value() <= 0) return false;
    return code.size() <= kMaxText && secondText.size() <= kMaxText && name.size() <= kMaxText &&
           unit.size() <= kMaxUnit;
}

Tlv ReceiptOperation::toTlv() const {
    std::vector<Tlv> children;
    const auto addText = [&](std::uint16_t tag, const std::string& text) {
        if (!text.empty()) children.push_back(Tlv().setText(tag, text));
    };
    addText(tags::kProductCode, code);
    addText(tags::kPositionSecondText, secondText);
    addText(tags::kPositionName, name);
    addText(tags::kUnit, unit);
    if (section) children.push_back(Tlv().setU8(tags::kSectionNumber, section->number));
    children.push_back(Tlv().setU8(tags::kPositionTaxNumber, taxNumber));
    if (tax && !tax->chargesNothing())
        children.push_back(Tlv().setVarInt(tags::kTaxSum, taxSum().value()));
    children.push_back(Tlv().setVarInt(tags::kPrice, price.value()));
    if (hasTableDiscount() || discountSum.value() > 0)
        children.push_back(Tlv().setVarInt(tags::kDiscountSum, discountAmount().value()));
    children.push_back(Tlv().setVarInt(tags::kPositionTotal, totalAfterDiscount().value()));
    children.push_back(Tlv().setVarDecimal(tags::kQuantity, quantity));
    if (extraLine) addText(tags::kPositionExtraLine, *extraLine);
    return Tlv().setContainer(tags::kPosition, children);
}

bool ReceiptOperation::setField(const Tlv& child) {
    switch (child.tag) {
        case tags::kProductCode:
            code = child.getText();
            return true;
        case tags::kPositionSecondText:
            secondText = child.getText();
            return true;
        case tags::kPositionName:
            name = child.getText();
            return true;
        case tags::kUnit:
            unit = child.getText();
            return true;
        case tags::kPositionExtraLine:
            extraLine = child.getText().substr(0, kMaxExtraLine);
            return true;
        case tags::kPrice:
            price = Decimal(100, child.getVarInt());
            return true;
        case tags::kDiscountSum:
            discountSum = Decimal(100, child.getVarInt());
            return true;
        case tags::kQuantity:
            quantity = child.getVarDecimal();
            return true;
        default:
            return false;
    }
}

void ReceiptOperation::setStorageTag(const Tlv& container, std::uint8_t& sectionNumber,
                                     std::uint8_t& taxNumberOut) {
    sectionNumber = 0;
    taxNumberOut = 0;
    extraLine.reset();
    for (const Tlv& child : decodeList(container)) {
        if (setField(child)) continue;
        switch (child.tag) {
            case tags::kPositionTaxNumber:
                taxNumber = child.getU8();
                taxNumberOut = taxNumber;
                break;
            case tags::kSectionNumber:
                sectionNumber = child.getU8();
                break;
            case tags::kTaxSum:
            case tags::kPositionTotal:
                break;  // written by toTlv; worked out again from the fields
            default:
                reportUnknownTag("ReceiptOperation::setStorageTag", child);
                break;
        }
    }
}

std::string ReceiptOperation::quantityText(bool withUnit) const {
    std::string text = quantity.toText();
    if (text.find('.') != std::string::npos) {
        text.erase(text.find_last_not_of('0') + 1);
        if (text.back() == '.') text.pop_back();
    }
    if (withUnit && !unit.empty()) text += " " + unit;
    return text;
}

bool operator==(const ReceiptOperation& a, const ReceiptOperation& b) {
    return a.code == b.code && a.name == b.name && a.unit == b.unit && a.section == b.section &&
           a.tax == b.tax && a.discount == b.discount && a.price == b.price &&
           a.quantity == b.quantity && a.taxNumber == b.taxNumber && a.extraLine == b.extraLine;
}
