#include "core/address.h"
#include "files/wks_bytes.h"
#include "files/wks_records.h"
#include "files/worksheet_file.h"

namespace zt {

bool IsWorksheetFile(std::span<const std::uint8_t> bytes)
{
    if (bytes.size() < 4)
        return false;
    ByteReader in(bytes);
    in.U16();
    return in.U16() == 2;
}

std::vector<std::string> ListFileRangeNames(const Engine& e, std::span<const std::uint8_t> bytes)
{
    std::vector<std::string> lines;
    ByteReader in(bytes);
    bool firstName = true;
    while (in.Left() > 0) {
        std::uint16_t type = in.U16();
        std::uint16_t length = in.U16();
        std::span<const std::uint8_t> body = in.Take(length);
        if (in.Failed() || type == WKS_EOF)
            break;
        const std::size_t extra = type == WKS_NNAME ? 9 : 8;
        if ((type != WKS_NAME && type != WKS_NNAME) || length > 39 || length <= extra)
            continue;
        ByteReader field(body);
        std::string name = TextUpToZero(field.Take(length - extra), kRangeNameLength);
        TRange range = field.Range();
        bool settings = firstName && name.starts_with("G!");
        firstName = false;
        if (settings || name.empty())
            continue;
        if (RangeIsDefined(range) && (!ValidCoord(range.FirstRow, range.FirstCol) || !ValidCoord(range.LastRow, range.LastCol)))
            range = kUndefinedRange;
        lines.push_back(name + ": " + FormatRange(e, range));
    }
    return lines;
}

}  // namespace zt
