#pragma once
// The three messages that travel through the transaction queue.

#include <cstdint>

#include "common/bytes.h"
#include "common/result_code.h"

struct CoreTransaction {
    std::uint8_t command = 0;
    std::uint32_t id = 0;  // 0 = none
    Bytes data;
};

struct CoreApiResult {
    std::int32_t code = 255;  // a result code; 255 = not set
    std::uint32_t id = 0;
    Bytes data;

    CoreApiResult() = default;
    explicit CoreApiResult(ResultCode rc, Bytes d = {})
        : code(static_cast<std::int32_t>(rc)), data(std::move(d)) {}
    CoreApiResult(std::int32_t c, std::uint32_t i, Bytes d) : code(c), id(i), data(std::move(d)) {}

    ResultCode resultCode() const { return static_cast<ResultCode>(code); }
};

struct CoreApiNotification {
    std::int32_t kind = 0;
    std::uint32_t id = 0;
    Bytes data;
};
