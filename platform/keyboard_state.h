#pragma once

namespace zt {

// The toggle state of the lock keys (Insert 45, Caps Lock 20, Num Lock 144,
// Scroll Lock 145), by virtual key number. The status panels show it and
// clicking a panel flips it. Any other key is never toggled.
class KeyboardState {
public:
    virtual ~KeyboardState() = default;
    virtual bool IsToggled(int vk) const = 0;
    virtual void SetToggled(int vk, bool on) = 0;
    void Flip(int vk) { SetToggled(vk, !IsToggled(vk)); }
};

// The program's own copy of the four toggles; all start off.
class PlainKeyboardState : public KeyboardState {
public:
    bool IsToggled(int vk) const override;
    void SetToggled(int vk, bool on) override;

private:
    bool toggled_[4] = {};  // Insert, Caps Lock, Num Lock, Scroll Lock
};

}  // namespace zt
