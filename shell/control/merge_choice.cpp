#include "shell/control/merge_choice.h"

#include <cstdint>

#include "core/address.h"
#include "files/file_access.h"
#include "files/worksheet_io.h"

namespace zt {

std::string_view MergeDialogCaption(MergeMode mode)
{
    return mode == MergeMode::Values ? "Merge Value" : "Merge by Formula";
}

MergeDialogSetup SetUpMergeDialog(Engine& e, MergeMode mode, std::string_view file)
{
    MergeDialogSetup setup{.Mode = mode, .File = std::string(file)};
    TRange at = e.View->Selection(e);
    if (!RangeIsDefined(at))
        at = e.View->CursorCell(e);
    at = OrderedRange(at);
    setup.Target = FormatAddress(e, at.FirstRow, at.FirstCol);
    std::vector<std::uint8_t> bytes;
    if (ReadWholeFile(ResolveFileName(file), bytes, kMaxWorksheetFileBytes) == ReadFailure::None)
        setup.Sources = ListFileRangeNames(e, bytes);
    return setup;
}

std::optional<MergeChoice> MakeMergeChoice(Engine& e, const MergeDialogValues& values)
{
    e.Err.Clear();
    TRange target = ParseRange(e, values.Target);
    bool bad = values.Target.empty() || e.Err.ErrorFlag || !RangeIsDefined(target);
    e.Err.Clear();
    if (bad)
        return std::nullopt;
    target = OrderedRange(target);

    MergeChoice choice{.File = values.File};
    MergeRequest& m = choice.Request;
    m.ValuesOnly = values.Mode == MergeMode::Values;
    m.Action = values.Action;
    m.TargetRow = target.FirstRow;
    m.TargetCol = target.FirstCol;
    // A list entry reads "NAME: RANGE"; the name alone is the source.
    if (!values.All)
        m.Source = values.Source.substr(0, values.Source.find(':'));
    return choice;
}

}  // namespace zt
