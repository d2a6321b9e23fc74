#include "tests/e2e/sim_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <stdexcept>

#include "tests/support/file_text.h"
#include "tests/support/temp_board.h"

namespace e2e {

std::string freshRoot() { return testing_support::makeTempDir("okta-sim-") + "/board"; }

SimProcess::SimProcess(std::vector<std::string> extraArgs, const std::string& root)
    : root_(root.empty() ? freshRoot() : root) {
    int pipeFds[2];
    if (::pipe(pipeFds) != 0) throw std::runtime_error("pipe failed");
    pid_ = ::fork();
    if (pid_ == 0) {
        ::dup2(pipeFds[1], STDOUT_FILENO);
        ::close(pipeFds[0]);
        ::close(pipeFds[1]);
        std::vector<std::string> args{OKTA_SIM_PATH, "--root", root_};
        args.insert(args.end(), extraArgs.begin(), extraArgs.end());
        std::vector<char*> argv;
        for (auto& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    ::close(pipeFds[1]);
    outFd_ = pipeFds[0];
    ::fcntl(outFd_, F_SETFL, O_NONBLOCK);
}

SimProcess::~SimProcess() {
    client_.close();
    stop();
    if (outFd_ >= 0) ::close(outFd_);
}

std::string SimProcess::output() {
    char buffer[4096];
    for (;;) {
        ssize_t n = ::read(outFd_, buffer, sizeof buffer);
        if (n <= 0) break;
        output_.append(buffer, static_cast<std::size_t>(n));
    }
    return output_;
}

bool SimProcess::waitReady(int timeoutMs) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (std::chrono::steady_clock::now() < deadline) {
        if (output().find("READY ") != std::string::npos) return true;
        int status = 0;
        if (::waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            return false;
        }
        pollfd fd{outFd_, POLLIN, 0};
        ::poll(&fd, 1, 50);
    }
    return false;
}

int SimProcess::stop() {
    if (pid_ <= 0) return -1;
    ::kill(pid_, SIGTERM);
    int status = 0;
    ::waitpid(pid_, &status, 0);
    pid_ = -1;
    output();
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

hostkit::Client& SimProcess::client() {
    if (!client_.isOpen()) {
        std::string error;
        if (!client_.open(hostLine(), error)) throw std::runtime_error(error);
    }
    return client_;
}

namespace {
// Runs `program` with the arguments, each quoted for the shell, to its end;
// its standard error into `err` when given.
int runProgram(const char* program, const std::vector<std::string>& args, std::string& out,
               std::string* err = nullptr) {
    std::string command = program;
    for (const auto& a : args) {
        command += " '";
        for (char c : a) command += c == '\'' ? std::string("'\\''") : std::string(1, c);
        command += "'";
    }
    const std::string errPath = err ? testing_support::makeTempDir("okta-err-") + "/stderr" : "";
    if (err) command += " 2>'" + errPath + "'";
    out.clear();
    FILE* p = ::popen(command.c_str(), "r");
    if (!p) return -1;
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, p)) > 0) out.append(buffer, n);
    int status = ::pclose(p);
    if (err) *err = testing_support::readFile(errPath);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
}  // namespace

int runHost(const std::vector<std::string>& args, std::string& out, std::string* err) {
    return runProgram(OKTA_HOST_PATH, args, out, err);
}

int SimProcess::runHost(const std::vector<std::string>& args, std::string& out, std::string* err) {
    client_.close();
    std::vector<std::string> all{"--port", hostLine()};
    all.insert(all.end(), args.begin(), args.end());
    return e2e::runHost(all, out, err);
}

int runSim(const std::vector<std::string>& args, std::string& out) {
    return runProgram(OKTA_SIM_PATH, args, out);
}

int runSimWithErrors(const std::vector<std::string>& args, std::string& out) {
    std::string err;
    const int status = runProgram(OKTA_SIM_PATH, args, out, &err);
    out += err;
    return status;
}

}  // namespace e2e
