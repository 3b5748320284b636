#include "platform/qt/qt_canvas.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

namespace zt {
namespace {

constexpr ColorRef kRed = 0x0000FF;  // 0x00BBGGRR
constexpr ColorRef kGreen = 0x00FF00;
constexpr ColorRef kBlack = 0x000000;

// A white image with a canvas on it; End() finishes painting so pixels can be read.
class QtCanvasTest : public ::testing::Test {
protected:
    QtCanvasTest() : image(200, 40, QImage::Format_RGB32)
    {
        image.fill(Qt::white);
        painter.begin(&image);
    }
    ~QtCanvasTest() override { End(); }

    void End()
    {
        if (painter.isActive())
            painter.end();
    }

    bool IsDark(int x, int y) const { return qGray(image.pixel(x, y)) < 128; }

    QImage image;
    QPainter painter;
    PictureCache pictures;
    QtCanvas canvas{painter, pictures};
};

TEST_F(QtCanvasTest, FillsAndLinesUseTheStoredColourOrder)
{
    canvas.FillRect({10, 5, 30, 25}, kRed);
    canvas.Line(0, 35, 200, 35, kGreen, 1);
    End();
    EXPECT_EQ(image.pixelColor(15, 10), QColor(255, 0, 0));
    EXPECT_EQ(image.pixelColor(30, 10), QColor(Qt::white)) << "the right edge is exclusive";
    EXPECT_EQ(image.pixelColor(100, 35), QColor(0, 255, 0));
    EXPECT_EQ(ToQColor(0x00336699), QColor(0x99, 0x66, 0x33));
}

TEST_F(QtCanvasTest, TextStaysInsideItsClip)
{
    canvas.SetFont({"DejaVu Sans", 14, true});
    ASSERT_GT(canvas.TextWidth("WWWWWWWWWW"), 60);
    canvas.TextOut(2, 2, "WWWWWWWWWW", kBlack, {0, 0, 40, 40});
    End();
    int darkInside = 0;
    int darkOutside = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (IsDark(x, y))
                ++(x < 40 ? darkInside : darkOutside);
    EXPECT_GT(darkInside, 20);
    EXPECT_EQ(darkOutside, 0);
}

TEST_F(QtCanvasTest, MissingPictureIsRefused)
{
    EXPECT_FALSE(canvas.DrawPicture("/nonexistent/zentab-picture.png", {0, 0, 20, 20}, true));
}

TEST_F(QtCanvasTest, PicturesAreStretchedOrCopiedAndKeptAfterTheFirstLoad)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QString path = dir.filePath("dot.png");
    QImage dot(4, 4, QImage::Format_RGB32);
    dot.fill(QColor(0, 255, 0));
    ASSERT_TRUE(dot.save(path));
    std::string file = path.toStdString();

    ASSERT_TRUE(canvas.DrawPicture(file, {10, 10, 50, 30}, true));
    ASSERT_TRUE(QFile::remove(path));
    EXPECT_TRUE(canvas.DrawPicture(file, {100, 0, 140, 20}, false)) << "served from the cache";
    End();
    EXPECT_EQ(image.pixelColor(48, 28), QColor(0, 255, 0));
    EXPECT_EQ(image.pixelColor(55, 28), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(103, 3), QColor(0, 255, 0));
    EXPECT_EQ(image.pixelColor(106, 3), QColor(Qt::white)) << "copied at its own size";
}

}  // namespace
}  // namespace zt
