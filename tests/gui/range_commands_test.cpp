// Copy, paste and the Copy dialog through the real window and clipboard on
// the offscreen platform.
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include "core/cell_entry.h"
#include "core/cell_store.h"
#include "dialogs/copy_dialog.h"
#include "files/external_sheets.h"
#include "formula/cell_contents.h"
#include "formula/formula_engine.h"
#include "platform/notify_headless.h"
#include "shell/grid.h"
#include "shell/main_window.h"
#include "shell/worksheet_window.h"

namespace zt {
namespace {

class RangeCommandsGuiTest : public ::testing::Test {
protected:
    RangeCommandsGuiTest()
    {
        InstallFormulaEngine(engine);
        InstallFileHooks(engine);
        main = std::make_unique<TForm1>(engine);
        engine.Notifier = &notify;
        main->resize(1000, 700);
        main->show();
        window = shell().NewWindow();
    }
    ~RangeCommandsGuiTest() override
    {
        main->Controller().CloseAll();
        main.reset();
    }

    Shell& shell() { return main->Controller(); }
    TGrid* Grid() { return main->FormOf(*window)->Grid(window->ActivePane); }
    std::string Contents(int row, int col)
    {
        RestoreContext(engine, window->Slot);
        return CellContentsText(engine, FindCell(engine, row, col));
    }
    void Put(int row, int col, const char* text)
    {
        RestoreContext(engine, window->Slot);
        EnterCell(engine, text, row, col);
    }

    Engine engine;
    HeadlessNotify notify;
    std::unique_ptr<TForm1> main;
    SheetWindow* window = nullptr;
};

TEST_F(RangeCommandsGuiTest, CtrlCAndCtrlVCarryEntriesAndAttributes)
{
    ASSERT_NE(window, nullptr);
    Put(0, 0, "12.5");
    Put(0, 1, "+A1*2");
    FindCell(engine, 0, 0)->Format = 0x22;
    QTest::keyClick(Grid(), Qt::Key_Right, Qt::ShiftModifier);
    QTest::keyClick(Grid(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QString::fromUtf8("$12.50\t25\r\n"));
    QTest::keyClick(Grid(), Qt::Key_Down);
    QTest::keyClick(Grid(), Qt::Key_Down);
    QTest::keyClick(Grid(), Qt::Key_V, Qt::ControlModifier);
    // The pointer went right with the selection and then down: B3.
    ASSERT_EQ(Contents(2, 1), "12.5");
    EXPECT_EQ(FindCell(engine, 2, 1)->Format, 0x22);
    EXPECT_EQ(Contents(2, 2), "+A1*2");
}

TEST_F(RangeCommandsGuiTest, TextOfAnotherProgramIsEnteredAsTyped)
{
    ASSERT_NE(window, nullptr);
    QGuiApplication::clipboard()->setText(QString::fromUtf8("7\tCafé;F0\n+A1*3\t\n"));
    QTest::keyClick(Grid(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Contents(0, 0), "7");
    EXPECT_EQ(Contents(0, 1), "'Caf\xE9;F0");
    EXPECT_EQ(Contents(1, 0), "+A1*3");
    EXPECT_EQ(FindCell(engine, 0, 1)->Format, engine.DefaultCell.Format);
}

TEST_F(RangeCommandsGuiTest, ShiftRightDragMovesTheSelection)
{
    ASSERT_NE(window, nullptr);
    Put(0, 0, "8");
    Put(0, 2, "+A1");
    TGrid* grid = Grid();
    GridState& g = grid->State();
    auto centre = [&](int row, int col) {
        return QPoint(TGrid::kRowHeaderWidth + g.ColumnLeft(col) + g.ColumnPixels(col) / 2,
                      TGrid::kHeaderHeight + g.RowTop(row) + g.RowPixels(row) / 2);
    };
    QTest::mousePress(grid, Qt::RightButton, Qt::ShiftModifier, centre(0, 0));
    QTest::mouseRelease(grid, Qt::RightButton, Qt::ShiftModifier, centre(3, 1));
    EXPECT_EQ(Contents(3, 1), "8");
    EXPECT_EQ(Contents(0, 2), "+B4");
    EXPECT_EQ(g.Row(), 3);
    EXPECT_EQ(g.Col(), 1);
}

TEST_F(RangeCommandsGuiTest, TheCopyDialogEvaluatesItsFactorWhenLeft)
{
    CopyDialogFields fields;
    fields.From = "A1..B2";
    fields.To = "D1";
    fields.Type = 3;
    fields.EvaluateFactor = [](const std::string& text) { return text == "2*3" ? std::string("6") : text; };
    Tcopydlg dialog(fields);
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    auto* factor = dialog.findChild<QLineEdit*>(QStringLiteral("FactorEdit"));
    ASSERT_NE(factor, nullptr);
    EXPECT_TRUE(dialog.findChild<QRadioButton*>(QStringLiteral("rbScale"))->isChecked());
    factor->setFocus();
    factor->setText(QStringLiteral("2*3"));
    dialog.findChild<QLineEdit*>(QStringLiteral("ToEdit"))->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(factor->text(), QStringLiteral("6"));
    dialog.findChild<QRadioButton*>(QStringLiteral("rbTranspose"))->setChecked(true);
    CopyDialogFields out = dialog.Fields();
    EXPECT_EQ(out.Type, 2);
    EXPECT_EQ(out.Factor, "6");
    EXPECT_EQ(out.From, "A1..B2");
}

}  // namespace
}  // namespace zt
