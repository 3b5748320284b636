#include "core/cell_store.h"
#include "core/dependencies.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace zt {
namespace {

constexpr std::int64_t kCellBytes = 36;  // a 33-byte record after rounding
constexpr std::int64_t kLinkBytes = 12;  // an 8-byte dependents link

std::int64_t TextBytes(std::size_t len) { return PageHeap::RoundRequest(static_cast<std::uint32_t>(len + 1)); }

// Records what the store asks of the formula engine.
struct RecordingFormulas : FormulaHooks {
    std::vector<PCell> unlinked;
    std::vector<std::pair<PCell, PCell>> dropped;  // formula, vanishing cell
    std::vector<PCell> recalculated;

    void UnlinkDependencies(Engine&, PCell c) override { unlinked.push_back(c); }
    void DropReferences(Engine&, PCell formula, PCell target) override { dropped.emplace_back(formula, target); }
    void RecalcFrom(Engine&, PCell c) override { recalculated.push_back(c); }
};

std::vector<int> RowColumns(const Engine& e, int row)
{
    std::vector<int> cols;
    for (PCell c = CellAt(e, e.Cur->RowHeads[row]); c; c = NextCell(e, c)) {
        EXPECT_EQ(c->Row, row);
        cols.push_back(c->Col);
    }
    return cols;
}

std::vector<HeapAddr> ListedAddresses(const Engine& e, const TCell* c)
{
    std::vector<HeapAddr> out;
    for (PCell f : ListedDependents(e, c))
        out.push_back(AddrOf(e, f));
    return out;
}

void SetLabel(Engine& e, PCell c, const std::string& text)
{
    c->Text = SetText(e, c->Text, text);
    c->Kind = ckString;
}

class CellStore : public ::testing::Test {
protected:
    explicit CellStore(int pages = 64) : e(pages)
    {
        sheet = OpenSheet(e, "T");
        RestoreContext(e, sheet);
    }

    Engine e;
    int sheet = 0;
};

TEST_F(CellStore, AddressesOutsideTheSheetAreOutOfRange)
{
    for (auto [row, col] : {std::pair{8192, 0}, {0, 256}, {-1, 0}, {0, -1}}) {
        SCOPED_TRACE(::testing::Message() << row << "," << col);
        e.Err.Clear();
        EXPECT_EQ(FindOrCreateCell(e, row, col), nullptr);
        EXPECT_TRUE(e.Err.ErrorFlag);
        EXPECT_EQ(e.Err.ErrorText, "Out of Range");
    }
    EXPECT_EQ(e.Heap.BytesInUse(), 0);
    EXPECT_EQ(e.Cur->MaxRow, 0);
    EXPECT_EQ(e.Cur->MaxCol, 0);
    EXPECT_EQ(FindCell(e, 8192, 0), nullptr);
    EXPECT_EQ(FindCell(e, -1, 0), nullptr);
}

TEST_F(CellStore, TheLastCellOfTheSheetRaisesBothExtents)
{
    PCell corner = FindOrCreateCell(e, 8191, 255);
    ASSERT_NE(corner, nullptr);
    EXPECT_FALSE(e.Err.ErrorFlag);
    EXPECT_EQ(corner->Row, 8191);
    EXPECT_EQ(corner->Col, 255);
    EXPECT_EQ(e.Cur->MaxRow, 8191);
    EXPECT_EQ(e.Cur->MaxCol, 255);
    EXPECT_EQ(FindCell(e, 8191, 255), corner);

    // Creation only raises the extents, and finding an existing cell creates nothing.
    ASSERT_NE(FindOrCreateCell(e, 3, 4), nullptr);
    EXPECT_EQ(e.Cur->MaxRow, 8191);
    EXPECT_EQ(e.Cur->MaxCol, 255);
    const std::int64_t bytes = e.Heap.BytesInUse();
    EXPECT_EQ(FindOrCreateCell(e, 8191, 255), corner);
    EXPECT_EQ(e.Heap.BytesInUse(), bytes);
}

TEST_F(CellStore, ANewCellIsACopyOfTheDefaultCell)
{
    e.Cur->Modified = false;
    PCell c = FindOrCreateCell(e, 10, 20);
    ASSERT_NE(c, nullptr);
    EXPECT_TRUE(e.Cur->Modified);
    EXPECT_EQ(c->Next, 0u);
    EXPECT_EQ(c->Dependents, 0u);
    EXPECT_EQ(c->Typeface, 255);
    EXPECT_EQ(c->FontSize, 0);
    EXPECT_EQ(c->Style, 0);
    EXPECT_EQ(c->Borders, 0);
    EXPECT_EQ(c->Colors, 0xC0000000u);
    EXPECT_EQ(c->Format, 0xFF);
    EXPECT_EQ(c->Text, 0u);
    EXPECT_EQ(c->Kind, ckBlank);
    EXPECT_EQ(ReadReal(*c), 0.0);
    EXPECT_EQ(e.Heap.BytesInUse(), kCellBytes);

    // Finding an existing cell through the creating call also marks the sheet modified.
    e.Cur->Modified = false;
    EXPECT_EQ(FindOrCreateCell(e, 10, 20), c);
    EXPECT_TRUE(e.Cur->Modified);
}

TEST_F(CellStore, RowListsAreKeptInColumnOrder)
{
    for (int col : {5, 2, 9})
        ASSERT_NE(FindOrCreateCell(e, 7, col), nullptr);
    EXPECT_EQ(RowColumns(e, 7), (std::vector<int>{2, 5, 9}));

    // A lookup remembers the cell before the position it stopped at.
    EXPECT_EQ(FindCell(e, 7, 7), nullptr);
    ASSERT_NE(e.FindPrev, nullptr);
    EXPECT_EQ(e.FindPrev->Col, 5);
    EXPECT_EQ(FindCell(e, 7, 2)->Col, 2);
    EXPECT_EQ(e.FindPrev, nullptr);
    EXPECT_EQ(FindCell(e, 7, 200), nullptr);
    EXPECT_EQ(e.FindPrev->Col, 9);

    EXPECT_EQ(FindFirstAtOrAfter(e, 7, 0)->Col, 2);
    EXPECT_EQ(FindFirstAtOrAfter(e, 7, 6)->Col, 9);
    EXPECT_EQ(FindFirstAtOrAfter(e, 7, 10), nullptr);
    EXPECT_EQ(FindFirstAtOrAfter(e, 8, 0), nullptr);
}

TEST_F(CellStore, FreeRunRemovesTheColumnIntervalAndGivesBackItsBytes)
{
    for (int col = 1; col <= 10; ++col)
        SetLabel(e, FindOrCreateCell(e, 4, col), "'x" + std::to_string(col));
    const std::int64_t before = e.Heap.BytesInUse();

    FreeRun(e, 4, 3, 6);
    EXPECT_EQ(RowColumns(e, 4), (std::vector<int>{1, 2, 7, 8, 9, 10}));
    EXPECT_EQ(e.Heap.BytesInUse(), before - 4 * (kCellBytes + TextBytes(3)));

    FreeRun(e, 4, 0, 1);
    FreeRun(e, 4, 10, 255);
    EXPECT_EQ(RowColumns(e, 4), (std::vector<int>{2, 7, 8, 9}));
}

TEST_F(CellStore, FreeRunTurnsFormulasThatReadAFreedCellIntoErrors)
{
    auto* hooks = new RecordingFormulas;
    e.Formula.reset(hooks);
    PCell f = FindOrCreateCell(e, 9, 0);
    f->Kind = ckFormula;
    f->Text = SetText(e, 0, "\x01\x03");
    WriteReal(*f, 12.5);
    PCell g = FindOrCreateCell(e, 9, 1);
    g->Kind = ckStrFormula;
    g->Text = SetText(e, 0, "\x01\x03");
    WriteStrResult(*g, SetText(e, 0, "old result"));
    LinkDependency(e, f, 2, 5, true);
    LinkDependency(e, g, 2, 5, true);
    PCell target = FindCell(e, 2, 5);
    ASSERT_NE(target, nullptr);
    const std::int64_t before = e.Heap.BytesInUse();

    FreeRun(e, 2, 5, 5);

    EXPECT_EQ(FindCell(e, 2, 5), nullptr);
    for (PCell formula : {f, g}) {
        EXPECT_TRUE(formula->Kind & kfError);
        EXPECT_EQ(ReadReal(*formula), -1.0);
    }
    EXPECT_EQ(hooks->dropped, (std::vector<std::pair<PCell, PCell>>{{g, target}, {f, target}}));
    EXPECT_EQ(hooks->recalculated, (std::vector<PCell>{g, f}));
    // The string result that the error value replaces goes back to the heap.
    EXPECT_EQ(e.Heap.BytesInUse(), before - kCellBytes - 2 * kLinkBytes - TextBytes(10));
    FreeAllCells(e);
    EXPECT_EQ(e.Heap.BytesInUse(), 0);
}

// Random creation, clearing, labelling and freeing of runs in a few rows,
// compared with a set of columns per row.
TEST_F(CellStore, RowListsMatchAModelUnderRandomChanges)
{
    const std::vector<int> rows{0, 1, 2, 517, 8190, 8191};
    constexpr int kModelCols = 48;
    std::map<int, std::set<int>> model;
    std::map<std::pair<int, int>, std::size_t> labels;  // cell -> text length
    int maxRow = 0;
    int maxCol = 0;
    std::mt19937 rng(77);

    auto expectedBytes = [&] {
        std::int64_t bytes = 0;
        for (const auto& [row, cols] : model)
            bytes += kCellBytes * std::int64_t(cols.size());
        for (const auto& [cell, len] : labels)
            bytes += TextBytes(len);
        return bytes;
    };
    auto checkRow = [&](int row) {
        const std::set<int>& cols = model[row];
        ASSERT_EQ(RowColumns(e, row), std::vector<int>(cols.begin(), cols.end())) << "row " << row;
        for (int probe = 0; probe < 6; ++probe) {
            int col = static_cast<int>(rng() % (kModelCols + 2));
            PCell found = FindCell(e, row, col);
            ASSERT_EQ(found != nullptr, cols.count(col) == 1) << row << "," << col;
            if (found) {
                ASSERT_EQ(found->Col, col);
            }
            PCell after = FindFirstAtOrAfter(e, row, col);
            auto it = cols.lower_bound(col);
            if (it == cols.end()) {
                ASSERT_EQ(after, nullptr);
            } else {
                ASSERT_TRUE(after && after->Col == *it) << row << "," << col;
            }
        }
    };

    for (int step = 0; step < 3000; ++step) {
        const int row = rows[rng() % rows.size()];
        const int col = static_cast<int>(rng() % kModelCols);
        const int roll = static_cast<int>(rng() % 100);
        if (roll < 45) {
            PCell c = FindOrCreateCell(e, row, col);
            ASSERT_NE(c, nullptr);
            ASSERT_EQ(c->Row, row);
            ASSERT_EQ(c->Col, col);
            model[row].insert(col);
            maxRow = std::max(maxRow, row);
            maxCol = std::max(maxCol, col);
        } else if (roll < 65) {
            if (PCell c = FindCell(e, row, col)) {
                std::string text(1 + rng() % 40, static_cast<char>('a' + step % 26));
                SetLabel(e, c, text);
                labels[{row, col}] = text.size();
            }
        } else if (roll < 80) {
            ClearCell(e, FindCell(e, row, col));
            labels.erase({row, col});
            if (model[row].count(col)) {
                ASSERT_EQ(FindCell(e, row, col)->Kind, ckBlank);
            }
        } else {
            const int last = col + static_cast<int>(rng() % 12);
            FreeRun(e, row, col, last);
            for (int c = col; c <= last; ++c) {
                model[row].erase(c);
                labels.erase({row, c});
            }
        }
        checkRow(row);
        ASSERT_EQ(e.Heap.BytesInUse(), expectedBytes()) << "step " << step;
        ASSERT_EQ(e.Cur->MaxRow, maxRow) << "step " << step;
        ASSERT_EQ(e.Cur->MaxCol, maxCol) << "step " << step;
        if (HasFatalFailure())
            return;
    }
    for (int row : rows)
        checkRow(row);

    FreeAllCells(e);
    EXPECT_EQ(e.Heap.BytesInUse(), 0);
}

TEST_F(CellStore, LinkDependencyKeepsOneLinkPerFormula)
{
    PCell f = FindOrCreateCell(e, 0, 0);
    PCell g = FindOrCreateCell(e, 0, 1);
    f->Kind = g->Kind = ckFormula;
    const HeapAddr fa = AddrOf(e, f);
    const HeapAddr ga = AddrOf(e, g);
    const std::int64_t base = e.Heap.BytesInUse();

    LinkDependency(e, f, 3, 4, true);
    PCell t = FindCell(e, 3, 4);
    ASSERT_NE(t, nullptr) << "a referenced cell is created to hold the link";
    EXPECT_EQ(t->Kind, ckBlank);
    EXPECT_EQ(t->Format, 0xFF);
    EXPECT_EQ(t->Colors, 0xC0000000u);
    EXPECT_EQ(ListedAddresses(e, t), std::vector<HeapAddr>{fa});
    EXPECT_EQ(e.Heap.BytesInUse(), base + kCellBytes + kLinkBytes);

    LinkDependency(e, f, 3, 4, true);
    EXPECT_EQ(ListedAddresses(e, t), std::vector<HeapAddr>{fa});
    EXPECT_EQ(e.Heap.BytesInUse(), base + kCellBytes + kLinkBytes);

    LinkDependency(e, g, 3, 4, true);
    EXPECT_EQ(ListedAddresses(e, t), (std::vector<HeapAddr>{ga, fa})) << "new links go to the front";

    LinkDependency(e, f, 3, 4, false);
    EXPECT_EQ(ListedAddresses(e, t), std::vector<HeapAddr>{ga});
    LinkDependency(e, f, 3, 4, false);
    EXPECT_EQ(ListedAddresses(e, t), std::vector<HeapAddr>{ga});
    LinkDependency(e, g, 3, 4, false);
    EXPECT_EQ(t->Dependents, 0u);
    EXPECT_EQ(e.Heap.BytesInUse(), base + kCellBytes);

    // Removal never creates the cell.
    LinkDependency(e, f, 5, 5, false);
    EXPECT_EQ(FindCell(e, 5, 5), nullptr);
    EXPECT_EQ(e.Heap.BytesInUse(), base + kCellBytes);
}

TEST_F(CellStore, ClearCellEmptiesTheContentsAndKeepsTheAttributes)
{
    auto* hooks = new RecordingFormulas;
    e.Formula.reset(hooks);
    PCell c = FindOrCreateCell(e, 2, 2);
    c->Typeface = 3;
    c->FontSize = 14;
    c->Style = 0x31;
    c->Borders = 0x9C;
    c->Colors = 0x0400FF00;
    c->Format = 0x12;
    SetLabel(e, c, "'hello");
    PCell reader = FindOrCreateCell(e, 2, 3);
    LinkDependency(e, reader, 2, 2, true);
    const std::int64_t withText = e.Heap.BytesInUse();

    ClearCell(e, c);
    EXPECT_EQ(c->Kind, ckBlank);
    EXPECT_EQ(c->Text, 0u);
    EXPECT_EQ(ReadReal(*c), 0.0);
    EXPECT_EQ(c->Typeface, 3);
    EXPECT_EQ(c->FontSize, 14);
    EXPECT_EQ(c->Style, 0x31);
    EXPECT_EQ(c->Borders, 0x9C);
    EXPECT_EQ(c->Colors, 0x0400FF00u);
    EXPECT_EQ(c->Format, 0x12);
    EXPECT_EQ(ListedAddresses(e, c), std::vector<HeapAddr>{AddrOf(e, reader)});
    EXPECT_EQ(e.Heap.BytesInUse(), withText - TextBytes(6));
    EXPECT_TRUE(hooks->unlinked.empty()) << "a label has no links to remove";
    EXPECT_EQ(FindCell(e, 2, 2), c);

    // A string formula gives back its compiled form and its string result.
    c->Text = SetText(e, 0, std::string("\x05\x01\x02\x03\x04\x03", 6));
    c->Kind = ckStrFormula;
    WriteStrResult(*c, SetText(e, 0, "result"));
    ClearCell(e, c);
    EXPECT_EQ(hooks->unlinked, std::vector<PCell>{c});
    EXPECT_EQ(c->Kind, ckBlank);
    EXPECT_EQ(ReadStrResult(*c), 0u);
    EXPECT_EQ(e.Heap.BytesInUse(), withText - TextBytes(6));

    // A blank cell is left alone.
    ClearCell(e, c);
    EXPECT_EQ(hooks->unlinked.size(), 1u);
    EXPECT_EQ(c->Format, 0x12);
    ClearCell(e, nullptr);
}

TEST_F(CellStore, FreeAllCellsGivesBackEveryByteAndResetsTheExtents)
{
    for (int row = 0; row < 300; row += 7) {
        for (int col = 0; col < 256; col += 31) {
            PCell c = FindOrCreateCell(e, row, col);
            ASSERT_NE(c, nullptr);
            if (col % 2)
                SetLabel(e, c, std::string(1 + (row + col) % 200, 'L'));
        }
    }
    PCell f = FindOrCreateCell(e, 500, 3);
    f->Kind = ckStrFormula;
    f->Text = SetText(e, 0, "\x01\x03");
    WriteStrResult(*f, SetText(e, 0, "string result"));
    for (int row = 0; row < 40; ++row)
        LinkDependency(e, f, row, 10, true);
    ASSERT_GT(e.Heap.BytesInUse(), 0);
    ASSERT_GT(e.Heap.PagesPresent(), 1);

    FreeAllCells(e);
    EXPECT_EQ(e.Heap.BytesInUse(), 0);
    EXPECT_EQ(MemoryFree(e), std::int64_t(e.Heap.PageLimit()) * PageHeap::kPageRoom);
    EXPECT_EQ(e.Cur->MaxRow, 0);
    EXPECT_EQ(e.Cur->MaxCol, 0);
    for (int row = 0; row <= 500; ++row)
        ASSERT_EQ(e.Cur->RowHeads[row], 0u) << "row " << row;
    EXPECT_NE(FindOrCreateCell(e, 1, 1), nullptr) << "the sheet stays usable";
}

TEST_F(CellStore, TwoOpensOfOneNameShareASlotUntilBothAreClosed)
{
    const int a = OpenSheet(e, "budget.wks");
    const int b = OpenSheet(e, "BUDGET.WKS");
    ASSERT_NE(a, 0);
    EXPECT_EQ(a, b);
    EXPECT_NE(a, sheet);
    const std::uint16_t heapNo = e.Slots[a]->HeapNo;
    EXPECT_NE(heapNo, e.Slots[sheet]->HeapNo);
    EXPECT_EQ(e.Slots[a]->Name, "BUDGET.WKS");

    RestoreContext(e, a);
    for (int col = 0; col < 5; ++col)
        SetLabel(e, FindOrCreateCell(e, 1, col), "'shared");
    const std::int64_t bytes = e.Heap.BytesInUse();

    CloseSheet(e, heapNo);
    ASSERT_NE(e.Slots[a], nullptr);
    EXPECT_EQ(e.Heap.BytesInUse(), bytes);
    RestoreContext(e, a);
    EXPECT_EQ(RowColumns(e, 1), (std::vector<int>{0, 1, 2, 3, 4}));
    EXPECT_EQ(TextOf(e, FindCell(e, 1, 3)->Text), "'shared");

    RestoreContext(e, sheet);
    CloseSheet(e, heapNo);
    EXPECT_EQ(e.Slots[a], nullptr);
    EXPECT_EQ(e.Heap.BytesInUse(), 0);
    for (int p = 0; p < e.Heap.PageLimit(); ++p)
        EXPECT_FALSE(e.Heap.PagePresent(p) && e.Heap.PageOwner(p) == heapNo) << "page " << p;

    // The freed slot is taken again, with a new heap number.
    const int again = OpenSheet(e, "other");
    EXPECT_EQ(again, a);
    EXPECT_NE(e.Slots[again]->HeapNo, heapNo);
}

TEST_F(CellStore, TheWorksheetTableHolds256Worksheets)
{
    std::set<std::uint16_t> heaps{e.Slots[sheet]->HeapNo};
    for (int i = 2; i <= kMaxSheetSlots; ++i) {
        const int s = OpenSheet(e, "W" + std::to_string(i));
        ASSERT_NE(s, 0) << "worksheet " << i;
        heaps.insert(e.Slots[s]->HeapNo);
    }
    EXPECT_EQ(heaps.size(), std::size_t(kMaxSheetSlots)) << "every worksheet has its own heap";
    EXPECT_EQ(OpenSheet(e, "ONE TOO MANY"), 0);
    EXPECT_EQ(OpenSheet(e, "w17"), 17) << "a worksheet already open is shared";
}

TEST_F(CellStore, CellsOfTwoWorksheetsStayApart)
{
    const int other = OpenSheet(e, "U");
    SetLabel(e, FindOrCreateCell(e, 1, 1), "'mine");
    PCell mine = FindCell(e, 1, 1);

    RestoreContext(e, other);
    EXPECT_EQ(FindCell(e, 1, 1), nullptr);
    EXPECT_EQ(e.Cur->MaxRow, 0);
    PCell theirs = FindOrCreateCell(e, 1, 1);
    SetLabel(e, theirs, "'theirs");
    ASSERT_NE(FindOrCreateCell(e, 20, 30), nullptr);
    EXPECT_NE(theirs, mine);

    const int minePage = static_cast<int>(AddrOf(e, mine) / PageHeap::kPageSize);
    const int theirPage = static_cast<int>(AddrOf(e, theirs) / PageHeap::kPageSize);
    EXPECT_NE(minePage, theirPage);
    EXPECT_EQ(e.Heap.PageOwner(minePage), e.Slots[sheet]->HeapNo);
    EXPECT_EQ(e.Heap.PageOwner(theirPage), e.Slots[other]->HeapNo);

    RestoreContext(e, sheet);
    EXPECT_EQ(FindCell(e, 1, 1), mine);
    EXPECT_EQ(TextOf(e, mine->Text), "'mine");
    EXPECT_EQ(FindCell(e, 20, 30), nullptr);
    EXPECT_EQ(e.Cur->MaxRow, 1);

    // Freeing one worksheet's cells leaves the other's alone.
    RestoreContext(e, other);
    FreeAllCells(e);
    RestoreContext(e, sheet);
    EXPECT_EQ(e.Heap.BytesInUse(), kCellBytes + TextBytes(5));
    EXPECT_EQ(TextOf(e, FindCell(e, 1, 1)->Text), "'mine");
}

TEST_F(CellStore, SetTextReusesABlockOfEqualLength)
{
    HeapAddr t = SetText(e, 0, "abcde");
    ASSERT_NE(t, 0u);
    EXPECT_EQ(TextOf(e, t), "abcde");
    EXPECT_EQ(e.Heap.BytesInUse(), TextBytes(5));

    EXPECT_EQ(SetText(e, t, "vwxyz"), t);
    EXPECT_EQ(TextOf(e, t), "vwxyz");
    EXPECT_EQ(e.Heap.BytesInUse(), TextBytes(5));

    HeapAddr longer = SetText(e, t, "a longer text");
    EXPECT_EQ(TextOf(e, longer), "a longer text");
    EXPECT_EQ(e.Heap.BytesInUse(), TextBytes(13));

    HeapAddr cut = SetText(e, longer, std::string(300, 'q'));
    EXPECT_EQ(TextOf(e, cut), std::string(255, 'q'));
    EXPECT_EQ(e.Heap.BytesInUse(), TextBytes(255));

    HeapAddr empty = SetText(e, cut, "");
    ASSERT_NE(empty, 0u);
    EXPECT_EQ(TextOf(e, empty), "");

    FreeText(e, empty);
    EXPECT_EQ(empty, 0u);
    EXPECT_EQ(e.Heap.BytesInUse(), 0);
    FreeText(e, empty);
    EXPECT_EQ(e.Heap.BytesInUse(), 0);
}

class CellStoreSmallHeap : public CellStore {
protected:
    CellStoreSmallHeap() : CellStore(2) {}

    // Creates cells row by row until the heap refuses one; returns how many.
    int FillWithCells()
    {
        int made = 0;
        for (int row = 0; row < kRows; ++row) {
            for (int col = 0; col < 40; col += 2) {
                if (!FindOrCreateCell(e, row, col))
                    return made;
                ++made;
            }
        }
        return made;
    }
};

TEST_F(CellStoreSmallHeap, AFullHeapRefusesANewCellAndLinksNothing)
{
    const int made = FillWithCells();
    ASSERT_GT(made, 0);
    EXPECT_TRUE(e.Err.ErrorFlag);
    EXPECT_TRUE(e.Err.OutOfMemory);
    EXPECT_EQ(e.Heap.BytesInUse(), made * kCellBytes);

    // Between two cells, after the last cell of a row, and in an empty row.
    const int fullRows = made / 20;
    std::vector<std::vector<int>> before;
    for (int row = 0; row <= fullRows + 1; ++row)
        before.push_back(RowColumns(e, row));
    for (auto [row, col] : {std::pair{0, 3}, {1, 1}, {fullRows + 1, 0}, {0, 255}}) {
        e.Err.Clear();
        EXPECT_EQ(FindOrCreateCell(e, row, col), nullptr) << row << "," << col;
        EXPECT_TRUE(e.Err.ErrorFlag);
        EXPECT_EQ(FindCell(e, row, col), nullptr);
    }
    for (int row = 0; row <= fullRows + 1; ++row)
        EXPECT_EQ(RowColumns(e, row), before[row]) << "row " << row;
    EXPECT_EQ(e.Heap.BytesInUse(), made * kCellBytes);

    // Existing cells are still found, and freed room is used again.
    EXPECT_NE(FindOrCreateCell(e, 0, 0), nullptr);
    FreeRun(e, 0, 0, 255);
    EXPECT_NE(FindOrCreateCell(e, 0, 3), nullptr);
}

TEST_F(CellStoreSmallHeap, SetTextKeepsTheOldTextWhenTheHeapIsFull)
{
    HeapAddr t = SetText(e, 0, "keep me");
    ASSERT_NE(t, 0u);
    FillWithCells();
    ASSERT_TRUE(e.Err.OutOfMemory);
    const std::int64_t bytes = e.Heap.BytesInUse();

    e.Err = ErrorState{};
    EXPECT_EQ(SetText(e, t, "a text of another length"), t);
    EXPECT_EQ(TextOf(e, t), "keep me");
    EXPECT_TRUE(e.Err.OutOfMemory);
    EXPECT_EQ(e.Heap.BytesInUse(), bytes);

    // A text of the same length needs no new block.
    EXPECT_EQ(SetText(e, t, "kept us"), t);
    EXPECT_EQ(TextOf(e, t), "kept us");
}

}  // namespace
}  // namespace zt
