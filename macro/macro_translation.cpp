#include "macro/macro_translation.h"

#include <algorithm>
#include <cmath>

#include "core/address.h"
#include "core/range_names.h"
#include "formula/evaluator.h"
#include "macro/command_table.h"
#include "macro/macro_codes.h"

namespace zt {
namespace {

// Look-alike punctuation becomes the character it imitates; bytes the line
// reserves for itself are left out.
std::string CleanMacroText(std::string_view text)
{
    std::string s;
    s.reserve(text.size());
    for (char ch : text) {
        switch (static_cast<unsigned char>(ch)) {
        case 147:
        case 148: s += '"'; break;
        case 130: s += ','; break;
        case 136: s += '^'; break;
        case 152: s += '~'; break;
        case 166: s += '|'; break;
        case 183: s += '.'; break;
        case 255: break;
        default:
            if (static_cast<unsigned char>(ch) >= 32)
                s += ch;
        }
    }
    return s;
}

struct Translation {
    Translation(Engine& e, std::string_view text, char separator, std::size_t limit)
        : E(e), Text(text), Separator(separator), Cut(limit)
    {
    }

    Engine& E;
    std::string_view Text;
    char Separator;
    std::size_t Pos = 0;
    std::string Line;
    // Where the line will be cut: at its length limit, or before a code
    // that would not fit whole there.
    std::size_t Cut;
    bool QuoteError = false;
};

// A code, or a call with its name, is kept whole or cut away, never split
// into a marker the next cell would complete.
void AppendCode(Translation& t, std::string_view code)
{
    std::size_t start = t.Line.size();
    t.Line += code;
    if (start < t.Cut && t.Line.size() > t.Cut)
        t.Cut = start;
}

void AppendKeys(Translation& t, std::string_view keys)
{
    for (char ch : keys)
        t.Line += ch == '~' ? kMacroKeyEnter : ch;
}

// The code once per counted repeat; a count below 1, or none that
// evaluates, gives one. Repeating stops once the line is full, or after a
// line's worth of repeats, so any count costs at most that much work.
void AppendRepeated(Translation& t, std::string_view code, const std::string& countText)
{
    double count = 1;
    if (!countText.empty())
        count = std::round(EvaluateText(t.E, countText).Number);
    if (!(count >= 1))
        count = 1;
    count = std::min(count, double(kMacroLineLength));
    for (double k = 0; k < count && t.Line.size() < t.Cut; ++k)
        AppendCode(t, code);
}

// The arguments after a command name, up to the closing brace or the end
// of the text. Each argument is appended followed by Enter; for a counted
// key or command they all run into one count text instead.
void AppendCommand(Translation& t, const MacroCommand& command)
{
    const bool counted = command.Kind == kMacroRepeatKind;
    if (!counted)
        AppendCode(t, command.Code());
    std::string arg;
    auto endArgument = [&] {
        if (!counted && !arg.empty()) {
            t.Line += arg;
            t.Line += kMacroKeyEnter;
            arg.clear();
        }
    };
    int depth = 0;
    while (t.Pos < t.Text.size()) {
        char ch = t.Text[t.Pos++];
        // The separator splits arguments; inside parentheses it belongs to
        // the formula (@SUM(B1,B3)) and stays as written.
        if (ch == t.Separator && depth <= 0)
            ch = ' ';
        if ((ch == ' ' || ch == '}') && depth <= 0) {
            endArgument();
            if (ch == '}')
                break;
            continue;
        }
        if (ch == '"') {
            std::size_t close = t.Text.find('"', t.Pos);
            if (close == std::string_view::npos || close + 1 == t.Text.size()) {
                t.QuoteError = true;
                return;
            }
            arg += t.Text.substr(t.Pos - 1, close + 2 - t.Pos);
            t.Pos = close + 1;
            continue;
        }
        if (ch == '(')
            ++depth;
        else if (ch == ')')
            --depth;
        arg += ch == '~' ? kMacroKeyEnter : ch;
    }
    endArgument();
    if (counted)
        AppendRepeated(t, command.Code(), arg);
}

// A brace group, from its "{".
void AppendBraceGroup(Translation& t)
{
    std::size_t start = ++t.Pos;
    std::size_t end = std::min(t.Text.find_first_of(" }", start), t.Text.size());
    std::string name = UpperCase(t.Text.substr(start, end - start));
    t.Pos = end;
    if (const MacroCommand* command = FindMacroCommand(name)) {
        AppendCommand(t, *command);
        return;
    }
    if (name.size() <= std::size_t(kRangeNameLength) && FindRangeName(t.E, name) > 0) {
        AppendCode(t, std::string{kMacroCommandMarker, 'C'} + name + kMacroKeyEnter);
    } else {
        t.Line += name;
        AppendCode(t, std::string{kMacroCommandMarker, kMacroSyntaxError});
    }
    // The rest inside the braces is typed; the blank ending the name and
    // the closing brace are not.
    if (t.Pos < t.Text.size() && t.Text[t.Pos] == ' ')
        ++t.Pos;
    std::size_t close = std::min(t.Text.find('}', t.Pos), t.Text.size());
    AppendKeys(t, t.Text.substr(t.Pos, close - t.Pos));
    t.Pos = std::min(close + 1, t.Text.size());
}

std::string Translate(Engine& e, std::string_view text, char argSeparator, std::size_t limit)
{
    const std::string clean = CleanMacroText(text);
    Translation t(e, clean, argSeparator, limit);
    while (t.Pos < t.Text.size() && !t.QuoteError) {
        if (t.Text[t.Pos] == '{') {
            AppendBraceGroup(t);
        } else {
            AppendKeys(t, t.Text.substr(t.Pos, 1));
            ++t.Pos;
        }
    }
    if (t.QuoteError)
        return {kMacroCommandMarker, kMacroSyntaxError};
    if (t.Line.size() > t.Cut)
        t.Line.resize(t.Cut);
    return t.Line;
}

}  // namespace

std::string TranslateMacroText(Engine& e, std::string_view text, char argSeparator)
{
    return Translate(e, text, argSeparator, kMacroLineLength);
}

std::string TranslateKeyText(Engine& e, std::string_view text)
{
    return Translate(e, text, ',', std::string::npos);
}

}  // namespace zt
