#pragma once
// BaseWorker: the base of every command worker, with the checks that all of
// them share.

#include <cstdint>

// The program's build instant, seconds since 1970: the fixed build text
// "Jan  9 2023 12:36:59" read as local time. Fixed before main runs. No
// clock set and no document may be earlier.
std::int64_t buildInstant();

class BaseWorker {
public:
    virtual ~BaseWorker() = default;

    // The clock check: the current time is not earlier than the later of the
    // last document's date and time and the build instant.
    static bool clockValid();
};
