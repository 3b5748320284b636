#pragma once
#include <cstdint>
#include <functional>

#include "platform/clock.h"

namespace zt {

enum class TimerMode { OneShot, Periodic };

// Calls back after an interval, once or every interval until stopped.
// Starting an active timer restarts it with the new settings.
class Timer {
public:
    virtual ~Timer() = default;
    virtual void Start(int intervalMs, TimerMode mode, std::function<void()> onFire) = 0;
    virtual void Stop() = 0;
    virtual bool IsActive() const = 0;
};

// A timer on a virtual clock: it fires only while the clock advances.
class VirtualTimer : public Timer {
public:
    explicit VirtualTimer(VirtualClock& clock);
    ~VirtualTimer() override;
    VirtualTimer(const VirtualTimer&) = delete;
    VirtualTimer& operator=(const VirtualTimer&) = delete;

    void Start(int intervalMs, TimerMode mode, std::function<void()> onFire) override;
    void Stop() override { active_ = false; }
    bool IsActive() const override { return active_; }

private:
    friend class VirtualClock;
    void Fire();

    VirtualClock& clock_;
    std::function<void()> onFire_;
    std::int64_t interval_ = 1;
    std::int64_t due_ = 0;
    TimerMode mode_ = TimerMode::OneShot;
    bool active_ = false;
};

}  // namespace zt
