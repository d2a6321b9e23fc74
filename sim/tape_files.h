#pragma once
// The paper tape on disk, written as the virtual printer prints:
//   tape.txt   UTF-8 text (tape_text.h)
//   tape.html  the same as a page that looks like the paper (tape_html.h)
// Both are appended to, across restarts. tape.html stays a whole document
// after every write: new paper goes in before the closing tail, which is
// written again after it.

#include <string>
#include <vector>

#include "sim/tape_renderer.h"

namespace sim {

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
