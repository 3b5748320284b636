#pragma once
// The Merge dialog without its widgets: what it shows when it opens and
// the merge its values ask for.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/engine.h"
#include "files/worksheet_io.h"

namespace zt {

// As picked by the filter of the merge file dialog.
enum class MergeMode { Values = 1, Formulas = 2 };

std::string_view MergeDialogCaption(MergeMode mode);

struct MergeDialogSetup {
    MergeMode Mode = MergeMode::Values;
    std::string File{};
    std::string Target{};                // the top-left cell of the selection
    std::vector<std::string> Sources{};  // the file's range names, "NAME: A1..B2"
};

// Reads the file's range names; a file that cannot be read lists none
// (the merge itself reports it).
MergeDialogSetup SetUpMergeDialog(Engine& e, MergeMode mode, std::string_view file);

// What the user left in the dialog.
struct MergeDialogValues {
    MergeMode Mode = MergeMode::Values;
    std::string File{};
    std::string Target{};
    bool All = true;     // "&All" rather than "Ra&nge:"
    std::string Source{};  // the range list's text
    MergeAction Action = MergeAction::Replace;
};

struct MergeChoice {
    std::string File{};
    MergeRequest Request{};
};

// The merge to run; nullopt when the target is no cell address, range or
// range name.
std::optional<MergeChoice> MakeMergeChoice(Engine& e, const MergeDialogValues& values);

}  // namespace zt
