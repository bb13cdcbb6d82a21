#pragma once

// An in-process stand-in for the serial line: a virtual clock that runs
// timers and deliveries in time order without sleeping, and a port wired to
// the virtual radio's engine. Used by tests and benchmarks.

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <utility>

#include "core/host/clock.h"
#include "core/host/link_interfaces.h"
#include "core/link/virtual_radio.h"

namespace zt {

class VirtualClock final : public Clock, public TimerFactory {
  public:
    using Duration = std::chrono::microseconds;

    Duration now() const override { return now_; }
    std::unique_ptr<OneShotTimer> createTimer(std::function<void()> fired) override;

    // Runs `action` `delay` from now, after everything already due then.
    // Returns a handle for cancel().
    std::uint64_t post(Duration delay, std::function<void()> action);
    void cancel(std::uint64_t handle);

    // Runs the earliest pending event, moving the time to it. False when none.
    bool runNext();
    // Runs every event due within `span` from now, then sets the time to now + span.
    void advance(Duration span);
    // Runs events while `keepGoing()` is true; returns false when events ran out first.
    bool runWhile(const std::function<bool()>& keepGoing, std::size_t limit = 10'000'000);
    bool idle() const { return events_.empty(); }

  private:
    struct Key {
        Duration at;
        std::uint64_t seq;
        bool operator<(const Key& o) const { return at != o.at ? at < o.at : seq < o.seq; }
    };
    Duration now_{0};
    std::uint64_t seq_ = 0;
    std::map<Key, std::function<void()>> events_;
    std::map<std::uint64_t, Key> handles_;
};

// A port whose far end is a VirtualRadio. Bytes cross the line after one
// byte-time each (10 bits per byte at the given baud rate, 0 = no delay); the
// radio's answers come back the same way. Received bytes are handed to the
// receiver once at least the receive threshold is waiting.
class EnginePort final : public LinkPort {
  public:
    EnginePort(VirtualClock& clock, VirtualRadio& radio, int baud = 0);

    void setReceiver(ReceiveHandler receiver) override
    {
        receiver_ = std::make_shared<ReceiveHandler>(std::move(receiver));
    }
    PortOpenResult open(const PortSettings& settings) override;
    void close() override;
    bool isOpen() const override { return open_; }
    void send(std::span<const std::uint8_t> bytes) override;
    void setReceiveThreshold(int bytes) override { threshold_ = bytes < 1 ? 1 : bytes; }
    void clear() override { input_.clear(); }

    // Test controls and observations.
    void failNextOpen(std::string reason) { openFailure_ = std::move(reason); }
    void setConnected(bool connected) { connected_ = connected; }  // cable unplugged = false
    void setBaud(int baud);
    // Answers arrive byte by byte, each after its own byte-time, as on a real
    // line (by default an answer arrives whole once all its bytes are through).
    void setBytewise(bool bytewise) { bytewise_ = bytewise; }
    int opens() const { return opens_; }
    int threshold() const { return threshold_; }
    std::uint64_t bytesSent() const { return bytesSent_; }
    std::uint64_t bytesReceived() const { return bytesReceived_; }
    // Every command as sent, for tests that check what went out.
    std::function<void(const Bytes&)> onSent;

  private:
    void arriveAtRadio(std::uint8_t byte, std::uint64_t session);
    void arriveAtHost(const Bytes& bytes, std::uint64_t session);
    void answerToHost(Bytes answer, std::uint64_t session);
    void collectLateAnswers();

    VirtualClock& clock_;
    VirtualRadio& radio_;
    VirtualClock::Duration byteTime_{0};
    VirtualClock::Duration outFree_{0};
    VirtualClock::Duration backFree_{0};
    bool open_ = false;
    bool connected_ = true;
    std::uint64_t session_ = 0;      // bytes of an earlier opening are lost
    std::uint64_t lateCollect_ = 0;  // pending collection of the radio's late answers
    int threshold_ = 1;
    bool bytewise_ = false;
    Bytes input_;
    // Shared so that a receiver replaced while it runs lives until it returns.
    std::shared_ptr<ReceiveHandler> receiver_;
    std::string openFailure_;
    int opens_ = 0;
    std::uint64_t bytesSent_ = 0;
    std::uint64_t bytesReceived_ = 0;
};

}  // namespace zt
