#pragma once
// The virtual printer's interpreter: ESC/POS bytes in, paper out. It turns
// the byte stream into printed lines (UTF-8 text in runs of one style, with
// the line's alignment and line spacing), cuts and status requests, in the
// order the printer meets them. A command split across two feeds is kept
// until its last byte arrives.
//
// Lines are as long as the roll allows (paper_roll.h): a character that
// does not fit goes to the next line, as on a receipt printer, and a line
// feed after a full line feeds once. The alignment of a line is the one in
// force when its first character is printed.
//
// The commands are listed in docs/virtual-printer.md. Those that the paper
// does not show (bit images, barcodes, margins, ...) are consumed with their
// parameters; bytes the printer does not understand are printed as
// hexadecimal marks such as ⟨1B 7A⟩ (in plain print) rather than dropped.
// CR and NUL print nothing. Character table 7 is CP866; bytes above 0x7F
// under any other table are shown as marks, so a missing ESC t 7 is
// visible on the tape.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "sim/paper_roll.h"

namespace sim {

struct TapeStyle {
    bool fontB = false;  // the small font
    bool bold = false;
    int width = 1;   // width factor, 1 ... 8
    int height = 1;  // height factor, 1 ... 8
    bool underline = false;
    bool inverse = false;
    bool unknown = false;  // a mark for bytes the printer did not understand

    bool operator==(const TapeStyle&) const = default;
};

enum class TapeAlign { left, centre, right };

struct TapeRun {
    TapeStyle style;
    std::string text;  // UTF-8
};

struct TapeLine {
    static constexpr int kDefaultFeedDots = 30;

    std::vector<TapeRun> runs;
    TapeAlign align = TapeAlign::left;
    int feedDots = kDefaultFeedDots;  // line spacing in effect at the line's end

    // The text of all runs.
    std::string text() const;
};

struct TapeItem {
    enum Kind { line, cut, statusRequest };
    Kind kind = line;
    PaperRoll roll;      // for a line or a cut: the roll it was printed on
    TapeLine printed;    // for a line
    int statusKind = 0;  // n of GS r n, for a status request
};

class TapeRenderer {
  public:
    // The roll for what is printed from now on.
    void setRoll(const PaperRoll& roll) { roll_ = roll; }

    // Interprets the bytes after everything fed before; returns what they
    // completed, in order. A line is complete at its line feed, when the
    // next character does not fit on it, or at a cut that follows text not
    // yet fed.
    std::vector<TapeItem> feed(const std::uint8_t* p, std::size_t n);

  private:
    // Takes bytes while bulk data is still to come (skip_ > 0): passes the
    // data over, up to a clear buffers that ends it early.
    void passOverData(const std::uint8_t* p, std::size_t n);
    void execute(const std::uint8_t* p, std::size_t n, std::vector<TapeItem>& out);
    void executeEsc(const std::uint8_t* p, std::size_t n, std::vector<TapeItem>& out);
    void executeGs(const std::uint8_t* p, std::size_t n, std::vector<TapeItem>& out);
    void print(const std::string& utf8, std::vector<TapeItem>& out, bool unknown = false);
    void printMark(const std::uint8_t* p, std::size_t n, std::vector<TapeItem>& out);
    void tab(std::vector<TapeItem>& out);
    void feedLines(int lines, std::vector<TapeItem>& out);
    void endLine(std::vector<TapeItem>& out);
    void cut(std::vector<TapeItem>& out);
    void initialise();
    int charUnits() const { return roll_.charUnits(style_.fontB) * style_.width; }

    PaperRoll roll_;
    std::vector<std::uint8_t> pending_;
    std::uint64_t skip_ = 0;  // bulk data of a dropped command still to come
    // The last bytes passed over, for a clear buffers split between reads.
    std::vector<std::uint8_t> skippedTail_;
    TapeLine line_;
    int lineUnits_ = 0;  // of the current line, in the roll's units
    TapeStyle style_;
    TapeAlign align_ = TapeAlign::left;
    int feedDots_ = TapeLine::kDefaultFeedDots;
    int codeTable_ = 0;
};

}  // namespace sim
