#pragma once

namespace zt {

// Lets pending window events through while the program waits or works.
class EventPump {
public:
    virtual ~EventPump() = default;
    virtual void ProcessEvents() = 0;
};

// Without a window there is nothing to process; the calls are counted.
class CountingEventPump : public EventPump {
public:
    void ProcessEvents() override { ++calls_; }
    int Calls() const { return calls_; }

private:
    int calls_ = 0;
};

}  // namespace zt
