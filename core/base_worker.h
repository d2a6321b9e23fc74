#pragma once
// BaseWorker: the base of every command worker, with the checks that all of
// them share.

#include <cstdint>

#include "common/bytes.h"
#include "common/result_code.h"
#include "config/cashiers.h"

// The program's build instant, seconds since 1970: the fixed build text
// "Jan  9 2023 12:36:59" read as local time. Fixed before main runs. No
// clock set and no document may be earlier.
std::int64_t buildInstant();

// The outcome of the cashier prefix check.
struct Authorisation {
    ResultCode result = ResultCode::BadCashierPrefix;
    // The stored cashier that was found, also when the password or the
    // cashier was refused; an empty record when none was found.
    Cashier cashier;
    // The request data after the prefix (empty when the data was shorter
    // than the prefix).
    Bytes payload;
};

class BaseWorker {
public:
    virtual ~BaseWorker() = default;

    // The cashier prefix: number (1 byte), password (u32). Data shorter than
    // 5 bytes or a number outside 1..20 gives 19; a cashier that does not
    // authorise (wrong password, not usable, unreadable) gives 18; else 0.
    static Authorisation authoriseRequest(const Bytes& data);

    // The clock check: the current time is not earlier than the later of the
    // last document's date and time and the build instant.
    static bool clockValid();
};
