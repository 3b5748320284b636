// @QSUM, @QAVG, @QCOUNT, @QMIN, @QMAX, @QVAR, @QSTD (criterion, input
// range, offset): the statistics of the cells `offset` columns right of the
// numeric cells of the input range that the criterion accepts, the
// criterion reading each input cell's number through @X.
#include <string>
#include <vector>

#include "core/scoped_sheet.h"
#include "formula/aggregate.h"
#include "formula/formula_argument.h"
#include "formula/function_support.h"
#include "formula/functions.h"
#include "formula/range_argument.h"

namespace zt {

namespace {

// The database functions take the opcodes from @QSUM to @QSTD.
constexpr std::uint8_t opQSum = 91;
constexpr std::uint8_t opQStd = 97;

// A numeric cell of the input range and the cell `offset` columns right of
// it, as read from the worksheet holding the range.
struct Candidate {
    double Key = 0;
    bool KeyError = false;
    double Value = 0;
    bool ValueError = false;
};

// The numeric cells of the input range, row by row, up to and including
// the first ERR one, past which nothing is selected.
std::vector<Candidate> ReadCandidates(Engine& e, const TRange& input, int offset)
{
    std::vector<Candidate> out;
    for (int row = input.FirstRow; row <= input.LastRow; ++row) {
        for (const TCell* c = FindFirstAtOrAfter(e, row, input.FirstCol); c && c->Col <= input.LastCol;
             c = NextCell(e, c)) {
            if (!IsNumericKind(c->Kind))
                continue;
            Candidate& k = out.emplace_back();
            k.KeyError = (c->Kind & kfError) != 0;
            if (k.KeyError)
                return out;
            k.Key = NumericValue(*c);
            int col = c->Col + offset;
            k.ValueError = col >= 0 && col < kCols && !CellNumber(e, row, col, k.Value);
        }
    }
    return out;
}

// Collects the values the criterion selects. The criterion is evaluated
// once per input cell, so the two passes of a variance see the same
// selection even when the criterion is volatile. False on ERR: an ERR
// input or selected cell, or a criterion that fails.
bool SelectValues(Engine& e, const std::string& criterion, const std::vector<Candidate>& candidates,
                  std::vector<double>& out)
{
    XValueScope keepX(e);
    for (const Candidate& k : candidates) {
        if (k.KeyError)
            return false;
        double accepted;
        if (!EvaluateAtX(e, criterion, k.Key, accepted))
            return false;
        if (accepted == 0)
            continue;
        if (k.ValueError)
            return false;
        out.push_back(k.Value);
    }
    return true;
}

// The candidates of the input range argument, which may lie in another
// worksheet file: only the cell reads happen there, the criterion is
// evaluated in this worksheet.
bool InputCandidates(EvalMachine& m, int offset, std::vector<Candidate>& candidates)
{
    RangeSource source;
    if (!AnyRangeArgument(m, m.Arg(1), source))
        return false;
    ScopedSheet sheet(m.E, source.Slot);
    candidates = ReadCandidates(m.E, source.Range, offset);
    return true;
}

void DatabaseStatistic(EvalMachine& m)
{
    const Statistic stat = StatisticOfOpcode(m.Op);
    std::string criterion;
    std::vector<Candidate> candidates;
    std::vector<double> values;
    bool ok = !m.Arg(2).Error && !m.Arg(0).Error && CompileFormulaArgument(m, 2, criterion) &&
              InputCandidates(m, ToInt16(m.Arg(0).Value), candidates) &&
              SelectValues(m.E, criterion, candidates, values);
    Aggregate a;
    for (double x : values)
        a.Add(x);
    if (NeedsSecondPass(stat) && a.Count > 0) {
        a.BeginSecondPass();
        for (double x : values)
            a.Add(x);
    }
    double v = 0;
    ok = ok && StatisticValue(a, stat, v);
    ResultNumber(m, 3, ok ? v : 0, false);
    if (!ok)
        m.E.Err.ErrorFlag = true;
}

}  // namespace

void RegisterDatabaseFunctions(HandlerTable& t)
{
    for (std::uint8_t op = opQSum; op <= opQStd; ++op)
        t[op] = DatabaseStatistic;
}

}  // namespace zt
