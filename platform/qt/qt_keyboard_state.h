#pragma once
#include <QObject>

#include "platform/keyboard_state.h"

class QKeyEvent;

namespace zt {

// The toggle keys as this program sees them. Qt does not report the state of
// the lock keys, so the program keeps its own: all start off, every press of
// a toggle key that reaches the program (typed or injected) flips it, and
// keys the user types correct Caps Lock and Num Lock whenever they show the
// real state: a letter whose case disagrees with Shift means Caps Lock is on,
// a keypad key giving a digit means Num Lock is on, one moving the cursor
// means it is off.
class QtKeyboardState : public QObject, public PlainKeyboardState {
    Q_OBJECT
public:
    // Watches the keys of the whole application.
    explicit QtKeyboardState(QObject* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Observe(const QKeyEvent& key, bool typed);
};

}  // namespace zt
