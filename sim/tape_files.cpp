#include "sim/tape_files.h"

#include <cstdio>
#include <fstream>

namespace sim {

const char* const kCutMark = "- - - - - - - - - - - - ✂ - - - - - - - - - - - -";

namespace {

constexpr const char* kHtmlHead = R"(<!DOCTYPE html>
<html lang="ru">
<head>
<meta charset="utf-8">
<title>Paper tape</title>
<style>
body { background: #7d838c; margin: 0; padding: 24px 0; }
.paper { background: #fffef6; color: #1d1d1d; width: max-content; min-width: 44ch;
  margin: 0 auto; padding: 14px 18px; box-shadow: 0 2px 6px rgba(0,0,0,.45);
  font: 13px/1.3 "DejaVu Sans Mono", "Liberation Mono", monospace; }
.line { white-space: pre; min-height: 1.3em; }
.centre { text-align: center; }
.right { text-align: right; }
.large { font-size: 130%; }
.double { font-size: 200%; }
.large.double { font-size: 260%; }
.tall { display: inline-block; transform: scaleY(2); }
.wide { display: inline-block; transform: scaleX(2); transform-origin: left; }
.bold { font-weight: bold; }
.underline { text-decoration: underline; }
.inverse { background: #1d1d1d; color: #fffef6; }
.unknown { color: #a00000; background: #ffdcdc; }
.cut { color: #f2f2f2; text-align: center; margin: 6px 0; font: 14px monospace; }
</style>
</head>
<body>
<div class="paper">
)";

constexpr const char* kHtmlTail = "</div>\n</body>\n</html>\n";

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
    add(!s.smallFont, "large");
    add(s.doubleHeight && s.doubleWidth, "double");
    add(s.doubleHeight && !s.doubleWidth, "tall");
    add(s.doubleWidth && !s.doubleHeight, "wide");
    add(s.bold, "bold");
    add(s.underline, "underline");
    add(s.inverse, "inverse");
    add(s.unknown, "unknown");
    return classes;
}

std::string lineHtml(const TapeLine& line) {
    std::string out = "<div class=\"line";
    if (line.align == TapeAlign::centre) out += " centre";
    if (line.align == TapeAlign::right) out += " right";
    out += '"';
    // Feeds beyond the usual line spacing show as space below the line
    // (about 8 dots a millimetre, 3 dots a pixel).
    if (line.feedDots > TapeLine::kDefaultFeedDots)
        out += " style=\"margin-bottom:" +
               std::to_string((line.feedDots - TapeLine::kDefaultFeedDots) / 3) + "px\"";
    out += '>';
    for (const TapeRun& run : line.runs) {
        const std::string classes = runClasses(run.style);
        if (classes.empty()) {
            out += escapeHtml(run.text);
        } else {
            out += "<span class=\"" + classes + "\">" + escapeHtml(run.text) + "</span>";
        }
    }
    out += "</div>\n";
    return out;
}

}  // namespace

std::string tapeText(const std::vector<TapeItem>& items) {
    std::string out;
    for (const TapeItem& item : items) {
        if (item.kind == TapeItem::line) out += item.printed.text() + "\n";
        if (item.kind == TapeItem::cut) out += std::string(kCutMark) + "\n";
    }
    return out;
}

std::string tapeHtml(const std::vector<TapeItem>& items) {
    std::string out;
    for (const TapeItem& item : items) {
        if (item.kind == TapeItem::line) out += lineHtml(item.printed);
        // The paper ends at the cut and a new piece begins.
        if (item.kind == TapeItem::cut)
            out += "</div>\n<div class=\"cut\">✂</div>\n<div class=\"paper\">\n";
    }
    return out;
}

TapeFiles::TapeFiles(std::string dir) : dir_(std::move(dir)) { appendHtml(""); }

void TapeFiles::append(const std::vector<TapeItem>& items) {
    const std::string text = tapeText(items);
    if (text.empty()) return;
    std::ofstream(textPath(), std::ios::binary | std::ios::app) << text;
    appendHtml(tapeHtml(items));
}

void TapeFiles::appendHtml(const std::string& markup) {
    const std::string path = htmlPath();
    std::FILE* f = std::fopen(path.c_str(), "r+b");
    if (!f) {
        f = std::fopen(path.c_str(), "w+b");
        if (!f) return;
        std::fputs(kHtmlHead, f);
        std::fputs(kHtmlTail, f);
    }
    // Write over the tail when it is there; after a torn write it may not
    // be, and the new paper then follows whatever the file holds.
    const std::string tail = kHtmlTail;
    std::fseek(f, 0, SEEK_END);
    const long size = std::ftell(f);
    const long tailAt = size - static_cast<long>(tail.size());
    bool hasTail = false;
    if (tailAt >= 0) {
        std::string last(tail.size(), '\0');
        std::fseek(f, tailAt, SEEK_SET);
        hasTail = std::fread(last.data(), 1, last.size(), f) == last.size() && last == tail;
    }
    if (!markup.empty() || !hasTail) {
        const std::string update = markup + tail;
        std::fseek(f, hasTail ? tailAt : size, SEEK_SET);
        std::fwrite(update.data(), 1, update.size(), f);
    }
    std::fclose(f);
}

}  // namespace sim
