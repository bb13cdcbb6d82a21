#pragma once

// A serial port that writes down every byte that crosses it: each command as
// sent on one line, and the bytes received until the next command on the
// next, each line with the milliseconds since the trace began and the
// direction ("->" sent, "<-" received). Opening, closing and buffer clearing
// are noted too. Everything else is passed on to the port it wraps.
//
//     152.318 -> 52 00 10 10
//     174.604 <- 57 00 10 10 FF FF ... 2F 06

#include <cstdint>
#include <functional>
#include <span>
#include <string>

#include "core/host/clock.h"
#include "core/host/link_interfaces.h"
#include "core/link/packets.h"

namespace zt {

class TracingPort final : public LinkPort {
  public:
    using Sink = std::function<void(const std::string& line)>;

    // `sink` gets each finished line without its line break.
    TracingPort(LinkPort& inner, const Clock& clock, Sink sink);
    ~TracingPort() override;

    // Received bytes are written down, then handed to `receiver`.
    void setReceiver(ReceiveHandler receiver) override;
    // Writes out the received bytes still collected for the current line.
    void flush();

    PortOpenResult open(const PortSettings& settings) override;
    void close() override;
    bool isOpen() const override { return inner_.isOpen(); }
    void send(std::span<const std::uint8_t> bytes) override;
    void setReceiveThreshold(int bytes) override { inner_.setReceiveThreshold(bytes); }
    void clear() override;

  private:
    void received(std::span<const std::uint8_t> bytes);
    std::string stamp(std::chrono::microseconds at) const;
    void note(const std::string& text);

    LinkPort& inner_;
    bool receiving_ = false;  // the inner port hands its bytes to this one
    const Clock& clock_;
    Sink sink_;
    std::chrono::microseconds start_;
    Bytes incoming_;  // received since the last command
    std::chrono::microseconds incomingAt_{0};
};

// The hexadecimal form of `bytes`, two digits each, separated by spaces.
std::string hexBytes(std::span<const std::uint8_t> bytes);

}  // namespace zt
