#include "link/frame.h"

#include "common/crc.h"
#include "platform/board.h"

namespace frame {

Bytes encode(const Bytes& payload) {
    Bytes out;
    out.reserve(payload.size() + 5);
    out.push_back(kStart);
    le::put16(out, static_cast<std::uint16_t>(payload.size()));
    le::putBytes(out, payload);
    le::put16(out, crc::crc16(out.data() + 1, out.size() - 1));
    return out;
}

Bytes responsePayload(const CoreApiResult& r) {
    if (4 + r.data.size() > kMaxResponseBody) return Bytes{code(ResultCode::FrameLength)};
    Bytes payload;
    payload.reserve(5 + r.data.size());
    le::put8(payload, static_cast<std::uint8_t>(r.code));
    le::put32(payload, r.id);
    le::putBytes(payload, r.data);
    return payload;
}

CoreTransaction parseRequest(const Bytes& payload) {
    CoreTransaction t;
    if (payload.empty()) return t;
    t.command = payload[0];
    if (payload.size() >= 5) {
        t.id = le::u32(payload.data() + 1);
        t.data.assign(payload.begin() + 5, payload.end());
    }
    return t;
}

std::uint32_t makeTransactionId(std::uint8_t command, std::uint32_t time, const Bytes& data) {
    std::uint8_t timeBytes[4];
    le::store32(timeBytes, time);
    for (;;) {
        crc::Crc32 c;
        c.update(command);
        c.update(timeBytes, 4);
        c.update(data);
        c.update(static_cast<std::uint8_t>(platform::board().randomValue() & 0xFF));
        c.update(static_cast<std::uint8_t>(platform::board().randomValue() & 0xFF));
        // 0 means "no identifier": its result would be dropped and the
        // request would wait for ever, so draw other random bytes.
        if (c.value() != 0) return c.value();
    }
}

}  // namespace frame
