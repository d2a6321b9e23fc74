#pragma once
// What okta-host prints: a list of named fields, shown as "name: value"
// lines, or as one JSON object with --json. A field may be absent (null),
// a list of texts, an object of fields or a list of such objects.

#include <string>
#include <variant>
#include <vector>

namespace hosttool {

struct Field;
using Fields = std::vector<Field>;
struct Null {};

struct Field {
    using Value = std::variant<Null, std::string, long long, unsigned long long, bool,
                               std::vector<std::string>, Fields, std::vector<Fields>>;
    std::string name;
    Value value;
};

// JSON text of a string, quoted and escaped; bytes that are not UTF-8
// become U+FFFD, so the output always parses.
std::string jsonQuote(const std::string& s);

// The fields as one JSON object on one line, ended by a line feed.
std::string toJson(const Fields& fields);

// The fields as "name: value" lines; the fields of an object as
// "name.field: value", of a list of objects as "name[i].field: value";
// an absent value as "-".
std::string toText(const Fields& fields);

}  // namespace hosttool
