// The range measures: statistics of every position of a rectangle
// (@MEDIAN, @AVEDEV, @SKEW, @KURT, @COV), @COUNTA, the matrix measures
// (@DET, @RANK, @TRACE) and the two-way table interpolation @XYTERP.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "core/scoped_sheet.h"
#include "formula/function_support.h"
#include "formula/functions.h"
#include "formula/matrix_measures.h"
#include "formula/range_argument.h"

namespace zt {

namespace {

enum : std::uint8_t {
    opMedian = 162,
    opDet = 163,
    opRank = 164,
    opTrace = 165,
    opAveDev = 170,
    opSkew = 171,
    opKurt = 172,
    opCov = 173,
    opCountA = 181,
    opXYTerp = 183,
};

// The largest matrix @DET eliminates.
constexpr int kMaxDetSize = 20;
// Pivots of @RANK must exceed this magnitude.
constexpr double kRankEpsilon = 1E-7;

int RowsOf(const TRange& r) { return r.LastRow - r.FirstRow + 1; }
int ColsOf(const TRange& r) { return r.LastCol - r.FirstCol + 1; }

// Replaces the single range argument by the result; false gives ERR. The
// argument slot's own ERR belongs to one corner cell, which the measure
// has judged itself.
void FinishRangeMeasure(EvalMachine& m, int n, bool ok, double v)
{
    ResultNumber(m, n, ok ? v : 0, false);
    if (!ok)
        m.E.Err.ErrorFlag = true;
}

// The numbers of every position of the range argument on top, read from
// the worksheet that holds it.
bool TopRangeNumbers(EvalMachine& m, TRange& r, std::vector<double>& values)
{
    RangeSource source;
    if (!AnyRangeArgument(m, m.Top(), source))
        return false;
    r = source.Range;
    ScopedSheet sheet(m.E, source.Slot);
    return ReadRangeNumbers(m.E, r, values);
}

// The exact median: the middle value, or the mean of the two middle values.
void Median(EvalMachine& m)
{
    TRange r;
    std::vector<double> x;
    bool ok = TopRangeNumbers(m, r, x);
    double v = 0;
    if (ok) {
        auto mid = x.begin() + static_cast<std::ptrdiff_t>(x.size() / 2);
        std::nth_element(x.begin(), mid, x.end());
        v = *mid;
        if (x.size() % 2 == 0)
            v = *std::max_element(x.begin(), mid) / 2 + v / 2;
    }
    FinishRangeMeasure(m, 1, ok, v);
}

// Mean, sample variance and the central sums the moment measures need.
struct Moments {
    double N = 0;
    double Mean = 0;
    double Variance = 0;  // divisor n - 1
    double AbsSum = 0;    // Σ|x - m|
    double CubeSum = 0;   // Σ(x - m)³
    double FourthSum = 0; // Σ(x - m)⁴
};

Moments MomentsOf(const std::vector<double>& x)
{
    Moments s;
    s.N = static_cast<double>(x.size());
    double sum = 0;
    for (double v : x)
        sum += v;
    s.Mean = sum / s.N;
    double squares = 0;
    for (double v : x) {
        double d = v - s.Mean;
        squares += d * d;
        s.AbsSum += std::fabs(d);
        s.CubeSum += d * d * d;
        s.FourthSum += d * d * d * d;
    }
    s.Variance = squares / (s.N - 1);
    return s;
}

// @AVEDEV, @SKEW, @KURT and @COV over every position; fewer than two
// positions, and a zero divisor, give ERR.
void MomentMeasure(EvalMachine& m)
{
    TRange r;
    std::vector<double> x;
    bool ok = TopRangeNumbers(m, r, x) && x.size() > 1;
    double v = 0;
    if (ok) {
        Moments s = MomentsOf(x);
        double sd = std::sqrt(s.Variance);
        switch (m.Op) {
        case opAveDev: v = s.AbsSum / s.N; break;
        case opSkew:
            ok = s.Variance > 0;
            v = ok ? s.CubeSum / (s.N * sd * sd * sd) : 0;
            break;
        case opKurt:
            ok = s.Variance > 0;
            v = ok ? s.FourthSum / (s.N * s.Variance * s.Variance) - 3 : 0;
            break;
        default:
            ok = s.Mean != 0;
            v = ok ? sd / s.Mean : 0;
            break;
        }
    }
    FinishRangeMeasure(m, 1, ok, v);
}

// The cells of the range that exist and are not blank.
void CountA(EvalMachine& m)
{
    RangeSource source;
    bool ok = AnyRangeArgument(m, m.Top(), source);
    std::int64_t n = 0;
    if (ok) {
        ScopedSheet sheet(m.E, source.Slot);
        ForEachCellInRange(m.E, source.Range, [&n](PCell c) { n += (c->Kind & 7) != ckBlank; });
    }
    FinishRangeMeasure(m, 1, ok, static_cast<double>(n));
}

void Det(EvalMachine& m)
{
    RangeSource source;
    const TRange& r = source.Range;
    bool ok = AnyRangeArgument(m, m.Top(), source) && RowsOf(r) == ColsOf(r) && RowsOf(r) <= kMaxDetSize;
    std::vector<double> a;
    if (ok) {
        ScopedSheet sheet(m.E, source.Slot);
        ok = ReadRangeNumbers(m.E, r, a);
    }
    FinishRangeMeasure(m, 1, ok, ok ? Determinant(a, RowsOf(r)) : 0);
}

void Rank(EvalMachine& m)
{
    TRange r;
    std::vector<double> a;
    bool ok = TopRangeNumbers(m, r, a);
    FinishRangeMeasure(m, 1, ok, ok ? MatrixRank(a, RowsOf(r), ColsOf(r), kRankEpsilon) : 0);
}

void Trace(EvalMachine& m)
{
    RangeSource source;
    const TRange& r = source.Range;
    bool ok = AnyRangeArgument(m, m.Top(), source) && RowsOf(r) == ColsOf(r);
    ScopedSheet sheet(m.E, source.Slot);
    double sum = 0;
    for (int i = 0; ok && i < RowsOf(r); ++i) {
        double d;
        ok = CellNumber(m.E, r.FirstRow + i, r.FirstCol + i, d);
        sum += d;
    }
    FinishRangeMeasure(m, 1, ok, sum);
}

// A key of the table's first row or column: it must be a number.
bool KeyAt(Engine& e, int row, int col, double& key)
{
    const TCell* c = FindFirstAtOrAfter(e, row, col);
    if (!c || c->Col != col || !IsNumericKind(c->Kind) || (c->Kind & kfError))
        return false;
    key = NumericValue(*c);
    return true;
}

// Where x falls among ascending keys: the index of the last key not
// greater than x and the fraction of the way to the next one (0 at a key).
struct KeySpan {
    int Index = 0;
    double Fraction = 0;
};

bool Locate(const std::vector<double>& keys, double x, KeySpan& span)
{
    for (std::size_t i = 1; i < keys.size(); ++i)
        if (!(keys[i] > keys[i - 1]))
            return false;
    if (keys.empty() || x < keys.front() || x > keys.back())
        return false;
    auto next = std::upper_bound(keys.begin(), keys.end(), x);
    span.Index = static_cast<int>(next - keys.begin()) - 1;
    span.Fraction = next == keys.end() ? 0 : (x - keys[span.Index]) / (*next - keys[span.Index]);
    return true;
}

// The value between two neighbouring table cells; the second is not read
// when the fraction is 0, so a point on the last key stays inside the table.
bool Between(Engine& e, int row1, int col1, int row2, int col2, double t, double& v)
{
    double a, b = 0;
    if (!CellNumber(e, row1, col1, a) || (t != 0 && !CellNumber(e, row2, col2, b)))
        return false;
    v = t == 0 ? a : a + t * (b - a);
    return true;
}

// @XYTERP(r, c, table): interpolates between the columns in the two
// surrounding rows, then between those rows.
bool XYTerpValue(Engine& e, const TRange& table, double rowValue, double colValue, double& v)
{
    std::vector<double> colKeys, rowKeys;
    for (int col = table.FirstCol + 1; col <= table.LastCol; ++col)
        if (!KeyAt(e, table.FirstRow, col, colKeys.emplace_back()))
            return false;
    for (int row = table.FirstRow + 1; row <= table.LastRow; ++row)
        if (!KeyAt(e, row, table.FirstCol, rowKeys.emplace_back()))
            return false;
    KeySpan cs, rs;
    if (!Locate(colKeys, colValue, cs) || !Locate(rowKeys, rowValue, rs))
        return false;
    int col = table.FirstCol + 1 + cs.Index;
    int row = table.FirstRow + 1 + rs.Index;
    double upper, lower = 0;
    if (!Between(e, row, col, row, col + 1, cs.Fraction, upper))
        return false;
    if (rs.Fraction != 0 && !Between(e, row + 1, col, row + 1, col + 1, cs.Fraction, lower))
        return false;
    v = rs.Fraction == 0 ? upper : upper + rs.Fraction * (lower - upper);
    return true;
}

void XYTerp(EvalMachine& m)
{
    RangeSource source;
    double v = 0;
    bool ok = !m.Arg(2).Error && !m.Arg(1).Error && AnyRangeArgument(m, m.Top(), source);
    if (ok) {
        ScopedSheet sheet(m.E, source.Slot);
        ok = XYTerpValue(m.E, source.Range, m.Arg(2).Value, m.Arg(1).Value, v);
    }
    FinishRangeMeasure(m, 3, ok, v);
}

}  // namespace

void RegisterRangeStatistics(HandlerTable& t)
{
    t[opMedian] = Median;
    t[opDet] = Det;
    t[opRank] = Rank;
    t[opTrace] = Trace;
    for (std::uint8_t op : {opAveDev, opSkew, opKurt, opCov})
        t[op] = MomentMeasure;
    t[opCountA] = CountA;
    t[opXYTerp] = XYTerp;
}

}  // namespace zt
