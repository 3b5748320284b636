#pragma once
#include <string>
#include <string_view>

#include "core/graph_record.h"

namespace zt {

// Fills a definition with the defaults: no ranges, XY type, lines and
// symbols on every series, labels above, automatic scales, general formats,
// the built-in attribute tables and fonts.
void ResetGraph(TGraphDef& g);

// True when the X range and at least one series range are defined.
bool GraphIsDefined(const TGraphDef& g);

// Makes a definition read from a file safe to use: ranges outside the
// worksheet become undefined and the length bytes of its texts are cut to
// their fields.
void SanitizeGraph(TGraphDef& g);

std::string GraphName(const TGraphDef& g);
void SetGraphName(TGraphDef& g, std::string_view name);

// Number 1..count of the named graph called exactly `name`, or 0.
int FindNamedGraph(const GraphState& s, std::string_view name);

// Stores the current definition under the name (cut to 12 characters),
// replacing a graph of that name. False when 50 named graphs exist already;
// the caller reports kTooManyNamedGraphs.
bool SaveNamedGraph(GraphState& s, std::string_view name);

// Makes the named graph (name upper-cased) the current one; false when absent.
bool UseNamedGraph(GraphState& s, std::string_view name);

// Removes the named graph; false when absent.
bool DeleteNamedGraph(GraphState& s, std::string_view name);

}  // namespace zt
