#include "platform/qt/qt_key_codes.h"

#include <Qt>

#include "platform/key_event.h"

namespace zt {

int QtKeyFromVirtualKey(int vk)
{
    // Letters, digits and the space bar share their codes with Qt.
    if ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9') || vk == ' ')
        return vk;
    if (vk >= vkF1 && vk <= vkF12)
        return Qt::Key_F1 + (vk - vkF1);
    if (vk >= 96 && vk <= 105)  // keypad digits
        return Qt::Key_0 + (vk - 96);
    switch (vk) {
    case vkCancel: return Qt::Key_Cancel;
    case vkBack: return Qt::Key_Backspace;
    case vkTab: return Qt::Key_Tab;
    case vkReturn: return Qt::Key_Return;
    case vkShift: return Qt::Key_Shift;
    case vkControl: return Qt::Key_Control;
    case vkMenu: return Qt::Key_Alt;
    case 19: return Qt::Key_Pause;
    case vkCapital: return Qt::Key_CapsLock;
    case vkEscape: return Qt::Key_Escape;
    case vkPrior: return Qt::Key_PageUp;
    case vkNext: return Qt::Key_PageDown;
    case vkEnd: return Qt::Key_End;
    case vkHome: return Qt::Key_Home;
    case vkLeft: return Qt::Key_Left;
    case vkUp: return Qt::Key_Up;
    case vkRight: return Qt::Key_Right;
    case vkDown: return Qt::Key_Down;
    case vkInsert: return Qt::Key_Insert;
    case vkDelete: return Qt::Key_Delete;
    case 106: return Qt::Key_Asterisk;
    case 107: return Qt::Key_Plus;
    case 109: return Qt::Key_Minus;
    case 110: return Qt::Key_Period;
    case 111: return Qt::Key_Slash;
    case vkNumLock: return Qt::Key_NumLock;
    case vkScroll: return Qt::Key_ScrollLock;
    default: return Qt::Key_unknown;
    }
}

}  // namespace zt
