#pragma once
// Record numbers of the reference tables (cashiers, discounts, sections).

#include <cstdint>

constexpr std::uint8_t kTableEntries = 20;

// Every table holds records 1..20.
inline bool validRecordNumber(std::uint8_t n) { return n >= 1 && n <= kTableEntries; }
