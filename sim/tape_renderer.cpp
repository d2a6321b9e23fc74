#include "sim/tape_renderer.h"

#include <algorithm>
#include <cstdio>

#include "common/cp866.h"
#include "sim/escpos_commands.h"
#include "sim/utf8_text.h"

namespace sim {

namespace {

constexpr std::uint8_t NUL = 0x00, HT = 0x09, LF = 0x0A, CR = 0x0D, DLE = 0x10, ESC = 0x1B,
                       GS = 0x1D, DEL = 0x7F;
constexpr int kCp866Table = 7;
constexpr int kTabStopChars = 8;
constexpr std::size_t kClearBuffersLength = 10;  // DLE DC4 8 and its 7 fixed bytes
constexpr std::uint8_t kClearBuffers[kClearBuffersLength] = {0x10, 0x14, 0x08, 0x01, 0x03,
                                                             0x14, 0x01, 0x06, 0x02, 0x08};

TapeAlign alignment(std::uint8_t n) {
    switch (n) {
        case 1:
        case '1':
            return TapeAlign::centre;
        case 2:
        case '2':
            return TapeAlign::right;
        default:
            return TapeAlign::left;
    }
}

}  // namespace

std::string TapeLine::text() const {
    std::string out;
    for (const TapeRun& run : runs) out += run.text;
    return out;
}

std::vector<TapeItem> TapeRenderer::feed(const std::uint8_t* p, std::size_t n) {
    std::vector<TapeItem> out;
    if (skip_ > 0)
        passOverData(p, n);
    else
        pending_.insert(pending_.end(), p, p + n);

    std::size_t at = 0;
    while (at < pending_.size()) {
        const std::size_t available = pending_.size() - at;
        const std::optional<EscPosSpan> span = measureCommand(pending_.data() + at, available);
        if (!span) break;
        if (span->length > available) {
            skip_ = span->length - available;
            at = pending_.size();
            break;
        }
        if (span->known) {
            execute(pending_.data() + at, span->length, out);
        } else {
            printMark(pending_.data() + at, span->length, out);
        }
        at += span->length;
    }
    pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(at));
    return out;
}

void TapeRenderer::passOverData(const std::uint8_t* p, std::size_t n) {
    // Clear buffers is a real-time command: it reaches the printer while it
    // takes the data too, so a host can always end a block that would
    // swallow every byte after it. Its bytes may arrive split over reads.
    std::vector<std::uint8_t> window(skippedTail_);
    window.insert(window.end(), p, p + n);
    const auto found = std::search(window.begin(), window.end(), std::begin(kClearBuffers),
                                   std::end(kClearBuffers));
    if (found != window.end()) {
        skip_ = 0;
        skippedTail_.clear();
        pending_.assign(found, window.end());
        return;
    }
    // Bulk data of a command that is passed over is never kept.
    const auto skipped = static_cast<std::size_t>(std::min<std::uint64_t>(skip_, n));
    skip_ -= skipped;
    if (skip_ > 0) {
        const std::size_t keep = std::min(window.size(), kClearBuffersLength - 1);
        skippedTail_.assign(window.end() - static_cast<std::ptrdiff_t>(keep), window.end());
        return;
    }
    skippedTail_.clear();
    pending_.insert(pending_.end(), p + skipped, p + n);
}

void TapeRenderer::execute(const std::uint8_t* p, std::size_t n, std::vector<TapeItem>& out) {
    const std::uint8_t b = p[0];
    if (n > 1) {
        if (b == ESC) executeEsc(p, n, out);
        if (b == GS) executeGs(p, n, out);
        if (b == DLE && n == kClearBuffersLength) {
            // Clear buffers: what was not printed yet is lost.
            line_ = TapeLine{};
            lineUnits_ = 0;
        }
        return;  // any other command has nothing to show on paper
    }
    if (b == LF) return endLine(out);
    if (b == HT) return tab(out);
    if (b == CR || b == NUL) return;
    if (b >= 0x20 && b < DEL) return print(std::string(1, static_cast<char>(b)), out);
    if (b > DEL && codeTable_ == kCp866Table)
        return print(cp866::toUtf8(std::string(1, static_cast<char>(b))), out);
    printMark(p, n, out);
}

void TapeRenderer::executeEsc(const std::uint8_t* p, std::size_t n, std::vector<TapeItem>& out) {
    const std::uint8_t arg = n > 2 ? p[2] : 0;
    switch (p[1]) {
        case '@':
            initialise();
            return;
        case 'i':
        case 'm':
            cut(out);
            return;
        case '2':
            feedDots_ = TapeLine::kDefaultFeedDots;
            return;
        case '3':
            feedDots_ = arg;
            return;
        case 'a':
            align_ = alignment(arg);
            return;
        case '!':
            style_.fontB = arg & 0x01;
            style_.bold = arg & 0x08;
            style_.height = arg & 0x10 ? 2 : 1;
            style_.width = arg & 0x20 ? 2 : 1;
            style_.underline = arg & 0x80;
            return;
        case 'E':
            style_.bold = arg & 0x01;
            return;
        case '-':  // 0, 1, 2 or '0', '1', '2': off, one dot, two dots
            style_.underline = (arg & 0x03) != 0;
            return;
        case 'M':
            style_.fontB = arg == 1 || arg == '1';
            return;
        case 'd':
            feedLines(arg, out);
            return;
        case 'J': {  // print and feed `arg` dots
            const int spacing = feedDots_;
            feedDots_ = arg;
            endLine(out);
            feedDots_ = spacing;
            return;
        }
        case 't':
            codeTable_ = arg;
            return;
        default:
            return;  // nothing to show on paper
    }
}

void TapeRenderer::executeGs(const std::uint8_t* p, std::size_t n, std::vector<TapeItem>& out) {
    const std::uint8_t arg = n > 2 ? p[2] : 0;
    switch (p[1]) {
        case '!':
            style_.width = ((arg >> 4) & 0x07) + 1;
            style_.height = (arg & 0x07) + 1;
            return;
        case 'B':
            style_.inverse = arg & 0x01;
            return;
        case 'V':
            cut(out);
            return;
        case 'r': {
            TapeItem request;
            request.kind = TapeItem::statusRequest;
            request.statusKind = arg;
            out.push_back(request);
            return;
        }
        default:
            return;  // nothing to show on paper
    }
}

void TapeRenderer::print(const std::string& utf8, std::vector<TapeItem>& out, bool unknown) {
    // A mark is the tape's note, not the printer's text: plain, whatever
    // the style, so that it reads the same everywhere.
    TapeStyle style = unknown ? TapeStyle{} : style_;
    style.unknown = unknown;
    const int cost = roll_.charUnits(style.fontB) * style.width;
    for (std::size_t at = 0; at < utf8.size();) {
        const std::size_t next = utf8CharEnd(utf8, at);
        // A character that does not fit starts the next line.
        if (lineUnits_ > 0 && lineUnits_ + cost > roll_.lineUnits()) endLine(out);
        if (line_.runs.empty()) line_.align = align_;
        if (line_.runs.empty() || !(line_.runs.back().style == style))
            line_.runs.push_back({style, {}});
        line_.runs.back().text.append(utf8, at, next - at);
        lineUnits_ += cost;
        at = next;
    }
}

void TapeRenderer::printMark(const std::uint8_t* p, std::size_t n, std::vector<TapeItem>& out) {
    std::string mark = "⟨";
    for (std::size_t i = 0; i < n; ++i) {
        char hex[4];
        std::snprintf(hex, sizeof hex, i ? " %02X" : "%02X", p[i]);
        mark += hex;
    }
    mark += "⟩";
    print(mark, out, true);
}

void TapeRenderer::tab(std::vector<TapeItem>& out) {
    // Tab stops every 8 characters of the current size; past the last one
    // that fits, a tab fills the line.
    const int cost = charUnits();
    const int stop = kTabStopChars * cost;
    const int next = std::min((lineUnits_ / stop + 1) * stop, roll_.lineUnits());
    const int spaces = (next - lineUnits_) / cost;
    if (spaces > 0) print(std::string(static_cast<std::size_t>(spaces), ' '), out);
}

void TapeRenderer::feedLines(int lines, std::vector<TapeItem>& out) {
    // ESC d 0 prints what is pending without feeding further.
    if (lines == 0 && !line_.runs.empty()) lines = 1;
    for (int i = 0; i < lines; ++i) endLine(out);
}

void TapeRenderer::endLine(std::vector<TapeItem>& out) {
    if (line_.runs.empty()) line_.align = align_;
    line_.feedDots = feedDots_;
    TapeItem item;
    item.kind = TapeItem::line;
    item.roll = roll_;
    item.printed = std::move(line_);
    out.push_back(std::move(item));
    line_ = TapeLine{};
    lineUnits_ = 0;
}

void TapeRenderer::cut(std::vector<TapeItem>& out) {
    if (!line_.runs.empty()) endLine(out);
    TapeItem item;
    item.kind = TapeItem::cut;
    item.roll = roll_;
    out.push_back(item);
}

void TapeRenderer::initialise() {
    line_ = TapeLine{};
    lineUnits_ = 0;
    style_ = TapeStyle{};
    align_ = TapeAlign::left;
    feedDots_ = TapeLine::kDefaultFeedDots;
    codeTable_ = 0;
}

}  // namespace sim
