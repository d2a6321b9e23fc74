// Documents read back from an archive whose bytes were changed: a card that
// went bad, a torn write, a hand edit. A register with a fiscal life behind
// it starts on the changed card and is asked for everything it reads back:
// the four counter blocks and a copy of every document.
// Properties beyond not crashing: a counter block is either read (0) or
// refused as unreadable (5), never anything else, and afterwards the
// register still serves document commands with no document open.
//
// Input: patches, each [region u8][offset u16 LE][length u8][bytes]; the
// region (0 slots, 1 header copies, records and counters, 2 document data)
// is taken modulo 3 and the offset modulo the region's used size.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>

#include "fuzz/fuzz_support.h"
#include "state/status.h"
#include "storage/archive_layout.h"
#include "tests/crash/fiscal_life.h"
#include "tests/crash/register_under_test.h"

namespace al = archive_layout;
namespace fs = std::filesystem;

namespace {

constexpr const char* kArchive = "/mnt/sd/V0XD24TX";
constexpr std::uint8_t kDocumentState = 176, kCopy = 178;
constexpr int kNoOpenDocument = 29;
constexpr std::uint8_t kCounterCommands[] = {54, 55, 56, 57};

struct Region {
    std::uint64_t offset;
    std::uint64_t size;
};

struct Fixture {
    crash::RegisterUnderTest reg;
    std::uint32_t documents = 0;
    Region regions[3]{};
    // Every file of the board as the life left it (the archive by region).
    std::map<std::string, std::string> files;
    std::map<int, std::string> regionBytes;
};

std::string readRange(const std::string& path, std::uint64_t offset, std::uint64_t size) {
    std::ifstream in(path, std::ios::binary);
    in.seekg(static_cast<std::streamoff>(offset));
    std::string bytes(size, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(size));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return bytes;
}

void writeRange(const std::string& path, std::uint64_t offset, const std::string& bytes) {
    std::fstream out(path, std::ios::binary | std::ios::in | std::ios::out);
    out.seekp(static_cast<std::streamoff>(offset));
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

bool isBoardFile(const fs::directory_entry& e, const std::string& archive) {
    return e.is_regular_file() && !e.is_symlink() && e.path() != archive &&
           e.path().string().find("/printer/") == std::string::npos;
}

Fixture& fixture() {
    static Fixture* f = [] {
        auto* made = new Fixture;
        crash::RegisterUnderTest& reg = made->reg;
        // The life as the crash sweep runs it: a clock that moves a minute
        // a step, the factory number and reference records first.
        std::int64_t clock = 1'700'000'000;
        reg.board().clock = clock;
        reg.start();
        reg.send(fiscal::kSetFactoryNumber, fiscal::asService(toBytes(fiscal::kFactoryNumber)));
        reg.send(fiscal::kWriteRecord, fiscal::asService(fiscal::sectionRecord(2, "Бакалея")));
        reg.send(fiscal::kWriteRecord,
                 fiscal::asService(fiscal::percentDiscountRecord(3, 1000, "Скидка 10%")));
        for (const crash::Step& step : crash::fiscalLife()) {
            reg.board().clock = clock += 60;
            for (const fiscal::Request& r : step.requests) reg.send(r.command, r.data);
        }
        made->documents = FrStatus::status().lastDocumentNumber();
        reg.drop();

        const std::string archive = reg.file(kArchive);
        const std::uint64_t end = fs::file_size(archive);
        made->regions[0] = {al::kSlotsOffset, std::max<std::uint64_t>(1, made->documents) * al::kSlotSize};
        made->regions[1] = {al::kLastShiftOpenCopy, al::kDepartmentTotals + 4 * 160 - al::kLastShiftOpenCopy};
        made->regions[2] = {al::kDataArea, std::max<std::uint64_t>(1, end - al::kDataArea)};
        for (int i = 0; i < 3; ++i)
            made->regionBytes[i] = readRange(archive, made->regions[i].offset, made->regions[i].size);
        for (const auto& e : fs::recursive_directory_iterator(reg.board().root))
            if (isBoardFile(e, archive)) made->files[e.path()] = readRange(e.path(), 0, e.file_size());
        return made;
    }();
    return *f;
}

// The board as the life left it.
void restore(Fixture& f) {
    const std::string archive = f.reg.file(kArchive);
    fs::resize_file(archive, f.regions[2].offset + f.regionBytes[2].size());
    for (int i = 0; i < 3; ++i) writeRange(archive, f.regions[i].offset, f.regionBytes[i]);
    std::vector<fs::path> extra;
    for (const auto& e : fs::recursive_directory_iterator(f.reg.board().root))
        if (isBoardFile(e, archive) && !f.files.count(e.path())) extra.push_back(e.path());
    for (const fs::path& p : extra) fs::remove(p);
    for (const auto& [path, bytes] : f.files) std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::dropDiagnostics();
    fixture();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Fixture& f = fixture();
    const std::string archive = f.reg.file(kArchive);
    for (std::size_t at = 0; at + 4 <= size;) {
        const Region& region = f.regions[data[at] % 3];
        const std::uint64_t offset = region.offset + le::u16(data + at + 1) % region.size;
        const std::size_t length = std::min<std::size_t>(data[at + 3], size - at - 4);
        writeRange(archive, offset, std::string(reinterpret_cast<const char*>(data + at + 4), length));
        at += 4 + length;
    }

    f.reg.start();
    for (std::uint8_t command : kCounterCommands) {
        const CoreApiResult counters = f.reg.send(command, {});
        FUZZ_CHECK(counters.code == 0 || counters.code == 5);
    }
    for (std::uint32_t number = 1; number <= f.documents + 1; ++number) {
        Bytes request{20};
        le::put32(request, 271828);
        le::put32(request, number);
        f.reg.send(kCopy, request);
    }
    // Still serving documents after all of it: none is open.
    FUZZ_CHECK(f.reg.send(kDocumentState, {}).code == kNoOpenDocument);
    f.reg.drop();
    restore(f);
    return 0;
}
