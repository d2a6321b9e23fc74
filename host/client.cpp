#include "host/client.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>

#include "common/crc.h"

namespace hostkit {

namespace {
long long nowMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}
}  // namespace

Bytes requestFrame(std::uint8_t command, std::uint32_t id, const Bytes& data) {
    Bytes payload;
    payload.push_back(command);
    le::put32(payload, id);
    le::putBytes(payload, data);
    Bytes frame{0x04};
    le::put16(frame, static_cast<std::uint16_t>(payload.size()));
    le::putBytes(frame, payload);
    le::put16(frame, crc::crc16(frame.data() + 1, frame.size() - 1));
    return frame;
}

Client::~Client() { close(); }

bool Client::open(const std::string& path, std::string& error) {
    close();
    fd_ = ::open(path.c_str(), O_RDWR | O_NOCTTY);
    if (fd_ < 0) {
        error = "cannot open " + path + ": " + std::strerror(errno);
        return false;
    }
    termios t{};
    if (::tcgetattr(fd_, &t) == 0) {
        ::cfmakeraw(&t);
        ::cfsetispeed(&t, B115200);
        ::cfsetospeed(&t, B115200);
        t.c_cc[VMIN] = 0;
        t.c_cc[VTIME] = 0;
        ::tcsetattr(fd_, TCSANOW, &t);
    }
    return true;
}

void Client::close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

bool Client::sendBytes(const Bytes& bytes) {
    const std::uint8_t* p = bytes.data();
    std::size_t n = bytes.size();
    while (n > 0) {
        ssize_t w = ::write(fd_, p, n);
        if (w < 0) {
            if (errno == EINTR || errno == EAGAIN) continue;
            return false;
        }
        p += w;
        n -= static_cast<std::size_t>(w);
    }
    return true;
}

bool Client::sendRequest(std::uint8_t command, std::uint32_t id, const Bytes& data) {
    return sendBytes(requestFrame(command, id, data));
}

bool Client::readExact(std::uint8_t* p, std::size_t n, long long deadlineMs) {
    while (n > 0) {
        long long left = deadlineMs - nowMs();
        if (left <= 0) return false;
        pollfd fd{fd_, POLLIN, 0};
        int r = ::poll(&fd, 1, static_cast<int>(left));
        if (r < 0 && errno == EINTR) continue;
        if (r <= 0) return false;
        ssize_t got = ::read(fd_, p, n);
        if (got < 0 && (errno == EINTR || errno == EAGAIN)) continue;
        if (got <= 0) return false;
        p += got;
        n -= static_cast<std::size_t>(got);
    }
    return true;
}

bool Client::readResponse(Response& out, int timeoutMs, std::string& error) {
    const long long deadline = nowMs() + timeoutMs;
    std::uint8_t byte = 0;
    do {
        if (!readExact(&byte, 1, deadline)) {
            error = "no response within " + std::to_string(timeoutMs) + " ms";
            return false;
        }
    } while (byte != 0x04);
    std::uint8_t header[2];
    if (!readExact(header, 2, deadline)) {
        error = "response cut short in its length";
        return false;
    }
    const std::size_t length = le::u16(header);
    Bytes rest(length + 2);
    if (!readExact(rest.data(), rest.size(), deadline)) {
        error = "response cut short: " + std::to_string(length) + " bytes announced";
        return false;
    }
    std::uint16_t sum = crc::crc16Update(crc::kCrc16Init, header, 2);
    sum = crc::crc16Update(sum, rest.data(), length);
    if (sum != le::u16(rest.data() + length)) {
        error = "response check sum mismatch";
        return false;
    }
    if (length == 0) {
        error = "empty response payload";
        return false;
    }
    out = Response{};
    out.code = rest[0];
    if (length >= 5) {
        out.id = le::u32(rest.data() + 1);
        out.data.assign(rest.begin() + 5, rest.begin() + static_cast<std::ptrdiff_t>(length));
    }
    return true;
}

bool Client::request(std::uint8_t command, const Bytes& data, Response& out, std::string& error,
                     std::uint32_t id, int timeoutMs) {
    drain();
    if (!sendRequest(command, id, data)) {
        error = std::string("cannot write the request: ") + std::strerror(errno);
        return false;
    }
    return readResponse(out, timeoutMs, error);
}

bool Client::enq(Response& out, std::string& error, int timeoutMs) {
    drain();
    if (!sendBytes(Bytes{0x05})) {
        error = std::string("cannot write ENQ: ") + std::strerror(errno);
        return false;
    }
    return readResponse(out, timeoutMs, error);
}

void Client::drain() {
    std::uint8_t buffer[256];
    while (::read(fd_, buffer, sizeof buffer) > 0) {
    }
}

}  // namespace hostkit
