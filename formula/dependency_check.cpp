#include "formula/dependency_check.h"

#include <algorithm>
#include <map>
#include <set>
#include <utility>
#include <vector>

#include "core/address.h"
#include "core/cell_store.h"
#include "core/dependencies.h"
#include "formula/compiled_formula.h"
#include "formula/opcodes.h"

namespace zt {

namespace {

bool LiveCell(Engine& e, HeapAddr a)
{
    if (!e.Heap.Contains(a))
        return false;
    const TCell* c = CellAt(e, a);
    return ValidCoord(c->Row, c->Col) && FindCell(e, c->Row, c->Col) == c;
}

std::string Where(const Engine& e, const TCell* c) { return FormatAddress(e, c->Row, c->Col); }

// What a linked formula's code says it reads: the cells it names directly
// and the corner pairs of its ranges, lower address first.
struct Reads {
    std::set<HeapAddr> Cells;
    std::set<std::pair<HeapAddr, HeapAddr>> Ranges;
    bool DeadLink = false;
};

Reads ReadsOf(Engine& e, const TCell* formula)
{
    Reads r;
    const std::uint8_t* code = CodeOf(e, formula);
    auto link = [&](int at) {
        HeapAddr a = ReadLinkWord(code + at) & kLinkCellMask;
        if (a && !LiveCell(e, a))
            r.DeadLink = true;
        return r.DeadLink ? 0 : a;
    };
    WalkFormula(code, [&](int pos, std::uint8_t op) {
        if (op == opCellRef) {
            if (HeapAddr a = link(pos + 1))
                r.Cells.insert(a);
        } else if (op == opRangeRef) {
            HeapAddr a = link(pos + 1);
            HeapAddr b = link(pos + 5);
            if (a || b)
                r.Ranges.insert({std::min(a, b), std::max(a, b)});
        }
        return true;
    });
    return r;
}

}  // namespace

std::string CheckDependencies(Engine& e)
{
    if (!e.Cur)
        return {};
    std::map<HeapAddr, std::vector<HeapAddr>> expectedLists;  // cell -> formulas naming it
    std::set<HeapAddr> linkedFormulas;
    for (int row = 0; row <= e.Cur->MaxRow; ++row) {
        for (PCell c = CellAt(e, e.Cur->RowHeads[row]); c; c = NextCell(e, c)) {
            if (!IsFormulaKind(c->Kind))
                continue;
            HeapAddr f = AddrOf(e, c);
            std::vector<RangeRegistration> registered = RegisteredRanges(e, c);
            if (c->Kind & kfUnlinked) {
                if (!registered.empty())
                    return Where(e, c) + ": a formula in the relative form reads ranges";
                continue;
            }
            linkedFormulas.insert(f);
            Reads reads = ReadsOf(e, c);
            if (reads.DeadLink)
                return Where(e, c) + ": its code names a cell that is not in the worksheet";
            for (HeapAddr a : reads.Cells)
                expectedLists[a].push_back(f);
            std::set<std::pair<HeapAddr, HeapAddr>> ranges;
            for (const RangeRegistration& r : registered)
                ranges.insert({r.CornerA, r.CornerB});
            if (ranges.size() != registered.size())
                return Where(e, c) + ": a range registered twice";
            if (ranges != reads.Ranges)
                return Where(e, c) + ": registered for other ranges than its code reads";
        }
    }
    for (int row = 0; row <= e.Cur->MaxRow; ++row) {
        for (PCell c = CellAt(e, e.Cur->RowHeads[row]); c; c = NextCell(e, c)) {
            std::vector<HeapAddr> listed;
            for (PCell f : ListedDependents(e, c))
                listed.push_back(AddrOf(e, f));
            std::vector<HeapAddr> expected;
            if (auto it = expectedLists.find(AddrOf(e, c)); it != expectedLists.end())
                expected = it->second;
            std::sort(listed.begin(), listed.end());
            std::sort(expected.begin(), expected.end());
            if (listed != expected)
                return Where(e, c) + ": its Dependents list is not the formulas that name it";
        }
    }
    for (const auto& [formula, first] : e.Cur->Ranges.FirstOfFormula)
        if (!linkedFormulas.count(formula))
            return "a range reader that is not a linked formula of the worksheet";
    return CheckRangeIndex(e);
}

}  // namespace zt
