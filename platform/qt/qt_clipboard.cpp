#include "platform/qt/qt_clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include "platform/qt/qt_text.h"

namespace zt {

const char* const QtClipboard::kPrivateMimeType = "application/x-ztb32d";

namespace {

const QMimeData* Contents() { return QGuiApplication::clipboard()->mimeData(); }

std::string ProgramText(const QString& text)
{
    std::string out;
    if (FromQString(text, out))
        return out;
    out.clear();
    for (char32_t c : text.toUcs4()) {
        std::string one;
        out += FromQString(QString::fromUcs4(&c, 1), one) ? one : "?";
    }
    return out;
}

}  // namespace

void QtClipboard::SetData(std::string_view privateText, std::string_view plainText)
{
    auto* data = new QMimeData;
    data->setData(kPrivateMimeType, QByteArray(privateText.data(), static_cast<qsizetype>(privateText.size())));
    data->setText(ToQString(plainText));
    QGuiApplication::clipboard()->setMimeData(data);
}

bool QtClipboard::HasText() const
{
    const QMimeData* data = Contents();
    return data && (data->hasFormat(kPrivateMimeType) || data->hasText());
}

std::string QtClipboard::PrivateText() const
{
    const QMimeData* data = Contents();
    return data ? data->data(kPrivateMimeType).toStdString() : std::string();
}

std::string QtClipboard::PlainText() const
{
    const QMimeData* data = Contents();
    return data ? ProgramText(data->text()) : std::string();
}

}  // namespace zt
