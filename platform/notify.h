#pragma once
#include <string_view>

namespace zt {

// Message boxes and the beep.
class Notify {
public:
    virtual ~Notify() = default;
    virtual void Beep() {}
    virtual void ShowMessage(std::string_view text) = 0;
};

}  // namespace zt
