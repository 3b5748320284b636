#pragma once
#include <cstdint>

namespace zt {

// The 16 colours that a colour word's foreground index and a file's colour
// byte name, as 0x00BBGGRR: black, navy, green, teal, maroon, purple, olive,
// silver, grey, blue, lime, aqua, red, fuchsia, yellow, white.
inline constexpr std::uint32_t kPalette16[16] = {
    0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
    0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF,
};

// Colour word bits: the foreground index, and the two "use the default" marks.
inline constexpr std::uint32_t kColorForegroundShift = 24;
inline constexpr std::uint32_t kColorDefaultForeground = 0x40000000u;
inline constexpr std::uint32_t kColorDefaultBackground = 0x80000000u;

// The point sizes a cell's FontSize 1..10 selects; 0 is the window's font.
inline constexpr int kFontSizes[10] = {8, 9, 10, 11, 12, 14, 16, 18, 20, 24};

}  // namespace zt
