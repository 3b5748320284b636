#pragma once
#include <QTimer>

#include "platform/timer.h"

namespace zt {

// A timer of the event loop: it fires only while events are processed.
class QtTimer : public Timer {
public:
    QtTimer();
    void Start(int intervalMs, TimerMode mode, std::function<void()> onFire) override;
    void Stop() override { timer_.stop(); }
    bool IsActive() const override { return timer_.isActive(); }

private:
    QTimer timer_;
    std::function<void()> onFire_;
};

}  // namespace zt
