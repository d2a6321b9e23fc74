#pragma once
// BaseWorker: the base of every command worker, with the two checks that all
// of them share: the cashier prefix at the head of every authorised request,
// checked against the cashier table beside it, and the clock.

#include <cstdint>

#include "common/bytes.h"
#include "common/result_code.h"
#include "config/cashiers.h"
#include "state/build_instant.h"

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
