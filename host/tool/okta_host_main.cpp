// okta-host: speaks the register's host protocol from the command line.
//
//   okta-host [--port PATH] [--json] [--timeout MS] [--cashier N --password P] COMMAND ...
//
// The port defaults to $OKTA_PORT. Exit status: 0 success, 1 the register
// refused (its result code is printed in words), 2 bad command line, 3 no
// answer on the line.

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "host/cli.h"

using namespace hostkit;

namespace {

CommandTable allCommands() {
    CommandTable table;
    addBasicCommands(table);
    addConfigCommands(table);
    addPrinterCommands(table);
    addIdentityCommands(table);
    return table;
}

void printUsage(const CommandTable& table) {
    std::printf(
        "usage: okta-host [--port PATH] [--json] [--timeout MS] [--cashier N] [--password P] "
        "COMMAND [ARGS]\n\ncommands:\n");
    for (const Command& c : table) {
        const std::string synopsis = c.usage.empty() ? c.name : c.name + " " + c.usage;
        if (synopsis.size() <= 28)
            std::printf("  %-28s %s\n", synopsis.c_str(), c.summary.c_str());
        else
            std::printf("  %s\n  %-28s %s\n", synopsis.c_str(), "", c.summary.c_str());
    }
    std::printf("\nThe port defaults to $OKTA_PORT. Authorised commands use cashier 20 with the\n"
                "factory service password 271828 unless --cashier and --password say otherwise.\n");
}

// Takes the global options out of args, wherever they stand.
int takeGlobalOptions(Context& ctx, std::vector<std::string>& args) {
    std::string value;
    if (const char* env = std::getenv("OKTA_PORT")) ctx.port = env;
    if (takeOption(args, "--port", value)) ctx.port = value;
    ctx.json = takeFlag(args, "--json");
    long long n = 0;
    if (takeOption(args, "--timeout", value)) {
        if (!parseNumber(value, 1, 3600000, n)) return fail(ctx, kUsage, "--timeout takes milliseconds");
        ctx.timeoutMs = static_cast<int>(n);
    }
    if (takeOption(args, "--cashier", value)) {
        if (!parseNumber(value, 0, 255, n)) return fail(ctx, kUsage, "--cashier takes 1 ... 20");
        ctx.cashier = static_cast<std::uint8_t>(n);
    }
    if (takeOption(args, "--password", value)) {
        if (!parseNumber(value, 0, 0xFFFFFFFFLL, n))
            return fail(ctx, kUsage, "--password takes a number 0 ... 4294967295");
        ctx.password = static_cast<std::uint32_t>(n);
    }
    return kOk;
}

// The command whose name starts args; a two-word name wins over one word.
const Command* findCommand(const CommandTable& table, const std::vector<std::string>& args,
                           std::size_t& words) {
    for (std::size_t w = std::min<std::size_t>(2, args.size()); w >= 1; --w) {
        std::string joined;
        for (std::size_t i = 0; i < w; ++i) joined += (i ? " " : "") + args[i];
        for (const Command& c : table) {
            if (c.name == joined) {
                words = w;
                return &c;
            }
        }
    }
    return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    const CommandTable table = allCommands();
    if (args.empty() || args[0] == "help" || args[0] == "--help" || args[0] == "-h") {
        printUsage(table);
        return args.empty() ? kUsage : kOk;
    }
    Context ctx;
    if (int status = takeGlobalOptions(ctx, args)) return status;
    std::size_t words = 0;
    const Command* command = findCommand(table, args, words);
    if (!command) {
        printUsage(table);
        return fail(ctx, kUsage, "unknown command: " + (args.empty() ? std::string() : args[0]));
    }
    args.erase(args.begin(), args.begin() + static_cast<std::ptrdiff_t>(words));
    return command->run(ctx, args);
}
