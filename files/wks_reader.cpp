#include "files/wks_reader.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "core/address.h"
#include "core/cell_entry.h"
#include "core/cell_store.h"
#include "core/range_names.h"
#include "files/wks_records.h"
#include "graph/graph_def.h"

namespace zt {

namespace {

constexpr int kMemoryCheckInterval = 32;

bool IsCellType(std::uint16_t t)
{
    return (t >= WKS_BLANK && t <= WKS_FORMULA) || t == WKS_STRING;
}

}  // namespace

double NormaliseFileValue(std::uint64_t bits)
{
    double d;
    std::memcpy(&d, &bits, sizeof d);
    return std::isfinite(d) ? d : 0.0;
}

WksReader::WksReader(Engine& e, std::span<const std::uint8_t> bytes, const ReadOptions& options)
    : e_(e), bytes_(bytes), in_(bytes), opt_(options)
{
    merge_ = opt_.Mode == ReadMode::Merge || opt_.Mode == ReadMode::ValuesOnly;
    valuesOnly_ = opt_.Mode == ReadMode::ValuesOnly;
    link_ = opt_.Mode == ReadMode::Link;
    mainWidths_.fill(255);
    for (std::size_t i = 0; i < typefaceMap_.size(); ++i)
        typefaceMap_[i] = static_cast<std::uint8_t>(i);
}

void WksReader::Fail(std::string_view message)
{
    result_.Ok = false;
    if (result_.Error.empty())
        result_.Error = message;
    stop_ = true;
}

TRange WksReader::CheckedRange(TRange r, bool addOffsets) const
{
    if (!RangeIsDefined(r))
        return kUndefinedRange;
    int dc = addOffsets ? colOffset_ : 0;
    int dr = addOffsets ? rowOffset_ : 0;
    int firstCol = r.FirstCol + dc, lastCol = r.LastCol + dc;
    int firstRow = r.FirstRow + dr, lastRow = r.LastRow + dr;
    if (!ValidCoord(firstRow, firstCol) || !ValidCoord(lastRow, lastCol))
        return kUndefinedRange;
    return TRange{static_cast<std::int16_t>(firstCol), static_cast<std::int16_t>(firstRow),
                  static_cast<std::int16_t>(lastCol), static_cast<std::int16_t>(lastRow)};
}

bool WksReader::Fits(std::size_t size, std::size_t need)
{
    if (size >= need)
        return true;
    Skip();
    return false;
}

void WksReader::SkipTrailingBytes()
{
    while (in_.Left() >= 4) {
        in_.U16();
        std::size_t length = in_.U16();
        Skip();
        if (length > in_.Left())
            return;
        in_.Take(length);
    }
    if (in_.Left() > 0)
        Skip();
}

void WksReader::MarkTruncated()
{
    result_.Truncated = true;
    if (result_.Error.empty())
        result_.Error = kTruncated;
}

bool WksReader::NextRecord(WksRecord& rec)
{
    if (in_.Left() == 0)
        return false;
    std::uint16_t type = in_.U16();
    std::uint16_t length = in_.U16();
    // Some writers put the length of the calculation-order record in the
    // high byte of its length word. No extension record has this type.
    if (type == WKS_CALCORDER && length > 255)
        length >>= 8;
    rec.At = in_.Pos();
    rec.Body = in_.Take(length);
    if (in_.Failed()) {
        MarkTruncated();
        return false;
    }
    rec.Color = 0;
    rec.Type = type;
    if (IsCellType(type & 0xFF)) {
        rec.Type = type & 0xFF;
        rec.Color = static_cast<std::uint8_t>(type >> 8);
    }
    ++result_.Records;
    return true;
}

void WksReader::SetSourceBounds()
{
    if (!merge_ || opt_.Source.empty())
        return;
    bounds_.LastCol = -1;
    bounds_.LastRow = -1;
    if (opt_.Source.find("..") != std::string::npos) {
        bool savedFlag = e_.Err.ErrorFlag;
        TRange r = ParseRange(e_, opt_.Source);
        e_.Err.ErrorFlag = savedFlag;
        if (RangeIsDefined(r) && ValidCoord(r.FirstRow, r.FirstCol) && ValidCoord(r.LastRow, r.LastCol))
            bounds_ = OrderedRange(r);
    } else {
        sourceName_ = RangeNameKey(opt_.Source);
    }
}

ReadResult WksReader::Run()
{
    if (!e_.Cur || !IsWorksheetFile(bytes_)) {
        Fail(kInvalidFile);
        return result_;
    }
    SetSourceBounds();
    if (merge_) {
        rowOffset_ = opt_.TargetRow - bounds_.FirstRow;
        colOffset_ = opt_.TargetCol - bounds_.FirstCol;
    }
    // The first record is taken as the beginning of the file, whatever its type.
    in_.Skip(6);
    if (in_.Failed())
        MarkTruncated();
    WksRecord rec;
    while (!stop_ && NextRecord(rec)) {
        if (result_.Records % kMemoryCheckInterval == 0 && MemoryLow(e_)) {
            Fail(kLowMemory);
            break;
        }
        if (!MainRecord(rec))
            break;
    }
    // Bytes that end at a record boundary before the end record are cut short too.
    if (!sawEnd_ && !stop_)
        MarkTruncated();
    if (!merge_ && !link_) {
        if (!sawColWidth_)
            for (int col = 0; col < kCols; ++col)
                if (mainWidths_[static_cast<std::size_t>(col)] != 255)
                    e_.Cur->Layout.ColWidths[static_cast<std::size_t>(col)] =
                        static_cast<std::uint16_t>(mainWidths_[static_cast<std::size_t>(col)] * 8);
        if (e_.Cur->Window.CursorW12 == 2)
            e_.Cur->Window.ActivePane = 1;
    }
    if (opt_.LinkAfterRead && !link_ && !LinkReadFormulas(e_))
        Fail(kLowMemory);
    if (result_.Skipped > 0) {
        result_.Ok = false;
        if (result_.Error.empty())
            result_.Error = std::string(kDamaged) + ": " + std::to_string(result_.Skipped) +
                            (result_.Skipped == 1 ? " record skipped" : " records skipped");
    }
    return result_;
}

bool WksReader::MainRecord(const WksRecord& rec)
{
    switch (rec.Type) {
    case WKS_BOF:
        Skip();  // the file's own start record was the first, taken as read
        return true;
    case WKS_EOF:
        // An end record with a body, or with more records after it, closes
        // nothing: the cells after it are read on.
        if (!rec.Body.empty() || !EndsMainSection()) {
            Skip();
            return true;
        }
        sawEnd_ = true;
        if (!merge_ && !link_)
            ExtensionSection();
        return false;
    case WKS_NAME:
    case WKS_NNAME:
        NameRecord(rec);
        return true;
    case WKS_BLANK:
    case WKS_INTEGER:
    case WKS_NUMBER:
    case WKS_LABEL:
    case WKS_FORMULA:
    case WKS_STRING:
        CellRecord(rec);
        return true;
    default:
        if (!merge_ && !link_)
            SettingsRecord(rec);
        return true;
    }
}

void WksReader::NameRecord(const WksRecord& rec)
{
    const std::size_t extra = rec.Type == WKS_NNAME ? 9 : 8;
    if (rec.Body.size() > 39 || rec.Body.size() <= extra) {
        Skip();
        return;
    }
    if (link_ || e_.Cur->Names.Count > kMaxRangeNames - 1)
        return;
    ByteReader body(rec.Body);
    std::string name = TextUpToZero(body.Take(rec.Body.size() - extra), kRangeNameLength);
    TRange stored = body.Range();
    TRange range = CheckedRange(stored);
    if (name.empty())
        return;
    if (!sourceName_.empty() && RangeNameKey(name) == sourceName_) {
        TRange source = CheckedRange(stored, false);
        if (RangeIsDefined(source)) {
            source = OrderedRange(source);
            bounds_ = source;
            rowOffset_ = opt_.TargetRow - bounds_.FirstRow;
            colOffset_ = opt_.TargetCol - bounds_.FirstCol;
        }
    }
    if (!opt_.Source.empty())
        return;
    bool savedFlag = e_.Err.ErrorFlag;
    if (name.size() >= 6 && name.starts_with("G!")) {
        auto a = static_cast<std::uint8_t>(name[2]);
        auto b = static_cast<std::uint8_t>(name[3]);
        e_.Cur->Analysis.CarriedByte = a == 255 ? 0 : a;
        e_.Cur->Settings.ZeroSuppress = b & 1;
        e_.Cur->Settings.NegColor = b & 4;
    } else if (int pos = FindRangeName(e_, name); pos <= 0) {
        AddRangeName(e_, RangeNameKey(name), range, -pos);
    }
    e_.Err.ErrorFlag = savedFlag;
    e_.Err.ErrorText.clear();
}

void WksReader::GraphRecord(const WksRecord& rec, bool named)
{
    GraphState& g = e_.Cur->Graphs;
    const std::size_t nameSize = named ? kNameFieldSize : 0;
    if (!Fits(rec.Body.size(), nameSize + kGraphMainSize) || (named && g.Named.size() >= kMaxNamedGraphs))
        return;
    TGraphDef def = g.Current;
    std::memcpy(reinterpret_cast<std::uint8_t*>(&def) + kGraphMainFirst, rec.Body.data() + nameSize, kGraphMainSize);
    if (def.XStep < 2)
        def.XStep = 5;
    if (def.YStep < 2)
        def.YStep = 5;
    SanitizeGraph(def);
    if (named) {
        SetGraphName(def, TextUpToZero(rec.Body.first(nameSize), kGraphNameLength));
        g.Named.push_back(def);
    } else {
        g.Current = def;
    }
}

void WksReader::SettingsRecord(const WksRecord& rec)
{
    Worksheet& ws = *e_.Cur;
    ByteReader body(rec.Body);
    const std::size_t size = rec.Body.size();
    auto& dr = ws.DataRanges;
    switch (rec.Type) {
    case WKS_CALCMODE:
        if (Fits(size, 1))
            ws.Settings.ManualCalc = body.U8() == 0;
        break;
    case WKS_SPLIT:
        if (Fits(size, 1))
            ws.Window.SplitByte = body.U8();
        break;
    case WKS_SYNC:
        if (Fits(size, 1))
            ws.Window.Synchronized = body.U8() == 0xFF;
        break;
    case WKS_WINDOW1:
    case WKS_WINDOW2:
        if (Fits(size, 16)) {
            PaneState& p = ws.Window.Panes[rec.Type == WKS_WINDOW1 ? 0 : 1];
            std::uint16_t col = body.U16();
            std::uint16_t row = body.U16();
            std::uint8_t format = body.U8();
            body.Skip(7);
            std::uint16_t left = body.U16();
            std::uint16_t top = body.U16();
            if (ValidCoord(row, col)) {
                p.CursorCol = col;
                p.CursorRow = row;
            }
            if (ValidCoord(top, left)) {
                p.LeftCol = left;
                p.TopRow = top;
            }
            if (rec.Type == WKS_WINDOW1)
                ws.Settings.DefaultFormat = format;
        }
        break;
    case WKS_COLW1:
        if (Fits(size, 3)) {
            std::uint16_t col = body.U16();
            std::uint8_t width = body.U8();
            if (col < kCols)
                mainWidths_[col] = width;
        }
        break;
    case WKS_TABLE:
        if (Fits(size, 25)) {
            ws.Analysis.TableByte = body.U8();
            dr[drTableOutput] = CheckedRange(body.Range());
            dr[drTableInput1] = CheckedRange(body.Range());
            dr[drTableInput2] = CheckedRange(body.Range());
        }
        break;
    case WKS_QUERY:
        if (Fits(size, 24)) {
            dr[drQueryInput] = CheckedRange(body.Range());
            dr[drQueryOutput] = CheckedRange(body.Range());
            dr[drQueryCriteria] = CheckedRange(body.Range());
        }
        break;
    case WKS_PRANGE:
    case WKS_SRANGE:
    case WKS_KRANGE:
    case WKS_KRANGE2:
        if (Fits(size, 8)) {
            int slot = rec.Type == WKS_PRANGE ? drPrint
                       : rec.Type == WKS_SRANGE ? drSortData
                       : rec.Type == WKS_KRANGE ? drSortKey1
                                                : drSortKey2;
            dr[static_cast<std::size_t>(slot)] = CheckedRange(body.Range());
        }
        break;
    case WKS_TITLES:
        if (Fits(size, 16)) {
            dr[drTitles1] = CheckedRange(body.Range());
            dr[drTitles2] = CheckedRange(body.Range());
        }
        break;
    case WKS_PROTEC:
        if (Fits(size, 1))
            ws.Settings.Protect = body.U8() != 0;
        break;
    case WKS_FOOTER:
        ws.Print.Footer = TextUpToZero(rec.Body, kMaxCellText);
        break;
    case WKS_HEADER:
        ws.Print.Header = TextUpToZero(rec.Body, kMaxCellText);
        break;
    case WKS_MARGINS:
        if (Fits(size, 10)) {
            auto& m = ws.Print.Margins;
            for (std::uint16_t& v : m)
                v = body.U16();
            auto hundredths = [](double x) { return std::round(x * 100) / 100; };
            ws.Print.Page[1] = hundredths(m[0] * 0.0125 * 8.5);
            ws.Print.Page[2] = hundredths(std::max(0.0, 8.5 - m[1] * 0.0125 * 8.5));
            ws.Print.Page[0] = hundredths(m[3] / 60.0 * 11);
            ws.Print.Page[3] = hundredths(m[4] / 60.0 * 11);
        }
        break;
    case WKS_LABELFMT:
        if (Fits(size, 1)) {
            char prefix = static_cast<char>(body.U8());
            if (IsLabelPrefix(prefix))
                ws.Settings.Prefix = prefix;
        }
        break;
    case WKS_GRAPH:
        GraphRecord(rec, false);
        break;
    case WKS_NGRAPH:
        GraphRecord(rec, true);
        break;
    case WKS_CURSORW12:
        if (Fits(size, 1))
            ws.Window.CursorW12 = body.U8();
        break;
    default:
        break;
    }
}

ReadResult ReadWorksheetFile(Engine& e, std::span<const std::uint8_t> bytes, const ReadOptions& options)
{
    WksReader reader(e, bytes, options);
    return reader.Run();
}

}  // namespace zt
