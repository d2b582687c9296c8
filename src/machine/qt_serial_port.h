// A serial port of the operating system (a COM port, a /dev/tty device, a USB adapter)
// through Qt Serial Port, used without an event loop: every write is pushed out at once, so
// the pauses between controller commands reach the line as they are meant to.
#pragma once

#include <memory>
#include <string>

#include "serial_port.h"

class QSerialPort;

namespace quorvex {

class QtSerialPort : public SerialPort {
public:
    explicit QtSerialPort(std::string device);
    ~QtSerialPort() override;

    bool Open(const SerialSettings& settings) override;
    void Close() override;
    bool IsOpen() const override;
    void Purge(bool input, bool output) override;
    int BytesWaiting() override;
    int Read(std::uint8_t* buffer, int n) override;
    int Write(const std::uint8_t* buffer, int n) override;

private:
    std::string device_;
    std::unique_ptr<QSerialPort> port_;
};

}  // namespace quorvex
