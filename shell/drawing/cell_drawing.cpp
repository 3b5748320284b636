#include "shell/drawing/cell_drawing.h"

#include <algorithm>
#include <exception>
#include <iterator>
#include <optional>

#include "core/cell_store.h"
#include "core/cell_text.h"
#include "core/format_codes.h"
#include "core/number_format.h"

namespace zt {

namespace {

constexpr int kPad = 4;  // text keeps this far from the cell's left and right edges
constexpr std::uint8_t kDefaultTypeface = 255;
constexpr ColorRef kWhite = 0xFFFFFF;
constexpr ColorRef kBlack = 0x000000;
constexpr ColorRef kGridColor = 0xC0C0C0;
constexpr ColorRef kShadowColor = 0x808080;
constexpr ColorRef kSelectionFill = 0x0000FF;
constexpr ColorRef kSelectionText = kWhite;

ColorRef BackgroundOf(std::uint32_t word) { return word & 0xFFFFFF; }
bool HasForeground(std::uint32_t word) { return (word & kColorDefaultForeground) == 0; }
ColorRef ForegroundOf(std::uint32_t word) { return kPalette16[(word >> kColorForegroundShift) & 0x0F]; }

enum class Align { Left, Right, Centre };

// What one cell shows and how it behaves in the row.
struct CellContent {
    std::string Text{};
    Align Alignment = Align::Left;
    bool Number = false;    // values and ERR: replaced by "x" when too wide, never spill
    bool Spills = false;    // may run on into empty cells to the right
    bool Negative = false;  // a negative value, for the negative colour
    bool HasPicture = false;
    std::string PictureFile{};
    bool Stretch = false;
};

bool IsEmptyCell(const TCell* c) { return !c || BaseKind(c->Kind) == ckBlank; }

class RowPainter {
public:
    RowPainter(Engine& e, Canvas& canvas, const RowDrawContext& ctx, int row, int firstCol, int lastCol)
        : e_(e), canvas_(canvas), ctx_(ctx), s_(e.Settings()), row_(row), firstCol_(firstCol), lastCol_(lastCol)
    {
    }

    void Paint(const CanvasRect& firstCell)
    {
        CollectCells();
        LayOutColumns(firstCell);
        std::vector<int> unitEnds;  // right edges of the drawn cells and spans
        try {
            for (int col = firstCol_; col <= lastCol_;) {
                int next = DrawCell(col);
                unitEnds.push_back(rects_[Index(next - 1)].Right);
                col = next;
            }
        } catch (const std::exception&) {
            return;  // the rest of the row waits for the next repaint
        }
        if (RowGrid())
            DrawRowGrid(unitEnds);
    }

private:
    int Index(int col) const { return col - firstCol_; }
    PCell CellOf(int col) const { return cells_[Index(col)]; }

    // One walk of the row list instead of a lookup per column.
    void CollectCells()
    {
        cells_.assign(static_cast<std::size_t>(lastCol_ - firstCol_ + 1), nullptr);
        for (PCell c = FindFirstAtOrAfter(e_, row_, firstCol_); c && c->Col <= lastCol_; c = NextCell(e_, c))
            cells_[Index(c->Col)] = c;
    }

    void LayOutColumns(const CanvasRect& firstCell)
    {
        int left = firstCell.Left;
        for (int col = firstCol_; col <= lastCol_; ++col) {
            int width = col == firstCol_ ? firstCell.Width() : ColumnWidth(col);
            rects_.push_back({left, firstCell.Top, left + width, firstCell.Bottom});
            left += width;
        }
    }

    int ColumnWidth(int col) const { return ctx_.ColumnWidth ? ctx_.ColumnWidth(col) : e_.View->ColumnWidth(e_, col); }

    // Paper has lines around each cell when the print grid is on; the screen
    // follows the grid's line mode.
    bool CellGrid() const { return ctx_.Printing ? ctx_.PrintGrid : (ctx_.GridLines & 2) != 0; }
    bool RowGrid() const { return !ctx_.Printing && (ctx_.GridLines & 1) != 0; }

    // The cells a drawing occupies: its own, or a label's run-on.
    struct Span {
        CanvasRect Area;
        int Next;  // the first column after it
    };

    // Draws the cell at col and whatever its text covers; returns the next column to draw.
    int DrawCell(int col)
    {
        PCell cell = CellOf(col);
        CanvasRect rect = rects_[Index(col)];
        canvas_.FillRect(rect, Background(cell, col));
        Span span{rect, col + 1};
        if (!IsEmptyCell(cell)) {
            SelectFont(*cell);
            CellContent content = ContentOf(*cell, rect.Width());
            if (content.HasPicture)
                canvas_.DrawPicture(content.PictureFile, rect, content.Stretch);
            else if (!content.Text.empty())
                span = DrawText(content, Foreground(*cell, col, content), Foreground(*cell, col, content, true), col);
        }
        if (CellGrid())
            DrawCellGrid(span.Area);
        for (int c = col; c < span.Next; ++c) {
            if (ctx_.ThreeD)
                DrawRaised(rects_[Index(c)]);
            if (CellOf(c))
                DrawBorders(CellOf(c)->Borders, rects_[Index(c)]);
        }
        return span.Next;
    }

    // Places and writes the text, clipped to the cell or, for a long label,
    // to the empty cells it runs into; the run-on part keeps the colour the
    // text has without the pointer's or the selection's highlight.
    Span DrawText(CellContent& content, ColorRef color, ColorRef runOnColor, int col)
    {
        const CanvasRect& rect = rects_[Index(col)];
        int width = canvas_.TextWidth(content.Text);
        int x = Place(content.Alignment, width, rect);
        if (content.Number && x + width > rect.Right) {
            int xWidth = std::max(1, canvas_.TextWidth("x"));
            content.Text.assign(static_cast<std::size_t>(std::max(0, (rect.Width() - 2 * kPad) / xWidth)), 'x');
            x = rect.Left + kPad;
        }
        Span span{rect, col + 1};
        for (; content.Spills && x + width > span.Area.Right && span.Next <= lastCol_ && IsEmptyCell(CellOf(span.Next));
             ++span.Next) {
            const CanvasRect& covered = rects_[Index(span.Next)];
            canvas_.FillRect(covered, Background(CellOf(span.Next), span.Next));
            span.Area.Right = covered.Right;
        }
        int y = rect.Top + std::max(0, (rect.Height() - canvas_.TextHeight()) / 2);
        if (span.Next > col + 1 && runOnColor != color) {
            canvas_.TextOut(x, y, content.Text, runOnColor, CanvasRect{rect.Right, rect.Top, span.Area.Right, rect.Bottom});
            canvas_.TextOut(x, y, content.Text, color, rect);
        } else {
            canvas_.TextOut(x, y, content.Text, color, span.Area);
        }
        return span;
    }

    static int Place(Align alignment, int width, const CanvasRect& rect)
    {
        int x = rect.Left + kPad;
        if (alignment == Align::Right)
            x = rect.Right - kPad - width;
        else if (alignment == Align::Centre)
            x = rect.Left + (rect.Width() - width) / 2;
        return std::max(x, rect.Left);
    }

    // A new font only when it differs from the one in use.
    void SelectFont(const TCell& cell)
    {
        CanvasFont font = ctx_.DefaultFont;
        if (cell.Typeface != kDefaultTypeface && cell.Typeface < ctx_.Typefaces.size())
            font.Name = ctx_.Typefaces[cell.Typeface];
        if (cell.FontSize >= 1 && cell.FontSize <= std::size(kFontSizes))
            font.PointSize = kFontSizes[cell.FontSize - 1];
        font.PointSize = std::max(1, font.PointSize * ctx_.Scale / 100);
        if ((cell.Style & 0x80) == 0) {
            font.Bold = font.Bold || (cell.Style & 1);
            font.Italic = font.Italic || (cell.Style & 2);
            font.Underline = font.Underline || (cell.Style & 4);
        }
        if (font_ != font) {
            canvas_.SetFont(font);
            font_ = font;
        }
    }

    std::uint8_t EffectiveFormat(const TCell& cell) const
    {
        std::uint8_t format = cell.Format & kFormatCodeMask;
        return format == kFormatDefault ? s_.DefaultFormat & kFormatCodeMask : format;
    }

    CellContent ContentOf(TCell& cell, int cellWidth)
    {
        std::uint8_t format = EffectiveFormat(cell);
        if (format == kFormatHidden)
            return {};
        CellContent content;
        if (HasError(&cell)) {
            content = {.Text = "ERR", .Alignment = Align::Right, .Number = true};
        } else if (format == kFormatText && IsFormulaKind(cell.Kind)) {
            content = {.Text = e_.Formula->FormulaToText(e_, &cell), .Spills = true};
        } else if (IsNumericKind(cell.Kind)) {
            content = NumberContent(cell, format, cellWidth);
        } else if (BaseKind(cell.Kind) == ckStrFormula) {
            content = {.Text = LabelText(e_, &cell), .Spills = true};
        } else if (BaseKind(cell.Kind) == ckString) {
            content = LabelContent(TextOf(e_, cell.Text), cellWidth);
        }
        switch ((cell.Style >> 4) & 7) {
        case 1: content.Alignment = Align::Left; break;
        case 2: content.Alignment = Align::Right; break;
        case 3: content.Alignment = Align::Centre; break;
        default: break;
        }
        return content;
    }

    CellContent NumberContent(const TCell& cell, std::uint8_t format, int cellWidth)
    {
        double value = NumericValue(cell);
        int chars = cellWidth / std::max(1, canvas_.TextWidth("0"));
        return {.Text = FormatValue(chars, format, value, s_),
                .Alignment = format == kFormatPlusMinus ? Align::Left : Align::Right,
                .Number = true,
                .Negative = value < 0};
    }

    // The prefix decides placement; "\" repeats, "|<" and "|>" name a picture.
    CellContent LabelContent(std::string_view label, int cellWidth)
    {
        if (label.empty())
            return {};
        std::string_view body = label.substr(1);
        switch (label[0]) {
        case '"': return {.Text = std::string(body), .Alignment = Align::Right, .Spills = true};
        case '^': return {.Text = std::string(body), .Alignment = Align::Centre, .Spills = true};
        case '\\': {
            if (body.empty())
                return {};
            int copies = (cellWidth - 2 * kPad) / std::max(1, canvas_.TextWidth(body.substr(0, 1)));
            return {.Text = std::string(static_cast<std::size_t>(std::max(0, copies)), body[0])};
        }
        case '|':
            if (!body.empty() && (body[0] == '<' || body[0] == '>'))
                return {.HasPicture = true, .PictureFile = std::string(body.substr(1)), .Stretch = body[0] == '<'};
            if (ctx_.Printing)
                return {};  // a row marker: shown on the screen, never printed
            break;
        default: break;
        }
        return {.Text = std::string(body), .Spills = true};
    }

    bool InSelection(int col) const
    {
        const TRange& r = ctx_.Selection;
        return RangeIsDefined(r) && row_ >= r.FirstRow && row_ <= r.LastRow && col >= r.FirstCol && col <= r.LastCol;
    }
    bool IsPointer(int col) const { return row_ == ctx_.CurRow && col == ctx_.CurCol; }
    bool ShowsUnlocked(const TCell* cell) const { return s_.Protect && cell && (cell->Format & kFormatProtected) == 0; }

    // Paper is white and shows neither pointer nor selection nor the
    // protection colouring; a cell's own colour shows on both.
    ColorRef Background(const TCell* cell, int col) const
    {
        ColorRef back = BackgroundOf(s_.BackColor);
        if (ctx_.Printing)
            back = kWhite;
        else if (ctx_.AltBackground)
            back = kAltBackground;
        else if (s_.Band && row_ % 2 == 1)
            back = BackgroundOf(s_.BandColor);
        if (cell && (cell->Colors & kColorDefaultBackground) == 0)
            back = BackgroundOf(cell->Colors);
        if (ctx_.Printing)
            return back;
        if (ShowsUnlocked(cell))
            back = BackgroundOf(s_.UnlockedColor);
        if (IsPointer(col))
            return BackgroundOf(s_.CursorColor);
        return InSelection(col) ? kSelectionFill : back;
    }

    ColorRef Foreground(const TCell& cell, int col, const CellContent& content, bool plain = false) const
    {
        if (!ctx_.Printing && !plain) {
            if (IsPointer(col)) {
                if (HasForeground(s_.CursorColor))
                    return ForegroundOf(s_.CursorColor);
            } else if (InSelection(col)) {
                return kSelectionText;
            }
        }
        if (HasForeground(cell.Colors))
            return ForegroundOf(cell.Colors);
        if (!ctx_.Printing && ShowsUnlocked(&cell) && HasForeground(s_.UnlockedColor))
            return ForegroundOf(s_.UnlockedColor);
        if (content.Negative && s_.NegColor)
            return ForegroundOf(s_.NegValueColor);
        std::uint32_t kindColor = content.Number ? s_.ValueColor : s_.LabelColor;
        return HasForeground(kindColor) ? ForegroundOf(kindColor) : kBlack;
    }

    // Each cell (or the span a label covers) draws its right and bottom
    // edge; the neighbours' edges close the box.
    void DrawCellGrid(const CanvasRect& r)
    {
        canvas_.Line(r.Left, r.Bottom - 1, r.Right, r.Bottom - 1, kGridColor, 1);
        canvas_.Line(r.Right - 1, r.Top, r.Right - 1, r.Bottom, kGridColor, 1);
    }

    // The whole row's lines in one pass: the bottom edge across the row and
    // a separator after every drawn cell or span.
    void DrawRowGrid(const std::vector<int>& unitEnds)
    {
        const CanvasRect& first = rects_.front();
        canvas_.Line(first.Left, first.Bottom - 1, rects_.back().Right, first.Bottom - 1, kGridColor, 1);
        for (int x : unitEnds)
            canvas_.Line(x - 1, first.Top, x - 1, first.Bottom, kGridColor, 1);
    }

    void DrawRaised(const CanvasRect& r)
    {
        canvas_.Line(r.Left, r.Top, r.Right, r.Top, kWhite, 1);
        canvas_.Line(r.Left, r.Top, r.Left, r.Bottom, kWhite, 1);
        canvas_.Line(r.Left, r.Bottom - 1, r.Right, r.Bottom - 1, kShadowColor, 1);
        canvas_.Line(r.Right - 1, r.Top, r.Right - 1, r.Bottom, kShadowColor, 1);
    }

    // Two bits per side: 1 a thin line, 2 a thick one, 3 a dotted one.
    void DrawBorders(std::uint8_t borders, const CanvasRect& r)
    {
        auto side = [&](int shift, int x1, int y1, int x2, int y2) {
            switch ((borders >> shift) & 3) {
            case 1: canvas_.Line(x1, y1, x2, y2, kBlack, 1); break;
            case 2: canvas_.Line(x1, y1, x2, y2, kBlack, 2); break;
            case 3: canvas_.Line(x1, y1, x2, y2, kBlack, 1, PenStyle::Dot); break;
            default: break;
            }
        };
        side(0, r.Left, r.Top, r.Left, r.Bottom);
        side(2, r.Left, r.Bottom - 1, r.Right, r.Bottom - 1);
        side(4, r.Right - 1, r.Top, r.Right - 1, r.Bottom);
        side(6, r.Left, r.Top, r.Right, r.Top);
    }

    Engine& e_;
    Canvas& canvas_;
    const RowDrawContext& ctx_;
    const WorksheetSettings& s_;
    int row_;
    int firstCol_;
    int lastCol_;
    std::vector<PCell> cells_;
    std::vector<CanvasRect> rects_;
    std::optional<CanvasFont> font_;
};

}  // namespace

void DrawRow(Engine& e, Canvas& canvas, const RowDrawContext& ctx, const CanvasRect& firstCell, int row,
             int firstCol, int lastCol)
{
    lastCol = std::min(lastCol, kCols - 1);
    firstCol = std::max(firstCol, 0);
    if (!e.Cur || firstCol > lastCol || row < 0 || row >= kRows)
        return;
    RowPainter(e, canvas, ctx, row, firstCol, lastCol).Paint(firstCell);
}

}  // namespace zt
