// Random keys, characters, clicks and commands in any order: the shell must
// neither crash nor leave the pointer, selection or edit line out of bounds.
#include <random>

#include "formula/recalc.h"
#include "shell/control/menu_table.h"
#include "tests/shell/shell_fixture.h"

namespace zt {
namespace {

constexpr int kKeys[] = {vkLeft, vkRight, vkUp, vkDown, vkHome, vkEnd, vkPrior, vkNext, vkTab, vkReturn,
                         vkEscape, vkBack, vkDelete, vkInsert, vkControl, vkF1, vkF2, vkF3, vkF4, vkF5,
                         vkF6, vkF7, vkF8, vkF9, vkF11, vkF12, vkBigRight, vkBigLeft, 'B', 'D', 'Z', 'A'};
constexpr std::string_view kChars = "0123456789+-*/@.(),$'\"^\\|{}ab:;#&=<> ~";

void CheckInvariants(Shell& shell)
{
    ASSERT_LE(shell.Windows().size(), 255u);
    const EditLine& edit = shell.Edit();
    ASSERT_GE(edit.Caret, 0);
    ASSERT_LE(edit.Caret, int(edit.Text.size()));
    ASSERT_LE(edit.Text.size(), std::size_t(kMaxCellText));
    SheetWindow* w = shell.Active();
    if (!w)
        return;
    for (const GridState& g : w->Panes) {
        ASSERT_TRUE(ValidCoord(g.Row(), g.Col()));
        TRange s = g.Selection();
        ASSERT_TRUE(ValidCoord(s.FirstRow, s.FirstCol));
        ASSERT_TRUE(ValidCoord(s.LastRow, s.LastCol));
        ASSERT_LE(s.FirstRow, s.LastRow);
        ASSERT_LE(s.FirstCol, s.LastCol);
        ASSERT_GE(g.Nrows(), 0);
        ASSERT_GE(g.Ncols(), 0);
    }
}

TEST_F(ShellTest, RandomInputNeverBreaksTheShell)
{
    std::mt19937 rng(20261208);
    auto pick = [&rng](int n) { return int(rng() % unsigned(n)); };
    std::vector<std::string_view> handlers = HandlerNames();
    for (int step = 0; step < 20'000; ++step) {
        SheetWindow* w = shell.Active();
        switch (pick(10)) {
        case 0:
        case 1:
        case 2:
            shell.KeyDown(KeyEvent{kKeys[pick(std::size(kKeys))], pick(4) == 0, pick(8) == 0});
            break;
        case 3:
            shell.KeyUp(KeyEvent{pick(2) ? int(vkControl) : int('B')});
            break;
        case 4:
        case 5:
            shell.KeyPress(kChars[std::size_t(pick(int(kChars.size())))]);
            break;
        case 6: {
            std::string_view h = handlers[std::size_t(pick(int(handlers.size())))];
            if ((h == "NewClick" || h == "NewView1Click") && shell.Windows().size() > 6)
                break;
            shell.Command(h, pick(10));
            break;
        }
        case 7:
            if (w)
                shell.CellPressed(*w, pick(2), pick(40) - 5, pick(20) - 3, pick(3) == 0, pick(5) == 0);
            break;
        case 8:
            if (w)
                shell.CellDragged(*w, w->ActivePane, pick(9000) - 400, pick(300) - 20);
            break;
        default:
            if (!w) {
                shell.NewWindow();
                break;
            }
            switch (pick(5)) {
            case 0: shell.ColumnHeaderPressed(*w, pick(2), pick(300) - 20, pick(2)); break;
            case 1: shell.RowHeaderPressed(*w, pick(2), pick(9000) - 400, pick(2)); break;
            case 2: shell.ColumnResized(*w, pick(300) - 20, pick(400) - 50); break;
            case 3: shell.TabClicked(*w, pick(80) - 8); break;
            default: shell.Scrolled(*w, pick(2), pick(9000) - 400, pick(300) - 20); break;
            }
        }
        CheckInvariants(shell);
        if (HasFatalFailure()) {
            ADD_FAILURE() << "after step " << step;
            return;
        }
    }
    for (const auto& win : shell.Windows()) {
        RestoreContext(e, win->Slot);
        RecalcAll(e);
    }
}

}  // namespace
}  // namespace zt
