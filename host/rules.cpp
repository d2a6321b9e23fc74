#include "host/rules.h"

#include <algorithm>

#include "common/cp866.h"

namespace hostkit::rules {

namespace {

bool allDigits(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

Broken digits(std::string_view text, std::string_view what, std::size_t min, std::size_t max) {
    if (allDigits(text) && text.size() >= min && text.size() <= max) return std::nullopt;
    const std::string count = min == max ? "exactly " + std::to_string(min)
                                         : std::to_string(min) + " to " + std::to_string(max);
    return std::string(what) + " is " + count + " digits 0-9; \"" + std::string(text) + "\" is not";
}

}  // namespace

Broken factoryNumber(std::string_view text) { return digits(text, "a factory number", 10, 10); }

Broken taxpayerNumber(std::string_view text) { return digits(text, "a taxpayer number", 10, 12); }

Broken storageNumber(std::string_view text) { return digits(text, "a storage number", 10, 16); }

Broken cashierNumber(long long n) { return recordNumber("cashier", n); }

Broken recordNumber(std::string_view what, long long n) {
    if (n >= 1 && n <= 20) return std::nullopt;
    return std::string(what) + " numbers run from 1 to 20, not " + std::to_string(n);
}

Broken discountPercent(std::int64_t hundredths) {
    if (hundredths > 0 && hundredths <= 10000) return std::nullopt;
    return std::string("a percentage discount is above 0 and at most 100.00%");
}

Broken discountAmount(std::int64_t kopecks) {
    if (kopecks > 0) return std::nullopt;
    return std::string("a fixed discount is above 0.00");
}

Broken taxRate(std::int64_t hundredths) {
    if (hundredths >= 0 && hundredths <= 9999) return std::nullopt;
    return std::string("a tax rate is at most 99.99%");
}

Broken cashInAmount(std::int64_t kopecks) {
    if (kopecks > 0 && kopecks <= 100'000'000'000) return std::nullopt;
    return std::string("a cash-in is above 0.00 and at most 1000000000.00");
}

Broken paperWidth(long long millimetres) {
    if ((millimetres >= 57 && millimetres <= 60) || (millimetres >= 76 && millimetres <= 80))
        return std::nullopt;
    return "the printer takes paper of 57 to 60 mm (narrow) or 76 to 80 mm (wide), not " +
           std::to_string(millimetres) + " mm";
}

Broken text(std::string_view utf8, std::string_view what, std::size_t minBytes,
            std::size_t maxBytes, std::string& cp866) {
    std::string unfit;
    if (!cp866::tryFromUtf8(utf8, cp866, unfit)) {
        // A malformed sequence comes back one byte at a time.
        if (unfit.size() == 1 && static_cast<unsigned char>(unfit[0]) >= 0x80)
            return std::string(what) + " is not UTF-8 text";
        return std::string(what) + " holds \"" + unfit +
               "\", which the register's code page (CP866) lacks";
    }
    if (cp866.size() < minBytes)
        return std::string(what) +
               (minBytes == 1 ? " may not be empty"
                              : " takes at least " + std::to_string(minBytes) + " characters");
    if (cp866.size() > maxBytes)
        return std::string(what) + " takes at most " + std::to_string(maxBytes) +
               " characters, not " + std::to_string(cp866.size());
    return std::nullopt;
}

}  // namespace hostkit::rules
