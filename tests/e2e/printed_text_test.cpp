// Texts a host sends are printed as text: printer commands inside a name
// cannot wedge the printer or reach a fiscal document; a copy prints the
// taxes its original printed; a registration tax of an unknown kind is
// refused.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "tests/e2e/fiscal_requests.h"
#include "tests/e2e/sim_process.h"
#include "tests/support/file_text.h"

namespace {

using hostkit::Response;
using namespace fiscal;
using namespace std::string_literals;

constexpr std::uint8_t kCopy = 178;
constexpr std::uint8_t kRawPrint = 196;
constexpr std::uint16_t kPositionTaxTag = 11199;

// GS 8 L announcing 0x7FFFFFFF bytes of graphics data after "AB".
const std::string kWedge = "AB\x1D\x38\x4C\xFF\xFF\xFF\x7F"s;

// A position whose name is `rawName` byte for byte (not converted).
Bytes positionNamed(const std::string& rawName) {
    const std::string placeholder(rawName.size(), 'Q');
    Bytes item = position({.name = placeholder, .priceKopecks = 1'000});
    const auto at = std::search(item.begin(), item.end(), placeholder.begin(), placeholder.end());
    std::copy(rawName.begin(), rawName.end(), at);
    return item;
}

// A position naming tax `first` and then tax `second` (the last one counts).
Bytes positionTaxedTwice(std::uint8_t first, std::uint8_t second) {
    Bytes item = position({.name = "Чай", .priceKopecks = 12'000, .taxNumber = first});
    const Bytes child = tagged(kPositionTaxTag, {first});
    auto at = std::search(item.begin(), item.end(), child.begin(), child.end());
    const Bytes repeated = tagged(kPositionTaxTag, {second});
    item.insert(at + static_cast<std::ptrdiff_t>(child.size()), repeated.begin(), repeated.end());
    le::store16(&item[2], static_cast<std::uint16_t>(item.size() - 4));  // the container's length
    return item;
}

class PrintedTextE2E : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(sim.waitReady()) << sim.output(); }

    Response request(std::uint8_t command, const Bytes& data = {}) {
        Response r;
        std::string error;
        sim.client().drain();
        EXPECT_TRUE(sim.client().request(command, data, r, error, 0x7E7, 60000)) << error;
        return r;
    }

    // The registration of fiscalizationRequests with `extraTaxes` added
    // before its close; the codes of those additions.
    std::vector<int> fiscalize(const std::vector<Bytes>& extraTaxes = {}) {
        std::vector<int> codes;
        for (const Request& r : fiscalizationRequests()) {
            if (r.command == kCloseRegistration)
                for (const Bytes& tax : extraTaxes) codes.push_back(request(kAdd, tax).code);
            EXPECT_EQ(request(r.command, r.data).code, 0) << int(r.command);
        }
        return codes;
    }

    void openShift() {
        EXPECT_EQ(request(kOpenShift, asService()).code, 0);
        EXPECT_EQ(request(kCloseShiftOpen).code, 0);
    }

    // A sale of `items` paid in cash; the close's code, and its document
    // number in `number`.
    int sale(const std::vector<Bytes>& items, std::uint32_t* number = nullptr) {
        EXPECT_EQ(request(kOpenReceipt, asService(receiptOpen(ReceiptKind::sale))).code, 0);
        for (const Bytes& item : items) EXPECT_EQ(request(kAdd, item).code, 0);
        const Response r = request(kCloseReceipt, receiptPayment(0));
        if (number && r.data.size() >= 4) *number = le::u32(r.data.data());
        return r.code;
    }

    std::string file(const char* name) const {
        return testing_support::readFile(sim.root() + "/printer/" + name);
    }
    // The tape printed while `print` ran.
    std::string printedBy(const std::function<void()>& print) {
        const std::size_t before = file("tape.txt").size();
        print();
        return file("tape.txt").substr(before);
    }

    e2e::SimProcess sim;
};

TEST_F(PrintedTextE2E, PrinterCommandsInANamePrintHarmlesslyAndTheNextReceiptPrints) {
    fiscalize();
    openShift();
    const std::size_t rawBefore = file("raw.bin").size();
    std::string printed = printedBy([&] { EXPECT_EQ(sale({positionNamed(kWedge)}), 0); });
    EXPECT_NE(printed.find("AB■8L"), std::string::npos) << printed;
    EXPECT_NE(printed.find("НАЛИЧНЫМИ"), std::string::npos) << "the receipt is on paper";
    EXPECT_EQ(file("raw.bin").find("\x1D\x38\x4C"s, rawBefore), std::string::npos)
        << "no data block was announced to the printer";

    printed = printedBy([&] { EXPECT_EQ(sale({position({.name = "Хлеб", .priceKopecks = 4'500})}), 0); });
    EXPECT_NE(printed.find("Хлеб"), std::string::npos) << printed;

    // A raw write may still wedge the printer: the next receipt finds it
    // silent and brings it back before printing.
    EXPECT_EQ(request(kRawPrint, toBytes(kWedge)).code, 0);
    printed = printedBy([&] { EXPECT_EQ(sale({position({.name = "Рис", .priceKopecks = 1'900})}), 0); });
    EXPECT_NE(printed.find("Рис"), std::string::npos) << printed;
}

TEST_F(PrintedTextE2E, ACopyPrintsTheTaxesTheOriginalPrinted) {
    EXPECT_EQ(fiscalize({registrationTax(2, 1, 1000, "НДС 10%")}), std::vector<int>{0});
    openShift();
    std::uint32_t number = 0;
    const std::string original =
        printedBy([&] { EXPECT_EQ(sale({positionTaxedTwice(2, 1)}, &number), 0); });
    ASSERT_NE(number, 0u);
    Bytes copyRequest;
    le::put32(copyRequest, number);
    const std::string copy =
        printedBy([&] { EXPECT_EQ(request(kCopy, asService(copyRequest)).code, 0); });
    EXPECT_NE(original.find("НДС 20%"), std::string::npos) << original;
    EXPECT_NE(copy.find("НДС 20%"), std::string::npos) << copy;
    EXPECT_EQ(original.find("НДС 10%"), std::string::npos) << original;
    EXPECT_EQ(copy.find("НДС 10%"), std::string::npos) << copy;
}

TEST_F(PrintedTextE2E, ARegistrationTaxOfAnUnknownKindIsRefused) {
    EXPECT_EQ(request(kSetFactoryNumber, asService(toBytes(kFactoryNumber))).code, 0);
    EXPECT_EQ(request(kOpenRegistration, asService()).code, 0);
    EXPECT_EQ(request(kAdd, registrationTax(2, 7, 1000, "НДС 10%")).code, 35);
}

}  // namespace
