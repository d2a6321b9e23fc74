#pragma once
// Diagnostics: single lines on standard output, each ended by a newline and
// flushed at once. Both threads print, so a line is written whole.

#include <string_view>

void diagnosticLine(std::string_view text);
