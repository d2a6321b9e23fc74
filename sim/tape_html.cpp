#include "sim/tape_html.h"

#include <cstdio>

#include "sim/utf8_text.h"

namespace sim {

const char* const kTapeHtmlTail = "</body>\n</html>\n";

namespace {

// About 8 dots a millimetre, 3 dots a pixel.
constexpr int kDotsPerPixel = 3;

const PaperRoll kWideRoll{80};
const PaperRoll kNarrowRoll{PaperRoll::kDefaultWidthMm};

const char* rollClass(const PaperRoll& roll) { return roll.wide() ? "wide" : "narrow"; }

std::string number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.4g", value);
    return text;
}

std::string escapeHtml(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::string runClasses(const TapeStyle& s) {
    std::string classes;
    auto add = [&classes](bool on, const char* name) {
        if (!on) return;
        if (!classes.empty()) classes += ' ';
        classes += name;
    };
    add(s.bold, "bold");
    add(s.underline, "underline");
    add(s.inverse, "inverse");
    add(s.unknown, "unknown");
    return classes;
}

// The size of a run's characters against the line's font A: its font's
// share of the line times the height factor; a width factor other than the
// height stretches the characters sideways and takes room to match.
std::string runSize(const TapeRun& run, const PaperRoll& roll) {
    const TapeStyle& s = run.style;
    const double font =
        s.fontB ? static_cast<double>(roll.charsPerLine(false)) / roll.charsPerLine(true) : 1.0;
    std::string style;
    if (s.fontB || s.height != 1) style += "font-size:" + number(font * s.height) + "em;";
    if (s.width != s.height) {
        const double stretch = static_cast<double>(s.width) / s.height;
        const double extra = static_cast<double>(codePoints(run.text)) * (stretch - 1);
        style += "display:inline-block;transform:scaleX(" + number(stretch) +
                 ");transform-origin:left;margin-right:" + number(extra) + "ch;";
    }
    return style;
}

std::string runHtml(const TapeRun& run, const PaperRoll& roll) {
    const std::string classes = runClasses(run.style);
    const std::string size = runSize(run, roll);
    if (classes.empty() && size.empty()) return escapeHtml(run.text);
    std::string out = "<span";
    if (!classes.empty()) out += " class=\"" + classes + "\"";
    if (!size.empty()) out += " style=\"" + size + "\"";
    return out + ">" + escapeHtml(run.text) + "</span>";
}

std::string lineHtml(const TapeLine& line, const PaperRoll& roll) {
    std::string out = std::string("<div class=\"line ") + rollClass(roll);
    if (line.align == TapeAlign::centre) out += " centre";
    if (line.align == TapeAlign::right) out += " right";
    out += '"';
    // Feeds beyond the usual line spacing show as paper below the line.
    if (line.feedDots > TapeLine::kDefaultFeedDots)
        out += " style=\"padding-bottom:" +
               std::to_string((line.feedDots - TapeLine::kDefaultFeedDots) / kDotsPerPixel) +
               "px\"";
    out += '>';
    for (const TapeRun& run : line.runs) out += runHtml(run, roll);
    return out + "</div>\n";
}

std::string rollWidthRule(const PaperRoll& roll) {
    return std::string(".") + rollClass(roll) +
           " { width: " + std::to_string(roll.charsPerLine(false)) + "ch; }\n";
}

}  // namespace

std::string tapeHtmlHead() {
    return std::string(R"(<!DOCTYPE html>
<html lang="ru">
<head>
<meta charset="utf-8">
<title>Paper tape</title>
<style>
body { background: #7d838c; margin: 0; padding: 24px 0;
  font: 15px/1.3 "DejaVu Sans Mono", "Liberation Mono", monospace; }
.line, .cut { margin: 0 auto; padding: 0 2ch; }
.line { background: #fffef6; color: #1d1d1d; white-space: pre; min-height: 1.3em; }
)") + rollWidthRule(kWideRoll) +
           rollWidthRule(kNarrowRoll) + R"(.centre { text-align: center; }
.right { text-align: right; }
.bold { font-weight: bold; }
.underline { text-decoration: underline; }
.inverse { background: #1d1d1d; color: #fffef6; }
.unknown { color: #a00000; background: #ffdcdc; }
.cut { position: relative; border-top: 3px dashed #f4f4f4; margin-top: 24px; margin-bottom: 24px;
  height: 0; color: #f4f4f4; }
.cut span { position: absolute; left: -0.6em; top: -0.6em; font: 28px/1 "DejaVu Sans", sans-serif; }
</style>
</head>
<body>
)";
}

std::string tapeHtml(const std::vector<TapeItem>& items) {
    std::string out;
    for (const TapeItem& item : items) {
        if (item.kind == TapeItem::line) out += lineHtml(item.printed, item.roll);
        if (item.kind == TapeItem::cut)
            out += std::string("<div class=\"cut ") + rollClass(item.roll) +
                   "\"><span>✂</span></div>\n";
    }
    return out;
}

}  // namespace sim
