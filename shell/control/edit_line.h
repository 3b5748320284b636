#pragma once
#include <string>

namespace zt {

// The edit line while an entry is typed: its text and caret, the EDIT
// switch (arrows move the caret), and point mode's memory of the text typed
// before pointing began.
struct EditLine {
    std::string Text;
    int Caret = 0;
    bool Active = false;    // the edit line has the keyboard
    bool EditMode = false;  // F2: arrows move the caret
    bool Pointing = false;
    std::string PointText;  // the text typed before pointing began
    int PointRow = 0;       // where the pointer was when pointing began
    int PointCol = 0;
    int AbsMode = 0;        // F4 count; the upper bits hold it while a range is anchored
    bool Rejected = false;  // the last entry did not compile: shown in red

    void Insert(char ch);
    void Backspace();
    void DeleteAtCaret();
    void SetText(std::string text);  // caret to the end
    void Reset();
    // True when pointing may start from the text's last character.
    bool EndsWithOperator() const;
};

}  // namespace zt
