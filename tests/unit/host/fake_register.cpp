#include "tests/unit/host/fake_register.h"

#include <poll.h>
#include <unistd.h>

#include "common/crc.h"

namespace host_test {

Bytes responseFrame(std::uint8_t code, std::uint32_t id, const Bytes& data) {
    Bytes frame{0x04};
    le::put16(frame, static_cast<std::uint16_t>(5 + data.size()));
    frame.push_back(code);
    le::put32(frame, id);
    le::putBytes(frame, data);
    le::put16(frame, crc::crc16(frame.data() + 1, frame.size() - 1));
    return frame;
}

FakeRegister::FakeRegister(Script script) : script_(std::move(script)) {
    thread_ = std::thread([this] { run(); });
}

FakeRegister::~FakeRegister() {
    stop_ = true;
    thread_.join();
}

std::vector<Incoming> FakeRegister::received() {
    std::lock_guard<std::mutex> lock(mutex_);
    return received_;
}

void FakeRegister::run() {
    Bytes pending;
    while (!stop_) {
        pollfd fd{pty_.master(), POLLIN, 0};
        if (::poll(&fd, 1, 20) > 0 && (fd.revents & POLLIN)) {
            std::uint8_t buffer[256];
            const ssize_t n = ::read(pty_.master(), buffer, sizeof buffer);
            if (n > 0) pending.insert(pending.end(), buffer, buffer + n);
        }
        while (!pending.empty()) {
            Incoming in;
            if (pending[0] == 0x05) {
                in.enq = true;
                pending.erase(pending.begin());
            } else if (pending.size() >= 3 && pending.size() >= 5u + le::u16(&pending[1])) {
                const std::size_t length = le::u16(&pending[1]);
                in.command = pending[3];
                in.id = le::u32(&pending[4]);
                in.data.assign(pending.begin() + 8, pending.begin() + 3 + length);
                pending.erase(pending.begin(), pending.begin() + 5 + length);
            } else {
                break;
            }
            int index;
            {
                std::lock_guard<std::mutex> lock(mutex_);
                received_.push_back(in);
                index = static_cast<int>(received_.size()) - 1;
            }
            const Bytes answer = script_(in, index);
            if (!answer.empty()) pty_.send(answer);
        }
    }
}

FakeRegister::Script answerAll(const Bytes& data) {
    return [data](const Incoming& in, int) {
        return in.enq ? Bytes{} : responseFrame(0, in.id, data);
    };
}

}  // namespace host_test
