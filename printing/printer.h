#pragma once
// The printer driver: a thin layer over the serial port of the receipt
// printer ("/dev/ttyS0", 57600 baud, 8N1, reads time out after 200 ms).
// It sends the fixed ESC/POS sequences around every job, asks the printer
// for its paper status and keeps the three printer flags of the device
// status (printerOffline, paperNearEnd, paperOut) up to date.
//
// Every operation takes the port as a pointer that may be null (no port):
// then it answers 53 (and the status query sets printerOffline). A port
// that could not be opened counts as no port for feedAndCut and writeRaw;
// the operations with a status check find it out through the query. Only the
// core thread prints; the port has no lock of its own. The status flags are
// written through the device status store, under the status lock.
//
// Written bytes are not checked: a failed write shows only through the
// status query that follows it.

#include <memory>
#include <string_view>

#include "common/result_code.h"
#include "serial/serialport.h"

namespace printing {

// The printer port with its line settings, not yet opened.
std::unique_ptr<rs::SerialPort> createPrinterPort();

// Opens the port when there is one and it is not open.
void ensurePrinterOpen(rs::SerialPort* port);

// Asks for the paper status up to five times, each time first dropping
// whatever unasked bytes the line holds (each waits up to the port's
// read time-out and pauses 100 ms when nothing came, so a silent printer
// costs about 1.5 s; a failed read stops at once). Updates the three
// printer flags. Returns Success, PaperOut (paper out; a near end only sets
// paperNearEnd) or PrinterOffline (no port, no answer, or the read failed).
ResultCode queryPrinterStatus(rs::SerialPort* port);

// The status a document or report is started on: queries it and, when
// the printer does not answer, resets it before the job rather than
// failing every job after (a printer wedged in a data block by raw bytes,
// or switched off and on since, comes back). The result of the query, or
// that of the reset after a silent query.
ResultCode statusBeforeJob(rs::SerialPort* port);

// Recovery: closes and reopens the port, clears the printer's buffers,
// initialises it, then queries the status (after 500 ms, and again every
// 200 ms up to ten queries in all) until it answers Success; on success
// sends the job prefix and turns automatic status back off. Returns the
// result of the last query; PrinterOffline without a port.
ResultCode resetPrinter(rs::SerialPort* port);

// Sends GS d 0, GS P 0 0 and ESC t 7. Success, or PrinterOffline without a port.
ResultCode sendJobPrefix(rs::SerialPort* port);

// With `check` and the printer last found silent (printerOffline), first
// resets it; when that fails, returns its result without sending the job.
// Sends the job prefix and then `bytes` unchanged. With `check`, queries
// the status afterwards and, when that fails, resets the printer: the job
// is not repeated, and the result is that of the query (not of the reset).
// Without `check`: Success. PrinterOffline without a port.
ResultCode printBytes(rs::SerialPort* port, std::string_view bytes, bool check);

// Sends ESC 3 255, LF, ESC i. Success, or PrinterOffline without an open port.
ResultCode feedAndCut(rs::SerialPort* port);

// Sends `bytes` unchanged; an empty string sends nothing. Success, or
// PrinterOffline without an open port.
ResultCode writeRaw(rs::SerialPort* port, std::string_view bytes);

}  // namespace printing
