#include "macro/macro_interpreter.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <numeric>
#include <string>
#include <vector>

#include "core/address.h"
#include "core/cell_entry.h"
#include "core/cell_store.h"
#include "core/range_names.h"
#include "formula/cell_contents.h"
#include "formula/formula_engine.h"
#include "macro/macro_codes.h"
#include "platform/clipboard.h"
#include "platform/notify_headless.h"

namespace zt {
namespace {

// A host without a window: it records what the macro plays and shows, and
// answers from scripts. Without a script it has nothing to give.
class FakeHost : public MacroHost {
public:
    void PlayKeys(const std::string& batch) override { Played.push_back(batch); }
    void ProcessEvents() override
    {
        ++Events;
        if (OnEvents)
            OnEvents(Events);
    }
    bool WaitForKey(char& key) override
    {
        ++KeyWaits;
        WaitFlagSeen = WaitFlag && *WaitFlag;
        if (OnKeyWait)
            OnKeyWait();
        if (Keys.empty())
            return false;
        key = Keys.front();
        Keys.pop_front();
        return true;
    }
    bool InputText(const std::string& prompt, std::string& answer) override
    {
        Prompts.push_back(prompt);
        if (Answers.empty())
            return false;
        answer = Answers.front();
        Answers.pop_front();
        return true;
    }
    int MenuChoice(const std::vector<std::string>& items, const std::vector<std::string>& hints,
                   const std::string& title) override
    {
        Menus.push_back({items, hints, title});
        if (Choices.empty())
            return static_cast<int>(items.size()) + 1;
        int k = Choices.front();
        Choices.pop_front();
        return k;
    }
    TRange CursorCell() const override { return Cursor; }
    bool Extended = false;
    bool Anchored = false;
    void GoToCell(int row, int col, bool extend) override
    {
        Cursor = TRange{std::int16_t(col), std::int16_t(row), std::int16_t(col), std::int16_t(row)};
        Extended = extend;
    }
    void SetAnchor(bool on) override { Anchored = on; }
    Clipboard* MacroClipboard() override { return &Clip; }
    void ShowStep(const std::string& caption) override { Steps.push_back(caption); }
    void MacroStateChanged(bool running) override { States.push_back(running); }
    unsigned long long TickCount() const override { return Clock; }
    void Sleep(unsigned ms) override
    {
        Sleeps.push_back(ms);
        Clock += ms;
        if (OnSleep)
            OnSleep();
    }

    std::string AllKeys() const { return std::accumulate(Played.begin(), Played.end(), std::string()); }

    struct Menu {
        std::vector<std::string> Items, Hints;
        std::string Title;
    };
    std::vector<std::string> Played;
    std::deque<char> Keys;
    std::deque<std::string> Answers;
    std::deque<int> Choices;
    std::vector<std::string> Prompts;
    std::vector<Menu> Menus;
    std::vector<std::string> Steps;
    std::vector<bool> States;
    std::vector<unsigned> Sleeps;
    unsigned long long Clock = 1000;
    TRange Cursor{0, 0, 0, 0};
    int Events = 0;
    int KeyWaits = 0;
    const bool* WaitFlag = nullptr;
    bool WaitFlagSeen = false;
    std::function<void(int)> OnEvents;
    std::function<void()> OnKeyWait;
    std::function<void()> OnSleep;
    MemoryClipboard Clip;
};

class MacroTest : public ::testing::Test {
protected:
    MacroTest() : e(512), macro(e, host)
    {
        InstallFormulaEngine(e);
        RestoreContext(e, OpenSheet(e, "T"));
        e.Notifier = &notify;
        host.WaitFlag = &macro.State().MacroWaitKey;
    }

    TRange At(std::string_view address)
    {
        e.Err.Clear();
        TRange r = ParseRange(e, address);
        EXPECT_FALSE(e.Err.ErrorFlag) << address;
        return r;
    }
    // Macro text goes in as a label, whatever it starts with.
    void Put(std::string_view address, std::string_view text)
    {
        TRange r = At(address);
        EnterCell(e, "'" + std::string(text), r.FirstRow, r.FirstCol);
    }
    void Enter(std::string_view address, std::string_view text)
    {
        TRange r = At(address);
        EnterCell(e, text, r.FirstRow, r.FirstCol);
    }
    void Name(std::string_view name, std::string_view address) { ASSERT_TRUE(SetRangeName(e, name, At(address))); }
    PCell Cell(std::string_view address)
    {
        TRange r = At(address);
        return FindCell(e, r.FirstRow, r.FirstCol);
    }
    double Number(std::string_view address)
    {
        PCell c = Cell(address);
        EXPECT_TRUE(c && IsNumericKind(c->Kind)) << address;
        return c ? NumericValue(*c) : -1;
    }
    std::string Contents(std::string_view address) { return CellContentsText(e, Cell(address)); }
    bool Run(std::string_view address = "A1")
    {
        TRange r = At(address);
        return macro.RunMacroAt(r.FirstRow, r.FirstCol);
    }
    std::string Message() const { return notify.Messages() ? notify.LastMessage() : std::string(); }

    Engine e;
    HeadlessNotify notify;
    FakeHost host;
    MacroInterpreter macro;
};

std::string Keys(int n, char key) { return std::string(n, key); }

// --- the execution loop -----------------------------------------------

TEST_F(MacroTest, KeysArePlayedAndTheMacroEndsAtTheFirstEmptyCell)
{
    Put("A1", "abc~");
    Put("A2", "{DOWN 3}x");
    Put("A4", "never");
    EXPECT_TRUE(Run());
    EXPECT_EQ(host.AllKeys(), "abc\r" + Keys(3, kMacroKeyDown) + "x");
    EXPECT_FALSE(macro.Running());
    EXPECT_EQ(notify.Messages(), 0);
    EXPECT_EQ(host.States, (std::vector<bool>{true, false}));
}

TEST_F(MacroTest, KeysGoInBatchesBeforeEachCommandAndOfAtMostAHundred)
{
    Put("A1", "ab{BEEP}{DOWN 3}");
    Put("A2", "{RIGHT 150}");
    Run();
    ASSERT_EQ(host.Played.size(), 3u);
    EXPECT_EQ(host.Played[0], "ab");
    EXPECT_EQ(host.Played[1], Keys(3, kMacroKeyDown) + Keys(97, kMacroKeyRight));
    EXPECT_EQ(host.Played[2], Keys(53, kMacroKeyRight));
    EXPECT_EQ(notify.Beeps(), 1);
}

TEST_F(MacroTest, BlankCellEndsTheMacroLikeAnAbsentOne)
{
    Put("A1", "a");
    Put("A2", "");
    Put("A3", "b");
    TRange r = At("A2");
    ClearCell(e, FindCell(e, r.FirstRow, r.FirstCol));
    Run();
    EXPECT_EQ(host.AllKeys(), "a");
}

TEST_F(MacroTest, UnknownNameTypesItsLettersAndThenStopsWithTheSyntaxError)
{
    Put("A1", "ab");
    Put("A2", "c{FOO}d");
    Put("A3", "e");
    Run();
    EXPECT_EQ(host.AllKeys(), "abcFOO");
    EXPECT_EQ(Message(), "Error:Syntax Error:A2");
    EXPECT_TRUE(macro.State().MacroSyntaxError);
    EXPECT_FALSE(macro.Running());
    EXPECT_EQ(host.States.back(), false);
}

TEST_F(MacroTest, UnclosedQuoteStopsWithTheSyntaxError)
{
    Put("A1", "ab{LET B1,\"xyz}");
    Run();
    EXPECT_EQ(Message(), "Error:Syntax Error:A1");
    EXPECT_EQ(Cell("B1"), nullptr);
    EXPECT_EQ(host.AllKeys(), "");
    // A closing quote that is the very last character counts as missing.
    Put("A1", "{LET B1,\"xyz\"");
    Run();
    EXPECT_EQ(Cell("B1"), nullptr);
    EXPECT_EQ(Message(), "Error:Syntax Error:A1");
}

TEST_F(MacroTest, CommandsWithoutHandlerAreSyntaxErrors)
{
    for (std::string_view name : {"CLRSCR", "GOTOXY 1,2", "BREAKOFF"}) {
        Put("A1", "{" + std::string(name) + "}");
        Run();
        EXPECT_EQ(Message(), "Error:Syntax Error:A1") << name;
    }
}

TEST_F(MacroTest, CommandsNotYetExecutedStopTheMacroNamingThem)
{
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"{RANGEBUILD A1}", "RANGEBUILD"},  {"{GRAPHTYPE 1}", "GRAPHTYPE"},
        {"{TONE 1,2}", "TONE"},    {"{BREAKON}", "PLAYWAVE"},
    };
    for (const auto& [text, name] : cases) {
        Put("A1", std::string("x") + std::string(text) + "y");
        host.Played.clear();
        Run();
        EXPECT_EQ(Message(), "Error:Macro command not available yet: " + std::string(name)) << text;
        EXPECT_EQ(host.AllKeys(), "x") << text;
    }
}

TEST_F(MacroTest, GotoXdnAndAnchorMoveThePointerAtOnce)
{
    Put("A1", "{GOTO B5}{LET CURSOR,7}{XDN 2}{ANCHOR 1}{LET CURSOR,8}");
    Run();
    EXPECT_EQ(Number("B5"), 7);
    EXPECT_EQ(Number("B7"), 8);
    EXPECT_TRUE(host.Extended);
    EXPECT_TRUE(host.Anchored);
}

TEST_F(MacroTest, SeparatorInsideParenthesesStaysInTheFormula)
{
    Enter("B1", "5");
    Enter("B3", "10");
    Put("A1", "{LET B4,@SUM(B1,B3)}");
    Run();
    EXPECT_EQ(Number("B4"), 15);
}

TEST_F(MacroTest, QuitEndsQuietly)
{
    Put("A1", "a{QUIT}b");
    Put("A2", "c");
    Run();
    EXPECT_EQ(host.AllKeys(), "a");
    EXPECT_EQ(notify.Messages(), 0);
}

TEST_F(MacroTest, AnErrorOfACellOperationStopsTheMacro)
{
    Enter("B1", "1");
    Cell("B1")->Format |= kFormatProtected;
    e.Settings().Protect = true;
    Put("A1", "{LET B1,\"text\"}x");
    Run();
    EXPECT_EQ(Message(), "Error:" + std::string(kProtectedCell));
    EXPECT_EQ(Number("B1"), 1);
    EXPECT_EQ(host.AllKeys(), "");
}

// --- starting and stopping ----------------------------------------------

TEST_F(MacroTest, MacroTextRunsAsOneLine)
{
    Put("A1", "never");
    EXPECT_TRUE(macro.RunMacroText("x{LET B1,7}y~"));
    EXPECT_EQ(Number("B1"), 7);
    EXPECT_EQ(host.Played, (std::vector<std::string>{"x", "y\r"}));
    EXPECT_FALSE(macro.Running());

    macro.RunMacroText("{FOO}");
    EXPECT_EQ(Message(), "Error:Syntax Error:");
}

TEST_F(MacroTest, MacroTextContinuesAfterASubroutineAndIntoCells)
{
    Put("D1", "{LET B1,B1+1}{RETURN}");
    Name("SUB", "D1");
    macro.RunMacroText("{SUB}{CALL D1}{LET B2,B1}");
    EXPECT_EQ(Number("B2"), 2);

    // Loops return into the line as well.
    macro.RunMacroText("{FOR B5,1,3,1}{LET C5,C5+1}{NEXT}{LET C6,1}");
    EXPECT_EQ(Number("C5"), 3);
    EXPECT_EQ(Number("C6"), 1);

    Put("F1", "{LET B3,3}");
    macro.RunMacroText("{BRANCH F1}{LET B4,4}");
    EXPECT_EQ(Number("B3"), 3);
    EXPECT_EQ(Cell("B4"), nullptr);
}

TEST_F(MacroTest, ASecondMacroIsRefusedWhileOneRuns)
{
    Put("A1", "a");
    Put("A2", "b");
    bool again = true, text = true;
    host.OnEvents = [&](int n) {
        if (n == 1) {
            again = Run("A2");
            text = macro.RunMacroText("z");
        }
    };
    int beeps = notify.Beeps();
    Run();
    EXPECT_FALSE(again);
    EXPECT_FALSE(text);
    EXPECT_EQ(notify.Beeps(), beeps + 2);
    EXPECT_EQ(host.AllKeys(), "ab");
    // Afterwards a macro starts again.
    host.OnEvents = nullptr;
    EXPECT_TRUE(Run("A2"));
}

TEST_F(MacroTest, BreakWhileLoadingACellStopsWithTheCellAddress)
{
    Put("A1", "a");
    Put("A2", "b");
    Put("A3", "c");
    host.OnEvents = [&](int n) {
        if (n == 2)
            macro.BreakMacro();
    };
    Run();
    EXPECT_EQ(host.AllKeys(), "a");
    EXPECT_EQ(Message(), "Error:Break! A1");
    EXPECT_FALSE(macro.State().MacroBreak);
    EXPECT_EQ(host.States.back(), false);
}

TEST_F(MacroTest, StepModeShowsEachCellAndWaitsForAKey)
{
    Put("A1", "a");
    Put("A2", "{DOWN}");
    host.Keys = {' ', ' '};
    macro.State().StepMode = true;
    Run();
    EXPECT_EQ(host.Steps, (std::vector<std::string>{"A1 : 'a", "A2 : '{DOWN}"}));
    EXPECT_EQ(host.AllKeys(), "a" + Keys(1, kMacroKeyDown));
    EXPECT_FALSE(macro.State().StepMode);

    // Without a key to give, the macro stops instead of waiting.
    macro.State().StepMode = true;
    Run();
    EXPECT_EQ(Message(), "Error:Macro Waits For Input");
    EXPECT_FALSE(macro.Running());
}

// --- values and arguments ------------------------------------------------

TEST_F(MacroTest, LetStoresNumbersStringsAndFormulaResults)
{
    Enter("C1", "+B1*10");
    Put("A1", "{LET B1,5}{LET B2,\"hello world\"}{LET B3,B1*2}");
    Put("A2", "{LET B4,@SUM(B1..B3)}{LET B5,true}{LET B6,hello}{LET B7,\"12\"}");
    Run();
    EXPECT_EQ(notify.Messages(), 0) << Message();
    EXPECT_EQ(Number("B1"), 5);
    EXPECT_EQ(Number("C1"), 50);  // dependents recalculated
    EXPECT_EQ(Contents("B2"), "'hello world");
    EXPECT_EQ(Number("B3"), 10);
    EXPECT_FALSE(IsFormulaKind(Cell("B3")->Kind));
    EXPECT_EQ(Number("B4"), 15);
    EXPECT_EQ(Number("B5"), 1);
    EXPECT_EQ(Contents("B6"), "'hello");
    EXPECT_EQ(Number("B7"), 12);
}

TEST_F(MacroTest, AnArgumentMayContinueInTheNextCell)
{
    Put("A1", "{LET B1,");
    Put("A2", "4+4~z");
    Run();
    EXPECT_EQ(Number("B1"), 8);
    EXPECT_EQ(host.AllKeys(), "z");
}

TEST_F(MacroTest, AnArgumentEndingAtTheEmptyCellDoesNothing)
{
    Put("A1", "{LET B1,");
    Run();
    EXPECT_EQ(Cell("B1"), nullptr);
    EXPECT_EQ(notify.Messages(), 0);
}

TEST_F(MacroTest, AddressesThatDoNotParseAreSyntaxErrors)
{
    for (std::string_view text : {"{BRANCH NOSUCH}", "{LET 12,1}", "{CALL A1.B2}", "{FOR X,1,2,1}"}) {
        Put("A3", text);
        Run("A3");
        EXPECT_EQ(Message(), "Error:Syntax Error:A3") << text;
    }
}

TEST_F(MacroTest, AddressesOffTheWorksheetStopTheMacroAsOutOfRange)
{
    for (std::string_view place : {"ZZZ0", "A0", "A8193", "IW1", "A1..B9999"}) {
        Put("A3", "{LET " + std::string(place) + ",1}");
        Run("A3");
        EXPECT_EQ(Message(), "Error:Out of Range: " + std::string(place));
    }
    EXPECT_EQ(Contents("A1"), "");
}

TEST_F(MacroTest, EmptyOrCursorAddressesMeanTheCellPointer)
{
    host.Cursor = At("C3");
    Put("A1", "{LET cursor,5}");
    Run();
    EXPECT_EQ(Number("C3"), 5);
    EXPECT_EQ(notify.Messages(), 0);
}

TEST_F(MacroTest, IntegerArgumentsSaturateAtTheThirtyTwoBitBounds)
{
    Put("A1", "{FOR B1,1E12,1,1}{NEXT}{FOR B2,-1E300,1,-1}{NEXT}{FOR B3,2.5,1,1}{NEXT}");
    Run();
    EXPECT_EQ(notify.Messages(), 0) << Message();
    EXPECT_EQ(Number("B1"), 2147483647.0);
    EXPECT_EQ(Number("B2"), -2147483647.0);
    EXPECT_EQ(Number("B3"), 3);
}

TEST_F(MacroTest, RecalcRecalculatesTheRange)
{
    e.Settings().ManualCalc = true;
    Enter("C1", "+B1*2");
    Put("A1", "{LET B1,21}");
    Put("A2", "{RECALC C1..C1}");
    Run();
    EXPECT_EQ(Number("C1"), 42);
}

// --- control flow --------------------------------------------------------

TEST_F(MacroTest, CallAndReturnThroughARangeName)
{
    Put("A1", "a{CALL SUB}b");
    Put("A2", "{SUB}c");
    Put("D1", "x{RETURN}");
    Name("SUB", "D1");
    Run();
    EXPECT_EQ(host.AllKeys(), "axbxc");
    EXPECT_EQ(notify.Messages(), 0);
}

TEST_F(MacroTest, TheTwentyFirstNestedCallOverflows)
{
    Put("D1", "{CALL D1}");
    Put("A1", "{CALL D1}");
    Run();
    EXPECT_EQ(Message(), "Error:Stack Overflow, Nesting>20 ");
    EXPECT_EQ(macro.State().CallDepth, 0);  // the stop leaves no return points
}

TEST_F(MacroTest, ReturnWithoutCallAndNextWithoutFor)
{
    Put("A1", "{RETURN}");
    Run();
    EXPECT_EQ(Message(), "Error:Stack Underflow, Level<1");
    Put("A1", "{NEXT}");
    Run();
    EXPECT_EQ(Message(), "Error:NEXT without FOR");
}

TEST_F(MacroTest, ForLoopSumsOneToTen)
{
    Put("A1", "{LET C1,0}{FOR B1,1,10,1}");
    Put("A2", "{LET C1,C1+B1}");
    Put("A3", "{NEXT}{LET D1,1}");
    Run();
    EXPECT_EQ(notify.Messages(), 0) << Message();
    EXPECT_EQ(Number("C1"), 55);
    EXPECT_EQ(Number("B1"), 10);
    EXPECT_EQ(Number("D1"), 1);
    EXPECT_EQ(macro.State().ForCount, 0);
}

TEST_F(MacroTest, ForLoopsCountDownAndNest)
{
    Put("A1", "{FOR B1,10,1,-3}{LET C1,C1+B1}{NEXT}");
    Put("A2", "{FOR B2,1,3,1}{FOR B3,1,4,1}{LET C2,C2+1}{NEXT}{NEXT}");
    // A zero step runs the body once.
    Put("A3", "{FOR B4,1,5,0}{LET C4,C4+1}{NEXT}");
    Run();
    EXPECT_EQ(Number("C1"), 10 + 7 + 4 + 1);
    EXPECT_EQ(Number("C2"), 12);
    EXPECT_EQ(Number("C4"), 1);
}

TEST_F(MacroTest, TheSixthNestedForStops)
{
    Put("A1", "{FOR B1,1,2,1}{FOR B2,1,2,1}{FOR B3,1,2,1}{FOR B4,1,2,1}{FOR B5,1,2,1}{FOR B6,1,2,1}x");
    Run();
    EXPECT_EQ(Message(), "Error:FOR LOOPS>5");
    EXPECT_EQ(Cell("B6"), nullptr);
    EXPECT_EQ(host.AllKeys(), "");
}

TEST_F(MacroTest, ACounterThatCannotBeWrittenStopsTheLoop)
{
    Enter("B1", "0");
    Cell("B1")->Format |= kFormatProtected;
    Put("A1", "{FOR B1,1,10,1}");
    Put("A2", "{NEXT}");
    e.Settings().Protect = true;
    Run();
    EXPECT_EQ(Message(), "Error:" + std::string(kProtectedCell));
}

TEST_F(MacroTest, AnAbortedLoopDoesNotBurdenTheNextMacro)
{
    Put("A1", "{FOR B1,1,3,1}{FOO}");
    for (int k = 0; k < 6; ++k)
        Run();
    EXPECT_EQ(Message(), "Error:Syntax Error:A1");
    macro.State().CallDepth = kMacroCallLimit;
    Put("A1", "{FOR B1,1,3,1}{LET C1,C1+1}{NEXT}{CALL D1}");
    Put("D1", "{LET C2,1}{RETURN}");
    Run();
    EXPECT_EQ(Number("C1"), 3);
    EXPECT_EQ(Number("C2"), 1);
}

TEST_F(MacroTest, TenThousandIterationsRun)
{
    Put("A1", "{FOR B1,1,10000,1}{LET C1,C1+1}{NEXT}");
    Run();
    EXPECT_EQ(Number("C1"), 10000);
}

TEST_F(MacroTest, IfSkipsTheRestOfTheCellUnlessPositive)
{
    Put("A1", "{IF -1}{LET B1,1}");
    Put("A2", "{IF 0}{LET B2,1}");
    Put("A3", "{IF 0.5}{LET B3,1}");
    Put("A4", "{IF B3=1}{LET B4,1}");
    Put("A5", "{IF nonsense(}{LET B5,1}");
    Put("A6", "{LET B6,1}");
    Run();
    EXPECT_EQ(Cell("B1"), nullptr);
    EXPECT_EQ(Cell("B2"), nullptr);
    EXPECT_EQ(Number("B3"), 1);
    EXPECT_EQ(Number("B4"), 1);
    EXPECT_EQ(Cell("B5"), nullptr);
    EXPECT_EQ(Number("B6"), 1);
}

TEST_F(MacroTest, WhileLoopsOnlyOnExactlyOne)
{
    Put("D1", "{LET C1,C1+1}{RETURN}");
    Put("A1", "{WHILE 2,D1}{LET B1,1}");
    Run();
    EXPECT_EQ(Cell("C1"), nullptr);
    EXPECT_EQ(Number("B1"), 1);

    Put("A1", "{LET C1,0}{WHILE C1<3,D1}{LET B2,C1}");
    Run();
    EXPECT_EQ(Number("C1"), 3);
    EXPECT_EQ(Number("B2"), 3);
    EXPECT_EQ(notify.Messages(), 0) << Message();
}

TEST_F(MacroTest, AMacroEndsAtAnEmptyCellInsideASubroutine)
{
    Put("A1", "{CALL D1}");
    Put("A2", "{LET B1,1}");
    Put("D1", "x");
    Run();
    EXPECT_EQ(host.AllKeys(), "x");
    EXPECT_EQ(Cell("B1"), nullptr);
    EXPECT_EQ(notify.Messages(), 0);
}

TEST_F(MacroTest, RestartAndExitDropReturnPoints)
{
    Put("A1", "{CALL D1}{LET B1,1}");
    Put("D1", "{CALL E1}{LET B2,1}");
    Put("E1", "{RESTART}{RETURN}");
    Run();
    EXPECT_EQ(Number("B1"), 1);
    EXPECT_EQ(Cell("B2"), nullptr);

    // Stale entries of the stack are never revived.
    Put("A1", "{RESTART}{RETURN}");
    Run();
    EXPECT_EQ(Message(), "Error:Stack Underflow, Level<1");

    Put("A1", "{CALL D2}{LET B3,1}");
    Put("D2", "{EXIT}{LET B4,1}{RETURN}");
    Run();
    EXPECT_EQ(Number("B4"), 1);
    EXPECT_EQ(Cell("B3"), nullptr);
    EXPECT_EQ(Message(), "Error:Stack Underflow, Level<1");
}

TEST_F(MacroTest, OnErrorRecordsAndClearsItsTarget)
{
    Put("A1", "{ONERROR C5}");
    Run();
    EXPECT_EQ(macro.State().ErrorTargetRow, 4);
    EXPECT_EQ(macro.State().ErrorTargetCol, 2);
    Put("A1", "{ONERROR nul}");
    Run();
    EXPECT_EQ(macro.State().ErrorTargetRow, -1);
}

TEST_F(MacroTest, MenuOffersFifteenItemsAndEscapeTakesTheColumnAfterThem)
{
    // Items in row 11 from A to T, descriptions below, macros two rows down.
    for (int k = 0; k < 20; ++k) {
        Put(ColumnLetters(k) + "11", "Item" + std::to_string(k + 1));
        Put(ColumnLetters(k) + "13", "{LET Z1," + std::to_string(k + 1) + "}");
    }
    Put("A12", "first");
    Put("C12", "third");
    Put("P12", "Pick one");
    Put("A1", "{MENUBRANCH A11}");
    Run();
    ASSERT_EQ(host.Menus.size(), 1u);
    const FakeHost::Menu& menu = host.Menus[0];
    ASSERT_EQ(menu.Items.size(), 15u);
    EXPECT_EQ(menu.Items[0], "Item1");
    EXPECT_EQ(menu.Items[14], "Item15");
    EXPECT_EQ(menu.Hints, (std::vector<std::string>{"*  first", "", "*  third", "", "", "", "", "", "", "", "", "",
                                                    "", "", ""}));
    EXPECT_EQ(menu.Title, "Pick one");
    EXPECT_EQ(Number("Z1"), 16);

    host.Choices = {2};
    Run();
    EXPECT_EQ(Number("Z1"), 2);
}

TEST_F(MacroTest, MenuStopsAtABlankItemAndIgnoresAnEmptyRow)
{
    Put("A11", "One");
    Put("B11", "Two");
    Put("A13", "{LET Z1,1}");
    Put("C13", "{LET Z1,3}");
    Put("A1", "{MENUJUMP A11}");
    host.Choices = {99};  // out of range: taken as Escape
    Run();
    ASSERT_EQ(host.Menus.size(), 1u);
    EXPECT_EQ(host.Menus[0].Items, (std::vector<std::string>{"One", "Two"}));
    EXPECT_EQ(host.Menus[0].Title, "");
    EXPECT_EQ(Number("Z1"), 3);

    Put("A1", "{MENUBRANCH F20}x");
    Run();
    EXPECT_EQ(host.Menus.size(), 1u);
    EXPECT_EQ(host.AllKeys(), "x");
}

// --- input and pauses ------------------------------------------------------

TEST_F(MacroTest, InputCommandsEnterScriptedAnswers)
{
    host.Keys = {'q', 'y'};
    host.Answers = {"123", "2+3"};
    Put("A1", "{?}{GET B1}{GETLABEL Name?,B2}");
    Put("A2", "{GETNUMBER \"Your amount\",B3}");
    Run();
    EXPECT_EQ(notify.Messages(), 0) << Message();
    EXPECT_TRUE(host.WaitFlagSeen);
    EXPECT_FALSE(macro.State().MacroWaitKey);
    EXPECT_EQ(host.AllKeys(), "");  // the paused key is swallowed
    EXPECT_EQ(Contents("B1"), "'y");
    EXPECT_EQ(Contents("B2"), "'123");
    EXPECT_EQ(Number("B3"), 5);
    EXPECT_EQ(host.Prompts, (std::vector<std::string>{"Name?", "Your amount"}));
}

TEST_F(MacroTest, InputWithoutAnAnswerStopsTheMacro)
{
    for (std::string_view text : {"{?}", "{GET B1}", "{INLABEL x,B1}", "{INVALUE x,B1}"}) {
        Put("A1", std::string(text) + "{LET C1,1}");
        Run();
        EXPECT_EQ(Message(), "Error:Macro Waits For Input") << text;
        EXPECT_EQ(Cell("B1"), nullptr) << text;
        EXPECT_EQ(Cell("C1"), nullptr) << text;
    }
}

TEST_F(MacroTest, BreakDuringAKeyWaitEndsWithTheBreakMessage)
{
    host.OnKeyWait = [&] { macro.BreakMacro(); };
    Put("A1", "{GET B1}{LET C1,1}");
    Run();
    EXPECT_EQ(Message(), "Error:Break! A1");
    EXPECT_EQ(Cell("B1"), nullptr);
    EXPECT_EQ(Cell("C1"), nullptr);
}

TEST_F(MacroTest, DelayWaitsOnTheHostClock)
{
    Put("A1", "{DELAY 250}{DELAY 0}{DELAY -5}");
    Run();
    EXPECT_EQ(host.Clock, 1250u);
    EXPECT_EQ(std::accumulate(host.Sleeps.begin(), host.Sleeps.end(), 0u), 250u);

    // A huge delay is capped.
    host.Clock = 0;
    Put("A1", "{DELAY 1E15}");
    Run();
    EXPECT_EQ(host.Clock, 60000u);
}

TEST_F(MacroTest, DelayEndsWhenItsClockStands)
{
    struct StoppedClock : FakeHost {
        void Sleep(unsigned ms) override { Sleeps.push_back(ms); }
    } frozen;
    MacroInterpreter other(e, frozen);
    Put("A1", "{DELAY 1000}{LET B1,1}");
    other.RunMacroAt(0, 0);
    EXPECT_EQ(Number("B1"), 1);
    EXPECT_LE(frozen.Sleeps.size(), 22u);
}

TEST_F(MacroTest, BreakDuringADelayStopsEarly)
{
    host.OnSleep = [&] {
        if (host.Clock >= 1100)
            macro.BreakMacro();
    };
    Put("A1", "{DELAY 5000}{LET B1,1}");
    Run();
    EXPECT_LE(host.Clock, 1150u);
    EXPECT_EQ(Message(), "Error:Break! A1");
    EXPECT_EQ(Cell("B1"), nullptr);
}

TEST_F(MacroTest, UpdateLetsEventsRun)
{
    Put("A1", "{UPDATE}");
    Run();
    const int withUpdate = host.Events;
    Put("A1", "{BEEP}");
    host.Events = 0;
    Run();
    EXPECT_EQ(withUpdate, host.Events + 1);
}

}  // namespace
}  // namespace zt

namespace zt {
namespace {

TEST_F(MacroTest, CopyMoveAndBlankWorkOnTheirRanges)
{
    Enter("B1", "2");
    Enter("C1", "+B1*10");
    Put("A1", "{COPY C1,C2..C3}{MOVE B1,D1}{BLANK C3}");
    Run();
    EXPECT_EQ(Message(), "");
    EXPECT_EQ(Contents("C2"), "+B2*10");
    EXPECT_EQ(Contents("C1"), "+D1*10");
    EXPECT_EQ(Number("C1"), 20);
    EXPECT_EQ(Contents("C3"), "");
}

TEST_F(MacroTest, SpecialCopiesTakeTheirFactor)
{
    Enter("B1", "4");
    Enter("B2", "+B1");
    Put("A1", "{COPYSCALE B1..B2,C1,2+1}{COPYINV B1,D1}{COPYTRANS B1..B2,E1}{COPYFORM B2,F2}{COPYVAL B2,G2}");
    Run();
    EXPECT_EQ(Message(), "");
    EXPECT_EQ(Number("C1"), 12);
    EXPECT_EQ(Number("C2"), 12);
    EXPECT_EQ(Number("D1"), 0.25);
    EXPECT_EQ(Number("F1"), 4);
    EXPECT_EQ(Contents("F2"), "+B1");
    EXPECT_EQ(Contents("G2"), "4");
}

TEST_F(MacroTest, RowsAndColumnsAreInsertedAndDeletedAndUndone)
{
    Enter("B3", "1");
    Enter("C1", "+B3");
    Put("A1", "{INSERTROW A2..A3}{INSERTCOL B1}");
    Run();
    EXPECT_EQ(Contents("D1"), "+C5");
    Put("A1", "{DELETEROW A2..A3}{DELETECOL B9}");
    Run();
    EXPECT_EQ(Contents("C1"), "+B3");
    Put("A1", "{UNDO}");
    Run();
    EXPECT_EQ(Contents("D1"), "+C3");
}

TEST_F(MacroTest, ClipboardCommandsUseTheHostsClipboard)
{
    Enter("B1", "5");
    Put("A1", "{EDITCUT B1}{EDITPASTE D4}{EDITCOPY D4}");
    Run();
    EXPECT_EQ(Contents("B1"), "");
    EXPECT_EQ(Number("D4"), 5);
    EXPECT_EQ(host.Clip.PlainText(), "5\r\n");
}

TEST_F(MacroTest, AMoveOfTheRunningMacroCarriesItAlong)
{
    Put("A1", "{MOVE A1..A3,C1}");
    Put("A2", "{LET E1,1}");
    Run();
    EXPECT_EQ(Message(), "");
    EXPECT_EQ(Number("E1"), 1);
    EXPECT_EQ(Contents("C2"), "'{LET E1,1}");
}

TEST_F(MacroTest, ACopyErrorStopsTheMacro)
{
    Enter("B1", "1");
    Enter("B2", "2");
    Put("A1", "{COPY B1..B2,B8192}{LET E1,1}");
    Run();
    EXPECT_EQ(Message(), "Error:Copy Error");
    EXPECT_EQ(Cell("E1"), nullptr);
}

}  // namespace
}  // namespace zt
