#include "commands/quick_graph.h"

#include <algorithm>
#include <string>

#include "core/cell_store.h"
#include "graph/graph_def.h"

namespace zt {

namespace {

std::string FreeQuickGraphName(const GraphState& g)
{
    for (int n = 1;; ++n) {
        std::string name = "QGRAPH" + std::to_string(n);
        if (!FindNamedGraph(g, name))
            return name;
    }
}

}  // namespace

int QuickGraph(Engine& e, TRange selection)
{
    if (!e.Cur || !RangeIsDefined(selection))
        return 0;
    TRange r = OrderedRange(selection);
    if (r.FirstRow == r.LastRow || r.FirstCol == r.LastCol) {
        if (e.Notifier)
            e.Notifier->Beep();
        return 0;
    }
    GraphState& g = e.Cur->Graphs;
    if (g.Named.size() >= kMaxNamedGraphs) {
        ReportError(e, kMaxGraphsExceeded);
        return 0;
    }
    ResetGraph(g.Current);
    auto rowRange = [&](int row) {
        return TRange{r.FirstCol, static_cast<std::int16_t>(row), r.LastCol, static_cast<std::int16_t>(row)};
    };
    g.Current.XRange.Set(rowRange(r.FirstRow));
    int series = std::min(r.LastRow - r.FirstRow, kGraphSeries);
    for (int i = 0; i < series; ++i)
        g.Current.Series[i].Set(rowRange(r.FirstRow + 1 + i));
    std::string name = FreeQuickGraphName(g);
    SaveNamedGraph(g, name);
    e.Cur->Modified = true;
    return FindNamedGraph(g, name);
}

}  // namespace zt
