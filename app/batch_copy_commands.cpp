#include "app/batch_copy_commands.h"

#include <array>
#include <string>

#include "app/batch.h"
#include "app/batch_args.h"
#include "commands/copy_range.h"
#include "commands/copy_values.h"
#include "commands/insert_delete.h"
#include "formula/evaluator.h"

namespace zt {

namespace {

void CopyOrMove(BatchSession& s, std::string_view rest, bool move)
{
    TRange from, to;
    if (ArgRange(s, NextWord(rest), from) && ArgRange(s, NextWord(rest), to) && NoMoreArgs(s, rest))
        CopyRange(s.Eng(), move, from, to);
}

// The type of a special copy by its word or its number.
bool ArgCopyType(BatchSession& s, std::string_view word, int& type)
{
    static constexpr std::array<std::string_view, 5> kWords{"formula", "value", "transpose", "scale", "invert"};
    for (std::size_t i = 0; i < kWords.size(); ++i) {
        if (SameWord(word, kWords[i]) || word == std::to_string(i)) {
            type = static_cast<int>(i);
            return true;
        }
    }
    s.Fail("Expected formula, value, transpose, scale or invert: " + std::string(word));
    return false;
}

bool ArgFactor(BatchSession& s, std::string_view text, double& factor)
{
    if (text.empty())
        return true;
    TextValue v = EvaluateTypedExpression(s.Eng(), text);
    if (v.Error || v.CompileFailed || v.IsString) {
        s.Fail("Invalid Number: " + std::string(text));
        return false;
    }
    factor = v.Number;
    return true;
}

// A range and, for rows, the optional word "across".
bool ArgRows(BatchSession& s, std::string_view rest, TRange& r, bool& across)
{
    if (!ArgRange(s, NextWord(rest), r))
        return false;
    std::string_view word = NextWord(rest);
    across = SameWord(word, "across");
    if (!word.empty() && !across) {
        s.Fail("Expected across: " + std::string(word));
        return false;
    }
    if (!NoMoreArgs(s, rest))
        return false;
    r = OrderedRange(r);
    return true;
}

// An insertion or deletion of rows or columns: the first one and how many.
using StructureOperation = void (*)(Engine&, int first, int count);

void RowCommand(BatchSession& s, std::string_view rest, StructureOperation within, StructureOperation across)
{
    TRange r;
    bool everySheet = false;
    if (ArgRows(s, rest, r, everySheet))
        (everySheet ? across : within)(s.Eng(), r.FirstRow, r.LastRow - r.FirstRow + 1);
}

void ColumnCommand(BatchSession& s, std::string_view rest, StructureOperation operation)
{
    TRange r;
    if (ArgRange(s, Trim(rest), r)) {
        r = OrderedRange(r);
        operation(s.Eng(), r.FirstCol, r.LastCol - r.FirstCol + 1);
    }
}

}  // namespace

void CmdCopy(BatchSession& s, std::string_view rest) { CopyOrMove(s, rest, false); }
void CmdMove(BatchSession& s, std::string_view rest) { CopyOrMove(s, rest, true); }

void CmdCopyValues(BatchSession& s, std::string_view rest)
{
    int type = 0;
    TRange from, to;
    double factor = 1;
    if (ArgCopyType(s, NextWord(rest), type) && ArgRange(s, NextWord(rest), from) &&
        ArgRange(s, NextWord(rest), to) && ArgFactor(s, Trim(rest), factor))
        CopyValues(s.Eng(), type, from, to, factor);
}

void CmdInsertRows(BatchSession& s, std::string_view rest) { RowCommand(s, rest, InsertRows, InsertRowsAcross); }
void CmdDeleteRows(BatchSession& s, std::string_view rest) { RowCommand(s, rest, DeleteRows, DeleteRowsAcross); }

void CmdInsertColumns(BatchSession& s, std::string_view rest) { ColumnCommand(s, rest, InsertColumns); }
void CmdDeleteColumns(BatchSession& s, std::string_view rest) { ColumnCommand(s, rest, DeleteColumns); }

void CmdPageBreak(BatchSession& s, std::string_view rest)
{
    int row, col;
    if (ArgCell(s, Trim(rest), row, col))
        InsertPageBreak(s.Eng(), row, col);
}

}  // namespace zt
