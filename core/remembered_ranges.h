#pragma once
#include <functional>
#include <vector>

#include "core/engine.h"

namespace zt {

// The ranges a worksheet remembers by coordinates rather than by cell
// links: the twelve data ranges, the thirteen ranges of the current graph
// and of every named graph, and the range of every range name, in that
// order. They must be kept in step by hand when cells move.

// Calls change on every remembered range of the current worksheet and
// stores what it returns.
void UpdateRememberedRanges(Engine& e, const std::function<TRange(TRange)>& change);

// Every remembered range in the order above.
std::vector<TRange> RememberedRanges(Engine& e);
// Puts back ranges taken by RememberedRanges; ignored when the worksheet
// no longer has the same number of them (a name was added or deleted).
void RestoreRememberedRanges(Engine& e, const std::vector<TRange>& ranges);

// Moves each corner of a remembered range that lies inside the block
// (bounds inclusive) by the deltas; undefined ranges stay undefined. The
// running macro's position follows too (Engine::MacroPositionShift).
void ShiftRememberedRanges(Engine& e, const TRange& block, int dRow, int dCol);

// Undefines every remembered range whose first or last corner is the cell.
void ForgetCell(Engine& e, int row, int col);

}  // namespace zt
