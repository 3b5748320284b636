#include "platform/codepage.h"

#include <array>
#include <cstdint>

namespace zt {

namespace {

// Code points of bytes 0x80..0x9F; the five unassigned bytes keep their
// C1 control code points so that every byte survives a round trip.
constexpr std::array<char32_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char32_t CodePoint(unsigned char b) { return (b >= 0x80 && b < 0xA0) ? kHigh[b - 0x80] : b; }

void AppendUtf8(std::string& out, char32_t cp)
{
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

bool ByteFor(char32_t cp, char& out)
{
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
        out = static_cast<char>(cp);
        return true;
    }
    for (std::size_t i = 0; i < kHigh.size(); ++i) {
        if (kHigh[i] == cp) {
            out = static_cast<char>(0x80 + i);
            return true;
        }
    }
    return false;
}

// Decodes one UTF-8 sequence at text[i]; 0 when it is not valid.
std::size_t DecodeUtf8(std::string_view text, std::size_t i, char32_t& cp)
{
    auto b = static_cast<unsigned char>(text[i]);
    std::size_t len = b >= 0xF0 && b < 0xF5 ? 4 : b >= 0xE0 ? 3 : b >= 0xC2 && b < 0xE0 ? 2 : 0;
    if (len == 0 || b >= 0xF5 || i + len > text.size())
        return 0;
    cp = b & (0xFF >> (len + 1));
    for (std::size_t k = 1; k < len; ++k) {
        auto c = static_cast<unsigned char>(text[i + k]);
        if ((c & 0xC0) != 0x80)
            return 0;
        cp = (cp << 6) | (c & 0x3F);
    }
    bool overlong = (len == 3 && cp < 0x800) || (len == 4 && cp < 0x10000);
    if (overlong || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    return len;
}

bool IsValidUtf8(std::string_view text)
{
    for (std::size_t i = 0; i < text.size();) {
        if (static_cast<unsigned char>(text[i]) < 0x80) {
            ++i;
            continue;
        }
        char32_t cp;
        std::size_t len = DecodeUtf8(text, i, cp);
        if (!len)
            return false;
        i += len;
    }
    return true;
}

}  // namespace

std::string Utf8FromCp1252(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (char ch : text)
        AppendUtf8(out, CodePoint(static_cast<unsigned char>(ch)));
    return out;
}

bool Cp1252FromUtf8(std::string_view text, std::string& out)
{
    out.clear();
    if (!IsValidUtf8(text)) {
        out.assign(text);
        return true;
    }
    for (std::size_t i = 0; i < text.size();) {
        if (static_cast<unsigned char>(text[i]) < 0x80) {
            out.push_back(text[i++]);
            continue;
        }
        char32_t cp = 0;
        std::size_t len = DecodeUtf8(text, i, cp);
        char b;
        if (!ByteFor(cp, b))
            return false;
        out.push_back(b);
        i += len;
    }
    return true;
}

}  // namespace zt
