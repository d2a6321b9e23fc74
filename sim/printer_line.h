#pragma once
// The printer's end of the register's printer line: a thread that reads
// every byte the register sends and hands it to a sink, which may answer
// on the line. At a given speed the bytes reach the sink no faster than
// the line carries them (10 bits a byte), in order, so that the answer to
// a status query waits its turn behind what was sent before it.

#include <atomic>
#include <functional>
#include <thread>

namespace sim {

class PrinterLine {
public:
    // `sink` gets each batch of bytes received and may write answers to
    // `master`.
    using Sink = std::function<void(const unsigned char* p, std::size_t n)>;
    PrinterLine(int master, Sink sink, int baud = 0);  // baud 0: as fast as it comes
    ~PrinterLine();
    PrinterLine(const PrinterLine&) = delete;
    PrinterLine& operator=(const PrinterLine&) = delete;

private:
    void run();

    int master_;
    Sink sink_;
    int baud_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

}  // namespace sim
