#pragma once
// A section: a department of the shop, referred to by number from receipt
// positions. The record the host exchanges and the table file holds
// (config/sections.h keeps the table), and its tagged form.
//
// Section record:
//   0   1    number
//   1   127  name (CP866), zero-padded, cut to 126 bytes (byte 127 is 0)

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "common/bytes.h"
#include "encoding/record_number.h"
#include "encoding/tlv.h"

struct Section {
    static constexpr std::size_t kSize = 128;
    static constexpr std::size_t kMaxName = 126;

    std::uint8_t number = 0;
    std::string name;  // CP866

    bool isValid() const { return validRecordNumber(number); }

    // Keeps a text shorter than 127 bytes whole, otherwise its first 126.
    void setSectionName(std::string_view text);

    // Container 11300: 11301 the number and, when there is a name, 11302.
    // An empty Tlv for an invalid number.
    Tlv toTlv() const;
    // Container 11300 only: takes 11301 and 11302, ignores other children;
    // true when the number is valid.
    bool fromTlv(const Tlv& container);
};

Bytes encodeSection(const Section& s);
// The name of a 128-byte record (byte 127 counts as 0).
std::string sectionRecordName(const Bytes& record);
// Exactly 128 bytes with a valid number.
std::optional<Section> decodeSection(const Bytes& record);
