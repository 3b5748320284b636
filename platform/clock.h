#pragma once
#include <chrono>
#include <cstdint>
#include <vector>

namespace zt {

// A millisecond tick count from an arbitrary start; only differences matter.
class Clock {
public:
    virtual ~Clock() = default;
    virtual std::int64_t Milliseconds() const = 0;
};

// The system's monotonic clock, for batch mode: never goes back.
class SteadyClock : public Clock {
public:
    std::int64_t Milliseconds() const override
    {
        using namespace std::chrono;
        return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    }
};

class VirtualTimer;

// Time that moves only when told to. Timers made on it fire while it
// advances, each at its due time, earliest first.
class VirtualClock : public Clock {
public:
    std::int64_t Milliseconds() const override { return now_; }
    void Advance(std::int64_t ms);

private:
    friend class VirtualTimer;
    VirtualTimer* NextDue(std::int64_t until) const;

    std::vector<VirtualTimer*> timers_;
    std::int64_t now_ = 0;
};

}  // namespace zt
