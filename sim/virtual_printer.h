#pragma once
// The virtual ESC/POS receipt printer on the far end of the register's
// printer line. For every batch of bytes the line delivers it
//   - appends the bytes to DIR/printer/raw.bin,
//   - looks which roll it holds (paper_roll.h: DIR/printer/paper or the
//     register's paper-width setting),
//   - interprets them (TapeRenderer) and puts the printed lines and cuts on
//     the tape files (TapeFiles), unless the paper is out or the printer is
//     offline, when nothing reaches the paper,
//   - answers each paper status request (GS r 1) from DIR/printer/state,
//     read afresh for every request: one word, "ok" (or no file) 0x00,
//     "near-end" 0x03, "out" 0x0C, "offline" no answer at all. Any other
//     word counts as ok.
// Called on the printer line's thread only.

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>

#include "sim/tape_files.h"
#include "sim/tape_renderer.h"

namespace sim {

enum class PaperState { ok, nearEnd, out, offline };

// The state a word of DIR/printer/state stands for; surrounding white
// space is ignored.
PaperState parsePaperState(std::string_view word);

// The byte answered to a status request of kind `n` (GS r n), or none.
std::optional<std::uint8_t> statusAnswer(PaperState state, int n);

class VirtualPrinter {
  public:
    // `root` is the board's directory DIR; answers are written to `lineFd`.
    VirtualPrinter(std::string root, int lineFd);

    void receive(const unsigned char* p, std::size_t n);

  private:
    PaperState readState() const;

    std::string root_;
    std::string dir_;
    int lineFd_;
    std::ofstream raw_;
    TapeRenderer renderer_;
    TapeFiles tape_;
};

}  // namespace sim
