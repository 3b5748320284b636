#include "shell/control/sheet_window.h"

#include <algorithm>

#include "core/address.h"

namespace zt {

int EffectiveRowsPerTab(int rowsPerTab)
{
    if (rowsPerTab <= 0 || rowsPerTab > kLastRow + 1)
        return kLastRow + 1;
    // Never more bands than there are tabs.
    return std::max(rowsPerTab, (kLastRow + 1 + kMaxSheetTabs - 1) / kMaxSheetTabs);
}

int TabCount(int rowsPerTab)
{
    int n = EffectiveRowsPerTab(rowsPerTab);
    return (kLastRow + 1 + n - 1) / n;
}

int TabOfRow(int rowsPerTab, int row) { return std::clamp(row, 0, kLastRow) / EffectiveRowsPerTab(rowsPerTab); }

int RowForTab(int rowsPerTab, int tab, int currentRow)
{
    int n = EffectiveRowsPerTab(rowsPerTab);
    int row = std::clamp(tab, 0, TabCount(rowsPerTab) - 1) * n + std::clamp(currentRow, 0, kLastRow) % n;
    return std::min(row, kLastRow);
}

std::string TabCaption(int tab) { return ColumnLetters(std::clamp(tab, 0, kMaxSheetTabs - 1)); }

}  // namespace zt
