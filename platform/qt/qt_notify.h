#pragma once
#include <QWidget>
#include <QPointer>

#include "platform/notify.h"

namespace zt {

// Message boxes over the main window and the system beep.
class QtNotify : public Notify {
public:
    explicit QtNotify(QWidget* parent = nullptr) : parent_(parent) {}
    void SetParent(QWidget* parent) { parent_ = parent; }
    void Beep() override;
    void ShowMessage(std::string_view text) override;
    Answer Ask(std::string_view text, AskButtons buttons) override;

private:
    QPointer<QWidget> parent_;
};

}  // namespace zt
