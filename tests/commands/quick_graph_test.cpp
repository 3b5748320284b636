#include "commands/quick_graph.h"

#include <cstring>

#include "graph/graph_def.h"
#include "tests/commands/command_test_support.h"

namespace zt {
namespace {

class QuickGraphTest : public CommandTest {
protected:
    GraphState& Graphs() { return e.Cur->Graphs; }
    std::string RangeText(const PackedRange& r) { return FormatRange(e, r.Get()); }
};

TEST_F(QuickGraphTest, FirstRowIsXAndTheNextRowsAreSeries)
{
    int n = QuickGraph(e, Range("B2..E4"));
    ASSERT_EQ(n, 1);
    const TGraphDef& g = Graphs().Named[0];
    EXPECT_EQ(GraphName(g), "QGRAPH1");
    EXPECT_EQ(RangeText(g.XRange), "B2..E2");
    EXPECT_EQ(RangeText(g.Series[0]), "B3..E3");
    EXPECT_EQ(RangeText(g.Series[1]), "B4..E4");
    for (int i = 2; i < kGraphSeries; ++i)
        EXPECT_FALSE(RangeIsDefined(g.Series[i].Get())) << i;
    EXPECT_TRUE(GraphIsDefined(g));
    EXPECT_EQ(RangeText(Graphs().Current.Series[1]), "B4..E4");
    EXPECT_TRUE(e.Cur->Modified);
}

TEST_F(QuickGraphTest, AtMostSevenRowsAreTaken)
{
    ASSERT_EQ(QuickGraph(e, Range("A1..C10")), 1);
    const TGraphDef& g = Graphs().Named[0];
    EXPECT_EQ(RangeText(g.XRange), "A1..C1");
    EXPECT_EQ(RangeText(g.Series[5]), "A7..C7");
}

TEST_F(QuickGraphTest, PreviousSettingsAreCleared)
{
    TGraphDef& cur = Graphs().Current;
    cur.Type = gtPie;
    cur.Series[4].Set(Range("H1..H9"));
    cur.Titles[0][0] = 3;
    std::memcpy(cur.Titles[0] + 1, "Old", 3);
    ASSERT_EQ(QuickGraph(e, Range("A1..B2")), 1);
    EXPECT_EQ(cur.Type, gtXY);
    EXPECT_FALSE(RangeIsDefined(cur.Series[4].Get()));
    EXPECT_EQ(cur.Titles[0][0], 0);
}

TEST_F(QuickGraphTest, EachQuickGraphTakesTheNextFreeName)
{
    SaveNamedGraph(Graphs(), "QGRAPH1");
    EXPECT_EQ(QuickGraph(e, Range("A1..B2")), 2);
    EXPECT_EQ(QuickGraph(e, Range("A1..C3")), 3);
    EXPECT_EQ(GraphName(Graphs().Named[1]), "QGRAPH2");
    EXPECT_EQ(GraphName(Graphs().Named[2]), "QGRAPH3");
    EXPECT_EQ(RangeText(Graphs().Named[1].XRange), "A1..B1");
    EXPECT_EQ(RangeText(Graphs().Named[2].XRange), "A1..C1");
}

TEST_F(QuickGraphTest, OneRowOrOneColumnOnlyBeeps)
{
    EXPECT_EQ(QuickGraph(e, Range("A1..E1")), 0);
    EXPECT_EQ(QuickGraph(e, Range("A1..A5")), 0);
    EXPECT_EQ(QuickGraph(e, Range("A1")), 0);
    EXPECT_EQ(notify.Beeps(), 3);
    EXPECT_EQ(notify.Messages(), 0);
    EXPECT_TRUE(Graphs().Named.empty());
    EXPECT_FALSE(RangeIsDefined(Graphs().Current.XRange.Get()));
}

TEST_F(QuickGraphTest, NoFreeSlotIsReported)
{
    for (int i = 0; i < kMaxNamedGraphs; ++i)
        ASSERT_EQ(QuickGraph(e, Range("A1..B2")), i + 1);
    Graphs().Current.Type = gtBar;
    EXPECT_EQ(QuickGraph(e, Range("C1..D2")), 0);
    EXPECT_EQ(notify.LastMessage(), "Error:Max Graphs Exceeded");
    EXPECT_EQ(Graphs().Named.size(), static_cast<std::size_t>(kMaxNamedGraphs));
    EXPECT_EQ(GraphName(Graphs().Named.back()), "QGRAPH50");
    EXPECT_EQ(Graphs().Current.Type, gtBar);
    EXPECT_EQ(RangeText(Graphs().Current.XRange), "A1..B1");
}

}  // namespace
}  // namespace zt
