#include "app/batch_args.h"

#include <cctype>
#include <charconv>
#include <string>

#include "app/batch.h"
#include "core/address.h"
#include "core/cell_text.h"
#include "formula/cell_contents.h"

namespace zt {

std::string_view Trim(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

std::string_view NextWord(std::string_view& rest)
{
    while (!rest.empty() && rest.front() == ' ')
        rest.remove_prefix(1);
    std::size_t end = rest.find(' ');
    std::string_view word = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view{} : rest.substr(end + 1);
    return word;
}

bool ArgRange(BatchSession& s, std::string_view text, TRange& r)
{
    Engine& e = s.Eng();
    e.Err.Clear();
    r = ParseRange(e, text);
    if (text.empty() || e.Err.ErrorFlag || !RangeIsDefined(r)) {
        std::string failure = RangeFailure(e, text);
        e.Err.Clear();
        s.Fail(failure);
        return false;
    }
    r = OrderedRange(r);
    return true;
}

bool ArgCell(BatchSession& s, std::string_view text, int& row, int& col)
{
    TRange r;
    if (!ArgRange(s, text, r))
        return false;
    if (RangeIsBlock(r)) {
        s.Fail("Invalid Address: " + std::string(text));
        return false;
    }
    row = r.FirstRow;
    col = r.FirstCol;
    return true;
}

bool ArgInt(BatchSession& s, std::string_view text, long lo, long hi, long& v)
{
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size() || v < lo || v > hi) {
        s.Fail("Invalid Number: " + std::string(text));
        return false;
    }
    return true;
}

bool NoMoreArgs(BatchSession& s, std::string_view rest)
{
    if (Trim(rest).empty())
        return true;
    s.Fail("Too Many Arguments: " + std::string(Trim(rest)));
    return false;
}

bool SameWord(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

std::string CellValueText(Engine& e, const TCell* c)
{
    if (HasError(c))
        return "ERR";
    if (c && IsLabelOrStrFormula(c->Kind))
        return LabelText(e, c);
    char buf[40];
    auto end = std::to_chars(buf, buf + sizeof buf, c ? NumericValue(*c) : 0.0, std::chars_format::general, 17).ptr;
    return std::string(buf, end);
}

}  // namespace zt
