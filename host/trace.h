#pragma once
// A record of the exchange on the line: every frame and byte the client
// sends and receives, with its time and what the client made of it.

#include <chrono>
#include <functional>
#include <string>

#include "common/bytes.h"

namespace hostkit {

struct TraceEvent {
    enum class Kind {
        Request,  // a request frame sent
        Enq,      // an ENQ sent: the last response, again please
        Answer,   // the answer to the request in flight
        Dropped,  // a whole frame that answers another request
        Garbled,  // bytes of a frame that could not be read
        Skipped,  // bytes outside any frame
    };
    Kind kind;
    std::chrono::system_clock::time_point at;
    Bytes bytes;
    std::string note;  // decoded: command or result code, identifier, why dropped

    bool sent() const { return kind == Kind::Request || kind == Kind::Enq; }
};

using TraceHook = std::function<void(const TraceEvent&)>;

// One line for people: local time with milliseconds, the direction, the
// bytes in hexadecimal and the note, as
// "09:30:00.125 -> 04 06 00 33 2A 00 00 00 F1 0E  request: command 51 ..."
std::string formatTrace(const TraceEvent& event);

}  // namespace hostkit
