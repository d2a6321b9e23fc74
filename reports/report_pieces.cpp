#include "reports/report_pieces.h"

#include "documents/print_text.h"
#include "printing/print_layout.h"
#include "printing/reg_data_print.h"

using namespace print_text;

namespace report {

std::string registrationHeaderBlock(const RegData& registration) {
    return registrationTextLines(registration);
}

std::string registrationFooterBlock(const RegData& registration) {
    return registrationNumberLines(registration, false);
}

std::string closingLine(const ModelData& model) {
    return printing::renderBlock(
        block(kSmallFont, kLeft, {model.modelName() + "\t" + model.serialText()}), true);
}

std::string separator() {
    printing::PrintBlock line = block(kSmallFont, kLeft, {});
    line.lines.emplace_back(printing::charsPerLine(line.attributes), '-');
    return printing::renderBlock(line, false);
}

std::string title(std::string_view text) {
    return printing::renderBlock(block(kSmallFont, kCentredBold, {std::string(text)}), false);
}

std::string bodyLines(std::initializer_list<std::string> lines) {
    return printing::renderBlock(block(kSmallFont, kLeft, lines), false);
}

}  // namespace report
