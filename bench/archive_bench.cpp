// The document archive on this machine's disk, as a register fills it over
// years: a registration, then shifts of 100 documents (shift open, receipts
// of several positions paid in cash or by card, cash in and cash out now
// and then, shift close), stored through the archive exactly as the
// document commands store them. Prints stores per second, write calls and
// bytes per stored document (counted through the file seam), the archive's
// size, the time to form the internal storage from scratch beside the time
// to read the archive once sequentially (from the page cache, then from the
// disk), the register's start-up over the
// archive with and without forming, and the speed of adding positions to a
// receipt of 200.
//
//   bench_archive [documents]      (default 100 000)

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "common/cp866.h"
#include "config/cashiers.h"
#include "config/identity.h"
#include "config/sections.h"
#include "core/core_worker.h"
#include "documents/base_work_document.h"
#include "documents/make_document.h"
#include "encoding/tags.h"
#include "platform/files.h"
#include "state/status.h"
#include "storage/document_archive.h"
#include "storage/internal_storage.h"
#include "tests/support/temp_board.h"

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

struct Device {
    Bytes key = Bytes(16, 0x5A);
    ModelData model;
    RegData registration;
    Cashier cashier;
};

Device makeDevice() {
    Device d;
    d.model.setSerial("0000000042");
    d.model.sealModel(toString(d.key));
    d.cashier = Cashier{20, kAllRights, cp866::fromUtf8("Иванова"), 271828};
    identity::store().setDeviceKey(d.key);
    identity::store().publishFactoryData(d.model);
    return d;
}

Tlv position(int i) {
    std::vector<Tlv> children{
        Tlv().setText(tags::kPositionName, cp866::fromUtf8("Товар ") + std::to_string(i)),
        Tlv().setVarInt(tags::kPrice, 1000 + 37 * (i % 50)),
        Tlv().setVarDecimal(tags::kQuantity, Decimal(1000, 1000 + 250 * (i % 4))),
        Tlv().setU8(tags::kPositionTaxNumber, 1),
        Tlv().setU8(tags::kSectionNumber, static_cast<std::uint8_t>(1 + i % 3))};
    return Tlv().setContainer(tags::kPosition, children);
}

Bytes amount(std::int64_t kopecks) {
    Bytes b;
    le::put64(b, static_cast<std::uint64_t>(kopecks));
    return b;
}

// Makes, fills and closes a document of `type` the way the document
// commands do, then stores it; exits on any refusal.
class Register {
  public:
    Register(DocumentArchive& archive, const Device& device) : archive_(archive), device_(device) {}

    // `closeData` may be left empty for a receipt: it is then paid by card
    // (every third receipt) or in cash with change.
    void store(std::uint8_t type, const Bytes& openData, const std::vector<Tlv>& items,
               Bytes closeData) {
        const auto reg = identity::store().registrationData();
        auto doc =
            makeDocument(type, &device_.model, type == 1 ? nullptr : reg.get(), device_.cashier);
        check(doc->applyOpenData(openData), "open", type);
        for (const Tlv& item : items) {
            std::string reply;
            check(doc->addItem(item, reply), "add", type);
        }
        if (type == FrStatus::receiptDoc && closeData.empty()) closeData = payments(*doc);
        std::uint16_t missing = 0;
        now_ += 7;
        if (type == 1) doc->setRegistrationRecordNumber(archive_.readArchiveIdentifier());
        check(doc->close(now_, device_.key, closeData, missing), "close", type);
        const std::uint64_t writes = platform::writeLog().writes();
        const std::uint64_t bytes = platform::writeLog().bytes();
        check(archive_.storeDocument(doc), "store", type);
        ++byType[type].documents;
        byType[type].writes += platform::writeLog().writes() - writes;
        if (type == FrStatus::receiptDoc) {
            ++receipts;
            receiptWrites += platform::writeLog().writes() - writes;
            receiptBytes += platform::writeLog().bytes() - bytes;
        }
        afterStore(*doc);
    }

    std::uint64_t receipts = 0, receiptWrites = 0, receiptBytes = 0;
    struct TypeWrites {
        std::uint64_t documents = 0, writes = 0;
    };
    std::map<int, TypeWrites> byType;

  private:
    Bytes payments(const BaseWorkDocument& receipt) {
        // The state reply holds the total at byte 6.
        const std::int64_t total =
            static_cast<std::int64_t>(le::u64(receipt.stateReply().data() + 6));
        const bool byCard = ++payments_ % 3 == 0;
        Bytes data = amount(byCard ? 0 : total + 1'000);
        const Bytes nonCash = amount(byCard ? total : 0);
        data.insert(data.end(), nonCash.begin(), nonCash.end());
        return data;
    }

    static void check(ResultCode rc, const char* step, int type) {
        if (rc == ResultCode::Success) return;
        std::fprintf(stderr, "bench_archive: %s of a type %d document answered %d\n", step, type,
                     static_cast<int>(rc));
        std::exit(1);
    }

    // What the document commands keep in the device status.
    void afterStore(const BaseWorkDocument& doc) {
        FrStatus::Store& s = FrStatus::status();
        if (doc.documentType() == FrStatus::shiftOpenDoc) {
            s.setFlag(FrStatus::shiftOpen, true);
            s.setShiftReceipts(0);
            s.setOpenTime(doc.dateTime());
        }
        if (doc.documentType() == FrStatus::shiftCloseDoc) s.setFlag(FrStatus::shiftOpen, false);
        if (doc.documentType() == FrStatus::receiptDoc)
            s.setShiftReceipts(static_cast<std::uint16_t>(s.shiftReceipts() + 1));
        s.setShiftNumber(doc.shiftNumber());
        s.setLastDocumentTime(doc.dateTime());
        CounterSet shift;
        if (archive_.readCounters(DocumentArchive::Counters::shift, shift))
            s.setCashInDrawer(shift.cashInDrawer);
    }

    DocumentArchive& archive_;
    const Device& device_;
    std::uint32_t now_ = 1'800'000'000;
    int payments_ = 0;
};

void registerDevice(Register& reg) {
    Tax vat;
    vat.kind = Tax::kContained;
    vat.rate = 2000;
    vat.name = cp866::fromUtf8("НДС 20%");
    Bytes numbers = toBytes("770123456789");
    le::putText(numbers, "9999078900001234");
    reg.store(
        1, {},
        {Tlv().setText(tags::kRegistrationFirstText, cp866::fromUtf8("ООО Ромашка")),
         Tlv().setText(tags::kRegistrationSecondText, cp866::fromUtf8("Москва")),
         Tlv().setText(tags::kRegistrationThirdText, cp866::fromUtf8("Касса 1")), vat.toTlv(0)},
        numbers);
}

// One document of a shift of 100: position p among them.
void storeShiftDocument(Register& reg, int p, int counter) {
    if (p == 0) return reg.store(7, {}, {}, {});
    if (p == 99) return reg.store(2, {}, {}, {});
    if (p == 1) return reg.store(5, {}, {}, amount(500'000));
    if (p == 50) return reg.store(6, {}, {}, amount(20'000));
    std::vector<Tlv> items;
    for (int i = 0; i < 2 + counter % 5; ++i) items.push_back(position(counter + i));
    reg.store(3, {0}, items, {});
}

double sequentialReadSeconds(const std::string& file) {
    const auto start = Clock::now();
    std::ifstream in(file, std::ios::binary);
    std::vector<char> buffer(1 << 20);
    std::uint64_t total = 0;
    while (in.read(buffer.data(), static_cast<std::streamsize>(buffer.size())) || in.gcount() > 0)
        total += static_cast<std::uint64_t>(in.gcount());
    const double seconds = secondsSince(start);
    return total > 0 ? seconds : -1;
}

// Leaves `file` on the disk only, out of this machine's page cache, so that
// the next read of it reads the disk as a register reads its card.
void dropFromPageCache(const std::string& file) {
    const int fd = ::open(file.c_str(), O_RDONLY);
    if (fd < 0) return;
    ::fdatasync(fd);
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
    ::close(fd);
}

// Writing `bytes` to a new file and syncing it once: what the disk takes
// for the formed storage whatever reads it from.
double writeAndSyncSeconds(const std::string& file, std::uintmax_t bytes) {
    const auto start = Clock::now();
    std::FILE* f = std::fopen(file.c_str(), "wb");
    if (!f) return -1;
    const std::vector<char> zeros(static_cast<std::size_t>(bytes), '\0');
    std::fwrite(zeros.data(), 1, zeros.size(), f);
    std::fflush(f);
    ::fsync(::fileno(f));
    std::fclose(f);
    const double seconds = secondsSince(start);
    std::remove(file.c_str());
    return seconds;
}

// The median of `runs` timings of `timed`.
template <class Timed>
double medianOf(int runs, Timed timed) {
    std::vector<double> seconds;
    for (int i = 0; i < runs; ++i) seconds.push_back(timed());
    std::sort(seconds.begin(), seconds.end());
    return seconds[seconds.size() / 2];
}

double startUpSeconds() {
    const auto start = Clock::now();
    CoreWorker core;
    core.startUp();
    return secondsSince(start);
}

void positionsPerSecond(const Device& device) {
    constexpr int kPositions = 200;
    constexpr int kRounds = 50;
    const auto reg = identity::store().registrationData();
    double seconds = 0;
    for (int round = 0; round < kRounds; ++round) {
        auto receipt = makeDocument(3, &device.model, reg.get(), device.cashier);
        receipt->applyOpenData(Bytes{0});
        const auto start = Clock::now();
        for (int i = 0; i < kPositions; ++i) {
            std::string reply;
            if (receipt->addItem(position(i), reply) != ResultCode::Success) std::exit(1);
        }
        seconds += secondsSince(start);
    }
    std::printf("addItem, receipt of %d positions:   %.0f positions/s\n", kPositions,
                kPositions * kRounds / seconds);
}

}  // namespace

int main(int argc, char** argv) {
    const long documents = argc > 1 ? std::atol(argv[1]) : 100'000;
    testing_support::ScopedTempBoard temp;
    temp.board().realSyncs = true;  // a store's and a formation's syncs as the disk takes them
    const Device device = makeDevice();
    {
        // The device's EEPROM: its factory data and its key.
        Bytes image(4096, 0xFF);
        const Bytes model = device.model.encode();
        std::copy(model.begin(), model.end(), image.begin());
        std::copy(device.key.begin(), device.key.end(), image.begin() + 4080);
        temp.addCardAndEeprom(toString(image));
    }
    cashiers().prepareCashiers();
    sections().loadSections();
    const std::string archiveFile = temp.file("/mnt/sd/V0XD24TX");

    double storeSeconds = 0;
    std::uint64_t writes = 0, bytes = 0, receipts = 0, receiptWrites = 0, receiptBytes = 0;
    std::map<int, Register::TypeWrites> byType;
    {
        DocumentArchive archive("/mnt/sd/V0XD24TX", documentFactory());
        if (!archive.openOrCreate() || !archive.open()) return 1;
        Register reg(archive, device);
        registerDevice(reg);
        platform::writeLog().reset();
        const auto start = Clock::now();
        for (long i = 0; i + 1 < documents; ++i)
            storeShiftDocument(reg, static_cast<int>(i % 100), static_cast<int>(i));
        storeSeconds = secondsSince(start);
        writes = platform::writeLog().writes();
        bytes = platform::writeLog().bytes();
        receipts = reg.receipts;
        receiptWrites = reg.receiptWrites;
        receiptBytes = reg.receiptBytes;
        byType = reg.byType;
    }
    const double stored = static_cast<double>(documents - 1);
    std::printf("documents stored:                   %ld, a shift close every 100\n", documents);
    std::printf("stores per second:                  %.0f\n", stored / storeSeconds);
    std::printf("write calls per stored document:    %.2f\n", writes / stored);
    std::printf("bytes written per stored document:  %.0f\n", bytes / stored);
    std::printf(
        "receipts stored:                    %ju (2 to 6 positions; cash with change, or card)\n",
        static_cast<std::uintmax_t>(receipts));
    std::printf("write calls per stored receipt:     %.2f\n",
                static_cast<double>(receiptWrites) / receipts);
    std::printf("bytes written per stored receipt:   %.0f\n",
                static_cast<double>(receiptBytes) / receipts);
    // The least a store can write: its data, its slot and the index's tail
    // (header copies, records, counters: near enough to go as one), the
    // internal-storage record of a closing document and a registration's
    // EEPROM record; and the store journal, written and then cleared.
    const std::map<int, std::pair<const char*, int>> minimum = {
        {FrStatus::registrationDoc, {"registration", 7}}, {FrStatus::shiftCloseDoc, {"shift close", 6}},
        {FrStatus::receiptDoc, {"receipt", 5}},           {FrStatus::cashInDoc, {"cash in", 5}},
        {FrStatus::cashOutDoc, {"cash out", 5}},          {FrStatus::shiftOpenDoc, {"shift open", 5}}};
    for (const auto& [type, counted] : byType) {
        const auto it = minimum.find(type);
        if (it == minimum.end() || counted.documents == 0) continue;
        std::printf("write calls per %-12s        %.2f (the least it can make: %d)\n",
                    it->second.first,
                    static_cast<double>(counted.writes) / static_cast<double>(counted.documents),
                    it->second.second);
    }
    std::printf("archive size:                       %.1f MB (%ju bytes)\n",
                std::filesystem::file_size(archiveFile) / 1e6,
                static_cast<std::uintmax_t>(std::filesystem::file_size(archiveFile)));

    DocumentArchive archive("/mnt/sd/V0XD24TX", documentFactory());
    archive.open();
    // Each figure is the median of several runs: this machine's disk and
    // neighbours make single runs vary by twice or more.
    bool formed = true;
    const auto formSeconds = [&](bool fromDisk) {
        internal_storage::removeStorage();
        if (fromDisk) dropFromPageCache(archiveFile);
        const auto start = Clock::now();
        formed = archive.formInternalStorage() && formed;
        return secondsSince(start);
    };
    const auto readSeconds = [&](bool fromDisk) {
        if (fromDisk) dropFromPageCache(archiveFile);
        return sequentialReadSeconds(archiveFile);
    };
    constexpr int kRuns = 5;
    const double formCached = medianOf(kRuns, [&] { return formSeconds(false); });
    const double readCached = medianOf(kRuns, [&] { return readSeconds(false); });
    std::printf("forming the internal storage:       %.3f s (%s, %ju records; median of %d)\n",
                formCached, formed ? "complete" : "FAILED",
                static_cast<std::uintmax_t>(
                    std::filesystem::file_size(temp.file("/nv/STORAGE.INT")) /
                    internal_storage::kRecordSize),
                kRuns);
    std::printf("reading the archive once, in order: %.3f s (median of %d)\n", readCached, kRuns);
    std::printf("  forming / reading:                %.2f (at most 2)\n", formCached / readCached);
    std::printf("writing and syncing that many bytes: %.3f s (this disk's share of forming)\n",
                writeAndSyncSeconds(temp.file("/nv/SCRATCH"),
                                    std::filesystem::file_size(temp.file("/nv/STORAGE.INT"))));
    // The same two from the disk: the archive is out of the page cache
    // before each, as after a start.
    const double formCold = medianOf(kRuns, [&] { return formSeconds(true); });
    const double readCold = medianOf(kRuns, [&] { return readSeconds(true); });
    std::printf("from the disk: forming %.3f s (%s), reading the archive once %.3f s\n", formCold,
                formed ? "complete" : "FAILED", readCold);
    std::printf("  forming / reading:                %.2f (at most 2)\n", formCold / readCold);
    std::printf("start-up, internal storage present: %.3f s\n", startUpSeconds());
    internal_storage::removeStorage();
    std::printf("start-up, forming it first:         %.3f s\n", startUpSeconds());
    positionsPerSecond(device);
    return formed ? 0 : 1;
}
