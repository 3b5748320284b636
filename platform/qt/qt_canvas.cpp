#include "platform/qt/qt_canvas.h"

#include <QFont>
#include <QFontMetrics>
#include <QTextLayout>
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

TextCache& SharedTexts()
{
    static TextCache texts;
    return texts;
}

TextCache::FontEntry& TextCache::Find(const CanvasFont& font, QPaintDevice* device)
{
    for (FontEntry& entry : fonts_)
        if (entry.Key == font)
            return entry;
    QFont f(ToQString(font.Name));
    f.setPointSize(std::max(1, font.PointSize));
    f.setBold(font.Bold);
    f.setItalic(font.Italic);
    f.setUnderline(font.Underline);
    QFontMetrics metrics(f, device);
    fonts_.push_back(FontEntry{font, f, metrics.ascent(), metrics.height(), {}});
    return fonts_.back();
}

const TextCache::Shaped& TextCache::Shape(FontEntry& font, std::string_view text, QPaintDevice* device)
{
    constexpr std::size_t kShapedLimit = 20000;
    std::string key(text);
    if (auto it = font.Texts.find(key); it != font.Texts.end())
        return it->second;
    if (font.Texts.size() >= kShapedLimit)
        font.Texts.clear();
    QTextLayout layout(ToQString(text), font.Font, device);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    layout.endLayout();
    Shaped shaped;
    if (line.isValid()) {
        shaped.Width = qRound(line.horizontalAdvance());
        shaped.Runs = layout.glyphRuns();
    }
    return font.Texts.emplace(std::move(key), std::move(shaped)).first->second;
}

QtCanvas::QtCanvas(QPainter& painter, PictureCache& pictures, TextCache& texts)
    : painter_(painter), pictures_(pictures), texts_(texts)
{
}

TextCache::FontEntry& QtCanvas::Current()
{
    if (!current_)
        SetFont(CanvasFont{});
    return *current_;
}

void QtCanvas::SetFont(const CanvasFont& font)
{
    if (current_ && current_->Key == font)
        return;
    current_ = &texts_.Find(font, painter_.device());
    painter_.setFont(current_->Font);
}

int QtCanvas::TextWidth(std::string_view text) { return texts_.Shape(Current(), text, painter_.device()).Width; }

int QtCanvas::TextHeight() { return Current().Height; }

void QtCanvas::FillRect(const CanvasRect& r, ColorRef color) { painter_.fillRect(ToQRect(r), ToQColor(color)); }

void QtCanvas::UsePen(ColorRef color, int width, PenStyle style)
{
    if (pen_ && penColor_ == color && penWidth_ == width && penStyle_ == style)
        return;
    pen_.emplace(ToQColor(color), width, style == PenStyle::Dot ? Qt::DotLine : Qt::SolidLine);
    pen_->setCapStyle(Qt::FlatCap);
    penColor_ = color;
    penWidth_ = width;
    penStyle_ = style;
    painter_.setPen(*pen_);
}

// Clipping costs a painter state of its own, so text that lies within its
// clip rectangle is drawn without it. Only the sides are checked: a line's
// descent below a cell is painted over by the row beneath.
void QtCanvas::TextOut(int x, int y, std::string_view text, ColorRef color, const CanvasRect& clip)
{
    const TextCache::Shaped& shaped = texts_.Shape(Current(), text, painter_.device());
    UsePen(color, 1, PenStyle::Solid);
    bool inside = x >= clip.Left && x + shaped.Width <= clip.Right;
    if (!inside) {
        painter_.save();
        painter_.setClipRect(ToQRect(clip), Qt::IntersectClip);
    }
    for (const QGlyphRun& run : shaped.Runs)
        painter_.drawGlyphRun(QPointF(x, y), run);
    if (!inside)
        painter_.restore();
}

// Solid lines along an axis are filled rectangles, far cheaper than strokes.
void QtCanvas::Line(int x1, int y1, int x2, int y2, ColorRef color, int width, PenStyle style)
{
    int w = std::max(1, width);
    if (style == PenStyle::Solid && (x1 == x2 || y1 == y2)) {
        if (y1 == y2)
            painter_.fillRect(QRect(std::min(x1, x2), y1 - (w - 1) / 2, std::max(1, std::abs(x2 - x1)), w), ToQColor(color));
        else
            painter_.fillRect(QRect(x1 - (w - 1) / 2, std::min(y1, y2), w, std::max(1, std::abs(y2 - y1))), ToQColor(color));
        return;
    }
    UsePen(color, width, style);
    painter_.drawLine(x1, y1, x2, y2);
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
