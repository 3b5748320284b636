#include "platform/qt/qt_file_dialogs.h"

#include <QFileDialog>
#include <algorithm>

#include "platform/qt/qt_text.h"

namespace zt {

FileDialogResult QtFileDialogs::Run(const FileDialogRequest& request, bool save)
{
    QFileDialog dialog(parent_, ToQString(request.Title));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(!save && request.MustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.ConfirmOverwrite);

    QStringList filters = ToQString(QtFilterFromProgramFilter(request.Filter)).split(QStringLiteral(";;"));
    if (!request.Filter.empty()) {
        dialog.setNameFilters(filters);
        if (request.FilterIndex >= 1 && request.FilterIndex <= filters.size())
            dialog.selectNameFilter(filters[request.FilterIndex - 1]);
    }
    if (!request.InitialDir.empty())
        dialog.setDirectory(ToQString(request.InitialDir));
    if (!request.FileName.empty())
        dialog.selectFile(ToQString(request.FileName));
    // The dialog appends the extension itself, so that it asks about
    // overwriting the file that will really be written.
    dialog.setDefaultSuffix(ToQString(request.DefaultExt));

    FileDialogResult result;
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return result;
    std::string path;
    if (!FromQString(dialog.selectedFiles().first(), path))
        return result;
    result.Ok = true;
    result.Path = WithDefaultExtension(path, request.DefaultExt);
    result.FilterIndex = std::max<int>(1, static_cast<int>(filters.indexOf(dialog.selectedNameFilter())) + 1);
    return result;
}

}  // namespace zt
