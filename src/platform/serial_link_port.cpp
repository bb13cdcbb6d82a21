#include "platform/serial_link_port.h"

#include <QByteArray>
#include <QMetaObject>
#include <utility>

#include "platform/low_latency.h"
#include "platform/port_diagnosis.h"

namespace zt {

namespace {

// Errors after which the device is gone or unusable: a USB adapter pulled
// out, a cable whose driver reports I/O errors.
bool meansDeviceLost(QSerialPort::SerialPortError error)
{
    switch (error) {
        case QSerialPort::ResourceError:
        case QSerialPort::DeviceNotFoundError:
        case QSerialPort::ReadError:
        case QSerialPort::WriteError:
            return true;
        default:
            return false;
    }
}

}  // namespace

SerialLinkPort::SerialLinkPort()
{
    QObject::connect(&serial_, &QSerialPort::readyRead, [this] { deliverIfReady(); });
    QObject::connect(&serial_, &QSerialPort::errorOccurred,
                     [this](QSerialPort::SerialPortError e) { deviceError(e); });
}

SerialLinkPort::SerialLinkPort(QString deviceName) : SerialLinkPort()
{
    device_ = std::move(deviceName);
}

SerialLinkPort::~SerialLinkPort()
{
    onLost = nullptr;
    closeDevice();
}

PortOpenResult SerialLinkPort::open(const PortSettings& settings)
{
    if (serial_.isOpen() || lost_) closeDevice();
    lost_ = false;
    lowLatency_ = false;
    threshold_ = 1;
    serial_.setPortName(device_);
    serial_.setBaudRate(settings.baud);
    serial_.setDataBits(QSerialPort::Data8);
    serial_.setParity(QSerialPort::NoParity);
    serial_.setStopBits(QSerialPort::OneStop);
    serial_.setFlowControl(settings.rtsHandshake ? QSerialPort::HardwareControl
                                                 : QSerialPort::NoFlowControl);
    if (device_.isEmpty() || !serial_.open(QIODevice::ReadWrite)) {
        // The port refuses a device that is locked or busy with a permission
        // error; whether the user may use it at all is told apart by the
        // device's own permissions.
        const bool refused = serial_.error() == QSerialPort::PermissionError;
        const std::string system =
            device_.isEmpty() ? std::string() : serial_.errorString().toStdString();
        serial_.clearError();
        const PortFacts facts = diagnosePortOpenFailure(
            device_.toStdString(), refused, system,
            lister_ ? lister_ : [] { return existingSerialDevices(); });
        return {false, explainPortFailure(facts, text_)};
    }
    // Programming cables take their supply from DTR. A pseudo-terminal has no
    // modem lines: its refusal is not an error.
    serial_.setDataTerminalReady(true);
#ifndef _WIN32
    lowLatency_ = requestLowLatency(static_cast<int>(serial_.handle()));
#endif
    serial_.clearError();
    serial_.clear(QSerialPort::AllDirections);
    return {true, {}};
}

void SerialLinkPort::close()
{
    if (!serial_.isOpen()) return;
    // A lost device has nothing left to send.
    if (!lost_ && serial_.bytesToWrite() > 0) serial_.waitForBytesWritten(100);
    closeDevice();
}

void SerialLinkPort::closeDevice()
{
    lost_ = false;
    // Closing a device that is gone fails too (its settings cannot be put
    // back); that is no new loss.
    closing_ = true;
    if (serial_.isOpen()) serial_.close();
    serial_.clearError();
    closing_ = false;
}

bool SerialLinkPort::isOpen() const
{
    return serial_.isOpen() && !lost_;
}

void SerialLinkPort::send(std::span<const std::uint8_t> bytes)
{
    if (!isOpen() || bytes.empty()) return;
    ++writeCalls_;
    serial_.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
    // Hand the bytes to the driver now rather than on the next loop turn.
    if (!lost_) serial_.flush();
    sent_ += bytes.size();
}

void SerialLinkPort::setReceiveThreshold(int bytes)
{
    threshold_ = bytes < 1 ? 1 : bytes;
}

void SerialLinkPort::clear()
{
    if (isOpen()) serial_.clear(QSerialPort::AllDirections);
}

void SerialLinkPort::deliverIfReady()
{
    if (!isOpen() || serial_.bytesAvailable() < threshold_) return;
    const QByteArray data = serial_.readAll();
    received_ += static_cast<std::uint64_t>(data.size());
    const auto receiver = receiver_;
    if (!receiver || !*receiver || data.isEmpty()) return;
    (*receiver)(
        std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(data.constData()),
                                      static_cast<std::size_t>(data.size())));
}

void SerialLinkPort::deviceError(QSerialPort::SerialPortError error)
{
    if (error == QSerialPort::NoError || closing_ || !serial_.isOpen()) return;
    ++deviceErrors_;
    if (lost_ || !meansDeviceLost(error)) return;
    lost_ = true;
    lostReason_ = device_.toStdString() + ": " + serial_.errorString().toStdString();
    // QSerialPort is inside its own notification here; it is closed on the
    // next turn of the loop. Until then nothing more is written to it.
    QMetaObject::invokeMethod(
        &serial_, [this] { finishLoss(); }, Qt::QueuedConnection);
}

void SerialLinkPort::finishLoss()
{
    if (!lost_) return;  // closed or reopened meanwhile
    closeDevice();
    if (onLost) onLost(lostReason_);
}

}  // namespace zt
