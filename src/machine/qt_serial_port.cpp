// The operating system's serial ports over Qt Serial Port.
#include "qt_serial_port.h"

#include <QSerialPort>

namespace quorvex {
namespace {

QSerialPort::Parity ParityOf(char parity) {
    switch (parity) {
        case 'E':
        case 'e':
            return QSerialPort::EvenParity;
        case 'O':
        case 'o':
            return QSerialPort::OddParity;
        case 'M':
        case 'm':
            return QSerialPort::MarkParity;
        case 'S':
        case 's':
            return QSerialPort::SpaceParity;
        default:
            return QSerialPort::NoParity;
    }
}

QSerialPort::DataBits DataBitsOf(int bits) {
    switch (bits) {
        case 5:
            return QSerialPort::Data5;
        case 6:
            return QSerialPort::Data6;
        case 7:
            return QSerialPort::Data7;
        default:
            return QSerialPort::Data8;
    }
}

}  // namespace

QtSerialPort::QtSerialPort(std::string device) : device_(std::move(device)) {}

QtSerialPort::~QtSerialPort() = default;

bool QtSerialPort::Open(const SerialSettings& settings) {
    port_ = std::make_unique<QSerialPort>();
    port_->setPortName(QString::fromStdString(device_));
    if (!port_->open(QIODevice::ReadWrite)) {
        port_.reset();
        return false;
    }
    port_->setBaudRate(settings.baud);
    port_->setParity(ParityOf(settings.parity));
    port_->setDataBits(DataBitsOf(settings.dataBits));
    port_->setStopBits(settings.stopBits == 2 ? QSerialPort::TwoStop : QSerialPort::OneStop);
    port_->setFlowControl(QSerialPort::NoFlowControl);
    port_->setReadBufferSize(8192);
    port_->clear(QSerialPort::AllDirections);
    return true;
}

void QtSerialPort::Close() {
    if (port_) port_->close();
    port_.reset();
}

bool QtSerialPort::IsOpen() const {
    return port_ && port_->isOpen();
}

void QtSerialPort::Purge(bool input, bool output) {
    if (!port_) return;
    if (input) port_->clear(QSerialPort::Input);
    if (output) port_->clear(QSerialPort::Output);
}

int QtSerialPort::BytesWaiting() {
    if (!port_) return 0;
    port_->waitForReadyRead(0);  // takes in what the system holds, without waiting
    return static_cast<int>(port_->bytesAvailable());
}

int QtSerialPort::Read(std::uint8_t* buffer, int n) {
    if (!port_) return 0;
    if (port_->bytesAvailable() < n) port_->waitForReadyRead(0);
    const qint64 got = port_->read(reinterpret_cast<char*>(buffer), n);
    return got < 0 ? 0 : static_cast<int>(got);
}

int QtSerialPort::Write(const std::uint8_t* buffer, int n) {
    if (!port_) return 0;
    const qint64 written = port_->write(reinterpret_cast<const char*>(buffer), n);
    port_->flush();
    return written < 0 ? 0 : static_cast<int>(written);
}

}  // namespace quorvex
