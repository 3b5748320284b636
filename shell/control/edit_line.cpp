#include "shell/control/edit_line.h"

#include <algorithm>
#include <string_view>

#include "core/engine.h"

namespace zt {

void EditLine::Insert(char ch)
{
    if (int(Text.size()) >= kMaxCellText)
        return;
    Caret = std::clamp(Caret, 0, int(Text.size()));
    Text.insert(Text.begin() + Caret, ch);
    ++Caret;
}

void EditLine::Backspace()
{
    Caret = std::clamp(Caret, 0, int(Text.size()));
    if (Caret == 0)
        return;
    Text.erase(Text.begin() + Caret - 1);
    --Caret;
}

void EditLine::DeleteAtCaret()
{
    Caret = std::clamp(Caret, 0, int(Text.size()));
    if (Caret < int(Text.size()))
        Text.erase(Text.begin() + Caret);
}

void EditLine::SetText(std::string text)
{
    Text = std::move(text);
    if (Text.size() > std::size_t(kMaxCellText))
        Text.resize(kMaxCellText);
    Caret = int(Text.size());
}

void EditLine::Reset()
{
    Text.clear();
    Caret = 0;
    Active = EditMode = Pointing = Rejected = false;
    PointText.clear();
    AbsMode = 0;
}

bool EditLine::EndsWithOperator() const
{
    return !Text.empty() && std::string_view("&(*+,-/@").find(Text.back()) != std::string_view::npos;
}

}  // namespace zt
