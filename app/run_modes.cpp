#include "app/run_modes.h"

#include <cstdlib>
#include <ctime>
#include <string>
#include <thread>

#include "core/core_worker.h"
#include "device/eeprom.h"
#include "link/host_link_server.h"
#include "platform/board.h"

namespace {

constexpr const char* kHostLine = "/dev/ttyGS0";

int runLinkOnly(const RunHooks& hooks) {
    HostLinkServer server(platform::board().path(kHostLine));
    server.setCoreRunning(false);
    server.run(hooks.stop, hooks.onReady);
    return 0;
}

int runNormal(const RunHooks& hooks) {
    platform::board().seedRandom(static_cast<unsigned>(platform::now()));
    CoreWorker core;
    core.startUp();
    std::thread link([onReady = hooks.onReady] {
        HostLinkServer server(platform::board().path(kHostLine));
        server.run(nullptr, onReady);
    });
    link.detach();
    core.runLoop(hooks.stop);
    return 0;
}

}  // namespace

int runRegister(int argc, char** argv, const RunHooks& hooks) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "-c") {
        eeprom::eraseEeprom();
        return 0;
    }
    if (mode == "-d") {
        eeprom::dumpEeprom();
        return 0;
    }
    if (mode == "-s") return runLinkOnly(hooks);
    return runNormal(hooks);
}
