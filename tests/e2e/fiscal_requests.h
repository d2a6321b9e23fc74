#pragma once
// Request data a POS host sends to build fiscal documents, for the
// end-to-end tests: the cashier prefix, tagged values (texts in CP866),
// the registration's texts, taxes and numbers, receipt positions and the
// close data of each document. Built with the host kit's encoders: the
// host's side of the line, never the register's own code.

#include <cstdint>
#include <string>
#include <vector>

#include "common/bytes.h"

namespace fiscal {

// Command codes.
enum Command : std::uint8_t {
    kWriteRecord = 2,
    kCancel = 6,
    kAdd = 7,
    kOpenRegistration = 8,
    kCloseRegistration = 9,
    kShiftStatus = 16,
    kOpenShift = 17,
    kCloseShiftOpen = 18,
    kOpenShiftClose = 19,
    kCloseShiftClose = 20,
    kOpenReceipt = 21,
    kCloseReceipt = 22,
    kOpenArchiveClose = 24,
    kCloseArchiveClose = 25,
    kPreviewRegistration = 32,
    kDeviceStatus = 48,
    kSetFactoryNumber = 63,
    kOpenCashIn = 162,
    kCloseCashIn = 163,
    kOpenCashOut = 164,
    kCloseCashOut = 165,
    kDocumentState = 176,
};

// The service cashier and the password it has on a new board.
constexpr std::uint8_t kServiceCashier = 20;
constexpr std::uint32_t kServicePassword = 271828;

// Receipt kinds.
enum ReceiptKind : std::uint8_t { sale = 0, purchase = 1, returnOfSale = 2, returnOfPurchase = 3 };

// The cashier prefix (number, password u32 LE), then `payload`.
Bytes withCashier(std::uint8_t number, std::uint32_t password, const Bytes& payload = {});
// The prefix of the service cashier, then `payload`.
Bytes asService(const Bytes& payload = {});

// One tagged value: tag, length (u16 LE each), value.
Bytes tagged(std::uint16_t tag, const Bytes& value);
// A text value, given in UTF-8 and sent in CP866.
Bytes textValue(std::uint16_t tag, const std::string& utf8);

// The registration's texts: 11048, 11187, 11009.
Bytes registrationText1(const std::string& utf8);
Bytes registrationText2(const std::string& utf8);
Bytes registrationText3(const std::string& utf8);
// The registration's tax `number` (1..5), container 13105 + number - 1:
// kind (0 none, 1 contained, 2 on top), rate in hundredths of a percent,
// name.
Bytes registrationTax(std::uint8_t number, std::uint8_t kind, std::uint16_t rate,
                      const std::string& utf8Name);
// The registration's close data: 12-byte taxpayer number, 16-byte storage
// number (each zero-padded).
Bytes registrationNumbers(const std::string& taxpayerNumber, const std::string& storageNumber);

// A receipt position, container 11059.
struct Position {
    std::string name;                   // UTF-8
    std::int64_t priceKopecks = 0;      // 11079
    std::int64_t quantityMilli = 1000;  // 11023 at three decimals: 1500 is 1.5
    std::uint8_t taxNumber = 1;         // 11199
    std::uint8_t section = 1;           // 11301; 0 stands for section 1
    std::uint8_t discount = 0;          // 11303, a discount of the table; 0 for none
    std::int64_t discountSumKopecks = 0;  // 11304, without a table discount
};
Bytes position(const Position& p);
// A free text line of a receipt, 12120.
Bytes receiptTextLine(const std::string& utf8);
// A receipt's open data: its kind.
Bytes receiptOpen(ReceiptKind kind);
// A receipt's close data: cash and non-cash, i64 LE kopecks each.
Bytes receiptPayment(std::int64_t cashKopecks, std::int64_t nonCashKopecks = 0);
// A cash in or cash out's close data: the amount, i64 LE kopecks.
Bytes cashAmount(std::int64_t kopecks);

// A cashier record for command 2 (type 1 in front): number, rights,
// password, name (CP866, zero-padded), 263 bytes.
Bytes cashierRecord(std::uint8_t number, std::uint16_t rights, std::uint32_t password,
                    const std::string& utf8Name);

// A section record (type 2 in front) and a percentage discount record
// (type 3 in front, the rate in hundredths of a percent) for command 2.
Bytes sectionRecord(std::uint8_t number, const std::string& utf8Name);
Bytes percentDiscountRecord(std::uint8_t number, std::int64_t hundredths,
                            const std::string& utf8Name);

// One request: command and data.
struct Request {
    std::uint8_t command;
    Bytes data;
};

// What a new board needs before its first shift, in order, each answered 0:
// the factory number 0123456789, then a registration by the service cashier
// with three texts, tax 1 (VAT 20 % contained), the taxpayer number
// 7701234567 and the storage number 9999078900001234.
std::vector<Request> fiscalizationRequests();

// The factory number and registration data of fiscalizationRequests.
constexpr const char* kFactoryNumber = "0123456789";
constexpr const char* kTaxpayerNumber = "7701234567";
constexpr const char* kStorageNumber = "9999078900001234";

}  // namespace fiscal
