#include "shell/control/grid_state.h"

#include <gtest/gtest.h>

#include "shell/control/sheet_window.h"

namespace zt {
namespace {

// A pane of default-sized cells (72 x 16 pixels) with its beeps and
// pointer moves counted.
class GridStateTest : public ::testing::Test {
protected:
    GridStateTest()
    {
        g.SetLayout(&layout);
        g.SetViewport(800, 400);
        g.Events.Beep = [this] { ++beeps; };
        g.Events.OnChange = [this](int, int) { ++changes; };
    }

    void Key(int vk, bool shift = false, bool ctrl = false) { EXPECT_TRUE(g.MovementKey(KeyEvent{vk, shift, ctrl})); }
    void ExpectAt(int row, int col)
    {
        EXPECT_EQ(g.Row(), row);
        EXPECT_EQ(g.Col(), col);
    }
    void ExpectSelection(int firstRow, int firstCol, int lastRow, int lastCol)
    {
        TRange s = g.Selection();
        EXPECT_EQ(s.FirstRow, firstRow);
        EXPECT_EQ(s.FirstCol, firstCol);
        EXPECT_EQ(s.LastRow, lastRow);
        EXPECT_EQ(s.LastCol, lastCol);
    }

    SheetLayout layout;
    GridState g;
    int beeps = 0;
    int changes = 0;
};

TEST_F(GridStateTest, LeftAtColumnAIsConsumedWithoutMovingOrBeeping)
{
    g.GoToCell(3, 0);
    changes = 0;
    Key(vkLeft);
    ExpectAt(3, 0);
    EXPECT_EQ(beeps, 0);
    EXPECT_EQ(changes, 1);  // the pointer position is still refreshed
}

TEST_F(GridStateTest, UpAtRowOneStaysWithABeep)
{
    g.GoToCell(0, 2);
    Key(vkUp);
    ExpectAt(0, 2);
    EXPECT_EQ(beeps, 1);
}

TEST_F(GridStateTest, StepsPastTheLastRowOrColumnBeep)
{
    g.GoToCell(kLastRow, kLastCol);
    beeps = 0;
    Key(vkRight);
    Key(vkDown);
    ExpectAt(kLastRow, kLastCol);
    EXPECT_EQ(beeps, 2);
    EXPECT_EQ(g.Selection().FirstCol, kLastCol);
}

TEST_F(GridStateTest, ScreenLeftPastColumnABeepsButCtrlLeftDoesNot)
{
    g.GoToCell(0, 3);
    Key(vkTab, true);
    ExpectAt(0, 0);
    EXPECT_EQ(beeps, 1);
    g.GoToCell(0, 3);
    Key(vkBigLeft);
    ExpectAt(0, 0);
    EXPECT_EQ(beeps, 2);
    g.GoToCell(0, 3);
    Key(vkLeft, false, true);
    ExpectAt(0, 0);
    EXPECT_EQ(beeps, 2);
}

TEST_F(GridStateTest, GoToBeyondTheLastRowOrColumnIsClampedWithABeep)
{
    g.GoToCell(9000, 3);
    ExpectAt(kLastRow, 3);
    EXPECT_EQ(beeps, 1);
    g.GoToCell(5, 300);
    ExpectAt(5, kLastCol);
    EXPECT_EQ(beeps, 2);
    g.GoToCell(5, 7);
    EXPECT_EQ(beeps, 2);
}

TEST_F(GridStateTest, PointerClickSwitchBeepsOnEveryMove)
{
    g.PointerClick = true;
    g.GoToCell(1, 1);
    Key(vkDown);
    EXPECT_EQ(beeps, 2);
}

TEST_F(GridStateTest, CtrlMovesAScreenWidthUnlessIgnored)
{
    int screen = g.Ncols();
    ASSERT_GT(screen, 1);
    Key(vkRight, false, true);
    ExpectAt(0, screen);
    Key(vkLeft, false, true);
    ExpectAt(0, 0);

    g.IgCtrl = true;
    Key(vkRight, false, true);
    ExpectAt(0, 1);
}

TEST_F(GridStateTest, CtrlLeftStopsAtColumnA)
{
    g.GoToCell(0, 2);
    Key(vkLeft, false, true);
    ExpectAt(0, 0);
}

TEST_F(GridStateTest, HomeGoesToA1)
{
    g.GoToCell(40, 20);
    Key(vkHome);
    ExpectAt(0, 0);
    EXPECT_EQ(g.Toprow(), 0);
    EXPECT_EQ(g.Leftcol(), 0);
}

TEST_F(GridStateTest, PageDownAndUpMoveByTheVisibleRows)
{
    int rows = g.Nrows();
    EXPECT_EQ(rows, 400 / SheetLayout::kDefaultRowHeight);
    g.GoToCell(2, 1);
    Key(vkNext);
    ExpectAt(2 + rows, 1);
    EXPECT_EQ(g.Toprow(), rows);
    Key(vkPrior);
    ExpectAt(2, 1);
    EXPECT_EQ(g.Toprow(), 0);
}

TEST_F(GridStateTest, CtrlPageDownMovesOneSheetBand)
{
    g.SetPages(64);
    EXPECT_EQ(g.BandRows(), 128);
    g.GoToCell(5, 0);
    Key(vkNext, false, true);
    ExpectAt(133, 0);
    g.SetPages(0);  // ignored
    EXPECT_EQ(g.Pages(), 64);
}

TEST_F(GridStateTest, TabAndBigKeysMoveOneScreenWidth)
{
    int screen = g.Ncols();
    Key(vkTab);
    ExpectAt(0, screen);
    Key(vkTab, true);
    ExpectAt(0, 0);
    Key(vkBigRight);
    ExpectAt(0, screen);
    Key(vkBigLeft);
    ExpectAt(0, 0);
}

TEST_F(GridStateTest, ShiftArrowsExtendTheSelectionAndAPlainMoveDropsIt)
{
    g.GoToCell(1, 1);
    Key(vkRight, true);
    Key(vkDown, true);
    EXPECT_TRUE(g.Anchored());
    ExpectSelection(1, 1, 2, 2);
    Key(vkLeft, true);
    Key(vkLeft, true);
    ExpectSelection(1, 0, 2, 1);  // the anchor stays where Shift set it

    Key(vkDown);
    EXPECT_FALSE(g.Anchored());
    ExpectAt(3, 0);
    ExpectSelection(3, 0, 3, 0);
}

TEST_F(GridStateTest, AnAnchorSetByACommandSurvivesPlainMoves)
{
    g.GoToCell(1, 1);
    g.SetAnchor();
    Key(vkRight);
    Key(vkDown);
    EXPECT_TRUE(g.Anchored());
    ExpectSelection(1, 1, 2, 2);
    g.ClickCell(4, 4);
    ExpectSelection(1, 1, 4, 4);
    g.ReleaseAnchor();
    Key(vkUp);
    ExpectSelection(3, 4, 3, 4);
}

TEST_F(GridStateTest, ShiftClickExtendsAndAPlainClickDropsTheShiftAnchor)
{
    g.GoToCell(2, 2);
    g.ExtendTo(5, 3);
    ExpectSelection(2, 2, 5, 3);
    g.ClickCell(7, 7);
    ExpectSelection(7, 7, 7, 7);
}

TEST_F(GridStateTest, WithSelectionOffShiftDoesNotAnchor)
{
    g.Select = false;
    Key(vkRight, true);
    EXPECT_FALSE(g.Anchored());
    ExpectSelection(0, 1, 0, 1);
}

TEST_F(GridStateTest, MovingOffScreenScrollsThePointerIntoView)
{
    int rows = g.Nrows();
    g.GoToCell(rows, 0);
    EXPECT_EQ(g.Toprow(), 1);
    int cols = g.Ncols();
    g.GoToCell(rows, cols + 5);
    EXPECT_EQ(g.Leftcol() + g.Ncols() - 1, cols + 5);
    g.GoToCell(0, 0);
    EXPECT_EQ(g.Toprow(), 0);
    EXPECT_EQ(g.Leftcol(), 0);
}

TEST_F(GridStateTest, ClearingTitlesReturnsTheViewToWhereTheyWereSet)
{
    g.SetToprow(10);
    g.SetLeftcol(2);
    g.GoToCell(12, 4);
    g.SetTitles(3);
    EXPECT_TRUE(g.HasTitles());
    EXPECT_EQ(g.Fixrow1(), 10);
    EXPECT_EQ(g.Fixrow2(), 12);
    EXPECT_EQ(g.Fixcol1(), 2);
    EXPECT_EQ(g.Fixcol2(), 4);
    EXPECT_EQ(g.Toprow(), 13);
    EXPECT_EQ(g.Leftcol(), 5);

    g.GoToCell(200, 40);  // scrolls the unfrozen part away
    g.SetTitles(0);
    EXPECT_FALSE(g.HasTitles());
    EXPECT_EQ(g.Toprow(), 10);
    EXPECT_EQ(g.Leftcol(), 2);
}

TEST_F(GridStateTest, TitlesComeFirstOnScreenAndBoundThePointer)
{
    g.GoToCell(1, 1);
    g.SetTitles(1);  // rows 0..1 frozen
    std::vector<int> rows = g.VisibleRows();
    ASSERT_GE(rows.size(), 3u);
    EXPECT_EQ(rows[0], 0);
    EXPECT_EQ(rows[1], 1);
    EXPECT_EQ(rows[2], 2);
    g.GoToCell(300, 1);
    rows = g.VisibleRows();
    EXPECT_EQ(rows[0], 0);
    EXPECT_EQ(rows[1], 1);
    EXPECT_GT(rows[2], 2);
    EXPECT_EQ(g.Fixcol2(), -1);
}

TEST_F(GridStateTest, NrowsAndNcolsAreNeverNegative)
{
    g.SetViewport(3, 3);
    EXPECT_EQ(g.Nrows(), 0);
    EXPECT_EQ(g.Ncols(), 0);
    g.SetViewport(0, 0);
    EXPECT_EQ(g.Nrows(), 0);
    EXPECT_EQ(g.Ncols(), 0);
    g.GoToCell(1, 1);
    g.SetTitles(3);
    EXPECT_EQ(g.Nrows(), 0);
    EXPECT_EQ(g.Ncols(), 0);
    g.SetViewport(-5, -5);
    EXPECT_EQ(g.ViewportWidth(), 0);
    EXPECT_EQ(g.Nrows(), 0);
}

TEST_F(GridStateTest, MovementStillWorksInATinyViewport)
{
    g.SetViewport(3, 3);
    Key(vkNext);
    ExpectAt(1, 0);
    Key(vkRight, false, true);
    ExpectAt(1, 1);
    EXPECT_EQ(g.Toprow(), 1);
    EXPECT_EQ(g.Leftcol(), 1);
}

TEST_F(GridStateTest, ZoomScalesCellsAndTheVisibleCount)
{
    int rows = g.Nrows();
    g.SetZoom(200);
    EXPECT_EQ(g.RowPixels(0), 2 * SheetLayout::kDefaultRowHeight);
    EXPECT_EQ(g.Nrows(), rows / 2);
}

TEST_F(GridStateTest, CellAtFindsTheCellUnderAPoint)
{
    int row = -1, col = -1;
    ASSERT_TRUE(g.CellAt(73, 17, row, col));
    EXPECT_EQ(row, 1);
    EXPECT_EQ(col, 1);
    EXPECT_FALSE(g.CellAt(-1, 5, row, col));
    EXPECT_EQ(g.RowTop(1), SheetLayout::kDefaultRowHeight);
    EXPECT_EQ(g.ColumnLeft(2), 2 * SheetLayout::kDefaultColumnWidth);
}

TEST_F(GridStateTest, CopiedSettingsKeepTheirOwnEventsAndLayout)
{
    g.GoToCell(30, 6);
    SheetLayout other;
    other.RowHeights.fill(20);
    GridState copy(&other);
    int copyChanges = 0;
    copy.Events.OnChange = [&copyChanges](int, int) { ++copyChanges; };
    copy.CopySettings(g);
    EXPECT_EQ(copy.Row(), 30);
    EXPECT_EQ(copy.Col(), 6);
    EXPECT_EQ(copy.RowPixels(0), 20);
    copy.GoToCell(31, 6);
    EXPECT_EQ(copyChanges, 1);
    EXPECT_EQ(g.Row(), 30);
}

// Sheet tabs.

TEST(SheetTabs, ClickingATabKeepsTheOffsetInsideTheBand)
{
    EXPECT_EQ(RowForTab(128, 2, 4), 260);
    EXPECT_EQ(RowForTab(128, 0, 260), 4);
    EXPECT_EQ(RowForTab(128, 63, 127), kLastRow);
}

TEST(SheetTabs, TheTabOfARow)
{
    EXPECT_EQ(TabOfRow(128, 0), 0);
    EXPECT_EQ(TabOfRow(128, 127), 0);
    EXPECT_EQ(TabOfRow(128, 128), 1);
    EXPECT_EQ(TabOfRow(128, 299), 2);
    EXPECT_EQ(TabOfRow(128, kLastRow), 63);
}

TEST(SheetTabs, ZeroRowsPerTabMeansOneTab)
{
    EXPECT_EQ(TabCount(0), 1);
    EXPECT_EQ(TabCount(-3), 1);
    EXPECT_EQ(TabOfRow(0, 5000), 0);
    EXPECT_EQ(RowForTab(0, 3, 77), 77);
}

TEST(SheetTabs, NeverMoreThanSixtyFourTabs)
{
    for (int n : {1, 2, 50, 127, 128, 129, 1000, 8192, 9000})
        EXPECT_LE(TabCount(n), kMaxSheetTabs) << n;
    EXPECT_EQ(TabCount(128), 64);
    EXPECT_EQ(TabCount(1000), 9);
    EXPECT_EQ(TabOfRow(1, kLastRow), 63);
    EXPECT_EQ(RowForTab(1, 200, 0), 63 * 128);  // a tab beyond the last is the last
}

TEST(SheetTabs, Captions)
{
    EXPECT_EQ(TabCaption(0), "A");
    EXPECT_EQ(TabCaption(25), "Z");
    EXPECT_EQ(TabCaption(26), "AA");
    EXPECT_EQ(TabCaption(63), "BL");
}

}  // namespace
}  // namespace zt
