// Retrieve: a worksheet file replaces the current worksheet.
#include "core/address.h"
#include "core/cell_store.h"
#include "core/range_names.h"
#include "core/undo.h"
#include "files/file_access.h"
#include "files/worksheet_io.h"
#include "formula/recalc.h"

namespace zt {

std::string WorksheetNameOf(std::string_view path) { return UpperCase(AbsoluteFileName(path)); }

bool ReadWorksheetBytes(Engine& e, std::string_view file, std::vector<std::uint8_t>& bytes)
{
    ReadFailure failure = ReadWholeFile(file, bytes, kMaxWorksheetFileBytes);
    if (failure != ReadFailure::None) {
        ReportError(e, ReadFailureText(failure, file));
        return false;
    }
    if (!IsWorksheetFile(bytes)) {
        ReportError(e, kInvalidWorksheetFile);
        return false;
    }
    return true;
}

namespace {

// Everything the worksheet held goes; what a new worksheet starts with takes its place.
void ClearWorksheet(Engine& e)
{
    DiscardSnapshot(e);
    FreeAllCells(e);
    FreeRangeNames(e);
    Worksheet& ws = *e.Cur;
    ws.Settings = e.Defaults;
    ws.DataRanges.fill(kUndefinedRange);
    ws.Layout = SheetLayout();
    ws.UserFunctions.clear();
    ws.Graphs = GraphState();
    ws.Window = WindowModel();
    ws.Print = PrintSetup();
    ws.Info = DocumentInfo();
    ws.Analysis = AnalysisState();
}

}  // namespace

bool RetrieveWorksheet(Engine& e, std::string_view path)
{
    std::string file = ResolveFileName(path);
    std::vector<std::uint8_t> bytes;
    if (!ReadWorksheetBytes(e, file, bytes))
        return false;
    ClearWorksheet(e);
    ReadResult read = ReadWorksheetFile(e, bytes, ReadOptions{});
    Worksheet& ws = *e.Cur;
    ws.FilePath = file;
    ws.Name = WorksheetNameOf(file);
    RecalcAll(e);
    // Formulas that link to other files have registered them while
    // recalculating; their values come in now.
    if (!e.FileLinkTable.empty())
        UpdateFileLinks(e);
    ws.Modified = false;
    // The start-up macro of the worksheet (the range named AUTOEXEC) starts
    // here once the macro interpreter exists.
    // A damaged or cut-short file keeps what could be read, and says so.
    if (!read.Ok || read.Truncated) {
        ReportError(e, read.Error);
        return false;
    }
    return true;
}

}  // namespace zt
