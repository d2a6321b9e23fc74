#pragma once
// The program's build instant, seconds since 1970: the fixed build text
// "Jan  9 2023 12:36:59" read as local time. Fixed before main runs. No
// clock set and no document may be earlier.

#include <cstdint>

std::int64_t buildInstant();
