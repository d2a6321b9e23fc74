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
// A real printer answers while its paper moves; this one answers before it
// writes the batch's files, so that the register does not wait on this
// machine's disk for its answer. A TapeGate keeps that from being seen: it
// is closed from the first answer until the files hold the batch, and
// whatever tells a host of an answer waits for it to open.
// Called on the printer line's thread only.

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <mutex>
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

// Closed while the printer has answered what the tape files do not yet
// show. The host line's relay passes the register's bytes on, and the
// simulator says READY or ends, only through an open gate.
class TapeGate {
  public:
    void waitOpen() { std::lock_guard<std::mutex> pass(closed_); }

  private:
    friend class VirtualPrinter;
    std::mutex closed_;
};

class VirtualPrinter {
  public:
    // `root` is the board's directory DIR; answers are written to `lineFd`.
    // Without a gate the files are written before the answers.
    VirtualPrinter(std::string root, int lineFd, TapeGate* gate = nullptr);

    void receive(const unsigned char* p, std::size_t n);

  private:
    PaperState readState() const;

    std::string root_;
    std::string dir_;
    int lineFd_;
    TapeGate* gate_;
    std::ofstream raw_;
    TapeRenderer renderer_;
    TapeFiles tape_;
};

}  // namespace sim
