#include "platform/timer.h"

#include <algorithm>

namespace zt {

VirtualTimer::VirtualTimer(VirtualClock& clock) : clock_(clock) { clock_.timers_.push_back(this); }

VirtualTimer::~VirtualTimer()
{
    auto& timers = clock_.timers_;
    timers.erase(std::find(timers.begin(), timers.end(), this));
}

void VirtualTimer::Start(int intervalMs, TimerMode mode, std::function<void()> onFire)
{
    // A zero interval would fire forever without time passing.
    interval_ = std::max(intervalMs, 1);
    mode_ = mode;
    onFire_ = std::move(onFire);
    due_ = clock_.Milliseconds() + interval_;
    active_ = true;
}

void VirtualTimer::Fire()
{
    if (mode_ == TimerMode::OneShot)
        active_ = false;
    else
        due_ += interval_;
    // The callback may restart, stop or even destroy this timer.
    std::function<void()> call = onFire_;
    if (call)
        call();
}

VirtualTimer* VirtualClock::NextDue(std::int64_t until) const
{
    VirtualTimer* next = nullptr;
    for (VirtualTimer* t : timers_)
        if (t->active_ && t->due_ <= until && (!next || t->due_ < next->due_))
            next = t;
    return next;
}

void VirtualClock::Advance(std::int64_t ms)
{
    std::int64_t until = now_ + std::max<std::int64_t>(ms, 0);
    while (VirtualTimer* t = NextDue(until)) {
        now_ = t->due_;
        t->Fire();
    }
    now_ = until;
}

}  // namespace zt
