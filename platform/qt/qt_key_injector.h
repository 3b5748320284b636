#pragma once
#include <QObject>

#include "platform/key_injector.h"

namespace zt {

// Posted keys become real key events when the event loop reaches them, sent
// to the widget that has the focus at that moment (the active window when
// no widget has it; dropped when no window is active). Each event's native
// virtual key is the program's virtual key number, so keys without a Qt
// counterpart (one screen left or right) still arrive. Characters are a
// press and a release carrying the character as text, with no modifiers.
// Events sent this way do not trigger menu shortcuts.
class QtKeyInjector : public QObject, public KeyInjector {
    Q_OBJECT
public:
    explicit QtKeyInjector(QObject* parent = nullptr) : QObject(parent) {}

    void PostKey(const KeyEvent& key, bool press) override;
    void PostChar(char c) override;
    bool Pending() const override { return pending_ > 0; }

protected:
    bool event(QEvent* event) override;

private:
    void Post(const InjectedKey& key);
    int pending_ = 0;
};

}  // namespace zt
