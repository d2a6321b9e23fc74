// okta80f-sim --root DIR [MODE]: the register program on a simulated board.
// The host line and the printer line are pseudo-terminals under DIR, the
// EEPROM and the SD card are files under DIR, and the clock is the host's
// clock plus DIR/clock-offset.

#include <pthread.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "app/run_modes.h"
#include "sim/board_dir.h"
#include "sim/line_relay.h"
#include "sim/printer_line.h"
#include "sim/pty.h"
#include "sim/sim_board.h"
#include "sim/virtual_printer.h"

namespace {

std::atomic<bool> stopRequested{false};

// SIGTERM and SIGINT are blocked in every thread and taken here: the core
// finishes the transaction in hand and the process ends with status 0. A
// mode that cannot notice the request (a link waiting for a byte) is ended
// after a grace period.
void watchStopSignals(sigset_t signals) {
    std::thread([signals] {
        int signal = 0;
        sigwait(&signals, &signal);
        stopRequested = true;
        std::this_thread::sleep_for(std::chrono::seconds(3));
        std::fflush(stdout);
        std::_Exit(0);
    }).detach();
}

int usage() {
    std::cerr << "usage: okta80f-sim --root DIR [-c|-d|-s|MODE]\n";
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    std::string root;
    std::vector<char*> registerArgs{argv[0]};
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--root") == 0 && i + 1 < argc) {
            root = argv[++i];
        } else {
            registerArgs.push_back(argv[i]);
        }
    }
    if (root.empty()) return usage();
    root = std::filesystem::absolute(root).lexically_normal().string();

    try {
        sim::prepareBoardDir(root);
    } catch (const std::exception& e) {
        std::cerr << "okta80f-sim: cannot prepare " << root << ": " << e.what() << "\n";
        return 1;
    }
    platform::installBoard(std::make_unique<sim::SimBoard>(root));

    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGTERM);
    sigaddset(&signals, SIGINT);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    watchStopSignals(signals);

    try {
        sim::Pty registerEnd, hostEnd, printerEnd;
        sim::replaceSymlink(registerEnd.slavePath(), root + "/dev/ttyGS0");
        sim::replaceSymlink(hostEnd.slavePath(), root + "/host-line");
        sim::replaceSymlink(printerEnd.slavePath(), root + "/dev/ttyS0");
        sim::LineRelay relay(registerEnd.master(), hostEnd.master());

        sim::VirtualPrinter virtualPrinter(root + "/printer", printerEnd.master());
        sim::PrinterLine printer(printerEnd.master(),
                                 [&virtualPrinter](const unsigned char* p, std::size_t n) {
                                     virtualPrinter.receive(p, n);
                                 });

        RunHooks hooks;
        hooks.stop = &stopRequested;
        const std::string hostLine = root + "/host-line";
        hooks.onReady = [hostLine] {
            std::printf("READY %s\n", hostLine.c_str());
            std::fflush(stdout);
        };
        int status = runRegister(static_cast<int>(registerArgs.size()), registerArgs.data(), hooks);
        std::fflush(stdout);
        // The host link thread may still sit in a blocking read: leave at once.
        std::_Exit(status);
    } catch (const std::exception& e) {
        std::cerr << "okta80f-sim: " << e.what() << "\n";
        return 1;
    }
}
