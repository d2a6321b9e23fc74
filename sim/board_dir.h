#pragma once
// Lays out a simulated board's directory: the record directory, the EEPROM
// image (4096 bytes of 0xFF when new), the SD card partition file and mount
// point (on the first start of a new directory only), the printer directory.

#include <string>

namespace sim {

// Creates what is missing under `root`; throws std::filesystem errors.
void prepareBoardDir(const std::string& root);

constexpr std::size_t kEepromSize = 4096;
constexpr const char* kEepromPath = "/sys/bus/i2c/devices/0-0050/eeprom";

}  // namespace sim
