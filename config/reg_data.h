#pragma once
// RegData: the registration record, 968 bytes, kept in the EEPROM, written
// by the registration report and copied into every document and into the
// archive.
//
//   offset  size  content
//        0    16  storage number (printed as "ФН"), digits
//       16    12  taxpayer number (printed as "ИНН"), digits
//       28   256  first text of the registration
//      284   256  second text
//      540   256  third text
//      796   160  five 32-byte tax records, tax number 1..5 in order
//      956     4  date and time of the registration, u32 little-endian
//      960     4  registration number, u32 little-endian
//      964     4  check value, u32 little-endian
//
// A text field ends at its first zero byte. A field filled to its last byte
// reads as the whole field followed by one zero byte: that extra byte is
// part of the text wherever the text is used (check value, tagged values,
// printing), so a full 16-byte storage number reads as 17 bytes.
//
// The record is held as its bytes; the accessors read and write the fields
// in place.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "common/bytes.h"
#include "encoding/tax.h"

class RegData {
public:
    static constexpr std::size_t kSize = 968;
    static constexpr std::size_t kStorageNumberOffset = 0;
    static constexpr std::size_t kStorageNumberSize = 16;
    static constexpr std::size_t kTaxpayerNumberOffset = 16;
    static constexpr std::size_t kTaxpayerNumberSize = 12;
    static constexpr std::size_t kText1Offset = 28;
    static constexpr std::size_t kText2Offset = 284;
    static constexpr std::size_t kText3Offset = 540;
    static constexpr std::size_t kTextSize = 256;
    static constexpr std::size_t kTaxesOffset = 796;
    static constexpr std::size_t kTaxSize = 32;
    static constexpr std::size_t kTaxCount = 5;
    static constexpr std::size_t kTimeOffset = 956;
    static constexpr std::size_t kNumberOffset = 960;
    static constexpr std::size_t kCheckOffset = 964;

    // A fresh record: all zero but the five taxes, each empty (kind 3, rate
    // 0: the bytes 00 C0, then an empty name).
    RegData();

    // The record from its kSize bytes.
    static RegData decode(const std::uint8_t* p);
    Bytes encode() const;

    // The texts, CP866 (see the rule on full fields above).
    std::string storageNumberText() const;
    std::string taxpayerNumberText() const;
    std::string regText1() const;
    std::string regText2() const;
    std::string regText3() const;

    // Each clears its field and copies the text; a text longer than the
    // field (16, 12 or 256 bytes) is refused (false), the field unchanged.
    bool setStorageNumber(std::string_view text);
    bool setTaxpayerNumber(std::string_view text);
    bool setRegText1(std::string_view text);
    bool setRegText2(std::string_view text);
    bool setRegText3(std::string_view text);

    // Seconds since 1970.
    std::uint32_t registrationTime() const;
    void setRegistrationTime(std::uint32_t seconds);
    // The number at offset 960, set by the registration report.
    std::uint32_t registrationNumber() const;
    void setRegistrationNumber(std::uint32_t number);
    std::uint32_t checkValue() const;

    // The tax with index 0..4 (tax number index + 1) as stored, whether
    // valid or not; an index of 5 or more gives an all-zero record (kind 0,
    // rate 0, no name).
    Tax taxAt(std::size_t index) const;
    // Writes the tax with index 0..4; ignored for an index above 4.
    void setTaxAt(std::size_t index, const Tax& tax);
    // The 32 bytes of the tax with index 0..4; 32 zero bytes for an index of
    // 5 or more.
    Bytes taxBytes(std::size_t index) const;
    // Writes the 32 bytes of the tax with index 0..4; ignored for an index
    // above 4 or a size other than 32.
    void setTaxBytes(std::size_t index, const Bytes& tax);
    // True when at least one of the five taxes has kind 0..2 and a rate of
    // at most 9999.
    bool hasUsableTax() const;

    // Valid: storage number, taxpayer number and the three texts not empty,
    // check value not 0, and the registration time, read as a signed 32-bit
    // number, greater than 0.
    bool isValid() const;

    // Stores the check value: CRC-32 over the storage number text, the
    // taxpayer number text, `a` and `b`. Returns isValid().
    bool sealRegistration(std::string_view a, std::string_view b);
    // False for an invalid record; otherwise true when the check value
    // computed with `a` and `b` equals the stored one.
    bool checkRegistration(std::string_view a, std::string_view b) const;

    // Storage number, check value, taxpayer number, the three texts and the
    // registration time all equal; the taxes and the number are not compared.
    bool operator==(const RegData& other) const;

private:
    std::string text(std::size_t offset, std::size_t size) const;
    bool setText(std::size_t offset, std::size_t size, std::string_view text);
    std::uint32_t computeCheckValue(std::string_view a, std::string_view b) const;

    std::array<std::uint8_t, kSize> bytes_{};
};

// Digit checks for the numbers the host supplies for a registration: each
// byte is a digit, except that bytes after the tenth may be zero.
// `number` holds 16 bytes (storage number) or 12 bytes (taxpayer number).
bool acceptableStorageNumber(const std::uint8_t* number);
bool acceptableTaxpayerNumber(const std::uint8_t* number);
