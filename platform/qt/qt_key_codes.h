#pragma once

namespace zt {

// The Qt key of a virtual key number; Qt::Key_unknown when Qt has none.
// Keypad keys (96..111) need Qt::KeypadModifier besides.
int QtKeyFromVirtualKey(int vk);

}  // namespace zt
