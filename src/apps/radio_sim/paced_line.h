#pragma once

// The serial line between the host and the virtual radio, timed like a real
// 8N1 line: each byte takes 10 bit-times. A command of N bytes reaches the
// radio over N byte-times from when the host's bytes are seen; an echoing
// cable returns each byte as it arrives (the echo shares the wire, so it adds
// no time), and the radio's answer of M bytes follows over M byte-times. At
// baud 0 everything happens at once.

#include <chrono>
#include <cstdint>
#include <deque>
#include <optional>
#include <span>

#include "core/host/clock.h"
#include "core/link/virtual_radio.h"

namespace zt {

// A clock the line sets to the moment each byte reaches the radio.
class ManualClock final : public Clock {
  public:
    std::chrono::microseconds now() const override { return now_; }
    void set(std::chrono::microseconds t) { now_ = t; }

  private:
    std::chrono::microseconds now_{0};
};

class PacedLine {
  public:
    using Time = std::chrono::microseconds;

    // `radio` must use `clock`. baud 0 = no pacing.
    PacedLine(VirtualRadio& radio, ManualClock& clock, int baud);

    Time byteTime() const { return byteTime_; }

    // Bytes from the host, seen at `now`.
    void fromHost(Time now, std::span<const std::uint8_t> bytes);
    // Feeds the radio every byte that has arrived by `now` and appends to
    // `out` every byte that has fully reached the host by `now`.
    void run(Time now, Bytes& out);
    // When the next byte arrives at either end; nothing when the line is idle.
    std::optional<Time> nextDue() const;
    bool idle() const { return incoming_.empty() && outgoing_.empty() && !radio_.nextDue(); }

  private:
    struct Timed {
        Time at;
        std::uint8_t byte;
    };
    void schedule(Time at, std::uint8_t byte);

    VirtualRadio& radio_;
    ManualClock& clock_;
    Time byteTime_{0};
    Time inFree_{0};   // when the host-to-radio wire is free again
    Time outFree_{0};  // when the radio-to-host wire is free again
    std::deque<Timed> incoming_;
    std::deque<Timed> outgoing_;  // in time order
    Bytes scratch_;
};

}  // namespace zt
