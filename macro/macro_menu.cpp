#include <algorithm>
#include <vector>

#include "core/cell_entry.h"
#include "core/cell_store.h"
#include "formula/cell_contents.h"
#include "macro/macro_interpreter.h"

namespace zt {
namespace {

constexpr int kMenuItemLimit = 15;
constexpr std::string_view kHintPrefix = "*  ";

bool IsBlank(const TCell* cell) { return !cell || BaseKind(cell->Kind) == ckBlank; }

// A cell's entry text without its label prefix; empty for no cell.
std::string MenuText(Engine& e, int row, int col)
{
    if (!ValidCoord(row, col))
        return {};
    PCell cell = FindCell(e, row, col);
    std::string text = cell ? CellContentsText(e, cell) : std::string();
    if (!text.empty() && IsLabelPrefix(text[0]))
        text.erase(0, 1);
    return text;
}

}  // namespace

// Item names stand in a row, their descriptions in the row below, and
// each item's macro two rows below its name; the column after the last
// item holds the title and the macro taken on Escape.
void MacroInterpreter::MenuBranchCommand()
{
    MacroAddress a;
    if (!ReadTargetCell(a))
        return;
    const int r = a.Range.FirstRow;
    const int c = a.Range.FirstCol;
    std::vector<std::string> items;
    for (int k = 0; k < kMenuItemLimit && ValidCoord(r, c + k) && !IsBlank(FindCell(e_, r, c + k)); ++k)
        items.push_back(MenuText(e_, r, c + k));
    if (items.empty())
        return;
    const int n = static_cast<int>(items.size());
    std::vector<std::string> hints;
    for (int k = 0; k < n; ++k) {
        const bool present = ValidCoord(r + 1, c + k) && FindCell(e_, r + 1, c + k);
        hints.push_back(present ? std::string(kHintPrefix) + MenuText(e_, r + 1, c + k) : std::string());
    }
    const std::string title = MenuText(e_, r + 1, c + n);
    const int choice = host_.MenuChoice(items, hints, title);
    if (!s_.MacroRunning)
        return;
    LoadMacroCell(r + 2, c + std::clamp(choice, 1, n + 1) - 1);
}

}  // namespace zt
