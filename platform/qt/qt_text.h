#pragma once
#include <QString>
#include <string>
#include <string_view>

namespace zt {

// Program texts (Windows-1252) to Qt and back. A character Windows-1252
// cannot hold makes FromQString fail.
QString ToQString(std::string_view cp1252);
bool FromQString(const QString& text, std::string& cp1252);

}  // namespace zt
