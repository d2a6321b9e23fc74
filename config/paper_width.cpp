#include "config/paper_width.h"

#include <atomic>

namespace settings {
namespace {
std::atomic<std::uint8_t> width{kDefaultPaperWidth};
}

std::uint8_t currentPaperWidth() { return width.load(); }
void setCurrentPaperWidth(std::uint8_t w) { width.store(w); }

}  // namespace settings
