#include <gtest/gtest.h>

#include <vector>

#include "platform/timer.h"

namespace zt {
namespace {

TEST(VirtualTimer, OneShotFiresOnceWhenItsTimeComes)
{
    VirtualClock clock;
    VirtualTimer timer(clock);
    std::vector<std::int64_t> firedAt;
    timer.Start(25, TimerMode::OneShot, [&] { firedAt.push_back(clock.Milliseconds()); });
    clock.Advance(24);
    EXPECT_TRUE(firedAt.empty());
    EXPECT_TRUE(timer.IsActive());
    clock.Advance(100);
    EXPECT_EQ(firedAt, std::vector<std::int64_t>{25});
    EXPECT_FALSE(timer.IsActive());
    EXPECT_EQ(clock.Milliseconds(), 124);
}

TEST(VirtualTimer, PeriodicFiresEveryIntervalUntilStopped)
{
    VirtualClock clock;
    VirtualTimer timer(clock);
    std::vector<std::int64_t> firedAt;
    timer.Start(10, TimerMode::Periodic, [&] {
        firedAt.push_back(clock.Milliseconds());
        if (firedAt.size() == 3)
            timer.Stop();
    });
    clock.Advance(1000);
    EXPECT_EQ(firedAt, (std::vector<std::int64_t>{10, 20, 30}));
    EXPECT_FALSE(timer.IsActive());
}

TEST(VirtualTimer, TimersFireInOrderOfTheirDueTimes)
{
    VirtualClock clock;
    VirtualTimer slow(clock);
    VirtualTimer fast(clock);
    std::vector<char> order;
    slow.Start(30, TimerMode::OneShot, [&] { order.push_back('s'); });
    fast.Start(12, TimerMode::Periodic, [&] { order.push_back('f'); });
    clock.Advance(40);
    EXPECT_EQ(order, (std::vector<char>{'f', 'f', 's', 'f'}));
}

TEST(VirtualTimer, RestartingFromTheCallbackCountsFromTheFiring)
{
    VirtualClock clock;
    VirtualTimer timer(clock);
    std::vector<std::int64_t> firedAt;
    std::function<void()> again = [&] {
        firedAt.push_back(clock.Milliseconds());
        if (firedAt.size() < 3)
            timer.Start(7, TimerMode::OneShot, again);
    };
    timer.Start(5, TimerMode::OneShot, again);
    clock.Advance(100);
    EXPECT_EQ(firedAt, (std::vector<std::int64_t>{5, 12, 19}));
}

TEST(VirtualTimer, StoppedOrDestroyedTimersStayQuiet)
{
    VirtualClock clock;
    int fired = 0;
    {
        VirtualTimer gone(clock);
        gone.Start(5, TimerMode::Periodic, [&] { ++fired; });
    }
    VirtualTimer stopped(clock);
    stopped.Start(5, TimerMode::Periodic, [&] { ++fired; });
    stopped.Stop();
    clock.Advance(50);
    EXPECT_EQ(fired, 0);
}

}  // namespace
}  // namespace zt
