#pragma once
#include <string>
#include <string_view>

namespace zt {

// Texts inside the program are Windows-1252 bytes; the outside world
// speaks UTF-8.
std::string Utf8FromCp1252(std::string_view text);

// False when the text holds a character that Windows-1252 cannot show.
// Bytes that are not valid UTF-8 are taken as Windows-1252 as they stand.
bool Cp1252FromUtf8(std::string_view text, std::string& out);

}  // namespace zt
