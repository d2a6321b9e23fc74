// okta-host cashier, section, discount, clock, setting, printer-setting: the
// register's reference data, clock and settings (commands 1, 2, 3, 4, 64,
// 65, 193, 194). The record layouts are encoded here from the bytes,
// independently of the register's own code. Names are UTF-8 on the command
// line and CP866 on the wire.

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <optional>

#include "common/cp866.h"
#include "host/cli.h"
#include "host/values.h"

namespace hostkit {

namespace {

enum ConfigCommand : std::uint8_t {
    kReadRecord = 1,
    kWriteRecord = 2,
    kReadClock = 3,
    kSetClock = 4,
    kReadDeviceSetting = 64,
    kSetDeviceSetting = 65,
    kReadPrinterSetting = 193,
    kSetPrinterSetting = 194,
};

// A record type of commands 1 and 2 with its layout: the number at byte 0,
// the name zero-padded at `nameOffset`, at most `maxName` bytes.
struct RecordKind {
    std::uint8_t type;
    std::size_t size;
    std::size_t nameOffset;
    std::size_t maxName;
};
constexpr RecordKind kCashier{1, 263, 7, 255};
constexpr RecordKind kSection{2, 128, 1, 126};
constexpr RecordKind kDiscount{3, 138, 10, 127};

constexpr std::uint8_t kDiscountAmount = 0;
constexpr std::uint8_t kDiscountPercent = 1;
constexpr std::uint8_t kDiscountEmpty = 2;

// The cashier rights bits with the names the command line uses.
struct RightName {
    std::uint16_t mask;
    const char* name;
};
constexpr RightName kRights[] = {
    {0x0001, "sale"},   {0x0002, "reports"}, {0x0004, "settings"},  {0x0008, "registration"},
    {0x0010, "return"}, {0x0020, "factory"}, {0x0080, "reference"}, {0x0100, "cashiers"},
};
constexpr std::uint16_t kAllRights = 0x03FF;

std::string rightNamesList() {
    std::string list;
    for (const RightName& r : kRights) list += std::string(list.empty() ? "" : ",") + r.name;
    return list + ",all or a number";
}

std::vector<std::string> rightNames(std::uint16_t rights) {
    std::vector<std::string> names;
    for (const RightName& r : kRights)
        if (rights & r.mask) names.push_back(r.name);
    return names;
}

// "sale,return,0x20": names, "all", "none" or numbers, OR'ed together.
bool parseRights(const std::string& text, std::uint16_t& rights) {
    rights = 0;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find(',', start);
        if (end == std::string::npos) end = text.size();
        const std::string word = text.substr(start, end - start);
        long long n = 0;
        bool known = word == "none";
        if (word == "all") rights |= kAllRights, known = true;
        for (const RightName& r : kRights)
            if (word == r.name) rights |= r.mask, known = true;
        if (!known) {
            if (!parseNumber(word, 0, 0xFFFF, n)) return false;
            rights |= static_cast<std::uint16_t>(n);
        }
        start = end + 1;
    }
    return true;
}

std::string hexWord(std::uint32_t v, int digits) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%0*X", digits, v);
    return text;
}

std::string nameOf(const Bytes& record, const RecordKind& kind) {
    std::string name;
    for (std::size_t i = kind.nameOffset; i < kind.nameOffset + kind.maxName && record[i]; ++i)
        name += static_cast<char>(record[i]);
    return cp866::toUtf8(name);
}

void putName(Bytes& record, const RecordKind& kind, const std::string& cp866Name) {
    std::fill(record.begin() + static_cast<std::ptrdiff_t>(kind.nameOffset), record.end(), 0);
    std::copy(cp866Name.begin(), cp866Name.end(),
              record.begin() + static_cast<std::ptrdiff_t>(kind.nameOffset));
}

// The one positional argument: a record number 1..20.
bool takeRecordNumber(Context& ctx, std::vector<std::string>& args, std::uint8_t& number,
                      int& status) {
    long long n = 0;
    if (args.size() != 1 || !parseNumber(args[0], 1, 20, n)) {
        status = fail(ctx, kUsage, "give one record number 1 ... 20");
        return false;
    }
    number = static_cast<std::uint8_t>(n);
    return true;
}

// --name in UTF-8 as CP866, refused when longer than the record holds.
bool takeName(Context& ctx, std::vector<std::string>& args, const RecordKind& kind,
              std::optional<std::string>& name, int& status) {
    std::string utf8;
    if (!takeOption(args, "--name", utf8)) return true;
    name = cp866::fromUtf8(utf8);
    if (name->size() > kind.maxName) {
        status = fail(ctx, kUsage,
                      "--name is longer than " + std::to_string(kind.maxName) + " characters");
        return false;
    }
    return true;
}

// Command 1: the record of `kind` with `number`.
int readRecord(Context& ctx, const RecordKind& kind, std::uint8_t number, Bytes& record) {
    Bytes data = ctx.cashierPrefix();
    data.push_back(kind.type);
    data.push_back(number);
    Response r;
    if (int status = ctx.call(kReadRecord, data, r)) return status;
    if (r.data.size() != kind.size)
        return fail(ctx, kNoLink,
                    "the record answer is not " + std::to_string(kind.size) + " bytes");
    record = r.data;
    return kOk;
}

// Command 2: writes the record; `written` is what the register echoed.
int writeRecord(Context& ctx, const RecordKind& kind, const Bytes& record, Bytes& written) {
    Bytes data = ctx.cashierPrefix();
    data.push_back(kind.type);
    le::putBytes(data, record);
    Response r;
    if (int status = ctx.call(kWriteRecord, data, r)) return status;
    written = r.data.size() == kind.size ? r.data : record;
    return kOk;
}

void printCashier(const Context& ctx, const Bytes& record) {
    le::Reader r(record);
    const std::uint8_t number = r.u8();
    const std::uint16_t rights = r.u16();
    const std::uint32_t password = r.u32();
    ctx.print({{"number", static_cast<unsigned long long>(number)},
               {"name", nameOf(record, kCashier)},
               {"password", static_cast<unsigned long long>(password)},
               {"rights", hexWord(rights, 4)},
               {"rightNames", rightNames(rights)}});
}

void printSection(const Context& ctx, const Bytes& record) {
    ctx.print({{"number", static_cast<unsigned long long>(record[0])},
               {"name", nameOf(record, kSection)}});
}

void printDiscount(const Context& ctx, const Bytes& record) {
    const std::uint8_t kind = record[1];
    const auto value = static_cast<std::int64_t>(le::u64(&record[2]));
    std::string kindText = "kind " + std::to_string(kind);
    std::string valueText = std::to_string(value);
    if (kind == kDiscountAmount) kindText = "amount", valueText = hundredthsText(value);
    if (kind == kDiscountPercent) kindText = "percent", valueText = hundredthsText(value) + "%";
    if (kind == kDiscountEmpty) kindText = "empty";
    ctx.print({{"number", static_cast<unsigned long long>(record[0])},
               {"kind", kindText},
               {"value", valueText},
               {"name", nameOf(record, kDiscount)}});
}

int runCashierGet(Context& ctx, std::vector<std::string>& args) {
    std::uint8_t number = 0;
    int status = kOk;
    if (!takeRecordNumber(ctx, args, number, status)) return status;
    Bytes record;
    if ((status = readRecord(ctx, kCashier, number, record))) return status;
    printCashier(ctx, record);
    return kOk;
}

constexpr std::uint8_t kServiceCashier = 20;

// Reads the cashier, changes the fields given, writes it back. The cashier's
// own password is --new-password: the global --password is the authorising
// cashier's, taken from anywhere on the command line.
int runCashierSet(Context& ctx, std::vector<std::string>& args) {
    int status = kOk;
    std::optional<std::string> name;
    if (!takeName(ctx, args, kCashier, name, status)) return status;
    std::string text;
    std::optional<std::uint32_t> password;
    long long n = 0;
    if (takeOption(args, "--new-password", text)) {
        if (!parseNumber(text, 0, 0xFFFFFFFFLL, n))
            return fail(ctx, kUsage, "--new-password takes a number 0 ... 4294967295");
        password = static_cast<std::uint32_t>(n);
    }
    std::optional<std::uint16_t> rights;
    if (takeOption(args, "--rights", text)) {
        std::uint16_t mask = 0;
        if (!parseRights(text, mask))
            return fail(ctx, kUsage, "--rights takes " + rightNamesList());
        rights = mask;
    }
    std::uint8_t number = 0;
    if (!takeRecordNumber(ctx, args, number, status)) return status;
    if (!name && !password && !rights)
        return fail(ctx, kUsage,
                    "give --name, --new-password or --rights (--password is the password of "
                    "the cashier who authorises the change)");

    Bytes record;
    if ((status = readRecord(ctx, kCashier, number, record))) return status;
    if (rights) le::store16(&record[1], *rights);
    if (password) le::store32(&record[3], *password);
    if (name) putName(record, kCashier, *name);
    Bytes written;
    if ((status = writeRecord(ctx, kCashier, record, written))) return status;
    // Cashier 20 is written only by itself, keeps its name and password when
    // given none and always holds every right: show what the register stored.
    if (number == kServiceCashier) {
        if (password && *password != 0) ctx.password = *password;
        if ((status = readRecord(ctx, kCashier, number, written))) return status;
    }
    printCashier(ctx, written);
    return kOk;
}

int runSectionGet(Context& ctx, std::vector<std::string>& args) {
    std::uint8_t number = 0;
    int status = kOk;
    if (!takeRecordNumber(ctx, args, number, status)) return status;
    Bytes record;
    if ((status = readRecord(ctx, kSection, number, record))) return status;
    printSection(ctx, record);
    return kOk;
}

int runSectionSet(Context& ctx, std::vector<std::string>& args) {
    int status = kOk;
    std::optional<std::string> name;
    if (!takeName(ctx, args, kSection, name, status)) return status;
    std::uint8_t number = 0;
    if (!takeRecordNumber(ctx, args, number, status)) return status;
    if (!name) return fail(ctx, kUsage, "give --name (an empty name clears it)");
    Bytes record(kSection.size, 0);
    record[0] = number;
    putName(record, kSection, *name);
    Bytes written;
    if ((status = writeRecord(ctx, kSection, record, written))) return status;
    printSection(ctx, written);
    return kOk;
}

int runDiscountGet(Context& ctx, std::vector<std::string>& args) {
    std::uint8_t number = 0;
    int status = kOk;
    if (!takeRecordNumber(ctx, args, number, status)) return status;
    Bytes record;
    if ((status = readRecord(ctx, kDiscount, number, record))) return status;
    printDiscount(ctx, record);
    return kOk;
}

// Writes a discount record: kind, value in hundredths, name.
int writeDiscount(Context& ctx, std::uint8_t number, std::uint8_t kind, std::int64_t value,
                  const std::string& name) {
    Bytes record(kDiscount.size, 0);
    record[0] = number;
    record[1] = kind;
    le::store64(&record[2], static_cast<std::uint64_t>(value));
    putName(record, kDiscount, name);
    Bytes written;
    if (int status = writeRecord(ctx, kDiscount, record, written)) return status;
    printDiscount(ctx, written);
    return kOk;
}

int runDiscountSet(Context& ctx, std::vector<std::string>& args) {
    int status = kOk;
    std::optional<std::string> name;
    if (!takeName(ctx, args, kDiscount, name, status)) return status;
    std::string percent, amount;
    const bool isPercent = takeOption(args, "--percent", percent);
    const bool isAmount = takeOption(args, "--amount", amount);
    std::uint8_t number = 0;
    if (!takeRecordNumber(ctx, args, number, status)) return status;
    if (isPercent == isAmount) return fail(ctx, kUsage, "give either --percent P or --amount A");
    std::int64_t value = 0;
    if (!parseHundredths(isPercent ? percent : amount, value) || value == 0)
        return fail(ctx, kUsage,
                    "the value takes a number above 0 with up to two decimals, as 10.00");
    return writeDiscount(ctx, number, isPercent ? kDiscountPercent : kDiscountAmount, value,
                         name.value_or(""));
}

// A discount of value 0 is not valid: writing one removes the discount.
int runDiscountClear(Context& ctx, std::vector<std::string>& args) {
    std::uint8_t number = 0;
    int status = kOk;
    if (!takeRecordNumber(ctx, args, number, status)) return status;
    return writeDiscount(ctx, number, kDiscountEmpty, 0, "");
}

void printClock(const Context& ctx, std::uint32_t seconds) {
    ctx.print(
        {{"seconds", static_cast<unsigned long long>(seconds)}, {"local", localTimeText(seconds)}});
}

int runClockGet(Context& ctx, std::vector<std::string>& args) {
    if (!args.empty()) return fail(ctx, kUsage, "clock get takes no arguments");
    Response r;
    if (int status = ctx.call(kReadClock, {}, r)) return status;
    if (r.data.size() != 4) return fail(ctx, kNoLink, "the clock answer is not 4 bytes");
    printClock(ctx, le::u32(r.data.data()));
    return kOk;
}

int runClockSet(Context& ctx, std::vector<std::string>& args) {
    std::uint32_t seconds = 0;
    if (args.size() != 1 || !parseTime(args[0], seconds))
        return fail(ctx, kUsage, "clock set takes local time as 2027-01-05T09:30:00, or seconds");
    Bytes data = ctx.cashierPrefix();
    le::put32(data, seconds);
    Response r;
    if (int status = ctx.call(kSetClock, data, r)) return status;
    printClock(ctx, seconds);
    return kOk;
}

// The device setting names: only the rounding mode (parameter 1).
constexpr std::uint8_t kRoundingParameter = 1;
constexpr std::uint8_t kHalfEven = 1;

int runSettingGet(Context& ctx, std::vector<std::string>& args) {
    if (args.size() != 1 || args[0] != "rounding")
        return fail(ctx, kUsage, "setting get takes: rounding");
    Bytes data = ctx.cashierPrefix();
    data.push_back(kRoundingParameter);
    Response r;
    if (int status = ctx.call(kReadDeviceSetting, data, r)) return status;
    if (r.data.size() != 1) return fail(ctx, kNoLink, "the setting answer is not 1 byte");
    ctx.print({{"rounding", std::string(r.data[0] == kHalfEven ? "half-even" : "half-up")},
               {"mode", static_cast<unsigned long long>(r.data[0])}});
    return kOk;
}

int runSettingSet(Context& ctx, std::vector<std::string>& args) {
    long long mode = 0;
    const bool valid =
        args.size() == 2 && args[0] == "rounding" &&
        (args[1] == "half-even" || args[1] == "half-up" || parseNumber(args[1], 0, 255, mode));
    if (!valid) return fail(ctx, kUsage, "setting set takes: rounding half-even|half-up|N");
    if (args[1] == "half-even") mode = kHalfEven;
    if (args[1] == "half-up") mode = 0;
    Bytes data = ctx.cashierPrefix();
    data.push_back(kRoundingParameter);
    data.push_back(static_cast<std::uint8_t>(mode));
    Response r;
    if (int status = ctx.call(kSetDeviceSetting, data, r)) return status;
    ctx.print({{"rounding", std::string(mode == kHalfEven ? "half-even" : "half-up")},
               {"mode", static_cast<unsigned long long>(mode)}});
    return kOk;
}

// The printer setting names: width (parameter 1, one byte), flags
// (parameter 2, four bytes).
struct PrinterParameter {
    const char* name;
    std::uint8_t number;
    std::size_t size;
};
constexpr PrinterParameter kPrinterParameters[] = {{"width", 1, 1}, {"flags", 2, 4}};

const PrinterParameter* findPrinterParameter(const std::vector<std::string>& args) {
    if (args.empty()) return nullptr;
    for (const PrinterParameter& p : kPrinterParameters)
        if (args[0] == p.name) return &p;
    return nullptr;
}

void printPrinterSetting(const Context& ctx, const PrinterParameter& p, std::uint32_t value) {
    if (p.size == 1)
        ctx.print({{p.name, static_cast<unsigned long long>(value)}});
    else
        ctx.print({{p.name, hexWord(value, 8)}, {"value", static_cast<unsigned long long>(value)}});
}

int runPrinterSettingGet(Context& ctx, std::vector<std::string>& args) {
    const PrinterParameter* p = findPrinterParameter(args);
    if (!p || args.size() != 1) return fail(ctx, kUsage, "printer-setting get takes: width|flags");
    Bytes data = ctx.cashierPrefix();
    data.push_back(p->number);
    Response r;
    if (int status = ctx.call(kReadPrinterSetting, data, r)) return status;
    if (r.data.size() != p->size)
        return fail(ctx, kNoLink,
                    "the setting answer is not " + std::to_string(p->size) + " bytes");
    printPrinterSetting(ctx, *p, p->size == 1 ? r.data[0] : le::u32(r.data.data()));
    return kOk;
}

int runPrinterSettingSet(Context& ctx, std::vector<std::string>& args) {
    const PrinterParameter* p = findPrinterParameter(args);
    long long value = 0;
    if (!p || args.size() != 2 ||
        !parseNumber(args[1], 0, p->size == 1 ? 0xFF : 0xFFFFFFFFLL, value))
        return fail(ctx, kUsage, "printer-setting set takes: width 0..255 | flags 0..4294967295");
    Bytes data = ctx.cashierPrefix();
    data.push_back(p->number);
    if (p->size == 1)
        data.push_back(static_cast<std::uint8_t>(value));
    else
        le::put32(data, static_cast<std::uint32_t>(value));
    Response r;
    if (int status = ctx.call(kSetPrinterSetting, data, r)) return status;
    printPrinterSetting(ctx, *p, static_cast<std::uint32_t>(value));
    return kOk;
}

}  // namespace

void addConfigCommands(CommandTable& table) {
    table.push_back({"cashier get", "N", "a cashier's record (command 1)", runCashierGet});
    table.push_back({"cashier set", "N [--name TEXT] [--new-password P] [--rights LIST]",
                     "change a cashier (command 2): --new-password is its new password, while "
                     "--password stays the authorising cashier's; rights: " +
                         rightNamesList(),
                     runCashierSet});
    table.push_back({"section get", "N", "a section's record (command 1)", runSectionGet});
    table.push_back({"section set", "N --name TEXT", "name a section (command 2)", runSectionSet});
    table.push_back({"discount get", "N", "a discount's record (command 1)", runDiscountGet});
    table.push_back({"discount set", "N --percent P|--amount A [--name TEXT]",
                     "set a discount, as --percent 10.00 or --amount 5.00 (command 2)",
                     runDiscountSet});
    table.push_back({"discount clear", "N", "remove a discount (command 2)", runDiscountClear});
    table.push_back({"clock get", "", "the register's clock (command 3)", runClockGet});
    table.push_back({"clock set", "YYYY-MM-DDTHH:MM:SS|SECONDS",
                     "set the register's clock, local time (command 4)", runClockSet});
    table.push_back({"setting get", "rounding", "a device setting (command 64)", runSettingGet});
    table.push_back({"setting set", "rounding half-even|half-up",
                     "change a device setting (command 65)", runSettingSet});
    table.push_back({"printer-setting get", "width|flags", "a printer setting (command 193)",
                     runPrinterSettingGet});
    table.push_back({"printer-setting set", "width N|flags N",
                     "change a printer setting (command 194)", runPrinterSettingSet});
}

}  // namespace hostkit
