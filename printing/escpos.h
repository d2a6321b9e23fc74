#pragma once
// The fixed ESC/POS command sequences the register sends to its printer.
// One place for the bytes, shared by the driver and the layout.

#include <string_view>

namespace printing::escpos {

using namespace std::string_view_literals;

// GS d 0: first half of the prefix sent before every job.
constexpr std::string_view kJobPrefix1 = "\x1D\x64\x00"sv;
// GS P 0 0: motion units left at the printer's defaults.
constexpr std::string_view kJobPrefix2 = "\x1D\x50\x00\x00"sv;
// ESC t 7: character table 7, the CP866 Cyrillic page.
constexpr std::string_view kCodePage = "\x1B\x74\x07"sv;
// GS a 0: automatic status back disabled.
constexpr std::string_view kStatusBackOff = "\x1D\x61\x00"sv;
// GS r 1: transmit the paper sensor status (one byte back).
constexpr std::string_view kStatusRequest = "\x1D\x72\x01"sv;
// DLE DC4 8 with its fixed parameters: clear the receive and print buffers.
constexpr std::string_view kClearBuffers = "\x10\x14\x08\x01\x03\x14\x01\x06\x02\x08"sv;
// ESC @: initialise the printer.
constexpr std::string_view kInitialise = "\x1B\x40"sv;
// ESC 3 255, LF, ESC i: feed the printed text past the cutter, then cut.
constexpr std::string_view kFeedAndCut = "\x1B\x33\xFF\x0A\x1B\x69"sv;

// Bits of the status byte: both of a pair must be set.
constexpr unsigned kStatusNearEndBits = 0x03;
constexpr unsigned kStatusOutBits = 0x0C;

}  // namespace printing::escpos
