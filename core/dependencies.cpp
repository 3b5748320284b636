#include "core/dependencies.h"

#include <algorithm>
#include <map>
#include <string>

#include "core/cell_store.h"

namespace zt {

namespace {

constexpr std::uint32_t kLinkSize = sizeof(TDepLink);
constexpr std::uint32_t kAreaSize = sizeof(TRangeArea);
constexpr std::uint32_t kReaderSize = sizeof(TRangeReader);

RangeIndex& Index(Engine& e) { return e.Cur->Ranges; }
const RangeIndex& Index(const Engine& e) { return e.Cur->Ranges; }
TRangeArea& Area(const Engine& e, HeapAddr a) { return *e.Heap.At<TRangeArea>(a); }
TRangeReader& Reader(const Engine& e, HeapAddr a) { return *e.Heap.At<TRangeReader>(a); }

std::uint64_t CornerKey(HeapAddr a, HeapAddr b)
{
    return (std::uint64_t(std::min(a, b)) << 32) | std::max(a, b);
}

bool Watches(const TRangeArea& a) { return a.FirstRow >= 0; }

struct Rectangle {
    int FirstRow = -1, LastRow = -1, FirstCol = 0, LastCol = 0;
    friend bool operator==(const Rectangle&, const Rectangle&) = default;
};

Rectangle RectangleOf(const TRangeArea& a) { return {a.FirstRow, a.LastRow, a.FirstCol, a.LastCol}; }

// The rectangle between the corner cells as they are now.
Rectangle CornerRectangle(const Engine& e, const TRangeArea& area)
{
    if (!area.CornerA || !area.CornerB)
        return {};
    const TCell* a = CellAt(e, area.CornerA);
    const TCell* b = CellAt(e, area.CornerB);
    return {std::min<int>(a->Row, b->Row), std::max<int>(a->Row, b->Row), std::min<int>(a->Col, b->Col),
            std::max<int>(a->Col, b->Col)};
}

void SetRectangle(TRangeArea& area, const Rectangle& r)
{
    area.FirstRow = static_cast<std::int16_t>(r.FirstRow);
    area.LastRow = static_cast<std::int16_t>(r.LastRow);
    area.FirstCol = static_cast<std::uint8_t>(r.FirstCol);
    area.LastCol = static_cast<std::uint8_t>(r.LastCol);
}

// Calls f(node) for the tree nodes whose intervals partition rows r1..r2.
template <class F>
void ForEachCoverNode(int r1, int r2, F f)
{
    for (int l = r1 + kRows, r = r2 + kRows + 1; l < r; l >>= 1, r >>= 1) {
        if (l & 1)
            f(l++);
        if (r & 1)
            f(--r);
    }
}

// Calls f(slot) for every list of the column's nodes whose interval meets
// rows r1..r2.
template <class F>
void ForEachListMeeting(const ColumnAreas& t, int r1, int r2, F f)
{
    struct Span {
        int Node, Lo, Hi;
    };
    std::vector<Span> todo{{1, 0, kRows - 1}};
    while (!todo.empty()) {
        Span s = todo.back();
        todo.pop_back();
        if (s.Hi < r1 || s.Lo > r2)
            continue;
        if (t.Node[s.Node])
            f(t.Node[s.Node]);
        if (s.Node < kRows) {
            int mid = (s.Lo + s.Hi) / 2;
            todo.push_back({2 * s.Node, s.Lo, mid});
            todo.push_back({2 * s.Node + 1, mid + 1, s.Hi});
        }
    }
}

std::uint32_t TakeList(RangeIndex& ix)
{
    if (!ix.FreeLists.empty()) {
        std::uint32_t slot = ix.FreeLists.back();
        ix.FreeLists.pop_back();
        return slot;
    }
    ix.Lists.emplace_back();
    return static_cast<std::uint32_t>(ix.Lists.size() - 1);
}

void AddToTrees(RangeIndex& ix, HeapAddr addr, const Rectangle& r)
{
    for (int col = r.FirstCol; col <= r.LastCol; ++col) {
        std::unique_ptr<ColumnAreas>& t = ix.Columns[col];
        if (!t)
            t = std::make_unique<ColumnAreas>();
        ForEachCoverNode(r.FirstRow, r.LastRow, [&](int n) {
            if (!t->Node[n])
                t->Node[n] = TakeList(ix);
            AreaList& list = ix.Lists[t->Node[n]];
            list.Areas.push_back(addr);
            list.DoneWalk = 0;
            ++t->Count;
        });
    }
}

void RemoveFromTrees(RangeIndex& ix, HeapAddr addr, const Rectangle& r)
{
    for (int col = r.FirstCol; col <= r.LastCol; ++col) {
        std::unique_ptr<ColumnAreas>& t = ix.Columns[col];
        if (!t)
            continue;
        ForEachCoverNode(r.FirstRow, r.LastRow, [&](int n) {
            std::uint32_t slot = t->Node[n];
            if (!slot)
                return;
            std::vector<HeapAddr>& areas = ix.Lists[slot].Areas;
            auto it = std::find(areas.begin(), areas.end(), addr);
            if (it == areas.end())
                return;
            *it = areas.back();
            areas.pop_back();
            --t->Count;
            if (areas.empty()) {
                ix.Lists[slot].DoneWalk = 0;
                ix.FreeLists.push_back(slot);
                t->Node[n] = 0;
            }
        });
        if (t->Count == 0)
            t.reset();
    }
}

// The area watches the rectangle of its corners now.
bool Reindex(Engine& e, HeapAddr addr)
{
    TRangeArea& area = Area(e, addr);
    Rectangle before = RectangleOf(area);
    Rectangle now = CornerRectangle(e, area);
    if (before == now)
        return false;
    if (Watches(area))
        RemoveFromTrees(Index(e), addr, before);
    SetRectangle(area, now);
    if (Watches(area))
        AddToTrees(Index(e), addr, now);
    return true;
}

void AddCorner(RangeIndex& ix, HeapAddr corner, HeapAddr area)
{
    if (corner)
        ix.ByCorner[corner].push_back(area);
}

void RemoveCorner(RangeIndex& ix, HeapAddr corner, HeapAddr area)
{
    auto it = ix.ByCorner.find(corner);
    if (it == ix.ByCorner.end())
        return;
    std::vector<HeapAddr>& areas = it->second;
    areas.erase(std::remove(areas.begin(), areas.end(), area), areas.end());
    if (areas.empty())
        ix.ByCorner.erase(it);
}

// A new area for the corners; 0 when the heap is exhausted.
HeapAddr CreateArea(Engine& e, HeapAddr a, HeapAddr b)
{
    HeapAddr addr = HeapAlloc(e, kAreaSize);
    if (!addr)
        return 0;
    TRangeArea& area = Area(e, addr);
    area = TRangeArea{};
    area.CornerA = std::min(a, b);
    area.CornerB = std::max(a, b);
    Rectangle r = CornerRectangle(e, area);
    SetRectangle(area, r);
    RangeIndex& ix = Index(e);
    ix.ByCorners[CornerKey(a, b)] = addr;
    AddCorner(ix, area.CornerA, addr);
    if (area.CornerB != area.CornerA)
        AddCorner(ix, area.CornerB, addr);
    if (Watches(area))
        AddToTrees(ix, addr, r);
    return addr;
}

void DestroyArea(Engine& e, HeapAddr addr)
{
    RangeIndex& ix = Index(e);
    TRangeArea& area = Area(e, addr);
    if (Watches(area))
        RemoveFromTrees(ix, addr, RectangleOf(area));
    ix.ByCorners.erase(CornerKey(area.CornerA, area.CornerB));
    RemoveCorner(ix, area.CornerA, addr);
    RemoveCorner(ix, area.CornerB, addr);
    HeapFree(e, addr, kAreaSize);
}

template <class F>
void ForEachReaderNode(const Engine& e, const TRangeArea& area, F f)
{
    for (HeapAddr n = area.Readers; n; n = Reader(e, n).Next)
        f(Reader(e, n));
}

void AppendReaders(const Engine& e, HeapAddr addr, std::vector<ReaderRef>& out)
{
    ForEachReaderNode(e, Area(e, addr), [&](const TRangeReader& r) { out.push_back({r.Stamp, CellAt(e, r.Formula)}); });
}

// Newest first, each formula once (its ranges all carry its stamp).
void SortNewestFirst(std::vector<ReaderRef>& refs, std::size_t from)
{
    auto first = refs.begin() + static_cast<std::ptrdiff_t>(from);
    std::sort(first, refs.end(), [](const ReaderRef& x, const ReaderRef& y) {
        return x.Stamp != y.Stamp ? x.Stamp > y.Stamp : x.Formula < y.Formula;
    });
    refs.erase(std::unique(first, refs.end(),
                           [](const ReaderRef& x, const ReaderRef& y) { return x.Formula == y.Formula; }),
               refs.end());
}

std::vector<PCell> FormulasOf(std::vector<ReaderRef> refs)
{
    SortNewestFirst(refs, 0);
    std::vector<PCell> cells;
    cells.reserve(refs.size());
    for (const ReaderRef& r : refs)
        cells.push_back(r.Formula);
    return cells;
}

std::vector<ReaderRef> ReadersOfAreas(const Engine& e, std::vector<HeapAddr> areas)
{
    std::sort(areas.begin(), areas.end());
    areas.erase(std::unique(areas.begin(), areas.end()), areas.end());
    std::vector<ReaderRef> refs;
    for (HeapAddr a : areas)
        AppendReaders(e, a, refs);
    return refs;
}

}  // namespace

bool LinkDependency(Engine& e, PCell formula, int row, int col, bool add)
{
    HeapAddr f = AddrOf(e, formula);
    if (add) {
        PCell target = FindOrCreateCell(e, row, col);
        if (!target)
            return false;
        // A formula's links are added in one pass with nothing in between,
        // so a link it already has on this list can only be the head.
        if (target->Dependents && e.Heap.At<TDepLink>(target->Dependents)->Cell == f)
            return true;
        HeapAddr l = HeapAlloc(e, kLinkSize);
        if (!l)
            return false;
        auto* link = e.Heap.At<TDepLink>(l);
        link->Cell = f;
        link->Next = target->Dependents;
        target->Dependents = l;
        return true;
    }
    PCell target = FindCell(e, row, col);
    if (!target)
        return true;
    HeapAddr prev = 0;
    for (HeapAddr l = target->Dependents; l;) {
        auto* link = e.Heap.At<TDepLink>(l);
        HeapAddr next = link->Next;
        if (link->Cell == f) {
            if (prev)
                e.Heap.At<TDepLink>(prev)->Next = next;
            else
                target->Dependents = next;
            HeapFree(e, l, kLinkSize);
        } else {
            prev = l;
        }
        l = next;
    }
    return true;
}

void FreeDependents(Engine& e, PCell cell)
{
    HeapAddr link = cell->Dependents;
    while (link) {
        HeapAddr next = e.Heap.At<TDepLink>(link)->Next;
        HeapFree(e, link, kLinkSize);
        link = next;
    }
    cell->Dependents = 0;
}

std::uint32_t NewLinkStamp(Engine& e)
{
    RangeIndex& ix = Index(e);
    if (ix.LinkStamp == UINT32_MAX) {
        // Renumber the readers from 1 up, keeping their order.
        std::vector<HeapAddr> nodes;
        for (const auto& [formula, first] : ix.FirstOfFormula)
            for (HeapAddr n = first; n; n = Reader(e, n).NextOfFormula)
                nodes.push_back(n);
        std::sort(nodes.begin(), nodes.end(),
                  [&](HeapAddr x, HeapAddr y) { return Reader(e, x).Stamp < Reader(e, y).Stamp; });
        std::uint32_t stamp = 0;
        std::uint32_t last = 0;
        for (std::size_t i = 0; i < nodes.size(); ++i) {
            TRangeReader& r = Reader(e, nodes[i]);
            if (i == 0 || r.Stamp != last)
                ++stamp;
            last = r.Stamp;
            r.Stamp = stamp;
        }
        ix.LinkStamp = stamp;
    }
    return ++ix.LinkStamp;
}

bool AddRangeReader(Engine& e, PCell formula, PCell a, PCell b, std::uint32_t stamp)
{
    if (!a && !b)
        return true;
    RangeIndex& ix = Index(e);
    HeapAddr ca = AddrOf(e, a);
    HeapAddr cb = AddrOf(e, b);
    HeapAddr f = AddrOf(e, formula);
    HeapAddr addr;
    if (auto it = ix.ByCorners.find(CornerKey(ca, cb)); it != ix.ByCorners.end()) {
        addr = it->second;
        if (auto own = ix.FirstOfFormula.find(f); own != ix.FirstOfFormula.end())
            for (HeapAddr n = own->second; n; n = Reader(e, n).NextOfFormula)
                if (Reader(e, n).Area == addr)
                    return true;
    } else {
        addr = CreateArea(e, ca, cb);
        if (!addr)
            return false;
    }
    HeapAddr node = HeapAlloc(e, kReaderSize);
    if (!node) {
        if (Area(e, addr).ReaderCount == 0)
            DestroyArea(e, addr);
        return false;
    }
    TRangeArea& area = Area(e, addr);
    TRangeReader& r = Reader(e, node);
    r.Formula = f;
    r.Area = addr;
    r.Stamp = stamp;
    r.Prev = 0;
    r.Next = area.Readers;
    if (area.Readers)
        Reader(e, area.Readers).Prev = node;
    area.Readers = node;
    ++area.ReaderCount;
    HeapAddr& first = ix.FirstOfFormula[f];
    r.NextOfFormula = first;
    first = node;
    return true;
}

void RemoveRangeReaders(Engine& e, PCell formula)
{
    RangeIndex& ix = Index(e);
    auto it = ix.FirstOfFormula.find(AddrOf(e, formula));
    if (it == ix.FirstOfFormula.end())
        return;
    HeapAddr node = it->second;
    ix.FirstOfFormula.erase(it);
    while (node) {
        TRangeReader& r = Reader(e, node);
        HeapAddr next = r.NextOfFormula;
        HeapAddr addr = r.Area;
        TRangeArea& area = Area(e, addr);
        if (r.Prev)
            Reader(e, r.Prev).Next = r.Next;
        else
            area.Readers = r.Next;
        if (r.Next)
            Reader(e, r.Next).Prev = r.Prev;
        HeapFree(e, node, kReaderSize);
        if (--area.ReaderCount == 0)
            DestroyArea(e, addr);
        node = next;
    }
}

std::vector<PCell> DependentsAt(Engine& e, int row, int col)
{
    if (!ValidCoord(row, col))
        return {};
    std::vector<HeapAddr> areas;
    if (const auto& t = Index(e).Columns[col])
        for (int n = kRows + row; n; n >>= 1)
            if (std::uint32_t slot = t->Node[n])
                areas.insert(areas.end(), Index(e).Lists[slot].Areas.begin(), Index(e).Lists[slot].Areas.end());
    std::vector<PCell> readers = FormulasOf(ReadersOfAreas(e, std::move(areas)));
    auto ranged = readers.end() - readers.begin();
    const TCell* cell = FindCell(e, row, col);
    for (HeapAddr l = cell ? cell->Dependents : 0; l;)
        if (PCell f = NextListed(e, l); std::find(readers.begin(), readers.begin() + ranged, f) == readers.begin() + ranged)
            readers.push_back(f);
    return readers;
}

bool HasDependents(const Engine& e, const TCell* cell)
{
    if (cell->Dependents)
        return true;
    if (const auto& t = Index(e).Columns[cell->Col])
        for (int n = kRows + cell->Row; n; n >>= 1)
            if (t->Node[n])
                return true;
    return false;
}

PCell NextListed(const Engine& e, HeapAddr& link)
{
    const auto* l = e.Heap.At<TDepLink>(link);
    link = l->Next;
    return CellAt(e, l->Cell);
}

std::vector<PCell> ListedDependents(const Engine& e, const TCell* cell)
{
    std::vector<PCell> formulas;
    for (HeapAddr l = cell->Dependents; l;)
        formulas.push_back(NextListed(e, l));
    return formulas;
}

std::vector<PCell> NamingFormulas(const Engine& e, const TCell* cell)
{
    std::vector<PCell> formulas = ListedDependents(e, cell);
    for (PCell f : CornerReaders(e, cell))
        if (std::find(formulas.begin(), formulas.end(), f) == formulas.end())
            formulas.push_back(f);
    return formulas;
}

std::vector<PCell> CornerReaders(const Engine& e, const TCell* cell)
{
    const RangeIndex& ix = Index(e);
    auto it = ix.ByCorner.find(AddrOf(e, cell));
    if (it == ix.ByCorner.end())
        return {};
    return FormulasOf(ReadersOfAreas(e, it->second));
}

std::vector<PCell> RangeReadersMeeting(const Engine& e, const TRange& range)
{
    if (!RangeIsDefined(range))
        return {};
    const RangeIndex& ix = Index(e);
    TRange r = OrderedRange(range);
    std::vector<HeapAddr> areas;
    for (int col = std::max<int>(r.FirstCol, 0); col <= std::min<int>(r.LastCol, kCols - 1); ++col)
        if (const auto& t = ix.Columns[col])
            ForEachListMeeting(*t, r.FirstRow, r.LastRow, [&](std::uint32_t slot) {
                areas.insert(areas.end(), ix.Lists[slot].Areas.begin(), ix.Lists[slot].Areas.end());
            });
    return FormulasOf(ReadersOfAreas(e, std::move(areas)));
}

void CornerMoved(Engine& e, const TCell* cell)
{
    RangeIndex& ix = Index(e);
    auto it = ix.ByCorner.find(AddrOf(e, cell));
    if (it == ix.ByCorner.end())
        return;
    for (HeapAddr addr : std::vector<HeapAddr>(it->second))
        Reindex(e, addr);
}

std::vector<PCell> ResyncRangeAreas(Engine& e)
{
    std::vector<HeapAddr> all;
    for (const auto& [key, addr] : Index(e).ByCorners)
        all.push_back(addr);
    std::vector<HeapAddr> changed;
    for (HeapAddr addr : all)
        if (Reindex(e, addr))
            changed.push_back(addr);
    return FormulasOf(ReadersOfAreas(e, std::move(changed)));
}

void FreeRangeAreas(Engine& e)
{
    RangeIndex& ix = Index(e);
    for (const auto& [key, addr] : ix.ByCorners) {
        for (HeapAddr n = Area(e, addr).Readers; n;) {
            HeapAddr next = Reader(e, n).Next;
            HeapFree(e, n, kReaderSize);
            n = next;
        }
        HeapFree(e, addr, kAreaSize);
    }
    RangeIndex fresh;
    fresh.LinkStamp = ix.LinkStamp;
    fresh.WalkStamp = ix.WalkStamp;
    ix = std::move(fresh);
}

std::uint32_t BeginWalk(Engine& e)
{
    RangeIndex& ix = Index(e);
    if (++ix.WalkStamp == 0) {
        // After the counter wraps, no old mark may pass for the new walk's.
        for (const auto& [key, addr] : ix.ByCorners)
            Area(e, addr).Walk = 0;
        for (AreaList& list : ix.Lists)
            list.DoneWalk = 0;
        ix.WalkStamp = 1;
    }
    return ix.WalkStamp;
}

void GatherRangeReaders(Engine& e, int row, int col, std::uint32_t walk, std::vector<ReaderRef>& out)
{
    RangeIndex& ix = Index(e);
    const auto& t = ix.Columns[col];
    if (!t)
        return;
    std::size_t begin = out.size();
    for (int n = kRows + row; n; n >>= 1) {
        std::uint32_t slot = t->Node[n];
        if (!slot || ix.Lists[slot].DoneWalk == walk)
            continue;
        bool done = true;
        for (HeapAddr addr : ix.Lists[slot].Areas) {
            TRangeArea& area = Area(e, addr);
            bool first = area.Walk != walk;
            if (!first && area.Pending == 0)
                continue;
            if (first) {
                area.Walk = walk;
                area.Pending = 0;
            }
            ForEachReaderNode(e, area, [&](const TRangeReader& r) {
                PCell f = CellAt(e, r.Formula);
                if (f->Kind & kfQueued)
                    return;
                out.push_back({r.Stamp, f});
                if (first)
                    ++area.Pending;
            });
            if (area.Pending)
                done = false;
        }
        if (done)
            ix.Lists[slot].DoneWalk = walk;
    }
    SortNewestFirst(out, begin);
}

void ReaderFinished(Engine& e, const TCell* formula, std::uint32_t walk)
{
    RangeIndex& ix = Index(e);
    auto it = ix.FirstOfFormula.find(AddrOf(e, formula));
    if (it == ix.FirstOfFormula.end())
        return;
    for (HeapAddr n = it->second; n; n = Reader(e, n).NextOfFormula) {
        TRangeArea& area = Area(e, Reader(e, n).Area);
        if (area.Walk == walk && area.Pending)
            --area.Pending;
    }
}

std::vector<RangeRegistration> RegisteredRanges(const Engine& e, const TCell* formula)
{
    std::vector<RangeRegistration> ranges;
    const RangeIndex& ix = Index(e);
    if (auto it = ix.FirstOfFormula.find(AddrOf(e, formula)); it != ix.FirstOfFormula.end())
        for (HeapAddr n = it->second; n; n = Reader(e, n).NextOfFormula) {
            const TRangeArea& area = Area(e, Reader(e, n).Area);
            ranges.push_back({area.CornerA, area.CornerB});
        }
    return ranges;
}

std::size_t RangeAreaCount(const Engine& e) { return Index(e).ByCorners.size(); }

std::size_t RangeReaderCount(const Engine& e)
{
    std::size_t count = 0;
    for (const auto& [key, addr] : Index(e).ByCorners)
        count += Area(e, addr).ReaderCount;
    return count;
}

std::string CheckRangeIndex(Engine& e)
{
    const RangeIndex& ix = Index(e);
    auto live = [&](HeapAddr c) {
        if (!e.Heap.Contains(c))
            return false;
        const TCell* cell = CellAt(e, c);
        return ValidCoord(cell->Row, cell->Col) && FindCell(e, cell->Row, cell->Col) == cell;
    };
    std::map<std::pair<int, int>, std::vector<HeapAddr>> expectedNodes;  // (column, node) -> areas
    std::map<HeapAddr, std::vector<HeapAddr>> expectedCorners;
    std::size_t nodesInLists = 0;
    for (const auto& entry : ix.ByCorners) {
        const std::uint64_t key = entry.first;
        const HeapAddr addr = entry.second;
        const TRangeArea& area = Area(e, addr);
        std::string at = "area " + std::to_string(addr);
        if (key != CornerKey(area.CornerA, area.CornerB) || area.CornerA > area.CornerB)
            return at + ": filed under other corners";
        for (HeapAddr c : {area.CornerA, area.CornerB})
            if (c && !live(c))
                return at + ": a corner is not a live cell";
        if (!(RectangleOf(area) == CornerRectangle(e, area)))
            return at + ": its rectangle is not that of its corners";
        std::uint32_t count = 0;
        HeapAddr prev = 0;
        for (HeapAddr n = area.Readers; n; n = Reader(e, n).Next) {
            const TRangeReader& r = Reader(e, n);
            if (r.Area != addr || r.Prev != prev)
                return at + ": its reader list is broken";
            if (prev && Reader(e, prev).Stamp < r.Stamp)
                return at + ": its readers are not newest first";
            auto own = ix.FirstOfFormula.find(r.Formula);
            bool found = false;
            for (HeapAddr m = own == ix.FirstOfFormula.end() ? 0 : own->second; m && !found; m = Reader(e, m).NextOfFormula)
                found = m == n;
            if (!found)
                return at + ": a reader is missing from its formula's chain";
            prev = n;
            ++count;
        }
        if (count == 0 || count != area.ReaderCount)
            return at + ": reader count " + std::to_string(area.ReaderCount) + ", list " + std::to_string(count);
        nodesInLists += count;
        if (area.CornerA)
            expectedCorners[area.CornerA].push_back(addr);
        if (area.CornerB && area.CornerB != area.CornerA)
            expectedCorners[area.CornerB].push_back(addr);
        if (Watches(area))
            for (int col = area.FirstCol; col <= area.LastCol; ++col)
                ForEachCoverNode(area.FirstRow, area.LastRow, [&](int n) { expectedNodes[{col, n}].push_back(addr); });
    }
    std::size_t nodesInChains = 0;
    for (const auto& [formula, first] : ix.FirstOfFormula) {
        if (!first)
            return "formula " + std::to_string(formula) + ": an empty chain";
        for (HeapAddr n = first; n; n = Reader(e, n).NextOfFormula, ++nodesInChains)
            if (Reader(e, n).Formula != formula)
                return "formula " + std::to_string(formula) + ": a node of another formula in its chain";
    }
    if (nodesInChains != nodesInLists)
        return "reader nodes: " + std::to_string(nodesInChains) + " in chains, " + std::to_string(nodesInLists) +
               " in lists";
    std::map<HeapAddr, std::vector<HeapAddr>> corners(ix.ByCorner.begin(), ix.ByCorner.end());
    for (auto& [c, areas] : corners)
        std::sort(areas.begin(), areas.end());
    for (auto& [c, areas] : expectedCorners)
        std::sort(areas.begin(), areas.end());
    if (corners != expectedCorners)
        return "the corner index differs from the areas' corners";
    for (int col = 0; col < kCols; ++col) {
        const auto& t = ix.Columns[col];
        if (!t)
            continue;
        std::uint32_t entries = 0;
        for (int n = 1; n < 2 * kRows; ++n) {
            if (!t->Node[n])
                continue;
            std::vector<HeapAddr> areas = ix.Lists[t->Node[n]].Areas;
            entries += static_cast<std::uint32_t>(areas.size());
            std::sort(areas.begin(), areas.end());
            auto it = expectedNodes.find({col, n});
            std::vector<HeapAddr> expected = it == expectedNodes.end() ? std::vector<HeapAddr>{} : it->second;
            std::sort(expected.begin(), expected.end());
            if (areas != expected)
                return "column " + std::to_string(col) + " node " + std::to_string(n) + ": other areas than expected";
            if (it != expectedNodes.end())
                expectedNodes.erase(it);
        }
        if (entries != t->Count || entries == 0)
            return "column " + std::to_string(col) + ": entry count " + std::to_string(t->Count);
    }
    if (!expectedNodes.empty())
        return "column " + std::to_string(expectedNodes.begin()->first.first) + ": an area is missing from its tree";
    return {};
}

}  // namespace zt
