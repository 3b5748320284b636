#include <cctype>
#include <string>

#include "core/cell.h"
#include "core/format_codes.h"
#include "core/number_format.h"

namespace zt {

namespace {

// Letters of the numeric types 0..7 in the short code text.
constexpr std::string_view kTypeLetters = "FSC%,EG?";

// Short texts of the type-7 codes, by their low four bits.
constexpr std::string_view kSpecialTexts[16] = {"+", "G",  "D1", "D2", "D3", "T", "H",  "T1",
                                                "T2", "D4", "D5", "T3", "T4", "",  "Lb", ""};

constexpr std::string_view kSpecLetters = "FSEACMG+PDTHXRL";

// Dates and times in a format text are counted from 0.
constexpr std::uint8_t kSpecDates[] = {kFormatD1, kFormatD2, kFormatD3, kFormatD4, kFormatD5};
constexpr std::uint8_t kSpecTimes[] = {kFormatT1, kFormatT2, kFormatT3, kFormatT4};

constexpr int kMaxPlaces = 15;
constexpr int kMaxFractionPower = 7;

bool IsDigit(char ch) { return ch >= '0' && ch <= '9'; }

std::uint8_t WithPlaces(std::uint8_t base, int d, int maxPlaces)
{
    return d <= maxPlaces ? static_cast<std::uint8_t>(base + d) : kFormatDefault;
}

template <std::size_t N>
std::uint8_t Counted(const std::uint8_t (&codes)[N], int d)
{
    return static_cast<std::size_t>(d) < N ? codes[d] : kFormatDefault;
}

}  // namespace

std::string FormatCodeText(std::uint8_t format, bool globalProtection)
{
    std::uint8_t code = format & kFormatCodeMask;
    int type = code >> 4;
    int p = code & 0x0F;
    std::string text;
    if (type == 7)
        text = kSpecialTexts[p];
    else if (type == 2 && (p & 8))
        text = "Fr" + std::to_string(p & 7);
    else
        text = kTypeLetters[static_cast<std::size_t>(type)] + std::to_string(p);
    if (globalProtection)
        text.insert(0, (format & kFormatProtected) ? "Pr " : "Un ");
    return text;
}

std::uint8_t ParseFormatSpec(std::string_view text)
{
    if (text.empty())
        return kFormatDefault;
    char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
    if (kSpecLetters.find(letter) == std::string_view::npos)
        return kFormatDefault;
    int d = 0;
    std::size_t i = 1;
    while (i < text.size() && i < 3 && IsDigit(text[i]))
        d = d * 10 + (text[i++] - '0');
    bool hasNumber = i > 1;
    // A parameter beyond what the type can hold is no format at all.
    switch (letter) {
    case 'F': return WithPlaces(0x00, d, kMaxPlaces);
    case 'S': return WithPlaces(0x10, d, kMaxPlaces);
    case 'C': return WithPlaces(0x20, d, kMaxPlaces);
    case 'A': return WithPlaces(0x28, d, kMaxFractionPower);
    case 'P': return WithPlaces(0x30, d, kMaxPlaces);
    case 'M': return WithPlaces(0x40, d, kMaxPlaces);
    case 'E': return WithPlaces(0x50, d, kMaxPlaces);
    case '+': return kFormatPlusMinus;
    case 'G': return kFormatGeneral;
    case 'D': return Counted(kSpecDates, d);
    case 'T': return hasNumber ? Counted(kSpecTimes, d) : kFormatText;
    case 'X': return kFormatText;
    case 'H': return kFormatHidden;
    case 'L': return kFormatLabel;
    default: return kFormatDefault;  // R
    }
}

}  // namespace zt
