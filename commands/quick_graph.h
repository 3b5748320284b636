#pragma once
#include <string_view>

#include "core/engine.h"

namespace zt {

inline constexpr std::string_view kMaxGraphsExceeded = "Max Graphs Exceeded";

// The quick graph button: resets the current graph definition, makes the
// first row of the selection its X range and the next rows (at most six)
// its series A..F, and stores it as a new named graph called QGRAPHn with
// the smallest n not in use. Returns the named graph's number, 0 when
// nothing was made: a selection of one row or one column only beeps, and
// with every named-graph slot taken "Max Graphs Exceeded" is reported and
// the current definition is left as it was.
int QuickGraph(Engine& e, TRange selection);

}  // namespace zt
