#include "host/tool/document_args.h"

#include <sstream>
#include <vector>

#include "host/rules.h"
#include "host/tool/cli.h"
#include "host/tool/values.h"

namespace hosttool {

namespace {

std::vector<std::string> split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::string part;
    std::istringstream in(text);
    while (std::getline(in, part, separator)) parts.push_back(part);
    if (!text.empty() && text.back() == separator) parts.push_back("");
    return parts;
}

// "45.50x2" or "45.50": the price in kopecks and the quantity; false with
// `error` naming what is wrong with either.
bool parsePriceAndQuantity(const std::string& text, hostkit::Position& item, std::string& error) {
    const std::size_t x = text.find('x');
    if (!parseHundredths(text.substr(0, x), item.price, "the price", error)) return false;
    if (x == std::string::npos) {
        item.quantity = 1;
        item.quantityDigits = 0;
        return true;
    }
    return parseQuantity(text.substr(x + 1), item.quantity, item.quantityDigits, error);
}

// A field that was meant as a price: it begins with a digit or a sign.
bool looksLikeAPrice(const std::string& field) {
    return !field.empty() && ((field[0] >= '0' && field[0] <= '9') || field[0] == '-');
}

bool smallNumber(const std::string& text, long long max, std::uint8_t& out) {
    long long n = 0;
    if (!parseNumber(text, 0, max, n)) return false;
    out = static_cast<std::uint8_t>(n);
    return true;
}

}  // namespace

bool parseReceiptKind(const std::string& text, hostkit::ReceiptKind& kind) {
    for (auto k : {hostkit::ReceiptKind::Sale, hostkit::ReceiptKind::Purchase,
                   hostkit::ReceiptKind::ReturnOfSale, hostkit::ReceiptKind::ReturnOfPurchase}) {
        if (text == hostkit::receiptKindName(k)) {
            kind = k;
            return true;
        }
    }
    return false;
}

bool parseDocumentType(const std::string& text, hostkit::DocumentType& type) {
    for (std::uint8_t t = 1; t <= 7; ++t) {
        auto candidate = hostkit::documentTypeOf(t);
        if (candidate && text == hostkit::documentTypeName(*candidate)) {
            type = *candidate;
            return true;
        }
    }
    return false;
}

bool parseItem(const std::string& text, hostkit::Position& item, std::string& error) {
    item = hostkit::Position{};
    error.clear();
    const std::vector<std::string> fields = split(text, ':');
    std::size_t price = 1;
    std::string priceError;
    for (std::string fieldError; price < fields.size(); ++price) {
        if (parsePriceAndQuantity(fields[price], item, fieldError)) break;
        if (priceError.empty() && looksLikeAPrice(fields[price])) priceError = fieldError;
    }
    if (price >= fields.size()) {
        error = "\"" + text + "\": " +
                (priceError.empty() ? "an item is NAME:PRICE[xQUANTITY][:key=value...], as "
                                      "Хлеб:45.50x2; this one has no price"
                                    : priceError);
        return false;
    }
    for (std::size_t i = 0; i < price; ++i) item.name += (i ? ":" : "") + fields[i];
    int discounts = 0;  // discount= and discount-sum= given
    for (std::size_t i = price + 1; i < fields.size(); ++i) {
        const std::size_t eq = fields[i].find('=');
        const std::string key = fields[i].substr(0, eq);
        if (key == "discount" || key == "discount-sum") ++discounts;
        const std::string value = eq == std::string::npos ? "" : fields[i].substr(eq + 1);
        bool ok = eq != std::string::npos;
        if (key == "section")
            ok = ok && smallNumber(value, 20, item.section);
        else if (key == "tax")
            ok = ok && smallNumber(value, 5, item.taxNumber) && item.taxNumber > 0;
        else if (key == "discount")
            ok = ok && smallNumber(value, 20, item.discount) && item.discount > 0;
        else if (key == "discount-sum")
            ok = ok && parseHundredths(value, item.discountSum, "the discount sum", error);
        else if (key == "code")
            item.code = value;
        else if (key == "unit")
            item.unit = value;
        else if (key == "extra")
            item.extraLine = value;
        else
            ok = false;
        if (!ok && !error.empty()) {
            error = "item \"" + item.name + "\": " + error;
            return false;
        }
        if (!ok) {
            error = "\"" + fields[i] +
                    "\" in an item: give section=1-20, tax=1-5, discount=1-20, "
                    "discount-sum=AMOUNT, code=, unit= or extra=";
            return false;
        }
    }
    if (discounts > 1) {
        error = "item \"" + item.name + "\": give discount= or discount-sum=, not both";
        return false;
    }
    if (auto problem = hostkit::positionProblem(item)) {
        error = "item \"" + item.name + "\": " + *problem;
        return false;
    }
    return true;
}

bool parseTax(const std::string& text, int& index, hostkit::Tax& tax, std::string& error) {
    std::vector<std::string> fields = split(text, ':');
    long long number = 0;
    std::int64_t rate = 0;
    const std::string form = "a tax is N:NAME:KIND:RATE, as \"1:НДС 20%:on-top:20.00\"";
    if (fields.size() < 4 || !parseNumber(fields[0], 1, 5, number) ||
        !parseHundredths(fields.back(), rate)) {
        error = form + " with N 1-5; \"" + text + "\" is not";
        return false;
    }
    const std::string kind = fields[fields.size() - 2];
    if (kind == "no-tax")
        tax.kind = hostkit::TaxKind::NoTax;
    else if (kind == "contained")
        tax.kind = hostkit::TaxKind::Contained;
    else if (kind == "on-top")
        tax.kind = hostkit::TaxKind::OnTop;
    else {
        error = form + "; KIND is no-tax, contained or on-top, not \"" + kind + "\"";
        return false;
    }
    tax.name.clear();
    for (std::size_t i = 1; i + 2 < fields.size(); ++i) tax.name += (i > 1 ? ":" : "") + fields[i];
    std::string cp866;
    if (auto broken = hostkit::rules::taxRate(rate)) {
        error = *broken;
        return false;
    }
    if (auto broken =
            hostkit::rules::text(tax.name, "a tax's name", 1, hostkit::rules::kTaxName, cp866)) {
        error = *broken;
        return false;
    }
    index = static_cast<int>(number) - 1;
    tax.rate = static_cast<std::uint16_t>(rate);
    return true;
}

}  // namespace hosttool
