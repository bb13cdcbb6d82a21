#pragma once

// The link's one-shot timers on QTimer: they fire on the Qt event loop of the
// thread that created them.

#include <QTimer>
#include <functional>
#include <memory>

#include "core/host/link_interfaces.h"

namespace zt {

class QtOneShotTimer final : public OneShotTimer {
  public:
    explicit QtOneShotTimer(std::function<void()> fired);
    void start(int milliseconds) override;
    void stop() override { timer_.stop(); }
    bool isActive() const override { return timer_.isActive(); }

  private:
    QTimer timer_;
    std::function<void()> fired_;
};

class QtTimerFactory final : public TimerFactory {
  public:
    std::unique_ptr<OneShotTimer> createTimer(std::function<void()> fired) override;
};

}  // namespace zt
