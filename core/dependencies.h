#pragma once
// Who reads a cell: the one home of a worksheet's dependency bookkeeping.
//
// A formula that names a cell is on that cell's Dependents list (TDepLink,
// newest first). A formula that reads a range is a reader of the range's
// area: one heap record per distinct pair of corner cells, shared by every
// formula reading that range and indexed by column and row, so that a range
// costs the same whatever its size. An area follows its corner cells, as the
// compiled code does: when a corner moves, or rows and columns are
// renumbered, its rectangle is worked out again.
#include <cstdint>
#include <vector>

#include "core/engine.h"

namespace zt {

#pragma pack(push, 1)
// One distinct range read by formulas of the worksheet.
struct TRangeArea {
    HeapAddr CornerA;  // the corner cells, lower address first; 0 for a corner
    HeapAddr CornerB;  // the range has lost (it then watches no cell)
    HeapAddr Readers;  // first reader node, most recently linked first
    std::uint32_t ReaderCount;
    std::uint32_t Walk;     // the recalculation that last gathered its readers
    std::uint32_t Pending;  // of the readers it gathered, those not yet finished
    std::int16_t FirstRow;  // the rectangle it watches; -1 when it watches none
    std::int16_t LastRow;
    std::uint8_t FirstCol;
    std::uint8_t LastCol;
};

// One formula reading one area.
struct TRangeReader {
    HeapAddr Formula;
    HeapAddr Area;
    HeapAddr Prev;  // neighbours in the area's list
    HeapAddr Next;
    HeapAddr NextOfFormula;  // the formula's next area
    std::uint32_t Stamp;     // when the formula was linked; larger is newer
};
#pragma pack(pop)

// A range reader as the walk meets it.
struct ReaderRef {
    std::uint32_t Stamp;
    PCell Formula;
};

// --- Single references ---

// With add set, puts the formula at the front of the Dependents list of the
// cell at (row, col), creating the cell; with add clear, takes it off. False
// when the cell or the link could not be made.
bool LinkDependency(Engine& e, PCell formula, int row, int col, bool add);
// Frees the cell's Dependents list.
void FreeDependents(Engine& e, PCell cell);

// --- Range readers ---

// A new link stamp: the ranges a formula registers with it count as read
// more recently than every range registered before.
std::uint32_t NewLinkStamp(Engine& e);
// Makes the formula a reader of the range with corner cells a and b; the
// area is created when it is new. Only the corners are cells: a position
// between them is watched whether a cell is there or not. A range that has
// lost a corner (a or b null) watches no cell, but its other corner still
// knows the formula names it. Registering the same range twice is one
// registration. False when the heap is exhausted.
bool AddRangeReader(Engine& e, PCell formula, PCell a, PCell b, std::uint32_t stamp);
// Takes the formula off every area it reads; an area left without readers goes.
void RemoveRangeReaders(Engine& e, PCell formula);

// --- Visiting ---

// The formulas that read a position: the readers of the ranges covering
// it, most recently linked first and each once, then those on the
// Dependents list of the cell there that read it through no range, in list
// order.
std::vector<PCell> DependentsAt(Engine& e, int row, int col);
bool HasDependents(const Engine& e, const TCell* cell);
// The formulas on the cell's Dependents list, which name it directly.
std::vector<PCell> ListedDependents(const Engine& e, const TCell* cell);
// The readers of the ranges with the cell as a corner.
std::vector<PCell> CornerReaders(const Engine& e, const TCell* cell);
// The formulas that name the cell, directly or as a corner of a range: the
// ones that lose a reference when it goes. Each once, the listed first.
std::vector<PCell> NamingFormulas(const Engine& e, const TCell* cell);
// A step along a Dependents list for a walk that keeps its place: the
// formula at link, with link moved on to the next entry (0 at the end).
PCell NextListed(const Engine& e, HeapAddr& link);
// The readers of the ranges that meet the rectangle, newest first, each once.
std::vector<PCell> RangeReadersMeeting(const Engine& e, const TRange& r);

// --- Following the cells ---

// A corner cell has moved: its areas watch their new rectangles.
void CornerMoved(Engine& e, const TCell* cell);
// After rows or columns were renumbered: every area watches the rectangle
// of its corners now. Returns the readers of the areas that changed, newest
// first, each once.
std::vector<PCell> ResyncRangeAreas(Engine& e);
// Frees every area and reader node of the current worksheet.
void FreeRangeAreas(Engine& e);

// --- The recalculation walk ---

// Starts a walk; its number tells areas gathered in it from earlier ones.
std::uint32_t BeginWalk(Engine& e);
// Appends the readers of the areas covering (row, col) that the walk has
// not finished (no kfQueued), newest first and each once. Areas whose
// readers the walk has all finished are passed over.
void GatherRangeReaders(Engine& e, int row, int col, std::uint32_t walk, std::vector<ReaderRef>& out);
// The walk has finished a formula: its areas have one reader less to wait for.
void ReaderFinished(Engine& e, const TCell* formula, std::uint32_t walk);

// --- Checks ---

// What a formula registers for one range, corners as the code names them.
struct RangeRegistration {
    HeapAddr CornerA;
    HeapAddr CornerB;
};
// The ranges the formula is registered as reading, corners ordered as the
// areas keep them.
std::vector<RangeRegistration> RegisteredRanges(const Engine& e, const TCell* formula);
// The number of areas and of reader nodes.
std::size_t RangeAreaCount(const Engine& e);
std::size_t RangeReaderCount(const Engine& e);
// Rebuilds the indexes from the area records and compares; the first
// difference found, or empty when they agree.
std::string CheckRangeIndex(Engine& e);

}  // namespace zt
