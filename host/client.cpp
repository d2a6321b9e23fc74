#include "host/client.h"

#include <algorithm>
#include <cstdio>

#include "common/result_code.h"
#include "host/commands.h"

namespace hostkit {

namespace {

// Writing a request never takes long: the line drains at 115200 baud.
constexpr int kWriteMs = 5'000;
// How long the rest of a garbled frame may keep arriving before the ENQ.
constexpr int kSettleMs = 100;
// A garbled answer is asked for again at most this often per request.
constexpr int kMaxEnqs = 3;
// After the time-out one ENQ asks for an answer that was lost on the way;
// the register, when idle, resends it at once.
constexpr int kLostAnswerGraceMs = 1'000;

// Codes the register answers with identifier 0 for the frame it just read:
// it could not serve it (8) or could not read it (9, 11, 12).
bool isFrameRefusal(int code) { return code == 8 || code == 9 || code == 11 || code == 12; }

std::string hexId(std::uint32_t id) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", id);
    return text;
}

std::string answerNote(const Response& r) {
    return "code " + std::to_string(r.code) + " (" + std::string(resultCodeText(r.code)) +
           "), id " + hexId(r.id) + ", " + std::to_string(r.data.size()) + " data bytes";
}

}  // namespace

Client::Client() : random_(std::random_device{}()) { lastId_ = random_(); }

bool Client::open(const std::string& path, std::string& error) {
    busyUntilMs_ = 0;
    return line_.open(path, error);
}

int Client::timeoutFor(std::uint8_t command) const {
    return timeoutOverrideMs_ > 0 ? timeoutOverrideMs_ : commandInfo(command).timeoutMs;
}

std::uint32_t Client::freshId() {
    // Consecutive from a random start: unique on this line for a long time,
    // and unlikely to meet another program's identifiers.
    if (++lastId_ == 0) ++lastId_;
    return lastId_;
}

void Client::record(TraceEvent::Kind kind, const Bytes& bytes, std::string note) {
    if (!trace_ || bytes.empty()) return;
    trace_(TraceEvent{kind, std::chrono::system_clock::now(), bytes, std::move(note)});
}

LineFailure Client::lineFailure(std::string reason) const {
    if (!line_.lostReason().empty())
        return LineFailure{
            "the register at " + line_.path() + " stopped answering: " + line_.lostReason(), true};
    return LineFailure{std::move(reason)};
}

bool Client::sendEnq() {
    const Bytes enq{kEnq};
    if (!line_.write(enq, steadyMs() + kWriteMs)) return false;
    record(TraceEvent::Kind::Enq, enq, "ENQ: the last response again");
    return true;
}

Result<Response> Client::exchange(std::uint8_t command, const Bytes& data, std::uint32_t id,
                                  int timeoutMs) {
    if (!line_.isOpen()) return LineFailure{"the line is not open"};
    if (data.size() > kMaxRequestData)
        return Rejected{"a request carries at most " + std::to_string(kMaxRequestData) +
                        " bytes of data, this one " + std::to_string(data.size())};
    if (id == 0) id = freshId();
    record(TraceEvent::Kind::Skipped, reader_.discardPending(),
           "dropped: unread before the request");

    const CommandInfo& info = commandInfo(command);
    const int ownMs = timeoutMs > 0 ? timeoutMs : timeoutFor(command);
    const long long start = steadyMs();
    long long deadline = std::max(start, busyUntilMs_) + ownMs;
    const Bytes frame = requestFrame(command, id, data);
    if (!line_.write(frame, start + kWriteMs))
        return lineFailure("cannot write the request: the line stays full");
    record(TraceEvent::Kind::Request, frame,
           "request: command " + std::to_string(command) + " (" + std::string(info.name) +
               "), id " + hexId(id) + ", " + std::to_string(data.size()) + " data bytes");

    int enqs = 0;
    bool askedAfterSilence = false;
    for (;;) {
        FrameReader::Read read = reader_.next(deadline);
        record(TraceEvent::Kind::Skipped, read.skipped, "skipped: bytes outside any frame");
        switch (read.status) {
            case FrameReader::Status::Frame: {
                Response r = decodeResponse(read.frame);
                if (r.id == id || (r.id == 0 && isFrameRefusal(r.code))) {
                    record(TraceEvent::Kind::Answer, read.frame, "answer: " + answerNote(r));
                    busyUntilMs_ = 0;
                    return r;
                }
                record(TraceEvent::Kind::Dropped, read.frame,
                       "dropped, answers another request: " + answerNote(r));
                // The register was still busy with an earlier request: it
                // turns to this one only now.
                deadline = std::max(deadline, steadyMs() + ownMs);
                break;
            }
            case FrameReader::Status::Garbled:
                record(TraceEvent::Kind::Garbled, read.frame, "garbled: " + read.problem);
                if (++enqs > kMaxEnqs)
                    return LineFailure{"the answers to command " + std::to_string(command) +
                                       " keep arriving garbled (" + read.problem + ")"};
                record(TraceEvent::Kind::Skipped, reader_.discardPending(kSettleMs, deadline),
                       "dropped: the rest of a garbled frame");
                if (!sendEnq()) return lineFailure("cannot write ENQ: the line stays full");
                break;
            case FrameReader::Status::LineFailed:
                return lineFailure("the line failed");
            case FrameReader::Status::TimedOut:
                if (!askedAfterSilence) {
                    askedAfterSilence = true;
                    if (!sendEnq()) return lineFailure("cannot write ENQ: the line stays full");
                    deadline = steadyMs() + kLostAnswerGraceMs;
                    break;
                }
                // The register may still be at it; its answer will be dropped.
                busyUntilMs_ = start + info.timeoutMs;
                return LineFailure{"no answer to command " + std::to_string(command) + " (" +
                                   std::string(info.name) + ") within " + std::to_string(ownMs) +
                                   " ms"};
        }
    }
}

Result<Bytes> Client::call(std::uint8_t command, const Bytes& data) {
    Result<Response> r = exchange(command, data);
    if (!r) return r.failure<Bytes>();
    if (r->code != 0) return Refusal{static_cast<std::uint8_t>(r->code), r->data, command};
    return r->data;
}

bool Client::request(std::uint8_t command, const Bytes& data, Response& out, std::string& error,
                     std::uint32_t id, int timeoutMs) {
    Result<Response> r = exchange(command, data, id, timeoutMs);
    if (!r) {
        error = r.describe();
        return false;
    }
    out = r.value();
    return true;
}

bool Client::enq(Response& out, std::string& error, int timeoutMs) {
    drain();
    if (!sendEnq()) {
        error = lineFailure("cannot write ENQ: the line stays full").reason;
        return false;
    }
    return readResponse(out, timeoutMs, error);
}

bool Client::sendBytes(const Bytes& bytes) {
    if (!line_.write(bytes, steadyMs() + kWriteMs)) return false;
    record(TraceEvent::Kind::Request, bytes, "bytes as given");
    return true;
}

bool Client::readResponse(Response& out, int timeoutMs, std::string& error) {
    FrameReader::Read read = reader_.next(steadyMs() + timeoutMs);
    record(TraceEvent::Kind::Skipped, read.skipped, "skipped: bytes outside any frame");
    switch (read.status) {
        case FrameReader::Status::Frame:
            out = decodeResponse(read.frame);
            record(TraceEvent::Kind::Answer, read.frame, "answer: " + answerNote(out));
            return true;
        case FrameReader::Status::Garbled:
            record(TraceEvent::Kind::Garbled, read.frame, "garbled: " + read.problem);
            error = "garbled response: " + read.problem;
            return false;
        case FrameReader::Status::LineFailed:
            error = lineFailure("the line failed").reason;
            return false;
        case FrameReader::Status::TimedOut:
            break;
    }
    error = "no response within " + std::to_string(timeoutMs) + " ms";
    return false;
}

void Client::drain() {
    record(TraceEvent::Kind::Skipped, reader_.discardPending(), "dropped: unread");
}

}  // namespace hostkit
