#pragma once
// The frame of okta-host: its exit statuses, the session with the register
// (global options, the line opened on first use), the command table with
// each subcommand's options, and how outcomes are printed: "name: value"
// lines, or with --json one JSON object on standard output for every
// outcome, usage and errors going to standard error.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "host/client.h"
#include "host/register.h"
#include "host/tool/output.h"

namespace hosttool {

// One exit status per kind of outcome.
enum Exit : int {
    kOk = 0,
    kRefused = 1,   // the register answered a result code other than 0
    kUsage = 2,     // a bad command line, or a value that breaks the register's rules
    kNoLine = 3,    // no line to open: none given, none there, or held by another program
    kNoAnswer = 4,  // the line failed: no answer in time, or answers that do not read
    kLost = 5,      // the register went away: its line hung up, ended or failed
};

struct Context {
    std::string port;
    bool json = false;
    bool trace = false;
    int timeoutMs = 0;  // 0: each command's own default
    hostkit::CashierLogin login;
    bool passwordGiven = false;  // --password or OKTA_PASSWORD
    bool cashierSent = false;    // the command carries the cashier prefix

    hostkit::Client client;
    hostkit::Register reg{client};

    // Opens the line; prints why and returns false when it cannot (then
    // the exit status is kNoLine).
    bool connect();

    // Prints a success: the fields as lines, or as one JSON object that
    // starts with "ok": true.
    int done(const Fields& fields) const;

    // Prints a failure to standard error, and with --json as one JSON object
    // ("ok": false, "error", "kind", "code" and "meaning" of a refusal, or
    // null, and the extra fields); returns `status`.
    int fail(int status, const std::string& message, const Fields& extra = {}) const;

    // The exit status and message of a failed call.
    template <typename T>
    int failed(const hostkit::Result<T>& r, const Fields& extra = {}) {
        if (const hostkit::Refusal* refusal = r.refusal()) return refused(*refusal, extra);
        if (r.rejected()) return fail(kUsage, r.describe(), extra);
        return fail(r.lineFailure()->lost ? kLost : kNoAnswer, r.describe(), extra);
    }
    // A refusal with its usual cause where it has one (refusal_hints.cpp).
    int refused(const hostkit::Refusal& refusal, const Fields& extra = {});
};

// A subcommand's option: "--name" with a value called "TEXT", or a flag
// when `value` is empty; a repeatable one may be given more than once.
struct Option {
    std::string name;
    std::string value;
    std::string help;
    bool repeatable = false;
};

// A parsed command line of one subcommand: its options (a flag's value is
// empty) in the order given, and its positional arguments.
struct Args {
    std::vector<std::pair<std::string, std::string>> options;
    std::vector<std::string> positional;

    bool has(const std::string& option) const;
    // The option's value; empty when absent.
    std::string value(const std::string& option) const;
};

struct Command {
    std::string name;      // one or two words, as "cashier get"
    std::string synopsis;  // the arguments after the name
    std::string summary;   // what it does, with its command code
    std::vector<Option> options;
    std::size_t minArgs = 0;  // positional arguments
    std::size_t maxArgs = 0;
    bool needsCashier = false;  // sends the cashier prefix (--cashier, --password)
    std::function<int(Context&, const Args&)> run;
};

using CommandTable = std::vector<Command>;

// Each group of subcommands adds its rows.
void addBasicCommands(CommandTable& table);
void addConfigCommands(CommandTable& table);
void addPrinterCommands(CommandTable& table);
void addIdentityCommands(CommandTable& table);
void addDocumentCommands(CommandTable& table);
void addDocumentStepCommands(CommandTable& table);
void addCounterCommands(CommandTable& table);
void addReportCommands(CommandTable& table);

// The whole table, in the order of the help text.
CommandTable allCommands();

// The command whose name starts `words` (a two-word name before one word),
// with the count of words its name took; null when there is none.
const Command* findCommand(const CommandTable& table, const std::vector<std::string>& words,
                           std::size_t& used);

// One run of okta-host on its arguments (without the program name): its
// exit status.
int runOktaHost(std::vector<std::string> words);

// Parses a subcommand's words after its name: declared options (as
// "--name VALUE" or "--name=VALUE"), positional arguments, "--" ending the
// options. False with `error` set for an unknown option, a missing value,
// or a count of positional arguments outside the command's range.
// `helpAsked` is set by --help or -h.
bool parseArgs(const Command& command, const std::vector<std::string>& words, Args& args,
               bool& helpAsked, std::string& error);

// The help text of one subcommand, and of the whole tool.
std::string commandHelp(const Command& command);
std::string toolHelp(const CommandTable& table);

// A group is the first word of two-word names, as "receipt" or "shift".
bool isCommandGroup(const CommandTable& table, const std::string& word);
// The subcommands of a group, as toolHelp lists them.
std::string groupHelp(const CommandTable& table, const std::string& group);
// The command name (or group) nearest to what was typed ("shift open" for
// "shift opn"); empty when none is near.
std::string nearestCommand(const CommandTable& table, const std::string& typed);

// Parses a whole number within [min, max] (decimal, or 0x hexadecimal);
// false when it is not one.
bool parseNumber(const std::string& text, long long min, long long max, long long& value);

}  // namespace hosttool
