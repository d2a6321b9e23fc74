#include "tests/e2e/reference_doc.h"

#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "tests/support/file_text.h"

namespace reference {

namespace {

// Hexadecimal bytes separated by spaces; ?? as -1 when `wildcards`.
bool parseBytes(const std::string& text, bool wildcards, std::vector<int>& out) {
    std::istringstream in(text);
    std::string token;
    while (in >> token) {
        if (token == "??" && wildcards) {
            out.push_back(-1);
            continue;
        }
        if (token.size() != 2) return false;
        char* end = nullptr;
        const long v = std::strtol(token.c_str(), &end, 16);
        if (*end != '\0') return false;
        out.push_back(static_cast<int>(v));
    }
    return true;
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string l; std::getline(in, l);) out.push_back(l);
    return out;
}

bool startsWith(const std::string& s, const std::string& prefix) {
    return s.compare(0, prefix.size(), prefix) == 0;
}

}  // namespace

std::string documentText() { return testing_support::readFile(OKTA_SOURCE_DIR "/docs/protocol.md"); }

std::vector<Exchange> exchanges(const std::string& text, std::vector<std::string>& errors) {
    std::vector<Exchange> out;
    bool inBlock = false;
    std::vector<int>* current = nullptr;  // the line a continuation goes on with
    bool currentIsRequest = false;
    std::vector<int> request;
    const auto all = lines(text);
    for (std::size_t i = 0; i < all.size(); ++i) {
        const std::string& l = all[i];
        const int number = static_cast<int>(i + 1);
        auto fail = [&](const std::string& what) {
            errors.push_back("line " + std::to_string(number) + ": " + what);
        };
        if (!inBlock) {
            inBlock = l == "```exchange";
            continue;
        }
        if (startsWith(l, "```")) {
            inBlock = false;
            current = nullptr;
            continue;
        }
        if (startsWith(l, "> ")) {
            out.push_back(Exchange{number, {}, {}});
            request.clear();
            if (!parseBytes(l.substr(2), false, request)) fail("a request is whole bytes");
            out.back().request.assign(request.begin(), request.end());
            current = nullptr;
            currentIsRequest = true;
        } else if (startsWith(l, "< ")) {
            if (out.empty() || !out.back().answer.empty()) {
                fail("an answer without its request");
                continue;
            }
            if (!parseBytes(l.substr(2), true, out.back().answer)) fail("not hexadecimal bytes");
            current = &out.back().answer;
            currentIsRequest = false;
        } else if (startsWith(l, "  ") && !out.empty()) {
            std::vector<int> more;
            if (!parseBytes(l.substr(2), !currentIsRequest, more)) fail("not hexadecimal bytes");
            if (currentIsRequest && current == nullptr)
                out.back().request.insert(out.back().request.end(), more.begin(), more.end());
            else if (current)
                current->insert(current->end(), more.begin(), more.end());
        } else if (!l.empty()) {
            fail("neither a request, an answer nor a continuation");
        }
    }
    for (const Exchange& e : out)
        if (e.answer.empty())
            errors.push_back("line " + std::to_string(e.line) + ": a request without its answer");
    return out;
}

std::vector<CommandSection> commandSections(const std::string& text) {
    std::vector<CommandSection> out;
    const auto all = lines(text);
    for (std::size_t i = 0; i < all.size(); ++i) {
        const std::string& l = all[i];
        if (startsWith(l, "## ") || (startsWith(l, "### ") && !startsWith(l, "### Command ")))
            continue;
        if (startsWith(l, "### Command ")) {
            CommandSection s;
            s.line = static_cast<int>(i + 1);
            s.code = std::atoi(l.c_str() + 12);
            out.push_back(s);
            continue;
        }
        const std::string marker = "Sent by: `okta-host ";
        if (!out.empty() && startsWith(l, marker) && out.back().sentBy.empty()) {
            const std::size_t end = l.find('`', marker.size());
            out.back().sentBy = l.substr(marker.size(), end - marker.size());
        }
    }
    return out;
}

std::vector<int> tableCodes(const std::string& text, std::vector<int>& linkServed) {
    std::vector<int> codes;
    bool inCommands = false;
    bool inTable = false;
    for (const std::string& l : lines(text)) {
        if (startsWith(l, "## ")) inCommands = l == "## Commands";
        if (!inCommands) continue;
        if (!startsWith(l, "|")) {
            if (inTable) break;  // the table has ended
            continue;
        }
        inTable = true;
        std::istringstream row(l.substr(2));
        int code = -1;
        if (!(row >> code)) continue;  // the header
        codes.push_back(code);
        // | code | command | served by | prefix |
        std::string cells = l;
        std::size_t bar = 0;
        for (int k = 0; k < 2; ++k) bar = cells.find('|', bar + 1);
        if (bar != std::string::npos && startsWith(cells.substr(bar + 1), " link")) linkServed.push_back(code);
    }
    return codes;
}

bool matches(const std::vector<int>& pattern, const Bytes& answer) {
    if (pattern.size() != answer.size()) return false;
    for (std::size_t i = 0; i < pattern.size(); ++i)
        if (pattern[i] >= 0 && pattern[i] != answer[i]) return false;
    return true;
}

std::string patternText(const std::vector<int>& pattern) {
    std::string out;
    char byte[16];
    for (int b : pattern) {
        if (b < 0)
            out += "?? ";
        else {
            std::snprintf(byte, sizeof byte, "%02X ", b);
            out += byte;
        }
    }
    if (!out.empty()) out.pop_back();
    return out;
}

}  // namespace reference
