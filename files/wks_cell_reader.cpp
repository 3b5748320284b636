#include <algorithm>

#include "core/cell_entry.h"
#include "core/cell_store.h"
#include "core/palette.h"
#include "files/formula_file_code.h"
#include "files/wks_reader.h"
#include "files/wks_records.h"
#include "formula/compiled_formula.h"
#include "formula/file_links.h"

namespace zt {

namespace {

std::uint32_t ColorsOf(std::uint8_t h)
{
    if (h == 0)
        return kDefaultCellColors;
    return (static_cast<std::uint32_t>(h & 0x0F) << 24) | kPalette16[h >> 4];
}

// The body bytes a record of this type needs at least, after the cell header.
std::size_t MinimumValueSize(std::uint16_t type)
{
    switch (type) {
    case WKS_INTEGER: return 2;
    case WKS_NUMBER: return 8;
    case WKS_LABEL:
    case WKS_STRING: return 1;
    case WKS_FORMULA: return 10;
    default: return 0;
    }
}

// Blank, integer and number records have one size; the others carry a text
// or code of their own length.
bool HasOneSize(std::uint16_t type) { return type == WKS_BLANK || type == WKS_INTEGER || type == WKS_NUMBER; }

// The length a cell record of this type really has when its body starts at
// `from`, told by its own content: fixed for blanks and numbers, up to the
// text's 0 byte for labels, from the size word for formulas; 0 when the
// bytes cannot tell.
std::size_t OwnLength(std::uint16_t type, std::span<const std::uint8_t> from)
{
    std::size_t length = 0;
    if (HasOneSize(type)) {
        length = kCellHeaderSize + MinimumValueSize(type);
    } else if (type == WKS_LABEL || type == WKS_STRING) {
        auto text = from.subspan(std::min<std::size_t>(from.size(), kCellHeaderSize));
        auto limit = text.begin() + static_cast<std::ptrdiff_t>(std::min<std::size_t>(text.size(), 256));
        auto zero = std::find(text.begin(), limit, 0);
        if (zero != limit)
            length = kCellHeaderSize + static_cast<std::size_t>(zero - text.begin()) + 1;
    } else if (type == WKS_FORMULA && from.size() >= kCellHeaderSize + 10) {
        std::size_t size = from[kCellHeaderSize + 8] | (from[kCellHeaderSize + 9] << 8);
        if (size > 0 && size <= kMaxCodeLength)
            length = kCellHeaderSize + 10 + size;
    }
    return length <= from.size() ? length : 0;
}

// How far the records from `pos` on look whole: each of a type of the main
// section (a cell type may carry a colour) with a length that fits the
// file. Reaching the end record counts as the most, eight. Tells where the
// reading can go on after a record whose length word and content disagree.
int WholeRecordsAt(std::span<const std::uint8_t> file, std::size_t pos)
{
    constexpr int kEnough = 8;
    int run = 0;
    while (run < kEnough && pos + 4 <= file.size()) {
        std::uint16_t type = static_cast<std::uint16_t>(file[pos] | (file[pos + 1] << 8));
        std::size_t length = file[pos + 2] | (file[pos + 3] << 8);
        std::uint16_t base = type & 0xFF;
        bool cell = base == WKS_STRING || (base >= WKS_BLANK && base <= WKS_FORMULA);
        if (pos + 4 + length > file.size() || (!cell && type > WKS_NNAME))
            break;
        if (type == WKS_EOF && length == 0)
            return kEnough;
        ++run;
        pos += 4 + length;
    }
    return run;
}

// The text of a label or string record, which ends with its only 0 byte
// at the end of the body; at most 255 characters are kept.
bool ReadText(ByteReader& body, std::string& text)
{
    std::span<const std::uint8_t> rest = body.Take(body.Left());
    if (std::find(rest.begin(), rest.end(), 0) != rest.end() - 1)
        return false;
    text = TextUpToZero(rest, 255);
    return true;
}

}  // namespace

void WksReader::CellRecord(const WksRecord& rec)
{
    // A length word that disagrees with the record's own content is
    // damage: the record is left out and the reading goes on where the
    // record really ends, so that one changed byte costs one cell.
    std::size_t own = OwnLength(rec.Type, bytes_.subspan(rec.At));
    if (own != 0 && own != rec.Body.size() &&
        WholeRecordsAt(bytes_, rec.At + own) > WholeRecordsAt(bytes_, rec.At + rec.Body.size())) {
        Skip();
        in_.Seek(rec.At + own);
        return;
    }
    std::size_t need = kCellHeaderSize + MinimumValueSize(rec.Type);
    if (rec.Body.size() < need || (HasOneSize(rec.Type) && rec.Body.size() != need)) {
        Skip();
        return;
    }
    ByteReader body(rec.Body);
    std::uint8_t format = body.U8();
    int col = body.U16();
    int row = body.U16();
    if (link_) {
        StoreLinkValue(rec, row, col, body);
        return;
    }
    if (merge_) {
        if (rec.Type == WKS_STRING && !valuesOnly_)
            return;
        if (row < bounds_.FirstRow || row > bounds_.LastRow || col < bounds_.FirstCol || col > bounds_.LastCol)
            return;
        row += rowOffset_;
        col += colOffset_;
    }
    if (!ValidCoord(row, col)) {
        Fail(kOutOfRange);
        return;
    }
    StoreCell(rec, format, row, col, body);
}

void WksReader::StoreLinkValue(const WksRecord& rec, int row, int col, ByteReader& body)
{
    std::string text;
    switch (rec.Type) {
    case WKS_INTEGER:
        UpdateFileLink(e_, opt_.LinkFile, row, col, body.I16());
        break;
    case WKS_NUMBER:
        UpdateFileLink(e_, opt_.LinkFile, row, col, NormaliseFileValue(body.U64()));
        break;
    case WKS_FORMULA:
        UpdateFileLink(e_, opt_.LinkFile, row, col, NormaliseFileValue(body.U64()));
        break;
    case WKS_LABEL:
        if (ReadText(body, text) && !text.empty())
            UpdateFileLink(e_, opt_.LinkFile, row, col, std::string_view(text).substr(1));
        break;
    case WKS_STRING:
        if (ReadText(body, text))
            UpdateFileLink(e_, opt_.LinkFile, row, col, text);
        break;
    case WKS_BLANK:
        // A cell emptied in the other file reads as a blank cell does.
        UpdateFileLink(e_, opt_.LinkFile, row, col, std::string_view{});
        break;
    default:
        break;
    }
}

void WksReader::StoreCell(const WksRecord& rec, std::uint8_t format, int row, int col, ByteReader& body)
{
    std::string text;
    std::string code;
    std::uint16_t type = rec.Type;
    double value = 0;
    bool error = false;
    switch (type) {
    case WKS_INTEGER:
        value = body.I16();
        break;
    case WKS_NUMBER:
        value = NormaliseFileValue(body.U64());
        break;
    case WKS_LABEL:
    case WKS_STRING:
        // A label's text begins with its prefix; without one the record is
        // not a label, whatever its type says.
        if (!ReadText(body, text) || (type == WKS_LABEL && (text.empty() || !IsLabelPrefix(text[0])))) {
            Skip();
            return;
        }
        break;
    case WKS_FORMULA: {
        std::uint64_t bits = body.U64();
        error = bits == kErrorValueBits;
        value = error ? 0 : NormaliseFileValue(bits);
        std::size_t size = body.U16();
        if (valuesOnly_) {
            type = WKS_NUMBER;
            break;
        }
        // The size word must agree with the record and leave room for an
        // end marker; anything else is not a formula this program wrote.
        if (size != body.Left() || size == 0 || size > kMaxCodeLength) {
            Skip();
            return;
        }
        code = CodeFromFile(body.Take(size));
        if (static_cast<std::uint8_t>(code[0]) >= kMaxCodeLength) {
            Skip();
            return;
        }
        break;
    }
    default:
        break;
    }

    if (type == WKS_STRING && !merge_) {
        // The string result of the formula record just before it.
        PCell cell = FindCell(e_, row, col);
        if (!cell || cell->Kind != (ckFormula | kfUnlinked)) {
            Skip();
            return;
        }
        HeapAddr s = 0;
        if (!text.empty()) {
            s = SetText(e_, 0, text);
            if (!s) {
                Fail(kLowMemory);
                return;
            }
        }
        WriteStrResult(*cell, s);
        cell->Kind = ckStrFormula | kfUnlinked;
        return;
    }

    PCell cell = FindOrCreateCell(e_, row, col);
    if (!cell) {
        Fail(e_.Err.ErrorText.empty() ? std::string_view(kOutOfRange) : std::string_view(e_.Err.ErrorText));
        return;
    }
    double current = 0;
    if (merge_ && opt_.Action != MergeAction::Replace) {
        current = NumericValue(*cell);
        if (opt_.Action == MergeAction::Difference)
            value = -value;
    }
    HeapAddr cellAddr = AddrOf(e_, cell);
    ClearCell(e_, cell);
    cell = CellAt(e_, cellAddr);
    cell->Colors = ColorsOf(rec.Color);
    switch (type) {
    case WKS_BLANK:
        cell->Kind = ckBlank;
        break;
    case WKS_LABEL:
    case WKS_STRING:
        if (type == WKS_STRING)
            text.insert(text.begin(), e_.Settings().Prefix);
        cell->Text = SetText(e_, 0, text);
        cell->Kind = cell->Text ? ckString : ckBlank;
        break;
    case WKS_FORMULA:
        cell->Text = SetText(e_, 0, std::string_view(code).substr(1));
        cell->Kind = cell->Text ? static_cast<std::uint8_t>(ckFormula | kfUnlinked | (error ? kfError : 0))
                                : static_cast<std::uint8_t>(ckBlank);
        WriteReal(*cell, value + current);
        break;
    default:
        if (merge_) {
            cell->Kind = ckReal;
            WriteReal(*cell, value + current);
        } else if (type == WKS_INTEGER) {
            cell->Kind = ckInteger;
            WriteInteger(*cell, static_cast<std::int16_t>(value));
        } else {
            cell->Kind = ckReal;
            WriteReal(*cell, value);
        }
        break;
    }
    cell->Format = format;
    ++result_.Cells;
    if (e_.Err.OutOfMemory)
        Fail(kLowMemory);
}

bool LinkReadFormulas(Engine& e)
{
    bool all = true;
    for (int row = 0; row < kRows; ++row) {
        for (HeapAddr addr = e.Cur->RowHeads[static_cast<std::size_t>(row)]; addr;) {
            PCell cell = CellAt(e, addr);
            if (cell->Kind & kfUnlinked) {
                if (!IsFormulaKind(cell->Kind) || !FileCodeIsValid(e, CodeOf(e, cell)))
                    MarkDamagedFormula(e, cell);
                else if (!e.Formula->LinkStoredFormula(e, cell))
                    all = false;
            }
            addr = cell->Next;
        }
    }
    return all;
}

}  // namespace zt
