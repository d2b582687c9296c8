// One serial port of the machine PC: the controller link (write-only), the caliper and the
// micrometer. Drivers: the operating system's ports through the terminal interface, the simulated
// machine's controller port, and test recorders.
#pragma once

#include <cstdint>
#include <string>

namespace quorvex {

struct SerialSettings {
    int baud = 9600;
    char parity = 'N';  // 'N', 'E', 'O', 'M', 'S'
    int dataBits = 8;
    int stopBits = 1;
};

// The device settings text of a port, "COM1:9600,N,8,1".
std::string DeviceSettingsText(int com, const SerialSettings& settings);

class SerialPort {
public:
    virtual ~SerialPort() = default;
    // Opens the port with the settings; any pending input and output is discarded.
    virtual bool Open(const SerialSettings& settings) = 0;
    virtual void Close() = 0;
    virtual bool IsOpen() const = 0;
    // Discards pending input and/or aborts pending output.
    virtual void Purge(bool input, bool output) = 0;
    virtual int BytesWaiting() = 0;
    // What has arrived, without waiting; the count read.
    virtual int Read(std::uint8_t* buffer, int n) = 0;
    // The whole buffer, waiting for room while the line takes bytes; a write on a line that
    // has stopped taking them returns the count that went out.
    virtual int Write(const std::uint8_t* buffer, int n) = 0;
};

}  // namespace quorvex
