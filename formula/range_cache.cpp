#include "formula/range_cache.h"

#include <algorithm>

#include "core/cell_store.h"

namespace zt {

namespace {

std::uint64_t BandKey(const TRange& r)
{
    return (std::uint64_t(r.FirstCol) << 32) | (std::uint64_t(r.LastCol) << 16) | std::uint64_t(r.FirstRow);
}

}  // namespace

std::optional<bool> RangeCache::Accumulate(Engine& e, int slot, const TRange& r, Aggregate& out)
{
    if (slot != slot_ || !e.Cur)
        return std::nullopt;
    auto [it, fresh] = bands_.try_emplace(BandKey(r));
    Band& band = it->second;
    if (fresh) {
        band = Band{r.FirstCol, r.LastCol, r.FirstRow, {}};
        for (int col = r.FirstCol; col <= r.LastCol; ++col)
            byColumn_[col].push_back(&band);
    }
    std::size_t need = static_cast<std::size_t>(r.LastRow - r.FirstRow + 1);
    if (band.States.size() < need) {
        if (states_ - band.States.size() + need > kMaxStates)
            return std::nullopt;
        states_ += need - band.States.size();
        State s = band.States.empty() ? State{0, 0, Aggregate{}.Min, Aggregate{}.Max} : band.States.back();
        for (int row = r.FirstRow + static_cast<int>(band.States.size()); row <= r.LastRow; ++row) {
            for (const TCell* c = FindFirstAtOrAfter(e, row, r.FirstCol); c && c->Col <= r.LastCol && s.Count >= 0;
                 c = NextCell(e, c)) {
                double x;
                switch (c->Kind & 0x0F) {
                case ckFormula:
                case ckReal: x = ReadReal(*c); break;
                case ckInteger: x = ReadInteger(*c); break;
                case ckFormula | kfError:
                case ckReal | kfError:
                case ckInteger | kfError: s.Count = -1; continue;
                default: continue;
                }
                ++s.Count;
                s.Sum += x;
                s.Min = std::min(s.Min, x);
                s.Max = std::max(s.Max, x);
            }
            band.States.push_back(s);
        }
    }
    const State& s = band.States[need - 1];
    if (s.Count < 0)
        return false;
    out.Count = s.Count;
    out.Sum = s.Sum;
    out.Min = s.Min;
    out.Max = s.Max;
    return true;
}

void RangeCache::CellWritten(int row, int col)
{
    if (col < 0 || col >= kCols)
        return;
    for (Band* band : byColumn_[col]) {
        if (row < band->FirstRow)
            continue;
        std::size_t keep = static_cast<std::size_t>(row - band->FirstRow);
        if (keep < band->States.size()) {
            states_ -= band->States.size() - keep;
            band->States.resize(keep);
        }
    }
}

}  // namespace zt
