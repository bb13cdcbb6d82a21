#include "platform/qt_timers.h"

#include <utility>

namespace zt {

QtOneShotTimer::QtOneShotTimer(std::function<void()> fired) : fired_(std::move(fired))
{
    timer_.setSingleShot(true);
    // Reply time-outs are short (150 ms): keep them to the millisecond.
    timer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
        if (fired_) fired_();
    });
}

void QtOneShotTimer::start(int milliseconds)
{
    timer_.start(milliseconds < 0 ? 0 : milliseconds);
}

std::unique_ptr<OneShotTimer> QtTimerFactory::createTimer(std::function<void()> fired)
{
    return std::make_unique<QtOneShotTimer>(std::move(fired));
}

}  // namespace zt
