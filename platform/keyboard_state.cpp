#include "platform/keyboard_state.h"

#include "platform/key_event.h"

namespace zt {
namespace {

// The slot of a toggle key, -1 for keys that do not toggle.
int ToggleIndex(int vk)
{
    switch (vk) {
    case vkInsert: return 0;
    case vkCapital: return 1;
    case vkNumLock: return 2;
    case vkScroll: return 3;
    default: return -1;
    }
}

}  // namespace

bool PlainKeyboardState::IsToggled(int vk) const
{
    int i = ToggleIndex(vk);
    return i >= 0 && toggled_[i];
}

void PlainKeyboardState::SetToggled(int vk, bool on)
{
    int i = ToggleIndex(vk);
    if (i >= 0)
        toggled_[i] = on;
}

}  // namespace zt
