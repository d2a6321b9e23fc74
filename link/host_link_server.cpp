#include "link/host_link_server.h"

#include "link/link_commands.h"
#include "platform/board.h"

namespace {
constexpr int kHostBaudIndex = 17;  // 115200
}  // namespace

HostLinkServer::HostLinkServer(std::string devicePath)
    : devicePath_(std::move(devicePath)),
      port_(std::make_unique<rs::SerialPort>(devicePath_, kHostBaudIndex)),
      queue_(std::make_unique<CoreQueue>()),
      link_(port_.get()) {
    port_->setEcho(false);
    port_->setTimeout(-1);
}

HostLinkServer::~HostLinkServer() { port_->close(); }

void HostLinkServer::run(const std::atomic<bool>* stop, const std::function<void()>& onOpened) {
    link_.resetLastResponse();
    // A failed open is not reported: every read then fails and is answered.
    port_->open();
    if (onOpened) onOpened();
    while (!stop || !stop->load()) {
        CoreTransaction t;
        CoreApiResult result;
        ResultCode rc = link_.readRequest(t);
        if (rc != ResultCode::Success) {
            platform::sleepMs(20);
            link_.sendResponse(CoreApiResult(rc));
            continue;
        }
        if (!handle(t, result)) result = CoreApiResult(ResultCode::NotServed);
        platform::sleepMs(10);
        link_.sendResponse(result);
    }
}

bool HostLinkServer::handle(const CoreTransaction& t, CoreApiResult& result) {
    if (serveLinkCommand(t, result, coreRunning_ ? queue_.get() : nullptr)) return true;
    if (!coreRunning_) return false;
    return queue_->exec(t, result);
}
