#pragma once
// rs::SerialPort: the register's one wrapper around a Linux serial device.
// It keeps the line settings as plain fields and turns them into a raw-mode
// termios2 configuration with a numeric baud rate (BOTHER). No buffering, no
// framing: each read and each write is one system call. Used by one thread.

#include <cstdint>
#include <string>
#include <vector>

#include <asm/termbits.h>

namespace rs {

class SerialPort {
public:
    // Rate for each baud index 0 ... 19.
    static constexpr int kBaudTableSize = 20;
    static int baudRateForIndex(int index);

    SerialPort(std::string device, int baudIndex);
    SerialPort(std::string device, std::uint32_t customBaud);
    SerialPort(std::string device, int baudIndex, int characterSize, int parity, int stopBits);
    virtual ~SerialPort();

    SerialPort(const SerialPort&) = delete;
    SerialPort& operator=(const SerialPort&) = delete;

    // Opens the device (read-write, no controlling tty, synchronous writes)
    // and configures it; false when the path is empty, the open fails or the
    // settings are invalid.
    bool open();
    // Closes the descriptor if any; state becomes closed in every case.
    int close();
    bool isOpen() const { return state_ == 1 && fd_ > 0; }

    // One read of at most `count` bytes. -1 without a descriptor or on error;
    // otherwise the count read. `out` is replaced only when bytes arrived.
    int read(std::string& out, int count);
    // One write of the whole string; -1 when not open.
    int write(const std::string& bytes);
    int write(const std::vector<std::uint8_t>& bytes);
    // Bytes waiting to be read (FIONREAD); -1 when not open.
    int bytesAvailable() const;

    int getTermios(struct termios2& t) const;
    int setTermios(const struct termios2& t);

    // Builds and writes the termios2 record from the fields. False for an
    // invalid character size, parity or stop-bit setting (device untouched);
    // throws std::runtime_error for a baud index above 19.
    bool configureTermios();

    void setBaudRate(int index);
    void setCustomBaudRate(std::uint32_t rate);
    void setCharacterSize(int size);
    void setParity(int parity);
    void setStopBits(int stopBits);
    void setEcho(bool on);
    // Accepted only while closed and for -1 ... 25500 ms.
    void setTimeout(int ms);
    void setDevice(const std::string& device);

    int baudMode() const { return baudMode_; }
    // Only 0 (table) and 1 (custom) are stored.
    void setBaudMode(int mode) {
        if (mode == 0 || mode == 1) baudMode_ = mode;
    }

    const std::string& device() const { return device_; }
    int fd() const { return fd_; }
    int timeoutMs() const { return timeoutMs_; }

private:
    void reconfigureIfOpen();

    int state_ = 0;
    std::string device_;
    int baudMode_ = 0;
    int baudIndex_ = 16;
    std::uint32_t customBaud_ = 0;
    int characterSize_ = 3;
    int parity_ = 0;
    int stopBits_ = 0;
    int fd_ = -1;
    std::uint8_t echo_ = 0;
    int timeoutMs_ = -1;
};

}  // namespace rs
