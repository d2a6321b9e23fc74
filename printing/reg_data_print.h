#pragma once
// The printed lines of the registration record, used in the greeting and
// in the documents' header and footer. Each block is rendered to printer
// bytes (CP866 text and style commands); a record that is not valid gives
// the empty string.

#include <string>

#include "config/reg_data.h"

// The three texts, one line each, in the style 0x04 (centred).
std::string registrationTextLines(const RegData& reg);

// "ИНН\t" and the taxpayer number, then "ФН\t" and the storage number, in
// the style 0x01 (left, values to the right margin); with `cut`, the
// feed-and-cut sequence follows.
std::string registrationNumberLines(const RegData& reg, bool cut);
