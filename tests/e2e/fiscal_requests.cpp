#include "tests/e2e/fiscal_requests.h"

#include "common/cp866.h"
#include "host/documents.h"
#include "host/records.h"
#include "host/tlv.h"

namespace fiscal {

namespace {

Bytes encoded(const hostkit::Tlv& value) { return hostkit::encodeTlv(value); }

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
    hostkit::Tlv t;
    t.tag = tag;
    t.value = value;
    return encoded(t);
}

Bytes textValue(std::uint16_t tag, const std::string& utf8) {
    return encoded(hostkit::textTlv(tag, cp866::fromUtf8(utf8)));
}

Bytes registrationText1(const std::string& utf8) {
    return encoded(hostkit::registrationTextTlv(1, utf8));
}
Bytes registrationText2(const std::string& utf8) {
    return encoded(hostkit::registrationTextTlv(2, utf8));
}
Bytes registrationText3(const std::string& utf8) {
    return encoded(hostkit::registrationTextTlv(3, utf8));
}

Bytes registrationTax(std::uint8_t number, std::uint8_t kind, std::uint16_t rate,
                      const std::string& utf8Name) {
    return encoded(
        hostkit::taxTlv(number - 1, {static_cast<hostkit::TaxKind>(kind), rate, utf8Name}));
}

Bytes registrationNumbers(const std::string& taxpayerNumber, const std::string& storageNumber) {
    return hostkit::registrationCloseData(taxpayerNumber, storageNumber);
}

Bytes position(const Position& p) {
    hostkit::Position item;
    item.name = p.name;
    item.price = p.priceKopecks;
    item.quantity = p.quantityMilli;
    item.quantityDigits = 3;
    item.taxNumber = p.taxNumber;
    item.section = p.section;
    item.discount = p.discount;
    item.discountSum = p.discountSumKopecks;
    return encoded(hostkit::positionTlv(item));
}

Bytes receiptTextLine(const std::string& utf8) { return encoded(hostkit::textLineTlv(utf8)); }

Bytes receiptOpen(ReceiptKind kind) { return Bytes{kind}; }

Bytes receiptPayment(std::int64_t cashKopecks, std::int64_t nonCashKopecks) {
    return hostkit::receiptCloseData(cashKopecks, nonCashKopecks);
}

Bytes cashAmount(std::int64_t kopecks) { return hostkit::amountCloseData(kopecks); }

Bytes cashierRecord(std::uint8_t number, std::uint16_t rights, std::uint32_t password,
                    const std::string& utf8Name) {
    Bytes record{1};  // the record type of a cashier
    le::putBytes(record, hostkit::encodeCashier({number, rights, password, utf8Name}));
    return record;
}

Bytes sectionRecord(std::uint8_t number, const std::string& utf8Name) {
    Bytes record{static_cast<std::uint8_t>(hostkit::RecordType::Section)};
    le::putBytes(record, hostkit::encodeSection({number, utf8Name}));
    return record;
}

Bytes percentDiscountRecord(std::uint8_t number, std::int64_t hundredths,
                            const std::string& utf8Name) {
    Bytes record{static_cast<std::uint8_t>(hostkit::RecordType::Discount)};
    le::putBytes(record, hostkit::encodeDiscount(
                             {number, hostkit::DiscountKind::Percent, hundredths, utf8Name}));
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
