// One run of okta-host: the global options (anywhere before "--"), then
// help, or one subcommand with its own options. `okta-host help COMMAND`
// and `COMMAND --help` print a subcommand's usage without touching the line.

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "host/rules.h"
#include "host/tool/cli.h"

namespace hosttool {

namespace {

bool envFlag(const char* name) {
    const char* v = std::getenv(name);
    return v && *v && std::string(v) != "0";
}

// Takes the global options out of `words`, wherever they stand before "--".
// Returns kOk, or the exit status of a bad one.
int takeGlobalOptions(Context& ctx, std::vector<std::string>& words) {
    if (const char* env = std::getenv("OKTA_PORT")) ctx.port = env;
    ctx.trace = envFlag("OKTA_TRACE");
    std::vector<std::string> rest;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& w = words[i];
        if (w == "--") {
            rest.insert(rest.end(), words.begin() + static_cast<std::ptrdiff_t>(i), words.end());
            break;
        }
        if (w == "--json") {
            ctx.json = true;
            continue;
        }
        if (w == "--trace") {
            ctx.trace = true;
            continue;
        }
        const std::size_t eq = w.find('=');
        const std::string name = w.substr(0, eq);
        if (name != "--port" && name != "--timeout" && name != "--cashier" &&
            name != "--password") {
            rest.push_back(w);
            continue;
        }
        std::string value;
        if (eq != std::string::npos)
            value = w.substr(eq + 1);
        else if (i + 1 < words.size())
            value = words[++i];
        else
            return ctx.fail(kUsage, name + " takes a value");
        long long n = 0;
        if (name == "--port") {
            ctx.port = value;
        } else if (name == "--timeout") {
            if (!parseNumber(value, 1, 86'400'000, n))
                return ctx.fail(kUsage, "--timeout takes milliseconds, 1 or more");
            ctx.timeoutMs = static_cast<int>(n);
        } else if (name == "--cashier") {
            if (!parseNumber(value, 0, 255, n)) n = -1;
            if (auto broken = hostkit::rules::cashierNumber(n))
                return ctx.fail(kUsage, "--cashier: " + *broken);
            ctx.login.number = static_cast<std::uint8_t>(n);
        } else {
            if (!parseNumber(value, 0, 0xFFFFFFFFLL, n))
                return ctx.fail(kUsage, "--password takes a number 0 ... 4294967295");
            ctx.login.password = static_cast<std::uint32_t>(n);
        }
    }
    words = std::move(rest);
    return kOk;
}

int printHelp(const Context& ctx, const std::string& text) {
    if (ctx.json) return ctx.done({{"help", text}});
    std::fputs(text.c_str(), stdout);
    return kOk;
}

}  // namespace

int runOktaHost(std::vector<std::string> words) {
    const CommandTable table = allCommands();
    Context ctx;
    if (int status = takeGlobalOptions(ctx, words)) return status;

    if (words.empty()) {
        std::fputs(toolHelp(table).c_str(), stderr);
        return ctx.fail(kUsage, "no command given");
    }
    if (words[0] == "help" || words[0] == "--help" || words[0] == "-h") {
        words.erase(words.begin());
        if (words.empty()) return printHelp(ctx, toolHelp(table));
        std::size_t used = 0;
        const Command* command = findCommand(table, words, used);
        if (!command || used != words.size())
            return ctx.fail(kUsage,
                            "no such command: " + words[0] + " (okta-host help lists them)");
        return printHelp(ctx, commandHelp(*command));
    }

    std::size_t used = 0;
    const Command* command = findCommand(table, words, used);
    if (!command) {
        std::fputs(toolHelp(table).c_str(), stderr);
        return ctx.fail(kUsage, "unknown command: " + words[0]);
    }
    words.erase(words.begin(), words.begin() + static_cast<std::ptrdiff_t>(used));
    Args args;
    bool helpAsked = false;
    std::string error;
    if (!parseArgs(*command, words, args, helpAsked, error)) {
        std::fputs(commandHelp(*command).c_str(), stderr);
        return ctx.fail(kUsage, error);
    }
    if (helpAsked) return printHelp(ctx, commandHelp(*command));

    if (ctx.trace)
        ctx.client.setTrace(
            [](const hostkit::TraceEvent& e) { std::cerr << hostkit::formatTrace(e) << "\n"; });
    ctx.client.setTimeoutMs(ctx.timeoutMs);
    ctx.reg.setLogin(ctx.login);
    if (!ctx.connect()) return kNoLine;
    return command->run(ctx, args);
}

}  // namespace hosttool
