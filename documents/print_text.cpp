#include "documents/print_text.h"

#include <ctime>

#include "common/cp866.h"
#include "encoding/decimal.h"
#include "printing/printable_text.h"

namespace print_text {

std::string dateTimeText(std::uint32_t seconds) {
    const std::time_t t = static_cast<std::time_t>(seconds);
    std::tm local{};
    localtime_r(&t, &local);
    char text[32];
    const std::size_t n = std::strftime(text, sizeof text, "%d.%m.%Y %H:%M:%S", &local);
    return std::string(text, n);
}

std::string amountText(std::int64_t kopecks) { return Decimal(100, kopecks).toText(); }

std::string cp(std::string_view utf8) { return cp866::fromUtf8(utf8); }

std::string cashierLine(std::string_view name) {
    return cp("КАССИР\t") + printing::printableText(name);
}

printing::PrintBlock block(unsigned font, std::uint8_t style,
                           std::initializer_list<std::string> texts) {
    printing::PrintBlock b;
    b.attributes = printing::PrintAttributes::of(font, style);
    for (const std::string& text : texts) printing::addText(b, text);
    return b;
}

}  // namespace print_text
