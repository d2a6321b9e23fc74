#pragma once
// CoreWorker: the heart of the core thread and the top of the register. It
// owns the core's queue handle, the printer port, the document archive (once
// the SD card is mounted) and the dispatch table, which it assembles from
// the rows each command folder offers. It brings the device up once
// (startUp), then takes one transaction at a time, dispatches it by command
// code and posts the result.

#include <atomic>
#include <memory>

#include "config/base_worker.h"
#include "serial/serialport.h"
#include "state/command_table.h"
#include "state/queue.h"
#include "storage/document_archive.h"

class CoreWorker : public BaseWorker {
  public:
    CoreWorker();
    ~CoreWorker() override;

    // The start-up sequence, run once before the host link starts: status
    // reset, reference data, identity, SD card, archive opened or created,
    // internal storage formed when missing (with its warning printed first),
    // device status from the archive, greeting. A step that fails leaves its
    // mark in the status flags only.
    void startUp();

    // Pops, dispatches and answers one transaction per pass, pausing 20 ms
    // after every pass. Returns only when `stop` is given and becomes true.
    void runLoop(const std::atomic<bool>* stop = nullptr);

    // Serves one transaction by the dispatch table; unknown codes answer 10.
    CoreApiResult dispatch(const CoreTransaction& t);

    rs::SerialPort& printer() { return *printer_; }
    // Null until the card is mounted at start-up.
    DocumentArchive* archive() { return archive_.get(); }

  private:
    // The archive while the status says it is ready; null otherwise.
    DocumentArchive* readyArchive();
    void startArchive();
    void printGreeting();

    std::unique_ptr<CoreQueue> queue_;
    std::unique_ptr<rs::SerialPort> printer_;
    std::unique_ptr<DocumentArchive> archive_;
    CommandTable commands_;
};
