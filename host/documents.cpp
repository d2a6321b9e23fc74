#include "host/documents.h"

#include <algorithm>
#include <iterator>

#include "common/cp866.h"
#include "common/record_text.h"
#include "host/rules.h"

namespace hostkit {

namespace {

struct TypeRow {
    DocumentType type;
    std::uint8_t open;
    std::uint8_t close;
    std::string_view name;
};
constexpr TypeRow kTypes[] = {
    {DocumentType::Registration, 8, 9, "registration"},
    {DocumentType::ShiftClose, 19, 20, "shift-close"},
    {DocumentType::Receipt, 21, 22, "receipt"},
    {DocumentType::ArchiveClose, 24, 25, "archive-close"},
    {DocumentType::CashIn, 162, 163, "cash-in"},
    {DocumentType::CashOut, 164, 165, "cash-out"},
    {DocumentType::ShiftOpen, 17, 18, "shift-open"},
};

const TypeRow& row(DocumentType type) {
    return *std::find_if(std::begin(kTypes), std::end(kTypes),
                         [type](const TypeRow& r) { return r.type == type; });
}

// Tags of a receipt position's container and its children.
enum PositionTag : std::uint16_t {
    kPosition = 11059,
    kCode = 11163,
    kName = 11030,
    kUnit = 12108,
    kSection = 11301,
    kTaxNumber = 11199,
    kDiscount = 11303,
    kPrice = 11079,
    kDiscountSum = 11304,
    kQuantity = 11023,
    kExtraLine = 11029,
};

constexpr std::uint16_t kTextLine = 12120;
constexpr std::uint16_t kCashierName = 11021;
constexpr std::uint16_t kRegistrationTexts[] = {11048, 11187, 11009};

std::string cp(std::string_view utf8) { return cp866::fromUtf8(utf8); }

// Digits in a field of `size` bytes, zero-padded.
void putDigits(Bytes& out, std::string_view digits, std::size_t size) {
    Bytes field(size, 0);
    record_text::write(field.data(), size, digits.substr(0, size));
    le::putBytes(out, field);
}

}  // namespace

std::uint8_t openCommand(DocumentType type) { return row(type).open; }
std::uint8_t closeCommand(DocumentType type) { return row(type).close; }
std::string_view documentTypeName(DocumentType type) { return row(type).name; }

std::optional<DocumentType> documentTypeOf(std::uint8_t type) {
    for (const TypeRow& r : kTypes)
        if (static_cast<std::uint8_t>(r.type) == type) return r.type;
    return std::nullopt;
}

std::string_view receiptKindName(ReceiptKind kind) {
    constexpr std::string_view kNames[] = {"sale", "purchase", "return-sale", "return-purchase"};
    return kNames[static_cast<std::uint8_t>(kind) & 3];
}

Bytes openData(DocumentType type, ReceiptKind kind, std::string_view cashierName) {
    Bytes data;
    if (type == DocumentType::Receipt) data.push_back(static_cast<std::uint8_t>(kind));
    if (!cashierName.empty()) {
        const std::string name = cp(cashierName).substr(0, 255);
        data.push_back(static_cast<std::uint8_t>(name.size()));
        le::putText(data, name);
    }
    return data;
}

std::optional<std::string> positionProblem(const Position& p) {
    std::string cp866;
    if (auto broken = rules::text(p.name, "a position's name", 1, rules::kPositionName, cp866))
        return broken;
    if (auto broken = rules::text(p.code, "a position's code", 0, rules::kPositionCode, cp866))
        return broken;
    if (auto broken = rules::text(p.unit, "a position's unit", 0, rules::kPositionUnit, cp866))
        return broken;
    if (auto broken =
            rules::text(p.extraLine, "a position's extra line", 0, rules::kTextLine, cp866))
        return broken;
    if (p.quantity <= 0) return std::string("a position's quantity is above 0");
    if (p.quantityDigits > 9) return std::string("a quantity has at most 9 decimals");
    if (p.price < 0) return std::string("a price is 0.00 or more");
    if (p.discountSum < 0) return std::string("a discount sum is 0.00 or more");
    if (p.section > 20) return std::string("sections run from 1 to 20");
    if (p.taxNumber < 1 || p.taxNumber > 5)
        return std::string("a position's tax is one of the registration's taxes 1 to 5");
    if (p.discount > 20) return std::string("discounts run from 1 to 20");
    return std::nullopt;
}

Tlv positionTlv(const Position& p) {
    std::vector<Tlv> children;
    if (!p.code.empty()) children.push_back(textTlv(kCode, cp(p.code)));
    children.push_back(textTlv(kName, cp(p.name)));
    if (!p.unit.empty()) children.push_back(textTlv(kUnit, cp(p.unit)));
    children.push_back(u8Tlv(kSection, p.section));
    children.push_back(u8Tlv(kTaxNumber, p.taxNumber));
    if (p.discount != 0) children.push_back(u8Tlv(kDiscount, p.discount));
    children.push_back(varIntTlv(kPrice, p.price));
    if (p.discountSum > 0) children.push_back(varIntTlv(kDiscountSum, p.discountSum));
    children.push_back(varDecimalTlv(kQuantity, p.quantityDigits, p.quantity));
    if (!p.extraLine.empty()) children.push_back(textTlv(kExtraLine, cp(p.extraLine)));
    return containerTlv(kPosition, children);
}

Tlv textLineTlv(std::string_view utf8) { return textTlv(kTextLine, cp(utf8)); }

Tlv cashierNameTlv(std::string_view utf8) { return textTlv(kCashierName, cp(utf8)); }

Tlv registrationTextTlv(int which, std::string_view utf8) {
    return textTlv(kRegistrationTexts[std::clamp(which, 1, 3) - 1], cp(utf8));
}

Bytes receiptCloseData(std::int64_t cash, std::int64_t nonCash) {
    Bytes data;
    le::put64(data, static_cast<std::uint64_t>(cash));
    le::put64(data, static_cast<std::uint64_t>(nonCash));
    return data;
}

Bytes amountCloseData(std::int64_t amount) {
    Bytes data;
    le::put64(data, static_cast<std::uint64_t>(amount));
    return data;
}

Bytes registrationCloseData(std::string_view taxpayerNumber, std::string_view storageNumber) {
    Bytes data;
    putDigits(data, taxpayerNumber, 12);
    putDigits(data, storageNumber, 16);
    return data;
}

std::optional<CloseReply> decodeCloseReply(const Bytes& data) {
    const std::size_t n = data.size();
    if (n != 12 && n != 14 && n != 22 && n != 32) return std::nullopt;
    le::Reader r(data);
    CloseReply c;
    c.documentNumber = r.u32();
    c.fiscalSign = r.u32();
    c.dateTime = r.u32();
    if (n >= 14) c.shiftNumber = r.u16();
    if (n == 22) c.cashInDrawer = static_cast<std::int64_t>(r.u64());
    if (n == 32) {
        c.receiptNumber = r.u16();
        c.total = static_cast<std::int64_t>(r.u64());
        c.change = static_cast<std::int64_t>(r.u64());
    }
    return c;
}

std::optional<DocumentState> decodeDocumentState(const Bytes& data) {
    if (data.size() != 1 && data.size() != 14) return std::nullopt;
    le::Reader r(data);
    DocumentState s;
    s.type = r.u8();
    if (data.size() == 14) {
        s.receiptKind = r.u8();
        s.receiptNumber = r.u16();
        s.positions = r.u16();
        s.total = static_cast<std::int64_t>(r.u64());
    }
    return s;
}

}  // namespace hostkit
