#pragma once
// The EEPROM that holds the register's identity: 4096 bytes on the I2C bus,
// exposed by the kernel as one file. Every operation opens that file for
// reading and update (never creating it), does its work and closes it.
//
//   offset  size  content
//        0    48  factory data (ModelData)
//       48   968  registration data (RegData)
//     1016  3064  not used
//     4080    16  device key
//
// An erased EEPROM reads 0xFF in every byte. Used from the core thread only
// (start-up, the factory-number command, the archive) and by the service
// modes, which run alone.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/bytes.h"
#include "config/model_data.h"
#include "config/reg_data.h"
#include "device/identity.h"

namespace eeprom {

constexpr std::string_view kPath = "/sys/bus/i2c/devices/0-0050/eeprom";
constexpr std::size_t kSize = 4096;
constexpr std::int64_t kFactoryOffset = 0;
constexpr std::int64_t kRegistrationOffset = 48;
constexpr std::int64_t kKeyOffset = 4080;
constexpr std::size_t kKeySize = 16;
constexpr std::size_t kDumpLineBytes = 64;

// Start-up load into `store`: the device key (made and written when the
// EEPROM holds none), then the factory data (0xFF bytes of its model name
// read as zero) and the registration data, each published when it was read
// whole; a record read short stays at its default. True when the key, the
// factory data and the registration data all loaded; the caller then leaves
// eepromError clear. A missing EEPROM loads nothing and gives false.
bool loadIdentity(identity::Store& store = identity::store());

// 16 bytes for a new device key from the system's non-deterministic random
// source, each uniformly distributed over 0..255.
Bytes makeDeviceKey();

// Writes the 48 bytes of the record at offset 0 and flushes; true when the
// whole record was written and flushed.
bool saveFactoryData(const ModelData& record);

// Writes the 968 bytes of the record at offset 48 and flushes; true when the
// whole record was written and flushed.
bool saveRegistrationData(const RegData& record);

// The "-c" service mode: writes 0xFF over all 4096 bytes (512 at a time,
// flushing after each) without reporting write errors, then dumpEeprom().
void eraseEeprom();

// The "-d" service mode: dumpLines() to standard output, one line each.
void dumpEeprom();

// The dump: one line for each 64 bytes from offset 0 to 4032, 64 lines. A
// block read short is padded with 0xFF. No lines when the EEPROM cannot be
// opened, so that a missing EEPROM never shows as an erased one.
std::vector<std::string> dumpLines();

// One dump line of 64 bytes: upper-case hexadecimal in eight groups of 16
// digits separated by two spaces.
std::string dumpLine(const std::uint8_t* bytes);

}  // namespace eeprom
