#pragma once

// The link's serial port on QSerialPort: 8 data bits, no parity, 1 stop bit
// at the requested speed, no handshaking (or RTS/CTS for the information
// tool). The receive threshold is emulated: received bytes stay in the port
// until at least the threshold is waiting, then everything waiting is handed
// to onReceived in one call (the link takes the awaited number of bytes and
// drops the rest of that read).

#include <QSerialPort>
#include <QString>
#include <cstdint>
#include <functional>
#include <span>

#include "core/link/link_interfaces.h"

namespace zt {

class SerialLinkPort final : public LinkPort {
  public:
    SerialLinkPort();
    explicit SerialLinkPort(QString deviceName);
    ~SerialLinkPort() override;
    SerialLinkPort(const SerialLinkPort&) = delete;
    SerialLinkPort& operator=(const SerialLinkPort&) = delete;

    // The device the next open() uses (a path such as /dev/ttyUSB0).
    void setDeviceName(const QString& deviceName) { device_ = deviceName; }
    const QString& deviceName() const { return device_; }

    // Received bytes, delivered on the event loop.
    std::function<void(std::span<const std::uint8_t>)> onReceived;

    PortOpenResult open(const PortSettings& settings) override;
    void close() override;
    bool isOpen() const override;
    void send(std::span<const std::uint8_t> bytes) override;
    void setReceiveThreshold(int bytes) override;
    void clear() override;

    int receiveThreshold() const { return threshold_; }
    std::uint64_t bytesSent() const { return sent_; }
    std::uint64_t bytesReceived() const { return received_; }

  private:
    void deliverIfReady();

    QSerialPort serial_;
    QString device_;
    int threshold_ = 1;
    std::uint64_t sent_ = 0;
    std::uint64_t received_ = 0;
};

}  // namespace zt
