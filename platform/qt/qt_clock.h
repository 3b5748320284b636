#pragma once
#include <QElapsedTimer>

#include "platform/clock.h"

namespace zt {

// Milliseconds since this clock was made, from a monotonic source.
class QtClock : public Clock {
public:
    QtClock() { started_.start(); }
    std::int64_t Milliseconds() const override { return started_.elapsed(); }

private:
    QElapsedTimer started_;
};

}  // namespace zt
