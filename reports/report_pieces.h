#pragma once
// The printed pieces every report is made of, each rendered to printer
// bytes on its own, since reports print them one by one and look at some
// of their print results and not at others.

#include <initializer_list>
#include <string>
#include <string_view>

#include "config/model_data.h"
#include "config/reg_data.h"

namespace report {

// The registration's three texts, centred; empty for a registration record
// that is not valid.
std::string registrationHeaderBlock(const RegData& registration);

// The "ИНН" and "ФН" lines, without the cut; empty for a registration
// record that is not valid.
std::string registrationFooterBlock(const RegData& registration);

// The model name and, at the right margin, the serial number; the paper is
// fed and cut after it.
std::string closingLine(const ModelData& model);

// One line of "-" across the width of the small font.
std::string separator();

// A report's title, centred and bold.
std::string title(std::string_view text);

// Label-and-value lines (CP866), left, one block.
std::string bodyLines(std::initializer_list<std::string> lines);

}  // namespace report
