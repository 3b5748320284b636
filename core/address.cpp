#include "core/address.h"

#include <algorithm>

#include "core/range_names.h"

namespace zt {

namespace {

constexpr std::size_t kMaxRangeText = 20;
// Column letters stop growing here: far beyond IV, yet (c + 1) * 26 + 25 and
// c * rows-per-sheet stay well inside int and the value fits a TRange field.
constexpr int kColumnCap = 0x7FFF;

// Rows in one sheet; 0, 8192 and anything a sane file cannot hold mean one sheet.
int SheetRows(const Engine& e)
{
    int rows = e.Cur ? e.Settings().RowsPerSheet : kRows;
    return (rows > 0 && rows < kRows) ? rows : kRows;
}

bool IsUpperLetter(char ch) { return ch >= 'A' && ch <= 'Z'; }

// Column letters in bijective base 26: A = 0, Z = 25, AA = 26, IV = 255;
// -1 when there are none. c + 1 is the letters' value counted from A = 1.
int ReadColumn(std::string_view text, std::size_t& i)
{
    int c = -1;
    while (i < text.size() && IsUpperLetter(text[i])) {
        c = std::min((c + 1) * 26 + (text[i] - 64) - 1, kColumnCap);
        ++i;
    }
    return c;
}

// A decimal row number, every digit of it; false when anything else. A
// number beyond the worksheet stops growing at kRows + 1, which is
// enough to refuse it.
bool ReadRowNumber(std::string_view text, int& n)
{
    if (text.empty())
        return false;
    n = 0;
    for (char ch : text) {
        if (ch < '0' || ch > '9')
            return false;
        n = std::min(n * 10 + (ch - '0'), kRows + 1);
    }
    return true;
}

// The worksheet row of row number n (1-based) in sheet `sheet`, or -1 when
// that row is not on the worksheet. Without a sheet prefix n counts from
// the top of the worksheet; with one it must lie within that sheet.
int WorksheetRow(int sheet, bool prefixed, int n, int sheetRows)
{
    if (!prefixed)
        return n >= 1 && n <= kRows ? n - 1 : -1;
    if (sheet < 0 || n < 1 || n > sheetRows)
        return -1;
    int row = sheet * sheetRows + n - 1;
    return row < kRows ? row : -1;
}

// An address: optional sheet letters and colon, "$" markers, column
// letters, row number. `malformed` when the row part is not a number or a
// colon has no sheet letters before it.
ParsedAddress ReadAddress(std::string_view text, int sheetRows, bool& malformed)
{
    ParsedAddress a;
    std::size_t i = 0;
    if (i < text.size() && text[i] == '$') {
        a.AbsCol = true;
        ++i;
    }
    int c = ReadColumn(text, i);
    int sheet = 0;
    bool prefixed = i < text.size() && text[i] == ':';
    if (prefixed) {
        sheet = c;
        ++i;
        if (i < text.size() && text[i] == '$') {
            a.AbsCol = true;
            ++i;
        }
        c = ReadColumn(text, i);
    }
    if (i < text.size() && text[i] == '$') {
        a.AbsRow = true;
        ++i;
    }
    int n = 0;
    malformed = !ReadRowNumber(text.substr(i), n) || (prefixed && sheet < 0);
    a.Col = c;
    a.Row = WorksheetRow(sheet, prefixed, n, sheetRows);
    return a;
}

std::string Cut(std::string s)
{
    if (s.size() > kMaxRangeText)
        s.resize(kMaxRangeText);
    return s;
}

// Corners joined by the first ".."; without one, a single cell.
TRange ParseCorners(Engine& e, std::string_view s, AbsFlags& flags)
{
    std::size_t dots = s.find("..");
    std::string_view first = dots == std::string_view::npos ? s : s.substr(0, dots);
    std::string_view last = dots == std::string_view::npos ? s : s.substr(dots + 2);
    bool firstMalformed = false, lastMalformed = false;
    ParsedAddress a = ReadAddress(first, SheetRows(e), firstMalformed);
    ParsedAddress b = ReadAddress(last, SheetRows(e), lastMalformed);
    flags = AbsFlags{a.AbsCol, a.AbsRow, b.AbsCol, b.AbsRow};
    // Well-formed corners off the worksheet are told apart from text that
    // is no address at all, so that callers can say which it was.
    if (firstMalformed || lastMalformed || a.Col < 0 || b.Col < 0)
        e.Err.Set(kInvalidRange);
    else if (!ValidCoord(a.Row, a.Col) || !ValidCoord(b.Row, b.Col))
        e.Err.Set(kOutOfRange);
    return TRange{static_cast<std::int16_t>(a.Col), static_cast<std::int16_t>(a.Row),
                  static_cast<std::int16_t>(b.Col), static_cast<std::int16_t>(b.Row)};
}

TRange ParseUpperRange(Engine& e, const std::string& s, AbsFlags& flags)
{
    if (s.empty())
        return kUndefinedRange;
    if (s == "RANGE")
        return e.View->Selection(e);
    if (s == "CURSOR")
        return e.View->CursorCell(e);
    bool dollar = s.front() == '$';
    if (int entry = FindRangeName(e, std::string_view(s).substr(dollar ? 1 : 0)); entry > 0) {
        flags = AbsFlags{dollar, dollar, dollar, dollar};
        return RangeOfName(e, entry);
    }
    return ParseCorners(e, s, flags);
}

}  // namespace

std::string UpperCase(std::string_view text)
{
    std::string s(text);
    for (char& ch : s)
        if (ch >= 'a' && ch <= 'z')
            ch = static_cast<char>(ch - 'a' + 'A');
    return s;
}

std::string ColumnLetters(int col)
{
    if (col < 26)
        return std::string(1, static_cast<char>(65 + col));
    return {static_cast<char>(64 + col / 26), static_cast<char>(65 + col % 26)};
}

std::string FormatAddress(const Engine& e, int row, int col, bool absCol, bool absRow)
{
    row &= kRows - 1;
    int sheetRows = SheetRows(e);
    std::string s;
    if (sheetRows != kRows)
        s = ColumnLetters(row / sheetRows) + ":";
    if (absCol)
        s += '$';
    s += ColumnLetters(col);
    if (absRow)
        s += '$';
    s += std::to_string(row % sheetRows + 1);
    return s;
}

std::string FormatSheetAddress(const Engine& e, int row, int col)
{
    row &= kRows - 1;
    return ColumnLetters(col) + std::to_string(row % SheetRows(e) + 1);
}

std::string FormatRange(const Engine& e, const TRange& r)
{
    return FormatRange(e, r, 0, false);
}

std::string FormatRange(const Engine& e, const TRange& r, std::uint8_t absNibble, bool forceSecond)
{
    if (!RangeIsDefined(r))
        return {};
    std::string s = FormatAddress(e, r.FirstRow, r.FirstCol, absNibble & 2, absNibble & 1);
    if (forceSecond || RangeIsBlock(r))
        s += ".." + FormatAddress(e, r.LastRow, r.LastCol, absNibble & 8, absNibble & 4);
    return Cut(std::move(s));
}

ParsedAddress ParseAddress(Engine& e, std::string_view text)
{
    bool malformed = false;
    ParsedAddress a = ReadAddress(text, SheetRows(e), malformed);
    if (malformed)
        e.Err.ErrorFlag = true;
    return a;
}

TRange ParseRange(Engine& e, std::string_view text, AbsFlags* abs)
{
    AbsFlags flags;
    TRange r = ParseUpperRange(e, UpperCase(text), flags);
    if (abs)
        *abs = flags;
    return r;
}

std::string RangeFailure(const Engine& e, std::string_view text)
{
    std::string_view reason = e.Err.ErrorText == kOutOfRange ? kOutOfRange : kInvalidRange;
    return std::string(reason) + ": " + std::string(text);
}

}  // namespace zt
