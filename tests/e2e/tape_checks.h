#pragma once
// Looking at the virtual printer's tape from an end-to-end test: waiting for
// the simulator to write it, and checking that tape.html is a whole document.

#include <chrono>
#include <string>
#include <thread>

#include "tests/support/file_text.h"

namespace e2e {

// Waits up to ten seconds for the file to satisfy `ready`; its last content.
template <typename Ready>
std::string waitForFile(const std::string& path, Ready ready) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    std::string content = testing_support::readFile(path);
    while (!ready(content) && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        content = testing_support::readFile(path);
    }
    return content;
}

// How tape.txt shows a text printed in double width: each character
// followed by a space, except the last ("ИТОГО" shows as "И Т О Г О").
std::string doubleWidth(const std::string& utf8);

// What is wrong with an HTML document, in a few words; empty when nothing
// is: every element that is opened is closed in order (void elements
// aside), the document is one <html> element, and no stray '<' or '&'
// stands in the text.
std::string htmlProblem(const std::string& html);

}  // namespace e2e
