#include "platform/qt/qt_key_injector.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

#include "platform/qt/qt_key_codes.h"
#include "platform/qt/qt_text.h"

namespace zt {
namespace {

const QEvent::Type kPostedKey = static_cast<QEvent::Type>(QEvent::registerEventType());

struct PostedKeyEvent : QEvent {
    explicit PostedKeyEvent(const InjectedKey& key) : QEvent(kPostedKey), Key(key) {}
    InjectedKey Key;
};

// The text a key types, as a real keyboard would give it.
QString KeyText(const KeyEvent& key)
{
    if (key.Ctrl || key.Alt)
        return {};
    if (key.Key >= 'A' && key.Key <= 'Z')
        return QString(QChar(key.Shift ? key.Key : key.Key - 'A' + 'a'));
    if ((key.Key >= '0' && key.Key <= '9' && !key.Shift) || key.Key == ' ')
        return QString(QChar(key.Key));
    switch (key.Key) {
    case vkBack: return QStringLiteral("\b");
    case vkTab: return QStringLiteral("\t");
    case vkReturn: return QStringLiteral("\r");
    case vkEscape: return QStringLiteral("\x1b");
    default: return {};
    }
}

bool IsKeypad(int vk) { return vk >= 96 && vk <= 111; }

// The Qt key a typed character stands for: Qt numbers the keys of Latin-1
// characters by their upper-case code.
int CharacterKey(const QString& text)
{
    if (text.size() != 1)
        return Qt::Key_unknown;
    switch (text.at(0).unicode()) {
    case '\b': return Qt::Key_Backspace;
    case '\t': return Qt::Key_Tab;
    case '\r': return Qt::Key_Return;
    case 0x1b: return Qt::Key_Escape;
    default: break;
    }
    char16_t upper = text.at(0).toUpper().unicode();
    bool latin1 = (upper >= 0x20 && upper < 0x7F) || (upper >= 0xA0 && upper <= 0xFF);
    return latin1 ? int(upper) : int(Qt::Key_unknown);
}

void Send(QWidget* target, QEvent::Type type, int qtKey, Qt::KeyboardModifiers mods, quint32 vk, const QString& text)
{
    QKeyEvent event(type, qtKey, mods, 0, vk, 0, text);
    QCoreApplication::sendEvent(target, &event);
}

void Deliver(const InjectedKey& key)
{
    QWidget* target = QApplication::focusWidget();
    if (!target)
        target = QApplication::activeWindow();
    if (!target)
        return;
    if (key.What == InjectedKey::Kind::Character) {
        QString text = ToQString(std::string_view(&key.Char, 1));
        int qtKey = CharacterKey(text);
        quint32 vk = qtKey >= 'A' && qtKey <= 'Z' ? qtKey : 0;
        Send(target, QEvent::KeyPress, qtKey, Qt::NoModifier, vk, text);
        Send(target, QEvent::KeyRelease, qtKey, Qt::NoModifier, vk, text);
        return;
    }
    const KeyEvent& k = key.Key;
    Qt::KeyboardModifiers mods;
    mods.setFlag(Qt::ShiftModifier, k.Shift);
    mods.setFlag(Qt::ControlModifier, k.Ctrl);
    mods.setFlag(Qt::AltModifier, k.Alt);
    mods.setFlag(Qt::KeypadModifier, IsKeypad(k.Key));
    int qtKey = QtKeyFromVirtualKey(k.Key);
    if (qtKey == Qt::Key_Tab && k.Shift)
        qtKey = Qt::Key_Backtab;
    QEvent::Type type = key.What == InjectedKey::Kind::Press ? QEvent::KeyPress : QEvent::KeyRelease;
    Send(target, type, qtKey, mods, static_cast<quint32>(k.Key), KeyText(k));
}

}  // namespace

void QtKeyInjector::PostKey(const KeyEvent& key, bool press)
{
    InjectedKey k;
    k.What = press ? InjectedKey::Kind::Press : InjectedKey::Kind::Release;
    k.Key = key;
    Post(k);
}

void QtKeyInjector::PostChar(char c)
{
    InjectedKey k;
    k.What = InjectedKey::Kind::Character;
    k.Char = c;
    Post(k);
}

void QtKeyInjector::Post(const InjectedKey& key)
{
    ++pending_;
    QCoreApplication::postEvent(this, new PostedKeyEvent(key));
}

bool QtKeyInjector::event(QEvent* event)
{
    if (event->type() != kPostedKey)
        return QObject::event(event);
    --pending_;
    Deliver(static_cast<PostedKeyEvent*>(event)->Key);
    return true;
}

}  // namespace zt
