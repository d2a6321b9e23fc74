// The internal storage file as a torn write, a bad card or a hand edit may
// leave it: any bytes. Every walk and sum reads whole records only, and a
// record appended after any tail is the file's last whole record.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>

#include "fuzz/fuzz_support.h"
#include "storage/internal_storage.h"
#include "tests/support/temp_board.h"

namespace is = internal_storage;

namespace {

testing_support::ScopedTempBoard& board() {
    static auto* scoped = new testing_support::ScopedTempBoard;
    return *scoped;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::dropDiagnostics();
    std::filesystem::create_directories(board().file("/nv"));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = board().file(is::kStoragePath);
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    const std::size_t whole = size / is::kRecordSize;

    std::vector<DocDescriptor> headers;
    FUZZ_CHECK(is::readHeaders(headers));
    FUZZ_CHECK(headers.size() == whole);
    FUZZ_CHECK(is::lastRecordNumber() == (whole ? headers.back().number : 0));
    FUZZ_CHECK(is::appendOffset() == static_cast<std::int64_t>(whole * is::kRecordSize));

    DocDescriptor closing;
    if (is::lastShiftCloseHeader(closing) && whole)
        FUZZ_CHECK(closing.type == 2 || closing == headers.front());
    CounterSet sinceRegistration{};
    is::sumSinceRegistration(sinceRegistration);
    GrossCounterSet gross{};
    is::sumGross(gross);
    DocDescriptor first, last;
    GrossCounterSet range{};
    if (is::sumShiftRange(0, 0xFFFF, first, last, range)) FUZZ_CHECK(first.type == 2 && last.type == 2);
    is::sumPeriod(0, 0xFFFFFFFF, first, last, range);

    // The next record goes after the whole records, over any torn tail.
    DocDescriptor shiftClose;
    shiftClose.type = 2;
    shiftClose.number = 0x10203040;
    shiftClose.shiftNumber = 9;
    shiftClose.headerCrc = shiftClose.computeHeaderCrc();
    CounterSet counters{};
    counters.receiptCount = 3;
    FUZZ_CHECK(is::appendRecord(shiftClose, &counters));
    std::vector<DocDescriptor> after;
    FUZZ_CHECK(is::readHeaders(after));
    FUZZ_CHECK(after.size() == whole + 1 && after.back() == shiftClose);
    FUZZ_CHECK(is::lastRecordNumber() == shiftClose.number);
    return 0;
}
