#include "sim/tape_files.h"

#include <cstdio>
#include <fstream>

#include "sim/tape_html.h"
#include "sim/tape_text.h"

namespace sim {

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
        std::fputs(tapeHtmlHead().c_str(), f);
        std::fputs(kTapeHtmlTail, f);
    }
    // Write over the tail when it is there; after a torn write it may not
    // be, and the new paper then follows whatever the file holds.
    const std::string tail = kTapeHtmlTail;
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
