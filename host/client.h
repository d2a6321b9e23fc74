#pragma once
// The client of the register's host protocol: one request at a time on a
// line held exclusively. Every request carries a fresh non-zero transaction
// identifier and only the answer with that identifier is taken; answers
// left over from an earlier request (one that timed out, say) are dropped.
// A garbled answer, or silence at the time-out, is asked for again with ENQ,
// which makes the register send its last response again.

#include <cstdint>
#include <random>
#include <string>

#include "common/bytes.h"
#include "host/frame.h"
#include "host/line.h"
#include "host/result.h"
#include "host/trace.h"

namespace hostkit {

class Client {
  public:
    Client();
    ~Client() = default;
    Client(const Client&) = delete;
    Client& operator=(const Client&) = delete;

    // Opens the line exclusively; false with `error` saying why.
    bool open(const std::string& path, std::string& error);
    void close() { line_.close(); }
    bool isOpen() const { return line_.isOpen(); }
    // The register went away: the line hung up, ended or failed.
    bool lineLost() const { return !line_.lostReason().empty(); }

    // Every frame and byte sent and received, as it happens; empty for none.
    void setTrace(TraceHook hook) { trace_ = std::move(hook); }

    // Milliseconds to wait for every answer instead of each command's own
    // default (commandInfo); 0 brings the defaults back.
    void setTimeoutMs(int ms) { timeoutOverrideMs_ = ms; }
    int timeoutFor(std::uint8_t command) const;

    // One request and its answer, whatever its result code. `id` 0 takes a
    // fresh identifier; `timeoutMs` 0 takes timeoutFor(command). After a
    // time-out the register may still be busy with that request: the next
    // exchange waits for it too, and an answer to an earlier request (of
    // this program or another) starts the wait for this one afresh.
    Result<Response> exchange(std::uint8_t command, const Bytes& data, std::uint32_t id = 0,
                              int timeoutMs = 0);

    // One request whose answer counts only with result code 0: the answer's
    // data, or the register's refusal.
    Result<Bytes> call(std::uint8_t command, const Bytes& data = {});

    // The same exchange with a plain outcome: true with `out` filled when an
    // answer came (any code), false with `error` set.
    bool request(std::uint8_t command, const Bytes& data, Response& out, std::string& error,
                 std::uint32_t id = 0, int timeoutMs = 0);

    // ENQ on its own: the register's last response again, whatever it
    // answers.
    bool enq(Response& out, std::string& error, int timeoutMs);

    // Low level, for tests of the protocol itself: bytes as given, the next
    // frame whatever it answers, and dropping what the line holds unread.
    bool sendBytes(const Bytes& bytes);
    bool readResponse(Response& out, int timeoutMs, std::string& error);
    void drain();

  private:
    std::uint32_t freshId();
    void record(TraceEvent::Kind kind, const Bytes& bytes, std::string note);
    bool sendEnq();
    // The failure of the line: that the register went away, when the line
    // found it so, else `reason`.
    LineFailure lineFailure(std::string reason) const;

    Line line_;
    FrameReader reader_{line_};
    TraceHook trace_;
    int timeoutOverrideMs_ = 0;
    // Until when the register may still be working on a request that timed
    // out (steadyMs); 0 when it owes nothing.
    long long busyUntilMs_ = 0;
    std::mt19937 random_;
    std::uint32_t lastId_ = 0;
};

}  // namespace hostkit
