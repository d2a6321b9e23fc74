#pragma once
// The EEPROM on the I2C bus, 4096 bytes exposed by the kernel as one file,
// dealt with as bytes: regions read and written at their offsets, and the
// 16-byte device key at 4080. What the other regions hold is decided by the
// records that live there (config/identity.h). Every operation opens the
// file for reading and update (never creating it), works and closes it.
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
#include "platform/files.h"

namespace eeprom {

constexpr std::string_view kPath = "/sys/bus/i2c/devices/0-0050/eeprom";
constexpr std::size_t kSize = 4096;
constexpr std::uint64_t kKeyOffset = 4080;
constexpr std::size_t kKeySize = 16;
constexpr std::size_t kDumpLineBytes = 64;

// The EEPROM file open for reading and update during one operation.
class Image {
  public:
    Image();
    explicit operator bool() const { return static_cast<bool>(file_); }

    // n bytes at `offset` into `out` (missing bytes zero); true when all
    // were read.
    bool read(std::uint64_t offset, std::size_t n, Bytes& out);
    // Writes the bytes at `offset` and flushes; true when all were written
    // and flushed.
    bool write(std::uint64_t offset, const Bytes& bytes);
    // Closes now; true when the close succeeded.
    bool close();

  private:
    platform::FileHandle file_;
};

// Writes one region (opening and closing the EEPROM); true when the bytes
// were written, flushed and the file closed. False when the EEPROM is
// missing.
bool writeRegion(std::uint64_t offset, const Bytes& bytes);

// The device key from an open image: read at 4080; when all 16 bytes are
// 0xFF (never written) a new key is made; the key is written back and read
// again. False when any step came short; `key` is then left empty.
bool loadDeviceKey(Image& image, Bytes& key);

// 16 bytes for a new device key from the system's non-deterministic random
// source, each uniformly distributed over 0..255.
Bytes makeDeviceKey();

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
