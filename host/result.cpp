#include "host/result.h"

#include "common/result_code.h"

namespace hostkit {

std::string_view Refusal::meaning() const { return resultCodeText(code); }

std::optional<std::uint16_t> Refusal::missingTag() const {
    if (code != 37 || data.size() != 2) return std::nullopt;
    return le::u16(data.data());
}

std::string Refusal::describe() const {
    std::string text =
        "the register answered " + std::to_string(code) + ": " + std::string(meaning());
    if (auto tag = missingTag()) text += " (tag " + std::to_string(*tag) + ")";
    return text;
}

}  // namespace hostkit
