#include <algorithm>
#include <cmath>
#include <cstring>

#include "core/cell_store.h"
#include "files/wks_reader.h"
#include "files/wks_records.h"
#include "graph/graph_def.h"

namespace zt {

namespace {

constexpr std::size_t kMaxButtons = 255;

std::uint16_t CoordOr(std::uint16_t v, int limit, std::uint16_t fallback) { return v < limit ? v : fallback; }

}  // namespace

void WksReader::ExtensionSection()
{
    // The marker bytes: 0x1A 0x00 before an extension section, 0x1A 0x1A
    // (or nothing) when there is none.
    if (in_.Left() < 2)
        return;
    in_.U8();
    if (in_.U8() == 0x1A) {
        SkipTrailingBytes();
        return;
    }
    result_.HasExtension = true;
    e_.Cur->UserFunctions.clear();
    sawEnd_ = false;
    WksRecord rec;
    while (!stop_ && NextRecord(rec)) {
        if (rec.Type == WKS_BOF || rec.Type == WKS_EOF) {
            sawEnd_ = true;
            break;
        }
        ExtensionRecord(rec);
    }
    if (!sawEnd_ && !stop_) {
        MarkTruncated();
    } else if (!stop_) {
        // The end marker, 0x1A 0x1A, closes the file.
        for (int i = 0; i < 2 && in_.Peek() == 0x1A; ++i)
            in_.U8();
        SkipTrailingBytes();
    }
    sawEnd_ = true;
}

void WksReader::ExtensionRecord(const WksRecord& raw)
{
    // Extension records carry no colour byte: the type is the whole word.
    WksRecord rec = raw;
    rec.Type = static_cast<std::uint16_t>(raw.Type | (raw.Color << 8));
    Worksheet& ws = *e_.Cur;
    ByteReader body(rec.Body);
    const std::size_t size = rec.Body.size();
    switch (rec.Type) {
    case X_GRAPH:
        if (size == kGraphExtSize)
            std::memcpy(reinterpret_cast<std::uint8_t*>(&ws.Graphs.Current) + kGraphExtFirst, rec.Body.data(),
                        kGraphExtSize);
        else
            Skip();
        SanitizeGraph(ws.Graphs.Current);
        break;
    case X_NGRAPH:
        if (Fits(size, kGraphExtSize) && extGraphs_ < ws.Graphs.Named.size()) {
            TGraphDef& g = ws.Graphs.Named[extGraphs_];
            std::memcpy(reinterpret_cast<std::uint8_t*>(&g) + kGraphExtFirst, rec.Body.data(), kGraphExtSize);
            SanitizeGraph(g);
        }
        ++extGraphs_;
        break;
    case X_BUTTON:
        if (Fits(size, kButtonRecordSize) && ws.Window.Buttons.size() < kMaxButtons)
            ButtonRecord(body);
        break;
    case X_SORTKEYS:
        if (Fits(size, 18)) {
            ws.Analysis.SortKey3 = CheckedRange(body.Range(), false);
            ws.Analysis.SortKey3Ascending = body.U8() != 0;
            ws.Analysis.SortKey4 = CheckedRange(body.Range(), false);
            ws.Analysis.SortKey4Ascending = body.U8() != 0;
        }
        break;
    case X_REGRESS:
        if (Fits(size, 25)) {
            ws.Analysis.RegressX = CheckedRange(body.Range(), false);
            ws.Analysis.RegressY = CheckedRange(body.Range(), false);
            for (std::uint8_t& m : ws.Analysis.RegressMasks)
                m = body.U8() & 7;
        }
        break;
    case X_COLORS:
        if (Fits(size, 28)) {
            WorksheetSettings& s = ws.Settings;
            for (std::uint32_t* c : {&s.BackColor, &s.BandColor, &s.ValueColor, &s.NegValueColor, &s.LabelColor,
                                     &s.UnlockedColor, &s.CursorColor})
                *c = body.U32();
        }
        break;
    case X_PAGE:
        if (Fits(size, 24))
            for (double& v : ws.Print.Page)
                v = body.I32() / 100.0;
        break;
    case X_SHEETTAB:
        if (!sawTab_) {
            ws.Window.Tabs.clear();
            sawTab_ = true;
        }
        if (ws.Window.Tabs.size() < kMaxSheetTabs)
            ws.Window.Tabs.push_back(TextUpToZero(rec.Body, 11));
        break;
    case X_USERFN:
        if (Fits(size, kUserFnRecordSize) && ws.UserFunctions.size() < kMaxUserFunctions)
            UserFunctionRecord(body);
        break;
    case X_FONTNAME:
        if (Fits(size, 3))
            FontNameRecord(body);
        break;
    case X_SHEETFONT:
        if (Fits(size, 5)) {
            ws.Window.FontHeight = body.U16();
            ws.Window.FontStyle = body.U16();
            ws.Window.FontName = TextUpToZero(rec.Body.subspan(4), 80);
        }
        break;
    case X_VIEW:
        if (Fits(size, kViewRecordShortSize))
            ViewRecord(body, size);
        break;
    case X_TITLE:
        ws.Info.Title = TextUpToZero(rec.Body, 80);
        break;
    case X_COMMENT:
        ws.Info.Comment = TextUpToZero(rec.Body, 255);
        break;
    case X_REVISEDBY:
        ws.Info.RevisedBy = TextUpToZero(rec.Body, 80);
        break;
    case X_CREATED:
        if (Fits(size, 16)) {
            double time = body.Double();
            double date = body.Double();
            if (std::isfinite(time) && std::isfinite(date)) {
                ws.Info.CreatedTime = time;
                ws.Info.CreatedDate = date;
            }
        }
        break;
    case X_CELLATTR:
        if (Fits(size, 12))
            CellAttrRecord(body);
        break;
    case X_COLWIDTH:
        if (Fits(size, 3)) {
            std::uint16_t col = body.U16();
            std::uint8_t width = body.U8();
            if (col < kCols) {
                ws.Layout.ColWidths[col] =
                    width == 255 ? SheetLayout::kDefaultColumnWidth : static_cast<std::uint16_t>(width * 8);
                sawColWidth_ = true;
            }
        }
        break;
    case X_ROWHEIGHT:
        if (Fits(size, 3)) {
            std::uint16_t row = body.U16();
            std::uint8_t height = body.U8();
            if (row < kRows)
                ws.Layout.RowHeights[row] = height == 255 ? SheetLayout::kDefaultRowHeight : height;
        }
        break;
    default:
        break;
    }
}

void WksReader::ButtonRecord(ByteReader& body)
{
    MacroButton b;
    b.Caption = ShortStringField(body.Take(21));
    b.Macro = ShortStringField(body.Take(256));
    b.AnchorRow = body.I16();
    b.AnchorCol = body.I16();
    b.OffsetX = body.I32();
    b.OffsetY = body.I32();
    b.Width = body.I32();
    b.Height = body.I32();
    if (ValidCoord(b.AnchorRow, b.AnchorCol) && b.Width >= 0 && b.Height >= 0)
        e_.Cur->Window.Buttons.push_back(std::move(b));
}

void WksReader::UserFunctionRecord(ByteReader& body)
{
    TUserFunction f;
    f.Name = ShortStringField(body.Take(kRangeNameLength + 1));
    body.Skip(1);
    f.Body = ShortStringField(body.Take(256));
    f.ParamCount = std::clamp(body.I32(), 0, 10);
    e_.Cur->UserFunctions.push_back(std::move(f));
}

void WksReader::FontNameRecord(ByteReader& body)
{
    std::uint16_t index = body.U16();
    if (index > 255)
        return;
    std::string name = TextUpToZero(body.Take(body.Left()), 80);
    std::vector<std::string>& list = e_.Cur->Window.Typefaces;
    typefaceMap_[index] = 255;
    auto it = std::find(list.begin(), list.end(), name);
    if (it == list.end() && !name.empty() && list.size() < 255) {
        // A typeface this worksheet does not know yet joins its list, so the
        // cells keep naming it.
        list.push_back(name);
        it = list.end() - 1;
    }
    if (it != list.end())
        typefaceMap_[index] = static_cast<std::uint8_t>(it - list.begin());
}

void WksReader::CellAttrRecord(ByteReader& body)
{
    std::uint16_t row = body.U16();
    std::uint16_t col = body.U16();
    if (!ValidCoord(row, col))
        return;
    PCell cell = FindCell(e_, row, col);
    if (!cell)
        return;
    cell->Typeface = typefaceMap_[body.U8()];
    cell->FontSize = body.U8();
    cell->Style = body.U8();
    cell->Borders = body.U8();
    cell->Colors = body.U32();
}

void WksReader::ViewRecord(ByteReader& body, std::size_t size)
{
    WindowModel& win = e_.Cur->Window;
    std::uint16_t sheets = body.U16();
    if (sheets >= 1 && sheets <= kRows && kRows % sheets == 0) {
        win.Sheets = sheets;
        e_.Cur->Settings.RowsPerSheet = kRows / sheets;
    }
    win.HSplit = body.U8() != 0;
    win.VSplit = body.U8() != 0;
    win.Synchronized = body.U8() != 0;
    win.ActivePane = body.U8() ? 1 : 0;
    for (int i = 0; i < 2; ++i) {
        PaneState& p = win.Panes[static_cast<std::size_t>(i)];
        p.LeftCol = CoordOr(body.U16(), kCols, 0);
        p.TopRow = CoordOr(body.U16(), kRows, 0);
        p.CursorCol = CoordOr(body.U16(), kCols, 0);
        p.CursorRow = CoordOr(body.U16(), kRows, 0);
        if (i == 0) {
            p.Height = body.U16();
            p.Width = body.U16();
        }
    }
    if (size >= kViewRecordSize) {
        win.Frozen[0] = CoordOr(body.U16(), kCols, 0);
        win.Frozen[1] = CoordOr(body.U16(), kCols, 0);
        win.Frozen[2] = CoordOr(body.U16(), kRows, 0);
        win.Frozen[3] = CoordOr(body.U16(), kRows, 0);
    }
}

}  // namespace zt
