#pragma once
#include <string>
#include <string_view>

namespace zt {

// Case mapping of Windows-1252 text: the ASCII letters, the accented
// letters 0xC0..0xDE (but not the sign 0xD7) against 0xE0..0xFE, and the
// pairs Š/š, Œ/œ, Ž/ž, Ÿ/ÿ. Other bytes, ß among them, stay as they are.
char UpperChar(char ch);
char LowerChar(char ch);
std::string UpperText(std::string_view text);
std::string LowerText(std::string_view text);

}  // namespace zt
