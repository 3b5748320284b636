#include "core/cell_entry.h"

#include <charconv>
#include <cmath>
#include <string>

#include "core/cell_store.h"
#include "core/dependencies.h"
#include "core/dates.h"
#include "core/format_codes.h"

namespace zt {

namespace {

bool IsDigit(char ch) { return ch >= '0' && ch <= '9'; }
bool IsLetter(char ch) { return (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z'); }

// Optional sign, digits, optional fraction, optional exponent; nothing else.
bool IsDecimalText(std::string_view s)
{
    std::size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        ++i;
    std::size_t digits = 0;
    while (i < s.size() && IsDigit(s[i]))
        ++i, ++digits;
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && IsDigit(s[i]))
            ++i, ++digits;
    }
    if (digits == 0)
        return false;
    if (i < s.size() && (s[i] == 'E' || s[i] == 'e')) {
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-'))
            ++i;
        std::size_t expDigits = 0;
        while (i < s.size() && IsDigit(s[i]))
            ++i, ++expDigits;
        if (expDigits == 0)
            return false;
    }
    return i == s.size();
}

void StoreFormula(Engine& e, PCell cell, std::string text, bool hadDependents)
{
    e.Formula->CompileFormula(e, text);
    cell->Kind = ckBlank;
    if (e.Err.ErrorFlag) {
        // Other failures stay silent: the edit line shows the text in red.
        if (e.Err.ErrorText == kFormulaTooLong)
            ReportPendingError(e);
        return;
    }
    // The code's first byte is its length, which the short string supplies.
    cell->Text = SetText(e, cell->Text, std::string_view(text).substr(1));
    if (e.Err.ErrorFlag) {
        ReportPendingError(e);
        return;
    }
    cell->Kind = ckFormula;
    e.Formula->LinkDependencies(e, cell);
    if (e.Err.ErrorFlag) {
        // No room for its dependency links: a formula that would not be
        // recalculated when its cells change cannot stay.
        e.Formula->UnlinkDependencies(e, cell);
        FreeText(e, cell->Text);
        cell->Kind = ckBlank;
        ReportPendingError(e);
        return;
    }
    if (e.Settings().ManualCalc || !hadDependents)
        e.Formula->EvaluateCell(e, cell);
}

// The label with its prefix, cut to what a cell holds; LabelCut when any
// of the text was lost.
EntryText StoreLabel(Engine& e, PCell cell, std::string_view text)
{
    ZeroValue(*cell);
    std::string label;
    if (text.empty() || !IsLabelPrefix(text[0]))
        label.push_back(e.Settings().Prefix);
    label.append(text);
    EntryText fit = EntryText::Whole;
    if (label.size() > kMaxCellText) {
        label.resize(kMaxCellText);
        fit = EntryText::LabelCut;
    }
    cell->Text = SetText(e, cell->Text, label);
    if (e.Err.ErrorFlag) {
        cell->Kind = ckBlank;
        ReportPendingError(e);
    }
    return fit;
}

// Date entry in the D4 and D5 formats; false when the text holds no date.
bool ReadDate(std::string_view text, bool monthFirst, double& serial)
{
    std::string compact;
    for (char ch : text)
        if (ch != ' ')
            compact.push_back(ch);
    return !compact.empty() && DateValue(compact, monthFirst, serial);
}

enum class EntryKind { Number, Formula, Label };

struct Classified {
    EntryKind Kind = EntryKind::Label;
    double Number = 0;  // the number or date serial of a Number
};

// What a text enters as in a cell of format code f: a date in the D4 and D5
// formats, a number, a formula, or else a label. The whole text is read,
// so a long number keeps every digit.
Classified ClassifyEntry(std::string_view text, std::uint8_t f, const WorksheetSettings& s)
{
    double v = 0;
    if ((f == kFormatD4 || f == kFormatD5) && text.find('/') != std::string_view::npos &&
        ReadDate(text, f == kFormatD4, v))
        return {EntryKind::Number, v};
    if (text.empty() || !IsValueStart(text[0], s) || f == kFormatLabel)
        return {EntryKind::Label};
    bool signedName = text.size() > 1 && (text[0] == '+' || text[0] == '-') && IsLetter(text[1]);
    if (!signedName && ParseEntryNumber(text, s.Period, v))
        return {EntryKind::Number, v};
    return {EntryKind::Formula};
}

// Refuses text that cannot be stored as it stands: a 0 byte, which no
// cell text can hold, or a formula longer than a cell's text, which would
// compile as another formula if cut. False with the error reported.
bool AcceptableEntry(Engine& e, std::string_view text, EntryKind kind)
{
    if (text.find('\0') != std::string_view::npos)
        e.Err.Set(kInvalidCharacter);
    else if (kind == EntryKind::Formula && text.size() > kMaxCellText)
        e.Err.Set(kFormulaTooLong);
    else
        return true;
    ReportPendingError(e);
    return false;
}

}  // namespace

bool IsValueStart(char ch, const WorksheetSettings& s)
{
    switch (ch) {
    case '!': case '%': case '(': case '+': case '-': case '@': return true;
    default: return IsDigit(ch) || ch == s.Period;
    }
}

bool IsLabelPrefix(char ch)
{
    return ch == '\'' || ch == '"' || ch == '^' || ch == '\\' || ch == '|';
}

bool ParseEntryNumber(std::string_view text, char period, double& value)
{
    std::string s(text);
    if (period != '.') {
        if (s.find('.') != std::string::npos)
            return false;
        for (char& ch : s)
            if (ch == period)
                ch = '.';
    }
    if (!s.empty() && s[0] == '.')
        s.insert(0, "0");
    else if (s.size() > 1 && (s[0] == '+' || s[0] == '-') && s[1] == '.')
        s.insert(1, "0");
    if (!IsDecimalText(s))
        return false;
    std::string_view digits = s;
    if (digits[0] == '+')
        digits.remove_prefix(1);
    double v = 0;
    auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), v);
    if (ec != std::errc() || end != digits.data() + digits.size() || !std::isfinite(v))
        return false;
    value = v;
    return true;
}

void StoreNumber(PCell cell, double value)
{
    if (!std::isfinite(value)) {
        cell->Kind = ckReal | kfError;
        WriteReal(*cell, -1.0);
        return;
    }
    if (value == std::trunc(value) && std::fabs(value) < 32767) {
        cell->Kind = ckInteger;
        WriteInteger(*cell, static_cast<std::int16_t>(value));
    } else {
        cell->Kind = ckReal;
        WriteReal(*cell, value);
    }
}

void StoreValue(Engine& e, int row, int col, double value, bool recalc)
{
    PCell cell = FindCell(e, row, col);
    if (e.Settings().Protect && (!cell || (cell->Format & kFormatProtected)))
        return;
    cell = FindOrCreateCell(e, row, col);
    if (!cell)
        return;
    ClearCell(e, cell);
    if (std::isfinite(value) && value == std::trunc(value) && value >= -32768 && value <= 32767) {
        cell->Kind = ckInteger;
        WriteInteger(*cell, static_cast<std::int16_t>(value));
    } else {
        StoreNumber(cell, value);
    }
    if (recalc && !e.Settings().ManualCalc && HasDependents(e, cell))
        e.Formula->RecalcFrom(e, cell);
}

EntryText EnterCell(Engine& e, std::string_view text, int row, int col)
{
    e.Err.Clear();
    e.SheetRecalculated = false;
    if (!e.Cur)
        return EntryText::Whole;

    PCell cell = FindCell(e, row, col);
    std::uint8_t f = (cell ? cell->Format : e.DefaultCell.Format) & kFormatCodeMask;
    const Classified entry = ClassifyEntry(text, f, e.Settings());
    if (!AcceptableEntry(e, text, entry.Kind))
        return EntryText::Whole;
    if (cell) {
        if ((cell->Format & kFormatProtected) && e.Settings().Protect) {
            e.Err.Set(kProtectedCell);
            ReportPendingError(e);
            return EntryText::Whole;
        }
        ClearCell(e, cell);
        e.Cur->Modified = true;
    } else {
        if (text.empty())
            return EntryText::Whole;
        if (e.Settings().Protect) {
            e.Err.Set(kProtectedCell);
            ReportPendingError(e);
            return EntryText::Whole;
        }
        cell = FindOrCreateCell(e, row, col);
        if (!cell) {
            ReportPendingError(e);
            return EntryText::Whole;
        }
    }

    cell->Kind = ckString;
    bool hadDependents = HasDependents(e, cell);
    // An entry refused after the cell was cleared leaves it blank: what
    // reads it is recalculated, and the refusal stays the pending error.
    auto refused = [&] {
        if (e.Settings().ManualCalc || !hadDependents)
            return;
        ErrorState error = e.Err;
        e.Formula->RecalcFrom(e, cell);
        e.Err = error;
    };

    EntryText fit = EntryText::Whole;
    switch (entry.Kind) {
    case EntryKind::Number:
        StoreNumber(cell, entry.Number);
        break;
    case EntryKind::Formula:
        StoreFormula(e, cell, std::string(text), hadDependents);
        break;
    case EntryKind::Label:
        fit = StoreLabel(e, cell, text);
        break;
    }
    if (e.Err.ErrorFlag) {
        refused();
        return EntryText::Whole;
    }

    if (!e.Settings().ManualCalc && hadDependents) {
        e.Formula->RecalcFrom(e, cell);
        e.SheetRecalculated = true;
    }
    return fit;
}

}  // namespace zt
