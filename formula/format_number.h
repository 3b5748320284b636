#pragma once
#include <string>

namespace zt {

// The text of a number in the edit line and in string conversions: up to
// 15 significant digits, an exponent form outside 1E-6..1E6, and always a
// text that reads back to the same number.
std::string FormatNumber(double x, char period = '.');

}  // namespace zt
