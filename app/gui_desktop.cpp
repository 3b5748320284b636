#include "app/gui_desktop.h"

#include <QApplication>

#include "files/external_sheets.h"
#include "formula/formula_engine.h"
#include "formula/user_functions.h"
#include "platform/codepage.h"
#include "platform/qt/single_instance_qt.h"
#include "shell/main_window.h"

namespace zt {

int RunDesktop(int argc, char** argv, const std::string& startup, const std::filesystem::path& programDir)
{
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
    // File names from the system are UTF-8; the program holds them in its
    // own code page.
    const std::filesystem::path libraryPath = programDir / "ZTB32.USR";
    std::string library;
    if (std::filesystem::exists(libraryPath) && Cp1252FromUtf8(libraryPath.string(), library))
        LoadUserFunctions(engine, library);

    TForm1 main(engine);
    Shell& shell = main.Controller();
    instance.OnActivate([&main] {
        main.showNormal();
        main.raise();
        main.activateWindow();
    });
    instance.OnRunMacro([&shell](int col, int row) { shell.RunMacroMessage(col, row); });
    main.show();
    std::string startupName;
    if (std::filesystem::exists(startup) && Cp1252FromUtf8(startup, startupName))
        shell.OpenFile(startupName);
    else
        shell.NewWindow();
    return QApplication::exec();
}

}  // namespace zt
