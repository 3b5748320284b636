#include <algorithm>

#include "core/range_names.h"
#include "files/formula_file_code.h"
#include "files/wks_records.h"
#include "files/wks_write_parts.h"
#include "files/worksheet_file.h"
#include "graph/graph_def.h"

namespace zt {

namespace {

void ByteRecord(ByteWriter& w, std::uint16_t type, std::uint8_t v)
{
    w.BeginRecord(type);
    w.U8(v);
    w.EndRecord();
}

void RangeRecord(ByteWriter& w, std::uint16_t type, const TRange& r)
{
    w.BeginRecord(type);
    w.Range(r);
    w.EndRecord();
}

void KeyRangeRecord(ByteWriter& w, std::uint16_t type, const TRange& r)
{
    w.BeginRecord(type);
    w.Range(r);
    w.U8(0xFF);
    w.EndRecord();
}

void TextRecord(ByteWriter& w, std::uint16_t type, std::string_view text)
{
    w.BeginRecord(type);
    w.ZText(text, kMaxCellText);
    w.EndRecord();
}

void WindowRecord(ByteWriter& w, std::uint16_t type, const PaneState& p, std::uint8_t defaultFormat)
{
    w.BeginRecord(type);
    w.U16(p.CursorCol);
    w.U16(p.CursorRow);
    w.U8(defaultFormat);
    w.U8(0);
    w.U16(9);
    w.U16(7);
    w.U16(20);
    w.U16(p.LeftCol);
    w.U16(p.TopRow);
    w.Fill(0, 8);
    w.U16(4);
    w.U16(4);
    w.U16(72);
    w.U8(0);
    w.EndRecord();
}

void NameField(ByteWriter& w, std::string_view name)
{
    name = name.substr(0, kNameFieldSize - 1);
    w.Bytes(name.data(), name.size());
    w.Fill(0, kNameFieldSize - name.size());
}

// The settings name: "G!", the carried byte, the zero and colour flags, "P", 1.
std::string SettingsName(const Worksheet& ws)
{
    std::uint8_t a = ws.Analysis.CarriedByte ? ws.Analysis.CarriedByte : 255;
    std::uint8_t b = ws.Settings.ZeroSuppress ? 1 : 2;
    if (ws.Settings.NegColor)
        b |= 4;
    return std::string{'G', '!', static_cast<char>(a), static_cast<char>(b), 'P', 1};
}

void GraphMainPart(ByteWriter& w, const TGraphDef& g)
{
    w.Bytes(reinterpret_cast<const std::uint8_t*>(&g) + kGraphMainFirst, kGraphMainSize);
}

void WriteSettings(Engine& e, ByteWriter& w)
{
    Worksheet& ws = *e.Cur;
    const WindowModel& win = ws.Window;
    ByteRecord(w, WKS_CALCMODE, ws.Settings.ManualCalc ? 0x00 : 0xFF);
    ByteRecord(w, WKS_SPLIT, win.SplitByte);
    ByteRecord(w, WKS_SYNC, win.Synchronized ? 0xFF : 0x00);
    WindowRecord(w, WKS_WINDOW1, win.Panes[0], ws.Settings.DefaultFormat);
    for (int col = 0; col < kCols; ++col) {
        std::uint8_t width = ColumnWidthByte(ws.Layout, col);
        if (width == 255)
            continue;
        w.BeginRecord(WKS_COLW1);
        w.U16(static_cast<std::uint16_t>(col));
        w.U8(width);
        w.EndRecord();
    }
    if (win.SplitByte != 0)
        WindowRecord(w, WKS_WINDOW2, win.Panes[1], ws.Settings.DefaultFormat);

    w.BeginRecord(WKS_NAME);
    NameField(w, SettingsName(ws));
    w.Range(TRange{0, 0, 0, 0});
    w.EndRecord();
    for (int i = 1; i <= ws.Names.Count; ++i) {
        w.BeginRecord(WKS_NAME);
        NameField(w, RangeNameAt(e, i));
        w.Range(RangeOfName(e, i));
        w.EndRecord();
    }

    const auto& dr = ws.DataRanges;
    w.BeginRecord(WKS_TABLE);
    w.U8(ws.Analysis.TableByte);
    w.Range(dr[drTableOutput]);
    w.Range(dr[drTableInput1]);
    w.Range(dr[drTableInput2]);
    w.EndRecord();
    w.BeginRecord(WKS_QUERY);
    w.Range(dr[drQueryInput]);
    w.Range(dr[drQueryOutput]);
    w.Range(dr[drQueryCriteria]);
    w.U8(0);
    w.EndRecord();
    RangeRecord(w, WKS_PRANGE, dr[drPrint]);
    RangeRecord(w, WKS_SRANGE, dr[drSortData]);
    KeyRangeRecord(w, WKS_KRANGE, dr[drSortKey1]);
    KeyRangeRecord(w, WKS_KRANGE2, dr[drSortKey2]);
    ByteRecord(w, WKS_PROTEC, ws.Settings.Protect ? 0xFF : 0x00);
    TextRecord(w, WKS_FOOTER, ws.Print.Footer);
    TextRecord(w, WKS_HEADER, ws.Print.Header);
    TextRecord(w, WKS_SETUP, ws.Print.Setup);
    w.BeginRecord(WKS_MARGINS);
    for (std::uint16_t m : ws.Print.Margins)
        w.U16(m);
    w.EndRecord();
    ByteRecord(w, WKS_LABELFMT, static_cast<std::uint8_t>(ws.Settings.Prefix));
    w.BeginRecord(WKS_TITLES);
    w.Range(dr[drTitles1]);
    w.Range(dr[drTitles2]);
    w.EndRecord();

    w.BeginRecord(WKS_GRAPH);
    GraphMainPart(w, ws.Graphs.Current);
    w.EndRecord();
    for (const TGraphDef& g : ws.Graphs.Named) {
        w.BeginRecord(WKS_NGRAPH);
        NameField(w, GraphName(g));
        GraphMainPart(w, g);
        w.EndRecord();
    }
}

void CellHeader(ByteWriter& w, const TCell& c, const TRange& area)
{
    w.U8(c.Format);
    w.U16(static_cast<std::uint16_t>(c.Col - area.FirstCol));
    w.U16(static_cast<std::uint16_t>(c.Row - area.FirstRow));
}

void WriteCell(Engine& e, ByteWriter& w, const TCell& c, const TRange& area)
{
    switch (BaseKind(c.Kind)) {
    case ckBlank:
        w.BeginRecord(WKS_BLANK);
        CellHeader(w, c, area);
        break;
    case ckInteger:
        w.BeginRecord(WKS_INTEGER);
        CellHeader(w, c, area);
        w.I16(ReadInteger(c));
        break;
    case ckReal:
        w.BeginRecord(WKS_NUMBER);
        CellHeader(w, c, area);
        w.Double(ReadReal(c));
        break;
    case ckString:
        w.BeginRecord(WKS_LABEL);
        CellHeader(w, c, area);
        w.ZText(TextOf(e, c.Text), 255);
        break;
    default: {
        w.BeginRecord(WKS_FORMULA);
        CellHeader(w, c, area);
        if (c.Kind & kfError) {
            w.U32(0);
            w.U32(static_cast<std::uint32_t>(kErrorValueBits >> 32));
        } else if (BaseKind(c.Kind) == ckStrFormula)
            w.Fill(0, 8);
        else
            w.Double(ReadReal(c));
        std::vector<std::uint8_t> code = FileCodeOf(e, c);
        w.U16(static_cast<std::uint16_t>(code.size()));
        w.Bytes(code.data(), code.size());
        break;
    }
    }
    w.EndRecord();
    if (c.Kind == ckStrFormula) {
        w.BeginRecord(WKS_STRING);
        CellHeader(w, c, area);
        w.ZText(TextOf(e, ReadStrResult(c)), 255);
        w.EndRecord();
    }
}

// The cells of an extract: the range in ascending order, cut to the
// worksheet; an undefined range covers no cells.
TRange SavedArea(const TRange& range)
{
    if (!RangeIsDefined(range))
        return TRange{0, 1, 0, 0};
    TRange r = OrderedRange(range);
    r.FirstCol = std::max<std::int16_t>(r.FirstCol, 0);
    r.FirstRow = std::max<std::int16_t>(r.FirstRow, 0);
    r.LastCol = std::min<std::int16_t>(r.LastCol, kCols - 1);
    r.LastRow = std::min<std::int16_t>(r.LastRow, kRows - 1);
    return r;
}

}  // namespace

void WriteWorksheetFile(Engine& e, std::vector<std::uint8_t>& out, const TRange* extract)
{
    ByteWriter w(out);
    Worksheet& ws = *e.Cur;
    TRange area = extract ? SavedArea(*extract) : TRange{0, 0, ws.MaxCol, ws.MaxRow};

    w.BeginRecord(WKS_BOF);
    w.U16(0x0404);
    w.EndRecord();
    w.BeginRecord(WKS_RANGE);
    w.U16(0);
    w.U16(0);
    w.U16(static_cast<std::uint16_t>(ws.MaxCol));
    w.U16(static_cast<std::uint16_t>(ws.MaxRow));
    w.EndRecord();
    if (!extract) {
        ws.Modified = false;
        WriteSettings(e, w);
    }
    ForEachSavedCell(e, area, [&](const TCell& c) { WriteCell(e, w, c, area); });
    w.BeginRecord(WKS_EOF);
    w.EndRecord();
    w.U8(0x1A);
    w.U8(0x00);
    WriteExtensionSection(e, w, area);
    w.U8(0x1A);
    w.U8(0x1A);
}

}  // namespace zt
