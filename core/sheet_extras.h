#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/range.h"

namespace zt {

// What DataRanges[i] of a worksheet holds.
enum DataRangeSlot : int {
    drTableOutput = 0,  // also the bin command's input data
    drTableInput1 = 1,  // also the bin command's output table
    drTableInput2 = 2,
    drQueryInput = 3,
    drQueryOutput = 4,
    drQueryCriteria = 5,
    drPrint = 6,
    drSortData = 7,
    drSortKey1 = 8,
    drSortKey2 = 9,
    drTitles1 = 10,
    drTitles2 = 11,
};

// One pane of the worksheet window as last shown.
struct PaneState {
    std::uint16_t LeftCol = 0;
    std::uint16_t TopRow = 0;
    std::uint16_t CursorCol = 0;
    std::uint16_t CursorRow = 0;
    std::uint16_t Height = 0;  // pixels
    std::uint16_t Width = 0;
};

// A push button on the worksheet that runs macro text.
struct MacroButton {
    std::string Caption;  // at most 20 characters
    std::string Macro;    // at most 255 characters
    std::int16_t AnchorRow = 0;
    std::int16_t AnchorCol = 0;
    std::int32_t OffsetX = 0;  // pixels from the anchor cell's corner
    std::int32_t OffsetY = 0;
    std::int32_t Width = 0;
    std::int32_t Height = 0;
};

// The window state a worksheet keeps so that reading and writing a file
// without a window loses none of it; the window reads and updates it.
struct WindowModel {
    std::uint8_t SplitByte = 0;  // 0 none, 1 split with the orientation flag, 0xFF without
    bool Synchronized = false;
    bool HSplit = false;  // panes above each other
    bool VSplit = false;  // panes side by side
    std::uint8_t ActivePane = 0;
    std::uint8_t CursorW12 = 0;
    std::array<PaneState, 2> Panes{};
    std::array<std::uint16_t, 4> Frozen{};  // first/last frozen column, first/last frozen row
    std::uint16_t Sheets = 1;
    std::vector<std::string> Tabs;
    std::vector<MacroButton> Buttons;
    std::uint16_t FontHeight = 10;
    std::uint16_t FontStyle = 0;
    std::string FontName = "Arial";
    // The window's typeface list; a cell's Typeface indexes it.
    std::vector<std::string> Typefaces{"Arial", "Courier New", "Times New Roman"};
    std::uint8_t WindowCount = 1;
    std::uint8_t WindowNumber = 1;
};

// Print texts and page values.
struct PrintSetup {
    std::string Header;
    std::string Footer;
    std::string Setup;
    std::array<std::uint16_t, 5> Margins{4, 76, 2, 2, 2};  // characters and lines
    std::array<double, 6> Page{0.5, 0.5, 0.5, 0.5, 0, 0};  // inches: top, left, right, bottom, two more
};

// Title, comments and history of the document.
struct DocumentInfo {
    std::string Title;
    std::string Comment;
    std::string RevisedBy;
    double CreatedTime = -1;  // fraction of a day; negative until the first save
    double CreatedDate = -1;
};

// Ranges and bytes of the analysis commands with no DataRanges slot.
struct AnalysisState {
    TRange SortKey3 = kUndefinedRange;
    TRange SortKey4 = kUndefinedRange;
    bool SortKey3Ascending = true;
    bool SortKey4Ascending = true;
    TRange RegressX = kUndefinedRange;
    TRange RegressY = kUndefinedRange;
    std::array<std::uint8_t, 9> RegressMasks{};
    std::uint8_t TableByte = 0;
    std::uint8_t CarriedByte = 0;  // carried through the settings name unchanged
};

}  // namespace zt
