#include "app/no_display.h"

#include <filesystem>
#include <iostream>

#include "app/batch.h"
#include "core/cell_text.h"

namespace zt {

int ShowWithoutDisplay(const std::string& startup)
{
    std::cout << "No display is available, so the ZENTABULAR window cannot open.\n";
    if (std::filesystem::exists(startup)) {
        std::cout << "The start-up worksheet " << startup << ":\n\n";
        BatchSession session(std::cout, std::cerr);
        if (session.RunLine("open " + startup)) {
            // Every row that holds cells, as the columns show them.
            Engine& e = session.Eng();
            for (int row = 0; row <= e.Cur->MaxRow; ++row)
                if (e.Cur->RowHeads[std::size_t(row)])
                    session.Print(std::to_string(row + 1) + "\t" + RenderRow(e, row, 0, e.Cur->MaxCol));
        }
    }
    std::cout << "\nTo start the window, run ztb32 on a desktop (DISPLAY or WAYLAND_DISPLAY set),"
                 " e.g. under Xvfb: xvfb-run build/ztb32 FILE.\n"
                 "Without a window, ztb32 --batch [FILE] reads commands from standard input (ztb32 --help).\n";
    return 0;
}

}  // namespace zt
