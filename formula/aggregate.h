#pragma once
// The running totals behind the list functions (@SUM, @AVG, ...) and the
// database functions (@QSUM, @QAVG, ...), and the fast walk over the
// numeric cells of a rectangle that feeds them.
#include <algorithm>
#include <cstdint>
#include <limits>

#include "core/cell_store.h"

namespace zt {

// What a list or database function reports of the values it accumulated.
enum class Statistic : std::uint8_t {
    Sum,
    Average,
    Count,
    Min,
    Max,
    Variance,        // population: divisor n
    Deviation,       // square root of Variance
    SampleVariance,  // divisor n - 1
    SampleDeviation,
};

// The statistic a list function (@SUM .. @STDU) or a database function
// (@QSUM .. @QSTD) reports, from its opcode.
Statistic StatisticOfOpcode(std::uint8_t op);

// Statistics of the spread need a second pass over the same values, which
// adds the squared deviations from the mean of the first.
inline bool NeedsSecondPass(Statistic s) { return s >= Statistic::Variance; }

struct Aggregate {
    std::int64_t Count = 0;  // 64 bits: a whole worksheet of values cannot wrap it
    double Sum = 0;
    double Min = std::numeric_limits<double>::infinity();
    double Max = -std::numeric_limits<double>::infinity();
    double Mean = 0;
    double SquaredDeviations = 0;
    bool SecondPass = false;

    void Add(double x)
    {
        if (SecondPass) {
            double d = x - Mean;
            SquaredDeviations += d * d;
            return;
        }
        ++Count;
        Sum += x;
        Min = std::min(Min, x);
        Max = std::max(Max, x);
    }

    // Ends the first pass; call only when something was accumulated.
    void BeginSecondPass()
    {
        Mean = Sum / static_cast<double>(Count);
        SquaredDeviations = 0;
        SecondPass = true;
    }
};

// The statistic of what was accumulated; false when it is undefined (an
// average or variance of too few values), which the caller turns into ERR.
bool StatisticValue(const Aggregate& a, Statistic s, double& value);

// Calls add(x) for the number of every formula, real or integer cell of the
// rectangle, row by row in column order; labels, string formulas and blanks
// are passed over. Returns false at the first numeric cell marked ERR.
// Walks the row lists itself: this loop carries @SUM over long columns.
template <class Add>
bool ForEachNumberInRange(const Engine& e, const TRange& r, Add add)
{
    if (!e.Cur)
        return true;
    const HeapAddr* heads = e.Cur->RowHeads.data();
    const int firstCol = r.FirstCol, lastCol = r.LastCol;
    for (int row = r.FirstRow; row <= r.LastRow; ++row) {
        const TCell* c = CellAt(e, heads[row]);
        while (c && c->Col < firstCol)
            c = NextCell(e, c);
        for (; c && c->Col <= lastCol; c = NextCell(e, c)) {
            switch (c->Kind & 0x0F) {
            case ckFormula:
            case ckReal: add(ReadReal(*c)); break;
            case ckInteger: add(ReadInteger(*c)); break;
            case ckFormula | kfError:
            case ckReal | kfError:
            case ckInteger | kfError: return false;
            default: break;
            }
        }
    }
    return true;
}

}  // namespace zt
