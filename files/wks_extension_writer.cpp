#include <array>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

#include "files/wks_records.h"
#include "files/wks_write_parts.h"
#include "graph/graph_def.h"

namespace zt {

namespace {

constexpr double kUnixEpochDay = 25569;  // 1 January 1970 in day numbers

void GraphExtPart(ByteWriter& w, std::uint16_t type, const TGraphDef& g)
{
    w.BeginRecord(type);
    w.Bytes(reinterpret_cast<const std::uint8_t*>(&g) + kGraphExtFirst, kGraphExtSize);
    w.EndRecord();
}

void TextRecord(ByteWriter& w, std::uint16_t type, std::string_view text, std::size_t limit)
{
    w.BeginRecord(type);
    w.ZText(text, limit);
    w.EndRecord();
}

// The login name of the user running the program, at most 80 characters.
std::string CurrentUserName()
{
    if (const passwd* pw = getpwuid(geteuid()); pw && pw->pw_name)
        return std::string(pw->pw_name).substr(0, 80);
    if (const char* user = std::getenv("USER"))
        return std::string(user).substr(0, 80);
    return {};
}

void StampCreation(DocumentInfo& info)
{
    if (info.CreatedTime >= 0)
        return;
    using namespace std::chrono;
    double days = duration<double>(system_clock::now().time_since_epoch()).count() / 86400.0;
    info.CreatedDate = std::floor(days) + kUnixEpochDay;
    info.CreatedTime = days - std::floor(days);
}

void WriteButtons(ByteWriter& w, const std::vector<MacroButton>& buttons)
{
    for (const MacroButton& b : buttons) {
        w.BeginRecord(X_BUTTON);
        w.ShortString(b.Caption, 20);
        w.ShortString(b.Macro, 255);
        w.I16(b.AnchorRow);
        w.I16(b.AnchorCol);
        w.I32(b.OffsetX);
        w.I32(b.OffsetY);
        w.I32(b.Width);
        w.I32(b.Height);
        w.EndRecord();
    }
}

void WriteView(ByteWriter& w, const WindowModel& win)
{
    w.BeginRecord(X_VIEW);
    w.U16(win.Sheets);
    w.U8(win.HSplit);
    w.U8(win.VSplit);
    w.U8(win.Synchronized);
    w.U8(win.ActivePane);
    const PaneState& a = win.Panes[0];
    for (std::uint16_t v : {a.LeftCol, a.TopRow, a.CursorCol, a.CursorRow, a.Height, a.Width})
        w.U16(v);
    const PaneState& b = win.Panes[1];
    for (std::uint16_t v : {b.LeftCol, b.TopRow, b.CursorCol, b.CursorRow})
        w.U16(v);
    for (std::uint16_t v : win.Frozen)
        w.U16(v);
    w.EndRecord();
}

void WriteCellAttributes(Engine& e, ByteWriter& w, const TRange& area, std::array<bool, 256>& used)
{
    ForEachSavedCell(e, area, [&](const TCell& c) {
        used[c.Typeface] = true;
        if (c.Typeface == 255 && c.FontSize == 0 && c.Style == 0 && c.Borders == 0 && c.Colors == kDefaultCellColors)
            return;
        w.BeginRecord(X_CELLATTR);
        w.U16(static_cast<std::uint16_t>(c.Row - area.FirstRow));
        w.U16(static_cast<std::uint16_t>(c.Col - area.FirstCol));
        w.U8(c.Typeface);
        w.U8(c.FontSize);
        w.U8(c.Style);
        w.U8(c.Borders);
        w.U32(c.Colors);
        w.EndRecord();
    });
}

}  // namespace

std::uint8_t ColumnWidthByte(const SheetLayout& layout, int col)
{
    std::uint16_t px = layout.ColWidths[static_cast<std::size_t>(col)];
    if (px == SheetLayout::kDefaultColumnWidth)
        return 255;
    return static_cast<std::uint8_t>(std::min(px / 8, 254));
}

std::uint8_t RowHeightByte(const SheetLayout& layout, int row)
{
    std::uint16_t px = layout.RowHeights[static_cast<std::size_t>(row)];
    if (px == SheetLayout::kDefaultRowHeight)
        return 255;
    return static_cast<std::uint8_t>(std::min<int>(px, 254));
}

void WriteExtensionSection(Engine& e, ByteWriter& w, const TRange& area)
{
    Worksheet& ws = *e.Cur;
    const WindowModel& win = ws.Window;
    GraphExtPart(w, X_GRAPH, ws.Graphs.Current);
    for (const TGraphDef& g : ws.Graphs.Named)
        GraphExtPart(w, X_NGRAPH, g);

    w.BeginRecord(X_WINNUM);
    w.U8(win.WindowCount);
    w.U8(win.WindowNumber);
    w.EndRecord();
    WriteButtons(w, win.Buttons);

    const AnalysisState& an = ws.Analysis;
    w.BeginRecord(X_SORTKEYS);
    w.Range(an.SortKey3);
    w.U8(an.SortKey3Ascending ? 0xFF : 0);
    w.Range(an.SortKey4);
    w.U8(an.SortKey4Ascending ? 0xFF : 0);
    w.EndRecord();
    w.BeginRecord(X_REGRESS);
    w.Range(an.RegressX);
    w.Range(an.RegressY);
    w.Bytes(an.RegressMasks.data(), an.RegressMasks.size());
    w.U8(0);
    w.EndRecord();

    const WorksheetSettings& s = ws.Settings;
    w.BeginRecord(X_COLORS);
    for (std::uint32_t c : {s.BackColor, s.BandColor, s.ValueColor, s.NegValueColor, s.LabelColor, s.UnlockedColor,
                            s.CursorColor})
        w.U32(c);
    w.EndRecord();
    w.BeginRecord(X_PAGE);
    for (double v : ws.Print.Page)
        w.I32(static_cast<std::int32_t>(std::lround(v * 100)));
    w.EndRecord();
    for (const std::string& tab : win.Tabs)
        TextRecord(w, X_SHEETTAB, tab, 80);
    for (const TUserFunction& f : ws.UserFunctions) {
        w.BeginRecord(X_USERFN);
        w.ShortString(f.Name, kRangeNameLength);
        w.U8(0);
        w.ShortString(f.Body, 255);
        w.I32(f.ParamCount);
        w.EndRecord();
    }

    // The attribute records are gathered first: they also tell which
    // typefaces the saved cells use, and those names come before them.
    std::vector<std::uint8_t> attributes;
    ByteWriter attr(attributes);
    std::array<bool, 256> used{};
    WriteCellAttributes(e, attr, area, used);
    for (int i = 0; i < 255; ++i) {
        if (!used[static_cast<std::size_t>(i)])
            continue;
        w.BeginRecord(X_FONTNAME);
        w.U16(static_cast<std::uint16_t>(i));
        w.ZText(static_cast<std::size_t>(i) < win.Typefaces.size() ? win.Typefaces[static_cast<std::size_t>(i)] : "",
                80);
        w.EndRecord();
    }
    w.BeginRecord(X_SHEETFONT);
    w.U16(win.FontHeight);
    w.U16(win.FontStyle);
    w.ZText(win.FontName, 80);
    w.EndRecord();
    WriteView(w, win);

    DocumentInfo& info = ws.Info;
    TextRecord(w, X_TITLE, info.Title, 80);
    TextRecord(w, X_COMMENT, info.Comment, 255);
    StampCreation(info);
    info.RevisedBy = CurrentUserName();
    TextRecord(w, X_REVISEDBY, info.RevisedBy, 80);
    w.BeginRecord(X_CREATED);
    w.Double(info.CreatedTime);
    w.Double(info.CreatedDate);
    w.EndRecord();
    w.Bytes(attributes.data(), attributes.size());

    for (int col = 0; col < kCols; ++col) {
        std::uint8_t width = ColumnWidthByte(ws.Layout, col);
        if (width == 255)
            continue;
        w.BeginRecord(X_COLWIDTH);
        w.U16(static_cast<std::uint16_t>(col));
        w.U8(width);
        w.EndRecord();
    }
    for (int row = 0; row < kRows; ++row) {
        std::uint8_t height = RowHeightByte(ws.Layout, row);
        if (height == 255)
            continue;
        w.BeginRecord(X_ROWHEIGHT);
        w.U16(static_cast<std::uint16_t>(row));
        w.U8(height);
        w.EndRecord();
    }
    w.BeginRecord(WKS_EOF);
    w.EndRecord();
}

}  // namespace zt
