#pragma once
// The virtual printer's interpreter: ESC/POS bytes in, paper out. It turns
// the byte stream into printed lines (UTF-8 text in runs of one style, with
// the line's alignment and line spacing), cuts and status requests, in the
// order the printer meets them. A command split across two feeds is kept
// until its last byte arrives. Bytes the printer does not understand are
// printed as hexadecimal marks such as ⟨1B 7A⟩ rather than dropped.
//
// Understood: LF, HT, ESC @, ESC 3 n, ESC a n, ESC ! n, ESC t n, ESC i,
// GS d n, GS P x y, GS a n, GS r n, GS B n, DLE DC4 8 (7 parameter bytes).
// Character table 7 is CP866; bytes above 0x7F under any other table are
// shown as marks, so a missing ESC t 7 is visible on the tape.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace sim {

struct TapeStyle {
    bool smallFont = false;  // font B
    bool bold = false;
    bool doubleHeight = false;
    bool doubleWidth = false;
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
    int feedDots = kDefaultFeedDots;  // line spacing in effect at the line feed

    // The text of all runs.
    std::string text() const;
};

struct TapeItem {
    enum Kind { line, cut, statusRequest };
    Kind kind = line;
    TapeLine printed;    // for a line
    int statusKind = 0;  // n of GS r n, for a status request
};

class TapeRenderer {
  public:
    // Interprets the bytes after everything fed before; returns what they
    // completed, in order. A line is complete at its line feed, or at a cut
    // that follows text not yet fed.
    std::vector<TapeItem> feed(const std::uint8_t* p, std::size_t n);

  private:
    // Length of the command at the start of `p` (n bytes); 0 when more bytes
    // are needed to know or to complete it.
    static std::size_t commandLength(const std::uint8_t* p, std::size_t n);
    void execute(const std::uint8_t* p, std::size_t n, std::vector<TapeItem>& out);
    void print(const std::string& utf8, bool unknown = false);
    void printMark(const std::uint8_t* p, std::size_t n);
    void endLine(std::vector<TapeItem>& out);
    void initialise();

    std::vector<std::uint8_t> pending_;
    TapeLine line_;
    std::size_t column_ = 0;  // characters on the current line
    TapeStyle style_;
    TapeAlign align_ = TapeAlign::left;
    int feedDots_ = TapeLine::kDefaultFeedDots;
    int codeTable_ = 0;
};

}  // namespace sim
