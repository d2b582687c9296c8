// The operating system's serial ports through termios, open(), write() and poll().
#include "posix_serial_port.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <optional>

namespace quorvex {
namespace {

std::optional<speed_t> SpeedOf(int baud) {
    struct Rate {
        int baud;
        speed_t speed;
    };
    static constexpr Rate kRates[] = {
        {50, B50},           {75, B75},           {110, B110},         {134, B134},
        {150, B150},         {200, B200},         {300, B300},         {600, B600},
        {1200, B1200},       {1800, B1800},       {2400, B2400},       {4800, B4800},
        {9600, B9600},       {19200, B19200},     {38400, B38400},     {57600, B57600},
        {115200, B115200},   {230400, B230400},   {460800, B460800},   {500000, B500000},
        {576000, B576000},   {921600, B921600},   {1000000, B1000000}, {1152000, B1152000},
        {1500000, B1500000}, {2000000, B2000000}, {2500000, B2500000}, {3000000, B3000000},
        {3500000, B3500000}, {4000000, B4000000},
    };
    for (const Rate& rate : kRates) {
        if (rate.baud == baud) return rate.speed;
    }
    return std::nullopt;
}

tcflag_t DataBitsOf(int bits) {
    switch (bits) {
        case 5:
            return CS5;
        case 6:
            return CS6;
        case 7:
            return CS7;
        default:
            return CS8;
    }
}

tcflag_t ParityOf(char parity) {
    switch (parity) {
        case 'E':
        case 'e':
            return PARENB;
        case 'O':
        case 'o':
            return PARENB | PARODD;
        case 'M':
        case 'm':
            return PARENB | CMSPAR | PARODD;
        case 'S':
        case 's':
            return PARENB | CMSPAR;
        default:
            return 0;
    }
}

constexpr tcflag_t kFrameBits = CSIZE | PARENB | PARODD | CMSPAR | CSTOPB;

using Monotonic = std::chrono::steady_clock;

}  // namespace

std::uint32_t TerminalFrameFlags(const SerialSettings& settings) {
    return DataBitsOf(settings.dataBits) | ParityOf(settings.parity) |
           (settings.stopBits == 2 ? CSTOPB : 0);
}

PosixSerialPort::PosixSerialPort(std::string device, int stallMs)
    : device_(std::move(device)), stallMs_(stallMs < 0 ? 0 : stallMs) {}

PosixSerialPort::~PosixSerialPort() {
    Close();
}

bool PosixSerialPort::Open(const SerialSettings& settings) {
    Close();
    const std::optional<speed_t> speed = SpeedOf(settings.baud);
    if (!speed) return false;
    const int fd = ::open(device_.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    termios tio{};
    if (tcgetattr(fd, &tio) != 0) {  // not a terminal
        ::close(fd);
        return false;
    }
    // No other program writes into the controller's commands.
    ioctl(fd, TIOCEXCL);

    cfmakeraw(&tio);
    tio.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
    tio.c_cflag &= ~(kFrameBits | CRTSCTS);
    tio.c_cflag |= CLOCAL | CREAD | static_cast<tcflag_t>(TerminalFrameFlags(settings));
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    cfsetispeed(&tio, *speed);
    cfsetospeed(&tio, *speed);
    // tcsetattr succeeds when any of the settings was taken: the port must show all of them
    // (a pseudo terminal, for one, keeps 8 data bits and no parity whatever it is told).
    termios applied{};
    if (tcsetattr(fd, TCSANOW, &tio) != 0 || tcgetattr(fd, &applied) != 0 ||
        (applied.c_cflag & kFrameBits) != (tio.c_cflag & kFrameBits) ||
        cfgetospeed(&applied) != *speed) {
        ioctl(fd, TIOCNXCL);
        ::close(fd);
        return false;
    }
    tcflush(fd, TCIOFLUSH);
    fd_ = fd;
    stalled_.store(false);
    return true;
}

void PosixSerialPort::Close() {
    if (fd_ < 0) return;
    ioctl(fd_, TIOCNXCL);
    ::close(fd_);
    fd_ = -1;
}

void PosixSerialPort::Purge(bool input, bool output) {
    if (fd_ < 0 || (!input && !output)) return;
    tcflush(fd_, input && output ? TCIOFLUSH : input ? TCIFLUSH : TCOFLUSH);
}

int PosixSerialPort::BytesWaiting() {
    int count = 0;
    if (fd_ < 0 || ioctl(fd_, FIONREAD, &count) != 0) return 0;
    return count;
}

int PosixSerialPort::Read(std::uint8_t* buffer, int n) {
    if (fd_ < 0 || n <= 0) return 0;
    for (;;) {
        const ssize_t got = ::read(fd_, buffer, static_cast<std::size_t>(n));
        if (got >= 0) return static_cast<int>(got);
        if (errno != EINTR) return 0;  // nothing there (EAGAIN) or a line gone
    }
}

int PosixSerialPort::Write(const std::uint8_t* buffer, int n) {
    if (fd_ < 0 || n <= 0) return 0;
    int done = 0;
    // A stalled line gets no further wait until it takes a byte again.
    auto deadline = Monotonic::now() + std::chrono::milliseconds(stalled_.load() ? 0 : stallMs_);
    while (done < n) {
        const ssize_t put = ::write(fd_, buffer + done, static_cast<std::size_t>(n - done));
        if (put > 0) {
            done += static_cast<int>(put);
            stalled_.store(false);
            deadline = Monotonic::now() + std::chrono::milliseconds(stallMs_);
            continue;
        }
        if (put < 0 && errno == EINTR) continue;
        if (put < 0 && errno != EAGAIN && errno != EWOULDBLOCK) break;  // the line is gone
        // The kernel's buffer is full: wait for room, at most until the deadline.
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Monotonic::now());
        if (left.count() <= 0) {
            stalled_.store(true);
            break;
        }
        pollfd watch{fd_, POLLOUT, 0};
        const int ready = poll(&watch, 1, static_cast<int>(left.count()));
        if (ready < 0 && errno != EINTR) break;
        if (ready > 0 && (watch.revents & POLLOUT) == 0) break;  // hung up or failed
    }
    return done;
}

}  // namespace quorvex
