#pragma once
// The paper tape on disk, written as the virtual printer prints:
//   tape.txt   UTF-8, one printed line per line, a cut line at each cut
//   tape.html  the same with bold, double size, inverse, alignment and cuts
//              visible, in a receipt-width column that looks like paper
// Both are appended to, across restarts. tape.html stays a whole document
// after every write: new paper goes in before the closing tail, which is
// written again after it.

#include <string>
#include <vector>

#include "sim/tape_renderer.h"

namespace sim {

// The line tape.txt shows for a cut.
extern const char* const kCutMark;

// tape.txt's text for printed lines and cuts (other items give nothing).
std::string tapeText(const std::vector<TapeItem>& items);

// tape.html's markup for printed lines and cuts, to go before the tail.
std::string tapeHtml(const std::vector<TapeItem>& items);

class TapeFiles {
  public:
    // `dir` is the printer directory; tape.html is started when missing.
    explicit TapeFiles(std::string dir);

    // Appends the lines and cuts among `items` to both files.
    void append(const std::vector<TapeItem>& items);

    std::string textPath() const { return dir_ + "/tape.txt"; }
    std::string htmlPath() const { return dir_ + "/tape.html"; }

  private:
    void appendHtml(const std::string& markup);

    std::string dir_;
};

}  // namespace sim
