// @QSUM, @QAVG, @QCOUNT, @QMIN, @QMAX, @QVAR, @QSTD (criterion, input
// range, offset): the statistics of the cells `offset` columns right of the
// numeric cells of the input range that the criterion accepts, the
// criterion reading each input cell's number through @X.
#include <string>
#include <vector>

#include "formula/aggregate.h"
#include "formula/formula_argument.h"
#include "formula/function_support.h"
#include "formula/functions.h"
#include "formula/range_argument.h"

namespace zt {

namespace {

enum : std::uint8_t {
    opQSum = 91,
    opQAvg = 92,
    opQCount = 93,
    opQMin = 94,
    opQMax = 95,
    opQVar = 96,
    opQStd = 97,
};

Statistic StatisticOf(std::uint8_t op)
{
    switch (op) {
    case opQAvg: return Statistic::Average;
    case opQCount: return Statistic::Count;
    case opQMin: return Statistic::Min;
    case opQMax: return Statistic::Max;
    case opQVar: return Statistic::Variance;
    case opQStd: return Statistic::Deviation;
    default: return Statistic::Sum;
    }
}

// Collects the values the criterion selects. The criterion is evaluated
// once per input cell, so the two passes of a variance see the same
// selection even when the criterion is volatile. False on ERR: an ERR
// input or selected cell, or a criterion that fails.
bool SelectValues(Engine& e, const std::string& criterion, const TRange& input, int offset, std::vector<double>& out)
{
    XValueScope keepX(e);
    for (int row = input.FirstRow; row <= input.LastRow; ++row) {
        for (const TCell* c = FindFirstAtOrAfter(e, row, input.FirstCol); c && c->Col <= input.LastCol;
             c = NextCell(e, c)) {
            if (!IsNumericKind(c->Kind))
                continue;
            if (c->Kind & kfError)
                return false;
            double accepted;
            if (!EvaluateAtX(e, criterion, NumericValue(*c), accepted))
                return false;
            if (accepted == 0)
                continue;
            int col = c->Col + offset;
            double v = 0;
            if (col >= 0 && col < kCols && !CellNumber(e, row, col, v))
                return false;
            out.push_back(v);
        }
    }
    return true;
}

void DatabaseStatistic(EvalMachine& m)
{
    const Statistic stat = StatisticOf(m.Op);
    std::string criterion;
    TRange input;
    std::vector<double> values;
    bool ok = !m.Arg(2).Error && !m.Arg(0).Error && CompileFormulaArgument(m, 2, criterion) &&
              SheetRangeArgument(m, m.Arg(1), input) &&
              SelectValues(m.E, criterion, input, ToInt16(m.Arg(0).Value), values);
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
