#pragma once
// HostLinkServer: owns the host serial line and serves the frame protocol for
// the life of the process, one request at a time. The link-served commands
// are answered here; every other command goes to the core through the
// transaction queue, and the link waits for its result.

#include <atomic>
#include <functional>
#include <memory>
#include <string>

#include "link/frame_link.h"
#include "serial/serialport.h"
#include "state/queue.h"

class HostLinkServer {
  public:
    explicit HostLinkServer(std::string devicePath);
    ~HostLinkServer();

    // Opens the port, calls `onOpened` (if any), then serves requests.
    // Returns only when `stop` is given and becomes true (checked between
    // requests).
    void run(const std::atomic<bool>* stop = nullptr, const std::function<void()>& onOpened = {});

    // Without a core (the link-only mode) nothing consumes the queue, so a
    // command the link does not serve itself is answered 8 at once instead
    // of waiting for ever.
    void setCoreRunning(bool running) { coreRunning_ = running; }

    // Serves one request; false when no result was obtained.
    bool handle(const CoreTransaction& t, CoreApiResult& result);

  private:
    std::string devicePath_;
    std::unique_ptr<rs::SerialPort> port_;
    std::unique_ptr<CoreQueue> queue_;
    FrameLink link_;
    bool coreRunning_ = true;
};
