#pragma once
// The register's result codes, the first byte of every answer: one table
// for the register and the kit (ResultCode::Success is 0, PrinterOffline
// 53...). Some codes mean different things for different commands; given
// the command that answered, meaningOf says what it means there.

#include <cstdint>
#include <string>

#include "common/result_code.h"

namespace hostkit {

using ResultCode = ::ResultCode;

// What `code` means, in words; with the `command` that answered it (0 for
// none), the meaning for that command: 40 is "cash in the drawer is zero"
// when a cash-out opens (164) but "more cash than the drawer holds" when it
// closes (165) or a paying-out receipt closes (22).
std::string meaningOf(int code, std::uint8_t command = 0);

}  // namespace hostkit
