#include <filesystem>
#include <fstream>

#include "core/range_names.h"
#include "tests/shell/shell_fixture.h"

namespace zt {
namespace {

namespace fs = std::filesystem;

// A shell with a scratch folder for its files.
class ShellFilesTest : public ShellTest {
protected:
    ShellFilesTest()
    {
        const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir = fs::temp_directory_path() / ("zt_shell_" + std::string(info->name()));
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    ~ShellFilesTest() override { fs::remove_all(dir); }

    std::string PathOf(const std::string& name) { return (dir / name).string(); }
    void AnswerSave(const std::string& name) { dialogs.QueueAnswer(FileDialogResult{true, PathOf(name), 1}); }
    int SaveRequests() const
    {
        int n = 0;
        for (const auto& r : dialogs.Requests())
            n += r.Save;
        return n;
    }
    bool Modified() { return e.Slots[shell.Active()->Slot]->Modified; }
    int FilesInDir() const { return int(std::distance(fs::directory_iterator(dir), fs::directory_iterator())); }

    // A saved worksheet with 42 in A1, closed again.
    std::string SavedBook()
    {
        Put("A1", "42");
        AnswerSave("book.wks");
        shell.Command("Save2Click");
        EXPECT_TRUE(shell.CloseWindow(*w));
        return PathOf("book.wks");
    }
    SheetWindow* OpenBook(const std::string& path)
    {
        EXPECT_TRUE(shell.OpenFile(path));
        SheetWindow* win = shell.Active();
        Viewports(*win);
        return win;
    }

    fs::path dir;
};

TEST_F(ShellFilesTest, SaveOfANewWorksheetAsksForAName)
{
    Put("A1", "42");
    shell.Command("Save2Click");
    ASSERT_EQ(dialogs.Requests().size(), 1u);
    const auto& asked = dialogs.Requests()[0];
    EXPECT_TRUE(asked.Save);
    EXPECT_EQ(asked.Request.Title, "ZENTABULAR SAVE AS...");
    EXPECT_EQ(asked.Request.Filter, "Worksheets(*.WKS)|*.Wk?");
    EXPECT_EQ(asked.Request.FileName, "UNTITLED1");
    EXPECT_TRUE(asked.Request.ConfirmOverwrite);
}

TEST_F(ShellFilesTest, CancelledSaveWritesNothing)
{
    Put("A1", "42");
    shell.Command("Save2Click");
    EXPECT_EQ(FilesInDir(), 0);
    EXPECT_TRUE(w->Untitled);
    EXPECT_EQ(w->Caption, "UNTITLED1");
    EXPECT_TRUE(Modified());
}

TEST_F(ShellFilesTest, AnsweredSaveWritesTheFileAndNamesTheWindow)
{
    Put("A1", "42");
    AnswerSave("book.wks");
    shell.Command("Save2Click");
    EXPECT_TRUE(fs::exists(PathOf("book.wks")));
    EXPECT_EQ(w->Caption, "book.wks");
    EXPECT_FALSE(w->Untitled);
    EXPECT_FALSE(Modified());
    EXPECT_EQ(shell.RecentFiles(), (std::vector<std::string>{PathOf("book.wks")}));
    EXPECT_EQ(shell.Options().LastDir, dir.string());

    Put("A1", "43");
    shell.Command("Save2Click");  // named now: no question
    EXPECT_EQ(SaveRequests(), 1);
    EXPECT_TRUE(fs::exists(PathOf("book.wkb")));  // the first version as backup
    EXPECT_FALSE(Modified());
}

TEST_F(ShellFilesTest, NameWithoutExtensionGetsTheDefaultOne)
{
    AnswerSave("ledger");
    shell.Command("Save2Click");
    EXPECT_TRUE(fs::exists(PathOf("ledger.WKS")));
    EXPECT_EQ(w->Caption, "ledger.WKS");
}

TEST_F(ShellFilesTest, SaveAsAlwaysAsksAndOffersTheCurrentName)
{
    AnswerSave("one.wks");
    shell.Command("SaveAs1Click");
    AnswerSave("two.wks");
    shell.Command("SaveAs1Click");
    ASSERT_EQ(SaveRequests(), 2);
    EXPECT_EQ(dialogs.Requests()[1].Request.FileName, PathOf("one.wks"));
    EXPECT_TRUE(fs::exists(PathOf("two.wks")));
    EXPECT_EQ(w->Caption, "two.wks");
}

TEST_F(ShellFilesTest, SaveKeepsThePointerForTheNextOpen)
{
    Put("A1", "42");
    GoTo("C5");
    AnswerSave("book.wks");
    shell.Command("Save2Click");
    ASSERT_TRUE(shell.CloseWindow(*w));
    OpenBook(PathOf("book.wks"));
    EXPECT_EQ(Here(), "C5");
}

TEST_F(ShellFilesTest, ClosingAModifiedWindowAsksAndCancelKeepsIt)
{
    Put("A1", "42");
    notify.QueueAnswer(Answer::Cancel);
    shell.Command("Close1Click");
    ASSERT_EQ(notify.Questions().size(), 1u);
    EXPECT_EQ(notify.Questions()[0], "Save Worksheet \rUNTITLED1?");
    EXPECT_EQ(shell.Windows().size(), 1u);
    EXPECT_EQ(shell.Active(), w);
    EXPECT_EQ(Contents("A1"), "42");
}

TEST_F(ShellFilesTest, ClosingWithNoDiscards)
{
    Put("A1", "42");
    notify.QueueAnswer(Answer::No);
    shell.Command("Close1Click");
    EXPECT_TRUE(shell.Windows().empty());
    EXPECT_EQ(shell.Active(), nullptr);
    EXPECT_EQ(dialogs.Requests().size(), 0u);
    EXPECT_EQ(FilesInDir(), 0);
    EXPECT_EQ(ModeText(), "READY");
}

TEST_F(ShellFilesTest, ClosingWithYesSavesUnderAChosenName)
{
    Put("A1", "42");
    notify.QueueAnswer(Answer::Yes);
    AnswerSave("kept.wks");
    shell.Command("Close1Click");
    EXPECT_TRUE(shell.Windows().empty());
    EXPECT_TRUE(fs::exists(PathOf("kept.wks")));
}

TEST_F(ShellFilesTest, ClosingWithYesThenCancellingTheNameKeepsTheWindow)
{
    Put("A1", "42");
    notify.QueueAnswer(Answer::Yes);
    shell.Command("Close1Click");
    EXPECT_EQ(SaveRequests(), 1);
    EXPECT_EQ(shell.Windows().size(), 1u);
    EXPECT_EQ(Contents("A1"), "42");
}

TEST_F(ShellFilesTest, ClosingAnUnmodifiedWindowAsksNothing)
{
    shell.Command("Close1Click");
    EXPECT_TRUE(notify.Questions().empty());
    EXPECT_TRUE(shell.Windows().empty());
}

TEST_F(ShellFilesTest, ClosingWhileTypingDropsTheEntry)
{
    Type("5");
    notify.QueueAnswer(Answer::No);
    EXPECT_TRUE(shell.CloseWindow(*w));
    EXPECT_TRUE(notify.Questions().empty());
    EXPECT_FALSE(Edit().Active);
}

TEST_F(ShellFilesTest, CloseAllStopsAtACancel)
{
    SheetWindow* second = shell.NewWindow();
    Put("A1", "1");
    notify.QueueAnswer(Answer::Cancel);
    EXPECT_FALSE(shell.CloseAll());
    ASSERT_EQ(shell.Windows().size(), 2u);
    EXPECT_EQ(shell.Windows().back().get(), second);
}

TEST_F(ShellFilesTest, OpenLoadsTheFileIntoANewWindow)
{
    std::string path = SavedBook();
    EXPECT_TRUE(shell.Windows().empty());
    SheetWindow* win = OpenBook(path);
    ASSERT_NE(win, nullptr);
    EXPECT_EQ(win->Caption, "book.wks");
    EXPECT_FALSE(win->Untitled);
    EXPECT_FALSE(Modified());
    EXPECT_EQ(Contents("A1"), "42");
    EXPECT_EQ(Edit().Text, "42");
}

TEST_F(ShellFilesTest, OpenThroughTheDialog)
{
    std::string path = SavedBook();
    dialogs.QueueAnswer(FileDialogResult{true, path, 1});
    shell.Command("Retr1Click");
    ASSERT_EQ(shell.Windows().size(), 1u);
    EXPECT_EQ(Contents("A1"), "42");
    const auto& asked = dialogs.Requests().back();
    EXPECT_FALSE(asked.Save);
    EXPECT_TRUE(asked.Request.MustExist);
}

// The dialogs answer in the program's code page; the files carry UTF-8 names.
TEST_F(ShellFilesTest, NamesFromTheDialogsReachTheSystemInUtf8)
{
    Put("A1", "42");
    AnswerSave("d\xe9j\xe0.wks");
    shell.Command("Save2Click");
    shell.Command("Save2Click");
    EXPECT_TRUE(fs::exists(dir / "d\xc3\xa9j\xc3\xa0.wks"));
    EXPECT_TRUE(fs::exists(dir / "d\xc3\xa9j\xc3\xa0.wkb"));
    EXPECT_EQ(w->Caption, "d\xe9j\xe0.wks");
    ASSERT_TRUE(shell.CloseWindow(*w));

    dialogs.QueueAnswer(FileDialogResult{true, PathOf("d\xe9j\xe0.wks"), 1});
    shell.Command("Retr1Click");
    ASSERT_EQ(shell.Windows().size(), 1u);
    EXPECT_EQ(Contents("A1"), "42");
}

TEST_F(ShellFilesTest, OpeningAnOpenFileGivesASecondViewOfTheSameCells)
{
    std::string path = SavedBook();
    SheetWindow* first = OpenBook(path);
    SheetWindow* second = OpenBook(path);
    ASSERT_EQ(shell.Windows().size(), 2u);
    EXPECT_NE(first, second);
    EXPECT_EQ(first->Slot, second->Slot);
    EXPECT_EQ(second->Caption, "book.wks");

    GoTo("B2");
    Type("7");
    Enter();
    shell.Activate(*first);
    EXPECT_EQ(Contents("B2"), "7");
}

TEST_F(ShellFilesTest, OpeningTheFileJustSavedGivesAView)
{
    Put("A1", "42");
    AnswerSave("book.wks");
    shell.Command("Save2Click");
    SheetWindow* view = OpenBook(PathOf("book.wks"));
    EXPECT_NE(view, w);
    EXPECT_EQ(view->Slot, w->Slot);
    EXPECT_EQ(shell.Windows().size(), 2u);
}

TEST_F(ShellFilesTest, RecentFileItemsOpenTheirFiles)
{
    std::string path = SavedBook();
    OpenBook(path);
    ASSERT_EQ(shell.RecentFiles().size(), 1u);
    ASSERT_TRUE(shell.CloseWindow(*shell.Active()));
    shell.Command("N51Click", 0);
    ASSERT_EQ(shell.Windows().size(), 1u);
    EXPECT_EQ(Contents("A1"), "42");
    shell.Command("N51Click", 5);  // an item without a file
    EXPECT_EQ(shell.Windows().size(), 1u);
}

TEST_F(ShellFilesTest, OpeningAFileThatIsNotAWorksheetOpensNothing)
{
    std::string path = PathOf("notes.wks");
    std::ofstream(path) << "just some text\n";
    size_t before = shell.Windows().size();
    EXPECT_FALSE(shell.OpenFile(path));
    EXPECT_EQ(notify.LastMessage(), "Error:Invalid WKS File!");
    EXPECT_EQ(shell.Windows().size(), before);
    EXPECT_EQ(shell.Active(), w);
}

TEST_F(ShellFilesTest, OpeningAMissingFileOpensNothing)
{
    EXPECT_FALSE(shell.OpenFile(PathOf("absent.wks")));
    EXPECT_EQ(notify.LastMessage(), "Error:Unable to Open File");
    EXPECT_EQ(shell.Windows().size(), 1u);
}

TEST_F(ShellFilesTest, StartupMacroRunsAfterOpening)
{
    ASSERT_TRUE(SetRangeName(e, "AUTOEXEC", Range("B2..B5")));
    std::string path = SavedBook();
    std::vector<std::pair<int, int>> runs;
    shell.RunMacroAt = [&runs](int row, int col) { runs.emplace_back(row, col); };
    OpenBook(path);
    EXPECT_EQ(runs, (std::vector<std::pair<int, int>>{{1, 1}}));
}

// A merge dialog answered by the test.
class MergeView : public ShellView {
public:
    bool ChooseMerge(const MergeDialogInput& input, MergeRequest& request) override
    {
        asked.push_back(input);
        request = answer;
        return accept;
    }
    std::vector<MergeDialogInput> asked;
    MergeRequest answer;
    bool accept = true;
};

TEST_F(ShellFilesTest, MergeTakesTheFileAtTheChosenCell)
{
    std::string path = SavedBook();
    SheetWindow* target = shell.NewWindow();
    Viewports(*target);
    MergeView view;
    shell.SetView(&view);
    GoTo("B3");
    Put("C4", "10");
    view.answer.Action = MergeAction::Sum;
    view.answer.TargetRow = 3;
    view.answer.TargetCol = 2;
    dialogs.QueueAnswer(FileDialogResult{true, path, 2});
    shell.Command("Merge1Click");
    ASSERT_EQ(view.asked.size(), 1u);
    EXPECT_EQ(view.asked[0].File, path);
    EXPECT_EQ(view.asked[0].Mode, 2);
    EXPECT_EQ(FormatRange(e, view.asked[0].Selection), "B3");
    EXPECT_DOUBLE_EQ(Value("C4"), 52);
    shell.SetView(nullptr);
}

TEST_F(ShellFilesTest, CancelledMergeChangesNothing)
{
    std::string path = SavedBook();
    shell.NewWindow();
    MergeView view;
    view.accept = false;
    shell.SetView(&view);
    dialogs.QueueAnswer(FileDialogResult{true, path, 1});
    shell.Command("Merge1Click");
    EXPECT_EQ(view.asked.size(), 1u);
    EXPECT_EQ(Cell("A1"), nullptr);
    shell.SetView(nullptr);
}

TEST_F(ShellFilesTest, DialogsStartInTheLastWorksheetFolder)
{
    AnswerSave("book.wks");
    shell.Command("Save2Click");
    shell.Command("Retr1Click");
    EXPECT_EQ(dialogs.Requests().back().Request.InitialDir, dir.string());
}

// Views.

TEST_F(ShellFilesTest, NewViewSharesTheCells)
{
    GoTo("C3");
    ASSERT_TRUE(shell.Command("NewView1Click"));
    ASSERT_EQ(shell.Windows().size(), 2u);
    SheetWindow* view = shell.Active();
    EXPECT_NE(view, w);
    EXPECT_EQ(view->Slot, w->Slot);
    EXPECT_EQ(view->Caption, w->Caption);
    EXPECT_EQ(Here(), "C3");  // the layout of the panes comes along

    Type("9");
    Enter();
    shell.Activate(*w);
    EXPECT_EQ(Contents("C3"), "9");
    EXPECT_EQ(Edit().Text, "9");
}

TEST_F(ShellFilesTest, ClosingOneOfTwoViewsAsksNothing)
{
    Put("A1", "42");
    shell.Command("NewView1Click");
    SheetWindow* view = shell.Active();
    EXPECT_TRUE(shell.CloseWindow(*view));
    EXPECT_TRUE(notify.Questions().empty());
    ASSERT_EQ(shell.Windows().size(), 1u);
    EXPECT_EQ(shell.Active(), w);
    EXPECT_EQ(Contents("A1"), "42");

    notify.QueueAnswer(Answer::Cancel);
    EXPECT_FALSE(shell.CloseWindow(*w));  // the last view asks
    EXPECT_EQ(notify.Questions().size(), 1u);
}

TEST_F(ShellFilesTest, SavingThroughOneViewNamesBoth)
{
    shell.Command("NewView1Click");
    AnswerSave("both.wks");
    shell.Command("Save2Click");
    EXPECT_EQ(w->Caption, "both.wks");
    EXPECT_EQ(shell.Active()->Caption, "both.wks");
    shell.Activate(*w);
    shell.Command("Save2Click");  // the other view knows the name too
    EXPECT_EQ(SaveRequests(), 1);
}

TEST_F(ShellFilesTest, NoMoreThan255Windows)
{
    for (int i = 1; i < 255; ++i)
        ASSERT_NE(shell.NewView(), nullptr) << i;
    EXPECT_EQ(notify.Beeps(), 0);
    EXPECT_EQ(shell.NewView(), nullptr);
    EXPECT_EQ(shell.NewWindow(), nullptr);
    EXPECT_EQ(notify.Beeps(), 2);
    EXPECT_EQ(shell.Windows().size(), 255u);
}

TEST_F(ShellFilesTest, NewWindowsGetTheirOwnWorksheets)
{
    Put("A1", "1");
    SheetWindow* second = shell.NewWindow();
    ASSERT_NE(second, nullptr);
    EXPECT_NE(second->Slot, w->Slot);
    EXPECT_EQ(second->Caption, "UNTITLED2");
    EXPECT_EQ(Contents("A1"), "");
}

}  // namespace
}  // namespace zt
