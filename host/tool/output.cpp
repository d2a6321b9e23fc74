#include "host/tool/output.h"

#include <cstdio>

namespace hosttool {

namespace {

// The length of the UTF-8 sequence at s[i], or 0 when it is not one.
std::size_t utf8Length(const std::string& s, std::size_t i) {
    const auto b = static_cast<unsigned char>(s[i]);
    const std::size_t n = b < 0x80             ? 1
                          : (b & 0xE0) == 0xC0 ? 2
                          : (b & 0xF0) == 0xE0 ? 3
                          : (b & 0xF8) == 0xF0 ? 4
                                               : 0;
    if (n == 0 || i + n > s.size()) return 0;
    for (std::size_t k = 1; k < n; ++k)
        if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return 0;
    return n;
}

struct JsonValue {
    std::string operator()(Null) const { return "null"; }
    std::string operator()(const std::string& s) const { return jsonQuote(s); }
    std::string operator()(long long v) const { return std::to_string(v); }
    std::string operator()(unsigned long long v) const { return std::to_string(v); }
    std::string operator()(bool v) const { return v ? "true" : "false"; }
    std::string operator()(const std::vector<std::string>& list) const {
        std::string out = "[";
        for (std::size_t i = 0; i < list.size(); ++i) out += (i ? "," : "") + jsonQuote(list[i]);
        return out + "]";
    }
    std::string operator()(const Fields& object) const;
    std::string operator()(const std::vector<Fields>& list) const {
        std::string out = "[";
        for (std::size_t i = 0; i < list.size(); ++i) out += (i ? "," : "") + (*this)(list[i]);
        return out + "]";
    }
};

std::string JsonValue::operator()(const Fields& object) const {
    std::string out = "{";
    for (std::size_t i = 0; i < object.size(); ++i) {
        if (i) out += ",";
        out += jsonQuote(object[i].name) + ":" + std::visit(*this, object[i].value);
    }
    return out + "}";
}

void appendText(std::string& out, const std::string& name, const Field::Value& value);

struct TextValue {
    std::string& out;
    const std::string& name;
    void line(const std::string& text) const { out += name + ": " + text + "\n"; }
    void operator()(Null) const { line("-"); }
    void operator()(const std::string& s) const { line(s); }
    void operator()(long long v) const { line(std::to_string(v)); }
    void operator()(unsigned long long v) const { line(std::to_string(v)); }
    void operator()(bool v) const { line(v ? "yes" : "no"); }
    void operator()(const std::vector<std::string>& list) const {
        std::string joined;
        for (std::size_t i = 0; i < list.size(); ++i) joined += (i ? "," : "") + list[i];
        line(joined.empty() ? "-" : joined);
    }
    void operator()(const Fields& object) const {
        for (const Field& f : object) appendText(out, name + "." + f.name, f.value);
    }
    void operator()(const std::vector<Fields>& list) const {
        for (std::size_t i = 0; i < list.size(); ++i)
            (TextValue{out, name + "[" + std::to_string(i) + "]"})(list[i]);
    }
};

void appendText(std::string& out, const std::string& name, const Field::Value& value) {
    std::visit(TextValue{out, name}, value);
}

}  // namespace

std::string jsonQuote(const std::string& s) {
    std::string out = "\"";
    for (std::size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        const std::size_t n = utf8Length(s, i);
        if (n == 0) {
            out += "\\ufffd";
            ++i;
            continue;
        }
        if (n > 1) {
            out.append(s, i, n);
            i += n;
            continue;
        }
        ++i;
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (c < 0x20 || c == 0x7F) {
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

std::string toJson(const Fields& fields) { return JsonValue{}(fields) + "\n"; }

std::string toText(const Fields& fields) {
    std::string out;
    for (const Field& f : fields) appendText(out, f.name, f.value);
    return out;
}

}  // namespace hosttool
