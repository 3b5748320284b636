// The range commands as the menus, prompts and buttons drive them.
#include "commands/copy_values.h"
#include "tests/shell/shell_fixture.h"

namespace zt {
namespace {

class ShellRangeTest : public ShellTest {
protected:
    // Answers the open prompt with a typed range.
    void Answer(std::string_view expectedCaption, std::string_view text)
    {
        ASSERT_TRUE(shell.Prompt().Open);
        EXPECT_EQ(shell.Prompt().Caption, expectedCaption);
        Type(text);
        Enter();
    }
};

TEST_F(ShellRangeTest, CopyAndMoveAskForBothRanges)
{
    Put("A1", "1");
    Put("A2", "+A1*2");
    GoTo("A1");
    Key(vkDown, true);
    shell.Command("Copy2Click");
    EXPECT_EQ(shell.Prompt().Text, "A1..A2");
    Enter();
    Answer("COPY: TO Range", "C5");
    EXPECT_FALSE(shell.Prompt().Open);
    EXPECT_EQ(Contents("C6"), "+C5*2");
    EXPECT_EQ(Value("C6"), 2);

    shell.Command("Move2Click");
    Answer("MOVE: From Range", "A1");
    Answer("MOVE: TO Range", "E1");
    EXPECT_EQ(Contents("A2"), "+E1*2");
    EXPECT_EQ(Cell("A1"), nullptr);
}

TEST_F(ShellRangeTest, EscapeInTheSecondPromptCopiesNothing)
{
    Put("A1", "1");
    shell.Command("Copy2Click");
    Enter();
    ASSERT_TRUE(shell.Prompt().Open);
    Escape();
    EXPECT_FALSE(shell.Prompt().Open);
    EXPECT_EQ(Cell("B1"), nullptr);
    EXPECT_EQ(notify.Messages(), 0);
}

TEST_F(ShellRangeTest, TheHiddenSpecialCopiesPromptForSourceAndOutput)
{
    Put("A1", "4");
    shell.Command("Value1Click", 2);
    Answer("SCALE VALUE: Specify Range", "A1");
    Answer("OUTPUT Range", "B1");
    EXPECT_EQ(Value("B1"), 8);
    shell.Command("Value1Click", 3);
    Answer("INVERT VALUE: Specify Range", "A1");
    Answer("OUTPUT Range", "C1");
    EXPECT_EQ(Value("C1"), 0.25);
    shell.Command("Value1Click", 4);
    EXPECT_FALSE(shell.Prompt().Open);
    EXPECT_EQ(notify.Beeps(), 1);
}

class CopyDialogView : public ShellView {
public:
    bool ChooseCopy(CopyDialogFields& fields) override
    {
        Seen = fields;
        if (!Answer)
            return false;
        fields.From = "A1..A2";
        fields.To = "C1";
        fields.Type = kCopyScale;
        fields.Factor = fields.EvaluateFactor("2*5");
        return true;
    }
    CopyDialogFields Seen;
    bool Answer = true;
};

TEST_F(ShellRangeTest, TheCopyDialogStartsFromTheSelectionAndEvaluatesTheFactor)
{
    CopyDialogView view;
    shell.SetView(&view);
    Put("A1", "1");
    Put("A2", "2");
    GoTo("B3");
    Key(vkRight, true);
    shell.Command("Copy1Click");
    EXPECT_EQ(view.Seen.From, "B3..C3");
    EXPECT_EQ(view.Seen.To, "C3");
    EXPECT_EQ(view.Seen.Type, kCopyValue);
    EXPECT_EQ(Value("C2"), 20);
    view.Answer = false;
    shell.Command("Copy1Click");
    EXPECT_EQ(Value("C2"), 20);
    shell.SetView(nullptr);
}

TEST_F(ShellRangeTest, CutCopyAndPasteGoThroughTheClipboard)
{
    Put("A1", "5");
    Put("B1", "+A1+1");
    GoTo("A1");
    Key(vkRight, true);
    shell.Command("Clip1Click");
    EXPECT_EQ(clip.PlainText(), "5\t6\r\n");
    GoTo("A3");
    shell.Command("Paste1Click");
    EXPECT_EQ(Contents("B3"), "+A1+1");
    GoTo("A1");
    shell.Command("spcutClick", 1);
    EXPECT_EQ(Contents("A1"), "");
    GoTo("D9");
    shell.Command("Paste1Click");
    EXPECT_EQ(Value("D9"), 5);
}

TEST_F(ShellRangeTest, PasteWithAnEmptyClipboardOnlyBeeps)
{
    shell.Command("Paste1Click");
    EXPECT_EQ(notify.Beeps(), 1);
    EXPECT_EQ(Cell("A1"), nullptr);
}

TEST_F(ShellRangeTest, InsertAndDeletePromptWithTheirCaptions)
{
    Put("A1", "+A3");
    Put("A3", "3");
    GoTo("A2");
    shell.Command("InsRowClick");
    Answer("INSERT Row : Specify Range", "A2..A3");
    EXPECT_EQ(Contents("A1"), "+A5");
    shell.Command("DelRowClick");
    Answer("DELETE Row : Specify Range", "B2..B3");
    EXPECT_EQ(Contents("A1"), "+A3");
    shell.Command("InsColClick");
    Answer("INSERT Col : Specify Range", "A1");
    EXPECT_EQ(Contents("B1"), "+B3");
    shell.Command("DelColClick");
    Answer("Delete Col : Specify Range", "A9");
    EXPECT_EQ(Contents("A1"), "+A3");
    shell.Command("InsPageClick");
    Answer("INSERT Row : Specify Range", "C2");
    EXPECT_EQ(Contents("C2"), "|::");
    EXPECT_EQ(Contents("A1"), "+A3");
}

class BusyView : public ShellView {
public:
    void ShowBusy(bool busy) override { Shown.push_back(busy); }
    std::vector<bool> Shown;
};

TEST_F(ShellRangeTest, TheTwoWayButtonsWorkOnTheSelectionUnderTheHourglass)
{
    BusyView view;
    shell.SetView(&view);
    Put("B2", "2");
    GoTo("A1");
    shell.Command("spdbtn2UpClick");
    EXPECT_EQ(Value("B3"), 2);
    shell.Command("spdbtn3UpClick");
    EXPECT_EQ(Value("C3"), 2);
    shell.Command("spdbtn3DownClick");
    shell.Command("spdbtn2DownClick");
    EXPECT_EQ(Value("B2"), 2);
    EXPECT_EQ(view.Shown, (std::vector<bool>{true, false, true, false, true, false, true, false}));
    shell.SetView(nullptr);
}

TEST_F(ShellRangeTest, AcrossRowWorksInEverySheet)
{
    e.Settings().RowsPerSheet = 4096;
    Put("A12", "1");
    Put("A4108", "2");
    GoTo("A10");
    shell.Command("Across1Click");
    Answer("INSERT Row : Specify Range", "A10");
    EXPECT_EQ(Value("A13"), 1);
    EXPECT_EQ(Value("A4109"), 2);
}

TEST_F(ShellRangeTest, ShiftAndTheRightButtonDragTheSelectionToWhereItIsDropped)
{
    Put("A1", "1");
    Put("A2", "2");
    Put("C1", "+A2*10");
    GoTo("A1");
    Key(vkDown, true);
    shell.CellPressed(*w, 0, 1, 0, false, true);
    EXPECT_FALSE(shell.DraggingSelection());
    shell.CellPressed(*w, 0, 1, 0, true, true);
    ASSERT_TRUE(shell.DraggingSelection());
    shell.SelectionDropped(*w, 0, 4, 1);
    EXPECT_FALSE(shell.DraggingSelection());
    EXPECT_EQ(Value("B4"), 1);
    EXPECT_EQ(Value("B5"), 2);
    EXPECT_EQ(Cell("A1"), nullptr);
    EXPECT_EQ(Contents("C1"), "+B5*10");
    EXPECT_EQ(Selected(), "B4..B5");
}

}  // namespace
}  // namespace zt
