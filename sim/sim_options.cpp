#include "sim/sim_options.h"

#include <string_view>

namespace sim {

namespace {
constexpr std::string_view kModes[] = {"-c", "-d", "-s"};

bool isMode(std::string_view arg) {
    for (std::string_view mode : kModes)
        if (arg == mode) return true;
    // The register takes any other word as the normal mode; an unknown
    // option is more likely a mistyped simulator option.
    return !arg.empty() && arg.front() != '-';
}
}  // namespace

bool parseSimOptions(int argc, const char* const* argv, SimOptions& out, std::string& error) {
    out = SimOptions{};
    bool rootGiven = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "-h" || arg == "--help") {
            out.help = true;
        } else if (arg == "--board-timings") {
            out.boardTimings = true;
        } else if (arg == "--root" || arg.starts_with("--root=")) {
            if (rootGiven) {
                error = "--root is given twice";
                return false;
            }
            rootGiven = true;
            if (arg == "--root") {
                if (i + 1 >= argc) {
                    error = "--root needs a directory";
                    return false;
                }
                out.root = argv[++i];
            } else {
                out.root = arg.substr(std::string_view("--root=").size());
            }
            if (out.root.empty()) {
                error = "--root needs a directory";
                return false;
            }
        } else if (isMode(arg)) {
            if (!out.mode.empty()) {
                error = "one mode only: " + out.mode.front() + " and " + std::string(arg);
                return false;
            }
            out.mode.emplace_back(arg);
        } else {
            error = "unknown option " + std::string(arg);
            return false;
        }
    }
    if (!rootGiven && !out.help) {
        error = "--root DIR is required";
        return false;
    }
    return true;
}

std::string simUsage() {
    return R"(usage: okta80f-sim --root DIR [-c | -d | -s | MODE]

Runs the register program on a simulated board kept in DIR (made when
missing; a restart on the same DIR continues from the stored state).

  --root DIR   the board's directory; one simulator per DIR
  --board-timings
               the printer line at the board's 57 600 baud and every write
               and sync on the card taking 3 ms, unless DIR/printer-baud or
               DIR/sd-write-ms say otherwise (either file works alone too)
  -c           erase the EEPROM image, print its dump and exit
  -d           print the EEPROM image's dump and exit
  -s           serve the host line only, without the register's core:
               requests that the core would serve are answered with code 8
  MODE         any other word: the normal run, as with no mode
  -h, --help   this text

In the normal and -s modes the simulator prints "READY DIR/host-line" once
the register serves the host line; open DIR/host-line like a serial port.
SIGTERM or Ctrl-C ends it with status 0. Exit status 1: the board could not
be started (DIR in use, unusable DIR/clock-offset); 2: a bad command line.

Under DIR: nv/ (record files), sys/bus/i2c/devices/0-0050/eeprom (EEPROM),
dev/mmcblk0p1 and mnt/sd/ (SD card), host-line, line.log (the exchange on
the host line), printer/ (state, paper, tape.txt, tape.html, raw.bin),
clock-offset, sd-free-bytes. docs/simulator.md describes them.
)";
}

}  // namespace sim
