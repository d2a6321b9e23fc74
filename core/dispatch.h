#pragma once
// The dispatch table: command code -> handler. Every command that reaches
// the core has one row here; a code without a row answers 10.

#include <cstdint>

#include "core/transaction.h"

class CoreWorker;

using CommandHandler = CoreApiResult (*)(CoreWorker& core, const CoreTransaction& t);

// The handler of a command code, or null for an unknown code.
CommandHandler findHandler(std::uint8_t command);
