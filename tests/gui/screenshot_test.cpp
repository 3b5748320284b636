// The demonstration worksheet as a user sees it, compared with a stored
// picture. ZT_UPDATE_SCREENSHOTS=1 stores the pictures anew.
#include <QImage>
#include <QMdiSubWindow>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

#include "files/external_sheets.h"
#include "formula/formula_engine.h"
#include "platform/notify_headless.h"
#include "shell/main_window.h"
#include "shell/worksheet_window.h"

namespace zt {
namespace {

namespace fs = std::filesystem;

// Share of pixels whose colour differs by more than a little.
double DifferingShare(const QImage& a, const QImage& b)
{
    if (a.size() != b.size())
        return 1.0;
    long differing = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            int d = std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q));
            if (d > 60)
                ++differing;
        }
    }
    return double(differing) / (double(a.width()) * a.height());
}

QImage RenderWorksheet(const std::string& file, const std::function<void(Shell&)>& prepare, bool wholeWindow = false)
{
    Engine engine;
    InstallFormulaEngine(engine);
    InstallFileHooks(engine);
    HeadlessNotify notify;
    TForm1 main(engine);
    engine.Notifier = &notify;
    main.resize(900, 600);
    main.show();
    Shell& shell = main.Controller();
    EXPECT_TRUE(shell.OpenFile(file));
    prepare(shell);
    SheetWindow* w = shell.Active();
    TForm2* form = main.FormOf(*w);
    form->parentWidget()->resize(760, 420);
    form->Sync();
    QWidget* shown = wholeWindow ? static_cast<QWidget*>(&main) : static_cast<QWidget*>(form);
    QImage image = shown->grab().toImage().convertToFormat(QImage::Format_RGB32);
    shell.CloseAll();
    return image;
}

void CompareWithStored(const QImage& image, const std::string& name)
{
    fs::path stored = fs::path(ZT_SOURCE_DIR) / "tests/data/screens" / (name + ".png");
    fs::path actual = fs::temp_directory_path() / (name + "-actual.png");
    image.save(QString::fromStdString(actual.string()));
    if (std::getenv("ZT_UPDATE_SCREENSHOTS")) {
        ASSERT_TRUE(image.save(QString::fromStdString(stored.string())));
        return;
    }
    QImage expected(QString::fromStdString(stored.string()));
    ASSERT_FALSE(expected.isNull()) << "no stored picture " << stored;
    EXPECT_LT(DifferingShare(image, expected.convertToFormat(QImage::Format_RGB32)), 0.01)
        << "compare " << actual << " with " << stored;
}

TEST(Screenshot, DemonstrationWorksheet)
{
    std::string file = std::string(ZT_SOURCE_DIR) + "/examples/AUTOEXEC.WKS";
    QImage image = RenderWorksheet(file, [](Shell&) {});
    CompareWithStored(image, "autoexec");
}

TEST(Screenshot, SplitWindowWithSelection)
{
    std::string file = std::string(ZT_SOURCE_DIR) + "/examples/AUTOEXEC.WKS";
    QImage image = RenderWorksheet(file, [](Shell& shell) {
        GridState& g = shell.Active()->Pane();
        g.GoToCell(3, 1);
        g.ExtendTo(5, 4);
        shell.Command("Vertical1Click");
    });
    CompareWithStored(image, "split");
}

TEST(Screenshot, MainWindowWhileTypingAFormula)
{
    std::string file = std::string(ZT_SOURCE_DIR) + "/examples/AUTOEXEC.WKS";
    QImage image = RenderWorksheet(file, [](Shell& shell) {
        shell.Active()->Pane().GoToCell(8, 3);
        for (char ch : std::string("+B9*"))
            shell.KeyPress(ch);
        shell.KeyDown(KeyEvent{vkUp});
    }, true);
    CompareWithStored(image, "main");
}

}  // namespace
}  // namespace zt
