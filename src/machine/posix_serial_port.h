// A serial port of the operating system (a /dev/tty device, a USB adapter, a pseudo
// terminal) through the POSIX terminal interface. It needs no event loop and belongs to no
// thread: the acquisition thread and the window's thread may both use it, and a write that
// finds the kernel's buffer full waits for room right there instead of for a notifier.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>

#include "serial_port.h"

namespace quorvex {

// The character frame of the settings as terminal control flags (CSIZE, PARENB, PARODD,
// CMSPAR, CSTOPB); mark and space parity are the sticky kinds.
std::uint32_t TerminalFrameFlags(const SerialSettings& settings);

class PosixSerialPort : public SerialPort {
  public:
    // How long a write waits for the line to take another byte before it gives up.
    static constexpr int kDefaultStallMs = 2000;

    explicit PosixSerialPort(std::string device, int stallMs = kDefaultStallMs);
    ~PosixSerialPort() override;
    PosixSerialPort(const PosixSerialPort&) = delete;
    PosixSerialPort& operator=(const PosixSerialPort&) = delete;

    // Raw mode with the settings, no flow control, the port kept for this program alone.
    // False (nothing left open) for a device that is missing, not a terminal, or a setting
    // the device does not take.
    bool Open(const SerialSettings& settings) override;
    void Close() override;
    bool IsOpen() const override { return fd_ >= 0; }
    void Purge(bool input, bool output) override;
    int BytesWaiting() override;
    // What has arrived, up to n bytes; never waits.
    int Read(std::uint8_t* buffer, int n) override;
    // The whole buffer, waiting for room while the kernel's buffer is full. A line that
    // takes nothing for the stall time has stopped: the write returns what went out, and
    // later writes do not wait for it again until it takes bytes once more.
    int Write(const std::uint8_t* buffer, int n) override;

    // The line took nothing for the stall time on the last write.
    bool Stalled() const { return stalled_.load(); }

  private:
    std::string device_;
    int stallMs_;
    int fd_ = -1;
    std::atomic<bool> stalled_{false};
};

}  // namespace quorvex
