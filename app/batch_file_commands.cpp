#include "app/batch_file_commands.h"

#include "app/batch.h"
#include "app/batch_args.h"
#include "app/batch_macros.h"
#include "core/range_names.h"
#include "core/address.h"
#include "core/cell_store.h"
#include "files/worksheet_io.h"

namespace zt {

namespace {

bool ArgFile(BatchSession& s, std::string_view text, std::string& file)
{
    file = std::string(Trim(text));
    if (file.empty())
        s.Fail("File Name Expected");
    return !file.empty();
}

// "values" or "formulas", then "replace", "sum" or "difference", in any case.
bool MergeWord(std::string_view word, MergeRequest& m)
{
    if (SameWord(word, "values") || SameWord(word, "formulas")) {
        m.ValuesOnly = SameWord(word, "values");
        return true;
    }
    if (SameWord(word, "replace"))
        m.Action = MergeAction::Replace;
    else if (SameWord(word, "sum"))
        m.Action = MergeAction::Sum;
    else if (SameWord(word, "difference"))
        m.Action = MergeAction::Difference;
    else
        return false;
    return true;
}

}  // namespace

// A worksheet with a range named AUTOEXEC starts the macro there once it is open.
void CmdOpen(BatchSession& s, std::string_view rest)
{
    std::string file;
    if (!ArgFile(s, rest, file) || !RetrieveWorksheet(s.Eng(), file))
        return;
    int entry = FindRangeName(s.Eng(), "AUTOEXEC");
    if (entry <= 0 || !s.StartupMacros)
        return;
    TRange r = RangeOfName(s.Eng(), entry);
    BatchMacros& m = s.Macros();
    m.TakeView();
    m.RunAt(r.FirstRow, r.FirstCol);
    m.GiveView();
}

void CmdSave(BatchSession& s, std::string_view rest)
{
    std::string file(Trim(rest));
    if (file.empty())
        file = s.Eng().Cur->FilePath;
    if (ArgFile(s, file, file))
        SaveWorksheet(s.Eng(), file);
}

void CmdExtract(BatchSession& s, std::string_view rest)
{
    TRange r;
    std::string file;
    if (ArgRange(s, NextWord(rest), r) && ArgFile(s, rest, file))
        ExtractRange(s.Eng(), r, file);
}

void CmdMerge(BatchSession& s, std::string_view rest)
{
    std::string file(NextWord(rest));
    MergeRequest m;
    if (!ArgFile(s, file, file) || !ArgCell(s, NextWord(rest), m.TargetRow, m.TargetCol))
        return;
    std::string_view word = NextWord(rest);
    while (!word.empty() && MergeWord(word, m))
        word = NextWord(rest);
    m.Source = std::string(word);
    if (NoMoreArgs(s, rest))
        MergeWorksheet(s.Eng(), file, m);
}

void CmdUplink(BatchSession& s, std::string_view rest)
{
    if (NoMoreArgs(s, rest))
        UpdateFileLinks(s.Eng());
}

void CmdPrint(BatchSession& s, std::string_view rest)
{
    Engine& e = s.Eng();
    std::string_view text = Trim(rest);
    TRange r{0, 0, e.Cur->MaxCol, e.Cur->MaxRow};
    if (!SameWord(text, "all") && !ArgRange(s, text, r))
        return;
    for (int row = r.FirstRow; row <= r.LastRow; ++row) {
        for (const TCell* c = FindFirstAtOrAfter(e, row, r.FirstCol); c && c->Col <= r.LastCol; c = NextCell(e, c))
            if ((c->Kind & 7) != ckBlank)
                s.Print(FormatAddress(e, row, c->Col) + "\t" + CellValueText(e, c));
    }
}

}  // namespace zt
