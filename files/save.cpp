// Save and extract: the worksheet, or one range of it, written to a file
// that replaces the previous one only once it is complete on disk.
#include "core/cell_store.h"
#include "files/file_access.h"
#include "files/worksheet_io.h"

namespace zt {

namespace {

// A failure names the file and says why: "Unable to WRITE X.WKS: Permission denied".
bool WriteFileReporting(Engine& e, const std::string& file, const std::vector<std::uint8_t>& bytes)
{
    WriteResult result = WriteWholeFile(file, bytes, true);
    if (result.Failure == WriteFailure::None)
        return true;
    std::string_view what = result.Failure == WriteFailure::Close ? kUnableToClose : kUnableToWrite;
    ReportError(e, std::string(what) + " " + file + ": " + result.Reason);
    return false;
}

}  // namespace

bool SaveWorksheet(Engine& e, std::string_view path)
{
    Worksheet& ws = *e.Cur;
    const bool wasModified = ws.Modified;
    std::vector<std::uint8_t> bytes;
    WriteWorksheetFile(e, bytes, nullptr);
    std::string file(path);
    if (!WriteFileReporting(e, file, bytes)) {
        ws.Modified = wasModified;
        return false;
    }
    ws.FilePath = AbsoluteFileName(file);
    ws.Name = WorksheetNameOf(file);
    ws.Modified = false;
    return true;
}

bool ExtractRange(Engine& e, const TRange& r, std::string_view path)
{
    Worksheet& ws = *e.Cur;
    const bool wasModified = ws.Modified;
    std::vector<std::uint8_t> bytes;
    TRange area = OrderedRange(r);
    WriteWorksheetFile(e, bytes, &area);
    ws.Modified = wasModified;
    return WriteFileReporting(e, std::string(path), bytes);
}

}  // namespace zt
