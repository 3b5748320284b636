#include "platform/file_dialogs.h"

#include <cctype>

namespace zt {
namespace {

std::vector<std::string_view> Split(std::string_view text, char separator)
{
    std::vector<std::string_view> parts;
    for (;;) {
        size_t at = text.find(separator);
        parts.push_back(text.substr(0, at));
        if (at == std::string_view::npos)
            return parts;
        text.remove_prefix(at + 1);
    }
}

std::string_view Trimmed(std::string_view text)
{
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return text;
}

// One pattern as a Qt wildcard that ignores case: "*.wks" gives
// "*.[wW][kK][sS]". Brackets are literal in the program's patterns.
std::string CaselessPattern(std::string_view pattern)
{
    if (pattern == "*.*")
        return "*";
    std::string out;
    for (char c : pattern) {
        unsigned char u = static_cast<unsigned char>(c);
        if (u < 0x80 && std::isalpha(u)) {
            out += '[';
            out += static_cast<char>(std::tolower(u));
            out += static_cast<char>(std::toupper(u));
            out += ']';
        } else if (c == '[' || c == ']') {
            out += '[';
            out += c;
            out += ']';
        } else {
            out += c;
        }
    }
    return out;
}

std::string QtPatterns(std::string_view patterns)
{
    std::string out;
    for (std::string_view p : Split(patterns, ';')) {
        p = Trimmed(p);
        if (p.empty())
            continue;
        if (!out.empty())
            out += ' ';
        out += CaselessPattern(p);
    }
    return out.empty() ? "*" : out;
}

}  // namespace

std::string QtFilterFromProgramFilter(std::string_view filter)
{
    std::vector<std::string_view> parts = Split(filter, '|');
    // A filter ending in "|" leaves an empty last entry behind.
    while (!parts.empty() && parts.back().empty() && (parts.size() % 2 == 1 || parts[parts.size() - 2].empty()))
        parts.pop_back();
    std::string out;
    for (size_t i = 0; i < parts.size(); i += 2) {
        if (i > 0)
            out += ";;";
        std::string_view description = Trimmed(parts[i]);
        out += description;
        if (!description.empty())
            out += ' ';
        out += '(';
        out += QtPatterns(i + 1 < parts.size() ? parts[i + 1] : std::string_view());
        out += ')';
    }
    return out;
}

std::string WithDefaultExtension(std::string_view path, std::string_view defaultExt)
{
    if (!defaultExt.empty() && defaultExt.front() == '.')
        defaultExt.remove_prefix(1);
    size_t slash = path.find_last_of('/');
    std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    std::string out(path);
    if (!name.empty() && !defaultExt.empty() && name.find('.') == std::string_view::npos) {
        out += '.';
        out += defaultExt;
    }
    return out;
}

FileDialogResult ScriptedFileDialogs::Answer(bool save, const FileDialogRequest& request)
{
    asked_.push_back({save, request});
    if (answers_.empty())
        return {};
    FileDialogResult answer = answers_.front();
    answers_.pop_front();
    return answer;
}

}  // namespace zt
