#pragma once
// The whole register in this process, on a temporary board with the
// simulator's virtual printer on its printer line: started, driven through
// its dispatch table as the host link would, and dropped as a power cut
// drops it (what it held in memory is gone, its files stay as the writes
// left them), then started again over the same files.

#include <cstdint>
#include <memory>
#include <string>

#include "core/core_worker.h"
#include "sim/printer_line.h"
#include "sim/pty.h"
#include "sim/virtual_printer.h"
#include "tests/support/temp_board.h"

namespace crash {

class RegisterUnderTest {
  public:
    // A new board: card, EEPROM with a fixed device key, a printer. Not
    // started yet.
    RegisterUnderTest();
    ~RegisterUnderTest();

    // Forgets every process-wide state and runs the start-up.
    void start();
    // The register is gone, as after a power cut.
    void drop();
    bool running() const { return core_ != nullptr; }

    CoreApiResult send(std::uint8_t command, const Bytes& data);

    testing_support::TempBoard& board() { return scoped_.board(); }
    std::string file(std::string_view boardPath) const { return scoped_.file(boardPath); }

  private:
    testing_support::ScopedTempBoard scoped_;
    sim::Pty printerEnd_;
    std::unique_ptr<sim::VirtualPrinter> printer_;
    std::unique_ptr<sim::PrinterLine> line_;
    std::unique_ptr<CoreWorker> core_;
};

}  // namespace crash
