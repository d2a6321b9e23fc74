// Typed calls for the printer (192, 195, 196, 197).

#include "common/cp866.h"
#include "host/answer.h"
#include "host/register.h"
#include "host/rules.h"

namespace hostkit {

namespace {
enum : std::uint8_t {
    kPrinterStatus = 192,
    kFormattedPrint = 195,
    kRawPrint = 196,
    kFeedAndCut = 197,
};
}  // namespace

Result<Done> Register::printerStatus() { return doneAnswer(client_.call(kPrinterStatus)); }

Result<Done> Register::printText(const PrintFormat& format, std::string_view utf8) {
    if (format.lineSpacing > 5) return Rejected{"line spacing runs from 0 to 5"};
    if (format.font > 3) return Rejected{"fonts run from 0 to 3"};
    Bytes data = formatBytes(format);
    std::string cp866;
    if (auto broken = rules::text(utf8, "the text", 0, kMaxRequestData - data.size(), cp866))
        return Rejected{*broken};
    le::putText(data, cp866);
    return doneAnswer(client_.call(kFormattedPrint, data));
}

Result<Done> Register::printRaw(const Bytes& bytes) {
    if (bytes.empty()) return Rejected{"the printer takes at least one byte"};
    return doneAnswer(client_.call(kRawPrint, bytes));
}

Result<Done> Register::feedAndCut() { return doneAnswer(client_.call(kFeedAndCut)); }

}  // namespace hostkit
