// The port table and the device settings text.
#include "port_table.h"

namespace quorvex {

std::string DeviceSettingsText(int com, const SerialSettings& settings) {
    return "COM" + std::to_string(com) + ":" + std::to_string(settings.baud) + "," +
           std::string(1, settings.parity) + "," + std::to_string(settings.dataBits) + "," +
           std::to_string(settings.stopBits);
}

SerialPort* PortTable::Entry(int com) const {
    if (com < 1 || com > kPorts) return nullptr;
    SerialPort* port = ports_[static_cast<std::size_t>(com)].get();
    return port && port->IsOpen() ? port : nullptr;
}

bool PortTable::OpenPort(int com, int baud, char parity, int stopBits, int dataBits) {
    if (com < 1 || com > kPorts) return false;
    if (Entry(com)) return true;
    auto& slot = ports_[static_cast<std::size_t>(com)];
    slot = factory_ ? factory_(com) : nullptr;
    if (!slot) return false;
    if (!slot->Open(SerialSettings{baud, parity, dataBits, stopBits})) {
        slot.reset();
        return false;
    }
    slot->Purge(true, true);
    return true;
}

void PortTable::ClosePort(int com) {
    if (SerialPort* port = Entry(com)) {
        port->Purge(true, true);
        port->Close();
    }
    if (com >= 1 && com <= kPorts) ports_[static_cast<std::size_t>(com)].reset();
}

bool PortTable::IsOpen(int com) const {
    return Entry(com) != nullptr;
}

void PortTable::PurgeReceive(int com) {
    if (SerialPort* port = Entry(com)) port->Purge(true, false);
}

void PortTable::PurgeTransmit(int com) {
    if (SerialPort* port = Entry(com)) port->Purge(true, true);
}

int PortTable::BytesWaiting(int com) {
    SerialPort* port = Entry(com);
    return port ? port->BytesWaiting() : 0;
}

int PortTable::ReadBytes(int com, std::uint8_t* buffer, int n) {
    SerialPort* port = Entry(com);
    return port && n > 0 ? port->Read(buffer, n) : 0;
}

int PortTable::WriteBytes(int com, const std::uint8_t* buffer, int n) {
    const ControllerCommand whole(*this);
    SerialPort* port = Entry(com);
    return port && n > 0 ? port->Write(buffer, n) : 0;
}

void PortTable::SendByte(std::uint8_t value) {
    WriteBytes(controllerPort_, &value, 1);
}

}  // namespace quorvex
