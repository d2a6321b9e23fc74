// okta-host: speaks the register's host protocol from the command line.
//
//   okta-host [--port PATH] [--json] [--trace] [--timeout MS] [--cashier N] [--password P]
//             COMMAND [ARGS]

#include <signal.h>

#include <string>
#include <vector>

#include "host/line.h"
#include "host/tool/cli.h"

namespace {

// A line left in exclusive mode would lock the next program out.
void onSignal(int signal) {
    hostkit::releaseLinesForExit();
    ::signal(signal, SIG_DFL);
    ::raise(signal);
}

}  // namespace

int main(int argc, char** argv) {
    for (int s : {SIGINT, SIGTERM, SIGHUP}) ::signal(s, onSignal);
    return hosttool::runOktaHost(std::vector<std::string>(argv + 1, argv + argc));
}
