#pragma once
#include <deque>
#include <functional>

#include "platform/key_event.h"

namespace zt {

// One posted keystroke: a key going down or up, or a typed character.
struct InjectedKey {
    enum class Kind { Press, Release, Character };
    Kind What = Kind::Press;
    KeyEvent Key;    // Press and Release
    char Char = 0;   // Character: a program (Windows-1252) character
};

// How macros type: keys are queued and later delivered, in order, to
// whatever has the keyboard focus at the moment each one arrives.
class KeyInjector {
public:
    virtual ~KeyInjector() = default;
    virtual void PostKey(const KeyEvent& key, bool press) = 0;
    virtual void PostChar(char c) = 0;
    // True while posted keys still wait for delivery.
    virtual bool Pending() const = 0;
};

// Without a window the keys wait in a queue until the controllers take them.
class QueuedKeyInjector : public KeyInjector {
public:
    void PostKey(const KeyEvent& key, bool press) override;
    void PostChar(char c) override;
    bool Pending() const override { return !queue_.empty(); }

    // Hands the waiting keys, oldest first, to deliver and returns how many.
    // Keys posted while draining wait for the next drain, as posted events
    // would wait for the next pass of the event loop.
    int Drain(const std::function<void(const InjectedKey&)>& deliver);

private:
    std::deque<InjectedKey> queue_;
};

}  // namespace zt
