#include "platform/serial_link_port.h"

#include <QByteArray>
#include <utility>

namespace zt {

SerialLinkPort::SerialLinkPort()
{
    QObject::connect(&serial_, &QSerialPort::readyRead, [this] { deliverIfReady(); });
}

SerialLinkPort::SerialLinkPort(QString deviceName) : SerialLinkPort()
{
    device_ = std::move(deviceName);
}

SerialLinkPort::~SerialLinkPort()
{
    if (serial_.isOpen()) serial_.close();
}

PortOpenResult SerialLinkPort::open(const PortSettings& settings)
{
    if (serial_.isOpen()) close();
    threshold_ = 1;
    serial_.setPortName(device_);
    serial_.setBaudRate(settings.baud);
    serial_.setDataBits(QSerialPort::Data8);
    serial_.setParity(QSerialPort::NoParity);
    serial_.setStopBits(QSerialPort::OneStop);
    serial_.setFlowControl(settings.rtsHandshake ? QSerialPort::HardwareControl
                                                 : QSerialPort::NoFlowControl);
    if (device_.isEmpty()) return {false, "no serial device is configured for this port"};
    if (!serial_.open(QIODevice::ReadWrite)) {
        PortOpenResult failed{false, serial_.errorString().toStdString()};
        serial_.clearError();
        return failed;
    }
    // Programming cables take their supply from DTR. A pseudo-terminal has no
    // modem lines: its refusal is not an error.
    serial_.setDataTerminalReady(true);
    serial_.clearError();
    serial_.clear(QSerialPort::AllDirections);
    return {true, {}};
}

void SerialLinkPort::close()
{
    if (!serial_.isOpen()) return;
    if (serial_.bytesToWrite() > 0) serial_.waitForBytesWritten(100);
    serial_.close();
    serial_.clearError();
}

bool SerialLinkPort::isOpen() const
{
    return serial_.isOpen();
}

void SerialLinkPort::send(std::span<const std::uint8_t> bytes)
{
    if (!serial_.isOpen() || bytes.empty()) return;
    serial_.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
    // Hand the bytes to the driver now rather than on the next loop turn.
    serial_.flush();
    sent_ += bytes.size();
}

void SerialLinkPort::setReceiveThreshold(int bytes)
{
    threshold_ = bytes < 1 ? 1 : bytes;
}

void SerialLinkPort::clear()
{
    if (serial_.isOpen()) serial_.clear(QSerialPort::AllDirections);
}

void SerialLinkPort::deliverIfReady()
{
    if (!serial_.isOpen() || serial_.bytesAvailable() < threshold_) return;
    const QByteArray data = serial_.readAll();
    received_ += static_cast<std::uint64_t>(data.size());
    if (!onReceived || data.isEmpty()) return;
    onReceived(
        std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(data.constData()),
                                      static_cast<std::size_t>(data.size())));
}

}  // namespace zt
