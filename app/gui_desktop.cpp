#include "app/gui_desktop.h"

#include <QApplication>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <sstream>

#include "app/batch.h"
#include "core/cell_text.h"
#include "files/external_sheets.h"
#include "formula/formula_engine.h"
#include "formula/user_functions.h"
#include "platform/qt/single_instance_qt.h"
#include "shell/main_window.h"

namespace zt {

namespace {

bool DisplayAvailable()
{
    auto set = [](const char* name) {
        const char* v = std::getenv(name);
        return v && *v;
    };
    return set("QT_QPA_PLATFORM") || set("DISPLAY") || set("WAYLAND_DISPLAY");
}

std::filesystem::path ProgramDirectory(const char* argv0)
{
    std::error_code ec;
    std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec)
        exe = std::filesystem::absolute(argv0, ec);
    return exe.parent_path();
}

// Without a window: the start-up worksheet as text, and how to get the window.
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

}  // namespace

int RunDesktop(int argc, char** argv)
{
    std::filesystem::path dir = ProgramDirectory(argv[0]);
    std::string startup = argc >= 2 ? std::string(argv[1]) : (dir / "AUTOEXEC.WKS").string();
    if (!DisplayAvailable())
        return ShowWithoutDisplay(startup);

    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName("ZENTABULAR");
    QtSingleInstance instance;
    if (!instance.BecomePrimary()) {
        instance.Send(InstanceMessage{});
        return 0;
    }

    Engine engine;
    InstallFormulaEngine(engine);
    InstallFileHooks(engine);
    std::filesystem::path library = dir / "ZTB32.USR";
    if (std::filesystem::exists(library))
        LoadUserFunctions(engine, library.string());

    TForm1 main(engine);
    Shell& shell = main.Controller();
    instance.OnActivate([&main] {
        main.showNormal();
        main.raise();
        main.activateWindow();
    });
    instance.OnRunMacro([&shell](int col, int row) { shell.RunMacroMessage(col, row); });
    main.show();
    if (std::filesystem::exists(startup))
        shell.OpenFile(startup);
    else
        shell.NewWindow();
    return QApplication::exec();
}

}  // namespace zt
