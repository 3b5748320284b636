#include "platform/qt/qt_notify.h"

#include <QApplication>
#include <QMessageBox>

#include "platform/qt/qt_text.h"

namespace zt {

void QtNotify::Beep() { QApplication::beep(); }

void QtNotify::ShowMessage(std::string_view text)
{
    QMessageBox::information(parent_, QApplication::applicationDisplayName(), ToQString(text));
}

Answer QtNotify::Ask(std::string_view text, AskButtons buttons)
{
    QMessageBox::StandardButtons set = QMessageBox::Yes | QMessageBox::No;
    if (buttons == AskButtons::YesNoCancel)
        set |= QMessageBox::Cancel;
    auto chosen = QMessageBox::question(parent_, QApplication::applicationDisplayName(), ToQString(text), set);
    if (chosen == QMessageBox::Yes)
        return Answer::Yes;
    if (chosen == QMessageBox::No)
        return Answer::No;
    return buttons == AskButtons::YesNoCancel ? Answer::Cancel : Answer::No;
}

}  // namespace zt
