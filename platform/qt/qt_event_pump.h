#pragma once
#include <QCoreApplication>

#include "platform/event_pump.h"

namespace zt {

// Delivers the events waiting in the application's queue.
class QtEventPump : public EventPump {
public:
    void ProcessEvents() override { QCoreApplication::processEvents(); }
};

}  // namespace zt
