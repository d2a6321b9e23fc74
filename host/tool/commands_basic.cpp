// okta-host raw, version, enq: the protocol itself.

#include <cstdio>

#include "common/result_code.h"
#include "host/tool/cli.h"

namespace hosttool {

namespace {

Fields responseFields(const hostkit::Response& r) {
    return {{"code", static_cast<long long>(r.code)},
            {"meaning", std::string(resultCodeText(r.code))},
            {"id", static_cast<unsigned long long>(r.id)},
            {"data", hexUpper(r.data)}};
}

// The answer whatever its code: its fields on success, a refusal with the
// same fields otherwise.
int printResponse(Context& ctx, const hostkit::Response& r, std::uint8_t command = 0) {
    if (r.code == 0) return ctx.done(responseFields(r));
    hostkit::Refusal refusal{static_cast<std::uint8_t>(r.code), r.data, command};
    return ctx.refused(refusal,
                       {{"id", static_cast<unsigned long long>(r.id)}, {"data", hexUpper(r.data)}});
}

// raw CMD [HEX...] [--id N]: any request, its answer shown whatever it is.
int runRaw(Context& ctx, const Args& args) {
    long long id = 0, command = 0;
    if (args.has("--id") && !parseNumber(args.value("--id"), 0, 0xFFFFFFFFLL, id))
        return ctx.fail(kUsage, "--id takes a number 0 ... 4294967295 (0: a fresh one)");
    if (!parseNumber(args.positional[0], 0, 255, command))
        return ctx.fail(kUsage, "raw takes a command code 0 ... 255");
    std::string hex;
    for (std::size_t i = 1; i < args.positional.size(); ++i) hex += args.positional[i];
    Bytes data;
    if (!parseHex(hex, data)) return ctx.fail(kUsage, "the data are hexadecimal bytes, as 0A1B");
    auto r = ctx.client.exchange(static_cast<std::uint8_t>(command), data,
                                 static_cast<std::uint32_t>(id));
    if (!r) return ctx.failed(r);
    return printResponse(ctx, r.value(), static_cast<std::uint8_t>(command));
}

int runVersion(Context& ctx, const Args&) {
    auto r = ctx.reg.version();
    if (!r) return ctx.failed(r);
    if (ctx.json) return ctx.done({{"version", r->text()}});
    std::printf("%s\n", r->text().c_str());
    return kOk;
}

int runEnq(Context& ctx, const Args&) {
    hostkit::Response r;
    std::string error;
    if (!ctx.client.enq(r, error, ctx.client.timeoutFor(0)))
        return ctx.fail(ctx.client.lineLost() ? kLost : kNoAnswer, error);
    return printResponse(ctx, r);
}

}  // namespace

void addBasicCommands(CommandTable& table) {
    table.push_back({"raw",
                     "CMD [HEX...]",
                     "send any request and show the answer, whatever its code; the data after "
                     "the command code are hexadecimal bytes (a cashier prefix is yours to add)",
                     {{"--id", "N", "the transaction identifier (default: a fresh one)"}},
                     1,
                     1000,
                     false,
                     runRaw});
    table.push_back(
        {"version", "", "the software version (command 51)", {}, 0, 0, false, runVersion});
    table.push_back(
        {"enq", "", "ask for the register's last response again (ENQ)", {}, 0, 0, false, runEnq});
}

}  // namespace hosttool
