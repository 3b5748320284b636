#include "commands/clipboard_transfer.h"

#include <cstdint>
#include <iterator>
#include <random>
#include <string>
#include <tuple>

#include "commands/copy_cell.h"
#include "core/cell_text.h"
#include "core/format_codes.h"
#include "core/number_format.h"
#include "core/undo.h"
#include "platform/clipboard.h"
#include "tests/commands/command_test_support.h"

namespace zt {
namespace {

using Attributes = std::tuple<int, std::uint32_t, int, int, int>;  // format, colors, typeface, size, style

// The fields are read by value: the cell is packed, and references to its
// members would be misaligned.
Attributes AttributesOf(const TCell& c)
{
    return {c.Format, std::uint32_t(c.Colors), c.Typeface, c.FontSize, c.Style};
}

class ClipboardTest : public CommandTest {
protected:
    bool Copy(std::string_view range, bool cut = false) { return ClipboardCopy(e, clip, Range(range), cut); }
    bool Paste(std::string_view addr)
    {
        TRange r = Range(addr);
        return ClipboardPaste(e, clip, r.FirstRow, r.FirstCol);
    }
    bool PastePlain(std::string_view addr, std::string_view text)
    {
        clip.SetData("", text);
        return Paste(addr);
    }
    bool PastePrivate(std::string_view addr, std::string_view text)
    {
        clip.SetData(text, "plain text that must not be used");
        return Paste(addr);
    }
    void SetAttributes(std::string_view addr, Attributes a)
    {
        PCell c = FindOrCreateCell(e, Range(addr).FirstRow, Range(addr).FirstCol);
        ASSERT_NE(c, nullptr);
        c->Format = static_cast<std::uint8_t>(std::get<0>(a));
        c->Colors = std::get<1>(a);
        c->Typeface = static_cast<std::uint8_t>(std::get<2>(a));
        c->FontSize = static_cast<std::uint8_t>(std::get<3>(a));
        c->Style = static_cast<std::uint8_t>(std::get<4>(a));
    }
    Attributes AttributesAt(std::string_view addr)
    {
        PCell c = Cell(addr);
        EXPECT_NE(c, nullptr) << addr;
        return c ? AttributesOf(*c) : Attributes{};
    }
    std::string ErrorMessage(std::string_view text) { return "Error:" + std::string(text); }

    MemoryClipboard clip;
};

// ---- What copy puts on the clipboard ----

class ClipboardRenderingTest : public ClipboardTest {};

TEST_F(ClipboardRenderingTest, BothRenderingsOfABlockWithAHole)
{
    Enter("A1", "5");
    Enter("A2", "'x;y");
    Enter("B2", "+A1*2");
    SetAttributes("B2", {0x01, 0x000000FF, 2, 3, 0x10});

    ASSERT_TRUE(Copy("A1..B2"));

    // A default cell: protected default format, default colours and typeface.
    const std::string defaults = ";F255,C-1073741824,T255,H0,S0";
    EXPECT_EQ(clip.PrivateText(), "5" + defaults + "\t\r\n'x;y" + defaults + "\t+A1*2;F1,C255,T2,H3,S16\r\n");
    EXPECT_EQ(clip.PlainText(), "5\t\r\nx;y\t10.0\r\n");
}

TEST_F(ClipboardRenderingTest, PlainTextIsWhatTheColumnShows)
{
    e.Cur->Layout.ColWidths[1] = 40;  // column B shows 40 / 8 + 2 characters
    int width = e.Cur->Layout.ColumnChars(1);
    Enter("A1", "'a label much longer than its column");
    Enter("B1", "123456789012");
    Cell("B1")->Format = ParseFormatSpec("F2");
    Enter("C1", "\"right");
    Enter("D1", "7");
    Cell("D1")->Format = kFormatHidden;
    Enter("E1", "\\-");
    Enter("F1", "'   padded   ");

    ASSERT_TRUE(Copy("A1..F1"));

    EXPECT_EQ(clip.PlainText(), "a label much longer than its column\t" + std::string(width, '*') + "\tright\t\t" +
                                    std::string(e.Cur->Layout.ColumnChars(4), '-') + "\tpadded\r\n");
}

TEST_F(ClipboardRenderingTest, TabsAndLineBreaksInsideATextBecomeBlanks)
{
    Enter("A1", "'a\tb\rc\nd");
    Enter("B1", "1");

    ASSERT_TRUE(Copy("A1..B1"));
    EXPECT_EQ(clip.PlainText(), "a b c d\t1\r\n");
    EXPECT_EQ(clip.PrivateText().substr(0, 9), "'a b c d;");

    // Pasted back, the block keeps its shape: one row of two cells.
    ASSERT_TRUE(Paste("A3"));
    EXPECT_EQ(Contents("A3"), "'a b c d");
    EXPECT_EQ(Value("B3"), 1);
    EXPECT_EQ(Cell("A4"), nullptr);
}

TEST_F(ClipboardRenderingTest, UnderProtectionProtectedCellsGiveNoEntryText)
{
    Enter("A1", "+B1*2");
    Enter("A2", "3");
    Cell("A2")->Format = 0x02;  // unprotected, fixed with two decimals
    e.Settings().Protect = true;

    ASSERT_TRUE(Copy("A1..A2"));
    EXPECT_EQ(clip.PrivateText(), "\r\n3;F2,C-1073741824,T255,H0,S0\r\n");
    EXPECT_EQ(clip.PlainText(), "0\r\n3.00\r\n");

    e.Settings().Protect = false;
    ASSERT_TRUE(Copy("A1..A2"));
    EXPECT_EQ(clip.PrivateText().substr(0, 6), "+B1*2;");
}

TEST_F(ClipboardRenderingTest, TheWholeRenderingAndItsEndByteMustFit)
{
    // Empty positions: each row is its tabs and CR LF, columns + 1 bytes.
    constexpr int kFitCols = 116, kFitRows = 547;
    constexpr int kOverCols = 127, kOverRows = 500;
    static_assert(kFitRows * (kFitCols + 1) + 1 == kClipboardLimit);
    static_assert(kOverRows * (kOverCols + 1) == kClipboardLimit);

    TRange fits{0, 0, kFitCols - 1, kFitRows - 1};
    ASSERT_TRUE(ClipboardCopy(e, clip, fits, false));
    EXPECT_EQ(clip.PrivateText().size(), kClipboardLimit - 1);
    EXPECT_EQ(clip.PlainText().size(), kClipboardLimit - 1);
    EXPECT_EQ(notify.Messages(), 0);

    clip.SetData("kept", "kept too");
    TRange over{0, 0, kOverCols - 1, kOverRows - 1};
    EXPECT_FALSE(ClipboardCopy(e, clip, over, false));
    EXPECT_EQ(notify.LastMessage(), ErrorMessage(kClipboardTooLarge));
    EXPECT_EQ(clip.PrivateText(), "kept");
    EXPECT_EQ(clip.PlainText(), "kept too");
}

TEST_F(ClipboardRenderingTest, ATooLargeCutIsRefusedAndErasesNothing)
{
    const std::string label = "'" + std::string(kMaxCellText - 1, 'w');
    for (int row = 1; row <= 300; ++row)
        Enter("A" + std::to_string(row), label);
    clip.SetData("kept", "kept");

    EXPECT_FALSE(Copy("A1..A300", true));
    EXPECT_EQ(notify.LastMessage(), ErrorMessage(kClipboardTooLarge));
    EXPECT_EQ(clip.PrivateText(), "kept");
    EXPECT_EQ(Contents("A1"), label);
    EXPECT_EQ(Contents("A300"), label);
}

// ---- Copy or cut, then paste ----

class ClipboardRoundTripTest : public ClipboardTest {};

TEST_F(ClipboardRoundTripTest, EntriesAndAttributesArriveUnchanged)
{
    Enter("A1", "+B1");
    Enter("B1", "1234.5");
    SetAttributes("B1", {ParseFormatSpec("C2"), 0xC0123456, 3, 4, 0x11});
    Enter("C1", "'a;F2,C5");  // a label that looks like an attribute list
    Enter("A2", "+\"a\"&\"b\"");
    Enter("C2", "0.25");
    SetAttributes("C2", {ParseFormatSpec("P1"), 0x00FF00, 255, 1, 0});
    Attributes a1 = AttributesAt("A1");
    Attributes c1 = AttributesAt("C1");

    ASSERT_TRUE(Copy("A1..C2"));
    ASSERT_TRUE(Paste("A5"));

    // Formulas travel as their text: the reference is not re-based.
    EXPECT_EQ(Contents("A5"), "+B1");
    EXPECT_EQ(Value("A5"), 1234.5);
    EXPECT_EQ(AttributesAt("A5"), a1);
    EXPECT_EQ(Value("B5"), 1234.5);
    EXPECT_EQ(AttributesAt("B5"), AttributesAt("B1"));
    EXPECT_EQ(Contents("C5"), "'a;F2,C5");
    EXPECT_EQ(AttributesAt("C5"), c1);
    EXPECT_EQ(Contents("A6"), "+\"a\"&\"b\"");
    EXPECT_EQ(Kind("A6"), ckStrFormula);
    EXPECT_EQ(LabelText(e, Cell("A6")), "ab");
    EXPECT_EQ(Cell("B6"), nullptr);
    EXPECT_EQ(Value("C6"), 0.25);
    EXPECT_EQ(AttributesAt("C6"), AttributesAt("C2"));
    EXPECT_EQ(notify.Messages(), 0);
}

TEST_F(ClipboardRoundTripTest, CutClearsContentsKeepsFormatsAndPasteRestores)
{
    Enter("A1", "+B1");
    Enter("B1", "42");
    Enter("A2", "'text");
    SetAttributes("A1", {0x02, 0x00112233, 1, 2, 0x21});
    SetAttributes("A2", {0x7E, 0x00445566, 4, 5, 0x02});
    Attributes a1 = AttributesAt("A1");
    Attributes a2 = AttributesAt("A2");

    ASSERT_TRUE(Copy("A1..A2", true));
    EXPECT_EQ(Kind("A1"), ckBlank);
    EXPECT_EQ(Kind("A2"), ckBlank);
    EXPECT_EQ(AttributesAt("A1"), a1);
    EXPECT_EQ(AttributesAt("A2"), a2);

    ASSERT_TRUE(Paste("D1"));
    EXPECT_EQ(Contents("D1"), "+B1");
    EXPECT_EQ(Value("D1"), 42);
    EXPECT_EQ(AttributesAt("D1"), a1);
    EXPECT_EQ(Contents("D2"), "'text");
    EXPECT_EQ(AttributesAt("D2"), a2);
}

TEST_F(ClipboardRoundTripTest, ABlankCellWithFormatsPastesAsOne)
{
    SetAttributes("A1", {0x03, 0x00ABCDEF, 6, 7, 0x01});
    Attributes formats = AttributesAt("A1");

    ASSERT_TRUE(Copy("A1"));
    ASSERT_TRUE(Paste("C3"));
    ASSERT_NE(Cell("C3"), nullptr);
    EXPECT_EQ(Kind("C3"), ckBlank);
    EXPECT_EQ(AttributesAt("C3"), formats);
}

// ---- Pasting ----

class ClipboardPasteTest : public ClipboardTest {};

TEST_F(ClipboardPasteTest, ForeignTextIsEnteredAsTyped)
{
    ASSERT_TRUE(PastePlain("A1", "1\t2\r\nabc\t+A1*2\r\n\r\n"));

    EXPECT_EQ(Kind("A1"), ckInteger);
    EXPECT_EQ(Value("A1"), 1);
    EXPECT_EQ(Value("B1"), 2);
    EXPECT_EQ(Contents("A2"), "'abc");
    EXPECT_EQ(Contents("B2"), "+A1*2");
    EXPECT_EQ(Value("B2"), 2);
    EXPECT_EQ(Cell("A3"), nullptr);
    EXPECT_EQ(notify.Messages(), 0);
}

TEST_F(ClipboardPasteTest, ASemicolonInForeignTextIsText)
{
    Enter("D1", "1");
    SetAttributes("D1", {0x02, 0x00000009, 1, 1, 1});
    Attributes before = AttributesAt("D1");

    ASSERT_TRUE(PastePlain("D1", "x;F255"));
    EXPECT_EQ(Contents("D1"), "'x;F255");
    EXPECT_EQ(AttributesAt("D1"), before);
}

TEST_F(ClipboardPasteTest, RunsOfLineBreaksEndOneLine)
{
    ASSERT_TRUE(PastePlain("A1", "\r\na\r\r\n\nb\rc\nd"));
    EXPECT_EQ(Contents("A1"), "'a");
    EXPECT_EQ(Contents("A2"), "'b");
    EXPECT_EQ(Contents("A3"), "'c");
    EXPECT_EQ(Contents("A4"), "'d");
    EXPECT_EQ(Cell("A5"), nullptr);
}

TEST_F(ClipboardPasteTest, TheTextEndsAtItsFirstZeroByte)
{
    using namespace std::string_literals;
    ASSERT_TRUE(PastePlain("A1", "a\tb\0\tc\r\nd"s));
    EXPECT_EQ(Contents("B1"), "'b");
    EXPECT_EQ(Cell("C1"), nullptr);
    EXPECT_EQ(Cell("A2"), nullptr);
}

TEST_F(ClipboardPasteTest, TheBlockReplacesWhatWasThereHolesIncluded)
{
    Enter("A1", "10");
    Enter("B1", "20");
    Enter("C1", "30");
    Enter("D1", "+B1+1");

    ASSERT_TRUE(PastePlain("A1", "1\t\t3"));
    EXPECT_EQ(Value("A1"), 1);
    EXPECT_EQ(Kind("B1"), ckBlank);
    EXPECT_EQ(Value("C1"), 3);
    EXPECT_EQ(Value("D1"), 1);  // the formula reading the cleared cell follows
}

TEST_F(ClipboardPasteTest, FormulasReadCellsPastedAfterThem)
{
    ASSERT_TRUE(PastePlain("A1", "+A2*2\r\n5"));
    EXPECT_EQ(Value("A1"), 10);
}

TEST_F(ClipboardPasteTest, AnEntryThatFailsStopsThePaste)
{
    EXPECT_FALSE(PastePlain("A1", "1\t+*\t3\r\n4"));
    EXPECT_EQ(Value("A1"), 1);
    EXPECT_EQ(Kind("B1"), ckBlank);
    EXPECT_EQ(Cell("C1"), nullptr);
    EXPECT_EQ(Cell("A2"), nullptr);
    EXPECT_EQ(notify.LastMessage(), ErrorMessage(kCopyError));
}

TEST_F(ClipboardPasteTest, TooMuchTextIsRefused)
{
    EXPECT_FALSE(PastePlain("A1", std::string(kClipboardLimit, 'a')));
    EXPECT_EQ(notify.LastMessage(), ErrorMessage(kClipboardTooLarge));
    EXPECT_EQ(Cell("A1"), nullptr);

    // One byte less fits; the entry is cut to what a cell holds.
    ASSERT_TRUE(PastePlain("A1", std::string(kClipboardLimit - 1, 'a')));
    EXPECT_EQ(Contents("A1"), "'" + std::string(kMaxCellText - 1, 'a'));
}

TEST_F(ClipboardPasteTest, ABlockRunningPastTheWorksheetIsRefused)
{
    EXPECT_FALSE(PastePlain("IV8192", "a\tb"));
    EXPECT_EQ(notify.LastMessage(), ErrorMessage(kCopyError));
    EXPECT_FALSE(PastePlain("A8192", "a\r\nb"));
    EXPECT_FALSE(PastePrivate("IU8191", "1\t2\t3;F0"));
    EXPECT_EQ(Cell("IV8192"), nullptr);
    EXPECT_EQ(Cell("A8192"), nullptr);
    EXPECT_EQ(Cell("IU8191"), nullptr);
    EXPECT_FALSE(ClipboardPaste(e, clip, kRows, 0));
    EXPECT_FALSE(ClipboardPaste(e, clip, 0, -1));

    ASSERT_TRUE(PastePlain("IU8191", "1\t2\r\n3\t4"));
    EXPECT_EQ(Value("IV8192"), 4);
}

TEST_F(ClipboardPasteTest, NothingToPasteChangesNothing)
{
    Enter("A1", "1");
    EXPECT_FALSE(PastePlain("A1", ""));
    EXPECT_FALSE(PastePlain("A1", "\r\n\r\n"));
    EXPECT_EQ(Value("A1"), 1);
}

TEST_F(ClipboardPasteTest, UndoRestoresTheCellsBeforeThePaste)
{
    Enter("A1", "1");
    Enter("B1", "'old");

    ASSERT_TRUE(PastePlain("A1", "9\t8\r\n7"));
    ASSERT_EQ(Value("A1"), 9);
    Undo(e);

    EXPECT_EQ(Value("A1"), 1);
    EXPECT_EQ(Contents("B1"), "'old");
    EXPECT_EQ(Cell("A2"), nullptr);
}

TEST_F(ClipboardPasteTest, ProtectedCellsKeepContentsAndAttributes)
{
    Enter("A1", "1");
    Enter("A2", "2");
    SetAttributes("A1", {0x02, 5, 1, 1, 1});                     // unprotected
    SetAttributes("A2", {kFormatProtected | 0x02, 5, 1, 1, 1});  // protected
    Attributes a2 = AttributesAt("A2");
    e.Settings().Protect = true;

    EXPECT_FALSE(PastePrivate("A1", "8;F1,C9\r\n9;F1,C9"));
    EXPECT_EQ(Value("A1"), 8);
    EXPECT_EQ(AttributesAt("A1"), Attributes(0x01, 9, 1, 1, 1));
    EXPECT_EQ(Value("A2"), 2);
    EXPECT_EQ(AttributesAt("A2"), a2);
    EXPECT_EQ(notify.LastMessage(), ErrorMessage(kProtectedCell));

    // Attributes alone go nowhere protected either, and make no new cell.
    int messages = notify.Messages();
    EXPECT_TRUE(PastePrivate("A2", ";F1,C9\r\n;F1,C9"));
    EXPECT_EQ(Value("A2"), 2);
    EXPECT_EQ(AttributesAt("A2"), a2);
    EXPECT_EQ(Cell("A3"), nullptr);
    EXPECT_EQ(notify.Messages(), messages);
}

// ---- Attribute lists of the private rendering ----

class ClipboardItemTest : public ClipboardTest {};

TEST_F(ClipboardItemTest, BadElementsAreIgnored)
{
    const Attributes before{0x02, 7, 1, 2, 3};
    for (const char* item : {"x;F999", "x;F256", "x;f-1", "x;C-99999999999", "x;C2147483648", "x;Q5", "x;;;", "x;F",
                             "x;", "x;F99999999999999999999999999", "x;F 5", "x; F5", "x;F5x", "x;F+5", "x;,,,",
                             "x;F0x10", "x;C", "x;5", "x;FF5", "x;T-1", "x;H300", "x;S1e2"}) {
        SetAttributes("A1", before);
        EXPECT_TRUE(PastePrivate("A1", item)) << item;
        EXPECT_EQ(AttributesAt("A1"), before) << item;
    }
    EXPECT_EQ(Contents("A1"), "'x");
    EXPECT_EQ(notify.Messages(), 0);
}

TEST_F(ClipboardItemTest, GoodElementsApplyAtTheirLimitsInAnyCase)
{
    ASSERT_TRUE(PastePrivate("A1", "x;F255,t0,h255,S0,C-2147483648"));
    EXPECT_EQ(AttributesAt("A1"), Attributes(255, 0x80000000u, 0, 255, 0));

    ASSERT_TRUE(PastePrivate("A1", "x;c2147483647,f0"));
    EXPECT_EQ(AttributesAt("A1"), Attributes(0, 0x7FFFFFFFu, 0, 255, 0));

    // Good elements beside bad ones still apply.
    ASSERT_TRUE(PastePrivate("A1", "x;F999,s4,C-1,Q1"));
    EXPECT_EQ(AttributesAt("A1"), Attributes(0, 0xFFFFFFFFu, 0, 255, 4));
}

TEST_F(ClipboardItemTest, TheEntryEndsAtTheLastSemicolon)
{
    ASSERT_TRUE(PastePrivate("A1", "'a;b;c;F2\tno attributes\t;;F3"));
    EXPECT_EQ(Contents("A1"), "'a;b;c");
    EXPECT_EQ(Cell("A1")->Format, 0x02);
    EXPECT_EQ(Contents("B1"), "'no attributes");
    EXPECT_EQ(Contents("C1"), "';");
    EXPECT_EQ(Cell("C1")->Format, 0x03);
}

// Random private and plain texts: nothing crashes, every row list stays in
// order, and an attribute changes only when its letter was in the text.
TEST_F(ClipboardItemTest, RandomTextsNeverBreakTheWorksheet)
{
    static const char* const kPieces[] = {"F", "C", "t", "h", "S", "Q", "-", "9", "255", "99999999999", ";", ",",
                                          "\t", "\r\n", "\n", "x", "'", "+A1", "0", "@SUM(", "\"", " "};
    std::mt19937 rng(20240611);
    auto pick = [&rng](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    const Attributes defaults = AttributesOf(e.DefaultCell);

    for (int round = 0; round < 3000; ++round) {
        std::string text;
        for (int n = pick(24); n > 0; --n) {
            if (pick(5) == 0)
                text += static_cast<char>(pick(256));
            else
                text += kPieces[pick(static_cast<int>(std::size(kPieces)))];
        }
        bool privateFormat = pick(2) == 0;
        FreeAllCells(e);
        clip.SetData(privateFormat ? text : "", privateFormat ? "" : text);
        int row = pick(2) ? pick(20) : kRows - 1 - pick(3);
        int col = pick(2) ? pick(20) : kCols - 1 - pick(3);
        ClipboardPaste(e, clip, row, col);

        auto mentions = [&text](char letter) {
            return text.find(letter) != std::string::npos || text.find(static_cast<char>(letter + 32)) != std::string::npos;
        };
        for (int r = 0; r <= e.Cur->MaxRow; ++r) {
            int lastCol = -1;
            for (PCell c = FindFirstAtOrAfter(e, r, 0); c; c = NextCell(e, c)) {
                ASSERT_EQ(c->Row, r) << text;
                ASSERT_GT(c->Col, lastCol) << text;
                lastCol = c->Col;
                Attributes a = AttributesOf(*c);
                if (!privateFormat) {
                    ASSERT_EQ(a, defaults) << text;
                    continue;
                }
                EXPECT_TRUE(std::get<0>(a) == std::get<0>(defaults) || mentions('F')) << text;
                EXPECT_TRUE(std::get<1>(a) == std::get<1>(defaults) || mentions('C')) << text;
                EXPECT_TRUE(std::get<2>(a) == std::get<2>(defaults) || mentions('T')) << text;
                EXPECT_TRUE(std::get<3>(a) == std::get<3>(defaults) || mentions('H')) << text;
                EXPECT_TRUE(std::get<4>(a) == std::get<4>(defaults) || mentions('S')) << text;
            }
        }
    }
}

}  // namespace
}  // namespace zt
