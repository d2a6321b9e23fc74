// The document commands on a board without an archive card or a printer
// line: the order in which an open is refused, and how the open document
// lives and goes under the other commands. The whole life with a printer
// and an archive is in the end-to-end tests.

#include "documents/documents_worker.h"

#include <gtest/gtest.h>

#include "config/identity.h"
#include "config/sections.h"
#include "documents/make_document.h"
#include "encoding/tags.h"
#include "state/status.h"
#include "tests/support/temp_board.h"
#include "tests/unit/documents/sample_device.h"

namespace {

constexpr std::uint8_t kOpenReceipt = 21;
constexpr std::uint8_t kOpenShift = 17;

// Cashier 5 may do shifts and reports but not sell.
constexpr std::uint8_t kShiftCashier = 5;
constexpr std::uint32_t kShiftCashierPassword = 55;

Bytes withPrefix(std::uint8_t cashier, std::uint32_t password, const Bytes& payload) {
    Bytes data{cashier};
    le::put32(data, password);
    le::putBytes(data, payload);
    return data;
}

CoreTransaction transaction(std::uint8_t command, const Bytes& data = {}) {
    CoreTransaction t;
    t.command = command;
    t.data = data;
    return t;
}

class DocumentsWorkerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        cashiers().prepareCashiers();
        sections().loadSections();
        Cashier shifts;
        shifts.number = kShiftCashier;
        shifts.rights = kRightReports;
        shifts.password = kShiftCashierPassword;
        shifts.name = sample::cp("Петрова");
        ASSERT_TRUE(cashiers().writeCashier(shifts));
        identity::store().setDeviceKey(device.key);
        identity::store().publishRegistrationData(device.registration);
    }

    // Makes an opened receipt the open document, as an open command would.
    std::shared_ptr<BaseWorkDocument> openReceipt() {
        auto receipt =
            makeDocument(FrStatus::receiptDoc, &device.model, &device.registration, device.cashier);
        EXPECT_EQ(receipt->applyOpenData(Bytes{0}), ResultCode::Success);
        MutexLock hold(current.lock);
        current.set(receipt);
        return receipt;
    }

    bool documentOpen() {
        MutexLock hold(current.lock);
        return current.get() != nullptr;
    }

    int code(CoreApiResult (DocumentsWorker::*command)(const CoreTransaction&),
             std::uint8_t commandCode, const Bytes& data = {}) {
        return (worker.*command)(transaction(commandCode, data)).code;
    }

    testing_support::ScopedTempBoard board;
    sample::Device device = sample::device();
    CurrentDocument current;
    // No card, no printer line: printing answers 53.
    DocumentsWorker worker{nullptr, nullptr, nullptr, current};
};

TEST_F(DocumentsWorkerTest, OpenIsRefusedStepByStepAndARefusalOpensNothing) {
    FrStatus::Store& status = FrStatus::status();
    const Bytes shiftCashier = withPrefix(kShiftCashier, kShiftCashierPassword, Bytes{0});
    const auto open = [&](std::uint8_t command, const Bytes& data) {
        return code(&DocumentsWorker::open, command, data);
    };

    EXPECT_EQ(open(kOpenShift, Bytes{kShiftCashier, 55, 0}), 19) << "no whole prefix";
    EXPECT_EQ(open(kOpenShift, withPrefix(kShiftCashier, 56, {})), 18) << "wrong password";
    EXPECT_EQ(open(kOpenShift, shiftCashier), 13) << "no factory number yet";

    identity::store().publishFactoryData(device.model);
    status.setLastDocumentTime(static_cast<std::uint32_t>(board.board().clock + 1));
    EXPECT_EQ(open(kOpenShift, shiftCashier), 23) << "the clock is behind the last document";
    status.setLastDocumentTime(0);

    openReceipt();
    EXPECT_EQ(open(kOpenShift, shiftCashier), 28) << "a receipt is open";
    {
        MutexLock hold(current.lock);
        current.drop();
    }

    EXPECT_EQ(open(kOpenReceipt, shiftCashier), 16) << "no right to sell";
    EXPECT_EQ(open(kOpenShift, shiftCashier), 6) << "the shift-open check: no room";
    status.setFreeDocumentPlaces(10);
    EXPECT_EQ(open(kOpenShift, shiftCashier), 15) << "the device check: no card";
    status.setFlag(FrStatus::archiveMounted | FrStatus::archiveReady, true);
    EXPECT_EQ(open(kOpenShift, shiftCashier), 53) << "the printer does not answer";

    EXPECT_FALSE(documentOpen());
    EXPECT_EQ(status.openDocumentType(), 0);
}

TEST_F(DocumentsWorkerTest, ALineThatCannotBePrintedDropsTheDocumentACancelAlwaysAnswers) {
    EXPECT_EQ(code(&DocumentsWorker::state, 176), 29);
    openReceipt();
    EXPECT_EQ(code(&DocumentsWorker::preview, 32), 30) << "only a registration is previewed";
    EXPECT_TRUE(documentOpen());

    // The receipt takes the line, the printer cannot print it: it goes.
    Bytes line;
    Tlv().setText(tags::kAdditionalLineText, sample::cp("Спасибо")).encodeTo(line);
    EXPECT_EQ(code(&DocumentsWorker::add, 7, line), 53);
    EXPECT_FALSE(documentOpen());
    EXPECT_EQ(FrStatus::status().openDocumentType(), 0);

    // The cancel notice cannot be printed either; the cancel is done all the same.
    openReceipt();
    EXPECT_EQ(code(&DocumentsWorker::cancel, 6), 0);
    EXPECT_FALSE(documentOpen());
    EXPECT_EQ(code(&DocumentsWorker::cancel, 6), 29);
}

}  // namespace
