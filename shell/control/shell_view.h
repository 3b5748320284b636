#pragma once
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/range.h"
#include "files/worksheet_io.h"

namespace zt {

struct SheetWindow;

// What the merge dialog starts from: the chosen file, the mode of the
// chosen filter (1 values, 2 formulas) and the selection.
struct MergeDialogInput {
    std::string File;
    int Mode = 1;
    TRange Selection = kUndefinedRange;
};

// The fields of the Copy dialog: two range texts, the type of copy (the
// numbers of CopyValues) and the factor text, which the dialog replaces by
// its value (EvaluateFactor) when the field is left.
struct CopyDialogFields {
    std::string From;
    std::string To;
    int Type = 1;
    std::string Factor = "1";
    std::function<std::string(const std::string&)> EvaluateFactor;
};

// What the controllers ask of whoever shows them. The widgets implement it;
// tests may leave every method as it is.
class ShellView {
public:
    virtual ~ShellView() = default;
    virtual void WindowOpened(SheetWindow&) {}
    virtual void WindowClosing(SheetWindow&) {}
    virtual void WindowActivated(SheetWindow&) {}
    // Something of the window changed: repaint its panes, tabs and scroll bars.
    virtual void RepaintWindow(SheetWindow&) {}
    // The edit line, mode indicator, prompt or status panels changed.
    virtual void RefreshBars() {}
    virtual void OpenMainMenu() {}
    virtual void ArrangeWindows(std::string_view /*how: "tile", "cascade", "icons"*/) {}
    virtual void CloseMainWindow() {}
    // A list to pick one item from ("Function List"); false when cancelled.
    virtual bool ChooseFromList(const std::string& /*title*/, const std::vector<std::string>& /*items*/,
                                std::string& /*chosen*/)
    {
        return false;
    }
    // The merge dialog; false when it was cancelled.
    virtual bool ChooseMerge(const MergeDialogInput&, MergeRequest&) { return false; }
    // The hourglass while a command works on many cells, and back.
    virtual void ShowBusy(bool /*busy*/) {}
    // The Copy dialog; false when it was cancelled.
    virtual bool ChooseCopy(CopyDialogFields&) { return false; }
};

}  // namespace zt
