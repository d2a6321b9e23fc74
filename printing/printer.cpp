#include "printing/printer.h"

#include <string>

#include "platform/board.h"
#include "printing/escpos.h"
#include "state/status.h"

namespace printing {

namespace {

constexpr const char* kPrinterDevice = "/dev/ttyS0";
constexpr int kBaudIndex = 16;     // 57600
constexpr int kCharacterSize = 3;  // 8 bits
constexpr int kParity = 0;         // none
constexpr int kStopBits = 0;       // one
constexpr int kReadTimeoutMs = 200;

constexpr int kStatusAttempts = 5;
constexpr int kSilentAttemptPauseMs = 100;
constexpr int kAfterInitialiseMs = 500;
constexpr int kResetQueries = 10;
constexpr int kBetweenResetQueriesMs = 200;

void send(rs::SerialPort& port, std::string_view bytes) { port.write(std::string(bytes)); }

// Drops what the printer sent unasked (a late answer to an earlier status
// request), so that the next status byte read is the answer to the next
// request.
void discardPendingInput(rs::SerialPort& port) {
    for (int available = port.bytesAvailable(); available > 0; available = port.bytesAvailable()) {
        std::string stale;
        if (port.read(stale, available) <= 0) return;
    }
}

// A port that exists and is open; the commands without a status check
// answer 53 for anything else.
bool usable(const rs::SerialPort* port) { return port && port->isOpen(); }

// Translates the status byte into the paper flags and a result.
ResultCode applyStatusByte(std::uint8_t status) {
    auto& store = FrStatus::status();
    store.setFlag(FrStatus::printerOffline, false);
    store.setFlag(FrStatus::paperNearEnd,
                  (status & escpos::kStatusNearEndBits) == escpos::kStatusNearEndBits);
    const bool out = (status & escpos::kStatusOutBits) == escpos::kStatusOutBits;
    store.setFlag(FrStatus::paperOut, out);
    return out ? ResultCode::PaperOut : ResultCode::Success;
}

// Job prefix 1, job prefix 2 and the code page command, in that order.
std::string jobPrefix() {
    return std::string(escpos::kJobPrefix1) + std::string(escpos::kJobPrefix2) +
           std::string(escpos::kCodePage);
}

// Asks the printer for its status; `job` goes in the same write as the
// first request, so that the printer reads both at once and answers once
// the job is on paper.
ResultCode askStatus(rs::SerialPort* port, std::string_view job) {
    if (port) {
        for (int attempt = 0; attempt < kStatusAttempts; ++attempt) {
            discardPendingInput(*port);
            send(*port, std::string(attempt == 0 ? job : std::string_view()) +
                            std::string(escpos::kStatusRequest));
            std::string answer;
            const int got = port->read(answer, 1);
            if (got < 0) break;
            if (got > 0) return applyStatusByte(static_cast<std::uint8_t>(answer[0]));
            platform::sleepMs(kSilentAttemptPauseMs);
        }
    }
    FrStatus::status().setFlag(FrStatus::printerOffline, true);
    return ResultCode::PrinterOffline;
}

}  // namespace

std::unique_ptr<rs::SerialPort> createPrinterPort() {
    auto port = std::make_unique<rs::SerialPort>(platform::board().path(kPrinterDevice), kBaudIndex,
                                                 kCharacterSize, kParity, kStopBits);
    port->setTimeout(kReadTimeoutMs);
    port->setEcho(false);
    return port;
}

void ensurePrinterOpen(rs::SerialPort* port) {
    if (port && !port->isOpen()) port->open();
}

ResultCode queryPrinterStatus(rs::SerialPort* port) { return askStatus(port, {}); }

ResultCode statusBeforeJob(rs::SerialPort* port) {
    const ResultCode status = queryPrinterStatus(port);
    if (status != ResultCode::PrinterOffline || !port) return status;
    return resetPrinter(port);
}

ResultCode resetPrinter(rs::SerialPort* port) {
    if (!port) return ResultCode::PrinterOffline;
    port->close();
    port->open();
    send(*port, escpos::kClearBuffers);
    send(*port, escpos::kInitialise);
    platform::sleepMs(kAfterInitialiseMs);
    ResultCode result = queryPrinterStatus(port);
    for (int queries = 1; result != ResultCode::Success && queries < kResetQueries; ++queries) {
        platform::sleepMs(kBetweenResetQueriesMs);
        result = queryPrinterStatus(port);
    }
    if (result == ResultCode::Success) {
        sendJobPrefix(port);
        send(*port, escpos::kStatusBackOff);
    }
    return result;
}

ResultCode sendJobPrefix(rs::SerialPort* port) {
    if (!port) return ResultCode::PrinterOffline;
    send(*port, jobPrefix());
    return ResultCode::Success;
}

ResultCode printBytes(rs::SerialPort* port, std::string_view bytes, bool check) {
    if (!port) return ResultCode::PrinterOffline;
    // A printer last found silent (wedged in a data block by raw bytes,
    // or switched off since) is brought back before the job, not after it.
    if (check && FrStatus::status().testFlags(FrStatus::printerOffline))
        if (const ResultCode reset = resetPrinter(port); reset != ResultCode::Success) return reset;
    // One write for the whole job and its status request: each write wakes
    // the line's reader.
    const std::string job = jobPrefix() + std::string(bytes);
    if (!check) {
        send(*port, job);
        return ResultCode::Success;
    }
    const ResultCode result = askStatus(port, job);
    if (result != ResultCode::Success) resetPrinter(port);
    return result;
}

ResultCode feedAndCut(rs::SerialPort* port) {
    if (!usable(port)) return ResultCode::PrinterOffline;
    send(*port, escpos::kFeedAndCut);
    return ResultCode::Success;
}

ResultCode writeRaw(rs::SerialPort* port, std::string_view bytes) {
    if (!usable(port)) return ResultCode::PrinterOffline;
    if (!bytes.empty()) send(*port, bytes);
    return ResultCode::Success;
}

}  // namespace printing
