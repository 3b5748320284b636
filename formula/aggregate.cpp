#include "formula/aggregate.h"

#include <cmath>

namespace zt {

bool StatisticValue(const Aggregate& a, Statistic s, double& value)
{
    const double n = static_cast<double>(a.Count);
    switch (s) {
    case Statistic::Sum: value = a.Sum; return true;
    case Statistic::Count: value = n; return true;
    // Nothing accumulated: the extremes are 0.
    case Statistic::Min: value = a.Count ? a.Min : 0; return true;
    case Statistic::Max: value = a.Count ? a.Max : 0; return true;
    case Statistic::Average:
        if (a.Count == 0)
            return false;
        value = a.Sum / n;
        return true;
    case Statistic::Variance:
    case Statistic::Deviation:
        if (a.Count == 0)
            return false;
        value = a.SquaredDeviations / n;
        break;
    case Statistic::SampleVariance:
    case Statistic::SampleDeviation:
        if (a.Count < 2)
            return false;
        value = a.SquaredDeviations / (n - 1);
        break;
    }
    if (s == Statistic::Deviation || s == Statistic::SampleDeviation)
        value = std::sqrt(value);
    return true;
}

Statistic StatisticOfOpcode(std::uint8_t op)
{
    switch (op) {
    case 81: case 92: return Statistic::Average;     // @AVG, @QAVG
    case 82: case 93: return Statistic::Count;       // @COUNT, @QCOUNT
    case 83: case 94: return Statistic::Min;         // @MIN, @QMIN
    case 84: case 95: return Statistic::Max;         // @MAX, @QMAX
    case 87: case 96: return Statistic::Variance;    // @VAR, @QVAR
    case 88: case 97: return Statistic::Deviation;   // @STD, @QSTD
    case 149: return Statistic::SampleVariance;      // @VARU
    case 150: return Statistic::SampleDeviation;     // @STDU
    default: return Statistic::Sum;                  // @SUM, @QSUM
    }
}

}  // namespace zt
