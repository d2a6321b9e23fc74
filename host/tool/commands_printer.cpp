// okta-host printer status, print, print-raw, feed-cut: driving the
// register's printer directly (commands 192, 195, 196, 197). Texts are given
// in UTF-8 and sent in CP866.

#include "host/tool/cli.h"

namespace hosttool {

namespace {

int runPrinterStatus(Context& ctx, const Args&) {
    auto r = ctx.reg.printerStatus();
    if (!r) return ctx.failed(r);
    return ctx.done({{"printer", std::string("ok")}});
}

// The format of a formatted print from the options; kOk or the exit status
// of a bad one.
int takeFormat(const Context& ctx, const Args& args, hostkit::PrintFormat& f) {
    long long spacing = 0, font = 0;
    if (args.has("--spacing") && !parseNumber(args.value("--spacing"), 0, 5, spacing))
        return ctx.fail(kUsage, "--spacing takes 0 ... 5");
    if (args.has("--font") && !parseNumber(args.value("--font"), 0, 3, font))
        return ctx.fail(kUsage, "--font takes 0 ... 3 (2 and 3 are the large font)");
    f.lineSpacing = static_cast<std::uint8_t>(spacing);
    f.font = static_cast<std::uint8_t>(font);
    const std::string align = args.value("--align");
    if (align == "centre" || align == "center")
        f.align = hostkit::Align::Centre;
    else if (align == "right")
        f.align = hostkit::Align::Right;
    else if (args.has("--align") && align != "left")
        return ctx.fail(kUsage, "--align takes left, centre or right");
    f.bold = args.has("--bold");
    f.carriedFlag = args.has("--carried-flag");
    f.inverse = args.has("--inverse");
    f.doubleSize = args.has("--double");
    f.cut = args.has("--cut");
    return kOk;
}

int runPrint(Context& ctx, const Args& args) {
    hostkit::PrintFormat format;
    if (int status = takeFormat(ctx, args, format)) return status;
    std::string text;
    for (std::size_t i = 0; i < args.positional.size(); ++i)
        text += (i ? " " : "") + args.positional[i];
    auto r = ctx.reg.printText(format, text);
    if (!r) return ctx.failed(r);
    return ctx.done({{"printed", true}});
}

int runPrintRaw(Context& ctx, const Args& args) {
    std::string hex;
    for (const std::string& a : args.positional) hex += a;
    Bytes data;
    if (!parseHex(hex, data) || data.empty())
        return ctx.fail(kUsage, "print-raw takes the bytes in hexadecimal, as 1B 40");
    auto r = ctx.reg.printRaw(data);
    if (!r) return ctx.failed(r);
    return ctx.done({{"sent", static_cast<unsigned long long>(data.size())}});
}

int runFeedCut(Context& ctx, const Args&) {
    auto r = ctx.reg.feedAndCut();
    if (!r) return ctx.failed(r);
    return ctx.done({{"cut", true}});
}

}  // namespace

void addPrinterCommands(CommandTable& table) {
    table.push_back({"printer status",
                     "",
                     "ask the printer for its paper (command 192)",
                     {},
                     0,
                     0,
                     false,
                     runPrinterStatus});
    table.push_back(
        {"print",
         "[OPTIONS] [--] TEXT...",
         "print UTF-8 text as one block (command 195); the words are joined by spaces, and "
         "text that begins with - goes after --",
         {{"--font", "N", "0 and 1 the small font, 2 and 3 the large one (default 0)"},
          {"--align", "A", "left, centre or right"},
          {"--spacing", "N", "line spacing 0 ... 5"},
          {"--bold", "", "emphasised"},
          {"--double", "", "double height and width"},
          {"--inverse", "", "white on black"},
          {"--cut", "", "feed and cut after the text"},
          {"--carried-flag", "", "sets attribute bit 28, which changes nothing on paper"}},
         0,
         10000,
         false,
         runPrint});
    table.push_back({"print-raw",
                     "HEX...",
                     "send bytes to the printer unchanged (command 196)",
                     {},
                     1,
                     10000,
                     false,
                     runPrintRaw});
    table.push_back(
        {"feed-cut", "", "feed the paper and cut (command 197)", {}, 0, 0, false, runFeedCut});
}

}  // namespace hosttool
