// The table of serial ports by COM number 1..16. Ports are referred to by number everywhere;
// the caliper, the micrometer and the controller may share one number and then one port.
// The controller's commands go to the entry of the controller's number: when no port is open
// there they are lost, as on a line without a controller. The window's thread and the
// acquisition thread may both send to the controller: every write holds the controller's
// line, and a ControllerCommand holds it for all bytes of one command, so that commands reach
// the line whole and in the order they were begun. The caliper and micrometer ports are read
// on the window's thread alone.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>

#include "serial_port.h"

namespace quorvex {

class PortTable {
public:
    static constexpr int kPorts = 16;
    // Makes the driver of a COM number when it is opened; may return null (no such port).
    using PortFactory = std::function<std::unique_ptr<SerialPort>(int com)>;

    explicit PortTable(PortFactory factory) : factory_(std::move(factory)) {}

    // Opens COM `com`; a port already open there is kept as it is (it is shared).
    bool OpenPort(int com, int baud, char parity, int stopBits, int dataBits);
    void ClosePort(int com);
    bool IsOpen(int com) const;

    void PurgeReceive(int com);
    // Aborts the transmission; the receive queue is cleared with it.
    void PurgeTransmit(int com);
    int BytesWaiting(int com);
    int ReadBytes(int com, std::uint8_t* buffer, int n);
    int WriteBytes(int com, const std::uint8_t* buffer, int n);

    void SetControllerPort(int com) { controllerPort_ = com; }
    int ControllerPort() const { return controllerPort_; }
    // One byte to the controller's port.
    void SendByte(std::uint8_t value);

    // Holds the controller's line while it lives: the bytes sent under it stay together, and
    // another thread's bytes wait until it ends. Scopes of one thread nest.
    class ControllerCommand {
    public:
        explicit ControllerCommand(PortTable& ports) : lock_(ports.controllerLine_) {}

    private:
        std::lock_guard<std::recursive_mutex> lock_;
    };

private:
    SerialPort* Entry(int com) const;

    PortFactory factory_;
    std::array<std::unique_ptr<SerialPort>, kPorts + 1> ports_;  // entry 0 unused
    int controllerPort_ = 0;
    std::recursive_mutex controllerLine_;
};

}  // namespace quorvex
