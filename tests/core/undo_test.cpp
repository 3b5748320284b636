#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "core/address.h"
#include "core/cell_entry.h"
#include "core/cell_store.h"
#include "core/dependencies.h"
#include "core/settings_keys.h"
#include "core/undo.h"
#include "formula/compiled_formula.h"
#include "formula/formula_engine.h"

namespace zt {
namespace {

class MessageLog : public Notify {
public:
    void ShowMessage(std::string_view text) override { messages.emplace_back(text); }
    std::vector<std::string> messages;
};

std::string Name(const Engine& e, int row, int col) { return FormatSheetAddress(e, row, col); }

// The cells whose formulas read the position, by address, sorted.
std::vector<std::string> Readers(Engine& e, int row, int col)
{
    std::vector<std::string> readers;
    for (PCell d : DependentsAt(e, row, col))
        readers.push_back(Name(e, d->Row, d->Col));
    std::sort(readers.begin(), readers.end());
    return readers;
}

// One line per cell of the current worksheet: address, attribute bytes,
// kind with its flags, contents as typed, value, and the cells that read it.
std::vector<std::string> DumpSheet(Engine& e)
{
    std::vector<std::string> lines;
    for (int row = 0; row <= e.Cur->MaxRow; ++row) {
        for (PCell c = CellAt(e, e.Cur->RowHeads[row]); c; c = NextCell(e, c)) {
            std::string line = Name(e, c->Row, c->Col) + " attrs";
            const auto* attrs = reinterpret_cast<const std::uint8_t*>(&c->Typeface);
            for (int i = 0; i < 12; ++i)
                line += " " + std::to_string(attrs[i]);
            line += " kind " + std::to_string(c->Kind);
            if (IsFormulaKind(c->Kind))
                line += " formula " + e.Formula->FormulaToText(e, c);
            else if (IsLabelKind(c->Kind))
                line += " label " + std::string(TextOf(e, c->Text));
            if ((c->Kind & 7) == ckStrFormula)
                line += " result " + std::string(TextOf(e, ReadStrResult(*c)));
            else
                line += " value " + std::to_string(NumericValue(*c));
            line += " read by";
            for (const auto& r : Readers(e, c->Row, c->Col))
                line += " " + r;
            lines.push_back(line);
        }
    }
    return lines;
}

class UndoTest : public ::testing::Test {
protected:
    UndoTest() : UndoTest(512) {}
    explicit UndoTest(int pages) : e(pages)
    {
        InstallFormulaEngine(e);
        e.Notifier = &log;
        sheet = OpenSheet(e, "T");
        RestoreContext(e, sheet);
    }

    PCell Enter(std::string_view text, int row, int col)
    {
        EnterCell(e, text, row, col);
        return FindCell(e, row, col);
    }

    // Numbers, a label, formulas reading single cells, a range and a
    // string, and a blank cell that only carries attributes.
    void BuildSheet()
    {
        Enter("5", 0, 0);                   // A1
        Enter("2.5", 1, 0);                 // A2
        Enter("hello", 0, 1);               // B1
        Enter("+A1*2", 0, 2);               // C1
        Enter("@SUM(A1..A2)", 1, 2);        // C2
        Enter("+B1&\" world\"", 2, 2);      // C3
        Enter("+$A$1+C1", 3, 1);            // B4
        PCell a1 = FindCell(e, 0, 0);
        a1->Format = 0x02;
        PCell b1 = FindCell(e, 0, 1);
        b1->Style = 0x21;
        b1->Typeface = 3;
        b1->FontSize = 20;
        PCell e5 = FindOrCreateCell(e, 4, 4);
        e5->Borders = 0x55;
        e5->Colors = 0x0300FF00;
        e.Cur->Layout.ColWidths[3] = 100;
        e.Cur->Layout.RowHeights[7000] = 40;
    }

    bool NoSnapshot() const
    {
        for (int slot = kUndoCellsSlot; slot < kRowHeadCount; ++slot)
            if (e.Cur->RowHeads[slot])
                return false;
        return true;
    }

    Engine e;
    MessageLog log;
    int sheet = 0;
};

TEST_F(UndoTest, UndoAfterACommandRestoresTheWholeSheetAndItsSizes)
{
    BuildSheet();
    std::vector<std::string> before = DumpSheet(e);
    ASSERT_EQ(before.size(), 8u);
    auto widths = e.Cur->Layout.ColWidths;
    auto heights = e.Cur->Layout.RowHeights;

    TakeUndoSnapshot(e);
    ClearCell(e, FindCell(e, 0, 0));
    FreeRun(e, 0, 1, 1);
    FindCell(e, 4, 4)->Borders = 0;
    Enter("99", 1, 0);
    Enter("new", 8, 5);
    e.Cur->Layout.ColWidths[3] = 30;
    e.Cur->Layout.ColWidths[200] = 10;
    e.Cur->Layout.RowHeights[7000] = 16;
    e.Cur->Layout.RowHeights[0] = 50;
    ASSERT_NE(DumpSheet(e), before);

    Undo(e);
    EXPECT_EQ(DumpSheet(e), before);
    EXPECT_EQ(FindCell(e, 8, 5), nullptr);
    EXPECT_EQ(e.Cur->MaxRow, 4);
    EXPECT_EQ(e.Cur->MaxCol, 4);
    EXPECT_TRUE(e.Cur->Layout.ColWidths == widths);
    EXPECT_TRUE(e.Cur->Layout.RowHeights == heights);
    EXPECT_TRUE(NoSnapshot());
    EXPECT_TRUE(log.messages.empty());

    // The restored formulas are linked to their precedents again.
    Enter("7", 0, 0);
    EXPECT_EQ(NumericValue(*FindCell(e, 0, 2)), 14);
    EXPECT_EQ(NumericValue(*FindCell(e, 3, 1)), 21);
    Enter("bye", 0, 1);
    EXPECT_EQ(TextOf(e, ReadStrResult(*FindCell(e, 2, 2))), "bye world");
}

TEST_F(UndoTest, SnapshotLeavesTheLiveFormulasAndTheModifiedFlagAlone)
{
    BuildSheet();
    e.Cur->Modified = false;
    std::vector<std::string> before = DumpSheet(e);
    std::vector<std::string> codes;
    for (auto [row, col] : {std::pair{0, 2}, {1, 2}, {2, 2}, {3, 1}}) {
        PCell c = FindCell(e, row, col);
        codes.emplace_back(TextOf(e, c->Text));
    }

    TakeUndoSnapshot(e);
    EXPECT_EQ(DumpSheet(e), before);
    int i = 0;
    for (auto [row, col] : {std::pair{0, 2}, {1, 2}, {2, 2}, {3, 1}}) {
        PCell c = FindCell(e, row, col);
        EXPECT_EQ(TextOf(e, c->Text), codes[i++]) << Name(e, row, col);
        EXPECT_FALSE(c->Kind & kfUnlinked) << Name(e, row, col);
    }
    EXPECT_FALSE(e.Cur->Modified);
}

TEST_F(UndoTest, ImagesListTheCellsInRowOrderWithFormulasInRelativeForm)
{
    Enter("'abc", 0, 3);    // D1
    Enter("5", 0, 1);       // B1
    Enter("+A1+$B$1", 1, 2);  // C2, creating A1 as a blank cell
    std::int64_t before = e.Heap.BytesInUse();

    TakeUndoSnapshot(e);
    struct Seen {
        int Row, Col, Kind;
        std::string Data;
    };
    std::vector<Seen> seen;
    std::int64_t imageBytes = 0;
    for (HeapAddr a = e.Cur->RowHeads[kUndoCellsSlot]; a;) {
        const auto* p = e.Heap.At<std::uint8_t>(a);
        TCell attrs{};
        std::memcpy(&attrs.Typeface, p + 4, 12);
        int kind = p[16];
        std::uint32_t dataBytes = HasText(kind) ? 1u + p[17] : 8u;
        imageBytes += PageHeap::RoundRequest(17 + dataBytes);
        seen.push_back({attrs.Row, attrs.Col, kind,
                        std::string(reinterpret_cast<const char*>(p + 17), dataBytes)});
        std::memcpy(&a, p, sizeof a);
    }
    ASSERT_EQ(seen.size(), 4u);
    EXPECT_EQ((std::vector<std::pair<int, int>>{{seen[0].Row, seen[0].Col}, {seen[1].Row, seen[1].Col},
                                                 {seen[2].Row, seen[2].Col}, {seen[3].Row, seen[3].Col}}),
              (std::vector<std::pair<int, int>>{{0, 0}, {0, 1}, {0, 3}, {1, 2}}));
    EXPECT_EQ(seen[0].Kind, ckBlank);
    EXPECT_EQ(seen[1].Kind, ckInteger);
    EXPECT_EQ(seen[1].Data, std::string("\x05\0\0\0\0\0\0\0", 8));
    EXPECT_EQ(seen[2].Kind, ckString);
    EXPECT_EQ(seen[2].Data, "\x04'abc");
    // +A1+$B$1 seen from C2: A1 is one row up and two columns left, B1 absolute.
    EXPECT_EQ(seen[3].Kind, ckFormula);
    const std::string& code = seen[3].Data;
    ASSERT_GE(code.size(), 13u);
    EXPECT_EQ(code.substr(2, 5), std::string("\x01\xFE\xBF\xFF\xBF", 5));
    EXPECT_EQ(code.substr(7, 5), std::string("\x01\x01\x00\x00\x00", 5));

    // Every image takes exactly its own size; the sizes take 512 + 4 * 4096.
    std::int64_t layoutBytes = PageHeap::RoundRequest(512) + 4 * PageHeap::RoundRequest(4096);
    EXPECT_EQ(e.Heap.BytesInUse() - before, imageBytes + layoutBytes);
}

TEST_F(UndoTest, UndoAndDiscardGiveBackEveryByte)
{
    BuildSheet();
    std::int64_t before = e.Heap.BytesInUse();
    TakeUndoSnapshot(e);
    EXPECT_GT(e.Heap.BytesInUse(), before);
    DiscardSnapshot(e);
    EXPECT_EQ(e.Heap.BytesInUse(), before);
    EXPECT_TRUE(NoSnapshot());

    TakeUndoSnapshot(e);
    FreeRun(e, 0, 0, 255);
    Enter("a much longer label than before", 1, 0);
    Enter("+A2&\"x\"", 6, 6);
    Undo(e);
    EXPECT_EQ(e.Heap.BytesInUse(), before);
}

TEST_F(UndoTest, UndoConsumesTheSnapshot)
{
    BuildSheet();
    TakeUndoSnapshot(e);
    Enter("1", 0, 0);
    Undo(e);
    Enter("2", 0, 0);
    e.Cur->Layout.ColWidths[3] = 30;
    std::vector<std::string> afterSecondChange = DumpSheet(e);

    Undo(e);
    EXPECT_EQ(DumpSheet(e), afterSecondChange);
    EXPECT_EQ(e.Cur->Layout.ColWidths[3], 30);
}

TEST_F(UndoTest, WithUndoOffCommandsTakeNoSnapshot)
{
    BuildSheet();
    TakeUndoSnapshot(e);
    ASSERT_TRUE(ApplyWorksheetSetting(e.Settings(), "UNDO=FALSE"));
    EXPECT_FALSE(e.Settings().Undo);

    // The next command drops the earlier snapshot and takes none.
    TakeUndoSnapshot(e);
    EXPECT_TRUE(NoSnapshot());
    FreeRun(e, 0, 0, 255);
    e.Cur->Layout.ColWidths[3] = 30;
    std::vector<std::string> changed = DumpSheet(e);
    Undo(e);
    EXPECT_EQ(DumpSheet(e), changed);
    EXPECT_EQ(e.Cur->Layout.ColWidths[3], 30);

    SnapshotSizes(e);
    EXPECT_TRUE(NoSnapshot());
}

TEST_F(UndoTest, UndoAfterAResizeRestoresTheSizesAndLeavesTheCells)
{
    BuildSheet();
    TakeUndoSnapshot(e);
    SnapshotSizes(e);
    EXPECT_EQ(e.Cur->RowHeads[kUndoCellsSlot], 0u);
    e.Cur->Layout.ColWidths[3] = 30;
    e.Cur->Layout.RowHeights[7000] = 16;
    Enter("42", 9, 9);
    std::vector<std::string> cells = DumpSheet(e);

    Undo(e);
    EXPECT_EQ(e.Cur->Layout.ColWidths[3], 100);
    EXPECT_EQ(e.Cur->Layout.RowHeights[7000], 40);
    EXPECT_EQ(DumpSheet(e), cells);
    EXPECT_TRUE(NoSnapshot());
}

TEST_F(UndoTest, FormulasReadingFreedCellsReadThemAgainAfterUndo)
{
    Enter("5", 0, 0);               // A1
    Enter("3", 2, 0);               // A3
    Enter("+A1*2", 0, 1);           // B1
    Enter("@SUM(A1..A3)", 1, 1);    // B2
    TakeUndoSnapshot(e);

    FreeRun(e, 0, 0, 0);
    PCell b1 = FindCell(e, 0, 1);
    ASSERT_TRUE(HasError(b1));
    ASSERT_EQ(e.Formula->FormulaToText(e, b1), "+ERR*2");

    Undo(e);
    b1 = FindCell(e, 0, 1);
    PCell b2 = FindCell(e, 1, 1);
    EXPECT_FALSE(HasError(b1));
    EXPECT_EQ(e.Formula->FormulaToText(e, b1), "+A1*2");
    EXPECT_EQ(e.Formula->FormulaToText(e, b2), "@SUM(A1..A3)");
    // Every position of the range is read by the range formula again.
    EXPECT_EQ(Readers(e, 0, 0), (std::vector<std::string>{"B1", "B2"}));
    EXPECT_EQ(Readers(e, 1, 0), std::vector<std::string>{"B2"});
    EXPECT_EQ(Readers(e, 2, 0), std::vector<std::string>{"B2"});
    EXPECT_EQ(NumericValue(*b1), 10);
    Enter("6", 0, 0);
    EXPECT_EQ(NumericValue(*b1), 12);
}

TEST_F(UndoTest, EachWorksheetKeepsItsOwnSnapshot)
{
    Enter("1", 0, 0);
    TakeUndoSnapshot(e);
    Enter("2", 0, 0);

    int other = OpenSheet(e, "U");
    RestoreContext(e, other);
    Enter("10", 0, 0);
    TakeUndoSnapshot(e);
    Enter("20", 0, 0);
    Undo(e);
    EXPECT_EQ(NumericValue(*FindCell(e, 0, 0)), 10);

    RestoreContext(e, sheet);
    EXPECT_EQ(NumericValue(*FindCell(e, 0, 0)), 2);
    Undo(e);
    EXPECT_EQ(NumericValue(*FindCell(e, 0, 0)), 1);
}

TEST_F(UndoTest, UndoOnAnEmptySheetRemovesWhatTheCommandCreated)
{
    TakeUndoSnapshot(e);
    Enter("7", 2, 2);
    Enter("+C3*2", 3, 3);
    Undo(e);
    EXPECT_EQ(FindCell(e, 2, 2), nullptr);
    EXPECT_EQ(FindCell(e, 3, 3), nullptr);
    EXPECT_EQ(e.Heap.BytesInUse(), 0);
}

class TinyHeapUndoTest : public UndoTest {
protected:
    TinyHeapUndoTest() : UndoTest(3) {}
};

TEST_F(TinyHeapUndoTest, ASnapshotThatDoesNotFitIsReportedAndLeavesNothing)
{
    Enter("5", 0, 0);
    Enter("'abc", 1, 0);
    std::vector<std::string> cells = DumpSheet(e);
    std::int64_t before = e.Heap.BytesInUse();

    TakeUndoSnapshot(e);
    EXPECT_EQ(log.messages, std::vector<std::string>{"Error:Out of UNDO memory!"});
    EXPECT_TRUE(NoSnapshot());
    EXPECT_EQ(e.Heap.BytesInUse(), before);
    EXPECT_FALSE(e.Err.ErrorFlag);

    log.messages.clear();
    SnapshotSizes(e);
    EXPECT_EQ(log.messages, std::vector<std::string>{"Error:Out of UNDO memory!"});
    EXPECT_TRUE(NoSnapshot());
    EXPECT_EQ(e.Heap.BytesInUse(), before);

    // An Undo after the failure says it has nothing to go back to.
    log.messages.clear();
    Undo(e);
    EXPECT_EQ(DumpSheet(e), cells);
    EXPECT_EQ(log.messages, std::vector<std::string>{"Error:Nothing to Undo"});
}

class SmallHeapUndoTest : public UndoTest {
protected:
    SmallHeapUndoTest() : UndoTest(12) {}
};

TEST_F(SmallHeapUndoTest, ASnapshotFailingAmongTheCellsIsDiscardedWhole)
{
    // Long labels until the cells' images cannot fit beside the sizes.
    std::string label(200, 'x');
    for (int row = 0; e.Heap.BudgetFree() > 40000; ++row)
        ASSERT_NE(Enter(label, row, 0), nullptr);
    SnapshotSizes(e);
    ASSERT_TRUE(log.messages.empty()) << "the sizes alone must fit";
    DiscardSnapshot(e);
    std::vector<std::string> cells = DumpSheet(e);
    std::int64_t before = e.Heap.BytesInUse();

    TakeUndoSnapshot(e);
    EXPECT_EQ(log.messages, std::vector<std::string>{"Error:Out of UNDO memory!"});
    EXPECT_TRUE(NoSnapshot());
    EXPECT_EQ(e.Heap.BytesInUse(), before);

    FreeRun(e, 0, 0, 0);
    cells.erase(cells.begin());
    Undo(e);
    EXPECT_EQ(DumpSheet(e), cells);
}

}  // namespace
}  // namespace zt
