#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "core/settings.h"

namespace zt {

// The text of a number in a display format; width (characters) is read by
// General only. Settings give separators, currency and zero suppression.
std::string FormatValue(int width, std::uint8_t code, double x, const WorksheetSettings& s);

// Short code text of a format byte ("F2", "Fr3", "Pr D1" under protection).
std::string FormatCodeText(std::uint8_t format, bool globalProtection);

// A format text such as "F2", "c0", "D1" to its code; 0x7F when unknown.
std::uint8_t ParseFormatSpec(std::string_view text);

}  // namespace zt
