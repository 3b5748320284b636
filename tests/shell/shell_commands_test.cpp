#include <algorithm>

#include "core/range_names.h"
#include "shell/control/menu_table.h"
#include "tests/shell/shell_fixture.h"

namespace zt {
namespace {

// A column of numbers and a sum over it.
class ShellPromptTest : public ShellTest {
protected:
    ShellPromptTest()
    {
        Put("A1", "1");
        Put("A2", "2");
        Put("A3", "3");
        Put("A4", "4");
        Put("B1", "@sum(A1..A4)");
    }
};

TEST_F(ShellPromptTest, EraseOpensThePromptWithTheSelection)
{
    Key(vkDown, true);
    Key(vkDown, true);
    ASSERT_TRUE(shell.Command("Erase1Click"));
    const RangePrompt& p = shell.Prompt();
    EXPECT_TRUE(p.Open);
    EXPECT_EQ(p.Caption, "ERASE: Specify Range");
    EXPECT_EQ(p.Text, "A1..A3");
    EXPECT_EQ(ModeText(), "RANGE");
    EXPECT_EQ(Contents("A1"), "1");  // nothing happens before the answer
}

TEST_F(ShellPromptTest, EnterErasesTheRangeAndRecalculates)
{
    Key(vkDown, true);
    Key(vkDown, true);
    shell.Command("Erase1Click");
    Enter();
    EXPECT_FALSE(shell.Prompt().Open);
    EXPECT_EQ(ModeText(), "READY");
    EXPECT_EQ(Contents("A1"), "");
    EXPECT_EQ(Contents("A2"), "");
    EXPECT_EQ(Contents("A3"), "");
    EXPECT_EQ(Contents("A4"), "4");
    EXPECT_DOUBLE_EQ(Value("B1"), 4);
}

TEST_F(ShellPromptTest, EscapeCollapsesASelectionBeforeClosing)
{
    Key(vkDown, true);
    Key(vkDown, true);
    shell.Command("Erase1Click");
    Escape();
    EXPECT_TRUE(shell.Prompt().Open);
    EXPECT_EQ(Selected(), "A3");
    EXPECT_EQ(shell.Prompt().Text, "A3");
    EXPECT_EQ(ModeText(), "RANGE");
    Escape();
    EXPECT_FALSE(shell.Prompt().Open);
    EXPECT_EQ(ModeText(), "READY");
    EXPECT_EQ(Contents("A1"), "1");
    EXPECT_EQ(Contents("A3"), "3");
}

TEST_F(ShellPromptTest, PointerMovesRewriteThePromptText)
{
    shell.Command("Erase1Click");
    EXPECT_EQ(shell.Prompt().Text, "A1");
    Key(vkDown);
    EXPECT_EQ(shell.Prompt().Text, "A2");
    Key(vkDown, true);
    EXPECT_EQ(shell.Prompt().Text, "A2..A3");
    EXPECT_EQ(ModeText(), "RANGE");
    Enter();
    EXPECT_EQ(Contents("A1"), "1");
    EXPECT_EQ(Contents("A2"), "");
    EXPECT_EQ(Contents("A3"), "");
    EXPECT_DOUBLE_EQ(Value("B1"), 5);
}

TEST_F(ShellPromptTest, TypedRangeReplacesTheDefaultText)
{
    shell.Command("Erase1Click");
    Type("a3..a4");
    EXPECT_EQ(shell.Prompt().Text, "a3..a4");
    EXPECT_FALSE(Edit().Active);  // characters go to the prompt, not to an entry
    Enter();
    EXPECT_EQ(Contents("A2"), "2");
    EXPECT_EQ(Contents("A3"), "");
    EXPECT_EQ(Contents("A4"), "");
    EXPECT_DOUBLE_EQ(Value("B1"), 3);
}

TEST_F(ShellPromptTest, BackspaceEditsTheTypedText)
{
    shell.Command("Erase1Click");
    Type("A4x");
    shell.KeyPress('\b');
    EXPECT_EQ(shell.Prompt().Text, "A4");
    Enter();
    EXPECT_EQ(Contents("A4"), "");
    EXPECT_EQ(Contents("A3"), "3");
}

TEST_F(ShellPromptTest, BadRangeTextIsReportedAndChangesNothing)
{
    // Rows past the last are refused, not wrapped round onto row 1.
    for (const char* typed : {"A1..ZZ9", "A8193", "A1..A8193", "A99999999999", "a1.b2"}) {
        shell.Command("Erase1Click");
        Type(typed);
        Enter();
        EXPECT_FALSE(shell.Prompt().Open);
        std::string reason = std::string(typed) == "a1.b2" ? "Invalid Range" : "Out of Range";
        EXPECT_EQ(notify.LastMessage(), "Error:" + reason + ": " + typed);
    }
    for (const char* a : {"A1", "A2", "A3", "A4"})
        EXPECT_NE(Contents(a), "") << a;
    EXPECT_DOUBLE_EQ(Value("B1"), 10);
}

TEST_F(ShellPromptTest, GotoMovesThePointerToTheTypedCell)
{
    Key(vkF5);
    EXPECT_TRUE(shell.Prompt().Open);
    EXPECT_EQ(shell.Prompt().Caption, "GOTO: Specify Cell");
    EXPECT_EQ(shell.Prompt().Text, "A1");
    Type("C7");
    EXPECT_EQ(shell.Prompt().Text, "C7");
    Enter();
    EXPECT_EQ(Here(), "C7");
    EXPECT_FALSE(shell.Prompt().Open);
    EXPECT_EQ(ModeText(), "READY");
}

TEST_F(ShellPromptTest, GotoTakesARangeNameAndListsTheNames)
{
    ASSERT_TRUE(SetRangeName(e, "TARGET", Range("D20..E22")));
    ASSERT_TRUE(SetRangeName(e, "OTHER", Range("B2")));
    Key(vkF5);
    std::vector<std::string> choices = shell.Prompt().Choices;
    EXPECT_EQ(choices.size(), 2u);
    EXPECT_NE(std::find(choices.begin(), choices.end(), "TARGET"), choices.end());
    Type("target");
    Enter();
    EXPECT_EQ(Here(), "D20");
    EXPECT_EQ(Selected(), "D20");
}

TEST_F(ShellPromptTest, GotoWithABadCellStaysPut)
{
    GoTo("B3");
    for (const char* typed : {"nowhere", "A8193", "B16386", "A99999999999"}) {
        Key(vkF5);
        Type(typed);
        Enter();
        EXPECT_EQ(Here(), "B3") << typed;
        std::string reason = std::string(typed) == "nowhere" ? "Invalid Range" : "Out of Range";
        EXPECT_EQ(notify.LastMessage(), "Error:" + reason + ": " + typed);
    }
}

TEST_F(ShellPromptTest, LinksListsTheDependentsOfTheCell)
{
    Put("C1", "+A2*2");
    GoTo("A2");
    Key(vkF11);
    EXPECT_EQ(shell.Prompt().Caption, "LINKS: Specify Cell");
    std::vector<std::string> links = shell.Prompt().Choices;
    std::sort(links.begin(), links.end());
    EXPECT_EQ(links, (std::vector<std::string>{"B1", "C1"}));
    Type("C1");
    Enter();
    EXPECT_EQ(Here(), "C1");
}

TEST_F(ShellPromptTest, MacroPromptStartsTheMacroAtTheAnswer)
{
    std::vector<std::pair<int, int>> runs;
    shell.RunMacroAt = [&runs](int row, int col) { runs.emplace_back(row, col); };
    Key(vkF3);
    EXPECT_EQ(shell.Prompt().Caption, "MACRO: Specify Cell");
    Type("D5");
    Enter();
    EXPECT_EQ(runs, (std::vector<std::pair<int, int>>{{4, 3}}));
}

TEST_F(ShellTest, MacroMessageChecksTheCellAndARunningMacro)
{
    std::vector<std::pair<int, int>> runs;
    shell.RunMacroAt = [&runs](int row, int col) { runs.emplace_back(row, col); };
    EXPECT_TRUE(shell.RunMacroMessage(3, 7));
    EXPECT_FALSE(shell.RunMacroMessage(256, 7));
    EXPECT_FALSE(shell.RunMacroMessage(3, 8192));
    EXPECT_FALSE(shell.RunMacroMessage(-1, 0));
    shell.MacroRunning = true;
    EXPECT_FALSE(shell.RunMacroMessage(0, 0));
    shell.MacroRunning = false;
    shell.CloseAll();
    EXPECT_FALSE(shell.RunMacroMessage(0, 0));
    EXPECT_EQ(runs, (std::vector<std::pair<int, int>>{{7, 3}}));
}

TEST_F(ShellPromptTest, AWindowWithThePromptOpenDoesNotClose)
{
    shell.Command("Erase1Click");
    EXPECT_FALSE(shell.CloseWindow(*w));
    EXPECT_EQ(shell.Windows().size(), 1u);
    EXPECT_EQ(notify.Beeps(), 1);
}

TEST_F(ShellPromptTest, DeleteKeyDoesNotEraseWhileThePromptIsOpen)
{
    shell.Command("Erase1Click");
    Key(vkDelete);
    EXPECT_EQ(Contents("A1"), "1");
}

TEST_F(ShellPromptTest, CommandFinishesAPendingEntryFirst)
{
    GoTo("C1");
    Type("8");
    shell.Command("Erase1Click");
    EXPECT_EQ(Contents("C1"), "8");
    EXPECT_TRUE(shell.Prompt().Open);
    EXPECT_FALSE(Edit().Active);
}

// Tool buttons.

TEST_F(ShellPromptTest, SpeedSumEntersTheSumBelowTheSelectedColumn)
{
    GoTo("A1");
    for (int i = 0; i < 4; ++i)
        Key(vkDown, true);
    EXPECT_EQ(Selected(), "A1..A5");
    ASSERT_TRUE(shell.Command("SpSumClick"));
    EXPECT_EQ(Contents("A5"), "@SUM(A1..A4)");
    EXPECT_DOUBLE_EQ(Value("A5"), 10);
}

TEST_F(ShellPromptTest, SpeedSumAcrossARow)
{
    Put("C2", "5");
    Put("D2", "6");
    GoTo("C2");
    Key(vkRight, true);
    Key(vkRight, true);
    shell.Command("SpSumClick");
    EXPECT_DOUBLE_EQ(Value("E2"), 11);
}

TEST_F(ShellTest, SpeedFillContinuesANumberAlongTheSelection)
{
    Put("C1", "5");
    GoTo("C1");
    for (int i = 0; i < 3; ++i)
        Key(vkDown, true);
    shell.Command("SpFillClick");
    EXPECT_EQ(Contents("C2"), "6");
    EXPECT_EQ(Contents("C3"), "7");
    EXPECT_EQ(Contents("C4"), "8");
    EXPECT_EQ(Contents("C5"), "");
}

TEST_F(ShellTest, SpeedFillContinuesALetterInColumnOrder)
{
    Put("A1", "Y");
    Key(vkRight, true);
    Key(vkRight, true);
    Key(vkRight, true);
    shell.Command("SpFillClick");
    EXPECT_EQ(Contents("B1"), "'Z");
    EXPECT_EQ(Contents("C1"), "'AA");
    EXPECT_EQ(Contents("D1"), "'AB");
}

TEST_F(ShellTest, SpeedFillCopiesAFormula)
{
    Put("A1", "3");
    Put("B1", "+A1*2");
    GoTo("B1");
    Key(vkDown, true);
    Key(vkDown, true);
    shell.Command("SpFillClick");
    EXPECT_EQ(Contents("B2"), "+A2*2");
    EXPECT_EQ(Contents("B3"), "+A3*2");
}

TEST_F(ShellTest, AlignmentButtonsSetTheSelectionsAlignment)
{
    Put("A1", "x");
    Key(vkDown, true);
    shell.Command("SpLeftClick", 2);  // the right button
    EXPECT_EQ((Cell("A1")->Style >> 4) & 7, 2);
    ASSERT_NE(Cell("A2"), nullptr);
    EXPECT_EQ((Cell("A2")->Style >> 4) & 7, 2);
    shell.Command("SpLeftClick", 1);
    EXPECT_EQ((Cell("A1")->Style >> 4) & 7, 1);
    shell.Command("SpLeftClick", 3);  // the centre button
    EXPECT_EQ((Cell("A2")->Style >> 4) & 7, 3);
    EXPECT_EQ(Contents("A1"), "'x");
}

TEST_F(ShellTest, AlignmentKeepsTheFontStyleBits)
{
    Put("A1", "x");
    Cell("A1")->Style = 0x85;
    shell.Command("SpLeftClick", 2);
    EXPECT_EQ(Cell("A1")->Style, 0xA5);
}

TEST_F(ShellTest, QuickGraphOfASingleColumnOnlyBeeps)
{
    Put("A1", "1");
    Put("A2", "2");
    Key(vkDown, true);
    shell.Command("SpQgrClick");
    EXPECT_EQ(notify.Beeps(), 1);
    EXPECT_EQ(notify.Messages(), 0);
}

TEST_F(ShellTest, EraseButtonAndDeleteItemEraseTheSelection)
{
    Put("A1", "1");
    Put("A2", "2");
    Put("A3", "3");
    shell.Command("SpERASEClick");
    EXPECT_EQ(Contents("A1"), "");
    Key(vkDown);
    Key(vkDown, true);
    shell.Command("Delete1Click");
    EXPECT_EQ(Contents("A2"), "");
    EXPECT_EQ(Contents("A3"), "");
    shell.Command("UndoRedo1Click");
    EXPECT_EQ(Contents("A2"), "2");
    EXPECT_EQ(Contents("A3"), "3");
}

TEST_F(ShellTest, BorderItemsSetAndClearTitles)
{
    GoTo("B3");
    shell.Command("Horizontal4Click", 1);
    EXPECT_EQ(Grid().Fixrow2(), 2);
    EXPECT_EQ(Grid().Fixcol2(), -1);
    shell.Command("Horizontal4Click", 0);
    EXPECT_FALSE(Grid().HasTitles());
    shell.Command("Horizontal4Click", 2);
    EXPECT_EQ(Grid().Fixcol2(), 1);
    EXPECT_EQ(Grid().Fixrow2(), -1);
}

TEST_F(ShellTest, ZoomItemsReachEveryPane)
{
    shell.Command("N251Click", 2);  // "1&30%"
    EXPECT_EQ(shell.Options().Zoom, 125);
    EXPECT_EQ(w->Panes[0].Zoom(), 125);
    EXPECT_EQ(w->Panes[1].Zoom(), 125);
    shell.Command("N251Click", 0);
    EXPECT_EQ(shell.Options().Zoom, 200);
    shell.Command("N251Click", 7);
    EXPECT_EQ(shell.Options().Zoom, 50);
    shell.Command("N251Click", 8);  // no such item
    EXPECT_EQ(shell.Options().Zoom, 50);
    SheetWindow* second = shell.NewWindow();
    EXPECT_EQ(second->Panes[0].Zoom(), 50);
}

TEST_F(ShellTest, StyleButtonsToggleFromTheCurrentCell)
{
    Put("A1", "x");
    Put("A2", "y");
    Key(vkDown, true);
    shell.Command("BoldClick", 1);
    EXPECT_EQ(Cell("A1")->Style & 1, 1);
    EXPECT_EQ(Cell("A2")->Style & 1, 1);
    shell.Command("BoldClick", 1);
    EXPECT_EQ(Cell("A1")->Style & 1, 0);
    shell.Command("BoldClick", 4);
    EXPECT_EQ(Cell("A2")->Style & 4, 4);
}

TEST_F(ShellTest, RecalcPanelFlipsAutomaticRecalculation)
{
    EXPECT_TRUE(shell.AutoRecalc());
    shell.Command("Panel7Click");
    EXPECT_FALSE(shell.AutoRecalc());
    Put("A1", "1");
    Put("A2", "+A1");
    Put("A1", "5");
    EXPECT_DOUBLE_EQ(Value("A2"), 1);
    Key(vkF9);
    EXPECT_DOUBLE_EQ(Value("A2"), 5);
    shell.Command("Panel7Click");
    EXPECT_TRUE(shell.AutoRecalc());
}

TEST_F(ShellTest, ViewItemsFlipTheirBars)
{
    shell.Command("Statusbar1Click", 1);
    shell.Command("Statusbar1Click", 3);
    EXPECT_FALSE(shell.Options().QuickBar);
    EXPECT_TRUE(shell.Options().MacroBar);
    EXPECT_FALSE(shell.Options().StatusBar);
}

TEST_F(ShellTest, UnknownHandlerIsRefused)
{
    EXPECT_FALSE(shell.KnowsCommand("NoSuchClick"));
    EXPECT_FALSE(shell.Command("NoSuchClick"));
    EXPECT_TRUE(shell.KnowsCommand("Erase1Click"));
}

TEST_F(ShellTest, ProtectButtonFlipsProtection)
{
    shell.Command("SpLockClick");
    EXPECT_TRUE(e.Settings().Protect);
    Type("5");
    Enter();
    EXPECT_EQ(Cell("A1"), nullptr);
    EXPECT_EQ(notify.LastMessage(), "Error:Protected Cell");
    EXPECT_TRUE(Edit().Active);  // the text stays for correction
    Escape();
    shell.Command("SpLockClick");
    EXPECT_FALSE(e.Settings().Protect);
}

TEST_F(ShellTest, FormulaItemOfTheCopySubmenuOnlyBeeps)
{
    ASSERT_TRUE(shell.Command("Value1Click", 4));
    EXPECT_EQ(notify.Beeps(), 1);
    EXPECT_EQ(notify.Messages(), 0);
}

TEST_F(ShellTest, EveryCommandIsSafeWithNoWindowOpen)
{
    ASSERT_TRUE(shell.CloseWindow(*w));
    for (std::string_view handler : HandlerNames()) {
        // The boxes of the format tools hand over text, not a command.
        if (handler == "NewClick" || handler.ends_with("Change"))
            continue;
        EXPECT_TRUE(shell.KnowsCommand(handler)) << handler;
        shell.Command(handler, 1);
        EXPECT_TRUE(shell.Windows().empty()) << handler;
        EXPECT_FALSE(shell.Prompt().Open) << handler;
    }
    EXPECT_EQ(ModeText(), "READY");
}

TEST_F(ShellTest, EveryCommandRunsInAWindow)
{
    Put("A1", "1");
    Put("A2", "2");
    Key(vkDown, true);
    for (std::string_view handler : HandlerNames()) {
        if (handler == "Exit1Click" || handler == "Close1Click" || handler == "CloseAll1Click" ||
            handler.ends_with("Change"))
            continue;
        shell.Command(handler, 1);
        while (shell.Prompt().Open)
            Escape();
        EXPECT_FALSE(shell.Windows().empty()) << handler;
    }
}

}  // namespace
}  // namespace zt

namespace zt {
namespace {

// A view that picks a given item from any list it is shown.
class PickingView : public ShellView {
public:
    std::string Pick;
    std::vector<std::string> Shown;
    bool ChooseFromList(const std::string&, const std::vector<std::string>& items, std::string& chosen) override
    {
        Shown = items;
        chosen = Pick;
        return !Pick.empty();
    }
};

TEST_F(ShellTest, FunctionListAppendsTheChoiceToTheEntry)
{
    PickingView view;
    shell.SetView(&view);
    Type("+1+@");
    view.Pick = "SUM";
    Key(vkF1);
    EXPECT_EQ(Edit().Text, "+1+@SUM");
    EXPECT_EQ(view.Shown.size(), 154u);
    EXPECT_TRUE(std::is_sorted(view.Shown.begin(), view.Shown.end()));
    Type("(");
    view.Pick = "LET";
    shell.Command("spATClick", 1);  // the macro picker puts its "{" first
    EXPECT_EQ(Edit().Text, "+1+@SUM({LET");
    EXPECT_EQ(view.Shown.size(), 146u);
    shell.SetView(nullptr);
}

}  // namespace
}  // namespace zt
