// Writes the fuzz targets' seed corpora and regression inputs, all built
// from valid encodings with the register's own encoders:
//   fuzz_write_seeds <fuzz folder>
// Each target's seeds go to corpus/<target>/, the inputs of faults found
// and mended to regressions/<target>/.

#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

#include "common/cp866.h"
#include "documents/counter_tlv.h"
#include "encoding/tags.h"
#include "encoding/tax.h"
#include "link/frame.h"
#include "storage/archive_layout.h"
#include "storage/internal_storage.h"

namespace fs = std::filesystem;

namespace {

fs::path root;

void write(const std::string& folder, const std::string& target, const std::string& name,
           const Bytes& bytes) {
    const fs::path dir = root / folder / target;
    fs::create_directories(dir);
    std::ofstream(dir / name, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}
void seed(const std::string& target, const std::string& name, const Bytes& bytes) {
    write("corpus", target, name, bytes);
}
void regression(const std::string& target, const std::string& name, const Bytes& bytes) {
    write("regressions", target, name, bytes);
}

std::string cp(const char* utf8) { return cp866::fromUtf8(utf8); }

Tlv position(const std::string& name, std::int64_t kopecks, std::vector<std::uint8_t> taxes = {1},
             std::vector<Tlv> more = {}) {
    std::vector<Tlv> children{Tlv().setText(tags::kPositionName, name),
                              Tlv().setVarInt(tags::kPrice, kopecks),
                              Tlv().setVarDecimal(tags::kQuantity, Decimal(1000, 1500))};
    for (std::uint8_t tax : taxes) children.push_back(Tlv().setU8(tags::kPositionTaxNumber, tax));
    children.insert(children.end(), more.begin(), more.end());
    return Tlv().setContainer(tags::kPosition, children);
}

// The document targets' input: the open byte, the values, the close data.
Bytes document(std::uint8_t open, const std::vector<Tlv>& values, const Bytes& closeData) {
    Bytes out{open};
    for (const Tlv& v : values) v.encodeTo(out);
    le::put16(out, 0);
    le::put16(out, static_cast<std::uint16_t>(closeData.size()));
    le::putBytes(out, closeData);
    return out;
}

Bytes payments(std::int64_t cash, std::int64_t nonCash) {
    Bytes b;
    le::put64(b, static_cast<std::uint64_t>(cash));
    le::put64(b, static_cast<std::uint64_t>(nonCash));
    return b;
}

Tlv tax(unsigned index, std::uint8_t kind, std::uint16_t rate, const std::string& name) {
    Tax t;
    t.kind = kind;
    t.rate = rate;
    t.name = name;
    Tlv container = t.toTlv(index);
    container.data[Tlv::kHeaderSize] = kind;  // as sent, whatever the kind
    return container;
}

Bytes request(std::uint8_t command, std::uint32_t id, const Bytes& data) {
    Bytes payload{command};
    le::put32(payload, id);
    le::putBytes(payload, data);
    return frame::encode(payload);
}

void receiptSeeds() {
    const std::string t = "receipt_fuzz";
    seed(t, "sale", document(0, {position(cp("Хлеб"), 4500)}, payments(10000, 0)));
    seed(t, "sale_lines_sections_discounts",
         document(0,
                  {Tlv().setText(tags::kAdditionalLineText, cp("Добро пожаловать")),
                   position(cp("Рис"), 1999, {2},
                            {Tlv().setU8(tags::kSectionNumber, 2),
                             Tlv().setU8(tags::kDiscountNumber, 5),
                             Tlv().setText(tags::kProductCode, "4601"),
                             Tlv().setText(tags::kUnit, cp("кг")),
                             Tlv().setText(tags::kPositionExtraLine, cp("акция"))}),
                   position(cp("Соль"), 2500, {1}, {Tlv().setVarInt(tags::kDiscountSum, 99)})},
                  payments(5000, 1000)));
    seed(t, "return_of_sale", document(2, {position(cp("Молоко"), 8900)}, payments(0, 0)));
    // The faults mended: printer commands in a name reached the printer;
    // a position naming tax 2 then tax 1 stored (and its copy printed) tax 2.
    regression(t, "printer_commands_in_name",
               document(0, {position("AB\x1D\x38\x4C\xFF\xFF\xFF\x7F", 1000)}, payments(0, 0)));
    regression(t, "repeated_tax_tag", document(0, {position(cp("Чай"), 12000, {2, 1})}, payments(0, 0)));
}

void registrationSeeds() {
    const std::string t = "registration_fuzz";
    Bytes numbers;
    std::string taxpayer = "7701234567";
    taxpayer.resize(12, '\0');
    le::putBytes(numbers, toBytes(taxpayer));
    le::putBytes(numbers, toBytes("9999078900001234"));
    const std::vector<Tlv> texts{Tlv().setText(tags::kRegistrationFirstText, cp("ООО \"Ромашка\"")),
                                 Tlv().setText(tags::kRegistrationSecondText, cp("г. Москва")),
                                 Tlv().setText(tags::kRegistrationThirdText, cp("Касса 1"))};
    std::vector<Tlv> values = texts;
    values.push_back(tax(0, Tax::kContained, 2000, cp("НДС 20%")));
    values.push_back(tax(1, Tax::kOnTop, 1000, cp("НДС 10%")));
    seed(t, "registration", document(0, values, numbers));
    // The fault mended: a tax of kind 7 was kept as "not set" and dropped.
    values = texts;
    values.push_back(tax(0, Tax::kContained, 2000, cp("НДС 20%")));
    values.push_back(tax(2, 7, 1000, cp("НДС 10%")));
    regression(t, "tax_kind_above_3", document(0, values, numbers));
}

void tlvSeeds() {
    const std::string t = "tlv_fuzz";
    seed(t, "position", position(cp("Хлеб"), 4500).encode());
    seed(t, "tax", tax(0, Tax::kContained, 2000, cp("НДС 20%")).encode());
    Bytes several;
    Tlv().setU32(tags::kCashierName, 7).encodeTo(several);
    Tlv().setVarDecimal(tags::kQuantity, Decimal(1000, 1500)).encodeTo(several);
    Tlv().setVarInt(tags::kPrice, -5).encodeTo(several);
    Tlv().setText(tags::kAdditionalLineText, cp("Спасибо")).encodeTo(several);
    seed(t, "several", several);
}

void counterSeeds() {
    const std::string t = "counter_tlv_fuzz";
    CounterSet counters{};
    counters.shiftField = 3;
    counters.cashInCount = 1;
    counters.cashInAmount = 50000;
    counters.receiptCount = 2;
    counters.cashInDrawer = 65000;
    counters.operations[0].count = 2;
    counters.operations[0].total = 15000;
    counters.operations[0].byPayment[0] = 15000;
    counters.operations[0].byTax[0] = 2500;
    Bytes shift{0};
    le::putBytes(shift, countersToTlv(tags::kShiftCounters, counters).data);
    seed(t, "shift", shift);
    Bytes period{1};
    le::putBytes(period, countersToTlv(tags::kRegistrationPeriodCounters, counters).data);
    seed(t, "period", period);
    GrossCounterSet gross{};
    gross.receiptCount = 2;
    gross.operations[0].count = 2;
    gross.operations[0].total = 15000;
    Bytes lifetime{2};
    le::putBytes(lifetime, countersToTlv(gross).data);
    seed(t, "lifetime", lifetime);
}

void frameSeeds() {
    const std::string t = "frame_reader_fuzz";
    Bytes one{7};
    le::putBytes(one, request(48, 0x01020304, {}));
    seed(t, "status_request", one);
    Bytes mixed{2};
    le::putBytes(mixed, {0x33, 0x05});  // a stray byte, then ENQ
    le::putBytes(mixed, request(21, 0x0A0B0C0D, {20, 0x44, 0x25, 0x04, 0x00, 0}));
    mixed.push_back(0x05);
    Bytes badSum = request(16, 9, {});
    badSum.back() ^= 0xFF;
    le::putBytes(mixed, badSum);
    le::putBytes(mixed, {0x04, 0x10});  // cut short
    seed(t, "mixed", mixed);
}

void storageSeeds() {
    const std::string t = "internal_storage_fuzz";
    Bytes file;
    DocDescriptor registration;
    registration.type = 1;
    registration.number = 1;
    Bytes record;
    internal_storage::encodeRecord(registration, nullptr, record);
    le::putBytes(file, record);
    DocDescriptor close;
    close.type = 2;
    close.number = 9;
    close.shiftNumber = 1;
    CounterSet counters{};
    counters.receiptCount = 4;
    internal_storage::encodeRecord(close, &counters, record);
    le::putBytes(file, record);
    seed(t, "two_records", file);
    file.resize(file.size() - 100);
    seed(t, "torn_tail", file);
}

void archiveSeeds() {
    const std::string t = "archive_fuzz";
    seed(t, "unchanged", {});
    // One byte of the first slot's header, one of the counters, one of the data.
    seed(t, "three_bytes", {0, 1, 0, 1, 0xFF, 1, 0x18, 0x05, 1, 0x00, 2, 0x10, 0x00, 1, 0x7F});
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: fuzz_write_seeds <fuzz folder>\n";
        return 2;
    }
    root = argv[1];
    receiptSeeds();
    registrationSeeds();
    tlvSeeds();
    counterSeeds();
    frameSeeds();
    storageSeeds();
    archiveSeeds();
    return 0;
}
