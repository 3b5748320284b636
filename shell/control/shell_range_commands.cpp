// The range commands of the menus, prompts and tool buttons: copy and
// move, the special copies, the clipboard, and rows and columns.
#include "commands/clipboard_transfer.h"
#include "commands/copy_range.h"
#include "commands/copy_values.h"
#include "commands/insert_delete.h"
#include "core/address.h"
#include "formula/evaluator.h"
#include "formula/format_number.h"
#include "shell/control/shell.h"

namespace zt {

namespace {

// Shows the hourglass for the lifetime of a command.
class BusyScope {
public:
    explicit BusyScope(ShellView& view) : view_(view) { view_.ShowBusy(true); }
    ~BusyScope() { view_.ShowBusy(false); }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    ShellView& view_;
};

const char* PromptCaption(Structure what)
{
    switch (what) {
    case Structure::InsertRows:
    case Structure::InsertRowsAcross:
    case Structure::PageBreak: return "INSERT Row : Specify Range";
    case Structure::DeleteRows:
    case Structure::DeleteRowsAcross: return "DELETE Row : Specify Range";
    case Structure::InsertColumns: return "INSERT Col : Specify Range";
    case Structure::DeleteColumns: return "Delete Col : Specify Range";
    }
    return "";
}

// The value of the Copy dialog's factor text; 1 when it has none.
double FactorValue(Engine& e, const std::string& text, bool& ok)
{
    TextValue v = EvaluateTypedExpression(e, text);
    ok = !v.Error && !v.CompileFailed && !v.IsString;
    return ok ? v.Number : 1;
}

}  // namespace

void Shell::CopyWithPrompts(bool move)
{
    if (!active_)
        return Beep();
    std::string from = move ? "MOVE: From Range" : "COPY: From Range";
    std::string to = move ? "MOVE: TO Range" : "COPY: TO Range";
    SpecifyRange(from, [this, move, to](const std::string& fromText) {
        TRange source = RangeFromText(fromText);
        if (!RangeIsDefined(source))
            return;
        SpecifyRange(to, [this, move, source](const std::string& toText) {
            TRange dest = RangeFromText(toText);
            BusyScope busy(*view_);
            if (RangeIsDefined(dest))
                CopyRange(e_, move, source, dest);
            RepaintAll();
        }, kUndefinedRange);
    }, active_->Pane().Selection());
}

void Shell::CopyDialog()
{
    if (!active_)
        return Beep();
    GridState& g = active_->Pane();
    CopyDialogFields fields;
    fields.From = FormatRange(e_, g.Selection());
    fields.To = FormatAddress(e_, g.Row(), g.Col());
    fields.EvaluateFactor = [this](const std::string& text) {
        bool ok = false;
        double v = FactorValue(e_, text, ok);
        return ok ? FormatNumber(v) : text;
    };
    if (!view_->ChooseCopy(fields))
        return;
    TRange source = RangeFromText(fields.From);
    if (!RangeIsDefined(source))
        return;
    TRange dest = RangeFromText(fields.To);
    if (!RangeIsDefined(dest))
        return;
    bool ok = false;
    double factor = FactorValue(e_, fields.Factor, ok);
    if (!ok && fields.Type == kCopyScale)
        return Beep();
    BusyScope busy(*view_);
    CopyValues(e_, fields.Type, source, dest, factor);
    RepaintAll();
}

void Shell::SpecialCopyWithPrompts(int tag)
{
    // The menu's order: value, transpose, scale, invert; "&Formula" has no
    // prompts of its own.
    static constexpr struct { int Type; const char* Caption; double Factor; } kKinds[] = {
        {kCopyValue, "COPY VALUE: Specify Range", 1},
        {kCopyTranspose, "TRANSPOSE VALUE: Specify Range", 1},
        {kCopyScale, "SCALE VALUE: Specify Range", 2},
        {kCopyInvert, "INVERT VALUE: Specify Range", 1},
    };
    if (!active_ || tag < 0 || tag >= int(std::size(kKinds)))
        return Beep();
    auto kind = kKinds[tag];
    SpecifyRange(kind.Caption, [this, kind](const std::string& fromText) {
        TRange source = RangeFromText(fromText);
        if (!RangeIsDefined(source))
            return;
        SpecifyRange("OUTPUT Range", [this, kind, source](const std::string& toText) {
            TRange dest = RangeFromText(toText);
            BusyScope busy(*view_);
            if (RangeIsDefined(dest))
                CopyValues(e_, kind.Type, source, dest, kind.Factor);
            RepaintAll();
        }, kUndefinedRange);
    }, active_->Pane().Selection());
}

void Shell::CutOrCopy(bool cut)
{
    if (!active_ || !platform_.Clip)
        return Beep();
    ClipboardCopy(e_, *platform_.Clip, active_->Pane().Selection(), cut);
    RepaintAll();
}

void Shell::Paste()
{
    if (!active_ || !platform_.Clip || !platform_.Clip->HasText())
        return Beep();
    TRange at = OrderedRange(active_->Pane().Selection());
    BusyScope busy(*view_);
    ClipboardPaste(e_, *platform_.Clip, at.FirstRow, at.FirstCol);
    RepaintAll();
}

void Shell::ChangeStructure(Structure what, bool prompt)
{
    if (!active_)
        return Beep();
    auto apply = [this, what](TRange r) {
        BusyScope busy(*view_);
        r = OrderedRange(r);
        int rows = r.LastRow - r.FirstRow + 1;
        int cols = r.LastCol - r.FirstCol + 1;
        switch (what) {
        case Structure::InsertRows: InsertRows(e_, r.FirstRow, rows); break;
        case Structure::DeleteRows: DeleteRows(e_, r.FirstRow, rows); break;
        case Structure::InsertColumns: InsertColumns(e_, r.FirstCol, cols); break;
        case Structure::DeleteColumns: DeleteColumns(e_, r.FirstCol, cols); break;
        case Structure::InsertRowsAcross: InsertRowsAcross(e_, r.FirstRow, rows); break;
        case Structure::DeleteRowsAcross: DeleteRowsAcross(e_, r.FirstRow, rows); break;
        case Structure::PageBreak: InsertPageBreak(e_, r.FirstRow, r.FirstCol); break;
        }
        RepaintAll();
    };
    TRange selection = active_->Pane().Selection();
    if (!prompt)
        return apply(selection);
    SpecifyRange(PromptCaption(what), [this, apply](const std::string& text) {
        TRange r = RangeFromText(text);
        if (RangeIsDefined(r))
            apply(r);
    }, selection);
}

}  // namespace zt
