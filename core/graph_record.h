#pragma once
// The graph definitions a worksheet carries: the 839-byte record and the
// table of named graphs. Their operations live with the graphs.
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "core/range.h"

namespace zt {

// Graph type codes.
enum GraphType : std::uint8_t {
    gtXY = 0,
    gtBar = 1,
    gtPie = 2,
    gtStack = 3,
    gtLine = 4,
    gtCumulative = 5,
    gtHiLo = 6,
    gtRadar = 7,
    gtArea = 8,
    gtDelta = 9,
    gtPolar = 10,
    gtStrip3D = 11,
    gtWall3D = 12,
    gtContour = 13,
    gtPie3D = 14,
    gtDonut3D = 15,
    gtBar3D = 16,
    gtStack3D = 17,
};

// Bits of TGraphDef::AxisFlags.
inline constexpr std::uint8_t kGraphYLog = 0x40;
inline constexpr std::uint8_t kGraphXLog = 0x80;

inline constexpr int kGraphSeries = 6;
// Entries of the attribute tables: the six series, then the "Other" elements.
inline constexpr int kGraphTableSize = 16;
inline constexpr int kGraphOtherGridInside = 6;
inline constexpr int kGraphOtherGridOutside = 7;
inline constexpr int kGraphOtherGridStyle = 8;  // style table: 0 solid, 1 dots
inline constexpr int kGraphOtherGridLines = 9;  // style table: 0 none, 1 horizontal, 2 vertical, 3 both
// Text elements with a font each: main, second, X axis, Y axis, values, labels, legend.
inline constexpr int kGraphFontCount = 7;

// A TRange held byte for byte, so that it can sit at any offset of the
// packed definition; Get and Set copy it out and in.
struct PackedRange {
    std::uint8_t Raw[8];

    TRange Get() const
    {
        TRange r;
        std::memcpy(&r, Raw, sizeof r);
        return r;
    }
    void Set(const TRange& r) { std::memcpy(Raw, &r, sizeof r); }
};
static_assert(sizeof(TRange) == 8);

#pragma pack(push, 1)
struct TGraphFont {
    char Name[33];  // short string of at most 32 characters
    std::uint8_t Size;  // points
    std::uint8_t Style;  // bit 0 bold, bit 1 italic, bit 2 underline
};

// One graph definition, 839 bytes. Files store bytes 13..449 and 454..838
// in two records; bytes 450..453 stay in memory only. Its numbers sit at
// unaligned offsets: read and assign them directly, never bind references
// or pointers to them.
struct TGraphDef {
    char Name[13];  // short string of at most 12 characters
    PackedRange XRange;
    PackedRange Series[kGraphSeries];
    PackedRange DataLabels[kGraphSeries];
    std::uint8_t Type;
    std::uint8_t AxisFlags;
    std::uint8_t SeriesOptions[kGraphSeries];  // 0 none, 1 lines, 2 symbols, 3 both
    std::uint8_t LabelPlace[kGraphSeries];     // 1 above, 2 below, 3 left, 4 right, 5 none
    std::uint8_t XManual;
    double XLow;
    double XHigh;
    std::uint8_t YManual;
    double YLow;
    double YHigh;
    char Titles[4][40];  // short strings: main, second, X axis, Y axis
    char Legends[kGraphSeries][20];
    std::uint8_t LegendType;  // 0 row, 1 table
    std::uint8_t XFormat;
    std::uint8_t YFormat;
    std::uint8_t XStep;
    std::uint8_t YStep;
    std::uint16_t Divisions;  // low byte X divisions, high byte Y divisions
    std::uint8_t Spare[2];
    std::uint8_t Colors[kGraphTableSize];
    std::uint8_t Hatches[kGraphTableSize];
    std::uint8_t Marks[kGraphTableSize];
    std::uint8_t Thickness[kGraphTableSize];
    std::uint8_t Styles[kGraphTableSize];
    TGraphFont Fonts[kGraphFontCount];
    std::uint8_t Reserved[60];
};
#pragma pack(pop)

static_assert(sizeof(TGraphDef) == 839);
static_assert(offsetof(TGraphDef, XStep) == 448 && offsetof(TGraphDef, YStep) == 449);
static_assert(offsetof(TGraphDef, Colors) == 454);

// The first and second stored parts of a definition.
inline constexpr int kGraphMainFirst = 13;
inline constexpr int kGraphMainSize = 437;
inline constexpr int kGraphExtFirst = 454;
inline constexpr int kGraphExtSize = 385;

inline constexpr int kMaxNamedGraphs = 50;
inline constexpr int kGraphNameLength = 12;
inline constexpr std::string_view kTooManyNamedGraphs = "Named Graphs>50";

// The graphs of one worksheet: the definition being edited and the named ones.
struct GraphState {
    TGraphDef Current;
    std::vector<TGraphDef> Named;  // at most 50; number n is Named[n - 1]

    GraphState();
};

}  // namespace zt
