#pragma once
#include <array>
#include <string>

#include "shell/control/grid_state.h"

namespace zt {

inline constexpr int kMaxSheetTabs = 64;

enum class SplitKind { None, Horizontal, Vertical };

// A worksheet window without its widget: which worksheet it shows, its two
// panes (the second one visible only while split) and its flags.
struct SheetWindow {
    int Slot = 0;
    std::string Caption;
    bool Untitled = true;
    bool MustAskName = false;
    std::array<GridState, 2> Panes;
    int ActivePane = 0;
    SplitKind Split = SplitKind::None;
    bool Synch = false;
    bool CtrlHeld = false;
    std::string CtrlMacroName;  // "\" and the letter released while Ctrl was held
    bool AltBackground = false;  // the second display switch of Shift+F6
    int SplitPos = 0;  // pixels of the first pane along the split

    GridState& Pane() { return Panes[ActivePane]; }
    const GridState& Pane() const { return Panes[ActivePane]; }
    GridState& OtherPane() { return Panes[1 - ActivePane]; }
};

// Sheet tabs: bands of rowsPerTab rows; a stored 0 or less means one band.
int EffectiveRowsPerTab(int rowsPerTab);
int TabCount(int rowsPerTab);
int TabOfRow(int rowsPerTab, int row);
// The row a click on tab k moves to from the current row: the same offset inside the band.
int RowForTab(int rowsPerTab, int tab, int currentRow);
// "A".."Z", "AA".."AZ", "BA".."BL".
std::string TabCaption(int tab);

}  // namespace zt
