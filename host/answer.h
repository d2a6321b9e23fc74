#pragma once
// Turning an answer's bytes into a typed value: a decoder that finds the
// bytes of another size than the register sends makes the call a failure
// that says so.

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>

#include "host/result.h"

namespace hostkit {

template <typename T, typename Decode>
Result<T> decodeAnswer(const Result<Bytes>& answer, std::uint8_t command, Decode decode) {
    if (!answer) return answer.template failure<T>();
    const Bytes& data = answer.value();
    std::optional<T> value = decode(data);
    if (!value)
        return LineFailure{"the register's answer to command " + std::to_string(command) +
                           " does not read: " + std::to_string(data.size()) + " bytes " +
                           hexUpper(data.data(), std::min<std::size_t>(data.size(), 32)) +
                           (data.size() > 32 ? "..." : "")};
    return *value;
}

// An answer whose data do not count.
inline Result<Done> doneAnswer(const Result<Bytes>& answer) {
    if (!answer) return answer.template failure<Done>();
    return Done{};
}

}  // namespace hostkit
