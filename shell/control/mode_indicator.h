#pragma once
#include <cstdint>
#include <string_view>

namespace zt {

// What the mode indicator says.
enum class ShellMode { Ready, Edit, Value, Label, Undecided, Point, Range, Wait, Step };

struct ModeLook {
    std::string_view Text;
    // High nibble: background, low nibble: text, both indexes of the 16 colours.
    std::uint8_t Colors;
};

constexpr ModeLook LookOf(ShellMode m)
{
    switch (m) {
    case ShellMode::Ready: return {"READY", 0x1F};
    case ShellMode::Edit: return {"EDIT", 0x3F};
    case ShellMode::Value: return {"VALUE", 0xB4};
    case ShellMode::Label: return {"LABEL", 0xB1};
    case ShellMode::Undecided: return {"?", 0xB4};
    case ShellMode::Point: return {"POINT", 0x70};
    case ShellMode::Range: return {"RANGE", 0xB1};
    case ShellMode::Wait: return {" WAIT! ", 0x4F};
    case ShellMode::Step: return {"Step", 0x4F};
    }
    return {"READY", 0x1F};
}

}  // namespace zt
