#pragma once
// The core's printer commands: the host drives the printer directly.
//   192  paper status query: 0, 53 or 54, no data
//   195  formatted print: four format bytes, then CP866 text; fewer than
//        four bytes answer 22; the text is one print block (a line per
//        line feed), sent with the status check (byte 3 bit 4 asks for
//        the cut)
//   196  raw bytes sent unchanged; empty data answers 22
//   197  feed and cut
// Each runs on the core thread and first opens the printer port if it is
// not open, so a printer that was missing at start-up is used once it
// answers; a port that cannot be opened answers 53.

#include "serial/serialport.h"
#include "state/command_table.h"

// The rows of 192, 195, 196 and 197 on the core's printer port.
void addPrinterCommands(CommandTable& table, rs::SerialPort& printer);
