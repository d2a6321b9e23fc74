// okta-host printer status, print, print-raw, feed-cut: driving the
// register's printer directly (commands 192, 195, 196, 197). Texts are given
// in UTF-8 and sent in CP866. The four format bytes of a formatted print
// are encoded here, independently of the register's own code.

#include "common/cp866.h"
#include "host/cli.h"

namespace hostkit {

namespace {

constexpr std::uint8_t kPrinterStatus = 192;
constexpr std::uint8_t kFormattedPrint = 195;
constexpr std::uint8_t kRawPrint = 196;
constexpr std::uint8_t kFeedAndCut = 197;

// Byte 3 of the format: style flags and the cut.
constexpr std::uint8_t kBold = 0x01;
constexpr std::uint8_t kCarriedFlag = 0x02;  // attribute bit 28: carried, not printed
constexpr std::uint8_t kInverse = 0x04;
constexpr std::uint8_t kDoubleSize = 0x08;
constexpr std::uint8_t kCut = 0x10;

int runStatus(Context& ctx, std::vector<std::string>&) {
    Response r;
    if (int status = ctx.call(kPrinterStatus, {}, r)) return status;
    ctx.print({{"printer", std::string("ok")}});
    return kOk;
}

// The four format bytes: line spacing, alignment, font, flags.
int takeFormat(Context& ctx, std::vector<std::string>& args, Bytes& format) {
    std::string value;
    long long spacing = 0, font = 0;
    if (takeOption(args, "--spacing", value) && !parseNumber(value, 0, 5, spacing))
        return fail(ctx, kUsage, "--spacing takes 0 ... 5");
    if (takeOption(args, "--font", value) && !parseNumber(value, 0, 3, font))
        return fail(ctx, kUsage, "--font takes 0 ... 3 (2 and 3 are the large font)");
    std::uint8_t align = 0;
    if (takeOption(args, "--align", value)) {
        if (value == "centre" || value == "center")
            align = 1;
        else if (value == "right")
            align = 2;
        else if (value != "left")
            return fail(ctx, kUsage, "--align takes left, centre or right");
    }
    std::uint8_t flags = 0;
    if (takeFlag(args, "--bold")) flags |= kBold;
    if (takeFlag(args, "--carried-flag")) flags |= kCarriedFlag;
    if (takeFlag(args, "--inverse")) flags |= kInverse;
    if (takeFlag(args, "--double")) flags |= kDoubleSize;
    if (takeFlag(args, "--cut")) flags |= kCut;
    format = {static_cast<std::uint8_t>(spacing), align, static_cast<std::uint8_t>(font), flags};
    return kOk;
}

int runPrint(Context& ctx, std::vector<std::string>& args) {
    Bytes data;
    if (int status = takeFormat(ctx, args, data)) return status;
    for (const std::string& a : args)
        if (a.rfind("--", 0) == 0) return fail(ctx, kUsage, "unknown option " + a);
    std::string text;
    for (std::size_t i = 0; i < args.size(); ++i) text += (i ? " " : "") + args[i];
    le::putText(data, cp866::fromUtf8(text));
    Response r;
    if (int status = ctx.call(kFormattedPrint, data, r)) return status;
    ctx.print({{"printed", true}});
    return kOk;
}

int runPrintRaw(Context& ctx, std::vector<std::string>& args) {
    std::string hex;
    for (const std::string& a : args) hex += a;
    Bytes data;
    if (!parseHex(hex, data) || data.empty())
        return fail(ctx, kUsage, "print-raw takes the bytes in hexadecimal");
    Response r;
    if (int status = ctx.call(kRawPrint, data, r)) return status;
    ctx.print({{"sent", static_cast<unsigned long long>(data.size())}});
    return kOk;
}

int runFeedCut(Context& ctx, std::vector<std::string>&) {
    Response r;
    if (int status = ctx.call(kFeedAndCut, {}, r)) return status;
    ctx.print({{"cut", true}});
    return kOk;
}

}  // namespace

void addPrinterCommands(CommandTable& table) {
    table.push_back(
        {"printer status", "", "ask the printer for its paper (command 192)", runStatus});
    table.push_back({"print", "TEXT [--font N --align A ...]",
                     "print UTF-8 text as one block (command 195): --font 0-3, --align "
                     "left|centre|right, --spacing 0-5, --bold, --double, --inverse, --cut, "
                     "--carried-flag (sets attribute bit 28, which changes nothing on paper)",
                     runPrint});
    table.push_back(
        {"print-raw", "HEX...", "send bytes to the printer unchanged (command 196)", runPrintRaw});
    table.push_back({"feed-cut", "", "feed the paper and cut (command 197)", runFeedCut});
}

}  // namespace hostkit
