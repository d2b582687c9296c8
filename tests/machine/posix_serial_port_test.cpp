// The operating system's serial port over a pseudo terminal: settings, reading without
// waiting, whole writes when the kernel's buffer is full, a line that takes nothing, and the
// controller's commands sent from two threads at once.
#include "machine/posix_serial_port.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <QString>
#include <QtGlobal>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "machine/controller_link.h"
#include "machine/port_table.h"

namespace quorvex {
namespace {

using namespace std::chrono_literals;
using Monotonic = std::chrono::steady_clock;

// The far end of the line: the master side of a pseudo terminal, read when the test says.
class PseudoTerminal {
  public:
    PseudoTerminal() {
        master_ = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (master_ >= 0 && grantpt(master_) == 0 && unlockpt(master_) == 0) {
            slave_ = ptsname(master_);
        }
    }
    ~PseudoTerminal() {
        if (master_ >= 0) close(master_);
    }
    bool Ready() const { return !slave_.empty(); }
    const std::string& Device() const { return slave_; }
    int Master() const { return master_; }

    // Everything that arrives until nothing more has come for quietMs.
    std::string ReadUntilQuiet(int quietMs) {
        std::string received;
        for (;;) {
            pollfd fd{master_, POLLIN, 0};
            if (poll(&fd, 1, quietMs) <= 0) return received;
            char buffer[4096];
            const ssize_t n = read(master_, buffer, sizeof buffer);
            if (n <= 0) return received;
            received.append(buffer, static_cast<std::size_t>(n));
        }
    }

  private:
    int master_ = -1;
    std::string slave_;
};

// Fails the test on any warning Qt prints while it lives (a port object used from a thread
// that does not own it warns).
class NoQtWarnings {
  public:
    NoQtWarnings() { previous_ = qInstallMessageHandler(&Record); }
    ~NoQtWarnings() {
        qInstallMessageHandler(previous_);
        std::lock_guard<std::mutex> lock(mutex_);
        for (const std::string& warning : warnings_) ADD_FAILURE() << "Qt: " << warning;
        warnings_.clear();
    }

  private:
    static void Record(QtMsgType type, const QMessageLogContext&, const QString& text) {
        if (type == QtDebugMsg || type == QtInfoMsg) return;
        std::lock_guard<std::mutex> lock(mutex_);
        warnings_.push_back(text.toStdString());
    }
    static inline std::mutex mutex_;
    static inline std::vector<std::string> warnings_;
    QtMessageHandler previous_ = nullptr;
};

// Waits, at most 5 s, until COM1 of the table has count bytes to read.
bool WaitForInput(PortTable& ports, int count) {
    const auto end = Monotonic::now() + 5s;
    while (ports.BytesWaiting(1) < count) {
        if (Monotonic::now() > end) return false;
        std::this_thread::sleep_for(2ms);
    }
    return true;
}

TEST(PosixSerialPort, WritesWholeReadsWithoutWaitingAndPurges) {
    PseudoTerminal pty;
    ASSERT_TRUE(pty.Ready());
    PortTable ports([&](int) { return std::make_unique<PosixSerialPort>(pty.Device()); });
    ASSERT_TRUE(ports.OpenPort(1, 9600, 'N', 1, 8));
    ports.SetControllerPort(1);
    ports.SendByte('Z');
    ports.SendByte(0x00);
    EXPECT_EQ(pty.ReadUntilQuiet(200), std::string("Z\0", 2));

    // A caliper's reading: nothing there is read as nothing, at once.
    std::uint8_t buffer[8];
    EXPECT_EQ(ports.BytesWaiting(1), 0);
    EXPECT_EQ(ports.ReadBytes(1, buffer, 8), 0);
    ASSERT_EQ(write(pty.Master(), "7.5\r", 4), 4);
    ASSERT_TRUE(WaitForInput(ports, 4));
    EXPECT_EQ(ports.ReadBytes(1, buffer, 8), 4);
    EXPECT_EQ(std::string(buffer, buffer + 4), "7.5\r");

    ASSERT_EQ(write(pty.Master(), "12", 2), 2);
    ASSERT_TRUE(WaitForInput(ports, 2));
    ports.PurgeReceive(1);
    EXPECT_EQ(ports.BytesWaiting(1), 0);

    // More than the kernel holds: the write waits for room while the far end reads.
    std::string block(256 * 1024, '\0');
    for (std::size_t i = 0; i < block.size(); ++i) block[i] = static_cast<char>(i * 7 + i / 251);
    std::string received;
    std::thread reader([&] { received = pty.ReadUntilQuiet(1000); });
    EXPECT_EQ(ports.WriteBytes(1, reinterpret_cast<const std::uint8_t*>(block.data()),
                               static_cast<int>(block.size())),
              static_cast<int>(block.size()));
    reader.join();
    EXPECT_TRUE(received == block) << received.size() << " of " << block.size() << " bytes";
    ports.ClosePort(1);
    EXPECT_FALSE(ports.IsOpen(1));
}

TEST(PosixSerialPort, FrameOfTheSettings) {
    const struct {
        SerialSettings settings;
        tcflag_t frame;
    } cases[] = {
        {{9600, 'N', 8, 1}, CS8},
        {{4800, 'E', 7, 2}, CS7 | PARENB | CSTOPB},
        {{9600, 'o', 8, 1}, CS8 | PARENB | PARODD},
        {{9600, 'M', 5, 1}, CS5 | PARENB | PARODD | CMSPAR},  // mark: the sticky odd bit
        {{9600, 'S', 6, 1}, CS6 | PARENB | CMSPAR},
        {{9600, 'X', 9, 3}, CS8},  // what no port has: 8N1, as the settings text's defaults
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TerminalFrameFlags(c.settings), c.frame) << DeviceSettingsText(1, c.settings);
    }
}

TEST(PosixSerialPort, SettingsReachTheLineAndWhatCannotBeSetIsRefused) {
    PseudoTerminal pty;
    ASSERT_TRUE(pty.Ready());
    const struct {
        SerialSettings settings;
        speed_t speed;
    } cases[] = {
        {{9600, 'N', 8, 1}, B9600},
        {{4800, 'N', 8, 2}, B4800},
        {{115200, 'N', 8, 1}, B115200},
    };
    constexpr tcflag_t kFrame = CSIZE | PARENB | PARODD | CMSPAR | CSTOPB;
    for (const auto& c : cases) {
        SCOPED_TRACE(DeviceSettingsText(1, c.settings));
        PosixSerialPort port(pty.Device());
        ASSERT_TRUE(port.Open(c.settings));
        EXPECT_TRUE(port.IsOpen());
        port.Close();
        // The terminal keeps what the port set; the port is closed, so it may be looked at.
        const int fd = open(pty.Device().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        ASSERT_GE(fd, 0);
        termios tio{};
        ASSERT_EQ(tcgetattr(fd, &tio), 0);
        close(fd);
        EXPECT_EQ(cfgetospeed(&tio), c.speed);
        EXPECT_EQ(tio.c_cflag & kFrame, TerminalFrameFlags(c.settings));
        EXPECT_EQ(tio.c_cflag & CRTSCTS, 0u);
        EXPECT_EQ(tio.c_iflag & (IXON | IXOFF), 0u);
        EXPECT_EQ(tio.c_lflag & (ICANON | ECHO | ISIG), 0u);  // raw: bytes pass untouched
        EXPECT_EQ(tio.c_oflag & OPOST, 0u);
    }

    const std::filesystem::path file =
        std::filesystem::temp_directory_path() / ("quorvex_not_a_tty_" + std::to_string(getpid()));
    std::FILE* f = std::fopen(file.c_str(), "w");
    ASSERT_NE(f, nullptr);
    std::fclose(f);
    const struct {
        const char* what;
        std::string device;
        int baud;
        char parity;
    } refused[] = {
        {"a rate the line has no setting for", pty.Device(), 12345, 'N'},
        {"a parity the line drops (a pseudo terminal has none)", pty.Device(), 9600, 'E'},
        {"no such device", "/nonexistent/ttyQuorvex", 9600, 'N'},
        {"a plain file", file.string(), 9600, 'N'},
    };
    for (const auto& r : refused) {
        SCOPED_TRACE(r.what);
        PosixSerialPort port(r.device);
        EXPECT_FALSE(port.Open(SerialSettings{r.baud, r.parity, 8, 1}));
        EXPECT_FALSE(port.IsOpen());
        const std::uint8_t byte = 0x40;
        EXPECT_EQ(port.Write(&byte, 1), 0);
    }
    std::filesystem::remove(file);
}

// The acquisition thread sends ramps while the far end has stopped reading, so the
// kernel's buffer fills and a ramp waits halfway for room; the window's thread sends the
// stop meanwhile. Once the far end reads again, every ramp and the whole stop arrive, the
// stop after the ramps, nothing of it lost or mixed into a ramp.
TEST(PosixSerialPort, AStopSentWhileTheBufferIsFullArrivesWholeOnceTheLineReadsAgain) {
    NoQtWarnings noWarnings;
    PseudoTerminal pty;
    ASSERT_TRUE(pty.Ready());

    ControllerConfig config;
    config.MachineType = kHydraulicBleedOff;
    config.NominalForce = 100;
    config.NominalTravel = 1000;
    ManualClock clock;
    Acquisition acquisition(nullptr, clock);
    RelayBank relays(nullptr);
    EncoderCard encoder(nullptr);

    // The bytes of one ramp and of the stop, as the link sends them.
    struct CapturePort : SerialPort {
        std::string& bytes;
        explicit CapturePort(std::string& sink) : bytes(sink) {}
        bool Open(const SerialSettings&) override { return true; }
        void Close() override {}
        bool IsOpen() const override { return true; }
        void Purge(bool, bool) override {}
        int BytesWaiting() override { return 0; }
        int Read(std::uint8_t*, int) override { return 0; }
        int Write(const std::uint8_t* buffer, int n) override {
            bytes.append(reinterpret_cast<const char*>(buffer), static_cast<std::size_t>(n));
            return n;
        }
    };
    std::string captured;
    PortTable capture([&](int) { return std::make_unique<CapturePort>(captured); });
    capture.OpenPort(2, 9600, 'N', 1, 8);
    capture.SetControllerPort(2);
    ControllerLink expected(capture, relays, encoder, acquisition, clock);
    expected.SetConfig(config);
    const std::int32_t rate = expected.TravelRate(10);
    expected.Ramp(RampChannel::Travel, 1000000, rate, rate, 1000000);
    const std::string ramp = std::exchange(captured, {});
    expected.StopMachine();
    const std::string stop = captured;
    ASSERT_GT(ramp.size(), 10u);
    ASSERT_GT(stop.size(), 5u);

    // The far end pauses for well under the time after which the port gives a line up.
    PortTable ports([&](int) { return std::make_unique<PosixSerialPort>(pty.Device(), 30000); });
    ASSERT_TRUE(ports.OpenPort(2, 9600, 'N', 1, 8));
    ports.SetControllerPort(2);
    ControllerLink link(ports, relays, encoder, acquisition, clock);
    link.SetConfig(config);

    std::atomic<bool> rampsEnd{false};
    std::atomic<long> ramps{0};
    std::thread acquisitionThread([&] {
        while (!rampsEnd.load()) {
            link.Ramp(RampChannel::Travel, 1000000, rate, rate, 1000000);
            ramps.fetch_add(1);
        }
    });
    // The buffer is full once no ramp has gone out for a while.
    long seen = -1;
    while (ramps.load() != seen || seen == 0) {
        seen = ramps.load();
        std::this_thread::sleep_for(150ms);
    }
    rampsEnd.store(true);
    std::atomic<bool> stopped{false};
    std::thread windowThread([&] {
        link.StopMachine();
        stopped.store(true);
    });
    std::this_thread::sleep_for(100ms);
    EXPECT_FALSE(stopped.load());  // the stop waits for the line, as the ramp does

    const std::string received = pty.ReadUntilQuiet(500);
    acquisitionThread.join();
    windowThread.join();
    EXPECT_TRUE(stopped.load());
    const long sent = ramps.load();  // with the one under way when the ramps were ended
    std::string whole;
    for (long i = 0; i < sent; ++i) whole += ramp;
    whole += stop;
    ASSERT_EQ(received.size(), whole.size()) << sent << " ramps";
    EXPECT_TRUE(received == whole)
        << "first difference at byte "
        << std::mismatch(received.begin(), received.end(), whole.begin()).first - received.begin();
}

// A far end that never reads costs one wait of the stall time; later writes give up at once
// until the line takes bytes again.
TEST(PosixSerialPort, ALineThatTakesNothingStallsOnceThenWritesGiveUpAtOnce) {
    PseudoTerminal pty;
    ASSERT_TRUE(pty.Ready());
    PosixSerialPort port(pty.Device(), 300);
    ASSERT_TRUE(port.Open(SerialSettings{}));
    const std::string block(1 << 20, 'x');
    const auto begin = Monotonic::now();
    const int filled = port.Write(reinterpret_cast<const std::uint8_t*>(block.data()),
                                  static_cast<int>(block.size()));
    const auto firstWait = Monotonic::now() - begin;
    EXPECT_GT(filled, 0);
    EXPECT_LT(filled, static_cast<int>(block.size()));
    EXPECT_GE(firstWait, 250ms);
    EXPECT_TRUE(port.Stalled());

    const std::uint8_t stopRequest = 0x40;
    const auto again = Monotonic::now();
    EXPECT_EQ(port.Write(&stopRequest, 1), 0);
    EXPECT_LT(Monotonic::now() - again, 200ms);

    // The far end reads again: the line takes bytes, and waits are allowed once more.
    EXPECT_EQ(pty.ReadUntilQuiet(200).size(), static_cast<std::size_t>(filled));
    EXPECT_EQ(port.Write(&stopRequest, 1), 1);
    EXPECT_FALSE(port.Stalled());
    EXPECT_EQ(pty.ReadUntilQuiet(200), "\x40");
}

}  // namespace
}  // namespace quorvex
