// okta-host raw, version, enq: the protocol itself.

#include "common/result_code.h"
#include "host/cli.h"

namespace hostkit {

namespace {

Fields responseFields(const Response& r) {
    return {{"code", static_cast<long long>(r.code)},
            {"meaning", std::string(resultCodeText(r.code))},
            {"id", static_cast<unsigned long long>(r.id)},
            {"data", hexUpper(r.data)}};
}

// raw CMD [HEX] [--id N]: any request; the answer is printed whatever its code.
int runRaw(Context& ctx, std::vector<std::string>& args) {
    std::string idText;
    long long id = 0;
    if (takeOption(args, "--id", idText) && !parseNumber(idText, 0, 0xFFFFFFFFLL, id))
        return fail(ctx, kUsage, "--id takes a number 0 ... 4294967295");
    long long command = 0;
    if (args.empty() || !parseNumber(args[0], 0, 255, command))
        return fail(ctx, kUsage, "raw takes a command code 0 ... 255");
    Bytes data;
    std::string hex;
    for (std::size_t i = 1; i < args.size(); ++i) hex += args[i];
    if (!parseHex(hex, data)) return fail(ctx, kUsage, "data must be hexadecimal bytes");
    if (!ctx.connect()) return kNoLink;
    Response r;
    std::string error;
    if (!ctx.client.request(static_cast<std::uint8_t>(command), data, r, error,
                            static_cast<std::uint32_t>(id), ctx.timeoutMs))
        return fail(ctx, kNoLink, error);
    ctx.print(responseFields(r));
    return r.code == 0 ? kOk : kRegisterRefused;
}

int runVersion(Context& ctx, std::vector<std::string>&) {
    Response r;
    if (int status = ctx.call(51, {}, r)) return status;
    if (r.data.size() != 3) return fail(ctx, kNoLink, "version answer is not 3 bytes");
    std::string version = std::to_string(r.data[0]) + "." + std::to_string(r.data[1]) + "." +
                          std::to_string(r.data[2]);
    if (ctx.json)
        ctx.print({{"version", version}});
    else
        std::printf("%s\n", version.c_str());
    return kOk;
}

int runEnq(Context& ctx, std::vector<std::string>&) {
    if (!ctx.connect()) return kNoLink;
    Response r;
    std::string error;
    if (!ctx.client.enq(r, error, ctx.timeoutMs)) return fail(ctx, kNoLink, error);
    ctx.print(responseFields(r));
    return kOk;
}

}  // namespace

void addBasicCommands(CommandTable& table) {
    table.push_back({"raw", "CMD [HEX...] [--id N]", "send any request and show the answer", runRaw});
    table.push_back({"version", "", "software version (command 51)", runVersion});
    table.push_back({"enq", "", "ask for the last response again", runEnq});
}

}  // namespace hostkit
