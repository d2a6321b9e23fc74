// The host line's frame reader fed as the line feeds it: the input arrives
// in pieces whose sizes the input chooses, with stray bytes, ENQ, frames cut
// short, lengths out of range and bad check sums in any order. Properties:
// every request read whole was a frame on the line, byte for byte; an ENQ
// is answered with the last response sent, and only with whole frames.

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <thread>

#include "fuzz/fuzz_support.h"
#include "link/frame.h"
#include "link/frame_link.h"
#include "serial/serialport.h"
#include "tests/support/pty_pair.h"
#include "tests/support/temp_board.h"

namespace {

struct Line {
    testing_support::ScopedTempBoard board;
    testing_support::PtyPair pty;
    std::unique_ptr<rs::SerialPort> port;
};

Line& line() {
    static Line* l = [] {
        auto* made = new Line;
        made->port = std::make_unique<rs::SerialPort>(made->pty.slavePath(), 17);
        made->port->setTimeout(0);
        made->port->open();
        ::fcntl(made->pty.master(), F_SETFL, ::fcntl(made->pty.master(), F_GETFL) | O_NONBLOCK);
        return made;
    }();
    return *l;
}

// Everything the reader has written back so far.
void drainInto(Bytes& out) {
    std::uint8_t buffer[4096];
    for (;;) {
        const ssize_t n = ::read(line().pty.master(), buffer, sizeof buffer);
        if (n <= 0) return;
        out.insert(out.end(), buffer, buffer + n);
    }
}

bool contains(const Bytes& haystack, const Bytes& needle) {
    return std::search(haystack.begin(), haystack.end(), needle.begin(), needle.end()) !=
           haystack.end();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::dropDiagnostics();
    line();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    Line& l = line();
    // Whatever an earlier input left on either side is gone.
    Bytes stale;
    drainInto(stale);
    std::string left;
    while (l.port->read(left, 256) > 0) {
    }

    // The first byte sets the piece size; the line is the rest.
    const std::size_t piece = 1 + data[0] % 64;
    const Bytes sent(data + 1, data + size);

    // The host writes its pieces with short gaps while the register reads.
    std::atomic<bool> hostDone{false};
    std::thread host([&] {
        for (std::size_t at = 0; at < sent.size(); at += piece) {
            const std::size_t n = std::min(piece, sent.size() - at);
            (void)!::write(l.pty.master(), sent.data() + at, n);
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
        hostDone = true;
    });

    FrameLink link(l.port.get());
    Bytes answered;
    std::vector<Bytes> responses;  // the frames sent back, in order
    for (int quiet = 0; quiet < 2;) {
        CoreTransaction t;
        const ResultCode r = link.readRequest(t);
        if (r == ResultCode::NoFrameStart) {
            // The line is empty: done once the host has written everything.
            quiet = hostDone ? quiet + 1 : 0;
            std::this_thread::sleep_for(std::chrono::microseconds(200));
            continue;
        }
        quiet = 0;
        if (r != ResultCode::Success) continue;

        // A request read whole is a frame that was on the line.
        Bytes payload{t.command};
        le::put32(payload, t.id);
        le::putBytes(payload, t.data);
        const bool hostId = contains(sent, frame::encode(payload));
        FUZZ_CHECK(hostId || t.id != 0);
        FUZZ_CHECK(t.data.size() + 5 <= frame::kMaxRequestPayload + 4);

        // Answered with the request's data, so that an ENQ has something to resend.
        CoreApiResult response(ResultCode::Success);
        response.id = t.id;
        response.data = Bytes(t.data.begin(), t.data.begin() + std::min<std::size_t>(t.data.size(), 8));
        link.sendResponse(response);
        responses.push_back(frame::encode(frame::responsePayload(response)));
    }
    host.join();
    drainInto(answered);

    // What went back is whole frames only: each is one of the responses
    // (sent, or resent for an ENQ) or the "nothing yet" answer of an ENQ.
    const Bytes nothingYet = frame::encode(frame::responsePayload(CoreApiResult(ResultCode::NotFound)));
    std::size_t at = 0;
    while (at < answered.size()) {
        bool matched = false;
        for (const Bytes& candidate : responses) {
            if (answered.size() - at >= candidate.size() &&
                std::equal(candidate.begin(), candidate.end(), answered.begin() + at)) {
                at += candidate.size();
                matched = true;
                break;
            }
        }
        if (!matched && answered.size() - at >= nothingYet.size() &&
            std::equal(nothingYet.begin(), nothingYet.end(), answered.begin() + at)) {
            at += nothingYet.size();
            matched = true;
        }
        FUZZ_CHECK(matched);
    }
    return 0;
}
