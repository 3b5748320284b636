#include "graph/graph_def.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace zt {
namespace {

TEST(GraphDefTest, ResetGivesTheDocumentedDefaults)
{
    TGraphDef g;
    std::memset(static_cast<void*>(&g), 0xAB, sizeof g);  // every field dirty
    ResetGraph(g);
    EXPECT_EQ(GraphName(g), "");
    EXPECT_FALSE(RangeIsDefined(g.XRange.Get()));
    for (int i = 0; i < kGraphSeries; ++i) {
        EXPECT_FALSE(RangeIsDefined(g.Series[i].Get()));
        EXPECT_FALSE(RangeIsDefined(g.DataLabels[i].Get()));
        EXPECT_EQ(g.SeriesOptions[i], 3);
        EXPECT_EQ(g.LabelPlace[i], 1);
    }
    EXPECT_EQ(g.Type, gtXY);
    EXPECT_EQ(g.AxisFlags, 0);
    EXPECT_EQ(g.XManual, 0);
    EXPECT_EQ(g.YManual, 0);
    EXPECT_EQ(double{g.XLow}, 0.0);
    EXPECT_EQ(double{g.YHigh}, 0.0);
    EXPECT_EQ(g.XFormat, 1);
    EXPECT_EQ(g.YFormat, 1);
    EXPECT_EQ(g.XStep, 4);
    EXPECT_EQ(g.YStep, 4);
    const int divisions = g.Divisions;
    EXPECT_EQ(divisions & 0xFF, 1);
    EXPECT_EQ(divisions >> 8, 0);
    EXPECT_EQ(g.Titles[0][0], 0);
    EXPECT_EQ(g.Legends[5][0], 0);
    EXPECT_EQ(g.LegendType, 0);
}

TEST(GraphDefTest, DefaultAttributeTablesTellTheSeriesApart)
{
    TGraphDef g;
    ResetGraph(g);
    for (int i = 0; i < kGraphSeries; ++i)
        for (int j = i + 1; j < kGraphSeries; ++j) {
            EXPECT_NE(g.Colors[i], g.Colors[j]) << i << " " << j;
            EXPECT_NE(g.Hatches[i], g.Hatches[j]) << i << " " << j;
            EXPECT_NE(g.Marks[i], g.Marks[j]) << i << " " << j;
        }
    for (int i = 0; i < kGraphSeries; ++i) {
        EXPECT_LT(g.Colors[i], 16);
        EXPECT_GE(g.Thickness[i], 1);
    }
    EXPECT_EQ(g.Styles[kGraphOtherGridStyle], 1);
    EXPECT_EQ(g.Styles[kGraphOtherGridLines], 0);
    for (const TGraphFont& f : g.Fonts) {
        EXPECT_GT(f.Name[0], 0);
        EXPECT_GT(f.Size, 0);
    }
}

TEST(GraphDefTest, DefinedNeedsAnXRangeAndOneSeries)
{
    TGraphDef g;
    ResetGraph(g);
    g.Series[0].Set(TRange{1, 0, 1, 9});
    EXPECT_FALSE(GraphIsDefined(g));
    g.Series[0].Set(kUndefinedRange);
    g.XRange.Set(TRange{0, 0, 0, 9});
    EXPECT_FALSE(GraphIsDefined(g));
    g.Series[3].Set(TRange{4, 0, 4, 9});
    EXPECT_TRUE(GraphIsDefined(g));
}

TEST(GraphDefTest, NamedGraphsSaveReplaceUseAndDelete)
{
    GraphState s;
    s.Current.Type = gtBar;
    ASSERT_TRUE(SaveNamedGraph(s, "SALES"));
    s.Current.Type = gtPie;
    ASSERT_TRUE(SaveNamedGraph(s, "COSTS"));
    EXPECT_EQ(FindNamedGraph(s, "SALES"), 1);
    EXPECT_EQ(FindNamedGraph(s, "COSTS"), 2);
    EXPECT_EQ(FindNamedGraph(s, "sales"), 0);  // the search compares exactly

    s.Current.Type = gtLine;
    ASSERT_TRUE(SaveNamedGraph(s, "SALES"));
    EXPECT_EQ(s.Named.size(), 2u);
    EXPECT_EQ(s.Named[0].Type, gtLine);
    EXPECT_EQ(GraphName(s.Named[0]), "SALES");

    ASSERT_TRUE(UseNamedGraph(s, "costs"));  // looked up upper-cased
    EXPECT_EQ(s.Current.Type, gtPie);
    EXPECT_FALSE(UseNamedGraph(s, "NONE"));
    EXPECT_EQ(s.Current.Type, gtPie);

    ASSERT_TRUE(DeleteNamedGraph(s, "SALES"));
    EXPECT_FALSE(DeleteNamedGraph(s, "SALES"));
    EXPECT_EQ(FindNamedGraph(s, "COSTS"), 1);
}

TEST(GraphDefTest, NamesAreCutToTwelveAndTheTableHoldsFifty)
{
    GraphState s;
    ASSERT_TRUE(SaveNamedGraph(s, "ABCDEFGHIJKLMNOP"));
    EXPECT_EQ(GraphName(s.Named[0]), "ABCDEFGHIJKL");
    EXPECT_EQ(FindNamedGraph(s, "ABCDEFGHIJKL"), 1);
    for (int i = 1; i < kMaxNamedGraphs; ++i)
        ASSERT_TRUE(SaveNamedGraph(s, "G" + std::to_string(i)));
    EXPECT_FALSE(SaveNamedGraph(s, "ONE-TOO-MANY"));
    EXPECT_EQ(s.Named.size(), static_cast<std::size_t>(kMaxNamedGraphs));
    EXPECT_EQ(FindNamedGraph(s, "ONE-TOO-MANY"), 0);
    EXPECT_TRUE(SaveNamedGraph(s, "G7"));  // replacing still works when full
}

TEST(GraphDefTest, SanitizeDropsOutOfBoundsRangesAndCutsTexts)
{
    TGraphDef g;
    ResetGraph(g);
    g.XRange.Set(TRange{0, 0, 300, 5});
    g.Series[2].Set(TRange{1, 1, 2, 9000});
    g.DataLabels[1].Set(TRange{1, 1, 2, 3});
    g.Name[0] = static_cast<char>(200);
    g.Titles[1][0] = static_cast<char>(90);
    SanitizeGraph(g);
    EXPECT_FALSE(RangeIsDefined(g.XRange.Get()));
    EXPECT_FALSE(RangeIsDefined(g.Series[2].Get()));
    EXPECT_EQ(g.DataLabels[1].Get(), (TRange{1, 1, 2, 3}));
    EXPECT_EQ(GraphName(g).size(), 12u);
    EXPECT_EQ(g.Titles[1][0], 39);
}

}  // namespace
}  // namespace zt
