// okta-host cashier, section, discount, clock, setting, printer-setting: the
// register's reference data, clock and settings (commands 1, 2, 3, 4, 64,
// 65, 193, 194). Names are UTF-8 on the command line and checked against
// the register's code page before anything is sent.

#include <cstdio>

#include "host/rules.h"
#include "host/tool/cli.h"
#include "host/tool/values.h"

namespace hosttool {

namespace {

using hostkit::CashierRecord;
using hostkit::DiscountKind;
using hostkit::DiscountRecord;
using hostkit::SectionRecord;

// The cashier rights bits with the names the command line uses.
struct RightName {
    hostkit::Right right;
    const char* name;
};
constexpr RightName kRights[] = {
    {hostkit::Right::Sale, "sale"},           {hostkit::Right::Reports, "reports"},
    {hostkit::Right::Settings, "settings"},   {hostkit::Right::Registration, "registration"},
    {hostkit::Right::Return, "return"},       {hostkit::Right::Factory, "factory"},
    {hostkit::Right::Reference, "reference"}, {hostkit::Right::Cashiers, "cashiers"},
};

std::string rightNamesList() {
    std::string list;
    for (const RightName& r : kRights) list += std::string(list.empty() ? "" : ",") + r.name;
    return list + ", all, none or a number";
}

std::vector<std::string> rightNames(std::uint16_t rights) {
    std::vector<std::string> names;
    for (const RightName& r : kRights)
        if (rights & hostkit::rightBit(r.right)) names.push_back(r.name);
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
        if (word == "all") rights |= hostkit::kAllRights, known = true;
        for (const RightName& r : kRights)
            if (word == r.name) rights |= hostkit::rightBit(r.right), known = true;
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

// The one positional argument: a record number 1..20. Returns kOk, or the
// exit status of a bad one.
int recordNumber(const Context& ctx, const Args& args, const char* what, std::uint8_t& number) {
    long long n = 0;
    if (!parseNumber(args.positional[0], 0, 255, n)) n = -1;
    if (auto broken = hostkit::rules::recordNumber(what, n)) return ctx.fail(kUsage, *broken);
    number = static_cast<std::uint8_t>(n);
    return kOk;
}

// --name checked against the code page and the record's room.
int nameOption(const Context& ctx, const Args& args, std::size_t max) {
    std::string cp866;
    if (auto broken = hostkit::rules::text(args.value("--name"), "--name", 0, max, cp866))
        return ctx.fail(kUsage, *broken);
    return kOk;
}

int printCashier(const Context& ctx, const CashierRecord& c) {
    return ctx.done({{"number", number(c.number)},
                     {"name", c.name},
                     {"password", number(c.password)},
                     {"rights", hexWord(c.rights, 4)},
                     {"rightNames", rightNames(c.rights)}});
}

int printSection(const Context& ctx, const SectionRecord& s) {
    return ctx.done({{"number", number(s.number)}, {"name", s.name}});
}

int printDiscount(const Context& ctx, const DiscountRecord& d) {
    std::string kind = "kind " + std::to_string(static_cast<int>(d.kind));
    std::string value = std::to_string(d.value);
    if (d.kind == DiscountKind::Amount) kind = "amount", value = hundredthsText(d.value);
    if (d.kind == DiscountKind::Percent) kind = "percent", value = hundredthsText(d.value) + "%";
    if (d.kind == DiscountKind::Empty) kind = "empty";
    return ctx.done(
        {{"number", number(d.number)}, {"kind", kind}, {"value", value}, {"name", d.name}});
}

int runCashierGet(Context& ctx, const Args& args) {
    std::uint8_t n = 0;
    if (int status = recordNumber(ctx, args, "cashier", n)) return status;
    auto r = ctx.reg.readCashier(n);
    if (!r) return ctx.failed(r);
    return printCashier(ctx, r.value());
}

constexpr std::uint8_t kServiceCashier = 20;

// Reads the cashier, changes the fields given, writes it back. The cashier's
// own password is --new-password: --password is the authorising cashier's.
int runCashierSet(Context& ctx, const Args& args) {
    std::uint8_t n = 0;
    if (int status = recordNumber(ctx, args, "cashier", n)) return status;
    if (int status = nameOption(ctx, args, hostkit::rules::kCashierName)) return status;
    long long password = 0;
    if (args.has("--new-password") &&
        !parseNumber(args.value("--new-password"), 0, 0xFFFFFFFFLL, password))
        return ctx.fail(kUsage, "--new-password takes a number 0 ... 4294967295");
    std::uint16_t rights = 0;
    if (args.has("--rights") && !parseRights(args.value("--rights"), rights))
        return ctx.fail(kUsage, "--rights takes " + rightNamesList());
    if (!args.has("--name") && !args.has("--new-password") && !args.has("--rights"))
        return ctx.fail(kUsage,
                        "give --name, --new-password or --rights (--password is the password of "
                        "the cashier who authorises the change)");
    // The register gives cashier 20 every right whatever is written: rights
    // alone would change nothing, and beside other changes they are dropped.
    const bool rightsKept =
        n == kServiceCashier && args.has("--rights") && rights != hostkit::kAllRights;
    if (rightsKept && !args.has("--name") && !args.has("--new-password"))
        return ctx.fail(kUsage, "the service cashier 20 always holds every right: --rights "
                                "cannot change them");
    if (rightsKept)
        std::fputs("okta-host: warning: the service cashier 20 always holds every right: "
                   "--rights is left out\n",
                   stderr);

    auto read = ctx.reg.readCashier(n);
    if (!read) return ctx.failed(read);
    CashierRecord c = read.value();
    if (args.has("--rights")) c.rights = rights;
    if (args.has("--new-password")) c.password = static_cast<std::uint32_t>(password);
    if (args.has("--name")) c.name = args.value("--name");
    auto written = ctx.reg.writeCashier(c);
    if (!written) return ctx.failed(written);
    // Cashier 20 is written only by itself, keeps its name and password when
    // given none and always holds every right: show what the register stored.
    if (n != kServiceCashier) return printCashier(ctx, written.value());
    if (c.password != 0) ctx.reg.setLogin({ctx.login.number, c.password});
    auto stored = ctx.reg.readCashier(n);
    if (!stored) return ctx.failed(stored);
    return printCashier(ctx, stored.value());
}

int runSectionGet(Context& ctx, const Args& args) {
    std::uint8_t n = 0;
    if (int status = recordNumber(ctx, args, "section", n)) return status;
    auto r = ctx.reg.readSection(n);
    if (!r) return ctx.failed(r);
    return printSection(ctx, r.value());
}

int runSectionSet(Context& ctx, const Args& args) {
    std::uint8_t n = 0;
    if (int status = recordNumber(ctx, args, "section", n)) return status;
    if (!args.has("--name")) return ctx.fail(kUsage, "give --name (an empty name clears it)");
    if (int status = nameOption(ctx, args, hostkit::rules::kSectionName)) return status;
    auto r = ctx.reg.writeSection({n, args.value("--name")});
    if (!r) return ctx.failed(r);
    return printSection(ctx, r.value());
}

int runDiscountGet(Context& ctx, const Args& args) {
    std::uint8_t n = 0;
    if (int status = recordNumber(ctx, args, "discount", n)) return status;
    auto r = ctx.reg.readDiscount(n);
    if (!r) return ctx.failed(r);
    return printDiscount(ctx, r.value());
}

int writeDiscount(Context& ctx, const DiscountRecord& d) {
    auto r = ctx.reg.writeDiscount(d);
    if (!r) return ctx.failed(r);
    return printDiscount(ctx, r.value());
}

int runDiscountSet(Context& ctx, const Args& args) {
    std::uint8_t n = 0;
    if (int status = recordNumber(ctx, args, "discount", n)) return status;
    if (int status = nameOption(ctx, args, hostkit::rules::kDiscountName)) return status;
    const bool isPercent = args.has("--percent");
    if (isPercent == args.has("--amount"))
        return ctx.fail(kUsage, "give either --percent P or --amount A");
    std::int64_t value = 0;
    if (!parseHundredths(args.value(isPercent ? "--percent" : "--amount"), value))
        return ctx.fail(kUsage, "the value takes a number with up to two decimals, as 10.00");
    auto broken =
        isPercent ? hostkit::rules::discountPercent(value) : hostkit::rules::discountAmount(value);
    if (broken) return ctx.fail(kUsage, *broken);
    return writeDiscount(ctx, {n, isPercent ? DiscountKind::Percent : DiscountKind::Amount, value,
                               args.value("--name")});
}

// A discount of value 0 is not valid: writing one removes the discount.
int runDiscountClear(Context& ctx, const Args& args) {
    std::uint8_t n = 0;
    if (int status = recordNumber(ctx, args, "discount", n)) return status;
    return writeDiscount(ctx, {n, DiscountKind::Empty, 0, ""});
}

int printClock(const Context& ctx, std::uint32_t seconds) {
    return ctx.done({{"seconds", number(seconds)}, {"local", localTimeText(seconds)}});
}

int runClockGet(Context& ctx, const Args&) {
    auto r = ctx.reg.readClock();
    if (!r) return ctx.failed(r);
    return printClock(ctx, r.value());
}

int runClockSet(Context& ctx, const Args& args) {
    std::uint32_t seconds = 0;
    std::string error;
    if (!parseTime(args.positional[0], seconds, error)) return ctx.fail(kUsage, error);
    auto r = ctx.reg.setClock(seconds);
    if (!r) return ctx.failed(r);
    return printClock(ctx, seconds);
}

// The device setting: only the rounding mode (parameter 1).
constexpr std::uint8_t kHalfEven = 1;

int printRounding(const Context& ctx, std::uint8_t mode) {
    return ctx.done({{"rounding", std::string(mode == kHalfEven ? "half-even" : "half-up")},
                     {"mode", number(mode)}});
}

int runSettingGet(Context& ctx, const Args& args) {
    if (args.positional[0] != "rounding") return ctx.fail(kUsage, "setting get takes: rounding");
    auto r = ctx.reg.roundingMode();
    if (!r) return ctx.failed(r);
    return printRounding(ctx, r.value());
}

int runSettingSet(Context& ctx, const Args& args) {
    const std::string& mode = args.positional[1];
    if (args.positional[0] != "rounding" || (mode != "half-even" && mode != "half-up"))
        return ctx.fail(kUsage, "setting set takes: rounding half-even|half-up");
    const std::uint8_t value = mode == "half-even" ? kHalfEven : 0;
    auto r = ctx.reg.setRoundingMode(value);
    if (!r) return ctx.failed(r);
    return printRounding(ctx, value);
}

int runPrinterSettingGet(Context& ctx, const Args& args) {
    const std::string& name = args.positional[0];
    if (name == "width") {
        auto r = ctx.reg.paperWidth();
        if (!r) return ctx.failed(r);
        return ctx.done({{"width", number(r.value())}});
    }
    if (name == "flags") {
        auto r = ctx.reg.printerFlags();
        if (!r) return ctx.failed(r);
        return ctx.done({{"flags", hexWord(r.value(), 8)}, {"value", number(r.value())}});
    }
    return ctx.fail(kUsage, "printer-setting get takes: width|flags");
}

int runPrinterSettingSet(Context& ctx, const Args& args) {
    const std::string& name = args.positional[0];
    long long value = 0;
    if (name == "width") {
        if (!parseNumber(args.positional[1], 0, 255, value)) value = -1;
        if (auto broken = hostkit::rules::paperWidth(value)) return ctx.fail(kUsage, *broken);
        auto r = ctx.reg.setPaperWidth(static_cast<std::uint8_t>(value));
        if (!r) return ctx.failed(r);
        return ctx.done({{"width", number(static_cast<unsigned long long>(value))}});
    }
    if (name == "flags") {
        if (!parseNumber(args.positional[1], 0, 0xFFFFFFFFLL, value))
            return ctx.fail(kUsage, "flags take a number 0 ... 4294967295 (or 0x hexadecimal)");
        const auto flags = static_cast<std::uint32_t>(value);
        auto r = ctx.reg.setPrinterFlags(flags);
        if (!r) return ctx.failed(r);
        return ctx.done({{"flags", hexWord(flags, 8)}, {"value", number(flags)}});
    }
    return ctx.fail(kUsage, "printer-setting set takes: width MM | flags N");
}

}  // namespace

void addConfigCommands(CommandTable& table) {
    table.push_back(
        {"cashier get", "N", "a cashier's record (command 1)", {}, 1, 1, true, runCashierGet});
    table.push_back(
        {"cashier set",
         "N [--name TEXT] [--new-password P] [--rights LIST]",
         "change a cashier (command 2): only the fields given change",
         {{"--name", "TEXT", "the name, up to 255 characters of the register's code page"},
          {"--new-password", "P",
           "the cashier's own new password (--password stays the "
           "authorising cashier's)"},
          {"--rights", "LIST", "rights: " + rightNamesList()}},
         1,
         1,
         true,
         runCashierSet});
    table.push_back(
        {"section get", "N", "a section's record (command 1)", {}, 1, 1, true, runSectionGet});
    table.push_back({"section set",
                     "N --name TEXT",
                     "name a section (command 2)",
                     {{"--name", "TEXT", "up to 126 characters; empty clears the name"}},
                     1,
                     1,
                     true,
                     runSectionSet});
    table.push_back(
        {"discount get", "N", "a discount's record (command 1)", {}, 1, 1, true, runDiscountGet});
    table.push_back({"discount set",
                     "N --percent P|--amount A [--name TEXT]",
                     "set a discount (command 2)",
                     {{"--percent", "P", "a percentage, above 0 and at most 100.00"},
                      {"--amount", "A", "a fixed amount off, as 5.00"},
                      {"--name", "TEXT", "printed name, up to 127 characters"}},
                     1,
                     1,
                     true,
                     runDiscountSet});
    table.push_back(
        {"discount clear", "N", "remove a discount (command 2)", {}, 1, 1, true, runDiscountClear});
    table.push_back(
        {"clock get", "", "the register's clock (command 3)", {}, 0, 0, false, runClockGet});
    table.push_back({"clock set",
                     "YYYY-MM-DDTHH:MM:SS|SECONDS",
                     "set the register's clock (command 4); the time is read as local time of "
                     "this machine (its TZ), and the register keeps seconds since 1970 UTC",
                     {},
                     1,
                     1,
                     true,
                     runClockSet});
    table.push_back({"setting get",
                     "rounding",
                     "a device setting (command 64)",
                     {},
                     1,
                     1,
                     true,
                     runSettingGet});
    table.push_back({"setting set",
                     "rounding half-even|half-up",
                     "change a device setting (command 65)",
                     {},
                     2,
                     2,
                     true,
                     runSettingSet});
    table.push_back({"printer-setting get",
                     "width|flags",
                     "a printer setting (command 193)",
                     {},
                     1,
                     1,
                     true,
                     runPrinterSettingGet});
    table.push_back({"printer-setting set",
                     "width MM|flags N",
                     "change a printer setting (command 194): the paper width (57 to 60 mm or "
                     "76 to 80 mm), or the flags (bit 0x1: the second layout of receipt "
                     "positions)",
                     {},
                     2,
                     2,
                     true,
                     runPrinterSettingSet});
}

}  // namespace hosttool
