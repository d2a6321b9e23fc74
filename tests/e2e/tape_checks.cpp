#include "tests/e2e/tape_checks.h"

#include <algorithm>
#include <cctype>
#include <vector>

namespace e2e {

std::string htmlProblem(const std::string& html) {
    std::vector<std::string> open;
    bool sawHtml = false;
    for (std::size_t at = 0; at < html.size();) {
        const char c = html[at];
        if (c == '&') {
            const std::size_t semi = html.find(';', at);
            if (semi == std::string::npos || semi - at > 8)
                return "stray & at " + std::to_string(at);
            at = semi + 1;
            continue;
        }
        if (c != '<') {
            ++at;
            continue;
        }
        const std::size_t end = html.find('>', at);
        if (end == std::string::npos) return "unclosed tag at " + std::to_string(at);
        std::string tag = html.substr(at + 1, end - at - 1);
        at = end + 1;
        if (tag.empty()) return "empty tag";
        if (tag[0] == '!') continue;  // <!DOCTYPE ...>
        if (tag[0] == '/') {
            const std::string name = tag.substr(1);
            if (open.empty() || open.back() != name) return "</" + name + "> closes nothing open";
            open.pop_back();
            continue;
        }
        const std::string name = tag.substr(0, tag.find_first_of(" \t\n/"));
        if (!std::all_of(name.begin(), name.end(), [](char ch) { return std::isalnum(ch); }))
            return "bad tag name <" + name + ">";
        if (name == "meta" || name == "br" || name == "link" || tag.back() == '/') continue;
        if (open.empty()) {
            if (name != "html" || sawHtml) return "content outside <html>";
            sawHtml = true;
        }
        open.push_back(name);
        if (name == "style") {  // raw text up to its end tag
            const std::size_t close = html.find("</style>", at);
            if (close == std::string::npos) return "unclosed <style>";
            at = close;
        }
    }
    if (!open.empty()) return "<" + open.back() + "> never closed";
    return sawHtml ? "" : "no <html>";
}

std::string doubleWidth(const std::string& utf8) {
    std::string out;
    for (std::size_t i = 0; i < utf8.size();) {
        // One UTF-8 character: a lead byte and its continuation bytes.
        std::size_t n = 1;
        while (i + n < utf8.size() && (static_cast<unsigned char>(utf8[i + n]) & 0xC0) == 0x80) ++n;
        if (!out.empty()) out += ' ';
        out.append(utf8, i, n);
        i += n;
    }
    return out;
}

}  // namespace e2e
