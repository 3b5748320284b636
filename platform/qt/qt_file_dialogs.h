#pragma once
#include <QPointer>
#include <QWidget>

#include "platform/file_dialogs.h"

namespace zt {

// Qt's own file dialogs (not the desktop's, so they behave alike everywhere).
// A chosen name the program's code page cannot hold counts as a cancel.
class QtFileDialogs : public FileDialogs {
public:
    explicit QtFileDialogs(QWidget* parent = nullptr) : parent_(parent) {}
    void SetParent(QWidget* parent) { parent_ = parent; }
    FileDialogResult OpenFile(const FileDialogRequest& request) override { return Run(request, false); }
    FileDialogResult SaveFile(const FileDialogRequest& request) override { return Run(request, true); }

private:
    FileDialogResult Run(const FileDialogRequest& request, bool save);
    QPointer<QWidget> parent_;
};

}  // namespace zt
