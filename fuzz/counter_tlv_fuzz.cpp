// Counter containers as the archive gives them back: any children, any
// lengths. What the register writes from what it read reads back the same
// and is written again byte for byte.

#include <cstddef>
#include <cstdint>

#include "documents/counter_tlv.h"
#include "encoding/tags.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::dropDiagnostics();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    // The first byte picks the container; the rest is its value.
    Tlv container;
    container.data.assign(data + 1, data + size);
    switch (data[0] % 3) {
        case 0:
            container.tag = tags::kShiftCounters;
            break;
        case 1:
            container.tag = tags::kRegistrationPeriodCounters;
            break;
        default:
            container.tag = tags::kGrossCounters;
            break;
    }

    if (container.tag == tags::kGrossCounters) {
        GrossCounterSet read{};
        tlvToCounters(container, read);
        const Tlv written = countersToTlv(read);
        GrossCounterSet again{};
        tlvToCounters(written, again);
        FUZZ_CHECK(countersToTlv(again).encode() == written.encode());
        FUZZ_CHECK(GrossCounterSet::decode(read.encode().data()) == read);
    } else {
        CounterSet read{};
        tlvToCounters(container, read);
        const Tlv written = countersToTlv(container.tag, read);
        CounterSet again{};
        tlvToCounters(written, again);
        FUZZ_CHECK(countersToTlv(container.tag, again).encode() == written.encode());
        FUZZ_CHECK(CounterSet::decode(read.encode().data()) == read);
    }
    return 0;
}
