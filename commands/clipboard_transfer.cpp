#include "commands/clipboard_transfer.h"

#include <algorithm>
#include <string>
#include <vector>

#include "commands/clipboard_item.h"
#include "commands/copy_cell.h"
#include "commands/erase_range.h"
#include "core/cell_entry.h"
#include "core/cell_store.h"
#include "core/cell_text.h"
#include "core/undo.h"
#include "formula/recalc.h"

namespace zt {

namespace {

bool FitsClipboard(std::size_t size) { return size < kClipboardLimit; }  // leaves room for the 0 byte

std::string TrimBlanks(const std::string& text)
{
    std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// What the cell shows in its column. A label runs on past its column on the
// screen, so when the column shows only the beginning of one, the whole
// label is taken.
std::string ShownText(Engine& e, const TCell& cell)
{
    std::string shown = TrimBlanks(RenderRow(e, cell.Row, cell.Col, cell.Col));
    if (IsLabelOrStrFormula(cell.Kind) && !shown.empty()) {
        std::string label = TrimBlanks(LabelText(e, &cell));
        if (label.size() > shown.size() && label.starts_with(shown))
            shown = std::move(label);
    }
    BlankSeparators(shown);
    return TrimBlanks(shown);
}

// Both renderings of the range; false as soon as either outgrows the clipboard.
bool Render(Engine& e, const TRange& r, std::string& privateText, std::string& plainText)
{
    bool guarded = e.Settings().Protect;
    for (int row = r.FirstRow; row <= r.LastRow; ++row) {
        PCell c = FindFirstAtOrAfter(e, row, r.FirstCol);
        for (int col = r.FirstCol; col <= r.LastCol; ++col) {
            if (col > r.FirstCol) {
                privateText += '\t';
                plainText += '\t';
            }
            if (!c || c->Col != col)
                continue;
            // Under protection the entries of protected cells stay inside the worksheet.
            if (!guarded || !(c->Format & kFormatProtected))
                privateText += PrivateItem(e, c);
            plainText += ShownText(e, *c);
            c = NextCell(e, c);
        }
        privateText += "\r\n";
        plainText += "\r\n";
        if (!FitsClipboard(privateText.size()) || !FitsClipboard(plainText.size()))
            return false;
    }
    return true;
}

// The lines of a clipboard text: a run of CR and LF ends a line, so no line
// is empty.
std::vector<std::string_view> SplitLines(std::string_view text)
{
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        std::size_t end = text.find_first_of("\r\n");
        if (end != 0)
            lines.push_back(text.substr(0, end));
        if (end == std::string_view::npos)
            break;
        text.remove_prefix(end);
        std::size_t next = text.find_first_not_of("\r\n");
        text.remove_prefix(next == std::string_view::npos ? text.size() : next);
    }
    return lines;
}

std::vector<std::string_view> SplitItems(std::string_view line)
{
    std::vector<std::string_view> items;
    for (;;) {
        std::size_t tab = line.find('\t');
        items.push_back(line.substr(0, tab));
        if (tab == std::string_view::npos)
            return items;
        line.remove_prefix(tab + 1);
    }
}

// Pastes one item; false when an error stops the paste.
bool PasteItem(Engine& e, std::string_view item, bool privateFormat, int row, int col)
{
    // Plain text from another program has no attributes: its ";" is text.
    ItemParts parts = privateFormat ? SplitPrivateItem(item) : ItemParts{item, {}, false};
    if (parts.Entry.empty()) {
        // The pasted block replaces what was there, holes included.
        if (!PositionProtected(e, row, col))
            ClearCell(e, FindCell(e, row, col));
    } else {
        EnterCell(e, parts.Entry, row, col);
        if (e.Err.ErrorFlag) {
            // Protection and memory failures have been reported; a formula
            // that does not compile has no message of its own.
            if (e.Err.ErrorText.empty())
                ReportError(e, kCopyError);
            return false;
        }
    }
    if (!parts.HasAttributes || PositionProtected(e, row, col))
        return true;
    PCell cell = FindOrCreateCell(e, row, col);
    if (!cell) {
        ReportPendingError(e);
        return false;
    }
    ApplyItemAttributes(parts.Attributes, *cell);
    return true;
}

}  // namespace

bool ClipboardCopy(Engine& e, Clipboard& clip, TRange range, bool cut)
{
    if (!e.Cur || !RangeIsDefined(range))
        return false;
    TRange r = OrderedRange(range);
    if (!ValidCoord(r.FirstRow, r.FirstCol) || !ValidCoord(r.LastRow, r.LastCol))
        return false;
    std::string privateText;
    std::string plainText;
    if (!Render(e, r, privateText, plainText)) {
        ReportError(e, kClipboardTooLarge);
        return false;
    }
    clip.SetData(privateText, plainText);
    if (cut)
        EraseRange(e, r);
    return true;
}

bool ClipboardPaste(Engine& e, const Clipboard& clip, int row, int col)
{
    if (!e.Cur)
        return false;
    std::string text = clip.PrivateText();
    bool privateFormat = !text.empty();
    if (!privateFormat)
        text = clip.PlainText();
    // The system's text ends at its first 0 byte.
    text.resize(std::min(text.size(), text.find('\0')));
    if (!FitsClipboard(text.size())) {
        ReportError(e, kClipboardTooLarge);
        return false;
    }
    std::vector<std::vector<std::string_view>> block;
    std::size_t width = 0;
    for (std::string_view line : SplitLines(text)) {
        block.push_back(SplitItems(line));
        width = std::max(width, block.back().size());
    }
    if (block.empty())
        return false;
    // A block that does not fit below and right of the target is refused
    // before anything changes, as the range copy does.
    int lastRow = row + static_cast<int>(block.size()) - 1;
    int lastCol = col + static_cast<int>(width) - 1;
    if (!ValidCoord(row, col) || !ValidCoord(lastRow, lastCol)) {
        ReportError(e, kCopyError);
        return false;
    }

    TakeUndoSnapshot(e);
    e.Cur->Modified = true;
    bool complete = true;
    for (std::size_t k = 0; k < block.size() && complete; ++k) {
        for (std::size_t m = 0; m < block[k].size() && complete; ++m)
            complete = PasteItem(e, block[k][m], privateFormat, row + static_cast<int>(k), col + static_cast<int>(m));
    }
    // Cleared positions and changed formats reach the formulas that read them.
    if (!e.Settings().ManualCalc) {
        TRange pasted{static_cast<std::int16_t>(col), static_cast<std::int16_t>(row), static_cast<std::int16_t>(lastCol),
                      static_cast<std::int16_t>(lastRow)};
        RecalcRange(e, pasted);
    }
    return complete;
}

}  // namespace zt
