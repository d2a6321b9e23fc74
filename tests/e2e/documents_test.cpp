// Fiscal documents end to end: a POS host registers the register, runs a
// shift with cash and receipts, closes it and the archive; the refusals a
// host meets on the way; and the internal storage the closing documents
// leave for the next start.

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>

#include "tests/e2e/fiscal_requests.h"
#include "tests/e2e/sim_process.h"
#include "tests/support/file_text.h"

namespace {

using hostkit::Response;
using namespace fiscal;

Response request(e2e::SimProcess& sim, std::uint8_t command, const Bytes& data = {}) {
    Response r;
    std::string error;
    sim.client().drain();
    EXPECT_TRUE(sim.client().request(command, data, r, error, 0xD0C, 30000)) << error;
    return r;
}

// Sends `requests` in order; each must answer 0.
void sendAll(e2e::SimProcess& sim, const std::vector<Request>& requests) {
    for (const Request& r : requests)
        ASSERT_EQ(request(sim, r.command, r.data).code, 0) << int(r.command);
}

std::string tape(const e2e::SimProcess& sim) {
    return testing_support::readFile(sim.root() + "/printer/tape.txt");
}

void setPrinter(const e2e::SimProcess& sim, const char* state) {
    std::ofstream(sim.root() + "/printer/state") << state << "\n";
}

// Command 16: the shift's state.
struct ShiftState {
    bool open = false;
    std::uint16_t shiftNumber = 0;
    std::uint16_t receipts = 0;
    std::uint32_t openNumber = 0;
    std::uint32_t openTime = 0;
    std::uint32_t closeNumber = 0;
    std::uint32_t closeTime = 0;
    std::uint64_t cashInDrawer = 0;
};

ShiftState shiftState(e2e::SimProcess& sim) {
    const Response r = request(sim, kShiftStatus);
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.data.size(), 29u);
    if (r.data.size() != 29) return {};
    le::Reader in(r.data);
    ShiftState s;
    s.open = in.u8() != 0;
    s.shiftNumber = in.u16();
    s.receipts = in.u16();
    s.openNumber = in.u32();
    s.openTime = in.u32();
    s.closeNumber = in.u32();
    s.closeTime = in.u32();
    s.cashInDrawer = in.u64();
    return s;
}

// Command 48: the device status after the factory number.
struct DeviceState {
    std::uint16_t flags = 0;
    std::uint8_t registrations = 0;
    std::uint32_t lastDocumentNumber = 0;
    std::uint8_t openDocumentType = 0xFF;
};

DeviceState deviceState(e2e::SimProcess& sim) {
    const Response r = request(sim, kDeviceStatus);
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.data.size(), 31u);
    if (r.data.size() != 31) return {};
    DeviceState s;
    s.flags = le::u16(&r.data[10]);
    s.registrations = r.data[12];
    s.lastDocumentNumber = le::u32(&r.data[16]);
    s.openDocumentType = r.data[26];
    return s;
}

// A document opened and closed by the service cashier; the close reply.
Bytes makeDocument(e2e::SimProcess& sim, std::uint8_t open, const Bytes& openData,
                   const std::vector<Bytes>& items, std::uint8_t close, const Bytes& closeData) {
    EXPECT_EQ(request(sim, open, asService(openData)).code, 0) << int(open);
    for (const Bytes& item : items) EXPECT_EQ(request(sim, kAdd, item).code, 0) << int(open);
    const Response r = request(sim, close, closeData);
    EXPECT_EQ(r.code, 0) << int(close);
    return r.data;
}

std::uint32_t numberOf(const Bytes& closeReply) {
    return closeReply.size() >= 4 ? le::u32(closeReply.data()) : 0;
}

TEST(DocumentsE2E, AFiscalLifeNumbersEveryDocumentAndTheStatusFollowsIt) {
    e2e::SimProcess sim;
    ASSERT_TRUE(sim.waitReady()) << sim.output();
    ASSERT_EQ(request(sim, kSetFactoryNumber, asService(toBytes(kFactoryNumber))).code, 0);

    // The registration: nothing prints at open; a close that lacks the tax
    // names it and keeps the report open.
    ASSERT_EQ(request(sim, kOpenRegistration, asService()).code, 0);
    for (const Bytes& text :
         {registrationText1("ООО \"Ромашка\""), registrationText2("г. Москва, ул. Тверская, 1"),
          registrationText3("Касса 1")})
        ASSERT_EQ(request(sim, kAdd, text).code, 0);
    const Bytes numbers = registrationNumbers(kTaxpayerNumber, kStorageNumber);
    Response r = request(sim, kCloseRegistration, numbers);
    EXPECT_EQ(r.code, 37);
    EXPECT_EQ(r.data, (Bytes{0x31, 0x33})) << "tag 13105";
    ASSERT_EQ(request(sim, kAdd, registrationTax(1, 1, 2000, "НДС 20%")).code, 0);

    // A preview prints the report as it would be stored, numbered 1, and
    // stores nothing.
    const std::size_t printedBefore = tape(sim).size();
    ASSERT_EQ(request(sim, kPreviewRegistration, numbers).code, 0);
    const std::string preview = tape(sim).substr(printedBefore);
    EXPECT_NE(preview.find("ПРЕДВАРИТЕЛЬНАЯ ПЕЧАТЬ"), std::string::npos) << preview;
    EXPECT_NE(preview.find("ФД 1"), std::string::npos) << preview;
    EXPECT_NE(preview.find("Ромашка"), std::string::npos) << preview;
    r = request(sim, kDocumentState);
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.data, (Bytes{1})) << "still open";
    EXPECT_EQ(deviceState(sim).lastDocumentNumber, 0u);

    r = request(sim, kCloseRegistration, numbers);
    ASSERT_EQ(r.code, 0);
    ASSERT_EQ(r.data.size(), 12u);
    EXPECT_EQ(numberOf(r.data), 1u);
    EXPECT_NE(le::u32(&r.data[4]), 0u) << "fiscal sign";
    EXPECT_LE(std::abs(std::time(nullptr) - static_cast<std::time_t>(le::u32(&r.data[8]))), 60);
    DeviceState device = deviceState(sim);
    EXPECT_TRUE(device.flags & 0x0002) << "fiscalized";
    EXPECT_EQ(device.registrations, 1);
    EXPECT_EQ(device.lastDocumentNumber, 1u);
    EXPECT_EQ(device.openDocumentType, 0);

    // The shift: each stored document moves the shift's state.
    Bytes reply = makeDocument(sim, kOpenShift, {}, {}, kCloseShiftOpen, {});
    ASSERT_EQ(reply.size(), 14u);
    EXPECT_EQ(numberOf(reply), 2u);
    EXPECT_EQ(le::u16(&reply[12]), 1) << "shift 1";
    ShiftState shift = shiftState(sim);
    EXPECT_TRUE(shift.open);
    EXPECT_EQ(shift.shiftNumber, 1);
    EXPECT_EQ(shift.receipts, 0);
    EXPECT_EQ(shift.openNumber, 2u);
    EXPECT_EQ(shift.openTime, le::u32(&reply[8]));
    EXPECT_EQ(shift.closeNumber, 2u);
    EXPECT_EQ(shift.closeTime, 0u);
    EXPECT_EQ(shift.cashInDrawer, 0u);

    reply = makeDocument(sim, kOpenCashIn, {}, {}, kCloseCashIn, cashAmount(100000));
    ASSERT_EQ(reply.size(), 22u);
    EXPECT_EQ(numberOf(reply), 3u);
    EXPECT_EQ(le::u64(&reply[14]), 100000u) << "the drawer after the cash in";

    reply = makeDocument(sim, kOpenReceipt, receiptOpen(sale),
                         {position({"Хлеб", 15000, 1000}), receiptTextLine("Спасибо!")},
                         kCloseReceipt, receiptPayment(20000));
    ASSERT_EQ(reply.size(), 32u);
    EXPECT_EQ(numberOf(reply), 4u);
    EXPECT_EQ(le::u16(&reply[12]), 1) << "shift";
    EXPECT_EQ(le::u16(&reply[14]), 1) << "receipt number";
    EXPECT_EQ(le::u64(&reply[16]), 15000u) << "total";
    EXPECT_EQ(le::u64(&reply[24]), 5000u) << "change";
    shift = shiftState(sim);
    EXPECT_EQ(shift.receipts, 1);
    EXPECT_EQ(shift.closeNumber, 4u);
    EXPECT_EQ(shift.cashInDrawer, 115000u) << "the cash kept, not the cash tendered";

    reply = makeDocument(sim, kOpenReceipt, receiptOpen(returnOfSale),
                         {position({"Хлеб", 5000, 1000})}, kCloseReceipt, receiptPayment(5000));
    EXPECT_EQ(numberOf(reply), 5u);
    shift = shiftState(sim);
    EXPECT_EQ(shift.receipts, 2);
    EXPECT_EQ(shift.cashInDrawer, 110000u);

    reply = makeDocument(sim, kOpenCashOut, {}, {}, kCloseCashOut, cashAmount(20000));
    EXPECT_EQ(numberOf(reply), 6u);
    shift = shiftState(sim);
    EXPECT_EQ(shift.closeNumber, 6u);
    EXPECT_EQ(shift.cashInDrawer, 90000u);

    const std::size_t beforeZ = tape(sim).size();
    reply = makeDocument(sim, kOpenShiftClose, {}, {}, kCloseShiftClose, {});
    ASSERT_EQ(reply.size(), 14u);
    EXPECT_EQ(numberOf(reply), 7u);
    shift = shiftState(sim);
    EXPECT_FALSE(shift.open);
    EXPECT_EQ(shift.shiftNumber, 1);
    EXPECT_EQ(shift.closeNumber, 7u);
    EXPECT_EQ(shift.closeTime, le::u32(&reply[8]));
    EXPECT_EQ(shift.cashInDrawer, 90000u) << "the drawer carries over";
    const std::string z = tape(sim).substr(beforeZ);
    const std::size_t title = z.find("Z-Отчет");
    const std::size_t body = z.find("ИТОГИ СМЕНЫ");
    const std::size_t footer = z.find("ФД 7");
    EXPECT_NE(title, std::string::npos) << z;
    EXPECT_NE(body, std::string::npos) << z;
    EXPECT_NE(footer, std::string::npos) << z;
    EXPECT_TRUE(title < body && body < footer) << z;

    // The archive close ends the fiscal life: documents that reach the
    // device check are refused with 31.
    reply = makeDocument(sim, kOpenArchiveClose, {}, {}, kCloseArchiveClose, {});
    EXPECT_EQ(numberOf(reply), 8u);
    EXPECT_TRUE(deviceState(sim).flags & 0x0020) << "archiveClosed";
    for (std::uint8_t open : {kOpenRegistration, kOpenShift, kOpenArchiveClose})
        EXPECT_EQ(request(sim, open, asService()).code, 31) << int(open);
    EXPECT_EQ(deviceState(sim).lastDocumentNumber, 8u);
}

TEST(DocumentsE2E, RefusalsKeepOrDropTheOpenDocumentAsTheHostExpects) {
    e2e::SimProcess sim;
    ASSERT_TRUE(sim.waitReady()) << sim.output();
    sendAll(sim, fiscalizationRequests());
    ASSERT_FALSE(HasFatalFailure());

    // Cashier 5 may do reports and shifts, but not sell.
    ASSERT_EQ(request(sim, kWriteRecord, asService(cashierRecord(5, 0x0002, 55, "Петрова"))).code,
              0);
    const Bytes cashier5 = withCashier(5, 55, receiptOpen(sale));
    ASSERT_EQ(request(sim, kOpenShift, withCashier(5, 55)).code, 0);
    ASSERT_EQ(request(sim, kCloseShiftOpen).code, 0);
    EXPECT_EQ(request(sim, kOpenReceipt, cashier5).code, 16);
    EXPECT_EQ(request(sim, kDocumentState).code, 29) << "nothing opened";

    // One document at a time, whatever its type.
    ASSERT_EQ(request(sim, kOpenReceipt, asService(receiptOpen(sale))).code, 0);
    EXPECT_EQ(request(sim, kOpenReceipt, asService(receiptOpen(sale))).code, 28);
    EXPECT_EQ(request(sim, kOpenCashIn, asService()).code, 28);
    ASSERT_EQ(request(sim, kAdd, position({"Молоко", 8990, 2000})).code, 0);
    Response r = request(sim, kDocumentState);
    EXPECT_EQ(r.code, 0);
    ASSERT_EQ(r.data.size(), 14u);
    EXPECT_EQ(r.data[0], 3) << "a receipt";
    EXPECT_EQ(le::u16(&r.data[4]), 1) << "one position";
    EXPECT_EQ(le::u64(&r.data[6]), 17980u) << "total";

    // Closed with the wrong code, or without the payment: still open.
    EXPECT_EQ(request(sim, kCloseShiftClose).code, 30);
    r = request(sim, kCloseReceipt, Bytes(4, 0));
    EXPECT_EQ(r.code, 37);
    EXPECT_EQ(r.data, (Bytes{0x17, 0x2B})) << "tag 11031, the cash";
    EXPECT_EQ(request(sim, kDocumentState).code, 0);
    EXPECT_EQ(request(sim, 23).code, 10) << "23 is no document command";
    EXPECT_EQ(deviceState(sim).openDocumentType, 3);

    // A printer that fails at close drops the receipt.
    setPrinter(sim, "offline");
    EXPECT_EQ(request(sim, kCloseReceipt, receiptPayment(0)).code, 53);
    setPrinter(sim, "ok");
    EXPECT_EQ(request(sim, kCloseReceipt, receiptPayment(0)).code, 29);
    EXPECT_EQ(deviceState(sim).openDocumentType, 0);

    // A position the receipt refuses drops it: tax 3 is not registered.
    ASSERT_EQ(request(sim, kOpenReceipt, asService(receiptOpen(sale))).code, 0);
    Position untaxed{"Сыр", 30000, 1000};
    untaxed.taxNumber = 3;
    EXPECT_EQ(request(sim, kAdd, position(untaxed)).code, 45);
    EXPECT_EQ(deviceState(sim).openDocumentType, 0);
    EXPECT_EQ(request(sim, kDocumentState).code, 29);

    // So does a value too short to carry a tag.
    ASSERT_EQ(request(sim, kOpenReceipt, asService(receiptOpen(sale))).code, 0);
    EXPECT_EQ(request(sim, kAdd, Bytes{0x33, 0x2B, 0x00}).code, 34);
    EXPECT_EQ(request(sim, kDocumentState).code, 29);

    // A cancelled receipt leaves a notice and nothing stored.
    ASSERT_EQ(request(sim, kOpenReceipt, asService(receiptOpen(sale))).code, 0);
    ASSERT_EQ(request(sim, kAdd, position({"Молоко", 8990, 1000})).code, 0);
    const std::size_t printedBefore = tape(sim).size();
    EXPECT_EQ(request(sim, kCancel).code, 0);
    EXPECT_NE(tape(sim).find("ДОКУМЕНТ ОТМЕНЕН", printedBefore), std::string::npos);
    EXPECT_EQ(request(sim, kCancel).code, 29);
    EXPECT_EQ(deviceState(sim).lastDocumentNumber, 2u) << "the registration and the shift open";

    // The refused receipts used no number: the next one is 3, receipt 1.
    const Bytes reply =
        makeDocument(sim, kOpenReceipt, receiptOpen(sale), {position({"Молоко", 8990, 1000})},
                     kCloseReceipt, receiptPayment(0, 8990));
    ASSERT_EQ(reply.size(), 32u);
    EXPECT_EQ(numberOf(reply), 3u);
    EXPECT_EQ(le::u16(&reply[14]), 1);
    EXPECT_EQ(shiftState(sim).cashInDrawer, 0u) << "paid without cash";
}

TEST(DocumentsE2E, ClosingDocumentsLeaveTheInternalStorageForTheNextStart) {
    std::string root;
    Bytes storage;
    {
        e2e::SimProcess sim;
        ASSERT_TRUE(sim.waitReady()) << sim.output();
        sendAll(sim, fiscalizationRequests());
        ASSERT_FALSE(HasFatalFailure());
        makeDocument(sim, kOpenShift, {}, {}, kCloseShiftOpen, {});
        makeDocument(sim, kOpenShiftClose, {}, {}, kCloseShiftClose, {});
        root = sim.root();
        storage = testing_support::fileBytes(root + "/nv/STORAGE.INT");
        ASSERT_FALSE(storage.empty()) << "the registration and the Z report are in it";
    }

    // Complete: the next start neither warns nor forms it again.
    std::size_t printed = testing_support::readFile(root + "/printer/tape.txt").size();
    {
        e2e::SimProcess sim({}, root);
        ASSERT_TRUE(sim.waitReady()) << sim.output();
        const std::string start = tape(sim).substr(printed);
        EXPECT_EQ(start.find("ВНИМАНИЕ!"), std::string::npos) << start;
        EXPECT_NE(start.find("ЗН 0123456789"), std::string::npos) << start;
        EXPECT_FALSE(shiftState(sim).open);
        EXPECT_EQ(testing_support::fileBytes(root + "/nv/STORAGE.INT"), storage);
        printed = tape(sim).size();
    }

    // A lock left beside it marks a formation that did not finish: the next
    // start warns and forms it again from the archive, to the same records.
    std::ofstream(root + "/nv/STORAGE.INT.LOCK").put('\0');
    e2e::SimProcess sim({}, root);
    ASSERT_TRUE(sim.waitReady()) << sim.output();
    const std::string start = tape(sim).substr(printed);
    const std::size_t warning = start.find("ВНИМАНИЕ!");
    EXPECT_NE(warning, std::string::npos) << start;
    EXPECT_LT(warning, start.find("ЗН 0123456789")) << "the warning before the greeting";
    EXPECT_EQ(testing_support::fileBytes(root + "/nv/STORAGE.INT"), storage);
    EXPECT_FALSE(std::filesystem::exists(root + "/nv/STORAGE.INT.LOCK"));
}

}  // namespace
