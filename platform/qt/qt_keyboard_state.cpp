#include "platform/qt/qt_keyboard_state.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

#include "platform/key_event.h"

namespace zt {
namespace {

// A key event travels up the parents of its first receiver; only the first
// delivery counts.
bool IsFirstReceiver(QObject* watched)
{
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget)
        return false;
    QWidget* focus = QApplication::focusWidget();
    return focus ? widget == focus : widget->isWindow();
}

int ToggleKey(int qtKey)
{
    switch (qtKey) {
    case Qt::Key_Insert: return vkInsert;
    case Qt::Key_CapsLock: return vkCapital;
    case Qt::Key_NumLock: return vkNumLock;
    case Qt::Key_ScrollLock: return vkScroll;
    default: return 0;
    }
}

bool IsKeypadMotion(int qtKey)
{
    switch (qtKey) {
    case Qt::Key_Home: case Qt::Key_End: case Qt::Key_Left: case Qt::Key_Right:
    case Qt::Key_Up: case Qt::Key_Down: case Qt::Key_PageUp: case Qt::Key_PageDown:
    case Qt::Key_Insert: case Qt::Key_Delete: case Qt::Key_Clear:
        return true;
    default:
        return false;
    }
}

}  // namespace

QtKeyboardState::QtKeyboardState(QObject* parent) : QObject(parent)
{
    QCoreApplication::instance()->installEventFilter(this);
}

bool QtKeyboardState::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && IsFirstReceiver(watched))
        Observe(*static_cast<QKeyEvent*>(event), event->spontaneous());
    return false;
}

void QtKeyboardState::Observe(const QKeyEvent& key, bool typed)
{
    if (key.isAutoRepeat())
        return;
    if (int vk = ToggleKey(key.key())) {
        Flip(vk);
        return;
    }
    // Injected keys carry whatever text the macro chose; only typed ones
    // tell the truth about the lock keys.
    if (!typed)
        return;
    Qt::KeyboardModifiers mods = key.modifiers();
    bool shift = mods.testFlag(Qt::ShiftModifier);
    if (key.key() >= Qt::Key_A && key.key() <= Qt::Key_Z && key.text().size() == 1
        && !(mods & (Qt::ControlModifier | Qt::AltModifier))) {
        bool upper = key.text().at(0).isUpper();
        SetToggled(vkCapital, upper != shift);
    } else if (mods.testFlag(Qt::KeypadModifier) && !shift) {
        if (key.key() >= Qt::Key_0 && key.key() <= Qt::Key_9)
            SetToggled(vkNumLock, true);
        else if (IsKeypadMotion(key.key()))
            SetToggled(vkNumLock, false);
    }
}

}  // namespace zt
