// A receipt from open through add and close, its store, its rebuild from
// what was stored, its copy and its accounting. Properties: a refused value
// changes nothing; what is added keeps the receipt within the archive's
// room; no text from the host commands the printer; what close accepts can
// be stored; the rebuilt receipt prints its copy as the original printed
// (but for blank text lines and empty extra lines, which are not stored,
// and the label of a table discount, see below) and moves the counters
// as the original does.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "documents/receipt_doc.h"
#include "fuzz/document_input.h"
#include "fuzz/fuzz_support.h"
#include "fuzz/sample_register.h"
#include "reports/document_copy.h"
#include "storage/archive_limits.h"

namespace {

struct Sums {
    Bytes state;
    std::map<std::uint8_t, Decimal> taxes, sections;
    std::size_t lines = 0;
    std::size_t stored = 0;
    bool operator==(const Sums&) const = default;
};

Sums sumsOf(const ReceiptDoc& r) {
    return {r.stateReply(), r.taxSums(), r.sectionSums(), r.textLines().size(),
            r.storedDataSize()};
}

// Every command byte of a printed text starts one of the layout's own
// commands (ESC 3 n, ESC a n, ESC ! n, GS B n, the cut ESC i); below 0x20
// there are only its line feeds and tabs besides: no text from the host
// can command the printer.
bool onlyLayoutCommands(std::string_view printed) {
    for (std::size_t i = 0; i < printed.size(); ++i) {
        const auto c = static_cast<unsigned char>(printed[i]);
        const char next = i + 1 < printed.size() ? printed[i + 1] : '\0';
        if (c == 0x1B && next == 'i') {
            i += 1;
        } else if ((c == 0x1B && (next == '3' || next == 'a' || next == '!')) ||
                   (c == 0x1D && next == 'B')) {
            if (i + 2 >= printed.size()) return false;
            i += 2;
        } else if ((c < 0x20 && c != '\n' && c != '\t') || c == 0x7F) {
            return false;
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::dropDiagnostics();
    fuzz::sampleRegister();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto input = fuzz::readDocumentInput(data, size);
    if (!input) return 0;
    const sample::Device& device = fuzz::sampleRegister();

    auto receipt = std::make_shared<ReceiptDoc>(&device.model, &device.registration, device.cashier);
    const Bytes openData{input->open};
    if (receipt->applyOpenData(openData) != ResultCode::Success) return 0;

    std::string printed;  // what the original printed as it was filled
    for (const Tlv& value : input->items) {
        const Sums before = sumsOf(*receipt);
        const std::size_t positionsBefore = receipt->positions().size();
        std::string reply;
        if (receipt->addItem(value, reply) != ResultCode::Success) {
            FUZZ_CHECK(sumsOf(*receipt) == before);
            continue;
        }
        FUZZ_CHECK(receipt->storedDataSize() <= archive_limits::kMaxReceiptDataBytes);
        // A text line without text prints a blank line but is not stored,
        // so its copy has no such line.
        const bool blankTextLine = receipt->textLines().size() > before.lines &&
                                   !receipt->textLines().back().usable();
        if (blankTextLine) continue;
        // Nor is a position's extra line sent empty: the original ends the
        // position with a blank line, the copy does not.
        const bool blankExtraLine = receipt->positions().size() > positionsBefore &&
                                    receipt->positions().back().extraLine == std::string();
        if (blankExtraLine) {
            FUZZ_CHECK(reply.ends_with("\n\n"));
            reply.pop_back();
        }
        printed += reply;
    }
    if (!input->closeData) return 0;

    std::uint16_t missing = 0;
    if (receipt->close(1'700'000'000, device.key, *input->closeData, missing) != ResultCode::Success)
        return 0;
    const sample::Stored stored = sample::storeAndRebuild(*receipt, device, 12, 1);
    FUZZ_CHECK(stored.preparation == Preparation::ready);
    const auto rebuilt = std::dynamic_pointer_cast<ReceiptDoc>(stored.rebuilt);
    FUZZ_CHECK(rebuilt != nullptr);

    FUZZ_CHECK(onlyLayoutCommands(printed));
    FUZZ_CHECK(onlyLayoutCommands(receipt->printHeader() + receipt->printFooter(true) +
                                  receipt->summaryHead() + receipt->summaryTail()));
    // The stored position keeps a table discount's amount, not the table
    // entry: its copy names the discount "СКИДКА" without the rate the
    // original printed. Every other line of the copy is the original's.
    const bool tableDiscount =
        std::any_of(receipt->positions().begin(), receipt->positions().end(),
                    [](const ReceiptOperation& p) { return p.hasTableDiscount(); });
    if (!tableDiscount) FUZZ_CHECK(report::receiptBody(*rebuilt) == printed);
    FUZZ_CHECK(rebuilt->printHeader() == receipt->printHeader());
    FUZZ_CHECK(rebuilt->printFooter(true) == receipt->printFooter(true));
    FUZZ_CHECK(rebuilt->summaryHead() == receipt->summaryHead());
    FUZZ_CHECK(rebuilt->summaryTail() == receipt->summaryTail());

    CounterSet original{}, again{};
    receipt->accountInto(original);
    rebuilt->accountInto(again);
    FUZZ_CHECK(again == original);
    GrossCounterSet grossOriginal{}, grossAgain{};
    receipt->accountInto(grossOriginal);
    rebuilt->accountInto(grossAgain);
    FUZZ_CHECK(grossAgain == grossOriginal);
    DepartmentTotals departmentsOriginal{}, departmentsAgain{};
    receipt->accountInto(departmentsOriginal);
    rebuilt->accountInto(departmentsAgain);
    FUZZ_CHECK(departmentsAgain == departmentsOriginal);
    return 0;
}
