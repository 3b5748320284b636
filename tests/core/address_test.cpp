#include "core/address.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "core/cell_store.h"

namespace zt {
namespace {

class AddressTest : public ::testing::Test {
protected:
    AddressTest()
    {
        int s = OpenSheet(e, "T");
        RestoreContext(e, s);
    }

    void UseSheets(int sheets) { e.Settings().RowsPerSheet = kRows / sheets; }

    // Parses with a clean error flag and reports whether the parse failed.
    TRange Parse(std::string_view text, bool& failed, AbsFlags* abs = nullptr)
    {
        e.Err.Clear();
        TRange r = ParseRange(e, text, abs);
        failed = e.Err.ErrorFlag;
        return r;
    }

    bool Fails(std::string_view text)
    {
        bool failed;
        Parse(text, failed);
        return failed;
    }

    Engine e{64};
};

TEST_F(AddressTest, ColumnLettersFollowTheOneAndTwoLetterScheme)
{
    EXPECT_EQ(ColumnLetters(0), "A");
    EXPECT_EQ(ColumnLetters(25), "Z");
    EXPECT_EQ(ColumnLetters(26), "AA");
    EXPECT_EQ(ColumnLetters(51), "AZ");
    EXPECT_EQ(ColumnLetters(52), "BA");
    EXPECT_EQ(ColumnLetters(255), "IV");
}

TEST_F(AddressTest, EveryColumnAndSampledRowRoundTripsForEverySheetCount)
{
    std::vector<int> rows = {0, 1, 127, 128, 2047, 2048, 4095, 4096, 4105, 8190, 8191};
    for (int r = 3; r < kRows; r += 97)
        rows.push_back(r);
    for (int sheets : {1, 2, 4, 8, 16, 32, 64}) {
        UseSheets(sheets);
        for (int col = 0; col < kCols; ++col) {
            for (int row : rows) {
                for (int absBits = 0; absBits < 4; ++absBits) {
                    bool absCol = absBits & 1, absRow = absBits & 2;
                    std::string text = FormatAddress(e, row, col, absCol, absRow);
                    e.Err.Clear();
                    ParsedAddress a = ParseAddress(e, text);
                    ASSERT_FALSE(e.Err.ErrorFlag) << text;
                    ASSERT_EQ(a.Row, row) << text << " sheets " << sheets;
                    ASSERT_EQ(a.Col, col) << text;
                    ASSERT_EQ(a.AbsCol, absCol) << text;
                    ASSERT_EQ(a.AbsRow, absRow) << text;
                }
            }
        }
    }
}

TEST_F(AddressTest, RandomRangesRoundTripThroughTheirText)
{
    std::mt19937 rng(7);
    // With these sheet counts the longest range text fits in 20 characters.
    for (int sheets : {1, 16}) {
        UseSheets(sheets);
        for (int i = 0; i < 2000; ++i) {
            TRange r{std::int16_t(rng() % kCols), std::int16_t(rng() % kRows), std::int16_t(rng() % kCols),
                     std::int16_t(rng() % kRows)};
            std::uint8_t nibble = rng() % 16;
            std::string text = FormatRange(e, r, nibble, true);
            ASSERT_LE(text.size(), 20u);
            bool failed;
            AbsFlags abs;
            TRange back = Parse(text, failed, &abs);
            ASSERT_FALSE(failed) << text;
            ASSERT_EQ(back, r) << text;
            ASSERT_EQ(abs.Nibble(), nibble) << text;
        }
    }
}

TEST_F(AddressTest, ColumnsBeyondIvFailTheValidityTest)
{
    bool failed;
    EXPECT_EQ(Parse("IV1", failed).FirstCol, 255);
    EXPECT_FALSE(failed);
    EXPECT_TRUE(Fails("IW1"));
    EXPECT_TRUE(Fails("AAA1"));
    EXPECT_TRUE(Fails("ZZZZZZZZZZZZZZZZZZZZZZZZZZZZZZZZZZZZZZZZ1"));
}

TEST_F(AddressTest, DollarSignsMarkColumnAndRowAbsolute)
{
    e.Err.Clear();
    ParsedAddress both = ParseAddress(e, "$A$1");
    EXPECT_TRUE(both.AbsCol);
    EXPECT_TRUE(both.AbsRow);
    ParsedAddress col = ParseAddress(e, "$B7");
    EXPECT_TRUE(col.AbsCol);
    EXPECT_FALSE(col.AbsRow);
    ParsedAddress row = ParseAddress(e, "B$7");
    EXPECT_FALSE(row.AbsCol);
    EXPECT_TRUE(row.AbsRow);
    EXPECT_EQ(row.Row, 6);
    EXPECT_EQ(row.Col, 1);
    EXPECT_FALSE(e.Err.ErrorFlag);
}

TEST_F(AddressTest, RangeFlagsComeFromEachCorner)
{
    bool failed;
    AbsFlags abs;
    TRange r = Parse("$a1..b$7", failed, &abs);
    EXPECT_FALSE(failed);
    EXPECT_EQ(r, (TRange{0, 0, 1, 6}));
    EXPECT_TRUE(abs.FirstCol);
    EXPECT_FALSE(abs.FirstRow);
    EXPECT_FALSE(abs.LastCol);
    EXPECT_TRUE(abs.LastRow);

    Parse("$C$3", failed, &abs);
    EXPECT_EQ(abs.Nibble(), 0xF);
}

TEST_F(AddressTest, SheetPrefixOffsetsTheRow)
{
    UseSheets(4);
    e.Err.Clear();
    ParsedAddress a = ParseAddress(e, "C:B10");
    EXPECT_FALSE(e.Err.ErrorFlag);
    EXPECT_EQ(a.Row, 4105);
    EXPECT_EQ(a.Col, 1);
    EXPECT_EQ(FormatAddress(e, 4105, 1), "C:B10");
    EXPECT_EQ(FormatAddress(e, 2048, 0), "B:A1");
    EXPECT_EQ(FormatSheetAddress(e, 4105, 1), "B10");

    ParsedAddress abs = ParseAddress(e, "C:$B$10");
    EXPECT_EQ(abs.Row, 4105);
    EXPECT_TRUE(abs.AbsCol);
    EXPECT_TRUE(abs.AbsRow);
    EXPECT_EQ(FormatAddress(e, 4105, 1, true, true), "C:$B$10");

    UseSheets(1);
    EXPECT_EQ(FormatAddress(e, 4105, 1), "B4106");
    e.Settings().RowsPerSheet = 0;
    EXPECT_EQ(FormatAddress(e, 4105, 1), "B4106");
}

TEST_F(AddressTest, RowsOffTheWorksheetAreRefusedNeverWrapped)
{
    bool failed;
    EXPECT_EQ(Parse("A8192", failed).FirstRow, 8191);
    EXPECT_FALSE(failed);
    EXPECT_EQ(Parse("A0008192", failed).FirstRow, 8191);
    EXPECT_FALSE(failed);
    for (const char* text : {"A0", "A8193", "A16385", "A999999", "A1234567", "A99999999999",
                             "A1..A8193", "A8193..A1", "IV8193", "A1..IW1"}) {
        Parse(text, failed);
        EXPECT_TRUE(failed) << text;
        EXPECT_EQ(e.Err.ErrorText, kOutOfRange) << text;
    }
    EXPECT_TRUE(Fails("A" + std::string(400, '9')));
    e.Err.Clear();
    EXPECT_EQ(ParseAddress(e, "A8193").Row, -1);
    EXPECT_EQ(ParseAddress(e, "A0").Row, -1);
    EXPECT_FALSE(e.Err.ErrorFlag);
}

TEST_F(AddressTest, SheetPrefixedRowsStayWithinTheirSheet)
{
    UseSheets(4);
    bool failed;
    EXPECT_EQ(Parse("D:A2048", failed).FirstRow, 8191);
    EXPECT_FALSE(failed);
    // Without a prefix a row counts from the top of the worksheet.
    EXPECT_EQ(Parse("A3000", failed).FirstRow, 2999);
    EXPECT_FALSE(failed);
    for (const char* text : {"A:A2049", "B:A0", "E:A1", "Z:A1", "D:A2049", "A1..E:A1"}) {
        Parse(text, failed);
        EXPECT_TRUE(failed) << text;
        EXPECT_EQ(e.Err.ErrorText, kOutOfRange) << text;
    }
    UseSheets(1);
    EXPECT_EQ(Parse("A:A8192", failed).FirstRow, 8191);
    EXPECT_FALSE(failed);
    EXPECT_TRUE(Fails("B:A1"));
    EXPECT_TRUE(Fails(std::string(5000, 'Z') + ":B2"));
}

TEST_F(AddressTest, RowPartThatIsNotANumberSetsTheErrorFlag)
{
    for (const char* text : {"A", "$A$", "A1X", "A-1", "A+1", "A 1", "1A", "A1:", "B:", "$", "A$$1", "A1B2", ":A1", "12"}) {
        EXPECT_TRUE(Fails(text)) << text;
        EXPECT_EQ(e.Err.ErrorText, kInvalidRange) << text;
    }
}

TEST_F(AddressTest, TwoDotsSeparateCornersAndOtherDotsDoNot)
{
    bool failed;
    EXPECT_EQ(Parse("a1..b7", failed), (TRange{0, 0, 1, 6}));
    EXPECT_FALSE(failed);
    EXPECT_EQ(Parse("B7..A1", failed), (TRange{1, 6, 0, 0}));
    EXPECT_FALSE(failed);
    EXPECT_EQ(Parse("C5", failed), (TRange{2, 4, 2, 4}));
    EXPECT_FALSE(failed);
    for (const char* text : {"A1.B7", "A1...B7", "A1..", "..B7", "..", "A1..B7..C9", "A1..B0"})
        EXPECT_TRUE(Fails(text)) << text;
}

TEST_F(AddressTest, EmptyTextIsAnUndefinedRangeWithoutError)
{
    bool failed;
    EXPECT_FALSE(RangeIsDefined(Parse("", failed)));
    EXPECT_FALSE(failed);
}

class FixedView : public ViewHooks {
public:
    TRange Selection(const Engine&) const override { return TRange{2, 3, 4, 5}; }
    TRange CursorCell(const Engine&) const override { return TRange{7, 8, 7, 8}; }
};

TEST_F(AddressTest, RangeAndCursorComeFromTheView)
{
    e.View = std::make_unique<FixedView>();
    bool failed;
    EXPECT_EQ(Parse("RANGE", failed), (TRange{2, 3, 4, 5}));
    EXPECT_EQ(Parse("range", failed), (TRange{2, 3, 4, 5}));
    EXPECT_EQ(Parse("Cursor", failed), (TRange{7, 8, 7, 8}));
    EXPECT_FALSE(failed);
}

TEST_F(AddressTest, FormatRangeWritesCornersMarkersAndCutsTo20)
{
    EXPECT_EQ(FormatRange(e, kUndefinedRange), "");
    EXPECT_EQ(FormatRange(e, kUndefinedRange, 0xF, true), "");
    EXPECT_EQ(FormatRange(e, TRange{1, 6, 1, 6}), "B7");
    EXPECT_EQ(FormatRange(e, TRange{0, 0, 1, 6}), "A1..B7");
    EXPECT_EQ(FormatRange(e, TRange{1, 6, 1, 6}, 0, true), "B7..B7");
    EXPECT_EQ(FormatRange(e, TRange{0, 0, 1, 6}, 0x1, false), "A$1..B7");
    EXPECT_EQ(FormatRange(e, TRange{0, 0, 1, 6}, 0x2, false), "$A1..B7");
    EXPECT_EQ(FormatRange(e, TRange{0, 0, 1, 6}, 0x4, false), "A1..B$7");
    EXPECT_EQ(FormatRange(e, TRange{0, 0, 1, 6}, 0x8, false), "A1..$B7");

    UseSheets(64);
    std::string text = FormatRange(e, TRange{255, 8191, 255, 8191}, 0xF, true);
    EXPECT_EQ(text, "BL:$IV$128..BL:$IV$1");
}

TEST_F(AddressTest, ArbitraryTextNeverYieldsAnInvalidRangeWithoutError)
{
    std::mt19937 rng(42);
    const std::string alphabet = "ABIVWZaz019$:. .";
    for (int sheets : {1, 8}) {
        UseSheets(sheets);
        for (int i = 0; i < 50000; ++i) {
            std::string text(rng() % 24, ' ');
            bool anyByte = i % 4 == 0;
            for (char& ch : text)
                ch = anyByte ? static_cast<char>(rng() % 256) : alphabet[rng() % alphabet.size()];
            bool failed;
            TRange r = Parse(text, failed);
            if (failed || text.empty())
                continue;
            ASSERT_TRUE(ValidCoord(r.FirstRow, r.FirstCol)) << text;
            ASSERT_TRUE(ValidCoord(r.LastRow, r.LastCol)) << text;
        }
    }
    EXPECT_TRUE(Fails(std::string(5000, 'Z') + "1"));
    EXPECT_TRUE(Fails(std::string(300, '$')));
}

}  // namespace
}  // namespace zt
