// The format tools of the status bar: style, typeface, size, speed format
// and colours of the selected cells, and what they show for the pointer's cell.
#include <algorithm>

#include "core/cell_store.h"
#include "core/number_format.h"
#include "core/undo.h"
#include "shell/control/shell.h"
#include "shell/drawing/cell_drawing.h"

namespace zt {

namespace {

// Runs fn on every cell of the selection, creating missing ones so that an
// empty cell can carry a format. A selection larger than kCreateLimit gets
// new cells only inside the used area, so that formatting whole columns
// does not fill the heap with empty cells. Stops at the first cell that
// cannot be had and reports it.
constexpr long kCreateLimit = 65536;

template <class Fn>
void ForSelectedCells(Engine& e, const TRange& sel, Fn fn)
{
    TakeUndoSnapshot(e);
    long positions = long(sel.LastRow - sel.FirstRow + 1) * (sel.LastCol - sel.FirstCol + 1);
    for (int r = sel.FirstRow; r <= sel.LastRow; ++r) {
        for (int c = sel.FirstCol; c <= sel.LastCol; ++c) {
            bool create = positions <= kCreateLimit || (r <= e.Cur->MaxRow && c <= e.Cur->MaxCol);
            PCell cell = create ? FindOrCreateCell(e, r, c) : FindCell(e, r, c);
            if (cell) {
                fn(*cell);
            } else if (create) {
                ReportPendingError(e);
                e.Cur->Modified = true;
                return;
            }
        }
    }
    e.Cur->Modified = true;
}

}  // namespace

void Shell::ToggleStyle(int bit)
{
    if (!active_ || bit <= 0 || bit > 4)
        return;
    RestoreContext(e_, active_->Slot);
    GridState& g = active_->Pane();
    PCell current = FindCell(e_, g.Row(), g.Col());
    bool on = !(current && (current->Style & bit));
    ForSelectedCells(e_, g.Selection(), [&](TCell& c) {
        c.Style = std::uint8_t(on ? (c.Style | bit) : (c.Style & ~bit));
    });
    RepaintAll();
}

void Shell::ApplyAlignment(int alignment)
{
    if (!active_ || alignment < 0 || alignment > 7)
        return;
    RestoreContext(e_, active_->Slot);
    ForSelectedCells(e_, active_->Pane().Selection(), [alignment](TCell& c) {
        c.Style = std::uint8_t((c.Style & 0x8F) | alignment << 4);
    });
    RepaintAll();
}

void Shell::ApplyTypeface(const std::string& name)
{
    if (!active_ || name.empty())
        return;
    RestoreContext(e_, active_->Slot);
    std::vector<std::string>& faces = e_.Cur->Window.Typefaces;
    auto it = std::find(faces.begin(), faces.end(), name);
    std::uint8_t index;
    if (name == e_.Cur->Window.FontName) {
        index = 255;
    } else if (it != faces.end()) {
        index = std::uint8_t(it - faces.begin());
    } else if (faces.size() < 255) {
        faces.push_back(name);
        index = std::uint8_t(faces.size() - 1);
    } else {
        Beep();
        return;
    }
    ForSelectedCells(e_, active_->Pane().Selection(), [index](TCell& c) { c.Typeface = index; });
    RepaintAll();
}

void Shell::ApplyFontSize(int sizeIndex)
{
    if (!active_ || sizeIndex < 0 || sizeIndex > 10)
        return;
    RestoreContext(e_, active_->Slot);
    ForSelectedCells(e_, active_->Pane().Selection(), [sizeIndex](TCell& c) { c.FontSize = std::uint8_t(sizeIndex); });
    RepaintAll();
}

void Shell::ApplyFormatSpec(const std::string& item)
{
    if (!active_)
        return;
    std::string code = item.substr(0, item.find(','));
    std::uint8_t format = ParseFormatSpec(code);
    RestoreContext(e_, active_->Slot);
    ForSelectedCells(e_, active_->Pane().Selection(), [format](TCell& c) {
        c.Format = std::uint8_t((c.Format & kFormatProtected) | (format & kFormatCodeMask));
    });
    RepaintAll();
}

void Shell::ApplyColor(bool background, int paletteIndex)
{
    if (!active_ || paletteIndex < -1 || paletteIndex > 15)
        return;
    RestoreContext(e_, active_->Slot);
    ForSelectedCells(e_, active_->Pane().Selection(), [&](TCell& c) {
        if (background)
            c.Colors = paletteIndex < 0 ? (c.Colors | 0x80000000u)
                                        : ((c.Colors & 0x7F000000u) | kPalette16[paletteIndex]);
        else
            c.Colors = paletteIndex < 0 ? (c.Colors | 0x40000000u)
                                        : ((c.Colors & 0xB0FFFFFFu) | std::uint32_t(paletteIndex) << 24);
    });
    RepaintAll();
}

CellLook Shell::CurrentLook()
{
    CellLook look;
    if (!active_ || !e_.Slots[active_->Slot])
        return look;
    RestoreContext(e_, active_->Slot);
    const WindowModel& m = e_.Cur->Window;
    PCell c = FindCell(e_, active_->Pane().Row(), active_->Pane().Col());
    look.Typeface = m.FontName;
    look.Size = std::to_string(m.FontHeight) + " *";
    if (!c)
        return look;
    look.Bold = c->Style & 1;
    look.Italic = c->Style & 2;
    look.Underline = c->Style & 4;
    if (c->Typeface != 255 && c->Typeface < m.Typefaces.size())
        look.Typeface = m.Typefaces[c->Typeface];
    if (c->FontSize >= 1 && c->FontSize <= 10)
        look.Size = std::to_string(kFontSizes[c->FontSize - 1]);
    if (!(c->Colors & 0x80000000u)) {
        ColorRef bg = c->Colors & 0xFFFFFF;
        auto it = std::find(std::begin(kPalette16), std::end(kPalette16), bg);
        look.Background = it == std::end(kPalette16) ? -1 : int(it - std::begin(kPalette16));
    }
    if (!(c->Colors & 0x40000000u))
        look.Foreground = int(c->Colors >> 24 & 0x0F);
    look.Editable = !(e_.Cur->Settings.Protect && (c->Format & kFormatProtected));
    return look;
}

void Shell::PromptPicked(const std::string& text)
{
    if (!prompt_.Open)
        return;
    prompt_.Text = text.substr(0, text.find(':'));
    prompt_.Typed = true;
    Refresh();
}

}  // namespace zt
