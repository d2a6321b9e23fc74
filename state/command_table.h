#pragma once
// The dispatch table: command code -> handler. The core assembles it at the
// top of the register: each folder that serves commands offers its rows
// (config/config_commands.h, the core's own device commands, and the
// document and report commands), so that no handler reaches upward into the
// core and the core never grows an include per worker. A code without a row
// answers 10.

#include <array>
#include <cstdint>
#include <functional>

#include "state/transaction.h"

using CommandHandler = std::function<CoreApiResult(const CoreTransaction&)>;

class CommandTable {
  public:
    // Adds the row of `command`; a second row for the same code replaces the
    // first.
    void add(std::uint8_t command, CommandHandler handler) { rows_[command] = std::move(handler); }

    // The handler of a command code; null for an unknown code.
    const CommandHandler* find(std::uint8_t command) const {
        const CommandHandler& h = rows_[command];
        return h ? &h : nullptr;
    }

  private:
    std::array<CommandHandler, 256> rows_;
};
