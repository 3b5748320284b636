// The refresh of file links: values of other worksheet files for @LINK.
#include "files/file_access.h"
#include "files/worksheet_io.h"
#include "formula/recalc.h"

namespace zt {

void UpdateFileLinks(Engine& e)
{
    // Reading in link mode never touches the table's list of files, but
    // take the names first all the same: the table belongs to the formulas.
    std::vector<std::string> files;
    for (const LinkedFile& f : e.FileLinkTable)
        files.push_back(f.File);
    std::vector<std::uint8_t> bytes;
    for (const std::string& file : files) {
        if (ReadWholeFile(ResolveFileName(file), bytes, kMaxWorksheetFileBytes) != ReadFailure::None ||
            !IsWorksheetFile(bytes))
            continue;
        ReadOptions options;
        options.Mode = ReadMode::Link;
        options.LinkFile = file;
        ReadWorksheetFile(e, bytes, options);
    }
    RecalcAllSheets(e);
}

}  // namespace zt
