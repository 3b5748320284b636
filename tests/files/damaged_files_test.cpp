// The damaged worksheet files under tests/data/damaged: cut at and inside
// records, with lengths made huge or zero, with garbage appended, and (the
// damaged_ ones, from a file of 17 cells) with one length byte changed, an
// early end record, a second start record and data after the final marker.
// Opening each one loads what it can or reports, never crashes, and leaves
// a worksheet whose cells can all be shown and recalculated.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/cell_store.h"
#include "files/worksheet_io.h"
#include "formula/cell_contents.h"
#include "formula/formula_engine.h"
#include "formula/recalc.h"

namespace zt {
namespace {

namespace fs = std::filesystem;

class MessageCount : public Notify {
public:
    void ShowMessage(std::string_view) override { ++Count; }
    int Count = 0;
};

TEST(DamagedFilesTest, EachLoadsWhatItCanOrReports)
{
    fs::path dir = fs::path(ZT_SOURCE_DIR) / "tests" / "data" / "damaged";
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(dir))
        files.push_back(entry.path());
    ASSERT_GE(files.size(), 40u);
    for (const fs::path& file : files) {
        Engine e(512);
        MessageCount messages;
        e.Notifier = &messages;
        InstallFormulaEngine(e);
        RestoreContext(e, OpenSheet(e, "T"));
        bool ok = RetrieveWorksheet(e, file.string());
        // A file cut short, inside a record or at its end, is never taken as whole.
        std::string name = file.filename().string();
        bool cut = name.rfind("cut_", 0) == 0 || name.rfind("length_huge_", 0) == 0 || name == "empty.wks" ||
                   name == "only_bof.wks" || name == "extension_cut.wks";
        bool damaged = name.rfind("damaged_", 0) == 0;
        if (cut || damaged) {
            EXPECT_FALSE(ok) << name;
            EXPECT_EQ(messages.Count, 1) << name;
        }
        // Whatever arrived is usable: every cell shows and recalculates.
        int cells = 0;
        for (int row = 0; row <= e.Cur->MaxRow; ++row)
            for (PCell c = FindFirstAtOrAfter(e, row, 0); c; c = NextCell(e, c), ++cells)
                CellContentsText(e, c);
        if (damaged) {
            EXPECT_GE(cells, 16) << name << ": one damaged record costs at most one cell";
        }
        RecalcAll(e);
        EXPECT_EQ(e.CurSlot, 1) << file;
    }
}

}  // namespace
}  // namespace zt
