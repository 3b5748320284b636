#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

#include "core/page_heap.h"
#include "core/range.h"

namespace zt {

// The indexes of a worksheet's range areas (see core/dependencies.h). They
// live beside the worksheet, not in its heap, and hold nothing that the
// area records in the heap do not say: a check can rebuild and compare them.

// Areas whose rectangle covers the whole row interval of a tree node, and
// the recalculation that last found all of them finished.
struct AreaList {
    std::vector<HeapAddr> Areas;
    std::uint32_t DoneWalk = 0;
};

// One column's areas by rows: a segment tree over the 8192 rows in heap
// order (node 1 is the root, node kRows + r the leaf of row r). An area
// covering rows r1..r2 of the column sits in the O(log rows) nodes whose
// intervals partition r1..r2, so the areas covering a row are those of the
// nodes on its leaf's path to the root.
struct ColumnAreas {
    std::vector<std::uint32_t> Node = std::vector<std::uint32_t>(2 * kRows, 0);  // index into Lists; 0 none
    std::uint32_t Count = 0;  // entries over all nodes
};

struct RangeIndex {
    // Corner pair (lower address in the high half) to area.
    std::unordered_map<std::uint64_t, HeapAddr> ByCorners;
    // Formula cell to its first reader node.
    std::unordered_map<HeapAddr, HeapAddr> FirstOfFormula;
    // Corner cell to the areas it is a corner of.
    std::unordered_map<HeapAddr, std::vector<HeapAddr>> ByCorner;
    std::array<std::unique_ptr<ColumnAreas>, kCols> Columns;
    std::vector<AreaList> Lists = std::vector<AreaList>(1);  // entry 0 unused
    std::vector<std::uint32_t> FreeLists;
    std::uint32_t LinkStamp = 0;  // raised once per formula linked
    std::uint32_t WalkStamp = 0;  // raised once per recalculation
};

}  // namespace zt
