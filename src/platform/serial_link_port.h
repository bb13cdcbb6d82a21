#pragma once

// The link's serial port on QSerialPort: 8 data bits, no parity, 1 stop bit
// at the requested speed, no handshaking (or RTS/CTS for the information
// tool). The receive threshold is emulated: received bytes stay in the port
// until at least the threshold is waiting, then everything waiting is handed
// to the receiver in one call (the link takes the awaited number of bytes and
// drops the rest of that read).
//
// A failed open explains itself (missing device, permission, another program
// holding it). A port that fails while open (the cable or its USB adapter was
// pulled) is closed once and reported through onLost; nothing more is
// written to it, so a dead device never keeps the program busy retrying.

#include <QSerialPort>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "core/files/language.h"
#include "core/host/link_interfaces.h"

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

    // The texts an open failure is explained with (language section "Msg");
    // without them the explanation is in English.
    void setMessageTexts(TextLookup text) { text_ = std::move(text); }
    // The ports an open failure of a missing device lists; by default the
    // machine's serial devices.
    void setPortLister(std::function<std::vector<std::string>()> lister)
    {
        lister_ = std::move(lister);
    }

    // The open port failed for good and is now closed; `reason` names the
    // device and gives the system's words. Called once per failure, on the
    // event loop.
    std::function<void(const std::string& reason)> onLost;

    // Received bytes are delivered on the event loop.
    void setReceiver(ReceiveHandler receiver) override
    {
        receiver_ = std::make_shared<ReceiveHandler>(std::move(receiver));
    }
    PortOpenResult open(const PortSettings& settings) override;
    void close() override;
    bool isOpen() const override;
    void send(std::span<const std::uint8_t> bytes) override;
    void setReceiveThreshold(int bytes) override;
    void clear() override;

    std::uint64_t bytesSent() const { return sent_; }
    std::uint64_t bytesReceived() const { return received_; }
    // How often bytes were handed to the device, and how many errors the
    // device reported while open: both stop growing once it was lost.
    std::uint64_t writeCalls() const { return writeCalls_; }
    std::uint64_t deviceErrors() const { return deviceErrors_; }
    // True when the driver was put into low-latency mode by the last open.
    bool lowLatency() const { return lowLatency_; }

  private:
    void deliverIfReady();
    void deviceError(QSerialPort::SerialPortError error);
    void finishLoss();
    void closeDevice();

    QSerialPort serial_;
    QString device_;
    TextLookup text_;
    std::function<std::vector<std::string>()> lister_;
    // Shared so that a receiver replaced while it runs lives until it returns.
    std::shared_ptr<ReceiveHandler> receiver_;
    int threshold_ = 1;
    std::uint64_t sent_ = 0;
    std::uint64_t received_ = 0;
    std::uint64_t writeCalls_ = 0;
    std::uint64_t deviceErrors_ = 0;
    bool lost_ = false;  // failed while open; closed on the next turn of the loop
    bool closing_ = false;
    std::string lostReason_;
    bool lowLatency_ = false;
};

}  // namespace zt
