#include "host/commands.h"

#include <algorithm>
#include <iterator>

namespace hostkit {

namespace {

// Answered without printing: from memory, the settings files, the EEPROM or
// the archive, or after one printer status query (1.5 s at worst).
constexpr int kQuick = 5'000;
// One print job with its status check: 19 s when the printer is silent, plus
// the status query before it.
constexpr int kOnePrint = 25'000;
// Closing a document: status query, storing, then the body and the footer,
// two print jobs that may each take 19 s.
constexpr int kTwoPrints = 45'000;
// Up to four print jobs (a preview, a copy), each may take 19 s.
constexpr int kFourPrints = 90'000;
// A report prints block by block; a silent printer fails only some blocks.
constexpr int kReport = 180'000;
// The control tape prints every document of the shift as a job of its own.
constexpr int kControlTape = 1'800'000;

constexpr CommandInfo kCommands[] = {
    {1, "read a reference record", kQuick},
    {2, "write a reference record", kQuick},
    {3, "read the clock", kQuick},
    {4, "set the clock", kQuick},
    {6, "cancel the open document", kOnePrint},
    {7, "add a tagged value to the open document", kOnePrint},
    {8, "open a registration report", kOnePrint},
    {9, "close the registration report", kTwoPrints},
    {16, "shift state", kQuick},
    {17, "open a shift-open document", kOnePrint},
    {18, "close the shift-open document", kTwoPrints},
    {19, "open a shift-close document", kOnePrint},
    {20, "close the shift-close document", kTwoPrints},
    {21, "open a receipt", kOnePrint},
    {22, "close the receipt", kTwoPrints},
    {24, "open an archive-close document", kOnePrint},
    {25, "close the archive-close document", kTwoPrints},
    {32, "preview the registration report", kFourPrints},
    {48, "device status", kQuick},
    {49, "factory data", kQuick},
    {50, "device key", kQuick},
    {51, "software version", kQuick},
    {54, "shift counters", kQuick},
    {55, "totals since the last registration", kQuick},
    {56, "gross totals", kQuick},
    {57, "department totals of the shift", kQuick},
    {58, "print the control tape", kControlTape},
    {63, "set the factory number", kQuick},
    {64, "read a device setting", kQuick},
    {65, "set a device setting", kQuick},
    {68, "a registration data tag", kQuick},
    {162, "open a cash-in document", kOnePrint},
    {163, "close the cash-in document", kTwoPrints},
    {164, "open a cash-out document", kOnePrint},
    {165, "close the cash-out document", kTwoPrints},
    {176, "state of the open document", kQuick},
    {177, "print a report", kReport},
    {178, "print a copy of a stored document", kFourPrints},
    {192, "printer status", kQuick},
    {193, "read a printer setting", kQuick},
    {194, "set a printer setting", kQuick},
    {195, "print formatted text", kOnePrint},
    {196, "send bytes to the printer", kQuick},
    {197, "feed and cut the paper", kQuick},
};

constexpr CommandInfo kUnknown{0, "no such command", kQuick};

}  // namespace

const CommandInfo& commandInfo(std::uint8_t code) {
    auto it = std::find_if(std::begin(kCommands), std::end(kCommands),
                           [code](const CommandInfo& c) { return c.code == code; });
    return it == std::end(kCommands) ? kUnknown : *it;
}

}  // namespace hostkit
