#pragma once
// How fast the simulated board's printer line and SD card are. Off (as fast
// as this machine goes) unless the board directory asks for them:
//   DIR/printer-baud   the printer line's speed in baud (10 bits a byte)
//   DIR/sd-write-ms    the time every write and sync on the card takes
// or okta80f-sim --board-timings gives the board's own figures to whichever
// of the two files is absent.

#include <optional>
#include <string>

namespace sim {

struct BoardTimings {
    int printerBaud = 0;  // 0: unthrottled
    int cardWriteMs = 0;  // 0: no delay
};

// The board's figures: the printer line at 57 600 baud, a card mounted
// sync on which a write takes a few milliseconds.
constexpr int kBoardPrinterBaud = 57'600;
constexpr int kBoardCardWriteMs = 3;

// The timings DIR asks for, with the board's figures where `boardFigures`
// and DIR names none. False with `problem` set when a file holds no
// number in its range (baud 300 to 4 000 000, milliseconds 0 to 10 000).
bool readBoardTimings(const std::string& root, bool boardFigures, BoardTimings& out,
                      std::string& problem);

}  // namespace sim
