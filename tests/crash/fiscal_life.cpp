#include "tests/crash/fiscal_life.h"

#include <algorithm>

#include "platform/files.h"
#include "state/status.h"
#include "storage/archive_layout.h"
#include "storage/internal_storage.h"
#include "storage/records.h"
#include "tests/crash/register_under_test.h"
#include "tests/support/file_text.h"

namespace crash {

namespace al = archive_layout;
using namespace fiscal;

namespace {

constexpr std::int64_t kFirstDay = 1'800'000'000;  // January 2027
constexpr const char* kArchive = "/mnt/sd/V0XD24TX";
constexpr const char* kEeprom = "/sys/bus/i2c/devices/0-0050/eeprom";
constexpr std::uint64_t kEepromRegistration = 48;
constexpr std::size_t kRegistrationSize = 968;

Step document(std::string name, std::uint8_t open, const Bytes& openData,
              std::vector<Bytes> values, std::uint8_t close, const Bytes& closeData) {
    Step step{std::move(name), {{open, asService(openData)}}, true};
    for (Bytes& value : values) step.requests.push_back({kAdd, std::move(value)});
    step.requests.push_back({close, closeData});
    return step;
}

Step receipt(std::string name, ReceiptKind kind, std::vector<Bytes> values, const Bytes& payment) {
    return document(std::move(name), kOpenReceipt, receiptOpen(kind), std::move(values),
                    kCloseReceipt, payment);
}

Step registration(const std::string& text3) {
    return document("registration " + text3, kOpenRegistration, {},
                    {registrationText1("ООО \"Ромашка\""),
                     registrationText2("г. Москва, ул. Тверская, 1"), registrationText3(text3),
                     registrationTax(1, 1, 2000, "НДС 20%"), registrationTax(2, 2, 1000, "НДС 10%")},
                    kCloseRegistration, registrationNumbers(kTaxpayerNumber, kStorageNumber));
}

std::vector<Request> preparation() {
    return {{kSetFactoryNumber, asService(toBytes(kFactoryNumber))},
            {kWriteRecord, asService(sectionRecord(2, "Бакалея"))},
            {kWriteRecord, asService(percentDiscountRecord(3, 1000, "Скидка 10%"))}};
}

// The register's last document number, as command 48 reports it.
std::uint32_t lastDocumentNumber() { return FrStatus::status().lastDocumentNumber(); }

enum class StepEnd { done, powerCut, refused };

// Sends the step's requests in order; a close answered with a failure is
// sent again once, as a POS does. `code` is the last answer.
StepEnd sendStep(RegisterUnderTest& reg, const Step& step, std::uint32_t& number, int& code) {
    for (std::size_t i = 0; i < step.requests.size(); ++i) {
        const Request& r = step.requests[i];
        CoreApiResult answer = reg.send(r.command, r.data);
        if (platform::writeLog().powerIsOff()) return StepEnd::powerCut;
        const bool close = step.document && i + 1 == step.requests.size();
        if (answer.code != 0 && close) answer = reg.send(r.command, r.data);
        if (platform::writeLog().powerIsOff()) return StepEnd::powerCut;
        code = answer.code;
        if (answer.code != 0) return StepEnd::refused;
        if (close && answer.data.size() >= 4) number = le::u32(answer.data.data());
    }
    return StepEnd::done;
}

Bytes slice(const Bytes& all, std::uint64_t from, std::uint64_t to) {
    from = std::min<std::uint64_t>(from, all.size());
    to = std::min<std::uint64_t>(to, all.size());
    return Bytes(all.begin() + static_cast<std::ptrdiff_t>(from),
                 all.begin() + static_cast<std::ptrdiff_t>(to));
}

struct Region {
    const char* name;
    std::uint64_t from, to;
};
const Region kArchiveRegions[] = {
    {"archive header and identifier", 0, al::kSlotsOffset},
    {"document header slots", al::kSlotsOffset, al::kLastShiftOpenCopy},
    {"last-document header copies", al::kLastShiftOpenCopy, al::kModelRecord},
    {"model and registration records", al::kModelRecord, al::kShiftCounters},
    {"shift counters", al::kShiftCounters, al::kRegistrationTotals},
    {"totals since registration", al::kRegistrationTotals, al::kGrossTotals},
    {"gross totals", al::kGrossTotals, al::kRegistrationCount},
    {"registration count and list", al::kRegistrationCount, al::kDepartmentTotals},
    {"department totals", al::kDepartmentTotals, al::kDepartmentTotals + 640},
    {"base number and second magic", al::kBaseNumber, al::kDataArea},
};

CounterSet countersAt(const Bytes& archive, std::uint64_t offset) {
    const Bytes bytes = slice(archive, offset, offset + CounterSet::kSize);
    return bytes.size() == CounterSet::kSize ? CounterSet::decode(bytes.data()) : CounterSet{};
}

}  // namespace

const char* faultName(Fault fault) {
    switch (fault) {
        case Fault::none:
            return "none";
        case Fault::cutBefore:
            return "cut before";
        case Fault::cutTorn:
            return "torn";
        case Fault::failOnce:
            return "failed";
    }
    return "?";
}

std::vector<Step> fiscalLife() {
    const Position bread{"Хлеб", 4550, 2000, 1, 1};
    Position cheese{"Сыр", 35000, 250, 2, 2};
    cheese.discount = 3;
    Position milk{"Молоко", 8990, 1000, 1, 1};
    milk.discountSumKopecks = 500;
    const Position sugar{"Сахар", 7500, 3000, 1, 2};
    return {
        registration("Касса 1"),
        document("shift open", kOpenShift, {}, {}, kCloseShiftOpen, {}),
        document("cash in", kOpenCashIn, {}, {}, kCloseCashIn, cashAmount(50000)),
        receipt("sale", sale,
                {position(bread), position(cheese), receiptTextLine("Спасибо!"), position(milk)},
                receiptPayment(100000)),
        receipt("purchase", purchase, {position(sugar)}, receiptPayment(0)),
        receipt("return of sale", returnOfSale, {position(bread), position(milk)},
                receiptPayment(5500, 12090)),
        receipt("return of purchase", returnOfPurchase, {position(sugar)}, receiptPayment(22500)),
        receipt("sale by card", sale, {position(cheese), position(sugar)},
                receiptPayment(10000, 20500)),
        document("cash out", kOpenCashOut, {}, {}, kCloseCashOut, cashAmount(20000)),
        Step{"X report", {{177, asService(Bytes{1})}}, false},
        document("shift close", kOpenShiftClose, {}, {}, kCloseShiftClose, {}),
        document("second shift open", kOpenShift, {}, {}, kCloseShiftOpen, {}),
        receipt("second shift sale", sale, {position(bread)}, receiptPayment(0)),
        document("second shift close", kOpenShiftClose, {}, {}, kCloseShiftClose, {}),
        registration("Касса 2"),
    };
}

Outcome runLife(Fault fault, std::uint64_t k) {
    Outcome out;
    RegisterUnderTest reg;
    reg.board().clock = kFirstDay;
    reg.start();
    for (const Request& r : preparation())
        if (reg.send(r.command, r.data).code != 0)
            out.problems.push_back("preparation " + std::to_string(r.command) + " refused");

    platform::WriteLog& log = platform::writeLog();
    log.reset();
    if (fault == Fault::cutBefore) log.cutPower(k, platform::WriteLog::Fault::fail);
    if (fault == Fault::cutTorn) log.cutPower(k, platform::WriteLog::Fault::tear);
    if (fault == Fault::failOnce) log.injectFault(k, platform::WriteLog::Fault::fail);

    const std::vector<Step> life = fiscalLife();
    std::uint32_t lastKnown = 0;
    for (std::size_t i = 0; i < life.size(); ++i) {
        const Step& step = life[i];
        reg.board().clock = kFirstDay + 60 * static_cast<std::int64_t>(i + 1);
        std::uint32_t number = 0;
        for (int attempt = 0;; ++attempt) {
            int code = 0;
            const StepEnd end = sendStep(reg, step, number, code);
            if (end == StepEnd::done) break;
            if (end == StepEnd::refused) {
                out.problems.push_back(step.name + " answered " + std::to_string(code));
                break;
            }
            // No answer: the register starts again; a document it stored
            // shows in the last document number, else it is built again.
            ++out.cuts;
            log.restorePower();
            reg.start();
            if (step.document && lastDocumentNumber() > lastKnown) {
                number = lastDocumentNumber();
                break;
            }
            if (attempt == 2) {
                out.problems.push_back(step.name + " never stored");
                break;
            }
        }
        if (step.document) {
            out.numbers.push_back(number);
            if (number != 0) lastKnown = number;
        }
    }
    out.writes = log.writes();
    log.restorePower();
    log.reset();

    reg.start();
    out.readyAfterRestart = FrStatus::status().testFlags(FrStatus::archiveReady);
    reg.drop();
    out.archive = testing_support::fileBytes(reg.file(kArchive));
    out.storage = testing_support::fileBytes(reg.file(internal_storage::kStoragePath));
    out.eeprom = testing_support::fileBytes(reg.file(kEeprom));
    return out;
}

std::vector<std::string> differences(const Outcome& reference, const Outcome& run) {
    std::vector<std::string> kinds;
    const auto differ = [&](bool different, const std::string& kind) {
        if (different) kinds.push_back(kind);
    };
    differ(!run.problems.empty(), "refusals met by the host");
    differ(!run.readyAfterRestart, "archive not ready after a restart");
    differ(run.numbers != reference.numbers, "document numbers");
    for (const Region& r : kArchiveRegions)
        differ(slice(run.archive, r.from, r.to) != slice(reference.archive, r.from, r.to), r.name);
    differ(slice(run.archive, al::kDataArea, run.archive.size()) !=
               slice(reference.archive, al::kDataArea, reference.archive.size()),
           "document data");
    differ(run.storage != reference.storage, "internal storage");
    differ(run.eeprom != reference.eeprom, "EEPROM");
    for (const std::string& problem : recountProblems(run)) differ(true, problem);
    return kinds;
}

std::vector<std::string> recountProblems(const Outcome& run) {
    std::vector<std::string> problems;
    // What the life made, counted from its own steps: the second shift
    // holds one sale; since the second registration nothing was counted.
    const CounterSet shift = countersAt(run.archive, al::kShiftCounters);
    if (shift.receiptCount != 1 || shift.operations[0].count != 1 || shift.shiftField != 2)
        problems.push_back("shift counters against a recount");
    const CounterSet totals = countersAt(run.archive, al::kRegistrationTotals);
    if (totals.receiptCount != 0 || totals.cashInCount != 0 || totals.shiftField != 0)
        problems.push_back("totals since registration against a recount");
    const Bytes grossBytes = slice(run.archive, al::kGrossTotals, al::kGrossTotals + 238);
    if (grossBytes.size() == GrossCounterSet::kSize) {
        const GrossCounterSet gross = GrossCounterSet::decode(grossBytes.data());
        const std::uint32_t kinds[4] = {gross.operations[0].count, gross.operations[1].count,
                                        gross.operations[2].count, gross.operations[3].count};
        if (gross.receiptCount != 6 || kinds[0] != 3 || kinds[1] != 1 || kinds[2] != 1 ||
            kinds[3] != 1 || gross.cashInCount != 1 || gross.cashInAmount != 50000 ||
            gross.cashOutCount != 1 || gross.shiftField != 2)
            problems.push_back("gross totals against a recount");
    }
    // Registrations 1 and 14, shift closes 10 and 13: one record each.
    std::vector<std::uint32_t> records;
    for (std::size_t at = 0; at + internal_storage::kRecordSize <= run.storage.size();
         at += internal_storage::kRecordSize)
        records.push_back(DocDescriptor::decode(run.storage.data() + at).number);
    if (records != std::vector<std::uint32_t>{1, 10, 13, 14})
        problems.push_back("internal storage records against the closing documents");
    if (slice(run.eeprom, kEepromRegistration, kEepromRegistration + kRegistrationSize) !=
        slice(run.archive, al::kRegistrationRecord, al::kRegistrationRecord + kRegistrationSize))
        problems.push_back("EEPROM registration against the archive's");
    return problems;
}

std::vector<StepWrites> writesByStep() {
    // The life again with a count after every step: a cut far past the end
    // never strikes, so this is the life without faults.
    std::vector<StepWrites> steps;
    RegisterUnderTest reg;
    reg.board().clock = kFirstDay;
    reg.start();
    for (const Request& r : preparation()) reg.send(r.command, r.data);
    platform::writeLog().reset();
    const std::vector<Step> life = fiscalLife();
    for (std::size_t i = 0; i < life.size(); ++i) {
        reg.board().clock = kFirstDay + 60 * static_cast<std::int64_t>(i + 1);
        const std::uint64_t before = platform::writeLog().writes();
        std::uint32_t number = 0;
        int code = 0;
        sendStep(reg, life[i], number, code);
        steps.push_back({life[i].name, before + 1, platform::writeLog().writes() - before});
    }
    return steps;
}

SweepFigures sweep(const std::vector<std::uint64_t>& ks, bool failures) {
    SweepFigures figures;
    const Outcome reference = runLife();
    figures.writes = reference.writes;
    for (const std::string& problem : differences(reference, reference))
        ++figures.inconsistencies["the run without faults: " + problem];
    std::vector<Fault> faults{Fault::cutBefore, Fault::cutTorn};
    if (failures) faults.push_back(Fault::failOnce);
    for (std::uint64_t k : ks) {
        for (Fault fault : faults) {
            const Outcome run = runLife(fault, k);
            ++figures.runs;
            const std::vector<std::string> kinds = differences(reference, run);
            for (const std::string& kind : kinds) ++figures.inconsistencies[kind];
            if (!kinds.empty() && figures.examples.size() < 10)
                figures.examples.push_back(std::string(faultName(fault)) + " at write " +
                                           std::to_string(k) + ": " + kinds.front() +
                                           (run.problems.empty() ? "" : " (" + run.problems.front() + ")"));
        }
    }
    return figures;
}

}  // namespace crash
