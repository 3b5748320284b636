#pragma once
// A worksheet with the formula engine behind it, addressed by text, for the
// tests of the range commands.
#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "core/address.h"
#include "core/cell_entry.h"
#include "core/cell_store.h"
#include "formula/cell_contents.h"
#include "formula/formula_engine.h"
#include "platform/notify_headless.h"

namespace zt {

class CommandTest : public ::testing::Test {
protected:
    CommandTest() : e(512)
    {
        InstallFormulaEngine(e);
        e.Notifier = &notify;
        RestoreContext(e, OpenSheet(e, "T"));
    }

    TRange Range(std::string_view text)
    {
        e.Err.Clear();
        TRange r = ParseRange(e, text);
        EXPECT_FALSE(e.Err.ErrorFlag) << text;
        return r;
    }
    PCell Cell(std::string_view addr)
    {
        TRange r = Range(addr);
        return FindCell(e, r.FirstRow, r.FirstCol);
    }
    void Enter(std::string_view addr, std::string_view text)
    {
        TRange r = Range(addr);
        EnterCell(e, text, r.FirstRow, r.FirstCol);
        ASSERT_FALSE(e.Err.ErrorFlag) << addr << " " << text;
    }
    // The cell as the edit line shows it; empty for a blank or missing cell.
    std::string Contents(std::string_view addr) { return CellContentsText(e, Cell(addr)); }
    double Value(std::string_view addr)
    {
        PCell c = Cell(addr);
        return c ? NumericValue(*c) : 0.0;
    }
    std::uint8_t Kind(std::string_view addr) { return BaseKind(KindOf(Cell(addr))); }

    Engine e;
    HeadlessNotify notify;
};

}  // namespace zt
