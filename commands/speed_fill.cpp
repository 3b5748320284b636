#include "commands/speed_fill.h"

#include <string>

#include "commands/copy_cell.h"
#include "core/cell_entry.h"
#include "core/cell_store.h"
#include "core/undo.h"
#include "formula/recalc.h"

namespace zt {

namespace {

bool IsUpper(char ch) { return ch >= 'A' && ch <= 'Z'; }
bool IsLower(char ch) { return ch >= 'a' && ch <= 'z'; }

// The n-th label of column-letter order counted from 0 = A: 25 is Z, 26 AA.
std::string LetterLabel(long n, char a)
{
    std::string letters;
    for (++n; n > 0; n = (n - 1) / 26)
        letters.insert(letters.begin(), static_cast<char>(a + (n - 1) % 26));
    return letters;
}

// Calls f(row, col, k) for every cell of the selection after its first, k
// counting from 1; down the columns or across the rows. Stops when f
// returns false.
template <class F>
void ForEachFollowingCell(const TRange& r, bool downColumns, F f)
{
    long k = 0;
    int outerFirst = downColumns ? r.FirstCol : r.FirstRow;
    int outerLast = downColumns ? r.LastCol : r.LastRow;
    int innerFirst = downColumns ? r.FirstRow : r.FirstCol;
    int innerLast = downColumns ? r.LastRow : r.LastCol;
    for (int outer = outerFirst; outer <= outerLast; ++outer) {
        for (int inner = innerFirst; inner <= innerLast; ++inner, ++k) {
            if (k == 0)
                continue;
            int row = downColumns ? inner : outer;
            int col = downColumns ? outer : inner;
            if (!f(row, col, k))
                return;
        }
    }
}

void FillLetters(Engine& e, const TRange& r, char first)
{
    char a = IsUpper(first) ? 'A' : 'a';
    ForEachFollowingCell(r, false, [&](int row, int col, long k) {
        if (PositionProtected(e, row, col))
            return true;
        EnterCell(e, "'" + LetterLabel(first - a + k, a), row, col);
        return !e.Err.ErrorFlag;
    });
}

void FillCopies(Engine& e, const TRange& r)
{
    ForEachFollowingCell(r, false, [&](int row, int col, long) {
        return CopyCell(e, r.FirstRow, r.FirstCol, row, col);
    });
}

void FillNumbers(Engine& e, const TRange& r, double start)
{
    bool down = r.LastRow - r.FirstRow >= r.LastCol - r.FirstCol;
    e.Err.Clear();
    ForEachFollowingCell(r, down, [&](int row, int col, long k) {
        StoreValue(e, row, col, start + static_cast<double>(k), false);
        if (!e.Err.ErrorFlag)
            return true;
        ReportPendingError(e);
        return false;
    });
}

}  // namespace

void SpeedFill(Engine& e, TRange selection)
{
    if (!e.Cur || !RangeIsDefined(selection))
        return;
    TRange r = OrderedRange(selection);
    PCell first = FindCell(e, r.FirstRow, r.FirstCol);
    std::uint8_t kind = BaseKind(KindOf(first));
    if (!first || kind == ckBlank) {
        if (e.Notifier)
            e.Notifier->Beep();
        return;
    }
    TakeUndoSnapshot(e);
    std::string_view label = kind == ckString ? TextOf(e, first->Text) : std::string_view{};
    if (label.size() == 2 && (IsUpper(label[1]) || IsLower(label[1])))
        FillLetters(e, r, label[1]);
    else if (kind == ckString || IsFormulaKind(kind))
        FillCopies(e, r);
    else
        FillNumbers(e, r, NumericValue(*first));
    e.Cur->Modified = true;
    if (!e.Settings().ManualCalc)
        RecalcRange(e, r);
}

}  // namespace zt
