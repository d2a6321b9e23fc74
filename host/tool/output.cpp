#include "host/output.h"

#include <cstdio>

namespace hostkit {

std::string jsonQuote(const std::string& s) {
    std::string out = "\"";
    for (unsigned char c : s) {
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            default:
                if (c < 0x20) {
                    char buf[8];
                    std::snprintf(buf, sizeof buf, "\\u%04x", c);
                    out += buf;
                } else {
                    out.push_back(static_cast<char>(c));
                }
        }
    }
    return out + "\"";
}

namespace {
struct JsonValue {
    std::string operator()(const std::string& s) const { return jsonQuote(s); }
    std::string operator()(long long v) const { return std::to_string(v); }
    std::string operator()(unsigned long long v) const { return std::to_string(v); }
    std::string operator()(bool v) const { return v ? "true" : "false"; }
    std::string operator()(const std::vector<std::string>& list) const {
        std::string out = "[";
        for (std::size_t i = 0; i < list.size(); ++i) out += (i ? "," : "") + jsonQuote(list[i]);
        return out + "]";
    }
};

struct TextValue {
    std::string operator()(const std::string& s) const { return s; }
    std::string operator()(long long v) const { return std::to_string(v); }
    std::string operator()(unsigned long long v) const { return std::to_string(v); }
    std::string operator()(bool v) const { return v ? "yes" : "no"; }
    std::string operator()(const std::vector<std::string>& list) const {
        std::string out;
        for (std::size_t i = 0; i < list.size(); ++i) out += (i ? "," : "") + list[i];
        return out.empty() ? "-" : out;
    }
};
}  // namespace

std::string toJson(const Fields& fields) {
    std::string out = "{";
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i) out += ",";
        out += jsonQuote(fields[i].name) + ":" + std::visit(JsonValue{}, fields[i].value);
    }
    return out + "}\n";
}

std::string toText(const Fields& fields) {
    std::string out;
    for (const Field& f : fields) out += f.name + ": " + std::visit(TextValue{}, f.value) + "\n";
    return out;
}

}  // namespace hostkit
