#include "shell/drawing/cell_drawing.h"

#include <gtest/gtest.h>

#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/cell_entry.h"
#include "core/cell_store.h"
#include "core/format_codes.h"
#include "formula/formula_engine.h"
#include "platform/recording_canvas.h"

namespace zt {
namespace {

// Columns are 70 pixels wide and rows 20 high; the default 10-point font
// of the recording canvas is 7 pixels a character and 16 high.
constexpr int kWidth = 70;
constexpr int kHeight = 20;
constexpr ColorRef kWhite = 0xFFFFFF;
constexpr ColorRef kBlack = 0x000000;
constexpr ColorRef kSilver = 0xC0C0C0;

using Text = RecordingCanvas::Text;
using Fill = RecordingCanvas::Fill;

class CellDrawingTest : public ::testing::Test {
protected:
    CellDrawingTest() : e(2048)
    {
        InstallFormulaEngine(e);
        RestoreContext(e, OpenSheet(e, "T"));
        e.Settings().Band = false;
        ctx.GridLines = 0;
        ctx.ColumnWidth = [this](int col) { return col < int(widths.size()) ? widths[col] : kWidth; };
    }

    PCell Enter(int row, int col, const std::string& text)
    {
        EnterCell(e, text, row, col);
        return FindCell(e, row, col);
    }

    static CanvasRect CellRect(int col, int row = 0)
    {
        return {col * kWidth, row * kHeight, (col + 1) * kWidth, (row + 1) * kHeight};
    }

    // Draws columns A..lastCol of a row into a fresh log.
    RecordingCanvas& Draw(int row = 0, int lastCol = 3)
    {
        canvas = RecordingCanvas{};
        canvas.AvailablePictures = pictures;
        CanvasRect first{0, row * kHeight, ctx.ColumnWidth(0), (row + 1) * kHeight};
        DrawRow(e, canvas, ctx, first, row, 0, lastCol);
        return canvas;
    }

    // The text written with the given characters; fails the test when absent.
    const Text& TextOf(const std::string& str)
    {
        for (const Text& t : canvas.Texts)
            if (t.Str == str)
                return t;
        ADD_FAILURE() << "no text \"" << str << "\"";
        static const Text none{};
        return none;
    }

    // The colour a rectangle was last filled with.
    ColorRef FillOf(const CanvasRect& r)
    {
        for (auto it = canvas.Fills.rbegin(); it != canvas.Fills.rend(); ++it)
            if (it->Rect.Left == r.Left && it->Rect.Right == r.Right && it->Rect.Top == r.Top)
                return it->Color;
        ADD_FAILURE() << "no fill at " << r.Left;
        return 0xDEADBEEF;
    }

    int SeqOfFill(const CanvasRect& r)
    {
        for (const Fill& f : canvas.Fills)
            if (f.Rect.Left == r.Left && f.Rect.Right == r.Right)
                return f.Seq;
        return -1;
    }

    std::vector<RecordingCanvas::LineOp> LinesOf(ColorRef color)
    {
        std::vector<RecordingCanvas::LineOp> out;
        for (const auto& l : canvas.Lines)
            if (l.Color == color)
                out.push_back(l);
        return out;
    }

    Engine e;
    RowDrawContext ctx;
    RecordingCanvas canvas;
    std::vector<int> widths;
    std::set<std::string> pictures;
};

TEST_F(CellDrawingTest, LabelPrefixesPlaceTheTextAndAreNotShown)
{
    Enter(0, 0, "'abc");
    Enter(0, 1, "\"abc");
    Enter(0, 2, "^abc");
    Enter(0, 3, "abc");  // the default prefix: left
    Draw();
    ASSERT_EQ(canvas.Texts.size(), 4u);
    EXPECT_EQ(canvas.Texts[0].X, 4);                       // 4 px in from the left edge
    EXPECT_EQ(canvas.Texts[1].X, 2 * kWidth - 4 - 21);     // ends 4 px before the right edge
    EXPECT_EQ(canvas.Texts[2].X, 2 * kWidth + (70 - 21) / 2);
    EXPECT_EQ(canvas.Texts[3].X, 3 * kWidth + 4);
    for (const Text& t : canvas.Texts) {
        EXPECT_EQ(t.Str, "abc");
        EXPECT_EQ(t.Color, kBlack);
    }
}

TEST_F(CellDrawingTest, StyleAlignmentOverridesPrefixAndNumberPlacement)
{
    Enter(0, 0, "'abc")->Style = 0x20;  // right
    Enter(0, 1, "42")->Style = 0x10;    // left
    Enter(0, 2, "'abc")->Style = 0x30;  // centre
    Enter(0, 3, "'abc")->Style = 0x80;  // style bits suppressed, alignment untouched
    Draw();
    ASSERT_EQ(canvas.Texts.size(), 4u);
    EXPECT_EQ(canvas.Texts[0].X, kWidth - 4 - 21);
    EXPECT_EQ(canvas.Texts[1].X, kWidth + 4);
    EXPECT_EQ(canvas.Texts[2].X, 2 * kWidth + (70 - 21) / 2);
    EXPECT_EQ(canvas.Texts[3].X, 3 * kWidth + 4);
}

TEST_F(CellDrawingTest, RepeatLabelsFillTheCellWithTheirFirstCharacter)
{
    Enter(0, 0, "\\-");
    Enter(0, 2, "\\ab");
    Enter(0, 3, "\\");  // nothing after the prefix
    Draw();
    ASSERT_EQ(canvas.Texts.size(), 2u);
    // (70 - 8) / 7 copies, starting at the left padding.
    EXPECT_EQ(canvas.Texts[0].Str, std::string(8, '-'));
    EXPECT_EQ(canvas.Texts[0].X, 4);
    EXPECT_EQ(canvas.Texts[0].Clip.Right, kWidth) << "a repeat label does not run into the empty B1";
    EXPECT_EQ(canvas.Texts[1].Str, std::string(8, 'a'));
    EXPECT_EQ(canvas.Texts[1].X, 2 * kWidth + 4);
}

TEST_F(CellDrawingTest, RepeatLabelInACellNarrowerThanItsPaddingDrawsNothing)
{
    widths = {6};
    Enter(0, 0, "\\=");
    Draw(0, 0);
    EXPECT_TRUE(canvas.Texts.empty());
    EXPECT_EQ(canvas.Fills.size(), 1u);
}

TEST_F(CellDrawingTest, LongLabelRunsOverEmptyCellsAndStopsAtAFilledOne)
{
    std::string longText = "A label far longer than one column";  // 238 px
    Enter(0, 0, longText);
    Enter(0, 2, "'C");
    Draw();
    const Text& t = TextOf(longText);
    EXPECT_EQ(t.X, 4);
    EXPECT_EQ(t.Clip.Left, 0);
    EXPECT_EQ(t.Clip.Right, 2 * kWidth);
    EXPECT_LT(SeqOfFill(CellRect(1)), t.Seq) << "the covered B1 is filled before the text";
    EXPECT_EQ(TextOf("C").Clip.Left, 2 * kWidth);
}

TEST_F(CellDrawingTest, LongLabelCoversBlankCellsWithTheirOwnBackground)
{
    std::string longText = "A label far longer than one column";
    Enter(0, 0, longText);
    PCell b1 = FindOrCreateCell(e, 0, 1);  // blank, with a background of its own
    b1->Colors = 0x40336699;
    Draw();
    EXPECT_EQ(TextOf(longText).Clip.Right, 4 * kWidth);
    EXPECT_EQ(FillOf(CellRect(1)), 0x336699u);
    EXPECT_EQ(FillOf(CellRect(2)), kWhite);
}

TEST_F(CellDrawingTest, LongLabelStopsAtTheLastColumnDrawn)
{
    std::string longText = "A label far longer than one column";
    Enter(0, 0, longText);
    Draw(0, 1);
    EXPECT_EQ(TextOf(longText).Clip.Right, 2 * kWidth);
    EXPECT_EQ(canvas.Fills.size(), 2u);
}

TEST_F(CellDrawingTest, RightAlignedLongLabelStartsAtTheCellsLeftEdge)
{
    std::string body = "Right aligned and too long";
    Enter(0, 0, "\"" + body);
    Draw();
    EXPECT_EQ(TextOf(body).X, 0);
}

TEST_F(CellDrawingTest, NumbersAreRightAlignedInTheSheetDefaultFormat)
{
    e.Settings().DefaultFormat = 0x02;  // fixed, two decimals
    Enter(0, 0, "1.5");
    Enter(0, 1, "7")->Format = 0x80 | kFormatGeneral;
    Draw();
    const Text& fixed = TextOf("1.50 ");
    EXPECT_EQ(fixed.X + 35, kWidth - 4);
    EXPECT_EQ(TextOf("7 ").X + 14, 2 * kWidth - 4);
}

TEST_F(CellDrawingTest, NumberTooWideShowsXsAndNeverSpills)
{
    widths = {30};
    Enter(0, 0, "123456789");
    Draw();
    ASSERT_EQ(canvas.Texts.size(), 1u);
    const Text& t = canvas.Texts[0];
    EXPECT_EQ(t.Str, "xxx");  // (30 - 8) / 7
    EXPECT_EQ(t.X, 4);
    EXPECT_EQ(t.Clip.Left, 0);
    EXPECT_EQ(t.Clip.Right, 30);
}

TEST_F(CellDrawingTest, ErrorFormulaShowsErr)
{
    Enter(0, 0, "+1/0");
    Enter(0, 1, "@ERR");
    Draw();
    ASSERT_EQ(canvas.Texts.size(), 2u);
    EXPECT_EQ(canvas.Texts[0].Str, "ERR");
    EXPECT_EQ(canvas.Texts[0].X, kWidth - 4 - 21);
    EXPECT_EQ(canvas.Texts[1].Str, "ERR");
}

TEST_F(CellDrawingTest, FormatCodesHideOrShowTheFormulaText)
{
    Enter(0, 0, "5")->Format = 0x80 | kFormatHidden;
    Enter(0, 1, "+A1*2")->Format = kFormatText;
    Enter(0, 2, "+\"ab\"&\"cd\"")->Format = kFormatText;
    Enter(0, 3, "+\"ab\"&\"cd\"");
    Draw();
    ASSERT_EQ(canvas.Texts.size(), 3u);
    EXPECT_EQ(canvas.Texts[0].Str, "+A1*2");
    EXPECT_EQ(canvas.Texts[0].X, kWidth + 4);
    EXPECT_EQ(canvas.Texts[1].Str, "+\"ab\"&\"cd\"");
    EXPECT_EQ(canvas.Texts[2].Str, "abcd");
    EXPECT_EQ(FillOf(CellRect(0)), kWhite) << "a hidden cell is still painted";
}

TEST_F(CellDrawingTest, SelectionAndPointerColoursOnTheScreen)
{
    Enter(0, 0, "'a");
    Enter(0, 1, "'b");
    Enter(0, 2, "'c");
    ctx.Selection = TRange{0, 0, 1, 0};  // A1..B1
    ctx.CurRow = 0;
    ctx.CurCol = 0;
    Draw();
    EXPECT_EQ(FillOf(CellRect(0)), 0xFF0000u);  // the pointer colour's background
    EXPECT_EQ(TextOf("a").Color, kPalette16[15]);
    EXPECT_EQ(FillOf(CellRect(1)), 0x0000FFu);
    EXPECT_EQ(TextOf("b").Color, kWhite);
    EXPECT_EQ(FillOf(CellRect(2)), kWhite);
    EXPECT_EQ(TextOf("c").Color, kBlack);
}

TEST_F(CellDrawingTest, PointerWithoutForegroundKeepsTheCellsTextColour)
{
    e.Settings().CursorColor = 0x4000FF00;
    Enter(0, 0, "'a");
    ctx.CurRow = 0;
    ctx.CurCol = 0;
    Draw();
    EXPECT_EQ(FillOf(CellRect(0)), 0x00FF00u);
    EXPECT_EQ(TextOf("a").Color, kBlack);
}

TEST_F(CellDrawingTest, PrintingUsesWhiteAndShowsNoSelectionOrBanding)
{
    e.Settings().Band = true;
    e.Settings().BackColor = 0xC0C0C0;
    Enter(1, 0, "'a");
    Enter(1, 1, "'b");
    ctx.Selection = TRange{0, 1, 1, 1};
    ctx.CurRow = 1;
    ctx.CurCol = 0;
    ctx.Printing = true;
    Draw(1);
    for (const Fill& f : canvas.Fills)
        EXPECT_EQ(f.Color, kWhite);
    EXPECT_EQ(TextOf("a").Color, kBlack);
    EXPECT_EQ(TextOf("b").Color, kBlack);
}

TEST_F(CellDrawingTest, SheetBackgroundAndBanding)
{
    e.Settings().BackColor = 0x12C0C0C0;  // only the low 24 bits count
    Draw(0, 0);
    EXPECT_EQ(FillOf(CellRect(0, 0)), 0xC0C0C0u);
    e.Settings().Band = true;
    Draw(1, 0);
    EXPECT_EQ(FillOf(CellRect(0, 1)), 0xE0FFFFu);
    Draw(2, 0);
    EXPECT_EQ(FillOf(CellRect(0, 2)), 0xC0C0C0u);
    ctx.AltBackground = true;  // the window's switch wins over sheet and band colours
    Draw(1, 0);
    EXPECT_EQ(FillOf(CellRect(0, 1)), 0xFFFF80u);
}

TEST_F(CellDrawingTest, CellColoursOverrideTheSheetColours)
{
    Enter(0, 0, "'own")->Colors = 0x05123456;     // purple on its own background
    Enter(0, 1, "'fore")->Colors = 0x8C000000;    // red text, sheet background
    Enter(0, 2, "'back")->Colors = 0x40654321;    // own background, default text
    Draw();
    EXPECT_EQ(FillOf(CellRect(0)), 0x123456u);
    EXPECT_EQ(TextOf("own").Color, kPalette16[5]);
    EXPECT_EQ(FillOf(CellRect(1)), kWhite);
    EXPECT_EQ(TextOf("fore").Color, kPalette16[12]);
    EXPECT_EQ(FillOf(CellRect(2)), 0x654321u);
    EXPECT_EQ(TextOf("back").Color, kBlack);
}

TEST_F(CellDrawingTest, ValueLabelAndNegativeColoursFromTheSettings)
{
    Enter(0, 0, "-5");
    Enter(0, 1, "5");
    Enter(0, 2, "'lbl");
    Draw();
    EXPECT_EQ(TextOf("-5 ").Color, kBlack) << "negative colouring is off by default";
    e.Settings().NegColor = true;
    e.Settings().ValueColor = 0x09000000;
    e.Settings().LabelColor = 0x0A000000;
    Draw();
    EXPECT_EQ(TextOf("-5 ").Color, kPalette16[12]);
    EXPECT_EQ(TextOf("5 ").Color, kPalette16[9]);
    EXPECT_EQ(TextOf("lbl").Color, kPalette16[10]);
}

TEST_F(CellDrawingTest, UnlockedCellsShowTheProtectionColourWhileProtected)
{
    Enter(0, 0, "'free")->Format &= ~kFormatProtected;
    Enter(0, 1, "'locked");
    Draw();
    EXPECT_EQ(FillOf(CellRect(0)), kWhite);
    e.Settings().Protect = true;
    Draw();
    EXPECT_EQ(FillOf(CellRect(0)), 0x800000u);
    EXPECT_EQ(TextOf("free").Color, kPalette16[7]);
    EXPECT_EQ(FillOf(CellRect(1)), kWhite);
    EXPECT_EQ(TextOf("locked").Color, kBlack);
}

TEST_F(CellDrawingTest, FontsFollowTheCellAndChangeOnlyWhenTheyDiffer)
{
    ctx.Typefaces = {"Arial", "Courier New"};
    ctx.Scale = 200;
    Enter(0, 0, "'a");
    Enter(0, 1, "'b");
    PCell c = Enter(0, 2, "'c");
    c->Typeface = 1;
    c->FontSize = 5;  // 12 points
    c->Style = 0x07;
    Enter(0, 3, "'d")->Style = 0x87;  // style bits not applied
    Draw();
    ASSERT_EQ(canvas.FontChanges.size(), 3u);
    const CanvasFont& plain = TextOf("a").Font;
    EXPECT_EQ(plain.Name, "Arial");
    EXPECT_EQ(plain.PointSize, 20);
    EXPECT_EQ(TextOf("b").Font, plain);
    const CanvasFont& styled = TextOf("c").Font;
    EXPECT_EQ(styled.Name, "Courier New");
    EXPECT_EQ(styled.PointSize, 24);
    EXPECT_TRUE(styled.Bold && styled.Italic && styled.Underline);
    EXPECT_EQ(TextOf("d").Font, plain);
}

TEST_F(CellDrawingTest, NumberWidthInCharactersFollowsTheCellsFont)
{
    // General cuts decimals to the column's width in characters: 70 px hold
    // ten 7-pixel characters but only four 17-pixel ones.
    Enter(0, 0, "1.23456789");
    PCell big = Enter(0, 1, "1.23456789");
    big->FontSize = 10;  // 24 points, 17 px a character
    Draw();
    EXPECT_EQ(canvas.Texts[0].Str, "1.2345678 ");
    EXPECT_EQ(canvas.Texts[1].Str, "1.2 ");
}

TEST_F(CellDrawingTest, GridLinesAroundEachCellSkipACoveredBoundary)
{
    ctx.GridLines = 2;
    Enter(0, 0, "A label far longer than one column");
    Enter(0, 2, "'C");
    Draw(0, 2);
    std::vector<int> verticals;
    for (const auto& l : LinesOf(kSilver))
        if (l.X1 == l.X2)
            verticals.push_back(l.X1);
    EXPECT_EQ(verticals, (std::vector<int>{2 * kWidth - 1, 3 * kWidth - 1}));
    ctx.Printing = true;
    Draw(0, 2);
    EXPECT_TRUE(LinesOf(kSilver).empty());
    ctx.PrintGrid = true;
    ctx.GridLines = 0;  // the screen's line mode does not matter on paper
    Draw(0, 2);
    EXPECT_FALSE(LinesOf(kSilver).empty());
}

TEST_F(CellDrawingTest, RowGridIsDrawnOnceAfterTheRow)
{
    ctx.GridLines = 1;
    Enter(0, 1, "'b");
    Draw(0, 2);
    auto lines = LinesOf(kSilver);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0].X1, 0);
    EXPECT_EQ(lines[0].X2, 3 * kWidth);
    EXPECT_EQ(lines[0].Y1, kHeight - 1);
    EXPECT_GT(lines[0].Seq, TextOf("b").Seq);
}

TEST_F(CellDrawingTest, BordersTakeTwoBitsPerSide)
{
    // left single, bottom thick, right dotted, top none
    FindOrCreateCell(e, 0, 0)->Borders = 0x01 | 0x08 | 0x30;
    Draw(0, 0);
    auto lines = LinesOf(kBlack);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].X1, 0);
    EXPECT_EQ(lines[0].X2, 0);
    EXPECT_EQ(lines[0].Width, 1);
    EXPECT_EQ(lines[1].Y1, kHeight - 1);
    EXPECT_EQ(lines[1].Width, 2);
    EXPECT_EQ(lines[2].X1, kWidth - 1);
    EXPECT_EQ(lines[2].Style, PenStyle::Dot);
}

TEST_F(CellDrawingTest, ThreeDLookIsLightAboveAndDarkBelow)
{
    ctx.ThreeD = true;
    Draw(0, 0);
    ASSERT_EQ(canvas.Lines.size(), 4u);
    for (const auto& l : canvas.Lines) {
        bool topOrLeft = (l.Y1 == 0 && l.Y2 == 0) || (l.X1 == 0 && l.X2 == 0);
        EXPECT_EQ(l.Color, topOrLeft ? kWhite : 0x808080u);
    }
}

TEST_F(CellDrawingTest, PictureLabelsDrawThePictureInsteadOfText)
{
    pictures = {"logo.bmp", "mark.bmp"};
    Enter(0, 0, "|<logo.bmp");
    Enter(0, 1, "|>mark.bmp");
    Enter(0, 2, "|<missing.bmp");
    Draw();
    EXPECT_TRUE(canvas.Texts.empty());
    ASSERT_EQ(canvas.Pictures.size(), 3u);
    EXPECT_EQ(canvas.Pictures[0].File, "logo.bmp");
    EXPECT_TRUE(canvas.Pictures[0].Stretch);
    EXPECT_EQ(canvas.Pictures[0].Dest.Right, kWidth);
    EXPECT_EQ(canvas.Pictures[1].File, "mark.bmp");
    EXPECT_FALSE(canvas.Pictures[1].Stretch);
    EXPECT_EQ(canvas.Pictures[1].Dest.Left, kWidth);
    EXPECT_LT(SeqOfFill(CellRect(1)), canvas.Pictures[1].Seq);
}

TEST_F(CellDrawingTest, RowMarkerShowsOnScreenButNotOnPaper)
{
    Enter(0, 0, "|note");
    Draw(0, 0);
    EXPECT_EQ(TextOf("note").X, 4);
    ctx.Printing = true;
    Draw(0, 0);
    EXPECT_TRUE(canvas.Texts.empty());
}

// Fails on one text, as a canvas whose device went away would.
class FailingCanvas : public RecordingCanvas {
public:
    void TextOut(int x, int y, std::string_view text, ColorRef color, const CanvasRect& clip) override
    {
        if (text == "boom")
            throw std::runtime_error("device lost");
        RecordingCanvas::TextOut(x, y, text, color, clip);
    }
};

TEST_F(CellDrawingTest, FailureInACellEndsTheRow)
{
    Enter(0, 0, "'ok");
    Enter(0, 1, "'boom");
    Enter(0, 2, "'after");
    FailingCanvas failing;
    DrawRow(e, failing, ctx, CellRect(0), 0, 0, 3);
    ASSERT_EQ(failing.Texts.size(), 1u);
    EXPECT_EQ(failing.Texts[0].Str, "ok");
    EXPECT_EQ(failing.Fills.size(), 2u) << "C1 and D1 stay unpainted";
}

TEST_F(CellDrawingTest, ColumnsBeyondTheSheetAreNotDrawn)
{
    Enter(0, 255, "'last");
    canvas = RecordingCanvas{};
    DrawRow(e, canvas, ctx, CellRect(0), 0, 250, 300);
    EXPECT_EQ(canvas.Fills.size(), 6u);
    EXPECT_EQ(TextOf("last").X, 5 * kWidth + 4);
}

}  // namespace
}  // namespace zt
