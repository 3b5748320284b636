#include "core/range_names.h"
#include "tests/shell/shell_fixture.h"

namespace zt {
namespace {

using ShellKeysTest = ShellTest;

// Typing entries.

TEST_F(ShellKeysTest, TypedNumberIsEnteredByEnter)
{
    Type("12");
    EXPECT_TRUE(Edit().Active);
    EXPECT_EQ(Edit().Text, "12");
    EXPECT_EQ(Contents("A1"), "");  // nothing stored while typing
    Enter();
    EXPECT_EQ(Contents("A1"), "12");
    EXPECT_DOUBLE_EQ(Value("A1"), 12);
    EXPECT_FALSE(Edit().Active);
    EXPECT_EQ(Edit().Text, "12");  // the edit line shows the new entry
    EXPECT_EQ(ModeText(), "READY");
    EXPECT_EQ(Here(), "A1");
    EXPECT_EQ(notify.Beeps(), 0);
}

TEST_F(ShellKeysTest, TypedWordBecomesALabel)
{
    Type("Total");
    EXPECT_EQ(ModeText(), "LABEL");
    Enter();
    EXPECT_EQ(Contents("A1"), "'Total");
}

TEST_F(ShellKeysTest, ArrowFinishesTheEntryAndMoves)
{
    Type("12");
    Key(vkRight);
    EXPECT_EQ(Contents("A1"), "12");
    EXPECT_EQ(Here(), "B1");
    EXPECT_EQ(ModeText(), "READY");
    Type("abc");
    Key(vkDown);
    EXPECT_EQ(Contents("B1"), "'abc");
    EXPECT_EQ(Here(), "B2");
    Type("7");
    Key(vkHome);
    EXPECT_EQ(Contents("B2"), "7");
    EXPECT_EQ(Here(), "A1");
}

TEST_F(ShellKeysTest, ShiftedArrowFinishingAnEntryDoesNotSelect)
{
    Type("5");
    Key(vkDown, true);
    EXPECT_EQ(Contents("A1"), "5");
    EXPECT_EQ(Selected(), "A2");
}

TEST_F(ShellKeysTest, FormulaThatDoesNotCompileKeepsTheEditLineOpen)
{
    Put("A1", "9");
    Type("12abc");
    Enter();
    EXPECT_TRUE(Edit().Active);
    EXPECT_TRUE(Edit().Rejected);
    EXPECT_EQ(Edit().Text, "12abc");
    EXPECT_EQ(notify.Beeps(), 1);
    EXPECT_EQ(notify.Messages(), 0);
    EXPECT_EQ(Contents("A1"), "");  // cell entry has cleared it
    EXPECT_EQ(ModeText(), "VALUE");

    Key(vkRight);  // still rejected: the pointer stays
    EXPECT_EQ(Here(), "A1");
    EXPECT_TRUE(Edit().Active);

    Key(vkBack);
    Key(vkBack);
    Key(vkBack);
    Type("3");
    EXPECT_FALSE(Edit().Rejected);
    Enter();
    EXPECT_EQ(Contents("A1"), "123");
    EXPECT_FALSE(Edit().Active);
}

TEST_F(ShellKeysTest, EscapeCancelsTheEntry)
{
    Put("A1", "5");
    Type("77");
    Escape();
    EXPECT_EQ(Contents("A1"), "5");
    EXPECT_FALSE(Edit().Active);
    EXPECT_EQ(Edit().Text, "5");
    EXPECT_EQ(ModeText(), "READY");
}

TEST_F(ShellKeysTest, EnterOnAnEmptyEditLineEntersNothing)
{
    Put("A1", "5");
    Type("7");
    Key(vkBack);
    Enter();
    EXPECT_EQ(Contents("A1"), "5");
    EXPECT_FALSE(Edit().Active);
    EXPECT_EQ(ModeText(), "READY");
}

TEST_F(ShellKeysTest, TabAndEscapeCharactersDoNotStartAnEntry)
{
    shell.KeyPress('\t');
    shell.KeyPress('\x1b');
    EXPECT_FALSE(Edit().Active);
    EXPECT_EQ(ModeText(), "READY");
}

TEST_F(ShellKeysTest, F2EditsTheCurrentCellWithTheCaret)
{
    Put("B2", "123");
    GoTo("B2");
    Key(vkF2);
    EXPECT_EQ(ModeText(), "EDIT");
    EXPECT_TRUE(Edit().Active);
    EXPECT_EQ(Edit().Text, "123");
    EXPECT_EQ(Edit().Caret, 3);
    Key(vkLeft);
    Key(vkLeft);
    EXPECT_EQ(Edit().Caret, 1);
    EXPECT_EQ(Here(), "B2");  // the arrows move the caret, not the pointer
    Type("9");
    EXPECT_EQ(Edit().Text, "1923");
    EXPECT_EQ(ModeText(), "EDIT");
    Key(vkHome);
    EXPECT_EQ(Edit().Caret, 0);
    Key(vkDelete);
    EXPECT_EQ(Edit().Text, "923");
    Enter();
    EXPECT_EQ(Contents("B2"), "923");
    EXPECT_EQ(Here(), "B2");
    EXPECT_EQ(ModeText(), "READY");
}

TEST_F(ShellKeysTest, F2OnAnEmptyCellThenEscapeCreatesNothing)
{
    Key(vkF2);
    EXPECT_EQ(Edit().Text, "");
    Escape();
    EXPECT_EQ(Cell("A1"), nullptr);
}

TEST_F(ShellKeysTest, F2DuringAnEntryStopsArrowsFromPointing)
{
    Type("1+");
    Key(vkF2);
    EXPECT_EQ(ModeText(), "EDIT");
    Key(vkLeft);
    EXPECT_EQ(Edit().Caret, 1);
    EXPECT_EQ(Here(), "A1");
    EXPECT_FALSE(Edit().Pointing);
}

TEST_F(ShellKeysTest, ClickInTheEditLineEditsWithTheCaretThere)
{
    Put("A1", "hello");
    shell.EditLineClicked(3);
    EXPECT_EQ(ModeText(), "EDIT");
    EXPECT_EQ(Edit().Caret, 3);
    Type("X");
    EXPECT_EQ(Edit().Text, "'heXllo");
    Enter();
    EXPECT_EQ(Contents("A1"), "'heXllo");
}

TEST_F(ShellKeysTest, F9ReplacesTheEntryByItsValue)
{
    Type("+2*3");
    Key(vkF9);
    EXPECT_EQ(Edit().Text, "6");
    Enter();
    EXPECT_EQ(Contents("A1"), "6");
}

// The mode indicator.

TEST_F(ShellKeysTest, ModeFollowsTheFirstCharacter)
{
    EXPECT_EQ(ModeText(), "READY");
    Type("4");
    EXPECT_EQ(ModeText(), "VALUE");
    Escape();
    Type("+");
    EXPECT_EQ(ModeText(), "VALUE");
    Escape();
    Type("x");
    EXPECT_EQ(ModeText(), "LABEL");
    Escape();
    Type("'");
    EXPECT_EQ(ModeText(), "LABEL");
    Escape();
    Type("#");
    EXPECT_EQ(ModeText(), "?");
    Escape();
    EXPECT_EQ(ModeText(), "READY");
}

TEST_F(ShellKeysTest, ModeThroughPointingAndThePrompt)
{
    Type("+");
    Key(vkRight);
    EXPECT_EQ(ModeText(), "POINT");
    Enter();
    EXPECT_EQ(ModeText(), "VALUE");
    Enter();
    EXPECT_EQ(ModeText(), "READY");
    shell.Command("Erase1Click");
    EXPECT_EQ(ModeText(), "RANGE");
    Escape();
    EXPECT_EQ(ModeText(), "READY");
}

// Pointing while a formula is typed.

TEST_F(ShellKeysTest, ArrowAfterAnOperatorPointsInsteadOfEntering)
{
    Type("+");
    Key(vkRight);
    EXPECT_TRUE(Edit().Pointing);
    EXPECT_EQ(Edit().Text, "+B1");
    EXPECT_EQ(Here(), "B1");
    EXPECT_EQ(Cell("A1"), nullptr);
    Key(vkDown);
    EXPECT_EQ(Edit().Text, "+B2");
}

TEST_F(ShellKeysTest, EveryOperatorStartsPointing)
{
    for (const char* start : {"1&", "@sum(", "1*", "1+", "@max(1,", "1-", "1/", "@"}) {
        Type(start);
        Key(vkDown);
        EXPECT_TRUE(Edit().Pointing) << start;
        EXPECT_EQ(Edit().Text, std::string(start) + "A2") << start;
        Escape();
        Escape();
        EXPECT_FALSE(Edit().Active) << start;
        EXPECT_EQ(Here(), "A1") << start;
    }
}

TEST_F(ShellKeysTest, AnchoredPointingWritesARange)
{
    Put("B1", "1");
    Put("C1", "2");
    Put("B2", "3");
    Put("C2", "4");
    Type("@sum(");
    Key(vkRight);
    Type(".");
    EXPECT_EQ(Edit().Text, "@sum(B1..B1");
    Key(vkRight);
    Key(vkDown);
    EXPECT_EQ(Edit().Text, "@sum(B1..C2");
    Type(")");  // a character ends pointing and continues the entry
    EXPECT_FALSE(Edit().Pointing);
    EXPECT_EQ(Edit().Text, "@sum(B1..C2)");
    EXPECT_EQ(Here(), "A1");
    EXPECT_EQ(ModeText(), "VALUE");
    Enter();
    EXPECT_DOUBLE_EQ(Value("A1"), 10);
    EXPECT_EQ(Selected(), "A1");
}

TEST_F(ShellKeysTest, CharacterWhilePointingContinuesTheEntry)
{
    Put("B1", "4");
    Type("+");
    Key(vkRight);
    Type("*2");
    EXPECT_EQ(Edit().Text, "+B1*2");
    Enter();
    EXPECT_DOUBLE_EQ(Value("A1"), 8);
}

TEST_F(ShellKeysTest, SlashWhilePointingIsADivision)
{
    Put("B1", "9");
    Type("+");
    Key(vkRight);
    Type("/3");
    EXPECT_EQ(Edit().Text, "+B1/3");
    Enter();
    EXPECT_DOUBLE_EQ(Value("A1"), 3);
}

TEST_F(ShellKeysTest, EnterWhilePointingReturnsToTheEntryAtTheOriginalCell)
{
    Put("E5", "7");
    GoTo("C3");
    Type("+");
    Key(vkRight);
    Key(vkRight);
    Key(vkDown);
    Key(vkDown);
    EXPECT_EQ(Edit().Text, "+E5");
    Enter();
    EXPECT_FALSE(Edit().Pointing);
    EXPECT_TRUE(Edit().Active);
    EXPECT_EQ(Edit().Text, "+E5");
    EXPECT_EQ(Here(), "C3");
    Enter();
    EXPECT_EQ(Contents("C3"), "+E5");
    EXPECT_DOUBLE_EQ(Value("C3"), 7);
    EXPECT_EQ(Contents("E5"), "7");
    EXPECT_EQ(Here(), "C3");
}

TEST_F(ShellKeysTest, EscapeWhilePointingRestoresTheTypedText)
{
    GoTo("B2");
    Type("1+");
    Key(vkDown);
    Key(vkDown);
    EXPECT_EQ(Edit().Text, "1+B4");
    Escape();
    EXPECT_FALSE(Edit().Pointing);
    EXPECT_TRUE(Edit().Active);
    EXPECT_EQ(Edit().Text, "1+");
    EXPECT_EQ(Here(), "B2");
    EXPECT_EQ(ModeText(), "VALUE");
    Type("2");
    Enter();
    EXPECT_DOUBLE_EQ(Value("B2"), 3);
}

TEST_F(ShellKeysTest, ShiftArrowsWhilePointingPointAtARange)
{
    Type("@sum(");
    Key(vkDown);
    Key(vkDown, true);
    Key(vkRight, true);
    EXPECT_EQ(Edit().Text, "@sum(A2..B3");
}

TEST_F(ShellKeysTest, ClickWhilePointingPointsAtTheCell)
{
    Type("+");
    Key(vkRight);
    shell.CellPressed(*w, 0, 4, 3, false, false);
    EXPECT_EQ(Edit().Text, "+D5");
    EXPECT_TRUE(Edit().Pointing);
}

TEST_F(ShellKeysTest, RightClickInsideTheSelectionKeepsIt)
{
    Key(vkRight, true);
    Key(vkDown, true);
    shell.CellPressed(*w, 0, 0, 0, false, true);
    EXPECT_EQ(Selected(), "A1..B2");
    shell.CellPressed(*w, 0, 5, 5, false, true);
    EXPECT_EQ(Selected(), "F6");
}

TEST_F(ShellKeysTest, ClickFinishesAPendingEntry)
{
    Type("42");
    shell.CellPressed(*w, 0, 4, 2, false, false);
    EXPECT_EQ(Contents("A1"), "42");
    EXPECT_EQ(Here(), "C5");
    EXPECT_FALSE(Edit().Active);
}

TEST_F(ShellKeysTest, F4CyclesTheAbsoluteMarks)
{
    Type("+");
    Key(vkRight);
    const char* expected[] = {"+$B$1", "+B$1", "+$B1", "+B1", "+$B$1"};
    for (const char* text : expected) {
        Key(vkF4);
        EXPECT_EQ(Edit().Text, text);
    }
    Key(vkDown);  // the marks stay with further moves
    EXPECT_EQ(Edit().Text, "+$B$2");
}

TEST_F(ShellKeysTest, F4MarksBothCornersOfAnAnchoredRange)
{
    Type("+");
    Key(vkRight);
    Type(".");
    Key(vkRight);
    Key(vkF4);
    EXPECT_EQ(Edit().Text, "+$B$1..$C$1");
    Key(vkF4);
    EXPECT_EQ(Edit().Text, "+B$1..C$1");
    Key(vkF4);
    EXPECT_EQ(Edit().Text, "+$B1..$C1");
    Key(vkF4);
    EXPECT_EQ(Edit().Text, "+B1..C1");
}

TEST_F(ShellKeysTest, F4OutsidePointingChangesNothing)
{
    Type("+");
    Key(vkF4);
    EXPECT_EQ(Edit().Text, "+");
    Escape();
    Key(vkF4);
    EXPECT_EQ(Here(), "A1");
    EXPECT_FALSE(Edit().Active);
}

// End mode.

class ShellEndModeTest : public ShellTest {
protected:
    ShellEndModeTest()
    {
        for (const char* a : {"A1", "A2", "A3", "A6", "A7", "F9"})
            Put(a, "1");
    }
};

TEST_F(ShellEndModeTest, DownFromAFilledCellStopsBeforeTheFirstEmptyOne)
{
    Key(vkEnd);
    EXPECT_TRUE(shell.EndMode());
    Key(vkDown);
    EXPECT_EQ(Here(), "A3");
    EXPECT_FALSE(shell.EndMode());
}

TEST_F(ShellEndModeTest, DownFromTheEndOfABlockJumpsToTheNextFilledCell)
{
    GoTo("A3");
    Key(vkEnd);
    Key(vkDown);
    EXPECT_EQ(Here(), "A6");
}

TEST_F(ShellEndModeTest, DownFromAnEmptyCellStopsAtTheNextFilledOne)
{
    GoTo("A4");
    Key(vkEnd);
    Key(vkDown);
    EXPECT_EQ(Here(), "A6");
}

TEST_F(ShellEndModeTest, UpAndRightFindTheirBoundaries)
{
    GoTo("A7");
    Key(vkEnd);
    Key(vkUp);
    EXPECT_EQ(Here(), "A6");
    Key(vkEnd);
    Key(vkUp);
    EXPECT_EQ(Here(), "A3");
    GoTo("B9");
    Key(vkEnd);
    Key(vkRight);
    EXPECT_EQ(Here(), "F9");
    Key(vkEnd);
    Key(vkRight);
    EXPECT_EQ(Here(), "IV9");  // nothing further: the last column
}

TEST_F(ShellEndModeTest, HomeGoesToTheLastUsedCell)
{
    Key(vkEnd);
    Key(vkHome);
    EXPECT_EQ(Here(), "F9");
    EXPECT_FALSE(shell.EndMode());
    Key(vkHome);
    EXPECT_EQ(Here(), "A1");
}

TEST_F(ShellEndModeTest, EndTwiceLeavesEndMode)
{
    Key(vkEnd);
    Key(vkEnd);
    EXPECT_FALSE(shell.EndMode());
    Key(vkDown);
    EXPECT_EQ(Here(), "A2");
}

TEST_F(ShellEndModeTest, EndPanelClickFlipsEndMode)
{
    shell.Command("PNINSClick", 23);
    EXPECT_TRUE(shell.EndMode());
    Key(vkDown);
    EXPECT_EQ(Here(), "A3");
    EXPECT_FALSE(shell.EndMode());
}

// Moving around the grid through the window.

TEST_F(ShellKeysTest, LeftAtColumnAAndUpAtRowOne)
{
    Key(vkLeft);
    EXPECT_EQ(Here(), "A1");
    EXPECT_EQ(notify.Beeps(), 0);
    Key(vkUp);
    EXPECT_EQ(Here(), "A1");
    EXPECT_EQ(notify.Beeps(), 1);
}

TEST_F(ShellKeysTest, PointerMovesShowTheCellInTheEditLine)
{
    Put("B1", "@sum(A1..A3)");
    Key(vkRight);
    EXPECT_EQ(Edit().Text, "@SUM(A1..A3)");
    EXPECT_FALSE(Edit().Active);
    EXPECT_EQ(shell.AddressText(), "B1");
    Key(vkDown, true);
    EXPECT_EQ(shell.AddressText(), "B1..B2");
}

TEST_F(ShellKeysTest, DeleteErasesTheSelectionWithABeep)
{
    Put("A1", "1");
    Put("A2", "2");
    Put("A3", "3");
    Key(vkDown, true);
    Key(vkDelete);
    EXPECT_EQ(notify.Beeps(), 1);
    EXPECT_EQ(Contents("A1"), "");
    EXPECT_EQ(Contents("A2"), "");
    EXPECT_EQ(Contents("A3"), "3");
}

TEST_F(ShellKeysTest, TabClickKeepsTheRowOffsetInsideTheBand)
{
    e.Settings().RowsPerSheet = 128;
    Grid().GoToCell(4, 2);
    shell.TabClicked(*w, 2);
    EXPECT_EQ(Grid().Row(), 260);
    EXPECT_EQ(Grid().Col(), 2);
    shell.TabClicked(*w, 0);
    EXPECT_EQ(Grid().Row(), 4);
}

TEST_F(ShellKeysTest, TabClickWithNoBandsStaysOnTheRow)
{
    e.Settings().RowsPerSheet = 0;
    Grid().GoToCell(300, 1);
    shell.TabClicked(*w, 2);
    EXPECT_EQ(Grid().Row(), 300);
}

TEST_F(ShellKeysTest, F8SetsAndClearsTitlesAtTheCurrentCell)
{
    GoTo("C4");
    Key(vkF8);
    EXPECT_TRUE(Grid().HasTitles());
    EXPECT_EQ(Grid().Fixrow2(), 3);
    EXPECT_EQ(Grid().Fixcol2(), 2);
    Key(vkF8);
    EXPECT_FALSE(Grid().HasTitles());
    EXPECT_EQ(Grid().Toprow(), 0);
    EXPECT_EQ(Grid().Leftcol(), 0);
}

// A view that counts what the shell asks of it.
class CountingView : public ShellView {
public:
    void OpenMainMenu() override { ++menus; }
    int menus = 0;
};

TEST_F(ShellKeysTest, SlashOpensTheMenuOutsidePointing)
{
    CountingView view;
    shell.SetView(&view);
    Type("/");
    EXPECT_EQ(view.menus, 1);
    EXPECT_FALSE(Edit().Active);
    Type("+");
    Key(vkRight);
    Type("/");
    EXPECT_EQ(view.menus, 1);
    EXPECT_EQ(Edit().Text, "+B1/");
    shell.SetView(nullptr);
}

TEST_F(ShellKeysTest, ShiftF6FlipsThePointerClickSwitch)
{
    Key(vkF6, true);
    EXPECT_EQ(notify.Beeps(), 1);
    EXPECT_TRUE(Grid().PointerClick);
    Key(vkDown);
    EXPECT_EQ(notify.Beeps(), 2);
    Key(vkF6, true);
    EXPECT_FALSE(Grid().PointerClick);
    Key(vkDown);
    EXPECT_EQ(notify.Beeps(), 3);
}

TEST_F(ShellKeysTest, HeaderClicksSelectWholeColumnsAndRows)
{
    shell.ColumnHeaderPressed(*w, 0, 2, false);
    EXPECT_EQ(Selected(), "C1..C8192");
    shell.ColumnHeaderPressed(*w, 0, 4, true);
    EXPECT_EQ(Selected(), "C1..E8192");
    shell.RowHeaderPressed(*w, 0, 3, false);
    EXPECT_EQ(Selected(), "A4..IV4");
}

TEST_F(ShellKeysTest, DraggingExtendsTheSelection)
{
    shell.CellPressed(*w, 0, 1, 1, false, false);
    shell.CellDragged(*w, 0, 3, 2);
    EXPECT_EQ(Selected(), "B2..C4");
    shell.CellPressed(*w, 0, 5, 5, true, false);
    EXPECT_EQ(Selected(), "B2..F6");
}

// Panes.

TEST_F(ShellKeysTest, F6InAnUnsplitWindowSwapsTwoPlaces)
{
    Put("A1", "first");
    Grid().GoToCell(100, 30);
    int top = Grid().Toprow();
    int left = Grid().Leftcol();
    Key(vkF6);
    EXPECT_EQ(notify.Beeps(), 1);
    EXPECT_EQ(Here(), "A1");
    EXPECT_EQ(Edit().Text, "'first");
    Key(vkF6);
    EXPECT_EQ(notify.Beeps(), 2);
    EXPECT_EQ(Grid().Row(), 100);
    EXPECT_EQ(Grid().Col(), 30);
    EXPECT_EQ(Grid().Toprow(), top);
    EXPECT_EQ(Grid().Leftcol(), left);
}

TEST_F(ShellKeysTest, F6KeepsTheSizeOfTheShownPane)
{
    Key(vkF6);
    EXPECT_EQ(Grid().ViewportHeight(), 400);
    EXPECT_EQ(Grid().ViewportWidth(), 800);
    Key(vkNext);
    EXPECT_EQ(Grid().Row(), 400 / SheetLayout::kDefaultRowHeight);
}

TEST_F(ShellKeysTest, VerticalSplitStartsTheSecondPaneRightOfThePointer)
{
    GoTo("C4");
    shell.Command("Vertical1Click");
    EXPECT_EQ(w->Split, SplitKind::Vertical);
    EXPECT_EQ(w->Panes[1].Leftcol(), 3);
    EXPECT_EQ(w->Panes[1].Row(), 3);
    EXPECT_EQ(w->Panes[1].Col(), 3);
    EXPECT_EQ(w->ActivePane, 0);
    Key(vkF6);
    EXPECT_EQ(w->ActivePane, 1);
    EXPECT_EQ(Here(), "D4");
    Key(vkF6);
    EXPECT_EQ(w->ActivePane, 0);
    EXPECT_EQ(Here(), "C4");
    EXPECT_EQ(notify.Beeps(), 0);
}

TEST_F(ShellKeysTest, HorizontalSplitStartsTheSecondPaneAtTheCurrentRow)
{
    GoTo("B10");
    shell.Command("Horizontal1Click");
    EXPECT_EQ(w->Split, SplitKind::Horizontal);
    EXPECT_EQ(w->Panes[1].Toprow(), 9);
    shell.Command("Clear3Click");
    EXPECT_EQ(w->Split, SplitKind::None);
    EXPECT_EQ(w->ActivePane, 0);
}

TEST_F(ShellKeysTest, ClickInTheSecondPaneMakesItActive)
{
    shell.Command("Vertical1Click");
    shell.CellPressed(*w, 1, 2, 5, false, false);
    EXPECT_EQ(w->ActivePane, 1);
    EXPECT_EQ(Here(), "F3");
}

TEST_F(ShellKeysTest, SynchronizedPanesScrollTogether)
{
    GoTo("A10");
    shell.Command("Horizontal1Click");
    shell.Command("Synch2Click");
    EXPECT_TRUE(w->Synch);
    EXPECT_EQ(w->Panes[1].Toprow(), w->Panes[0].Toprow());
    Grid().GoToCell(200, 0);
    EXPECT_EQ(w->Panes[1].Toprow(), w->Panes[0].Toprow());
    shell.Scrolled(*w, 0, 500, 0);
    EXPECT_EQ(w->Panes[1].Toprow(), 500);

    shell.Command("Unsynch1Click");
    EXPECT_FALSE(w->Synch);
    shell.Scrolled(*w, 0, 40, 0);
    EXPECT_EQ(w->Panes[1].Toprow(), 500);
}

TEST_F(ShellKeysTest, SynchNeedsASplit)
{
    shell.Command("Synch2Click");
    EXPECT_FALSE(w->Synch);
}

// Ctrl+letter macros and shortcuts.

class ShellCtrlTest : public ShellTest {
protected:
    ShellCtrlTest()
    {
        shell.RunMacroAt = [this](int row, int col) { runs.push_back(FormatAddress(e, row, col)); };
        Put("A1", "x");
    }
    void CtrlLetter(char letter)
    {
        Key(vkControl);
        shell.KeyDown(KeyEvent{letter, false, true});
        shell.KeyUp(KeyEvent{letter, false, true});
        shell.KeyUp(KeyEvent{vkControl});
    }
    bool Bold() { return Cell("A1")->Style & 1; }

    std::vector<std::string> runs;
};

TEST_F(ShellCtrlTest, CtrlLetterRunsTheMacroOfThatName)
{
    ASSERT_TRUE(SetRangeName(e, "\\B", Range("C3..C9")));
    CtrlLetter('B');
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0], "C3");
    EXPECT_TRUE(Bold());
}

TEST_F(ShellCtrlTest, WithShortcutsOffCtrlBOnlyRunsTheMacro)
{
    ASSERT_TRUE(SetRangeName(e, "\\B", Range("D2")));
    shell.Options().CtrlShortcuts = false;
    CtrlLetter('B');
    EXPECT_FALSE(Bold());
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0], "D2");
}

TEST_F(ShellCtrlTest, DigitsNameMacrosToo)
{
    ASSERT_TRUE(SetRangeName(e, "\\7", Range("E5")));
    CtrlLetter('7');
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0], "E5");
}

TEST_F(ShellCtrlTest, NoMacroWithoutTheName)
{
    CtrlLetter('Q');
    EXPECT_TRUE(runs.empty());
    Key(vkControl);
    shell.KeyUp(KeyEvent{vkControl});
    EXPECT_TRUE(runs.empty());
}

TEST_F(ShellCtrlTest, CtrlBTogglesBoldOnTheSelection)
{
    Put("A2", "y");
    Key(vkDown, true);
    CtrlLetter('B');
    EXPECT_TRUE(Bold());
    EXPECT_TRUE(Cell("A2")->Style & 1);
    CtrlLetter('B');
    EXPECT_FALSE(Bold());
    CtrlLetter('I');
    EXPECT_TRUE(Cell("A1")->Style & 2);
}

TEST_F(ShellCtrlTest, CtrlLetterDoesNotStartAnEntry)
{
    Key(vkControl);
    shell.KeyDown(KeyEvent{'B', false, true});
    shell.KeyPress('\x02');
    EXPECT_FALSE(Edit().Active);
    EXPECT_EQ(ModeText(), "READY");
}

TEST_F(ShellCtrlTest, CtrlDErasesAndCtrlZUndoes)
{
    CtrlLetter('D');
    EXPECT_EQ(Contents("A1"), "");
    CtrlLetter('Z');
    EXPECT_EQ(Contents("A1"), "'x");
}

TEST_F(ShellCtrlTest, WithShortcutsOffCtrlDErasesNothing)
{
    shell.Options().CtrlShortcuts = false;
    CtrlLetter('D');
    EXPECT_EQ(Contents("A1"), "'x");
}

TEST_F(ShellCtrlTest, IgnoredCtrlLeavesLettersAlone)
{
    Grid().IgCtrl = true;
    CtrlLetter('D');
    EXPECT_EQ(Contents("A1"), "'x");
}

TEST_F(ShellCtrlTest, CtrlHeldIntoAnotherWindowIsForgotten)
{
    SheetWindow* second = shell.NewWindow();
    ASSERT_NE(second, nullptr);
    shell.Activate(*w);
    Key(vkControl);
    Key(vkF7, false, true);
    EXPECT_EQ(shell.Active(), second);
    shell.KeyUp(KeyEvent{vkControl});
    Key(vkF7);
    ASSERT_EQ(shell.Active(), w);
    Type("d");  // a plain letter, not Ctrl+D
    Escape();
    EXPECT_EQ(Contents("A1"), "'x");
}

// Status panels.

TEST_F(ShellKeysTest, PanelClickFlipsTheLockKeyLikeTheKeyItself)
{
    EXPECT_FALSE(keys.IsToggled(vkNumLock));
    shell.Command("PNINSClick", vkNumLock);
    EXPECT_TRUE(keys.IsToggled(vkNumLock));
    Key(vkNumLock);
    EXPECT_FALSE(keys.IsToggled(vkNumLock));
    Key(vkCapital);
    shell.Command("PNINSClick", vkInsert);
    EXPECT_TRUE(keys.IsToggled(vkCapital));
    EXPECT_TRUE(keys.IsToggled(vkInsert));
    EXPECT_FALSE(keys.IsToggled(vkScroll));
}

// Windows.

TEST_F(ShellKeysTest, F7GoesToTheNextWindow)
{
    SheetWindow* second = shell.NewWindow();
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(shell.Active(), second);
    Key(vkF7);
    EXPECT_EQ(shell.Active(), w);
    Key(vkF7);
    EXPECT_EQ(shell.Active(), second);
}

TEST_F(ShellKeysTest, SwitchingWindowsFinishesThePendingEntryInItsOwnSheet)
{
    SheetWindow* second = shell.NewWindow();
    ASSERT_NE(second, nullptr);
    Viewports(*second);
    Type("5");
    shell.Activate(*w);
    EXPECT_EQ(Contents("A1"), "");
    shell.Activate(*second);
    EXPECT_EQ(Contents("A1"), "5");
}

}  // namespace
}  // namespace zt

namespace zt {
namespace {

TEST_F(ShellTest, F2WhilePointingKeepsTheFormulaForEditing)
{
    GoTo("C3");
    Type("+");
    Key(vkUp);
    ASSERT_EQ(Edit().Text, "+C2");
    Key(vkF2);
    EXPECT_FALSE(Edit().Pointing);
    EXPECT_TRUE(Edit().EditMode);
    EXPECT_EQ(Edit().Text, "+C2");
    EXPECT_EQ(Here(), "C3");
    Key(vkLeft);
    EXPECT_EQ(Edit().Caret, 2);
}

TEST_F(ShellCtrlTest, CtrlShortcutsWaitWhileThePromptIsOpen)
{
    shell.Command("Erase1Click");
    CtrlLetter('B');
    EXPECT_FALSE(Cell("A1")->Style & 1);
    EXPECT_TRUE(shell.Prompt().Open);
}

TEST_F(ShellTest, CancelledPromptGivesBackTheSelection)
{
    GoTo("B2");
    Key(vkDown, true);
    Key(vkRight, true);
    ASSERT_EQ(Selected(), "B2..C3");
    shell.Command("Erase1Click");
    Escape();
    EXPECT_EQ(Selected(), "C3");
    Escape();
    EXPECT_FALSE(shell.Prompt().Open);
    EXPECT_EQ(Selected(), "B2..C3");
}

}  // namespace
}  // namespace zt
