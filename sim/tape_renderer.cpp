#include "sim/tape_renderer.h"

#include <cstdio>

#include "common/cp866.h"

namespace sim {

namespace {

constexpr std::uint8_t HT = 0x09, LF = 0x0A, DLE = 0x10, DC4 = 0x14, ESC = 0x1B, GS = 0x1D;
constexpr int kCp866Table = 7;
constexpr std::size_t kTabStop = 8;

std::size_t codePoints(const std::string& utf8) {
    std::size_t n = 0;
    for (unsigned char c : utf8)
        if ((c & 0xC0) != 0x80) ++n;
    return n;
}

}  // namespace

std::string TapeLine::text() const {
    std::string out;
    for (const TapeRun& run : runs) out += run.text;
    return out;
}

std::vector<TapeItem> TapeRenderer::feed(const std::uint8_t* p, std::size_t n) {
    pending_.insert(pending_.end(), p, p + n);
    std::vector<TapeItem> out;
    std::size_t at = 0;
    while (at < pending_.size()) {
        const std::size_t length = commandLength(pending_.data() + at, pending_.size() - at);
        if (length == 0) break;
        execute(pending_.data() + at, length, out);
        at += length;
    }
    pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(at));
    return out;
}

std::size_t TapeRenderer::commandLength(const std::uint8_t* p, std::size_t n) {
    auto need = [n](std::size_t length) { return n >= length ? length : 0; };
    switch (p[0]) {
        case ESC:
            if (n < 2) return 0;
            switch (p[1]) {
                case '@':
                case 'i':
                    return 2;
                case 't':
                case '3':
                case 'a':
                case '!':
                    return need(3);
                default:
                    return 2;  // unknown: shown as a mark of two bytes
            }
        case GS:
            if (n < 2) return 0;
            switch (p[1]) {
                case 'd':
                case 'a':
                case 'r':
                case 'B':
                    return need(3);
                case 'P':
                    return need(4);
                default:
                    return 2;
            }
        case DLE:
            if (n < 2) return 0;
            if (p[1] != DC4) return 2;
            if (n < 3) return 0;
            return p[2] == 8 ? need(10) : 3;
        default:
            return 1;
    }
}

void TapeRenderer::execute(const std::uint8_t* p, std::size_t n, std::vector<TapeItem>& out) {
    const std::uint8_t b = p[0];
    if (b == ESC && n == 2 && p[1] == '@') return initialise();
    if (b == ESC && n == 2 && p[1] == 'i') {
        if (!line_.runs.empty()) endLine(out);
        TapeItem cut;
        cut.kind = TapeItem::cut;
        out.push_back(cut);
        return;
    }
    if (b == ESC && n == 3) {
        switch (p[1]) {
            case 't':
                codeTable_ = p[2];
                return;
            case '3':
                feedDots_ = p[2];
                return;
            case 'a': {
                const int a = p[2] >= '0' ? p[2] - '0' : p[2];
                align_ = a == 1 ? TapeAlign::centre : a == 2 ? TapeAlign::right : TapeAlign::left;
                return;
            }
            case '!': {
                const std::uint8_t m = p[2];
                style_.smallFont = m & 0x01;
                style_.bold = m & 0x08;
                style_.doubleHeight = m & 0x10;
                style_.doubleWidth = m & 0x20;
                style_.underline = m & 0x80;
                return;
            }
        }
    }
    if (b == GS && n == 3) {
        switch (p[1]) {
            case 'B':
                style_.inverse = p[2] & 1;
                return;
            case 'r': {
                TapeItem request;
                request.kind = TapeItem::statusRequest;
                request.statusKind = p[2];
                out.push_back(request);
                return;
            }
            case 'd':
            case 'a':
                return;  // nothing to show on paper
        }
    }
    if (b == GS && n == 4 && p[1] == 'P') return;  // motion units
    if (b == DLE && n == 10) {
        // Clear buffers: what was not printed yet is lost.
        line_.runs.clear();
        column_ = 0;
        return;
    }
    if (n == 1 && b == LF) return endLine(out);
    if (n == 1 && b == HT) return print(std::string(kTabStop - column_ % kTabStop, ' '));
    if (n == 1 && b >= 0x20 && b < 0x7F) return print(std::string(1, static_cast<char>(b)));
    if (n == 1 && b >= 0x80 && codeTable_ == kCp866Table)
        return print(cp866::toUtf8(std::string(1, static_cast<char>(b))));
    printMark(p, n);
}

void TapeRenderer::print(const std::string& utf8, bool unknown) {
    TapeStyle style = style_;
    style.unknown = unknown;
    if (line_.runs.empty() || !(line_.runs.back().style == style))
        line_.runs.push_back({style, {}});
    line_.runs.back().text += utf8;
    column_ += codePoints(utf8);
}

void TapeRenderer::printMark(const std::uint8_t* p, std::size_t n) {
    std::string mark = "⟨";
    for (std::size_t i = 0; i < n; ++i) {
        char hex[4];
        std::snprintf(hex, sizeof hex, i ? " %02X" : "%02X", p[i]);
        mark += hex;
    }
    mark += "⟩";
    print(mark, true);
}

void TapeRenderer::endLine(std::vector<TapeItem>& out) {
    line_.align = align_;
    line_.feedDots = feedDots_;
    TapeItem item;
    item.kind = TapeItem::line;
    item.printed = std::move(line_);
    out.push_back(std::move(item));
    line_ = TapeLine{};
    column_ = 0;
}

void TapeRenderer::initialise() {
    line_ = TapeLine{};
    column_ = 0;
    style_ = TapeStyle{};
    align_ = TapeAlign::left;
    feedDots_ = TapeLine::kDefaultFeedDots;
    codeTable_ = 0;
}

}  // namespace sim
