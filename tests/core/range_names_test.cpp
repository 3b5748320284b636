#include "core/range_names.h"
#include "core/remembered_ranges.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>
#include <vector>

#include "core/address.h"
#include "core/cell_entry.h"
#include "core/cell_store.h"
#include "core/cell_text.h"

namespace zt {
namespace {

constexpr std::int64_t kRecordBytes = 24;  // a 21-byte record as the heap rounds it

class RangeNamesTest : public ::testing::Test {
protected:
    explicit RangeNamesTest(int pages = 64) : e(pages)
    {
        int s = OpenSheet(e, "T");
        RestoreContext(e, s);
    }

    std::vector<std::string> Names() const
    {
        std::vector<std::string> names;
        for (int i = 1; i <= e.Cur->Names.Count; ++i)
            names.push_back(RangeNameAt(e, i));
        return names;
    }

    TRange RangeNamed(std::string_view name) const { return RangeOfName(e, FindRangeName(e, name)); }

    // The raw text of a cell, label prefix included.
    std::string CellTextAt(int row, int col)
    {
        PCell c = FindCell(e, row, col);
        return c ? std::string(TextOf(e, c->Text)) : std::string();
    }

    Engine e;
};

TEST_F(RangeNamesTest, AddsKeepTheTableSortedAndDeletesCloseTheGap)
{
    ASSERT_TRUE(SetRangeName(e, "B", TRange{1, 1, 1, 1}));
    ASSERT_TRUE(SetRangeName(e, "A", TRange{0, 0, 0, 0}));
    ASSERT_TRUE(SetRangeName(e, "C", TRange{2, 2, 2, 2}));
    EXPECT_EQ(Names(), (std::vector<std::string>{"A", "B", "C"}));

    EXPECT_TRUE(DeleteRangeName(e, "b"));
    EXPECT_EQ(Names(), (std::vector<std::string>{"A", "C"}));
    EXPECT_EQ(e.Cur->Names.Count, 2);
    EXPECT_EQ(RangeNamed("C"), (TRange{2, 2, 2, 2}));
    EXPECT_FALSE(DeleteRangeName(e, "B"));
}

TEST_F(RangeNamesTest, ShorterNamesSortFirstAndBytesCompareUnsigned)
{
    for (const char* name : {"AB", "\xC4", "A", "ABC", "B", "A1", "_"})
        ASSERT_TRUE(SetRangeName(e, name, TRange{0, 0, 0, 0}));
    EXPECT_EQ(Names(), (std::vector<std::string>{"A", "A1", "AB", "ABC", "B", "_", "\xC4"}));
}

TEST_F(RangeNamesTest, FindReportsTheInsertionPointWhenMissing)
{
    EXPECT_EQ(FindRangeName(e, "M"), -1);
    SetRangeName(e, "D", TRange{});
    SetRangeName(e, "K", TRange{});
    EXPECT_EQ(FindRangeName(e, "A"), -1);
    EXPECT_EQ(FindRangeName(e, "F"), -2);
    EXPECT_EQ(FindRangeName(e, "Z"), -3);
    EXPECT_EQ(FindRangeName(e, "k"), 2);
}

TEST_F(RangeNamesTest, SetUpdatesAnExistingNameInPlace)
{
    SetRangeName(e, "sales", TRange{0, 0, 3, 9});
    std::int64_t bytes = e.Heap.BytesInUse();
    ASSERT_TRUE(SetRangeName(e, "SALES", TRange{1, 1, 2, 2}));
    EXPECT_EQ(e.Cur->Names.Count, 1);
    EXPECT_EQ(RangeNamed("Sales"), (TRange{1, 1, 2, 2}));
    EXPECT_EQ(e.Heap.BytesInUse(), bytes);
}

TEST_F(RangeNamesTest, RangeTextFindsNamesInAnyCaseAndDollarMakesThemAbsolute)
{
    SetRangeName(e, "Sales", TRange{0, 0, 3, 9});
    EXPECT_EQ(RangeNameAt(e, 1), "SALES");

    AbsFlags abs;
    e.Err.Clear();
    EXPECT_EQ(ParseRange(e, "sales", &abs), (TRange{0, 0, 3, 9}));
    EXPECT_EQ(abs.Nibble(), 0);
    EXPECT_EQ(ParseRange(e, "$SaLeS", &abs), (TRange{0, 0, 3, 9}));
    EXPECT_EQ(abs.Nibble(), 0xF);
    EXPECT_FALSE(e.Err.ErrorFlag);
}

TEST_F(RangeNamesTest, NamesOverTwelveCharactersAreRefusedNotCut)
{
    ASSERT_TRUE(SetRangeName(e, "ABCDEFGHIJKL", TRange{1, 2, 3, 4}));
    e.Err.Clear();
    EXPECT_EQ(ParseRange(e, "ABCDEFGHIJKL"), (TRange{1, 2, 3, 4}));
    EXPECT_EQ(ParseRange(e, "$abcdefghijkl"), (TRange{1, 2, 3, 4}));
    EXPECT_FALSE(e.Err.ErrorFlag);

    // A longer name neither enters the table nor finds the name it begins with.
    EXPECT_FALSE(SetRangeName(e, "ABCDEFGHIJKLM", TRange{5, 6, 7, 8}));
    EXPECT_EQ(e.Err.ErrorText, kRangeNameTooLong);
    EXPECT_EQ(Names(), (std::vector<std::string>{"ABCDEFGHIJKL"}));
    EXPECT_EQ(RangeNamed("ABCDEFGHIJKL"), (TRange{1, 2, 3, 4}));
    EXPECT_LT(FindRangeName(e, "ABCDEFGHIJKLM"), 0);
    EXPECT_FALSE(DeleteRangeName(e, "ABCDEFGHIJKLM"));
    EXPECT_EQ(e.Cur->Names.Count, 1);
}

TEST_F(RangeNamesTest, AddRefusesNamesThatWouldBreakTheOrder)
{
    SetRangeName(e, "B", TRange{});
    e.Err.Clear();
    EXPECT_FALSE(AddRangeName(e, "B", TRange{}, 1));
    EXPECT_FALSE(AddRangeName(e, "A", TRange{}, 2));
    EXPECT_FALSE(AddRangeName(e, "", TRange{}, 1));
    EXPECT_FALSE(AddRangeName(e, std::string("A\0B", 3), TRange{}, 1));
    EXPECT_TRUE(e.Err.ErrorFlag);
    EXPECT_EQ(e.Err.ErrorText, kInvalidRangeName);
    EXPECT_EQ(Names(), (std::vector<std::string>{"B"}));
    EXPECT_TRUE(AddRangeName(e, "A", TRange{}, 1));
}

TEST_F(RangeNamesTest, TableHoldsAtMost240Names)
{
    for (int i = 0; i < kMaxRangeNames; ++i)
        ASSERT_TRUE(SetRangeName(e, "N" + std::to_string(i), TRange{0, 0, 0, 0}));
    e.Err.Clear();
    EXPECT_FALSE(SetRangeName(e, "EXTRA", TRange{}));
    EXPECT_TRUE(e.Err.ErrorFlag);
    EXPECT_EQ(e.Err.ErrorText, kTooManyRangeNames);
    EXPECT_EQ(e.Cur->Names.Count, kMaxRangeNames);
    EXPECT_LT(FindRangeName(e, "EXTRA"), 0);

    EXPECT_TRUE(SetRangeName(e, "N7", TRange{1, 1, 1, 1}));
    EXPECT_TRUE(DeleteRangeName(e, "N8"));
    EXPECT_TRUE(SetRangeName(e, "EXTRA", TRange{}));
    EXPECT_EQ(e.Cur->Names.Count, kMaxRangeNames);
}

TEST_F(RangeNamesTest, RandomOperationsMatchAnOrderedModel)
{
    std::mt19937 rng(3);
    const std::string alphabet = "abAB1_\xC4";
    std::map<std::string, TRange> model;
    std::int64_t baseBytes = e.Heap.BytesInUse();
    for (int step = 0; step < 6000; ++step) {
        std::string name(1 + rng() % 14, ' ');
        for (char& ch : name)
            ch = alphabet[rng() % alphabet.size()];
        std::string key = RangeNameKey(name);
        TRange r{std::int16_t(rng() % kCols), std::int16_t(rng() % kRows), std::int16_t(rng() % kCols),
                 std::int16_t(rng() % kRows)};
        if (rng() % 3 == 0) {
            ASSERT_EQ(DeleteRangeName(e, name), model.erase(key) == 1);
        } else {
            bool fits = key.size() <= std::size_t(kRangeNameLength) && (model.size() < kMaxRangeNames || model.count(key));
            ASSERT_EQ(SetRangeName(e, name, r), fits);
            if (fits)
                model[key] = r;
        }
        ASSERT_EQ(e.Cur->Names.Count, model.size());
        int i = 1;
        for (const auto& [k, v] : model) {
            ASSERT_EQ(RangeNameAt(e, i), k) << "step " << step;
            ASSERT_EQ(RangeOfName(e, i), v);
            ++i;
        }
        ASSERT_EQ(e.Heap.BytesInUse(), baseBytes + kRecordBytes * std::int64_t(model.size()));
    }
}

TEST_F(RangeNamesTest, DeletingAndFreeingGiveTheRecordsBack)
{
    std::int64_t before = e.Heap.BytesInUse();
    for (int i = 0; i < 50; ++i)
        SetRangeName(e, "R" + std::to_string(i), TRange{0, 0, 0, 0});
    EXPECT_EQ(e.Heap.BytesInUse(), before + 50 * kRecordBytes);
    for (int i = 0; i < 25; ++i)
        EXPECT_TRUE(DeleteRangeName(e, "R" + std::to_string(i)));
    EXPECT_EQ(e.Heap.BytesInUse(), before + 25 * kRecordBytes);

    FreeRangeNames(e);
    EXPECT_EQ(e.Cur->Names.Count, 0);
    EXPECT_EQ(e.Heap.BytesInUse(), before);
    EXPECT_LT(FindRangeName(e, "R30"), 0);
    EXPECT_TRUE(SetRangeName(e, "R30", TRange{}));
}

class TinyHeapRangeNamesTest : public RangeNamesTest {
protected:
    TinyHeapRangeNamesTest() : RangeNamesTest(1) {}
};

TEST_F(TinyHeapRangeNamesTest, FailedAllocationLeavesNoEntry)
{
    int added = 0;
    e.Err.Clear();
    while (SetRangeName(e, "N" + std::to_string(added), TRange{0, 0, 0, 0}))
        ++added;
    EXPECT_GT(added, 0);
    EXPECT_TRUE(e.Err.OutOfMemory);
    EXPECT_EQ(e.Cur->Names.Count, added);
    EXPECT_LT(FindRangeName(e, "N" + std::to_string(added)), 0);
    for (int i = 0; i < added; ++i)
        EXPECT_EQ(RangeNamed("N" + std::to_string(i)), (TRange{0, 0, 0, 0}));
}

TEST_F(RangeNamesTest, ForgetCellUndefinesRangesCorneredAtTheCell)
{
    auto& data = e.Cur->DataRanges;
    data[0] = TRange{1, 2, 5, 9};   // first corner B3
    data[1] = TRange{0, 0, 1, 2};   // last corner B3
    data[2] = TRange{0, 0, 5, 9};   // B3 inside, not a corner
    SetRangeName(e, "FIRST", TRange{1, 2, 1, 2});
    SetRangeName(e, "INSIDE", TRange{0, 0, 4, 4});

    ForgetCell(e, 2, 1);
    EXPECT_FALSE(RangeIsDefined(data[0]));
    EXPECT_FALSE(RangeIsDefined(data[1]));
    EXPECT_EQ(data[2], (TRange{0, 0, 5, 9}));
    EXPECT_FALSE(RangeIsDefined(RangeNamed("FIRST")));
    EXPECT_EQ(RangeNamed("INSIDE"), (TRange{0, 0, 4, 4}));
    EXPECT_EQ(e.Cur->Names.Count, 2);
}

TEST_F(RangeNamesTest, FreeingACellForgetsTheRangesCorneredThere)
{
    SetRangeName(e, "GONE", TRange{3, 4, 6, 7});
    ASSERT_NE(FindOrCreateCell(e, 7, 6), nullptr);
    FreeRun(e, 7, 0, 255);
    EXPECT_FALSE(RangeIsDefined(RangeNamed("GONE")));
}

TEST_F(RangeNamesTest, BuildNamesRangesFromTwoColumnsOfLabels)
{
    const char* rows[][2] = {
        {"first", "a1..b2"}, {"Second", "C3"}, {"", "D4"}, {"bad", "Z0"}, {"blank", ""}, {"alias", "first"},
    };
    for (int i = 0; i < 6; ++i) {
        EnterCell(e, std::string("'") + rows[i][0], i, 2);
        EnterCell(e, std::string("'") + rows[i][1], i, 3);
    }
    EnterCell(e, "'NUMBER", 6, 2);
    EnterCell(e, "42", 6, 3);

    e.Err.Clear();
    BuildRangeNames(e, TRange{2, 6, 2, 0});
    EXPECT_FALSE(e.Err.ErrorFlag);
    EXPECT_EQ(Names(), (std::vector<std::string>{"ALIAS", "FIRST", "SECOND"}));
    EXPECT_EQ(RangeNamed("FIRST"), (TRange{0, 0, 1, 1}));
    EXPECT_EQ(RangeNamed("SECOND"), (TRange{2, 2, 2, 2}));
    EXPECT_EQ(RangeNamed("ALIAS"), (TRange{0, 0, 1, 1}));
}

TEST_F(RangeNamesTest, TableWritesNamesAndTheirRanges)
{
    SetRangeName(e, "SALES", TRange{0, 0, 1, 6});
    SetRangeName(e, "CELL", TRange{2, 2, 2, 2});
    SetRangeName(e, "LOST", TRange{});

    TableRangeNames(e, 10, 3);
    EXPECT_FALSE(e.Err.ErrorFlag);
    EXPECT_EQ(CellTextAt(10, 3), "'CELL");
    EXPECT_EQ(CellTextAt(10, 4), "'C3");
    EXPECT_EQ(CellTextAt(11, 3), "'LOST");
    EXPECT_EQ(FindCell(e, 11, 4), nullptr);
    EXPECT_EQ(CellTextAt(12, 3), "'SALES");
    EXPECT_EQ(CellTextAt(12, 4), "'A1..B7");
}

TEST_F(RangeNamesTest, TableWrittenThenBuiltGivesTheSameNames)
{
    SetRangeName(e, "ONE", TRange{0, 0, 1, 6});
    SetRangeName(e, "TWO", TRange{200, 8000, 255, 8191});
    SetRangeName(e, "THREE", TRange{5, 5, 5, 5});
    std::vector<std::string> names = Names();
    TableRangeNames(e, 20, 0);
    FreeRangeNames(e);

    BuildRangeNames(e, TRange{0, 20, 0, 22});
    EXPECT_EQ(Names(), names);
    EXPECT_EQ(RangeNamed("TWO"), (TRange{200, 8000, 255, 8191}));
    EXPECT_EQ(RangeNamed("THREE"), (TRange{5, 5, 5, 5}));
}

TEST_F(RangeNamesTest, TableStopsAtTheFirstEntryThatFails)
{
    SetRangeName(e, "A", TRange{0, 0, 0, 0});
    SetRangeName(e, "B", TRange{1, 1, 1, 1});
    SetRangeName(e, "C", TRange{2, 2, 2, 2});
    e.Settings().Protect = true;
    for (int row : {0, 2})
        for (int col : {0, 1})
            FindOrCreateCell(e, row, col)->Format &= ~kFormatProtected;

    TableRangeNames(e, 0, 0);
    EXPECT_TRUE(e.Err.ErrorFlag);
    EXPECT_EQ(CellTextAt(0, 0), "'A");
    EXPECT_EQ(CellTextAt(0, 1), "'A1");
    EXPECT_EQ(FindCell(e, 1, 0), nullptr);
    EXPECT_EQ(CellTextAt(2, 0), "");
}

}  // namespace
}  // namespace zt
