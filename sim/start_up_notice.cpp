#include "sim/start_up_notice.h"

#include <cstdio>

#include "sim/text_file.h"
#include "sim/virtual_printer.h"

namespace sim {

std::string startUpWaitText(const std::string& root, const std::string& printerState) {
    const PaperState state = parsePaperState(printerState);
    if (state == PaperState::offline)
        return "okta80f-sim: waiting for the printer, which does not answer (" + root +
               "/printer/state says offline); the register gives up on it after about 40 s, "
               "then READY follows";
    return "okta80f-sim: the register is still starting up (reading its archive and asking the "
           "printer); READY follows";
}

StartUpNotice::StartUpNotice(std::string root, std::chrono::milliseconds after)
    : root_(std::move(root)), thread_([this, after] { watch(after); }) {}

StartUpNotice::~StartUpNotice() {
    ready();
    thread_.join();
}

void StartUpNotice::ready() {
    {
        std::lock_guard<std::mutex> guard(lock_);
        ready_ = true;
    }
    changed_.notify_all();
}

void StartUpNotice::watch(std::chrono::milliseconds after) {
    std::unique_lock<std::mutex> guard(lock_);
    if (changed_.wait_for(guard, after, [this] { return ready_; })) return;
    guard.unlock();
    const std::string text =
        startUpWaitText(root_, readTextFile(root_ + "/printer/state").value_or("ok"));
    std::fprintf(stderr, "%s\n", text.c_str());
    std::fflush(stderr);
}

}  // namespace sim
