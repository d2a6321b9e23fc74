// The registration report: its texts and taxes added one by one, its close,
// its store and its rebuild. Properties: a refused value leaves the
// registration record as it was; an accepted tax is held as it was sent
// (kind, rate); what close accepts can be stored, and the rebuilt report
// holds the same valid taxes.

#include <cstddef>
#include <cstdint>
#include <optional>

#include "documents/fiscalization_document.h"
#include "encoding/tags.h"
#include "fuzz/document_input.h"
#include "fuzz/fuzz_support.h"
#include "fuzz/sample_register.h"

namespace {

bool isTaxTag(std::uint16_t tag) { return tag >= tags::kTaxFirst && tag <= tags::kTaxLast; }

// The tax as the host sent it: its children read without any clamping (a
// repeated child: the last one counts).
void checkTaxKept(const Tlv& sent, const Tax& held) {
    std::optional<std::uint8_t> kind;
    std::optional<std::uint16_t> rate;
    for (const Tlv& child : decodeList(sent)) {
        if (child.tag == tags::kTaxKind) kind = child.getU8();
        if (child.tag == tags::kTaxRate) rate = child.getU16() & Tax::kRateMask;
    }
    if (kind) FUZZ_CHECK(held.kind == *kind);
    if (rate) FUZZ_CHECK(held.rate == *rate);
    FUZZ_CHECK(!held.name.empty());
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

    auto report = std::make_shared<FiscalizationDocument>(&device.model, device.cashier);
    for (const Tlv& value : input->items) {
        const Bytes before = report->registrationRecord().encode();
        std::string reply;
        if (report->addItem(value, reply) != ResultCode::Success) {
            FUZZ_CHECK(report->registrationRecord().encode() == before);
            continue;
        }
        if (isTaxTag(value.tag))
            checkTaxKept(value, report->registrationRecord().taxAt(value.tag - tags::kTaxFirst));
    }
    if (!input->closeData) return 0;

    std::uint16_t missing = 0;
    if (report->close(1'700'000'000, device.key, *input->closeData, missing) != ResultCode::Success)
        return 0;
    const sample::Stored stored = sample::storeAndRebuild(*report, device, 1, 1);
    FUZZ_CHECK(stored.preparation == Preparation::ready);
    FUZZ_CHECK(stored.rebuilt != nullptr);
    for (unsigned i = 0; i < Tax::kCount; ++i) {
        const Tax was = report->registrationRecord().taxAt(i);
        const Tax is = stored.rebuilt->registrationRecord().taxAt(i);
        // Every valid tax the report holds is stored: none is dropped.
        if (was.isValid())
            FUZZ_CHECK(is.kind == was.kind && is.rate == was.rate && is.name == was.name);
    }
    return 0;
}
