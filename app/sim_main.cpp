// okta80f-sim --root DIR [MODE]: the register program on a simulated board.
// The host line and the printer line are pseudo-terminals, the EEPROM and
// the SD card are files under DIR, and the clock is the host's clock plus
// DIR/clock-offset. `okta80f-sim --help` and docs/simulator.md tell the rest.

#include <pthread.h>

#include <chrono>
#include <condition_variable>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <iostream>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "app/run_modes.h"
#include "sim/board_dir.h"
#include "sim/board_timings.h"
#include "sim/board_lock.h"
#include "sim/clock_offset.h"
#include "sim/line_log.h"
#include "sim/line_relay.h"
#include "sim/printer_line.h"
#include "sim/pty.h"
#include "sim/sim_board.h"
#include "sim/sim_options.h"
#include "sim/start_up_notice.h"
#include "sim/text_file.h"
#include "sim/virtual_printer.h"

namespace {

namespace fs = std::filesystem;

std::atomic<bool> stopRequested{false};

// The host's end of the line is only there while a register serves it.
void removeHostLine(const std::string& root) {
    std::error_code ec;
    fs::remove(root + "/host-line", ec);
}

// SIGTERM and SIGINT are blocked in every thread and taken here: the core
// finishes the transaction in hand and the process ends with status 0. A
// mode that cannot notice the request (a link waiting for a byte) is ended
// after a grace period.
void watchStopSignals(sigset_t signals, std::string root) {
    std::thread([signals, root] {
        int signal = 0;
        sigwait(&signals, &signal);
        stopRequested = true;
        std::this_thread::sleep_for(std::chrono::seconds(3));
        removeHostLine(root);
        std::fflush(stdout);
        std::_Exit(0);
    }).detach();
}

int fail(const std::string& message) {
    std::cerr << "okta80f-sim: " << message << "\n";
    return 1;
}

// Board directories made by earlier simulators offered the register's ends
// of its lines as links; a client that opened one took bytes from the
// register. The register now finds them through the board alone.
void removeOldLineLinks(const std::string& root) {
    for (const char* link : {"/dev/ttyGS0", "/dev/ttyS0"}) {
        std::error_code ec;
        if (fs::is_symlink(root + link, ec)) fs::remove(root + link, ec);
    }
}

}  // namespace

int main(int argc, char** argv) {
    sim::SimOptions options;
    std::string error;
    if (!sim::parseSimOptions(argc, argv, options, error)) {
        std::cerr << "okta80f-sim: " << error << "\n" << sim::simUsage();
        return 2;
    }
    if (options.help) {
        std::cout << sim::simUsage();
        return 0;
    }
    const std::string root = fs::absolute(options.root).lexically_normal().string();

    sim::BoardLock lock;
    try {
        const bool isNew = sim::isNewBoardDir(root);
        fs::create_directories(root);
        if (!lock.acquire(root, error)) return fail(error);
        sim::prepareBoardDir(root, isNew);
        removeOldLineLinks(root);
    } catch (const std::exception& e) {
        return fail("cannot prepare " + root + ": " + e.what());
    }
    const sim::BoardClock clock =
        sim::boardClock(sim::readTextFile(root + "/clock-offset"), std::time(nullptr));
    if (!clock.time) return fail(root + "/" + clock.problem);
    sim::BoardTimings timings;
    std::string timingProblem;
    if (!sim::readBoardTimings(root, options.boardTimings, timings, timingProblem))
        return fail(root + "/" + timingProblem);

    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGTERM);
    sigaddset(&signals, SIGINT);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    watchStopSignals(signals, root);

    try {
        sim::Pty registerEnd, hostEnd, printerEnd;
        platform::installBoard(std::make_unique<sim::SimBoard>(
            root, std::map<std::string, std::string>{{"/dev/ttyGS0", registerEnd.slavePath()},
                                                     {"/dev/ttyS0", printerEnd.slavePath()}},
            timings.cardWriteMs));
        // The printer answers before it writes its files; nothing it said
        // reaches the host, READY or the exit before they hold the paper.
        sim::TapeGate tapeGate;
        auto log = std::make_unique<sim::LineLog>(root + "/line.log");
        auto relay = std::make_unique<sim::LineRelay>(
            registerEnd.master(), hostEnd.master(),
            [&log](sim::Direction d, const std::uint8_t* p, std::size_t n) {
                log->record(d, p, n);
            },
            [&tapeGate] { tapeGate.waitOpen(); });
        sim::replaceSymlink(hostEnd.slavePath(), root + "/host-line");
        // A host killed outright must not keep the line from the next one.
        // Nothing tells of that but a look now and then: twice a second,
        // on a condition variable that also ends the wait at once on stop.
        struct Keeper {
            std::mutex lock;
            std::condition_variable wake;
            bool stop = false;  // guarded by lock
        } keeperState;
        std::thread keeper([&hostEnd, &keeperState] {
            std::unique_lock<std::mutex> hold(keeperState.lock);
            while (!keeperState.stop) {
                hostEnd.releaseAbandonedExclusiveMode();
                keeperState.wake.wait_for(hold, std::chrono::milliseconds(500));
            }
        });
        struct StopKeeper {
            Keeper& state;
            std::thread& thread;
            ~StopKeeper() {
                {
                    std::lock_guard<std::mutex> hold(state.lock);
                    state.stop = true;
                }
                state.wake.notify_all();
                thread.join();
            }
        } stopKeeper{keeperState, keeper};

        sim::VirtualPrinter virtualPrinter(root, printerEnd.master(), &tapeGate);
        sim::PrinterLine printer(printerEnd.master(),
                                 [&virtualPrinter](const unsigned char* p, std::size_t n) {
                                     virtualPrinter.receive(p, n);
                                 },
                                 timings.printerBaud);

        RunHooks hooks;
        hooks.stop = &stopRequested;
        const std::string hostLine = root + "/host-line";
        // Only the normal mode waits for the printer before READY.
        std::optional<sim::StartUpNotice> startUp;
        if (options.mode.empty()) startUp.emplace(root);
        hooks.onReady = [hostLine, &startUp, &tapeGate] {
            if (startUp) startUp->ready();
            tapeGate.waitOpen();
            std::printf("READY %s\n", hostLine.c_str());
            std::fflush(stdout);
        };
        std::vector<char*> registerArgs{argv[0]};
        for (std::string& mode : options.mode) registerArgs.push_back(mode.data());
        const int status =
            runRegister(static_cast<int>(registerArgs.size()), registerArgs.data(), hooks);
        removeHostLine(root);
        tapeGate.waitOpen();
        relay.reset();  // the log notes what the relay left unfinished
        log.reset();
        std::fflush(stdout);
        // The host link thread may still sit in a blocking read: leave at once.
        std::_Exit(status);
    } catch (const std::exception& e) {
        removeHostLine(root);
        return fail(e.what());
    }
}
