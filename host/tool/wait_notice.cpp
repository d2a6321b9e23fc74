#include "host/tool/wait_notice.h"

#include <cstdio>

#include "host/commands.h"

namespace hosttool {

namespace {
constexpr std::uint8_t kControlTape = 58;
// Commands answered from memory or files are given this long at most; a
// longer time-out means the command prints.
constexpr int kQuickMs = 5'000;
}  // namespace

std::string waitText(std::uint8_t command) {
    if (command == kControlTape) return "printing the control tape…";
    if (hostkit::commandInfo(command).timeoutMs > kQuickMs) return "waiting for the printer…";
    return "waiting for the register…";
}

WaitNotice::WaitNotice(std::chrono::milliseconds first, std::chrono::milliseconds every)
    : first_(first), every_(every), thread_([this] { watch(); }) {}

WaitNotice::~WaitNotice() {
    {
        std::lock_guard<std::mutex> guard(lock_);
        ending_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

void WaitNotice::observe(const hostkit::TraceEvent& event) {
    using Kind = hostkit::TraceEvent::Kind;
    if (event.kind != Kind::Request && event.kind != Kind::Answer) return;
    {
        std::lock_guard<std::mutex> guard(lock_);
        // A request frame: 04, length (2 bytes), then the command.
        waiting_ = event.kind == Kind::Request && event.bytes.size() > 3;
        if (waiting_) {
            command_ = event.bytes[3];
            sentAt_ = std::chrono::steady_clock::now();
        }
    }
    changed_.notify_all();
}

void WaitNotice::watch() {
    std::unique_lock<std::mutex> guard(lock_);
    while (!ending_) {
        if (!waiting_) {
            changed_.wait(guard);
            continue;
        }
        const auto sentAt = sentAt_;
        auto next = sentAt + first_;
        while (waiting_ && !ending_ && sentAt_ == sentAt) {
            if (changed_.wait_until(guard, next) != std::cv_status::timeout) continue;
            const auto waited = std::chrono::duration_cast<std::chrono::seconds>(
                std::chrono::steady_clock::now() - sentAt);
            std::fprintf(stderr, "okta-host: %s (%lld s)\n", waitText(command_).c_str(),
                         static_cast<long long>(waited.count()));
            std::fflush(stderr);
            next += every_;
        }
    }
}

}  // namespace hosttool
