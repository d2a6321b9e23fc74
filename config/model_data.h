#pragma once
// ModelData: the factory record that identifies the register, 48 bytes,
// kept in the EEPROM and copied into every document and into the archive.
//
//   offset  size  content
//        0     2  model code, u16 little-endian (0x8213)
//        2    10  serial (factory) number, digits; ends at the first zero
//                 byte or fills the field
//       12    32  model name, CP866; ends at the first zero byte or fills
//                 the field
//       44     4  check value, u32 little-endian
//
// The record is held as its bytes; the accessors read and write the fields
// in place, so a record read from the EEPROM goes back out unchanged.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "common/bytes.h"

class ModelData {
public:
    static constexpr std::size_t kSize = 48;
    static constexpr std::size_t kCodeOffset = 0;
    static constexpr std::size_t kSerialOffset = 2;
    static constexpr std::size_t kSerialSize = 10;
    static constexpr std::size_t kNameOffset = 12;
    static constexpr std::size_t kNameSize = 32;
    static constexpr std::size_t kCheckOffset = 44;
    // What the host reads with command 49: everything but the check value.
    static constexpr std::size_t kPublicSize = kCheckOffset;

    static constexpr std::uint16_t kModelCode = 0x8213;

    // A fresh record: model code 0x8213, empty serial number, the model name
    // "ОКТА-80-Ф", check value 0.
    ModelData();

    // The record from its kSize bytes.
    static ModelData decode(const std::uint8_t* p);
    Bytes encode() const;

    std::uint16_t modelCode() const;
    void setModelCode(std::uint16_t code);
    std::string serialText() const;  // CP866 digits, at most 10
    std::string modelName() const;   // CP866, at most 32 bytes
    std::uint32_t checkValue() const;

    // Clears the serial field and copies `serial` into it; a text longer
    // than 10 bytes is refused (false) and leaves the record unchanged.
    bool setSerial(std::string_view serial);
    // Clears the name field and copies `name` (CP866) into it; a text longer
    // than 32 bytes is refused (false) and leaves the record unchanged.
    bool setModelName(std::string_view name);

    // Valid: model code not 0, name and serial number not empty, the serial
    // number only digits 0..9, check value neither 0 nor 0xFFFFFFFF.
    bool isValid() const;

    // Stores the check value: CRC-32 over the model code as decimal text
    // ("33299"), the serial number text and `key`. Returns isValid().
    bool sealModel(std::string_view key);
    // True when the check value computed with `key` equals the stored one.
    bool checkModel(std::string_view key) const;

    // Model code, model name, serial number and check value all equal.
    bool operator==(const ModelData& other) const;

    // The model name of this register, CP866.
    static std::string defaultModelName();

private:
    std::uint32_t computeCheckValue(std::string_view key) const;

    std::array<std::uint8_t, kSize> bytes_{};
};
