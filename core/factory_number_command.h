#pragma once
// Command 63: set the factory number, once in the life of the device.
//
// Request: the cashier prefix, then the factory number as exactly 10 ASCII
// digits. Checks in order: the cashier prefix (19 or 18); factory data
// already valid (24); payload not 10 bytes (22); cashier without the right
// 0x20 (16); a byte that is not a digit (22). Then a copy of the factory
// data gets the model code 0x8213, the model name "ОКТА-80-Ф", the number
// and the check value made with the device key; a copy that is not valid
// answers 22. Without a device key nothing is written and the answer is 25.
// The copy is written to the EEPROM first and becomes the current factory
// data only when the write succeeded (0, no data); a failed write sets
// eepromError and answers 25.

#include "state/command_table.h"

// The row of command 63.
void addFactoryNumberCommand(CommandTable& table);
