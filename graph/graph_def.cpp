#include "graph/graph_def.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace zt {

namespace {

// Built-in attribute tables: six series entries, then the "Other" elements.
// Colours are indices into the 16-entry palette, chosen so neighbouring
// series contrast: dark red, green, dark blue, purple, teal, olive; the grid
// is drawn silver inside a white frame.
constexpr std::uint8_t kDefaultColors[kGraphTableSize] = {4, 2, 1, 5, 6, 3, 7, 15};
// Fill patterns 1..6 (0 would be solid), one per series.
constexpr std::uint8_t kDefaultHatches[kGraphTableSize] = {1, 2, 3, 4, 5, 6};
// Point symbols 1..6: square, circle, triangle, diamond, cross, star.
constexpr std::uint8_t kDefaultMarks[kGraphTableSize] = {1, 2, 3, 4, 5, 6};
// Line widths in pixels; the grid is drawn one pixel wide.
constexpr std::uint8_t kDefaultThickness[kGraphTableSize] = {1, 1, 1, 1, 1, 1, 1, 1};
// Solid series lines, a dotted grid, no grid lines.
constexpr std::uint8_t kDefaultStyles[kGraphTableSize] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 0};

struct FontDefault {
    const char* Name;
    std::uint8_t Size;
    std::uint8_t Style;
};
// Main title large and bold, second title medium, the rest small.
constexpr FontDefault kDefaultFonts[kGraphFontCount] = {
    {"Arial", 14, 1}, {"Arial", 12, 0}, {"Arial", 10, 0}, {"Arial", 10, 0},
    {"Arial", 8, 0},  {"Arial", 8, 0},  {"Arial", 10, 0},
};

void SetShortString(char* field, int capacity, std::string_view text)
{
    std::size_t n = std::min<std::size_t>(text.size(), static_cast<std::size_t>(capacity));
    std::memset(field, 0, static_cast<std::size_t>(capacity) + 1);
    field[0] = static_cast<char>(n);
    std::memcpy(field + 1, text.data(), n);
}

std::string Upper(std::string_view s)
{
    std::string r(s);
    for (char& c : r)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return r;
}

}  // namespace

GraphState::GraphState() { ResetGraph(Current); }

void ResetGraph(TGraphDef& g)
{
    g = TGraphDef{};
    g.XRange.Set(kUndefinedRange);
    for (int i = 0; i < kGraphSeries; ++i) {
        g.Series[i].Set(kUndefinedRange);
        g.DataLabels[i].Set(kUndefinedRange);
        g.SeriesOptions[i] = 3;
        g.LabelPlace[i] = 1;
    }
    g.Type = gtXY;
    g.XFormat = 1;
    g.YFormat = 1;
    g.XStep = 4;
    g.YStep = 4;
    g.Divisions = 1;
    std::memcpy(g.Colors, kDefaultColors, kGraphTableSize);
    std::memcpy(g.Hatches, kDefaultHatches, kGraphTableSize);
    std::memcpy(g.Marks, kDefaultMarks, kGraphTableSize);
    std::memcpy(g.Thickness, kDefaultThickness, kGraphTableSize);
    std::memcpy(g.Styles, kDefaultStyles, kGraphTableSize);
    for (int i = 0; i < kGraphFontCount; ++i) {
        SetShortString(g.Fonts[i].Name, 32, kDefaultFonts[i].Name);
        g.Fonts[i].Size = kDefaultFonts[i].Size;
        g.Fonts[i].Style = kDefaultFonts[i].Style;
    }
}

bool GraphIsDefined(const TGraphDef& g)
{
    if (!RangeIsDefined(g.XRange.Get()))
        return false;
    return std::any_of(std::begin(g.Series), std::end(g.Series),
                       [](const PackedRange& r) { return RangeIsDefined(r.Get()); });
}

void SanitizeGraph(TGraphDef& g)
{
    auto check = [](PackedRange& p) {
        TRange r = p.Get();
        if (RangeIsDefined(r) && (!ValidCoord(r.FirstRow, r.FirstCol) || !ValidCoord(r.LastRow, r.LastCol)))
            p.Set(kUndefinedRange);
    };
    check(g.XRange);
    for (int i = 0; i < kGraphSeries; ++i) {
        check(g.Series[i]);
        check(g.DataLabels[i]);
    }
    auto cut = [](char* field, int capacity) {
        if (static_cast<std::uint8_t>(field[0]) > capacity)
            field[0] = static_cast<char>(capacity);
    };
    cut(g.Name, kGraphNameLength);
    for (auto& t : g.Titles)
        cut(t, sizeof t - 1);
    for (auto& l : g.Legends)
        cut(l, sizeof l - 1);
    for (auto& f : g.Fonts)
        cut(f.Name, sizeof f.Name - 1);
}

std::string GraphName(const TGraphDef& g)
{
    std::size_t n = std::min<std::size_t>(static_cast<std::uint8_t>(g.Name[0]), kGraphNameLength);
    return std::string(g.Name + 1, n);
}

void SetGraphName(TGraphDef& g, std::string_view name) { SetShortString(g.Name, kGraphNameLength, name); }

int FindNamedGraph(const GraphState& s, std::string_view name)
{
    for (std::size_t i = 0; i < s.Named.size(); ++i)
        if (GraphName(s.Named[i]) == name)
            return static_cast<int>(i) + 1;
    return 0;
}

bool SaveNamedGraph(GraphState& s, std::string_view name)
{
    name = name.substr(0, kGraphNameLength);
    if (int n = FindNamedGraph(s, name)) {
        TGraphDef& slot = s.Named[static_cast<std::size_t>(n) - 1];
        slot = s.Current;
        SetGraphName(slot, name);
        return true;
    }
    if (s.Named.size() >= kMaxNamedGraphs)
        return false;
    SetGraphName(s.Current, name);
    s.Named.push_back(s.Current);
    return true;
}

bool UseNamedGraph(GraphState& s, std::string_view name)
{
    int n = FindNamedGraph(s, Upper(name));
    if (!n)
        return false;
    s.Current = s.Named[static_cast<std::size_t>(n) - 1];
    return true;
}

bool DeleteNamedGraph(GraphState& s, std::string_view name)
{
    int n = FindNamedGraph(s, name);
    if (!n)
        return false;
    s.Named.erase(s.Named.begin() + (n - 1));
    return true;
}

}  // namespace zt
