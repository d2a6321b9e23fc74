#include "serial/serialport.h"

#include <gtest/gtest.h>
#include <sys/ioctl.h>

#include <chrono>
#include <stdexcept>
#include <thread>

#include "tests/support/line_settings.h"
#include "tests/support/pty_pair.h"

namespace {

using testing_support::PtyPair;

bool settingsReadable(rs::SerialPort& port) { return testing_support::lineSettingsApply(port); }

struct termios2 settingsOf(rs::SerialPort& port) {
    struct termios2 t {};
    port.getTermios(t);
    return t;
}

TEST(SerialPort, DefaultsGiveRaw57600With8N1AndBlockingReads) {
    PtyPair pty;
    rs::SerialPort port(pty.slavePath(), 16);
    ASSERT_TRUE(port.open());
    EXPECT_TRUE(port.isOpen());
    if (!settingsReadable(port)) GTEST_SKIP() << "TCGETS2 is not available here";
    const struct termios2 t = settingsOf(port);
    EXPECT_EQ(t.c_ispeed, 57600u);
    EXPECT_EQ(t.c_ospeed, 57600u);
    EXPECT_EQ(t.c_cflag & CBAUD, static_cast<tcflag_t>(BOTHER));
    EXPECT_EQ(t.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_FALSE(t.c_cflag & PARENB);
    EXPECT_FALSE(t.c_cflag & CSTOPB);
    EXPECT_FALSE(t.c_cflag & CRTSCTS);
    EXPECT_TRUE(t.c_cflag & CLOCAL);
    EXPECT_TRUE(t.c_cflag & CREAD);
    EXPECT_EQ(t.c_oflag, 0u);
    EXPECT_FALSE(t.c_iflag & (IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON |
                              IXANY | IXOFF));
    EXPECT_FALSE(t.c_lflag & (ICANON | ECHO | ISIG | ECHOE | ECHONL));
    EXPECT_EQ(t.c_cc[VMIN], 1);
    EXPECT_EQ(t.c_cc[VTIME], 0);
}

TEST(SerialPort, LineSettingsParityStopBitsSizeAndCustomRate) {
    PtyPair pty;
    rs::SerialPort port(pty.slavePath(), 13, 2, 2, 1);
    ASSERT_TRUE(port.open());
    if (!settingsReadable(port)) GTEST_SKIP() << "TCGETS2 is not available here";
    // A pseudo-terminal forces CS8 and clears PARENB whatever is asked, so
    // only the other bits of the character format can be read back here.
    struct termios2 t = settingsOf(port);
    EXPECT_EQ(t.c_ospeed, 9600u);
    EXPECT_TRUE(t.c_cflag & PARODD);
    EXPECT_TRUE(t.c_cflag & CSTOPB);

    port.setParity(1);
    port.setStopBits(0);
    t = settingsOf(port);
    EXPECT_FALSE(t.c_cflag & PARODD);
    EXPECT_FALSE(t.c_cflag & CSTOPB);

    // An impossible parity leaves the device settings as they were.
    port.setParity(3);
    port.setStopBits(1);  // refused too while the parity stays impossible
    EXPECT_EQ(settingsOf(port).c_cflag, t.c_cflag);
    port.setParity(0);

    port.setCustomBaudRate(250000);
    EXPECT_EQ(port.baudMode(), 1);
    EXPECT_EQ(settingsOf(port).c_ospeed, 250000u);
    port.setEcho(true);
    EXPECT_TRUE(settingsOf(port).c_lflag & ECHO);
}

TEST(SerialPort, TimeoutIsTakenOnlyWhileClosedAndWithinRange) {
    PtyPair pty;
    rs::SerialPort port(pty.slavePath(), 16);
    port.setTimeout(25501);
    EXPECT_EQ(port.timeoutMs(), -1);
    port.setTimeout(-2);
    EXPECT_EQ(port.timeoutMs(), -1);
    port.setTimeout(25500);
    EXPECT_EQ(port.timeoutMs(), 25500);
    port.setTimeout(200);
    ASSERT_TRUE(port.open());
    port.setTimeout(1000);  // ignored: the port is open
    EXPECT_EQ(port.timeoutMs(), 200);
    if (!settingsReadable(port)) GTEST_SKIP() << "TCGETS2 is not available here";
    const struct termios2 t = settingsOf(port);
    EXPECT_EQ(t.c_cc[VMIN], 0);
    EXPECT_EQ(t.c_cc[VTIME], 2);
}

TEST(SerialPort, ShortTimeoutReadsReturnAtOnceAndLeaveTheBuffer) {
    PtyPair pty;
    rs::SerialPort port(pty.slavePath(), 16);
    port.setTimeout(50);  // below a tenth of a second: no waiting at all
    ASSERT_TRUE(port.open());
    if (!settingsReadable(port)) GTEST_SKIP() << "TCSETS2 is not available here";
    std::string buffer = "untouched";
    EXPECT_EQ(port.read(buffer, 16), 0);
    EXPECT_EQ(buffer, "untouched");

    pty.send({'a', 'b', 'c'});
    // The bytes cross the pseudo-terminal a moment later.
    for (int i = 0; i < 100 && port.bytesAvailable() < 3; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_EQ(port.bytesAvailable(), 3);
    EXPECT_EQ(port.read(buffer, 2), 2);
    EXPECT_EQ(buffer, "ab");
    EXPECT_EQ(port.write(std::string("xyz")), 3);
    EXPECT_EQ(pty.receive(), (Bytes{'x', 'y', 'z'}));
}

TEST(SerialPort, ClosedPortRefusesIo) {
    rs::SerialPort empty("", 16);
    EXPECT_FALSE(empty.open());
    rs::SerialPort missing("/nonexistent/tty", 16);
    EXPECT_FALSE(missing.open());
    EXPECT_FALSE(missing.isOpen());
    std::string buffer;
    EXPECT_EQ(missing.read(buffer, 1), -1);
    EXPECT_EQ(missing.write(std::string("x")), -1);
    EXPECT_EQ(missing.bytesAvailable(), -1);
    EXPECT_EQ(missing.close(), -1);
}

TEST(SerialPort, BaudIndexAboveTheTableThrowsItsText) {
    PtyPair pty;
    rs::SerialPort port(pty.slavePath(), 20);
    try {
        port.open();
        FAIL() << "no exception";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(),
                     "baudRate passed to bool rs::SerialPort::configureTermios() unrecognized.");
    }
    EXPECT_FALSE(port.isOpen());
}

}  // namespace
