#include "platform/qt/qt_timer.h"

namespace zt {

QtTimer::QtTimer()
{
    QObject::connect(&timer_, &QTimer::timeout, [this] {
        // The callback may restart this timer with another callback.
        std::function<void()> call = onFire_;
        if (call)
            call();
    });
}

void QtTimer::Start(int intervalMs, TimerMode mode, std::function<void()> onFire)
{
    onFire_ = std::move(onFire);
    timer_.setSingleShot(mode == TimerMode::OneShot);
    timer_.start(intervalMs);
}

}  // namespace zt
