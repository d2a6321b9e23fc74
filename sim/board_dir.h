#pragma once
// Lays out a simulated board's directory. The working directories (record
// directory, device directory, printer directory) are made whenever they
// are missing; the board's own parts, the EEPROM image (4096 bytes of 0xFF)
// and the SD card (partition file and mount point), only when the directory
// is new, as a board leaves the factory. Afterwards a part that is missing
// stays missing, as on a board that lost it: the register then reports its
// EEPROM failure or its missing card.

#include <cstddef>
#include <string>

namespace sim {

// Whether `root` has never run a register: it has no record directory.
bool isNewBoardDir(const std::string& root);

// Creates what is missing under `root` as described above; throws
// std::filesystem errors.
void prepareBoardDir(const std::string& root, bool isNew);

constexpr std::size_t kEepromSize = 4096;
constexpr const char* kEepromPath = "/sys/bus/i2c/devices/0-0050/eeprom";

}  // namespace sim
