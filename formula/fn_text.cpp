// The string functions. Texts are Windows-1252 bytes, positions count from
// 1, and no result is longer than a cell's text (240 characters). A number
// given where a text is expected is taken as its number text.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "core/cell_entry.h"
#include "formula/function_support.h"
#include "formula/functions.h"
#include "formula/text_case.h"

namespace zt {

namespace {

constexpr std::uint8_t opLength = 70, opVal = 71, opStr = 72, opMid = 73, opChr = 74, opOrd = 75, opFind = 76,
                       opRepeat = 101, opUpper = 102, opLower = 103, opLeft = 104, opRight = 105, opReplace = 106,
                       opProper = 107, opTrim = 109, opClean = 110, opExact = 113, opHex = 146, opDec = 147,
                       opDms = 180;

// Longer than any text, so clamping a count or a position to it loses nothing.
constexpr double kBeyondAnyText = 256;

// A string result of at most 240 characters; ERR when an argument was.
void TextResult(EvalMachine& m, int n, std::string s)
{
    if (s.size() > static_cast<std::size_t>(kMaxCellText))
        s.resize(kMaxCellText);
    ResultString(m, n, s);
}

// A character count: rounded, negative counts are refused, huge ones clamped.
bool CountArg(double x, std::size_t& n)
{
    double r = std::nearbyint(x);
    if (r < 0)
        return false;
    n = static_cast<std::size_t>(std::min(r, kBeyondAnyText));
    return true;
}

// A 1-based position as a 0-based index: rounded, a position below 1
// counts as 1, and one past every text stays past it.
std::size_t StartArg(double x)
{
    double r = std::nearbyint(x);
    return static_cast<std::size_t>(std::clamp(r, 1.0, kBeyondAnyText) - 1);
}

void Length(EvalMachine& m) { ResultNumber(m, 1, static_cast<double>(ArgText(m, 0).size())); }

// @VAL(s): the number the text spells with the worksheet's decimal point;
// surrounding blanks are allowed, and anything else that is no number is 0.
void Val(EvalMachine& m)
{
    std::string s = ArgText(m, 0);
    std::size_t first = s.find_first_not_of(' ');
    std::size_t last = s.find_last_not_of(' ');
    double v = 0;
    if (first != std::string::npos && !ParseEntryNumber(s.substr(first, last - first + 1), m.E.Settings().Period, v))
        v = 0;
    ResultNumber(m, 1, v);
}

void Ord(EvalMachine& m)
{
    std::string s = ArgText(m, 0);
    ResultNumber(m, 1, s.empty() ? 0 : static_cast<unsigned char>(s[0]));
}

// @CHR(n): the character whose code is the low byte of n.
void Chr(EvalMachine& m)
{
    int n = 0;
    if (!SmallIntArg(m.Top().Value, n)) {
        ResultError(m, 1);
        return;
    }
    TextResult(m, 1, std::string(1, static_cast<char>(n & 0xFF)));
}

// @STR(x, n): x in fixed notation with n decimals.
void Str(EvalMachine& m)
{
    double x = m.Arg(1).Value;
    int decimals = 0;
    if (!SmallIntArg(m.Arg(0).Value, decimals) || decimals < 0 || decimals > kMaxCellText) {
        ResultError(m, 2);
        return;
    }
    // Room for the longest fixed text: 309 integer digits, a point and 240 decimals.
    char buf[640];
    int size = std::snprintf(buf, sizeof buf, "%.*f", decimals, x);
    if (size < 0 || size > kMaxCellText) {
        ResultError(m, 2);
        return;
    }
    std::string s(buf, static_cast<std::size_t>(size));
    // A value that rounds to zero is shown without a minus sign.
    if (s[0] == '-' && s.find_first_of("123456789") == std::string::npos)
        s.erase(0, 1);
    std::replace(s.begin(), s.end(), '.', m.E.Settings().Period);
    TextResult(m, 2, s);
}

// @MID(s, start, n).
void Mid(EvalMachine& m)
{
    std::string s = ArgText(m, 2);
    std::size_t start = StartArg(m.Arg(1).Value);
    std::size_t n = 0;
    if (!CountArg(m.Arg(0).Value, n)) {
        ResultError(m, 3);
        return;
    }
    TextResult(m, 3, start < s.size() ? s.substr(start, n) : std::string());
}

// @LEFT(s, n), @RIGHT(s, n): a count beyond the text gives all of it.
void LeftOrRight(EvalMachine& m)
{
    std::string s = ArgText(m, 1);
    std::size_t n = 0;
    if (!CountArg(m.Arg(0).Value, n)) {
        ResultError(m, 2);
        return;
    }
    n = std::min(n, s.size());
    TextResult(m, 2, m.Op == opLeft ? s.substr(0, n) : s.substr(s.size() - n));
}

void Repeat(EvalMachine& m)
{
    std::string s = ArgText(m, 1);
    std::size_t n = 0;
    if (!CountArg(m.Arg(0).Value, n)) {
        ResultError(m, 2);
        return;
    }
    std::string r;
    while (n-- > 0 && !s.empty() && r.size() < static_cast<std::size_t>(kMaxCellText))
        r += s;
    TextResult(m, 2, r);
}

void Upper(EvalMachine& m) { TextResult(m, 1, UpperText(ArgText(m, 0))); }
void Lower(EvalMachine& m) { TextResult(m, 1, LowerText(ArgText(m, 0))); }

// @PROPER(s): capitals at the start and after every blank, small letters
// everywhere else.
void Proper(EvalMachine& m)
{
    std::string s = ArgText(m, 0);
    for (std::size_t i = 0; i < s.size(); ++i)
        s[i] = i == 0 || s[i - 1] == ' ' ? UpperChar(s[i]) : LowerChar(s[i]);
    TextResult(m, 1, s);
}

// @TRIM(s): runs of blanks become one blank, then one blank is taken off
// each end.
void Trim(EvalMachine& m)
{
    std::string s = ArgText(m, 0);
    std::string r;
    for (char ch : s)
        if (ch != ' ' || r.empty() || r.back() != ' ')
            r += ch;
    if (!r.empty() && r.front() == ' ')
        r.erase(0, 1);
    if (!r.empty() && r.back() == ' ')
        r.pop_back();
    TextResult(m, 1, r);
}

// @CLEAN(s): only the printable ASCII characters and DEL remain.
void Clean(EvalMachine& m)
{
    std::string s = ArgText(m, 0);
    std::erase_if(s, [](char ch) {
        auto c = static_cast<unsigned char>(ch);
        return c < 32 || c > 127;
    });
    TextResult(m, 1, s);
}

void Exact(EvalMachine& m) { ResultNumber(m, 2, ArgText(m, 1) == ArgText(m, 0) ? 1 : 0); }

// @FIND(search, text, start): the 1-based position of the first occurrence
// at or after start, 0 when there is none.
void Find(EvalMachine& m)
{
    std::string search = ArgText(m, 2);
    std::string text = ArgText(m, 1);
    std::size_t start = StartArg(m.Arg(0).Value);
    std::size_t at = start <= text.size() ? text.find(search, start) : std::string::npos;
    ResultNumber(m, 3, at == std::string::npos ? 0 : static_cast<double>(at + 1));
}

// @REPLACE is not available in this program.
void Replace(EvalMachine& m) { ResultError(m, 1); }

// @HEX(x): four upper-case hexadecimal digits of x rounded; values outside
// 0..65535 do not fit them.
void Hex(EvalMachine& m)
{
    double r = std::nearbyint(m.Top().Value);
    if (!(r >= 0 && r <= 65535)) {
        ResultError(m, 1);
        return;
    }
    char buf[8];
    std::snprintf(buf, sizeof buf, "%04X", static_cast<unsigned>(r));
    TextResult(m, 1, buf);
}

int HexDigit(char ch)
{
    if (ch >= '0' && ch <= '9')
        return ch - '0';
    if (ch >= 'A' && ch <= 'F')
        return ch - 'A' + 10;
    if (ch >= 'a' && ch <= 'f')
        return ch - 'a' + 10;
    return -1;
}

// @DEC(text): one to eight hexadecimal digits, optionally after a "$",
// read as an unsigned number.
void Dec(EvalMachine& m)
{
    std::string s = ArgText(m, 0);
    std::string_view digits = s;
    if (!digits.empty() && digits.front() == '$')
        digits.remove_prefix(1);
    if (digits.empty() || digits.size() > 8) {
        ResultError(m, 1);
        return;
    }
    double v = 0;
    for (char ch : digits) {
        int d = HexDigit(ch);
        if (d < 0) {
            ResultError(m, 1);
            return;
        }
        v = v * 16 + d;
    }
    ResultNumber(m, 1, v);
}

// @DMS(x): the angle as degrees:minutes:seconds, minutes and seconds
// truncated. A tolerance of a few units in the last place keeps decimal
// angles such as 0.2825 (0:16:57) from losing a second to binary rounding.
void Dms(EvalMachine& m)
{
    double x = m.Top().Value;
    double total = std::floor(std::fabs(x) * 3600 * (1 + 1e-15));
    // Far beyond any real angle the tolerance itself would reach whole seconds.
    if (!(total < 1e12)) {
        ResultError(m, 1);
        return;
    }
    double degrees = std::floor(total / 3600);
    int rest = static_cast<int>(total - degrees * 3600);
    char buf[48];
    std::snprintf(buf, sizeof buf, "%s%.0f:%02d:%02d", x < 0 && total > 0 ? "-" : "", degrees, rest / 60, rest % 60);
    TextResult(m, 1, buf);
}

}  // namespace

void RegisterTextFunctions(HandlerTable& t)
{
    t[opLength] = Length;
    t[opVal] = Val;
    t[opOrd] = Ord;
    t[opChr] = Chr;
    t[opStr] = Str;
    t[opMid] = Mid;
    t[opLeft] = LeftOrRight;
    t[opRight] = LeftOrRight;
    t[opRepeat] = Repeat;
    t[opUpper] = Upper;
    t[opLower] = Lower;
    t[opProper] = Proper;
    t[opTrim] = Trim;
    t[opClean] = Clean;
    t[opExact] = Exact;
    t[opFind] = Find;
    t[opReplace] = Replace;
    t[opHex] = Hex;
    t[opDec] = Dec;
    t[opDms] = Dms;
}

}  // namespace zt
