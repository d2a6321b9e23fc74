#include "host/register.h"

#include "host/rules.h"

namespace hostkit {

Result<Bytes> Register::authorised(std::uint8_t command, const Bytes& payload) {
    if (auto broken = rules::cashierNumber(login_.number)) return Rejected{*broken};
    Bytes data{login_.number};
    le::put32(data, login_.password);
    le::putBytes(data, payload);
    return client_.call(command, data);
}

std::optional<std::uint32_t> controlTapeStop(const Refusal& refusal) {
    if (refusal.data.size() != 4) return std::nullopt;
    return le::u32(refusal.data.data());
}

}  // namespace hostkit
