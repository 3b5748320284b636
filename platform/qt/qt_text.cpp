#include "platform/qt/qt_text.h"

#include "platform/codepage.h"

namespace zt {

QString ToQString(std::string_view cp1252)
{
    std::string utf8 = Utf8FromCp1252(cp1252);
    return QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
}

bool FromQString(const QString& text, std::string& cp1252)
{
    QByteArray utf8 = text.toUtf8();
    return Cp1252FromUtf8(std::string_view(utf8.constData(), size_t(utf8.size())), cp1252);
}

}  // namespace zt
