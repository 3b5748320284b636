#pragma once
#include <QColor>
#include <QGlyphRun>
#include <QImage>
#include <QPainter>
#include <map>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

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

// Fonts and the texts laid out in them, kept from one repaint to the next so
// that a text is shaped once, not on every paint.
class TextCache {
public:
    // A text laid out once in a font: its width and its glyphs.
    struct Shaped {
        int Width = 0;
        QList<QGlyphRun> Runs;
    };
    struct FontEntry {
        CanvasFont Key;
        QFont Font;
        int Ascent = 0;
        int Height = 0;
        std::unordered_map<std::string, Shaped> Texts;
    };
    // The entry of a font, made on first use with the metrics of device.
    FontEntry& Find(const CanvasFont& font, QPaintDevice* device);
    const Shaped& Shape(FontEntry& font, std::string_view text, QPaintDevice* device);

private:
    std::vector<FontEntry> fonts_;
};

TextCache& SharedTexts();

// A canvas over a painter that the caller has begun on a widget, image or
// printer.
class QtCanvas : public Canvas {
public:
    explicit QtCanvas(QPainter& painter, PictureCache& pictures = SharedPictures(), TextCache& texts = SharedTexts());

    void SetFont(const CanvasFont& font) override;
    int TextWidth(std::string_view text) override;
    int TextHeight() override;
    void FillRect(const CanvasRect& r, ColorRef color) override;
    void TextOut(int x, int y, std::string_view text, ColorRef color, const CanvasRect& clip) override;
    void Line(int x1, int y1, int x2, int y2, ColorRef color, int width, PenStyle style = PenStyle::Solid) override;
    bool DrawPicture(const std::string& file, const CanvasRect& dest, bool stretch) override;

private:
    TextCache::FontEntry& Current();
    void UsePen(ColorRef color, int width, PenStyle style);

    QPainter& painter_;
    PictureCache& pictures_;
    TextCache& texts_;
    TextCache::FontEntry* current_ = nullptr;
    std::optional<QPen> pen_;
    ColorRef penColor_ = 0;
    int penWidth_ = 0;
    PenStyle penStyle_ = PenStyle::Solid;
};

}  // namespace zt
