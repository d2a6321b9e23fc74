#include "printing/printable_text.h"

namespace printing {

std::string printableText(std::string_view text, bool keepTabs) {
    std::string out(text);
    for (char& c : out)
        if (isPrinterControl(c) && !(keepTabs && c == '\t')) c = kStandIn;
    return out;
}

}  // namespace printing
