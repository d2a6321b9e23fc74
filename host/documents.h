#pragma once
// Fiscal documents as the host builds them: the document types with their
// open and close commands, the open data, the tagged values that fill a
// document (receipt positions, text lines, the registration's texts and
// taxes), the close data, and the replies of the close and state commands.
// Texts are UTF-8 here and CP866 in the bytes; the typed calls check them
// first (rules::text, positionProblem).

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "common/bytes.h"
#include "host/tlv.h"

namespace hostkit {

enum class DocumentType : std::uint8_t {
    Registration = 1,
    ShiftClose = 2,
    Receipt = 3,
    ArchiveClose = 4,
    CashIn = 5,
    CashOut = 6,
    ShiftOpen = 7,
};
std::uint8_t openCommand(DocumentType type);
std::uint8_t closeCommand(DocumentType type);
std::optional<DocumentType> documentTypeOf(std::uint8_t type);
// "registration", "shift-close", "receipt", "archive-close", "cash-in",
// "cash-out", "shift-open"
std::string_view documentTypeName(DocumentType type);

enum class ReceiptKind : std::uint8_t {
    Sale = 0,
    Purchase = 1,
    ReturnOfSale = 2,
    ReturnOfPurchase = 3
};
// "sale", "purchase", "return-sale", "return-purchase"
std::string_view receiptKindName(ReceiptKind kind);

// The open data after the cashier prefix: a receipt's kind first, then,
// when `cashierName` is not empty, its length (one byte) and the name that
// this document prints instead of the cashier's own.
Bytes openData(DocumentType type, ReceiptKind kind, std::string_view cashierName);

// One position of a receipt, container 11059.
struct Position {
    std::string name;           // 1 to 127 characters
    std::int64_t price = 0;     // kopecks for one unit
    std::int64_t quantity = 1;  // quantity × 10^quantityDigits
    std::uint8_t quantityDigits = 0;
    std::uint8_t section = 1;      // 1 to 20 (0 means section 1)
    std::uint8_t taxNumber = 1;    // 1 to 5, a tax of the registration
    std::uint8_t discount = 0;     // a discount of the table, 1 to 20; 0 for none
    std::int64_t discountSum = 0;  // kopecks off, used without a table discount
    std::string code;              // up to 127 characters
    std::string unit;              // up to 15 characters
    std::string extraLine;         // printed on its own line after the position
};
// The rule a position breaks, or nothing.
std::optional<std::string> positionProblem(const Position& p);
// The container the receipt reads: 11163 code, 11030 name, 12108 unit,
// 11301 section, 11199 tax number, 11303 discount, 11079 price, 11304
// discount sum, 11023 quantity, 11029 extra line; empty texts, no discount
// and a discount sum of 0 are left out.
Tlv positionTlv(const Position& p);

// A free text line of a receipt (12120), the cashier's name on a document
// (11021), the registration's first, second and third texts (11048, 11187,
// 11009; `which` is 1, 2 or 3).
Tlv textLineTlv(std::string_view utf8);
Tlv cashierNameTlv(std::string_view utf8);
Tlv registrationTextTlv(int which, std::string_view utf8);

// Close data: a receipt's payments in kopecks, cash then non-cash (i64
// each; both 0 pays the whole total in cash); a cash document's amount in
// kopecks (i64); a registration's taxpayer number (12 bytes) and
// storage number (16 bytes), digits padded with zero bytes.
Bytes receiptCloseData(std::int64_t cash, std::int64_t nonCash);
Bytes amountCloseData(std::int64_t amount);
Bytes registrationCloseData(std::string_view taxpayerNumber, std::string_view storageNumber);

// What a close command answers: 12 bytes for every document (number,
// fiscal sign, date and time), 14 with the shift number (shift documents),
// 22 with the shift and the drawer's cash (cash documents), 32 with the
// shift, receipt number, total and change (receipts). Amounts are in
// kopecks (1000 is 10.00), times in seconds since 1970.
struct CloseReply {
    std::uint32_t documentNumber = 0;
    std::uint32_t fiscalSign = 0;
    std::uint32_t dateTime = 0;  // seconds since 1970, the register's clock
    std::optional<std::uint16_t> shiftNumber;
    std::optional<std::uint16_t> receiptNumber;
    std::optional<std::int64_t> total;         // kopecks: the receipt's total
    std::optional<std::int64_t> change;        // kopecks: cash tendered above the total
    std::optional<std::int64_t> cashInDrawer;  // kopecks, after the cash document
};
std::optional<CloseReply> decodeCloseReply(const Bytes& data);

// Command 176: the open document's type; for a receipt also its kind,
// number, count of positions and running total (14 bytes).
struct DocumentState {
    std::uint8_t type = 0;
    std::optional<std::uint8_t> receiptKind;
    std::optional<std::uint16_t> receiptNumber;
    std::optional<std::uint16_t> positions;
    std::optional<std::int64_t> total;
};
std::optional<DocumentState> decodeDocumentState(const Bytes& data);

}  // namespace hostkit
