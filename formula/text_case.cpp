#include "formula/text_case.h"

namespace zt {

namespace {

// The upper-case byte of every lower-case letter; 0 for other bytes.
constexpr unsigned char UpperOf(unsigned char c)
{
    if (c >= 'a' && c <= 'z')
        return c - 0x20;
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7)
        return c - 0x20;
    switch (c) {
    case 0x9A: return 0x8A;
    case 0x9C: return 0x8C;
    case 0x9E: return 0x8E;
    case 0xFF: return 0x9F;
    default: return 0;
    }
}

// The lower-case byte of every upper-case letter; 0 for other bytes.
constexpr unsigned char LowerOf(unsigned char c)
{
    if (c >= 'A' && c <= 'Z')
        return c + 0x20;
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7)
        return c + 0x20;
    switch (c) {
    case 0x8A: return 0x9A;
    case 0x8C: return 0x9C;
    case 0x8E: return 0x9E;
    case 0x9F: return 0xFF;
    default: return 0;
    }
}

}  // namespace

char UpperChar(char ch)
{
    unsigned char u = UpperOf(static_cast<unsigned char>(ch));
    return u ? static_cast<char>(u) : ch;
}

char LowerChar(char ch)
{
    unsigned char l = LowerOf(static_cast<unsigned char>(ch));
    return l ? static_cast<char>(l) : ch;
}

std::string UpperText(std::string_view text)
{
    std::string s(text);
    for (char& ch : s)
        ch = UpperChar(ch);
    return s;
}

std::string LowerText(std::string_view text)
{
    std::string s(text);
    for (char& ch : s)
        ch = LowerChar(ch);
    return s;
}

}  // namespace zt
