#pragma once

#include <chrono>

namespace zt {

// The time source of the link: a steady clock in the programs, a virtual
// clock in tests. Only differences between two readings mean anything.
class Clock {
  public:
    virtual ~Clock() = default;
    virtual std::chrono::microseconds now() const = 0;
};

// The host's steady clock.
class SteadyClock final : public Clock {
  public:
    std::chrono::microseconds now() const override
    {
        return std::chrono::duration_cast<std::chrono::microseconds>(
            std::chrono::steady_clock::now().time_since_epoch());
    }
};

}  // namespace zt
