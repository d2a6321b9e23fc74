#include "serial/serialport.h"

#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <stdexcept>
#include <utility>

namespace rs {

namespace {
constexpr int kBaudTable[SerialPort::kBaudTableSize] = {
    0,    50,   75,   110,  134,   150,   200,   300,    600,    1200,
    1800, 2400, 4800, 9600, 19200, 38400, 57600, 115200, 230400, 460800};

// Synchronous writes, as the register opens its lines.
constexpr int kOpenFlags = O_RDWR | O_NOCTTY | O_DSYNC;
}  // namespace

int SerialPort::baudRateForIndex(int index) {
    return index >= 0 && index < kBaudTableSize ? kBaudTable[index] : -1;
}

SerialPort::SerialPort(std::string device, int baudIndex)
    : device_(std::move(device)), baudIndex_(baudIndex) {}

SerialPort::SerialPort(std::string device, std::uint32_t customBaud)
    : device_(std::move(device)), baudMode_(1), customBaud_(customBaud) {}

SerialPort::SerialPort(std::string device, int baudIndex, int characterSize, int parity,
                       int stopBits)
    : device_(std::move(device)),
      baudIndex_(baudIndex),
      characterSize_(characterSize),
      parity_(parity),
      stopBits_(stopBits) {}

SerialPort::~SerialPort() {
    try {
        close();
    } catch (...) {
    }
}

bool SerialPort::open() {
    if (device_.empty()) return false;
    fd_ = ::open(device_.c_str(), kOpenFlags);
    if (fd_ < 0) {
        fd_ = -1;
        return false;
    }
    if (!configureTermios()) {
        // Do not keep a descriptor for a port that stays closed.
        ::close(fd_);
        fd_ = -1;
        return false;
    }
    state_ = 1;
    return true;
}

int SerialPort::close() {
    int rc = fd_;
    if (fd_ != -1) {
        rc = ::close(fd_);
        fd_ = -1;
    }
    state_ = 0;
    return rc;
}

int SerialPort::read(std::string& out, int count) {
    if (fd_ < 0 || count < 0) return -1;
    std::string buffer(static_cast<std::size_t>(count), '\0');
    ssize_t n = ::read(fd_, buffer.data(), buffer.size());
    if (n < 0) return -1;
    if (n > 0) out.assign(buffer.data(), static_cast<std::size_t>(n));
    return static_cast<int>(n);
}

int SerialPort::write(const std::string& bytes) {
    if (state_ != 1 || fd_ < 0) return -1;
    return static_cast<int>(::write(fd_, bytes.data(), bytes.size()));
}

int SerialPort::write(const std::vector<std::uint8_t>& bytes) {
    if (state_ != 1 || fd_ < 0) return -1;
    return static_cast<int>(::write(fd_, bytes.data(), bytes.size()));
}

int SerialPort::bytesAvailable() const {
    if (!isOpen()) return -1;
    int n = 0;
    if (::ioctl(fd_, FIONREAD, &n) != 0) return -1;
    return n;
}

int SerialPort::getTermios(struct termios2& t) const { return ::ioctl(fd_, TCGETS2, &t); }

int SerialPort::setTermios(const struct termios2& t) { return ::ioctl(fd_, TCSETS2, &t); }

bool SerialPort::configureTermios() {
    struct termios2 t {};
    getTermios(t);

    static constexpr tcflag_t kSizes[] = {CS5, CS6, CS7, CS8};
    if (characterSize_ < 0 || characterSize_ > 3) return false;
    t.c_cflag = (t.c_cflag & ~CSIZE) | kSizes[characterSize_];

    switch (parity_) {
        case 0: t.c_cflag &= ~PARENB; break;
        case 1: t.c_cflag = (t.c_cflag | PARENB) & ~PARODD; break;
        case 2: t.c_cflag |= PARENB | PARODD; break;
        default: return false;
    }
    switch (stopBits_) {
        case 0: t.c_cflag &= ~CSTOPB; break;
        case 1: t.c_cflag |= CSTOPB; break;
        default: return false;
    }

    t.c_cflag &= ~CRTSCTS;
    t.c_cflag |= CLOCAL | CREAD;
    t.c_cflag &= ~CBAUD;
    t.c_cflag |= BOTHER;

    std::uint32_t rate;
    if (baudMode_ == 0) {
        if (baudIndex_ < 0 || baudIndex_ >= kBaudTableSize)
            throw std::runtime_error(std::string("baudRate passed to ") +
                                     "bool rs::SerialPort::configureTermios()" + " unrecognized.");
        rate = static_cast<std::uint32_t>(kBaudTable[baudIndex_]);
    } else {
        rate = customBaud_;
    }
    t.c_ispeed = rate;
    t.c_ospeed = rate;

    t.c_oflag = 0;

    if (timeoutMs_ == -1) {
        t.c_cc[VTIME] = 0;
        t.c_cc[VMIN] = 1;
    } else if (timeoutMs_ == 0) {
        t.c_cc[VTIME] = 0;
        t.c_cc[VMIN] = 0;
    } else {
        t.c_cc[VMIN] = 0;
        t.c_cc[VTIME] = static_cast<cc_t>(timeoutMs_ / 100);
    }

    t.c_iflag &= ~(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON | IXANY | IXOFF);

    t.c_lflag &= ~ICANON;
    if (echo_)
        t.c_lflag |= ECHO;
    else
        t.c_lflag &= ~ECHO;
    t.c_lflag &= ~(ISIG | ECHOE | ECHONL);

    setTermios(t);
    return true;
}

void SerialPort::reconfigureIfOpen() {
    if (isOpen()) configureTermios();
}

void SerialPort::setBaudRate(int index) {
    baudMode_ = 0;
    baudIndex_ = index;
    reconfigureIfOpen();
}

void SerialPort::setCustomBaudRate(std::uint32_t rate) {
    baudMode_ = 1;
    customBaud_ = rate;
    reconfigureIfOpen();
}

void SerialPort::setCharacterSize(int size) {
    characterSize_ = size;
    reconfigureIfOpen();
}

void SerialPort::setParity(int parity) {
    parity_ = parity;
    reconfigureIfOpen();
}

void SerialPort::setStopBits(int stopBits) {
    stopBits_ = stopBits;
    reconfigureIfOpen();
}

void SerialPort::setEcho(bool on) {
    echo_ = on ? 1 : 0;
    // On a closed port the requests fail harmlessly; the value applies at open.
    configureTermios();
}

void SerialPort::setTimeout(int ms) {
    if (ms >= -1 && ms <= 25500 && !isOpen()) timeoutMs_ = ms;
}

void SerialPort::setDevice(const std::string& device) {
    device_ = device;
    reconfigureIfOpen();
}

}  // namespace rs
