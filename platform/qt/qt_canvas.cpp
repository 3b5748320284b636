#include "platform/qt/qt_canvas.h"

#include <QFont>
#include <QFontMetrics>
#include <QPen>

#include "platform/qt/qt_text.h"

namespace zt {

namespace {

QRect ToQRect(const CanvasRect& r) { return QRect(r.Left, r.Top, r.Width(), r.Height()); }

}  // namespace

QColor ToQColor(ColorRef color) { return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF); }

const QImage* PictureCache::Find(const std::string& file)
{
    auto it = images_.find(file);
    if (it != images_.end())
        return &it->second;
    QImage image(ToQString(file));
    if (image.isNull())
        return nullptr;
    return &images_.emplace(file, std::move(image)).first->second;
}

PictureCache& SharedPictures()
{
    static PictureCache pictures;
    return pictures;
}

QtCanvas::QtCanvas(QPainter& painter, PictureCache& pictures) : painter_(painter), pictures_(pictures) {}

void QtCanvas::SetFont(const CanvasFont& font)
{
    QFont f(ToQString(font.Name));
    f.setPointSize(font.PointSize);
    f.setBold(font.Bold);
    f.setItalic(font.Italic);
    f.setUnderline(font.Underline);
    painter_.setFont(f);
}

int QtCanvas::TextWidth(std::string_view text)
{
    return painter_.fontMetrics().horizontalAdvance(ToQString(text));
}

int QtCanvas::TextHeight() { return painter_.fontMetrics().height(); }

void QtCanvas::FillRect(const CanvasRect& r, ColorRef color) { painter_.fillRect(ToQRect(r), ToQColor(color)); }

void QtCanvas::TextOut(int x, int y, std::string_view text, ColorRef color, const CanvasRect& clip)
{
    painter_.save();
    painter_.setClipRect(ToQRect(clip), Qt::IntersectClip);
    painter_.setPen(ToQColor(color));
    painter_.drawText(x, y + painter_.fontMetrics().ascent(), ToQString(text));
    painter_.restore();
}

void QtCanvas::Line(int x1, int y1, int x2, int y2, ColorRef color, int width, PenStyle style)
{
    QPen pen(ToQColor(color), width, style == PenStyle::Dot ? Qt::DotLine : Qt::SolidLine);
    pen.setCapStyle(Qt::FlatCap);
    painter_.save();
    painter_.setPen(pen);
    painter_.drawLine(x1, y1, x2, y2);
    painter_.restore();
}

bool QtCanvas::DrawPicture(const std::string& file, const CanvasRect& dest, bool stretch)
{
    const QImage* image = pictures_.Find(file);
    if (!image)
        return false;
    painter_.save();
    painter_.setClipRect(ToQRect(dest), Qt::IntersectClip);
    if (stretch)
        painter_.drawImage(ToQRect(dest), *image);
    else
        painter_.drawImage(QPoint(dest.Left, dest.Top), *image);
    painter_.restore();
    return true;
}

}  // namespace zt
