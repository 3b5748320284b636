#pragma once
#include <cstdint>

namespace zt {

// Virtual key numbers, as macros and the key tables name them.
enum VirtualKey : int {
    vkCancel = 3,  // Ctrl+Break
    vkBack = 8,
    vkTab = 9,
    vkReturn = 13,
    vkShift = 16,
    vkControl = 17,
    vkMenu = 18,
    vkCapital = 20,
    vkEscape = 27,
    vkPrior = 33,
    vkNext = 34,
    vkEnd = 35,
    vkHome = 36,
    vkLeft = 37,
    vkUp = 38,
    vkRight = 39,
    vkDown = 40,
    vkInsert = 45,
    vkDelete = 46,
    vkF1 = 112,
    vkF2, vkF3, vkF4, vkF5, vkF6, vkF7, vkF8, vkF9, vkF10, vkF11, vkF12,
    vkNumLock = 144,
    vkScroll = 145,
    vkBigRight = 146,  // one screen width right; sent by macros
    vkBigLeft = 147,   // one screen width left
};

// A key press or release as the controllers see it, whatever produced it.
struct KeyEvent {
    int Key = 0;  // a VirtualKey, or the upper-case letter / digit of a character key
    bool Shift = false;
    bool Ctrl = false;
    bool Alt = false;
};

}  // namespace zt
