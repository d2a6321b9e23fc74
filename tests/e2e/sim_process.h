#pragma once
// Runs okta80f-sim on a fresh directory for one test: starts it, waits for
// its READY line, and stops it (SIGTERM) when the test ends.

#include <sys/types.h>

#include <string>
#include <vector>

#include "host/client.h"

namespace e2e {

class SimProcess {
  public:
    // Starts the simulator with the extra arguments on `root`, or on a new
    // directory when `root` is empty.
    explicit SimProcess(std::vector<std::string> extraArgs = {}, const std::string& root = "");
    ~SimProcess();

    // Waits up to `timeoutMs` for READY; false when the simulator ended or
    // never said it.
    bool waitReady(int timeoutMs = 20000);
    // SIGTERM and wait; the exit status, or -1.
    int stop();

    const std::string& root() const { return root_; }
    // The simulator's process id, or -1 once it has ended.
    pid_t pid() const { return pid_; }
    std::string hostLine() const { return root_ + "/host-line"; }
    // Everything the simulator printed on standard output so far.
    std::string output();

    // A client already connected to the host line.
    hostkit::Client& client();

    // Runs okta-host on this simulator's host line (--port and the
    // arguments). The line is held by one program at a time, so the test's
    // own client lets go of it first (client() takes it again).
    int runHost(const std::vector<std::string>& args, std::string& out, std::string* err = nullptr);

  private:
    std::string root_;
    pid_t pid_ = -1;
    int outFd_ = -1;
    std::string output_;
    hostkit::Client client_;
};

// Runs okta-host with the arguments; its standard output into `out` (and
// its standard error into `err` when given); returns the exit status.
int runHost(const std::vector<std::string>& args, std::string& out, std::string* err = nullptr);

// Runs okta80f-sim to its end with the arguments (a service mode, say); its
// standard output into `out`; returns the exit status.
int runSim(const std::vector<std::string>& args, std::string& out);

// The same with its standard error joined to the output in `out`.
int runSimWithErrors(const std::vector<std::string>& args, std::string& out);

// A fresh empty directory for a simulated board.
std::string freshRoot();

}  // namespace e2e
