// Merge: cells of a worksheet file placed into the current worksheet.
#include <algorithm>
#include <cctype>

#include "core/cell_store.h"
#include "files/file_access.h"
#include "files/worksheet_io.h"
#include "formula/recalc.h"

namespace zt {

void ApplyMergeOptionText(MergeRequest& m, std::string_view text)
{
    text = text.substr(0, 3);
    auto has = [text](char letter) {
        return std::any_of(text.begin(), text.end(),
                           [letter](char c) { return std::toupper(static_cast<unsigned char>(c)) == letter; });
    };
    m.ValuesOnly = !has('F');
    // The letters combine bit by bit, so R with S means difference.
    int action = (has('R') ? 1 : 0) | (has('S') ? 2 : 0) | (has('D') ? 3 : 0);
    m.Action = action == 0 ? MergeAction::Replace : static_cast<MergeAction>(action);
}

bool MergeWorksheet(Engine& e, std::string_view path, const MergeRequest& m)
{
    std::vector<std::uint8_t> bytes;
    if (!ReadWorksheetBytes(e, ResolveFileName(path), bytes))
        return false;
    ReadOptions options;
    options.Mode = m.ValuesOnly ? ReadMode::ValuesOnly : ReadMode::Merge;
    options.Action = m.Action;
    options.TargetRow = static_cast<std::int16_t>(m.TargetRow);
    options.TargetCol = static_cast<std::int16_t>(m.TargetCol);
    options.Source = m.Source;
    ReadResult read = ReadWorksheetFile(e, bytes, options);
    if (read.Cells > 0) {
        e.Cur->Modified = true;
        TRange cursor = e.View->CursorCell(e);
        RecalcRange(e, TRange{cursor.FirstCol, cursor.FirstRow, e.Cur->MaxCol, e.Cur->MaxRow});
    }
    if (!read.Ok) {
        ReportError(e, read.Error);
        return false;
    }
    return true;
}

}  // namespace zt
