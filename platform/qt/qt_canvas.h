#pragma once
#include <QColor>
#include <QImage>
#include <QPainter>
#include <map>
#include <string>

#include "platform/canvas.h"

namespace zt {

QColor ToQColor(ColorRef color);

// Pictures named by cells, read from their files once and kept for the
// following repaints. Files that cannot be read are tried again next time.
class PictureCache {
public:
    // Null when the file does not hold a readable image.
    const QImage* Find(const std::string& file);

private:
    std::map<std::string, QImage> images_;
};

// The pictures of all windows: a picture file is the same wherever shown.
PictureCache& SharedPictures();

// A canvas over a painter that the caller has begun on a widget, image or
// printer.
class QtCanvas : public Canvas {
public:
    explicit QtCanvas(QPainter& painter, PictureCache& pictures = SharedPictures());

    void SetFont(const CanvasFont& font) override;
    int TextWidth(std::string_view text) override;
    int TextHeight() override;
    void FillRect(const CanvasRect& r, ColorRef color) override;
    void TextOut(int x, int y, std::string_view text, ColorRef color, const CanvasRect& clip) override;
    void Line(int x1, int y1, int x2, int y2, ColorRef color, int width, PenStyle style = PenStyle::Solid) override;
    bool DrawPicture(const std::string& file, const CanvasRect& dest, bool stretch) override;

private:
    QPainter& painter_;
    PictureCache& pictures_;
};

}  // namespace zt
