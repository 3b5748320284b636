#include "core/cell_text.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "core/cell_store.h"
#include "core/format_codes.h"
#include "core/number_format.h"

namespace zt {

namespace {

constexpr int kCellTextWidth = 20;

constexpr char kRightDotsPrefix = '\xAE';
constexpr char kLeftDotsPrefix = '\xAF';
constexpr char kRowMarkerPrefix = '|';

// What a cell puts into its column: the text and where it starts, counted
// from the column's left edge. Labels may run past the column.
struct Placement {
    std::string Text;
    int Offset = 0;
};

// A number that does not fit its column becomes a row of "*".
Placement PlaceNumber(std::string text, int width, bool leftAligned)
{
    int length = static_cast<int>(text.size());
    if (length > width)
        return {std::string(static_cast<std::size_t>(width), '*'), 0};
    return {std::move(text), leftAligned ? 0 : width - length};
}

int DotCount(int width, int length) { return std::max(0, width - 1 - length); }

// The label's first character says where the rest goes.
Placement PlaceLabel(std::string_view label, int width)
{
    if (label.empty())
        return {};
    std::string body(label.substr(1));
    int length = static_cast<int>(body.size());
    switch (label[0]) {
    case '"': return {std::move(body), width - 1 - length};
    case '^': return {std::move(body), (width - length) / 2};
    case '\\':
        if (body.empty())
            return {};
        return {std::string(static_cast<std::size_t>(width), body[0]), 0};
    case kRightDotsPrefix:
        return {std::string(static_cast<std::size_t>(DotCount(width, length)), '.') + body, 0};
    case kLeftDotsPrefix:
        return {body + std::string(static_cast<std::size_t>(DotCount(width, length)), '.'), 0};
    case kRowMarkerPrefix: return {};  // marks the row, never printed
    default: return {std::move(body), 0};
    }
}

Placement PlaceCell(Engine& e, PCell cell, int width)
{
    std::uint8_t format = cell->Format & kFormatCodeMask;
    if (format == kFormatDefault)
        format = e.Settings().DefaultFormat & kFormatCodeMask;
    std::uint8_t kind = BaseKind(cell->Kind);
    if (format == kFormatHidden || kind == ckBlank)
        return {};
    if (HasError(cell))
        return PlaceNumber("ERR ", width, false);
    if (format == kFormatText && IsFormulaKind(kind))
        return {e.Formula->FormulaToText(e, cell), 0};
    if (IsNumericKind(kind))
        return PlaceNumber(FormatValue(width, format, NumericValue(*cell), e.Settings()), width,
                           format == kFormatPlusMinus);
    if (IsLabelOrStrFormula(kind))
        return PlaceLabel(CellText(e, cell), width);
    return {};
}

}  // namespace

std::string LabelText(Engine& e, const TCell* cell)
{
    if (!cell || HasError(cell))
        return {};
    switch (BaseKind(cell->Kind)) {
    case ckString: {
        std::string_view text = TextOf(e, cell->Text);
        return std::string(text.empty() ? text : text.substr(1));
    }
    case ckStrFormula: return std::string(TextOf(e, ReadStrResult(*cell)));
    default: return {};
    }
}

std::string CellText(Engine& e, const TCell* cell)
{
    if (!cell)
        return {};
    if (HasError(cell))
        return "ERR";
    switch (BaseKind(cell->Kind)) {
    case ckString: return std::string(TextOf(e, cell->Text));
    case ckStrFormula: return e.Settings().Prefix + LabelText(e, cell);
    case ckFormula:
    case ckReal:
    case ckInteger: return FormatValue(kCellTextWidth, cell->Format, NumericValue(*cell), e.Settings());
    default: return {};
    }
}

std::string RenderRow(Engine& e, int row, int firstCol, int lastCol)
{
    firstCol = std::max(firstCol, 0);
    lastCol = std::min(lastCol, kCols - 1);
    if (!e.Cur || firstCol > lastCol)
        return {};
    std::vector<std::size_t> starts;
    std::size_t length = 0;
    for (int col = firstCol; col <= lastCol; ++col) {
        starts.push_back(length);
        length += static_cast<std::size_t>(e.Cur->Layout.ColumnChars(col));
    }
    std::string line(length, ' ');
    for (PCell c = FindFirstAtOrAfter(e, row, firstCol); c && c->Col <= lastCol; c = NextCell(e, c)) {
        int width = e.Cur->Layout.ColumnChars(c->Col);
        Placement p = PlaceCell(e, c, width);
        if (p.Text.empty())
            continue;
        // A cell that shows something ends any label running on from the left.
        std::size_t start = starts[static_cast<std::size_t>(c->Col - firstCol)];
        std::fill(line.begin() + static_cast<std::ptrdiff_t>(start), line.end(), ' ');
        std::size_t at = start + static_cast<std::size_t>(std::max(p.Offset, 0));
        if (at < length)
            line.replace(at, std::min(p.Text.size(), length - at), p.Text, 0, length - at);
    }
    return line;
}

}  // namespace zt
