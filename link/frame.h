#pragma once
// The host frame protocol: 0x04, payload length (u16), payload, CRC-16 over
// the length bytes and the payload (u16). Requests carry command, identifier
// (u32) and data; responses carry result code, identifier and data.

#include <cstdint>

#include "common/bytes.h"
#include "state/transaction.h"

namespace frame {

constexpr std::uint8_t kStart = 0x04;
constexpr std::uint8_t kEnq = 0x05;
constexpr std::size_t kMaxRequestPayload = 1024;
// Identifier and data of a response together; beyond it the payload is 11.
constexpr std::size_t kMaxResponseBody = 4096;
// Silence inside a frame after which the frame is taken as cut short.
constexpr int kInFrameSilenceMs = 100;

// Frame around a payload.
Bytes encode(const Bytes& payload);

// Response payload: code, identifier, data; the single byte 11 when the
// identifier and data would exceed 4096 bytes.
Bytes responsePayload(const CoreApiResult& r);

// The request carried by a payload (at least one byte): fewer than 4 bytes
// after the command give identifier 0 and no data.
CoreTransaction parseRequest(const Bytes& payload);

// A new transaction identifier: CRC-32 over the command, the time (u32),
// the data and two pseudo-random bytes; never 0.
std::uint32_t makeTransactionId(std::uint8_t command, std::uint32_t time, const Bytes& data);

}  // namespace frame
