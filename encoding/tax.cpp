#include "encoding/tax.h"

#include "common/record_text.h"
#include "encoding/tags.h"

namespace {

Tlv taxContainer(const Tax& t, unsigned index, const Decimal* sum) {
    if (index >= Tax::kCount) return {};
    std::vector<Tlv> children(3);
    children[0].setU8(tags::kTaxKind, t.kind);
    children[1].setU16(tags::kTaxRate, t.rate);
    children[2].setText(tags::kTaxName, t.name);
    if (sum) children.push_back(Tlv().setVarInt(tags::kTaxSum, sum->value()));
    return Tlv().setContainer(static_cast<std::uint16_t>(tags::kTaxFirst + index), children);
}

bool readTaxContainer(Tax& t, const Tlv& container, unsigned& index, Decimal* sum) {
    if (container.tag < tags::kTaxFirst || container.tag > tags::kTaxLast) return false;
    index = container.tag - tags::kTaxFirst;
    t = Tax{};
    bool whole = false;
    const std::vector<Tlv> children = decodeList(container, &whole);
    if (!whole) return false;
    for (const Tlv& child : children) {
        switch (child.tag) {
            case tags::kTaxKind: {
                const std::uint8_t kind = child.getU8();
                t.kind = kind > Tax::kNotSet ? Tax::kNotSet : kind;
                break;
            }
            case tags::kTaxRate:
                t.rate = child.getU16() & Tax::kRateMask;
                break;
            case tags::kTaxName:
                if (!child.data.empty() && child.data.size() <= Tax::kMaxName)
                    t.name = child.getText();
                break;
            case tags::kTaxSum:
                if (!sum) return false;
                *sum = Decimal(100, child.getVarInt());
                break;
            default:
                return false;
        }
    }
    return true;
}

}  // namespace

bool Tax::isValid() const { return rate <= kMaxRate && kind < kNotSet && !name.empty(); }

Tlv Tax::toTlv(unsigned index) const { return taxContainer(*this, index, nullptr); }

Tlv Tax::toTlv(unsigned index, const Decimal& sum) const {
    return taxContainer(*this, index, &sum);
}

bool Tax::fromTlv(const Tlv& container, unsigned& index) {
    return readTaxContainer(*this, container, index, nullptr);
}

bool Tax::fromTlv(const Tlv& container, unsigned& index, Decimal& sum) {
    return readTaxContainer(*this, container, index, &sum);
}

Bytes encodeTax(const Tax& t) {
    Bytes record(Tax::kSize, 0);
    le::store16(&record[0], static_cast<std::uint16_t>((t.rate & Tax::kRateMask) | (t.kind << 14)));
    record_text::write(&record[2], Tax::kMaxName,
                       std::string_view(t.name).substr(0, Tax::kMaxName));
    return record;
}

std::optional<Tax> decodeTax(const Bytes& record) {
    if (record.size() != Tax::kSize) return std::nullopt;
    const std::uint16_t word = le::u16(&record[0]);
    Tax t;
    t.rate = word & Tax::kRateMask;
    t.kind = static_cast<std::uint8_t>(word >> 14);
    t.name = record_text::read(&record[2], Tax::kMaxName);
    if (!t.isValid()) return std::nullopt;
    return t;
}

Decimal taxRate(const Tax& t) { return Decimal(100, t.rate); }

std::string taxLabel(const Tax& t) { return t.isValid() ? t.name : std::string(); }

std::string taxRateText(const Tax& t) {
    std::string text = taxRate(t).toText();
    const std::size_t zeros = text.find(".00");
    if (zeros != std::string::npos) text.erase(zeros, 3);
    return text + "%";
}

Decimal taxAmount(const Tax& t, const Decimal& amount) {
    if (!t.isValid() || amount.value() <= 0) return Decimal(amount.scale());
    if (t.chargesNothing()) return amount;
    const double r = static_cast<double>(t.rate) / 100.0;
    if (t.kind == Tax::kContained)
        return Decimal::fromDouble(amount.scale(), (r / (r + 100.0)) * amount.toDouble());
    return Decimal::fromDouble(amount.scale(), r * amount.toDouble() / 100.0);
}

bool hasUnknownTaxKind(const Tlv& container) {
    for (const Tlv& child : decodeList(container))
        if (child.tag == tags::kTaxKind && child.getU8() > Tax::kNotSet) return true;
    return false;
}
