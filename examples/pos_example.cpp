// A POS program's first contact with the register: open the line, read the
// software version, the clock and the device state, and show what a
// refusal and a failure of the line look like to a program.
//
//   pos-example PORT [--trace]
//
// PORT is the register's serial line, or the simulator's DIR/host-line.

#include <cstdio>
#include <ctime>
#include <iostream>
#include <string>

#include <okta/host/client.h>
#include <okta/host/register.h>

namespace {

std::string localTime(std::uint32_t seconds) {
    const std::time_t t = seconds;
    std::tm local{};
    localtime_r(&t, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
    return text;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << "usage: pos-example PORT [--trace]\n";
        return 2;
    }
    hostkit::Client client;
    if (argc > 2 && std::string(argv[2]) == "--trace")
        client.setTrace(
            [](const hostkit::TraceEvent& e) { std::cerr << hostkit::formatTrace(e) << "\n"; });
    std::string error;
    if (!client.open(argv[1], error)) {  // held by this program alone until it ends
        std::cerr << error << "\n";
        return 3;
    }
    // The service cashier 20 with the factory password authorises requests
    // until the shop has cashiers of its own.
    hostkit::Register reg(client, hostkit::CashierLogin{20, 271828});

    auto version = reg.version();
    if (!version) {
        std::cerr << "no register on " << argv[1] << ": " << version.describe() << "\n";
        return 4;
    }
    std::cout << "register software " << version->text() << "\n";

    auto clock = reg.readClock();
    if (!clock) {
        std::cerr << clock.describe() << "\n";
        return 4;
    }
    std::cout << "clock " << localTime(clock.value()) << " (" << clock.value() << ")\n";

    // A new register refuses its state until its factory number is set:
    // the refusal carries the result code and its meaning.
    auto status = reg.deviceStatus();
    if (const hostkit::Refusal* refused = status.refusal()) {
        std::cout << "state: refused with code " << int(refused->code) << ", " << refused->meaning()
                  << "\n";
    } else if (status) {
        std::cout << "factory number " << status->factoryNumber << ", shift " << status->shiftNumber
                  << ", last document " << status->lastDocumentNumber << "\n";
        for (const std::string& flag : hostkit::deviceFlagNames(status->flags))
            std::cout << "  " << flag << "\n";
    } else {
        std::cerr << status.describe() << "\n";
        return 4;
    }
    return 0;
}
