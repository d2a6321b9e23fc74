#include "host/result.h"

namespace hostkit {

std::string Refusal::meaning() const { return meaningOf(code, command); }

std::optional<std::uint16_t> Refusal::missingTag() const {
    if (code != 37 || data.size() != 2) return std::nullopt;
    return le::u16(data.data());
}

std::string Refusal::describe() const {
    std::string text =
        "the register answered " + std::to_string(code) + ": " + meaning();
    if (auto tag = missingTag()) text += " (tag " + std::to_string(*tag) + ")";
    return text;
}

}  // namespace hostkit
