#include "tests/e2e/fiscal_requests.h"

#include "common/cp866.h"

namespace fiscal {

namespace {

// Tag numbers as the host sends them.
constexpr std::uint16_t kRegistrationText1 = 11048;
constexpr std::uint16_t kRegistrationText2 = 11187;
constexpr std::uint16_t kRegistrationText3 = 11009;
constexpr std::uint16_t kFirstTax = 13105;
constexpr std::uint16_t kTaxKind = 13102;
constexpr std::uint16_t kTaxRate = 13103;
constexpr std::uint16_t kTaxName = 13104;
constexpr std::uint16_t kPosition = 11059;
constexpr std::uint16_t kPositionName = 11030;
constexpr std::uint16_t kPrice = 11079;
constexpr std::uint16_t kQuantity = 11023;
constexpr std::uint16_t kPositionTax = 11199;
constexpr std::uint16_t kPositionSection = 11301;
constexpr std::uint16_t kTextLine = 12120;

constexpr std::size_t kCashierRecordSize = 263;
constexpr std::size_t kCashierNameOffset = 7;
constexpr std::uint8_t kCashierRecordType = 1;

// A signed number as the register reads one: little-endian, trailing zero
// bytes left out, at least one byte.
Bytes varInt(std::int64_t v) {
    Bytes bytes;
    le::put64(bytes, static_cast<std::uint64_t>(v));
    while (bytes.size() > 1 && bytes.back() == 0) bytes.pop_back();
    return bytes;
}

// Padded with zero bytes, or cut, to `size`.
Bytes fixed(const std::string& text, std::size_t size) {
    Bytes bytes = toBytes(text);
    bytes.resize(size, 0);
    return bytes;
}

}  // namespace

Bytes withCashier(std::uint8_t number, std::uint32_t password, const Bytes& payload) {
    Bytes data{number};
    le::put32(data, password);
    le::putBytes(data, payload);
    return data;
}

Bytes asService(const Bytes& payload) {
    return withCashier(kServiceCashier, kServicePassword, payload);
}

Bytes tagged(std::uint16_t tag, const Bytes& value) {
    Bytes data;
    le::put16(data, tag);
    le::put16(data, static_cast<std::uint16_t>(value.size()));
    le::putBytes(data, value);
    return data;
}

Bytes textValue(std::uint16_t tag, const std::string& utf8) {
    return tagged(tag, toBytes(cp866::fromUtf8(utf8)));
}

Bytes registrationText1(const std::string& utf8) { return textValue(kRegistrationText1, utf8); }
Bytes registrationText2(const std::string& utf8) { return textValue(kRegistrationText2, utf8); }
Bytes registrationText3(const std::string& utf8) { return textValue(kRegistrationText3, utf8); }

Bytes registrationTax(std::uint8_t number, std::uint8_t kind, std::uint16_t rate,
                      const std::string& utf8Name) {
    Bytes rateBytes;
    le::put16(rateBytes, rate);
    Bytes children = tagged(kTaxKind, {kind});
    le::putBytes(children, tagged(kTaxRate, rateBytes));
    le::putBytes(children, textValue(kTaxName, utf8Name));
    return tagged(static_cast<std::uint16_t>(kFirstTax + number - 1), children);
}

Bytes registrationNumbers(const std::string& taxpayerNumber, const std::string& storageNumber) {
    Bytes data = fixed(taxpayerNumber, 12);
    le::putBytes(data, fixed(storageNumber, 16));
    return data;
}

Bytes position(const Position& p) {
    Bytes quantity{3};  // three decimals
    le::putBytes(quantity, varInt(p.quantityMilli));
    Bytes children = textValue(kPositionName, p.name);
    le::putBytes(children, tagged(kPrice, varInt(p.priceKopecks)));
    le::putBytes(children, tagged(kQuantity, quantity));
    le::putBytes(children, tagged(kPositionTax, {p.taxNumber}));
    if (p.section != 0) le::putBytes(children, tagged(kPositionSection, {p.section}));
    return tagged(kPosition, children);
}

Bytes receiptTextLine(const std::string& utf8) { return textValue(kTextLine, utf8); }

Bytes receiptOpen(ReceiptKind kind) { return Bytes{kind}; }

Bytes receiptPayment(std::int64_t cashKopecks, std::int64_t nonCashKopecks) {
    Bytes data;
    le::put64(data, static_cast<std::uint64_t>(cashKopecks));
    le::put64(data, static_cast<std::uint64_t>(nonCashKopecks));
    return data;
}

Bytes cashAmount(std::int64_t kopecks) {
    Bytes data;
    le::put64(data, static_cast<std::uint64_t>(kopecks));
    return data;
}

Bytes cashierRecord(std::uint8_t number, std::uint16_t rights, std::uint32_t password,
                    const std::string& utf8Name) {
    Bytes record{kCashierRecordType, number};
    le::put16(record, rights);
    le::put32(record, password);
    le::putBytes(record, fixed(cp866::fromUtf8(utf8Name), kCashierRecordSize - kCashierNameOffset));
    return record;
}

std::vector<Request> fiscalizationRequests() {
    return {
        {kSetFactoryNumber, asService(toBytes(kFactoryNumber))},
        {kOpenRegistration, asService()},
        {kAdd, registrationText1("ООО \"Ромашка\"")},
        {kAdd, registrationText2("г. Москва, ул. Тверская, 1")},
        {kAdd, registrationText3("Касса 1")},
        {kAdd, registrationTax(1, 1, 2000, "НДС 20%")},
        {kCloseRegistration, registrationNumbers(kTaxpayerNumber, kStorageNumber)},
    };
}

}  // namespace fiscal
