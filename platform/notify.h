#pragma once
#include <string_view>

namespace zt {

// The buttons of a question and the one the user chose.
enum class AskButtons { YesNo, YesNoCancel };
enum class Answer { Yes, No, Cancel };

// Message boxes and the beep.
class Notify {
public:
    virtual ~Notify() = default;
    virtual void Beep() {}
    virtual void ShowMessage(std::string_view text) = 0;
    // A question; without anyone to answer it, the safe answer is Cancel
    // (or No where there is no Cancel), which changes nothing.
    virtual Answer Ask(std::string_view, AskButtons buttons)
    {
        return buttons == AskButtons::YesNoCancel ? Answer::Cancel : Answer::No;
    }
};

}  // namespace zt
