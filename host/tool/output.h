#pragma once
// What okta-host prints: a list of named fields, shown as "name: value"
// lines, or as one JSON object with --json.

#include <cstdint>
#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace hostkit {

struct Field {
    using Value = std::variant<std::string, long long, unsigned long long, bool, std::vector<std::string>>;
    std::string name;
    Value value;
};

using Fields = std::vector<Field>;

// JSON text of a string, quoted and escaped.
std::string jsonQuote(const std::string& s);

// The fields as one JSON object on one line.
std::string toJson(const Fields& fields);

// The fields as "name: value" lines.
std::string toText(const Fields& fields);

}  // namespace hostkit
