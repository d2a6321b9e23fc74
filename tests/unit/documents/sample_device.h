#pragma once
// A registered device for the document and report tests: a device key, a
// factory record sealed with it, a registration record sealed with the
// serial number and the key, and a cashier who may authorise documents.
// Texts are CP866, as the register holds them.

#include <cstdlib>
#include <ctime>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "common/bytes.h"
#include "common/cp866.h"
#include "config/cashiers.h"
#include "config/model_data.h"
#include "config/reg_data.h"
#include "documents/base_work_document.h"
#include "documents/make_document.h"
#include "encoding/tax.h"
#include "storage/stored_document.h"

namespace sample {

inline std::string cp(const char* utf8) { return cp866::fromUtf8(utf8); }

struct Device {
    Bytes key;
    ModelData model;
    RegData registration;
    Cashier cashier;
};

inline Device device() {
    // Dates in the printed texts read in local time; pin the zone.
    ::setenv("TZ", "UTC", 1);
    ::tzset();

    Device d;
    d.key = Bytes{0x10, 0x21, 0x32, 0x43, 0x54, 0x65, 0x76, 0x87,
                  0x98, 0xA9, 0xBA, 0xCB, 0xDC, 0xED, 0xFE, 0x0F};
    d.model.setSerial("0123456789");
    d.model.sealModel(toString(d.key));

    d.registration.setStorageNumber("9999078900001234");
    d.registration.setTaxpayerNumber("7701234567");
    d.registration.setRegText1(cp("ООО \"Ромашка\""));
    d.registration.setRegText2(cp("г. Москва, ул. Тверская, 1"));
    d.registration.setRegText3(cp("Касса 1"));
    Tax vat;
    vat.kind = Tax::kContained;
    vat.rate = 2000;
    vat.name = cp("НДС 20%");
    d.registration.setTaxAt(0, vat);
    d.registration.setRegistrationTime(1'690'000'000);
    d.registration.sealRegistration(d.model.serialText(), toString(d.key));

    d.cashier.number = 3;
    d.cashier.rights = kRightSale | kRightReports;
    d.cashier.password = 1234;
    d.cashier.name = cp("Иванова");
    return d;
}

// Rebuilds `original` from its stored form the way the archive does: a new
// document from the factory, the stored header, then every stored value
// after the type byte, in stored order.
inline std::shared_ptr<BaseWorkDocument> rebuild(const DocumentFactory& factory,
                                                 const DocDescriptor& header, const Bytes& data,
                                                 const Device& d) {
    auto stored = factory(header.type, d.model, d.registration, header.cashierNumber);
    auto document = std::dynamic_pointer_cast<BaseWorkDocument>(stored);
    if (!document) return nullptr;
    document->restoreHeader(header);
    std::span<const std::uint8_t> rest(data.data() + 1, data.size() - 1);
    Tlv value;
    while (!rest.empty() && value.decodeFront(rest)) document->setStoredTag(value);
    return document;
}

// A document prepared for the archive and the document the archive would
// rebuild from what it wrote.
struct Stored {
    Preparation preparation = Preparation::incomplete;
    PreparedDocument prepared;
    std::shared_ptr<BaseWorkDocument> rebuilt;
};

inline Stored storeAndRebuild(BaseWorkDocument& doc, const Device& d, std::uint32_t number,
                              std::uint32_t registrationNumber) {
    Stored s;
    s.preparation = doc.prepareForStorage(number, registrationNumber, d.key, 0x1000004, s.prepared);
    if (s.preparation != Preparation::ready) return s;
    Bytes data;
    for (const Bytes& part : s.prepared.parts) data.insert(data.end(), part.begin(), part.end());
    s.rebuilt = rebuild(documentFactory(), s.prepared.header, data, d);
    return s;
}

}  // namespace sample
