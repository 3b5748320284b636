#include "files/external_sheets.h"

#include "core/cell_store.h"
#include "core/scoped_sheet.h"
#include "files/file_access.h"
#include "files/worksheet_io.h"

namespace zt {

int ExternalSheetSlot(Engine& e, std::string_view path)
{
    const std::string name = WorksheetNameOf(path);
    for (int s = 1; s <= kMaxSheetSlots; ++s)
        if (e.Slots[s] && e.Slots[s]->Name == name)
            return s;

    std::string file = ResolveFileName(path);
    std::vector<std::uint8_t> bytes;
    if (ReadWholeFile(file, bytes, kMaxWorksheetFileBytes) != ReadFailure::None || !IsWorksheetFile(bytes))
        return 0;
    int slot = OpenSheet(e, name);
    if (!slot)
        return 0;
    // The reading must not disturb the error state of the evaluation that asked.
    ErrorState err = e.Err;
    {
        ScopedSheet other(e, slot);
        e.Cur->FilePath = file;
        ReadOptions options;
        options.Mode = ReadMode::ValuesOnly;
        options.LinkAfterRead = false;
        ReadWorksheetFile(e, bytes, options);
    }
    e.Err = err;
    return slot;
}

namespace {

class FileAccessHooks : public FileHooks {
public:
    int ExternalSheetSlot(Engine& e, std::string_view path) override { return zt::ExternalSheetSlot(e, path); }
};

}  // namespace

void InstallFileHooks(Engine& e) { e.Files = std::make_unique<FileAccessHooks>(); }

}  // namespace zt
