#pragma once
// The frame of okta-host: global options, the session with the register,
// and the table of subcommands, each in a file of its own.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "host/client.h"
#include "host/output.h"

namespace hostkit {

// Exit statuses of okta-host.
enum Exit : int {
    kOk = 0,
    kRegisterRefused = 1,  // the register answered a result code other than 0
    kUsage = 2,            // bad command line
    kNoLink = 3,           // the line could not be opened or did not answer
};

struct Context {
    std::string port;
    bool json = false;
    int timeoutMs = Client::kDefaultTimeoutMs;
    // The cashier prefix of authorised requests.
    std::uint8_t cashier = 20;
    std::uint32_t password = 271828;  // the factory service password

    Client client;

    // Opens the port once; prints the reason and returns false on failure.
    bool connect();

    // One request. Returns kOk with `r` filled when the register answered 0;
    // otherwise prints why (the result code in words) and returns the exit
    // status to end with.
    int call(std::uint8_t command, const Bytes& data, Response& r, std::uint32_t id = 0);

    // The cashier prefix: number, then password (u32).
    Bytes cashierPrefix() const;

    // Prints fields as text or JSON.
    void print(const Fields& fields) const;
};

// Prints a failure to standard error ("okta-host: ..."), as JSON on
// standard output too with --json; returns `status`.
int fail(const Context& ctx, int status, const std::string& message, int code = -1);

struct Command {
    std::string name;     // may hold two words, as "cashier get"
    std::string usage;    // the arguments after the name
    std::string summary;  // one line
    std::function<int(Context&, std::vector<std::string>&)> run;
};

using CommandTable = std::vector<Command>;

// Each group of subcommands adds its rows.
void addBasicCommands(CommandTable& table);
void addConfigCommands(CommandTable& table);
void addPrinterCommands(CommandTable& table);
void addIdentityCommands(CommandTable& table);

// Argument helpers for subcommands. Each removes what it takes from `args`.
// A flag such as --bold; true when present.
bool takeFlag(std::vector<std::string>& args, const std::string& flag);
// An option with a value such as --name X; false when absent.
bool takeOption(std::vector<std::string>& args, const std::string& option, std::string& value);

// Parses a whole number within [min, max]; false when it is not one.
bool parseNumber(const std::string& text, long long min, long long max, long long& value);

}  // namespace hostkit
