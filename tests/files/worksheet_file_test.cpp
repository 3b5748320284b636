#include "files/worksheet_file.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include "core/cell_entry.h"
#include "core/cell_store.h"
#include "core/range_names.h"
#include "formula/compiled_formula.h"
#include "formula/opcodes.h"
#include "formula/recalc.h"
#include "graph/graph_def.h"
#include "tests/files/wks_test_support.h"

namespace zt {
namespace {

class WorksheetFileTest : public ::testing::Test, protected WksEngine {
protected:
    Bytes Write(const TRange* extract = nullptr)
    {
        Bytes out;
        WriteWorksheetFile(e, out, extract);
        return out;
    }
    ReadResult Read(const Bytes& b, ReadOptions o = {}) { return ReadWorksheetFile(e, b, o); }
    // Replaces the worksheet by an empty one.
    void Fresh()
    {
        CloseSheet(e, e.Cur->HeapNo);
        RestoreContext(e, OpenSheet(e, "U"));
    }
    static std::uint16_t Word(const Bytes& b, std::size_t at)
    {
        return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
    }
};

// A worksheet with every cell kind and every setting the file carries.
void FillRichWorksheet(Engine& e)
{
    EnterCell(e, "5", 2, 1);
    EnterCell(e, "3.25", 0, 0);
    EnterCell(e, "'left label", 1, 0);
    EnterCell(e, "^centred", 1, 1);
    EnterCell(e, "+A1*2+$B$3", 4, 2);
    EnterCell(e, "@ERR", 5, 2);
    EnterCell(e, "+\"ab\"&\"cd\"", 6, 2);
    EnterCell(e, "@SUM(A1..B3)", 7, 3);
    FindOrCreateCell(e, 9, 4);  // a blank cell with attributes
    PCell styled = FindCell(e, 9, 4);
    styled->Typeface = 1;
    styled->FontSize = 14;
    styled->Style = 3;
    styled->Borders = 0x0F;
    styled->Colors = 0x01FF0000;
    FindCell(e, 2, 1)->Format = 0x02;
    RecalcAll(e);

    SetRangeName(e, "TOTALS", TRange{0, 0, 1, 2});
    SetRangeName(e, "ABCDEFGHIJKL", TRange{3, 7, 3, 7});
    Worksheet& ws = *e.Cur;
    ws.DataRanges[drPrint] = TRange{0, 0, 4, 9};
    ws.DataRanges[drSortKey1] = TRange{1, 0, 1, 0};
    ws.DataRanges[drTitles2] = TRange{0, 1, 0, 1};
    ws.Analysis.TableByte = 7;
    ws.Analysis.CarriedByte = 9;
    ws.Analysis.SortKey3 = TRange{2, 0, 2, 0};
    ws.Analysis.SortKey4Ascending = false;
    ws.Analysis.RegressX = TRange{0, 0, 0, 9};
    ws.Analysis.RegressMasks[2] = 5;
    ws.Settings.ManualCalc = true;
    ws.Settings.Protect = true;
    ws.Settings.ZeroSuppress = true;
    ws.Settings.NegColor = true;
    ws.Settings.Prefix = '"';
    ws.Settings.DefaultFormat = 0x22;
    ws.Settings.BandColor = 0x00123456;
    ws.Print.Header = "Quarterly";
    ws.Print.Footer = "Page #";
    ws.Print.Page = {0.75, 1.0, 0.5, 0.25, 3.5, 0};
    ws.Layout.ColWidths[3] = 160;
    ws.Layout.RowHeights[4] = 30;
    ws.Window.SplitByte = 1;
    ws.Window.Synchronized = true;
    ws.Window.HSplit = true;
    ws.Window.ActivePane = 1;
    ws.Window.Panes[0] = PaneState{1, 2, 3, 4, 300, 500};
    ws.Window.Panes[1] = PaneState{5, 6, 7, 8, 0, 0};
    ws.Window.Frozen = {0, 1, 0, 2};
    ws.Window.Sheets = 4;
    ws.Window.Tabs = {"Sheet A", "Sheet B", "Sheet C", "Sheet D"};
    ws.Window.Buttons.push_back(MacroButton{"Run", "{CALC}", 3, 2, 4, 5, 60, 20});
    ws.Window.FontName = "Courier New";
    ws.Window.FontHeight = 12;
    ws.Info.Title = "Budget";
    ws.Info.Comment = "First draft";
    ws.UserFunctions.push_back(TUserFunction{"TWICE", "@A(1)*2", 1});

    GraphState& g = ws.Graphs;
    g.Current.Type = gtBar;
    g.Current.XRange.Set(TRange{0, 0, 0, 4});
    g.Current.Series[0].Set(TRange{1, 0, 1, 4});
    g.Current.Colors[0] = 9;
    g.Current.Divisions = 0x0203;
    std::memcpy(g.Current.Titles[0], "\x05Sales", 6);
    SaveNamedGraph(g, "FIRST");
    g.Current.Type = gtPie3D;
    SaveNamedGraph(g, "SECOND");
}

TEST_F(WorksheetFileTest, RoundTripGivesTheSameBytes)
{
    FillRichWorksheet(e);
    Bytes first = Write();
    Fresh();
    ReadResult r = Read(first);
    ASSERT_TRUE(r.Ok) << r.Error;
    EXPECT_TRUE(r.HasExtension);
    EXPECT_FALSE(r.Truncated);
    Bytes second = Write();
    EXPECT_EQ(first, second);
}

TEST_F(WorksheetFileTest, RoundTripRestoresCellsAndSettings)
{
    FillRichWorksheet(e);
    Bytes file = Write();
    Fresh();
    ASSERT_TRUE(Read(file).Ok);
    Worksheet& ws = *e.Cur;

    PCell five = FindCell(e, 2, 1);
    ASSERT_NE(five, nullptr);
    EXPECT_EQ(five->Kind, ckInteger);
    EXPECT_EQ(ReadInteger(*five), 5);
    EXPECT_EQ(five->Format, 0x02);
    EXPECT_EQ(ReadReal(*FindCell(e, 0, 0)), 3.25);
    EXPECT_EQ(TextOf(e, FindCell(e, 1, 1)->Text), "^centred");

    PCell formula = FindCell(e, 4, 2);
    ASSERT_NE(formula, nullptr);
    EXPECT_EQ(formula->Kind, ckFormula);
    // Four sheets of 2048 rows: references show their sheet.
    EXPECT_EQ(e.Formula->FormulaToText(e, formula), "+A:A1*2+A:$B$3");
    EXPECT_EQ(ReadReal(*formula), 3.25 * 2 + 5);
    EXPECT_EQ(FindCell(e, 5, 2)->Kind, ckFormula | kfError);
    PCell str = FindCell(e, 6, 2);
    EXPECT_EQ(str->Kind, ckStrFormula);
    EXPECT_EQ(TextOf(e, ReadStrResult(*str)), "abcd");
    // Linking registered the formula with the cells it reads.
    EXPECT_NE(FindCell(e, 0, 0)->Dependents, 0u);

    PCell styled = FindCell(e, 9, 4);
    EXPECT_EQ(styled->Typeface, 1);
    EXPECT_EQ(styled->FontSize, 14);
    EXPECT_EQ(styled->Borders, 0x0F);
    EXPECT_EQ(styled->Colors, 0x01FF0000u);

    EXPECT_EQ(RangeOfName(e, FindRangeName(e, "TOTALS")), (TRange{0, 0, 1, 2}));
    EXPECT_GT(FindRangeName(e, "ABCDEFGHIJKL"), 0);
    EXPECT_EQ(ws.DataRanges[drPrint], (TRange{0, 0, 4, 9}));
    EXPECT_TRUE(ws.Settings.ManualCalc);
    EXPECT_TRUE(ws.Settings.Protect);
    EXPECT_TRUE(ws.Settings.ZeroSuppress);
    EXPECT_TRUE(ws.Settings.NegColor);
    EXPECT_EQ(ws.Settings.Prefix, '"');
    EXPECT_EQ(ws.Settings.DefaultFormat, 0x22);
    EXPECT_EQ(ws.Settings.BandColor, 0x00123456u);
    EXPECT_EQ(ws.Settings.RowsPerSheet, 2048);
    EXPECT_EQ(ws.Analysis.CarriedByte, 9);
    EXPECT_EQ(ws.Analysis.RegressMasks[2], 5);
    EXPECT_EQ(ws.Layout.ColWidths[3], 160);
    EXPECT_EQ(ws.Layout.RowHeights[4], 30);
    EXPECT_EQ(ws.Window.Panes[0].CursorRow, 4);
    EXPECT_EQ(ws.Window.Panes[1].LeftCol, 5);
    ASSERT_EQ(ws.Window.Buttons.size(), 1u);
    EXPECT_EQ(ws.Window.Buttons[0].Macro, "{CALC}");
    EXPECT_EQ(ws.Window.Tabs.size(), 4u);
    EXPECT_EQ(ws.Print.Header, "Quarterly");
    EXPECT_DOUBLE_EQ(ws.Print.Page[4], 3.5);
    EXPECT_EQ(ws.Info.Title, "Budget");
    EXPECT_GE(ws.Info.CreatedDate, 0);
    ASSERT_EQ(ws.UserFunctions.size(), 1u);
    EXPECT_EQ(ws.UserFunctions[0].Body, "@A(1)*2");

    ASSERT_EQ(ws.Graphs.Named.size(), 2u);
    EXPECT_EQ(GraphName(ws.Graphs.Named[1]), "SECOND");
    EXPECT_EQ(ws.Graphs.Named[1].Type, gtPie3D);
    EXPECT_EQ(ws.Graphs.Named[0].Colors[0], 9);
    EXPECT_EQ(ws.Graphs.Current.Series[0].Get(), (TRange{1, 0, 1, 4}));
}

TEST_F(WorksheetFileTest, EmptyWorksheetHasBothSectionsAndMarkers)
{
    Bytes b = Write();
    Bytes head = Concat({Bof(), Record(0x0006, {0, 0, 0, 0, 0, 0, 0, 0})});
    ASSERT_GE(b.size(), head.size());
    EXPECT_TRUE(std::equal(head.begin(), head.end(), b.begin()));
    std::size_t eof = FindRecord(b, 0x0001);
    ASSERT_NE(eof, std::string::npos);
    for (std::uint16_t cell : {0x0C, 0x0D, 0x0E, 0x0F, 0x10, 0x33})
        EXPECT_EQ(FindRecord(b, cell), std::string::npos);
    EXPECT_EQ(b[eof + 4], 0x1A);
    EXPECT_EQ(b[eof + 5], 0x00);
    Bytes tail{0x01, 0x00, 0x00, 0x00, 0x1A, 0x1A};
    EXPECT_TRUE(std::equal(tail.begin(), tail.end(), b.end() - 6));
}

TEST_F(WorksheetFileTest, SettingsRecordsComeInTheirOrderWithTheirBytes)
{
    Bytes b = Write();
    std::size_t calc = FindRecord(b, 0x0002);
    std::size_t split = FindRecord(b, 0x0004);
    std::size_t window = FindRecord(b, 0x0007);
    std::size_t name = FindRecord(b, 0x000B);
    std::size_t graph = FindRecord(b, 0x002D);
    ASSERT_NE(graph, std::string::npos);
    EXPECT_LT(calc, split);
    EXPECT_LT(split, window);
    EXPECT_LT(window, name);
    EXPECT_LT(name, graph);
    EXPECT_EQ(b[calc + 4], 0xFF);  // automatic recalculation
    EXPECT_EQ(Word(b, window + 2), 31);
    EXPECT_EQ(Word(b, window + 4 + 6), 9);
    EXPECT_EQ(Word(b, window + 4 + 28), 72);
    EXPECT_EQ(FindRecord(b, 0x0009), std::string::npos);  // no second pane without a split
    // The settings name: "G!", carried byte 255 for 0, zeros shown, "P", 1.
    Bytes settings{'G', '!', 255, 2, 'P', 1};
    EXPECT_EQ(Word(b, name + 2), 24);
    EXPECT_TRUE(std::equal(settings.begin(), settings.end(), b.begin() + static_cast<long>(name) + 4));
    EXPECT_EQ(b[name + 4 + 6], 0);
    EXPECT_EQ(Word(b, graph + 2), 437);
    std::size_t margins = FindRecord(b, 0x0028);
    EXPECT_EQ(Word(b, margins + 2), 10);
}

TEST_F(WorksheetFileTest, CellRecordsHaveTheirExactBytes)
{
    EnterCell(e, "5", 2, 1);
    FindCell(e, 2, 1)->Format = 0xFF;
    Bytes b = Write();
    std::size_t at = FindRecord(b, 0x000D);
    ASSERT_NE(at, std::string::npos);
    Bytes expected{0x0D, 0x00, 0x07, 0x00, 0xFF, 0x01, 0x00, 0x02, 0x00, 0x05, 0x00};
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), b.begin() + static_cast<long>(at)));

    EnterCell(e, "'hi", 0, 0);
    EnterCell(e, "2.5", 0, 1);
    b = Write();
    at = FindRecord(b, 0x000F);
    Bytes label = Record(0x000F, Concat({CellHeader(FindCell(e, 0, 0)->Format, 0, 0), Bytes{'\'', 'h', 'i', 0}}));
    EXPECT_TRUE(std::equal(label.begin(), label.end(), b.begin() + static_cast<long>(at)));
    at = FindRecord(b, 0x000E);
    Bytes number = CellHeader(FindCell(e, 0, 1)->Format, 1, 0);
    PutDouble(number, 2.5);
    number = Record(0x000E, number);
    EXPECT_TRUE(std::equal(number.begin(), number.end(), b.begin() + static_cast<long>(at)));
    // Row by row: the label and number of row 0 come before the integer of row 2.
    EXPECT_LT(FindRecord(b, 0x000F), FindRecord(b, 0x000D));
}

TEST_F(WorksheetFileTest, FormulaReferencesAreStoredRelativeToTheCell)
{
    EnterCell(e, "+A1", 4, 2);
    EnterCell(e, "+$A$1", 4, 3);
    Bytes b = Write();
    std::size_t rel = FindRecord(b, 0x0010);
    ASSERT_NE(rel, std::string::npos);
    // Body: header 5, value 8, size 2, then opCellRef and its two words.
    EXPECT_EQ(b[rel + 4 + 15], opCellRef);
    EXPECT_EQ(Word(b, rel + 4 + 16), 0xBFFE);
    EXPECT_EQ(Word(b, rel + 4 + 18), 0xBFFC);
    std::size_t abs = FindRecord(b, 0x0010, rel + 4 + Word(b, rel + 2));
    EXPECT_EQ(Word(b, abs + 4 + 16), 0x0000);
    EXPECT_EQ(Word(b, abs + 4 + 18), 0x0000);
    std::uint16_t size = Word(b, rel + 4 + 13);
    EXPECT_EQ(Word(b, rel + 2), 15 + size);
    EXPECT_EQ(b[rel + 4 + 15 + size - 1], opEnd);

    Fresh();
    ASSERT_TRUE(Read(b).Ok);
    EXPECT_EQ(e.Formula->FormulaToText(e, FindCell(e, 4, 2)), "+A1");
    EXPECT_EQ(e.Formula->FormulaToText(e, FindCell(e, 4, 3)), "+$A$1");
}

TEST_F(WorksheetFileTest, ErrorAndStringFormulasKeepTheirResults)
{
    EnterCell(e, "@ERR", 0, 0);
    EnterCell(e, "+\"x\"&\"y\"", 1, 0);
    Bytes b = Write();
    std::size_t err = FindRecord(b, 0x0010);
    Bytes marker{0, 0, 0, 0, 0, 0, 0xF0, 0x7F};
    EXPECT_TRUE(std::equal(marker.begin(), marker.end(), b.begin() + static_cast<long>(err) + 4 + 5));
    std::size_t str = FindRecord(b, 0x0010, err + 4 + Word(b, err + 2));
    std::size_t next = str + 4 + Word(b, str + 2);
    EXPECT_EQ(Word(b, next), 0x0033);  // the string follows its formula at once
    EXPECT_EQ(FindRecord(b, 0x0033), next);

    Fresh();
    ASSERT_TRUE(Read(b).Ok);
    PCell e1 = FindCell(e, 0, 0);
    EXPECT_EQ(e1->Kind, ckFormula | kfError);
    EXPECT_EQ(ReadReal(*e1), 0.0);
    PCell s = FindCell(e, 1, 0);
    EXPECT_EQ(s->Kind, ckStrFormula);
    EXPECT_EQ(TextOf(e, ReadStrResult(*s)), "xy");
}

TEST_F(WorksheetFileTest, AFileOfOnlyCellsReadsAndTakesItsColumnWidths)
{
    Bytes integer = CellHeader(0x71, 1, 2);
    Put16(integer, 42);
    Bytes number = CellHeader(0x71, 0, 0);
    PutDouble(number, -1.5);
    Bytes width;
    Put16(width, 3);
    width.push_back(20);
    Bytes file = Concat({Bof(), Record(0x0008, width), Record(0x000D, integer), Record(0x000E, number),
                         Record(0x000F, Concat({CellHeader(0x71, 0, 1), Bytes{'\'', 'o', 'k', 0}})), Eof()});
    ReadResult r = Read(file);
    ASSERT_TRUE(r.Ok) << r.Error;
    EXPECT_FALSE(r.HasExtension);
    EXPECT_EQ(r.Cells, 3);
    EXPECT_EQ(ReadInteger(*FindCell(e, 2, 1)), 42);
    EXPECT_EQ(ReadReal(*FindCell(e, 0, 0)), -1.5);
    EXPECT_EQ(TextOf(e, FindCell(e, 1, 0)->Text), "'ok");
    EXPECT_EQ(e.Cur->Layout.ColWidths[3], 160);
}

TEST_F(WorksheetFileTest, ACalculationOrderLengthInTheHighByteIsRead)
{
    Bytes integer = CellHeader(0x71, 0, 0);
    Put16(integer, 7);
    Bytes calcOrder = {0x03, 0x00, 0x00, 0x01, 0x01};  // length word 0x0100: one byte
    Bytes file = Concat({Bof(), calcOrder, Record(0x000D, integer), Eof()});
    ReadResult r = Read(file);
    ASSERT_TRUE(r.Ok) << r.Error;
    EXPECT_EQ(r.Cells, 1);
    EXPECT_EQ(ReadInteger(*FindCell(e, 0, 0)), 7);
}

TEST_F(WorksheetFileTest, ColourByteOfTheTypeWordSetsCellColours)
{
    Bytes blank = CellHeader(0x71, 0, 0);
    Bytes file = Concat({Bof(), Record(0x000C, blank), Record(0x2C0C, CellHeader(0x71, 1, 0)), Eof()});
    ASSERT_TRUE(Read(file).Ok);
    EXPECT_EQ(FindCell(e, 0, 0)->Colors, 0xC0000000u);
    // Foreground index 0x0C, background palette entry 2.
    EXPECT_EQ(FindCell(e, 0, 1)->Colors, 0x0C008000u);
}

// Every finite number comes back bit for bit, the tiny and the huge among
// them; what is no number reads as 0, and only the exact error marker of a
// formula's value means ERR.
TEST_F(WorksheetFileTest, EveryFiniteNumberSurvivesASaveAndReloadBitForBit)
{
    const double values[] = {2E-39, 1E306, std::numeric_limits<double>::denorm_min(), 0x1p1020, 7.5,
                             std::numeric_limits<double>::max(), 2.2250738585072014e-308, -1.5e-310};
    for (int i = 0; i < 8; ++i)
        StoreValue(e, i, 0, values[i], false);
    Bytes b = Write();
    Fresh();
    ASSERT_TRUE(Read(b).Ok);
    for (int i = 0; i < 8; ++i) {
        double back = NumericValue(*FindCell(e, i, 0));
        EXPECT_EQ(std::memcmp(&back, &values[i], sizeof back), 0) << values[i];
    }

    Bytes file = Bof();
    const double odd[] = {std::numeric_limits<double>::infinity(), std::numeric_limits<double>::quiet_NaN()};
    for (int i = 0; i < 2; ++i) {
        Bytes body = CellHeader(0x71, 0, static_cast<std::uint16_t>(i));
        PutDouble(body, odd[i]);
        file = Concat({file, Record(0x000E, body)});
    }
    const std::uint64_t formulaValues[] = {0x7FF0000000000000ull, 0x7FF0000000000001ull};
    for (int i = 0; i < 2; ++i) {
        Bytes body = CellHeader(0x71, 1, static_cast<std::uint16_t>(i));
        for (int k = 0; k < 8; ++k)
            body.push_back(static_cast<std::uint8_t>(formulaValues[i] >> (8 * k)));
        Put16(body, 4);
        body.insert(body.end(), {opInteger, 5, 0, opEnd});
        file = Concat({file, Record(0x0010, body)});
    }
    Fresh();
    ASSERT_TRUE(Read(Concat({file, Eof()})).Ok);
    EXPECT_EQ(ReadReal(*FindCell(e, 0, 0)), 0.0);
    EXPECT_EQ(ReadReal(*FindCell(e, 1, 0)), 0.0);
    EXPECT_TRUE(HasError(FindCell(e, 0, 1))) << "the error marker";
    EXPECT_FALSE(HasError(FindCell(e, 1, 1))) << "a NaN that is not the marker";
}

TEST_F(WorksheetFileTest, LongLabelsAndTwelveCharacterNamesReadBackWhole)
{
    std::string label = "'" + std::string(234, 'x');
    EnterCell(e, label, 0, 0);
    SetRangeName(e, "TWELVECHARSX", TRange{0, 0, 0, 0});
    Bytes b = Write();
    EXPECT_EQ(Word(b, FindRecord(b, 0x000F) + 2), 241);
    Fresh();
    ASSERT_TRUE(Read(b).Ok);
    EXPECT_EQ(TextOf(e, FindCell(e, 0, 0)->Text), label);
    EXPECT_GT(FindRangeName(e, "TWELVECHARSX"), 0);
    EXPECT_EQ(ListFileRangeNames(e, b), std::vector<std::string>{"TWELVECHARSX: A1"});
}

TEST_F(WorksheetFileTest, ExtractStoresCellsAndAttributesRelativeToItsCorner)
{
    EnterCell(e, "1", 4, 2);
    EnterCell(e, "2", 5, 3);
    EnterCell(e, "3", 0, 0);  // outside the extract
    FindCell(e, 5, 3)->Style = 2;
    TRange r{2, 4, 3, 5};
    Bytes b = Write(&r);
    EXPECT_EQ(FindRecord(b, 0x0002), std::string::npos);  // no settings in an extract
    std::size_t first = FindRecord(b, 0x000D);
    EXPECT_EQ(Word(b, first + 5), 0);
    EXPECT_EQ(Word(b, first + 7), 0);
    std::size_t second = FindRecord(b, 0x000D, first + 11);
    EXPECT_EQ(Word(b, second + 5), 1);
    EXPECT_EQ(Word(b, second + 7), 1);
    EXPECT_EQ(FindRecord(b, 0x000D, second + 11), std::string::npos);
    std::size_t attr = FindRecord(b, 0x0008, ExtensionStart(b));
    ASSERT_NE(attr, std::string::npos);
    EXPECT_EQ(Word(b, attr + 4), 1);
    EXPECT_EQ(Word(b, attr + 6), 1);
    EXPECT_EQ(b[attr + 10], 2);
}

TEST_F(WorksheetFileTest, FiftyOneNamedGraphsKeepFifty)
{
    Bytes file = Bof();
    for (int i = 0; i < 51; ++i) {
        Bytes body(16 + 437, 0);
        std::string name = "G" + std::to_string(i);
        std::memcpy(body.data(), name.data(), name.size());
        file = Concat({file, Record(0x002E, body)});
    }
    file = Concat({file, Eof()});
    ASSERT_TRUE(Read(file).Ok);
    ASSERT_EQ(e.Cur->Graphs.Named.size(), 50u);
    EXPECT_EQ(GraphName(e.Cur->Graphs.Named[49]), "G49");
    // Steps below 2 are read as 5.
    EXPECT_EQ(e.Cur->Graphs.Named[0].XStep, 5);
}

TEST_F(WorksheetFileTest, MergeAddsSubtractsAndPlacesAtTheTarget)
{
    Bytes three = CellHeader(0x71, 0, 0);
    Put16(three, 3);
    Bytes other = CellHeader(0x71, 1, 0);
    Put16(other, 4);
    Bytes file = Concat({Bof(), Record(0x000D, three), Record(0x000D, other), Eof()});
    EnterCell(e, "10", 5, 5);
    ReadOptions o;
    o.Mode = ReadMode::Merge;
    o.Action = MergeAction::Difference;
    o.TargetRow = 5;
    o.TargetCol = 5;
    o.Source = "A1..A1";
    ASSERT_TRUE(Read(file, o).Ok);
    PCell c = FindCell(e, 5, 5);
    EXPECT_EQ(c->Kind, ckReal);
    EXPECT_EQ(ReadReal(*c), 7.0);
    EXPECT_EQ(FindCell(e, 5, 6), nullptr);  // outside the source range

    o.Action = MergeAction::Sum;
    o.Source.clear();
    ASSERT_TRUE(Read(file, o).Ok);
    EXPECT_EQ(ReadReal(*FindCell(e, 5, 5)), 10.0);
    EXPECT_EQ(ReadReal(*FindCell(e, 5, 6)), 4.0);
}

TEST_F(WorksheetFileTest, MergeOfValuesTurnsFormulasAndStringsIntoValues)
{
    EnterCell(e, "2", 0, 0);
    EnterCell(e, "+A1*3", 0, 1);
    EnterCell(e, "+\"p\"&\"q\"", 0, 2);
    Bytes b = Write();
    Fresh();
    ReadOptions o;
    o.Mode = ReadMode::ValuesOnly;
    o.TargetRow = 10;
    ASSERT_TRUE(Read(b, o).Ok);
    EXPECT_EQ(FindCell(e, 10, 1)->Kind, ckReal);
    EXPECT_EQ(ReadReal(*FindCell(e, 10, 1)), 6.0);
    EXPECT_EQ(FindCell(e, 10, 2)->Kind, ckString);
    EXPECT_EQ(TextOf(e, FindCell(e, 10, 2)->Text), "'pq");
}

TEST_F(WorksheetFileTest, MergeFromANamedRangeUsesTheNamesCorner)
{
    EnterCell(e, "1", 3, 3);
    EnterCell(e, "2", 0, 0);
    SetRangeName(e, "PART", TRange{3, 3, 3, 3});
    Bytes b = Write();
    Fresh();
    ReadOptions o;
    o.Mode = ReadMode::Merge;
    o.Source = "part";
    ASSERT_TRUE(Read(b, o).Ok);
    EXPECT_EQ(NumericValue(*FindCell(e, 0, 0)), 1.0);
    EXPECT_EQ(FindCell(e, 3, 3), nullptr);
    EXPECT_EQ(FindRangeName(e, "PART"), -1);  // a named merge adds no names
}

TEST_F(WorksheetFileTest, LinkModeHandsValuesToTheLinkTableAndCreatesNothing)
{
    EnterCell(e, "8", 2, 1);
    EnterCell(e, "'word", 3, 1);
    EnterCell(e, "+B3*2", 4, 1);
    FindOrCreateCell(e, 6, 1)->Format = 0x02;  // a blank cell that carries a format
    Bytes b = Write();
    Fresh();
    LinkedFile linked{"OTHER.WKS", {}};
    for (std::int16_t row : {2, 3, 4, 5, 6})
        linked.Cells.push_back(LinkedCell{1, row, 0, false, false, 0, {}});
    e.FileLinkTable.push_back(linked);
    ReadOptions o;
    o.Mode = ReadMode::Link;
    o.LinkFile = "other.wks";
    ASSERT_TRUE(Read(b, o).Ok);
    const auto& cells = e.FileLinkTable[0].Cells;
    EXPECT_TRUE(cells[0].HasValue);
    EXPECT_EQ(cells[0].Value, 8.0);
    EXPECT_TRUE(cells[1].IsString);
    EXPECT_EQ(cells[1].Text, "word");  // without its prefix
    EXPECT_EQ(cells[2].Value, 16.0);
    EXPECT_FALSE(cells[3].HasValue);
    EXPECT_TRUE(cells[4].HasValue);
    EXPECT_TRUE(cells[4].IsString);
    EXPECT_EQ(cells[4].Text, "");
    EXPECT_EQ(FindCell(e, 2, 1), nullptr);
    EXPECT_EQ(e.Cur->Names.Count, 0);
}

TEST_F(WorksheetFileTest, FormulasCanBeLeftUnlinkedForTheCaller)
{
    EnterCell(e, "1", 0, 0);
    EnterCell(e, "+A1", 0, 1);
    Bytes b = Write();
    Fresh();
    ReadOptions o;
    o.LinkAfterRead = false;
    ASSERT_TRUE(Read(b, o).Ok);
    EXPECT_EQ(FindCell(e, 0, 1)->Kind, ckFormula | kfUnlinked);
    LinkReadFormulas(e);
    EXPECT_EQ(FindCell(e, 0, 1)->Kind, ckFormula);
    EXPECT_EQ(e.Formula->FormulaToText(e, FindCell(e, 0, 1)), "+A1");
}

TEST_F(WorksheetFileTest, TypefacesAreTranslatedByName)
{
    EnterCell(e, "1", 0, 0);
    FindCell(e, 0, 0)->Typeface = 2;  // "Times New Roman" in the default list
    Bytes b = Write();
    Fresh();
    e.Cur->Window.Typefaces = {"Times New Roman", "Arial"};
    ASSERT_TRUE(Read(b).Ok);
    EXPECT_EQ(FindCell(e, 0, 0)->Typeface, 0);
}

TEST_F(WorksheetFileTest, FileNamesAndSignature)
{
    SetRangeName(e, "ALPHA", TRange{0, 0, 2, 3});
    Bytes b = Write();
    EXPECT_TRUE(IsWorksheetFile(b));
    EXPECT_FALSE(IsWorksheetFile(Bytes{0, 0, 3, 0}));
    EXPECT_FALSE(IsWorksheetFile(Bytes{0, 0}));
    EXPECT_EQ(ListFileRangeNames(e, b), std::vector<std::string>{"ALPHA: A1..C4"});
}

}  // namespace
}  // namespace zt
