#include "app/batch_range_commands.h"

#include "app/batch.h"
#include "app/batch_args.h"
#include "commands/erase_range.h"
#include "commands/quick_graph.h"
#include "commands/speed_fill.h"
#include "commands/speed_sum.h"
#include "graph/graph_def.h"

namespace zt {

void CmdErase(BatchSession& s, std::string_view rest)
{
    TRange r;
    if (ArgRange(s, Trim(rest), r))
        EraseRange(s.Eng(), r);
}

void CmdSpeedFill(BatchSession& s, std::string_view rest)
{
    TRange r;
    if (ArgRange(s, Trim(rest), r))
        SpeedFill(s.Eng(), r);
}

void CmdSpeedSum(BatchSession& s, std::string_view rest)
{
    TRange r;
    int row, col;
    if (ArgRange(s, NextWord(rest), r) && ArgCell(s, Trim(rest), row, col))
        SpeedSum(s.Eng(), r, row, col);
}

void CmdQuickGraph(BatchSession& s, std::string_view rest)
{
    TRange r;
    if (!ArgRange(s, Trim(rest), r))
        return;
    Engine& e = s.Eng();
    if (int n = QuickGraph(e, r))
        s.Print(GraphName(e.Cur->Graphs.Named[static_cast<std::size_t>(n) - 1]));
}

}  // namespace zt
