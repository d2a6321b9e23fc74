#pragma once
// Typed calls for every command of the register, over a Client that holds
// the line. Each call encodes its request, checks what the register's rules
// say of the values (a value that breaks one is not sent: Rejected), sends
// it and decodes the answer: the value on success, the register's refusal
// (result code and meaning), or the line's failure. Authorised commands
// carry the cashier prefix of the login given at construction. Texts are
// UTF-8; the register gets them in CP866.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/client.h"
#include "host/counters.h"
#include "host/documents.h"
#include "host/identity.h"
#include "host/printing.h"
#include "host/records.h"
#include "host/result.h"
#include "host/tlv.h"

namespace hostkit {

// The cashier who authorises requests: number 1 to 20 and password. A new
// register has one usable cashier, the service cashier 20 with the factory
// password 271828.
struct CashierLogin {
    std::uint8_t number = 20;
    std::uint32_t password = 271828;
};

class Register {
  public:
    explicit Register(Client& client, CashierLogin login = {}) : client_(client), login_(login) {}

    const CashierLogin& login() const { return login_; }
    void setLogin(CashierLogin login) { login_ = login; }

    // State and identity, answered by the link at once (no cashier).
    Result<ShiftState> shiftState();      // 16
    Result<DeviceStatus> deviceStatus();  // 48
    Result<ModelInfo> model();            // 49
    Result<KeyInfo> deviceKey();          // 50
    Result<Version> version();            // 51
    // One tagged value of the registration data; nothing for a tag the
    // register does not serve.
    Result<std::optional<Tlv>> registrationTag(std::uint16_t tag);  // 68

    // Reference records (1, 2). A write answers the record as stored.
    Result<CashierRecord> readCashier(std::uint8_t number);
    Result<SectionRecord> readSection(std::uint8_t number);
    Result<DiscountRecord> readDiscount(std::uint8_t number);
    Result<CashierRecord> writeCashier(const CashierRecord& c);
    Result<SectionRecord> writeSection(const SectionRecord& s);
    Result<DiscountRecord> writeDiscount(const DiscountRecord& d);

    // The clock, seconds since 1970 (3 needs no cashier, 4 does).
    Result<std::uint32_t> readClock();
    Result<Done> setClock(std::uint32_t seconds);

    // Settings (64, 65, 193, 194): the rounding mode (1 half to even, any
    // other half up), the paper width in millimetres, the printer flags.
    Result<std::uint8_t> roundingMode();
    Result<Done> setRoundingMode(std::uint8_t mode);
    Result<std::uint8_t> paperWidth();
    Result<Done> setPaperWidth(std::uint8_t millimetres);
    Result<std::uint32_t> printerFlags();
    Result<Done> setPrinterFlags(std::uint32_t flags);

    // Counters kept in the archive (54 to 57; no cashier).
    Result<CounterSet> shiftCounters();
    Result<CounterSet> totalsSinceRegistration();
    Result<CounterSet> grossTotals();
    Result<DepartmentTotals> departmentTotals();

    // The factory number, exactly 10 digits, set once (63).
    Result<Done> setFactoryNumber(std::string_view digits);

    // The printer (192 status, 195 formatted text, 196 bytes unchanged,
    // 197 feed and cut; no cashier).
    Result<Done> printerStatus();
    Result<Done> printText(const PrintFormat& format, std::string_view utf8);
    Result<Done> printRaw(const Bytes& bytes);
    Result<Done> feedAndCut();

    // Documents. Open one (a receipt with openReceipt), add tagged values
    // to it, close it: the close answers its number, fiscal sign and time.
    // `cashierName`, when given, is printed on this document instead of the
    // cashier's own.
    Result<Done> openDocument(DocumentType type, std::string_view cashierName = {});
    Result<Done> openReceipt(ReceiptKind kind, std::string_view cashierName = {});
    Result<Done> addValue(const Tlv& value);  // 7
    Result<Done> addPosition(const Position& p);
    Result<Done> addTextLine(std::string_view utf8);
    Result<Done> addCashierName(std::string_view utf8);
    Result<Done> addRegistrationText(int which, std::string_view utf8);  // 1, 2 or 3
    Result<Done> addTax(int index, const Tax& tax);                      // index 0..4
    Result<CloseReply> closeDocument(DocumentType type, const Bytes& closeData = {});
    // Payments in kopecks (4550 is 45.50): cash tendered (the change is
    // worked out) and paid otherwise; (0, 0) pays the whole total in cash.
    Result<CloseReply> closeReceipt(std::int64_t cash, std::int64_t nonCash);
    // The amount in kopecks, above 0.
    Result<CloseReply> closeCashDocument(DocumentType type, std::int64_t amount);
    Result<CloseReply> closeRegistration(std::string_view taxpayerNumber,
                                         std::string_view storageNumber);
    Result<Done> previewRegistration(std::string_view taxpayerNumber,
                                     std::string_view storageNumber);  // 32
    Result<Done> cancelDocument();                                     // 6
    Result<DocumentState> documentState();                             // 176

    // Whole documents, one call each: opened, filled and closed; a step the
    // register refuses after the open cancels the document (6) and gives
    // that refusal. Amounts in kopecks. The shift documents answer the
    // shift number, the cash documents the cash in the drawer, a receipt
    // its number, total and change (CloseReply).
    Result<CloseReply> openShift(std::string_view cashierName = {});   // 17, 18
    Result<CloseReply> closeShift(std::string_view cashierName = {});  // 19, 20: the Z report
    Result<CloseReply> cashIn(std::int64_t amount);                    // 162, 163
    Result<CloseReply> cashOut(std::int64_t amount);                   // 164, 165
    // A receipt of `kind` (a sale by default) with the positions, paid as
    // closeReceipt says: (0, 0) pays the whole total in cash. 21, 7..., 22.
    Result<CloseReply> sell(const std::vector<Position>& positions, std::int64_t cash = 0,
                            std::int64_t nonCash = 0, ReceiptKind kind = ReceiptKind::Sale);

    // Reports (177), the control tape (58) and copies (178). The control
    // tape answers the number of the last document printed in full; a
    // refusal after printing began carries it too (controlTapeStop), and
    // the tape goes on from that number + 1.
    Result<Done> printReport(ReportType type, std::uint32_t first = 0, std::uint32_t last = 0);
    Result<std::uint32_t> printControlTape(std::uint32_t from = 0);
    Result<Done> printCopy(std::uint32_t documentNumber);

  private:
    // The request with the cashier prefix before `payload`.
    Result<Bytes> authorised(std::uint8_t command, const Bytes& payload);
    Result<Bytes> readSetting(std::uint8_t command, std::uint8_t parameter, std::size_t size);
    // Opens a document of `type` and closes it with `closeData`.
    Result<CloseReply> wholeDocument(DocumentType type, const Bytes& closeData,
                                     std::string_view cashierName = {});

    Client& client_;
    CashierLogin login_;
};

// The last document number a refused control tape printed in full.
std::optional<std::uint32_t> controlTapeStop(const Refusal& refusal);

}  // namespace hostkit
