// The desktop program driven through real Qt events on the offscreen platform.
#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>
#include <filesystem>
#include <gtest/gtest.h>

#include "core/cell_entry.h"
#include "core/cell_store.h"
#include "core/range_names.h"
#include "files/external_sheets.h"
#include "files/worksheet_io.h"
#include "formula/formula_engine.h"
#include "platform/file_dialogs.h"
#include "platform/notify_headless.h"
#include "shell/grid.h"
#include "shell/main_window.h"
#include "shell/worksheet_window.h"

namespace zt {
namespace {

namespace fs = std::filesystem;

class DesktopTest : public ::testing::Test {
protected:
    DesktopTest()
    {
        InstallFormulaEngine(engine);
        InstallFileHooks(engine);
        main = std::make_unique<TForm1>(engine);
        engine.Notifier = &notify;
        main->SetFileDialogs(&dialogs);
        main->resize(1000, 700);
        main->show();
        dir = fs::temp_directory_path() / ("zt_desktop_" + std::to_string(::getpid()) + "_" +
                                           ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir);
    }
    ~DesktopTest() override
    {
        main->Controller().CloseAll();
        main.reset();
        fs::remove_all(dir);
    }

    Shell& shell() { return main->Controller(); }
    TGrid* ActiveGrid()
    {
        SheetWindow* w = shell().Active();
        return w ? main->FormOf(*w)->Grid(w->ActivePane) : nullptr;
    }
    // A worksheet file with a few cells, written without any window.
    std::string MakeFile(const std::string& name)
    {
        Engine other;
        InstallFormulaEngine(other);
        RestoreContext(other, OpenSheet(other, "MAKE"));
        EnterCell(other, "21", 0, 0);
        EnterCell(other, "'label", 1, 0);
        std::string path = (dir / name).string();
        EXPECT_TRUE(SaveWorksheet(other, path));
        return path;
    }
    double Value(int row, int col)
    {
        RestoreContext(engine, shell().Active()->Slot);
        PCell c = FindCell(engine, row, col);
        return c ? NumericValue(*c) : -999;
    }
    // Pixels inside a cell of the active pane that differ from its fill: text was drawn there.
    int InkInCell(int row, int col)
    {
        TGrid* grid = ActiveGrid();
        QImage image = grid->grab().toImage();
        GridState& g = grid->State();
        int x0 = TGrid::kRowHeaderWidth + g.ColumnLeft(col);
        int y0 = TGrid::kHeaderHeight + g.RowTop(row);
        QRgb fill = image.pixel(x0 + 2, y0 + 2);
        int ink = 0;
        for (int y = y0 + 2; y < y0 + g.RowPixels(row) - 2; ++y)
            for (int x = x0 + 2; x < x0 + g.ColumnPixels(col) - 2; ++x)
                if (std::abs(qGray(image.pixel(x, y)) - qGray(fill)) > 60)
                    ++ink;
        return ink;
    }

    Engine engine;
    HeadlessNotify notify;
    ScriptedFileDialogs dialogs;
    std::unique_ptr<TForm1> main;
    fs::path dir;
};

TEST_F(DesktopTest, TypedFormulaThroughRealKeysShowsItsValue)
{
    ASSERT_TRUE(shell().OpenFile(MakeFile("typed.wks")));
    TGrid* grid = ActiveGrid();
    ASSERT_NE(grid, nullptr);
    QTest::keyClick(grid, Qt::Key_Right);
    EXPECT_EQ(InkInCell(0, 1), 0);
    QTest::keyClicks(grid, "+A1*2");
    EXPECT_EQ(shell().Mode(), ShellMode::Value);
    QTest::keyClick(ActiveGrid(), Qt::Key_Return);
    EXPECT_EQ(Value(0, 1), 42);
    EXPECT_GT(InkInCell(0, 1), 0);
}

TEST_F(DesktopTest, PointingWithArrowKeysBuildsTheReference)
{
    ASSERT_NE(shell().NewWindow(), nullptr);
    TGrid* grid = ActiveGrid();
    QTest::keyClicks(grid, "5");
    QTest::keyClick(ActiveGrid(), Qt::Key_Down);
    QTest::keyClicks(ActiveGrid(), "+");
    QTest::keyClick(ActiveGrid(), Qt::Key_Up);
    EXPECT_EQ(shell().Mode(), ShellMode::Point);
    EXPECT_EQ(shell().Edit().Text, "+A1");
    QTest::keyClick(ActiveGrid(), Qt::Key_Return);
    QTest::keyClick(ActiveGrid(), Qt::Key_Return);
    EXPECT_EQ(Value(1, 0), 5);
}

TEST_F(DesktopTest, SplitAndSecondViewShareTheCells)
{
    ASSERT_TRUE(shell().OpenFile(MakeFile("views.wks")));
    SheetWindow* first = shell().Active();
    TForm2* form = main->FormOf(*first);
    EXPECT_FALSE(form->Grid(1)->isVisible());
    ASSERT_TRUE(shell().Command("Horizontal1Click"));
    EXPECT_TRUE(form->Grid(1)->isVisible());
    EXPECT_LT(form->Grid(0)->geometry().bottom(), form->Grid(1)->geometry().top());

    ASSERT_TRUE(shell().Command("NewView1Click"));
    EXPECT_EQ(main->MdiArea()->subWindowList().size(), 2);
    SheetWindow* second = shell().Active();
    EXPECT_NE(second, first);
    EXPECT_EQ(second->Slot, first->Slot);
    QTest::keyClicks(ActiveGrid(), "7");
    QTest::keyClick(ActiveGrid(), Qt::Key_Return);
    shell().Activate(*first);
    EXPECT_EQ(Value(0, 0), 7);
}

TEST_F(DesktopTest, ClosingAModifiedWindowAsksAndHonoursTheAnswer)
{
    ASSERT_TRUE(shell().OpenFile(MakeFile("close.wks")));
    QTest::keyClicks(ActiveGrid(), "99");
    QTest::keyClick(ActiveGrid(), Qt::Key_Return);
    QMdiSubWindow* sub = main->MdiArea()->subWindowList().front();

    notify.QueueAnswer(Answer::Cancel);
    sub->close();
    QApplication::processEvents();
    ASSERT_EQ(notify.Questions().size(), 1u);
    EXPECT_EQ(notify.Questions()[0], "Save Worksheet \rclose.wks?");
    EXPECT_EQ(shell().Windows().size(), 1u);

    notify.QueueAnswer(Answer::Yes);
    sub->close();
    QApplication::processEvents();
    EXPECT_TRUE(shell().Windows().empty());
    EXPECT_TRUE(shell().OpenFile((dir / "close.wks").string()));
    EXPECT_EQ(Value(0, 0), 99);
}

TEST_F(DesktopTest, SaveAsThenReopenGivesTheSameWorksheet)
{
    ASSERT_NE(shell().NewWindow(), nullptr);
    QTest::keyClicks(ActiveGrid(), "'hello");
    QTest::keyClick(ActiveGrid(), Qt::Key_Return);
    std::string path = (dir / "saved.wks").string();
    dialogs.QueueAnswer(FileDialogResult{true, path, 1});
    ASSERT_TRUE(shell().Command("Save2Click"));
    ASSERT_TRUE(fs::exists(path));
    EXPECT_EQ(shell().Active()->Caption, "saved.wks");
    ASSERT_TRUE(shell().Command("Close1Click"));
    EXPECT_TRUE(shell().Windows().empty());
    dialogs.QueueAnswer(FileDialogResult{true, path, 1});
    ASSERT_TRUE(shell().Command("Retr1Click"));
    ASSERT_EQ(shell().Windows().size(), 1u);
    RestoreContext(engine, shell().Active()->Slot);
    PCell c = FindCell(engine, 0, 0);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(BaseKind(c->Kind), ckString);
}

TEST_F(DesktopTest, ClickingACellMovesThePointerAndDraggingSelects)
{
    ASSERT_NE(shell().NewWindow(), nullptr);
    TGrid* grid = ActiveGrid();
    GridState& g = grid->State();
    QPoint c3(TGrid::kRowHeaderWidth + g.ColumnLeft(2) + 5, TGrid::kHeaderHeight + g.RowTop(2) + 5);
    QPoint d5(TGrid::kRowHeaderWidth + g.ColumnLeft(3) + 5, TGrid::kHeaderHeight + g.RowTop(4) + 5);
    QTest::mousePress(grid, Qt::LeftButton, {}, c3);
    QTest::mouseMove(grid, d5);
    QTest::mouseRelease(grid, Qt::LeftButton, {}, d5);
    EXPECT_EQ(g.Row(), 4);
    EXPECT_EQ(g.Col(), 3);
    EXPECT_EQ(g.Selection(), (TRange{2, 2, 3, 4}));
}

TEST_F(DesktopTest, DraggingAColumnEdgeResizesTheColumn)
{
    ASSERT_NE(shell().NewWindow(), nullptr);
    TGrid* grid = ActiveGrid();
    int edge = TGrid::kRowHeaderWidth + grid->State().ColumnPixels(0);
    QTest::mousePress(grid, Qt::LeftButton, {}, QPoint(edge, 8));
    QTest::mouseMove(grid, QPoint(edge + 30, 8));
    QTest::mouseRelease(grid, Qt::LeftButton, {}, QPoint(edge + 30, 8));
    RestoreContext(engine, shell().Active()->Slot);
    EXPECT_EQ(engine.Cur->Layout.ColWidths[0], SheetLayout::kDefaultColumnWidth + 30);
}

TEST_F(DesktopTest, RangePromptTakesThePlaceOfTheEditLine)
{
    ASSERT_TRUE(shell().OpenFile(MakeFile("prompt.wks")));
    QWidget* prompt = main->findChild<QWidget*>("prompt1");
    QWidget* edit = main->findChild<QWidget*>("Edit1");
    ASSERT_TRUE(prompt && edit);
    EXPECT_FALSE(prompt->isVisible());
    EXPECT_TRUE(edit->isVisible());
    ASSERT_TRUE(shell().Command("Erase1Click"));
    QApplication::processEvents();
    EXPECT_TRUE(prompt->isVisible());
    EXPECT_FALSE(edit->isVisible());
    QTest::keyClick(ActiveGrid(), Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(ActiveGrid(), Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_FALSE(prompt->isVisible());
    RestoreContext(engine, shell().Active()->Slot);
    EXPECT_EQ(BaseKind(KindOf(FindCell(engine, 0, 0))), ckBlank);
    EXPECT_EQ(BaseKind(KindOf(FindCell(engine, 1, 0))), ckBlank);
}

TEST_F(DesktopTest, MacroTypesThroughTheWindowAndPoints)
{
    ASSERT_NE(shell().NewWindow(), nullptr);
    main->activateWindow();
    ActiveGrid()->setFocus();
    RestoreContext(engine, shell().Active()->Slot);
    EnterCell(engine, "'{GOTO C1}12{DOWN}+{UP}*2~{LET D1,@SUM(C1,C2)}", 9, 0);
    shell().RunMacroAt(9, 0);
    QTRY_VERIFY_WITH_TIMEOUT(!main->Macros().Running() && Value(0, 3) != -999, 3000);
    EXPECT_EQ(Value(0, 2), 12);
    EXPECT_EQ(Value(1, 2), 24);
    EXPECT_EQ(Value(0, 3), 36);
    EXPECT_EQ(notify.Messages(), 0) << notify.LastMessage();
}

TEST_F(DesktopTest, OpeningAWorksheetRunsItsAutoexecMacro)
{
    Engine other;
    InstallFormulaEngine(other);
    RestoreContext(other, OpenSheet(other, "MAKE"));
    EnterCell(other, "'{LET B1,6*7}{GOTO C3}", 0, 0);
    SetRangeName(other, "AUTOEXEC", TRange{0, 0, 0, 0});
    std::string path = (dir / "auto.wks").string();
    ASSERT_TRUE(SaveWorksheet(other, path));
    ASSERT_TRUE(shell().OpenFile(path));
    QTRY_VERIFY_WITH_TIMEOUT(Value(0, 1) == 42, 3000);
    QTRY_VERIFY_WITH_TIMEOUT(!main->Macros().Running(), 3000);
    EXPECT_EQ(shell().Active()->Pane().Row(), 2);
    EXPECT_EQ(shell().Active()->Pane().Col(), 2);
    EXPECT_GE(notify.Beeps(), 1);
}

TEST_F(DesktopTest, EveryMenuHandlerIsKnownToTheShell)
{
    for (std::string_view handler : HandlerNames())
        EXPECT_TRUE(shell().KnowsCommand(handler)) << handler;
}

}  // namespace
}  // namespace zt
