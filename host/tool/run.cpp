// One run of okta-host: the global options (anywhere before "--"), then
// help, or one subcommand with its own options. `okta-host help COMMAND`
// and `COMMAND --help` print a subcommand's usage without touching the line.

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "host/rules.h"
#include "host/tool/cli.h"
#include "host/tool/wait_notice.h"

namespace hosttool {

namespace {

bool envFlag(const char* name) {
    const char* v = std::getenv(name);
    return v && *v && std::string(v) != "0";
}

// --cashier N: a number 1 to 20.
int setCashier(Context& ctx, const std::string& option, const std::string& value) {
    long long n = 0;
    if (!parseNumber(value, 0, 255, n)) n = -1;
    if (auto broken = hostkit::rules::cashierNumber(n))
        return ctx.fail(kUsage, option + ": " + *broken);
    ctx.login.number = static_cast<std::uint8_t>(n);
    return kOk;
}

// --password P: a number 0 to 4294967295.
int setPassword(Context& ctx, const std::string& option, const std::string& value) {
    long long n = 0;
    if (!parseNumber(value, 0, 0xFFFFFFFFLL, n))
        return ctx.fail(kUsage, option + " takes a number 0 ... 4294967295");
    ctx.login.password = static_cast<std::uint32_t>(n);
    ctx.passwordGiven = true;
    return kOk;
}

// The defaults of the environment: OKTA_PORT, OKTA_TRACE, OKTA_CASHIER,
// OKTA_PASSWORD. Returns kOk, or the exit status of a bad one.
int takeEnvironment(Context& ctx) {
    if (const char* env = std::getenv("OKTA_PORT")) ctx.port = env;
    ctx.trace = envFlag("OKTA_TRACE");
    if (const char* env = std::getenv("OKTA_CASHIER"); env && *env)
        if (int status = setCashier(ctx, "OKTA_CASHIER", env)) return status;
    if (const char* env = std::getenv("OKTA_PASSWORD"); env && *env)
        if (int status = setPassword(ctx, "OKTA_PASSWORD", env)) return status;
    return kOk;
}

// Takes the global options out of `words`, wherever they stand before "--".
// Returns kOk, or the exit status of a bad one.
int takeGlobalOptions(Context& ctx, std::vector<std::string>& words) {
    if (int status = takeEnvironment(ctx)) return status;
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
        int status = kOk;
        if (name == "--port") {
            ctx.port = value;
        } else if (name == "--timeout") {
            if (!parseNumber(value, 1, 86'400'000, n))
                return ctx.fail(kUsage, "--timeout takes milliseconds, 1 or more");
            ctx.timeoutMs = static_cast<int>(n);
        } else if (name == "--cashier") {
            status = setCashier(ctx, name, value);
        } else {
            status = setPassword(ctx, name, value);
        }
        if (status != kOk) return status;
    }
    words = std::move(rest);
    return kOk;
}

// Only the service cashier has a password a new register knows: any other
// cashier without one would be tried with it and refused.
int checkLogin(const Context& ctx) {
    if (ctx.login.number == 20 || ctx.passwordGiven) return kOk;
    return ctx.fail(kUsage, "cashier " + std::to_string(ctx.login.number) +
                                " needs --password (or OKTA_PASSWORD): only the service "
                                "cashier 20 has a default password");
}

// One line: the command (with its subcommand, for a group) that is not
// there, and the nearest one that is.
int unknownCommand(const Context& ctx, const CommandTable& table,
                   const std::vector<std::string>& words) {
    const bool inGroup = words.size() > 1 && isCommandGroup(table, words[0]);
    const std::string typed = inGroup ? words[0] + " " + words[1] : words[0];
    const std::string nearest = nearestCommand(table, typed);
    return ctx.fail(kUsage, "unknown command: " + typed +
                                (nearest.empty() ? " (okta-host help lists them)"
                                                 : "; did you mean " + nearest + "?"));
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
        if (command && used == words.size()) return printHelp(ctx, commandHelp(*command));
        if (command)
            return ctx.fail(kUsage, "help takes one command: okta-host help " + command->name);
        if (words.size() == 1 && isCommandGroup(table, words[0]))
            return printHelp(ctx, groupHelp(table, words[0]));
        return unknownCommand(ctx, table, words);
    }

    std::size_t used = 0;
    const Command* command = findCommand(table, words, used);
    if (!command && isCommandGroup(table, words[0])) {
        if (words.size() > 1 && (words[1] == "--help" || words[1] == "-h"))
            return printHelp(ctx, groupHelp(table, words[0]));
        if (words.size() == 1) {
            std::fputs(groupHelp(table, words[0]).c_str(), stderr);
            return ctx.fail(kUsage, words[0] + " needs a subcommand");
        }
    }
    if (!command) return unknownCommand(ctx, table, words);
    words.erase(words.begin(), words.begin() + static_cast<std::ptrdiff_t>(used));
    Args args;
    bool helpAsked = false;
    std::string error;
    if (!parseArgs(*command, words, args, helpAsked, error)) {
        std::fputs(commandHelp(*command).c_str(), stderr);
        return ctx.fail(kUsage, error);
    }
    if (helpAsked) return printHelp(ctx, commandHelp(*command));
    ctx.cashierSent = command->needsCashier;
    if (ctx.cashierSent)
        if (int status = checkLogin(ctx)) return status;

    // Long waits are told on standard error, except to a script that reads
    // --json.
    std::optional<WaitNotice> notice;
    if (!ctx.json) notice.emplace();
    ctx.client.setTrace([&ctx, &notice](const hostkit::TraceEvent& e) {
        if (ctx.trace) std::cerr << hostkit::formatTrace(e) << "\n";
        if (notice) notice->observe(e);
    });
    ctx.client.setTimeoutMs(ctx.timeoutMs);
    ctx.reg.setLogin(ctx.login);
    if (!ctx.connect()) return kNoLine;
    return command->run(ctx, args);
}

}  // namespace hosttool
