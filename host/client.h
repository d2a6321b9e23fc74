#pragma once
// Host-side client of the register's frame protocol: opens a serial line
// (or the simulator's host-line) in raw mode, sends request frames and reads
// response frames with a time-out.

#include <cstdint>
#include <string>

#include "common/bytes.h"

namespace hostkit {

struct Response {
    int code = -1;
    std::uint32_t id = 0;
    Bytes data;
};

class Client {
public:
    Client() = default;
    ~Client();
    Client(const Client&) = delete;
    Client& operator=(const Client&) = delete;

    // Opens the line in raw mode at 115200 baud; false with `error` set.
    bool open(const std::string& path, std::string& error);
    void close();
    bool isOpen() const { return fd_ >= 0; }

    // Sends bytes as they are.
    bool sendBytes(const Bytes& bytes);
    // Sends one request frame: command, identifier, data.
    bool sendRequest(std::uint8_t command, std::uint32_t id, const Bytes& data);
    // Reads one response frame; false with `error` set on time-out, a bad
    // check sum or a short frame.
    bool readResponse(Response& out, int timeoutMs, std::string& error);

    // A whole exchange: request, then its response.
    bool request(std::uint8_t command, const Bytes& data, Response& out, std::string& error,
                 std::uint32_t id = 0, int timeoutMs = kDefaultTimeoutMs);
    // ENQ: asks for the last response again.
    bool enq(Response& out, std::string& error, int timeoutMs = kDefaultTimeoutMs);

    // Drops whatever the line holds unread.
    void drain();

    static constexpr int kDefaultTimeoutMs = 10000;

private:
    // Reads exactly n bytes before the deadline (ms since epoch of steady clock).
    bool readExact(std::uint8_t* p, std::size_t n, long long deadlineMs);

    int fd_ = -1;
};

// The frame around a request payload (command, identifier, data).
Bytes requestFrame(std::uint8_t command, std::uint32_t id, const Bytes& data);

}  // namespace hostkit
