#pragma once

// What the link asks of its host. The programs implement these with a serial
// port, window timers and message boxes; tests use the virtual clock and the
// virtual radio's engine (virtual_link.h).

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>

#include "core/host/prompt.h"

namespace zt {

struct PortSettings {
    int baud = 9600;            // always 8 data bits, no parity, 1 stop bit
    bool rtsHandshake = false;  // the information tool uses RTS handshaking
};

struct [[nodiscard]] PortOpenResult {
    bool ok = false;
    std::string reason;  // the system's reason when opening failed
};

// What a port does with the bytes it receives.
using ReceiveHandler = std::function<void(std::span<const std::uint8_t>)>;

// A serial port, both directions: bytes sent, and bytes received handed to the
// receiver. The owner of the link (the transfer machine or the information
// exchange) sets itself as the receiver when it opens the port, so no host
// passes received bytes on by hand.
class LinkPort {
  public:
    virtual ~LinkPort() = default;
    // Where received bytes go from now on (an empty handler drops them).
    virtual void setReceiver(ReceiveHandler receiver) = 0;
    // Opens the port with `settings`, closing it first when it is open.
    virtual PortOpenResult open(const PortSettings& settings) = 0;
    // Closes the port after the bytes already sent have left.
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    virtual void send(std::span<const std::uint8_t> bytes) = 0;
    // Deliver received bytes once at least `bytes` of them are waiting. The
    // link also collects bytes itself, so a port may deliver early.
    virtual void setReceiveThreshold(int bytes) = 0;
    // Discards everything pending in the output and input buffers.
    virtual void clear() = 0;
};

// A one-shot timer; start() while running restarts it.
class OneShotTimer {
  public:
    virtual ~OneShotTimer() = default;
    virtual void start(int milliseconds) = 0;
    virtual void stop() = 0;
    virtual bool isActive() const = 0;
};

class TimerFactory {
  public:
    virtual ~TimerFactory() = default;
    // `fired` runs on the host's event loop when the timer expires.
    virtual std::unique_ptr<OneShotTimer> createTimer(std::function<void()> fired) = 0;
};

// A question answered later: the answer arrives through `answered`, on the
// event loop, while serial events and timers keep running.
class AsyncPrompt {
  public:
    virtual ~AsyncPrompt() = default;
    virtual void ask(const Message& message, std::function<void(Answer)> answered) = 0;
};

// The program-password window and the password entered during this run.
class ProgramPassword {
  public:
    virtual ~ProgramPassword() = default;
    virtual std::string enteredPassword() const = 0;  // `EnteredPassword`
    virtual bool windowShown() const = 0;             // `PasswordWindowShown`
    // Shows the window modally; `closed` runs once it was closed by OK or Cancel
    // (or at once when it could not be shown).
    virtual void showWindow(std::function<void()> closed) = 0;
};

}  // namespace zt
