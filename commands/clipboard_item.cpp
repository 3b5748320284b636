#include "commands/clipboard_item.h"

#include <charconv>
#include <cstdint>
#include <limits>

#include "formula/cell_contents.h"

namespace zt {

namespace {

// A byte attribute takes any value 0..255, as the worksheet file reader
// accepts; anything else is left unapplied.
void SetByte(std::uint8_t& field, std::int64_t n)
{
    if (n >= 0 && n <= 255)
        field = static_cast<std::uint8_t>(n);
}

void ApplyElement(std::string_view element, TCell& cell)
{
    if (element.size() < 2)
        return;
    std::int64_t n = 0;
    const char* end = element.data() + element.size();
    auto [stop, ec] = std::from_chars(element.data() + 1, end, n);
    if (ec != std::errc() || stop != end)
        return;
    switch (element[0]) {
    case 'C':
    case 'c':
        if (n >= std::numeric_limits<std::int32_t>::min() && n <= std::numeric_limits<std::int32_t>::max())
            cell.Colors = static_cast<std::uint32_t>(static_cast<std::int32_t>(n));
        break;
    case 'F':
    case 'f': SetByte(cell.Format, n); break;
    case 'H':
    case 'h': SetByte(cell.FontSize, n); break;
    case 'S':
    case 's': SetByte(cell.Style, n); break;
    case 'T':
    case 't': SetByte(cell.Typeface, n); break;
    default: break;
    }
}

}  // namespace

std::string PrivateItem(const Engine& e, const TCell* cell)
{
    if (!cell)
        return {};
    std::string item = CellContentsText(e, cell);
    BlankSeparators(item);
    item += ";F" + std::to_string(cell->Format);
    item += ",C" + std::to_string(static_cast<std::int32_t>(cell->Colors));
    item += ",T" + std::to_string(cell->Typeface);
    item += ",H" + std::to_string(cell->FontSize);
    item += ",S" + std::to_string(cell->Style);
    return item;
}

ItemParts SplitPrivateItem(std::string_view item)
{
    std::size_t semicolon = item.rfind(';');
    if (semicolon == std::string_view::npos)
        return {item, {}, false};
    return {item.substr(0, semicolon), item.substr(semicolon + 1), true};
}

void ApplyItemAttributes(std::string_view list, TCell& cell)
{
    for (;;) {
        std::size_t comma = list.find(',');
        ApplyElement(list.substr(0, comma), cell);
        if (comma == std::string_view::npos)
            return;
        list.remove_prefix(comma + 1);
    }
}

void BlankSeparators(std::string& text)
{
    for (char& ch : text) {
        if (ch == '\t' || ch == '\r' || ch == '\n')
            ch = ' ';
    }
}

}  // namespace zt
