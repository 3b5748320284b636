// @SUM, @AVG, @COUNT, @MIN, @MAX, @VAR, @STD, @VARU, @STDU: any mix of
// ranges and plain values.
#include "core/scoped_sheet.h"
#include "formula/aggregate.h"
#include "formula/function_support.h"
#include "formula/functions.h"
#include "formula/opcodes.h"
#include "formula/range_argument.h"
#include "formula/range_cache.h"

namespace zt {

namespace {

enum : std::uint8_t {
    opSum = 80,
    opAvg = 81,
    opCount = 82,
    opMin = 83,
    opMax = 84,
    opVar = 87,
    opStd = 88,
    opVarU = 149,
    opStdU = 150,
};

// One pass over the n arguments, last to first: a range argument adds the
// numeric cells of its rectangle, any other argument its own number (a
// string counts as 0). False when a range holds an ERR cell or a plain
// argument is ERR: every ERR argument counts, not only the first.
bool AccumulateArguments(EvalMachine& m, int n, Aggregate& a)
{
    for (int i = 0; i < n; ++i) {
        const EvalSlot& s = m.Arg(i);
        if (!s.RangeOrigin) {
            if (s.Error)
                return false;
            a.Add(s.Value);
            continue;
        }
        RangeSource source;
        if (!AnyRangeArgument(m, s, source))
            return false;
        // Nothing accumulated yet: the running totals of the recalculation
        // give exactly what a walk of this range alone would.
        if (a.Count == 0 && !a.SecondPass && m.E.Runtime.Cache)
            if (std::optional<bool> ok = m.E.Runtime.Cache->Accumulate(m.E, source.Slot, source.Range, a)) {
                if (!*ok)
                    return false;
                continue;
            }
        ScopedSheet sheet(m.E, source.Slot);
        if (!ForEachNumberInRange(m.E, source.Range, [&a](double x) { a.Add(x); }))
            return false;
    }
    return true;
}

void ListStatistic(EvalMachine& m)
{
    const Statistic stat = StatisticOfOpcode(m.Op);
    const int n = ListCount(m);
    Aggregate a;
    bool ok = AccumulateArguments(m, n, a);
    if (ok && NeedsSecondPass(stat) && a.Count > 0) {
        a.BeginSecondPass();
        ok = AccumulateArguments(m, n, a);
    }
    double v = 0;
    ok = ok && StatisticValue(a, stat, v);
    // The range arguments' own slots hold a corner's value, whose ERR the
    // walk has already judged; only the flag decides.
    ResultNumber(m, n, ok ? v : 0, false);
    if (!ok)
        m.E.Err.ErrorFlag = true;
}

}  // namespace

void RegisterAggregateFunctions(HandlerTable& t)
{
    for (std::uint8_t op : {opSum, opAvg, opCount, opMin, opMax, opVar, opStd, opVarU, opStdU})
        t[op] = ListStatistic;
}

}  // namespace zt
