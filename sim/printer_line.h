#pragma once
// The printer's end of the register's printer line: a thread that reads
// every byte the register sends and hands it to a sink, which may answer
// on the line.

#include <atomic>
#include <functional>
#include <thread>

namespace sim {

class PrinterLine {
public:
    // `sink` gets each batch of bytes received and may write answers to
    // `master`.
    using Sink = std::function<void(const unsigned char* p, std::size_t n)>;
    PrinterLine(int master, Sink sink);
    ~PrinterLine();
    PrinterLine(const PrinterLine&) = delete;
    PrinterLine& operator=(const PrinterLine&) = delete;

private:
    void run();

    int master_;
    Sink sink_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

}  // namespace sim
