#include <algorithm>
#include <charconv>
#include <optional>

#include "core/address.h"
#include "formula/user_functions.h"
#include "platform/whole_file.h"

namespace zt {

namespace {

constexpr std::size_t kNameLength = 12;
constexpr std::size_t kBodyLength = 255;
// The full library, 255 definitions of two lines of at most 255 characters,
// takes 130 KB; a megabyte leaves room for comments many times over.
constexpr std::uint64_t kMaxLibraryBytes = 1u << 20;

std::string_view TrimBlanks(std::string_view s)
{
    constexpr std::string_view kBlanks = " \t\r";
    std::size_t first = s.find_first_not_of(kBlanks);
    if (first == std::string_view::npos)
        return {};
    return s.substr(first, s.find_last_not_of(kBlanks) - first + 1);
}

// A line as the library sees it: without its comment, trimmed, upper case.
std::string LibraryLine(std::string_view line)
{
    return UpperCase(TrimBlanks(line.substr(0, line.find(';'))));
}

// The leading integer of a text; 0 when it has none.
int LeadingInteger(std::string_view s)
{
    int n = 0;
    std::from_chars(s.data(), s.data() + s.size(), n);
    return n;
}

// "NAME,n": the name up to the first comma, the count after it; a header
// without a comma declares no parameters.
TUserFunction ParseHeader(std::string_view header)
{
    TUserFunction f;
    std::size_t comma = header.find(',');
    f.Name = std::string(TrimBlanks(header.substr(0, comma)).substr(0, kNameLength));
    if (comma != std::string_view::npos)
        f.ParamCount = std::clamp(LeadingInteger(TrimBlanks(header.substr(comma + 1))), 0, kMaxUserParams);
    return f;
}

}  // namespace

bool LoadUserFunctions(Engine& e, const std::string& path)
{
    e.UserLibrary.clear();
    std::vector<std::uint8_t> bytes;
    if (ReadFailure failure = ReadWholeFile(path, bytes, kMaxLibraryBytes); failure != ReadFailure::None) {
        e.Err.Set(ReadFailureText(failure, path));
        return false;
    }
    std::string_view rest(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    std::optional<TUserFunction> header;
    while (e.UserLibrary.size() < kMaxUserFunctions && !rest.empty()) {
        std::size_t end = rest.find('\n');
        std::string text = LibraryLine(rest.substr(0, end));
        rest = end == std::string_view::npos ? std::string_view{} : rest.substr(end + 1);
        if (text.empty())
            continue;
        if (!header) {
            header = ParseHeader(text);
            continue;
        }
        header->Body = text.substr(0, kBodyLength);
        e.UserLibrary.push_back(std::move(*header));
        header.reset();
    }
    return true;
}

int FindUserFunction(Engine& e, std::string_view name)
{
    if (!e.Cur || name.empty())
        return 0;
    std::string key = UpperCase(name.substr(0, kNameLength));
    std::vector<TUserFunction>& table = e.Cur->UserFunctions;
    auto named = [&](const TUserFunction& f) { return f.Name == key; };
    if (auto it = std::find_if(table.begin(), table.end(), named); it != table.end())
        return static_cast<int>(it - table.begin()) + 1;
    auto hit = std::find_if(e.UserLibrary.begin(), e.UserLibrary.end(), named);
    if (hit == e.UserLibrary.end() || table.size() >= kMaxUserFunctions)
        return 0;
    table.push_back(*hit);
    return static_cast<int>(table.size());
}

int UserFunctionArity(const Engine& e, int index)
{
    if (!e.Cur || index < 1 || index > static_cast<int>(e.Cur->UserFunctions.size()))
        return -1;
    int n = e.Cur->UserFunctions[index - 1].ParamCount;
    // A table read from a damaged file may claim more parameters than a call can pass.
    return n >= 0 && n <= kMaxUserParams ? n : -1;
}

}  // namespace zt
