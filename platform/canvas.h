#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace zt {

// A colour as the worksheet stores it: 0x00BBGGRR.
using ColorRef = std::uint32_t;

struct CanvasRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;  // exclusive
    int Bottom = 0;  // exclusive
    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
};

struct CanvasFont {
    std::string Name = "Arial";
    int PointSize = 10;
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    friend bool operator==(const CanvasFont&, const CanvasFont&) = default;
};

enum class PenStyle { Solid, Dot };

// The drawing surface of cells, headers, graphs and pages. Texts are
// Windows-1252 bytes; coordinates are device pixels.
class Canvas {
public:
    virtual ~Canvas() = default;
    virtual void SetFont(const CanvasFont& font) = 0;
    virtual int TextWidth(std::string_view text) = 0;
    virtual int TextHeight() = 0;
    virtual void FillRect(const CanvasRect& r, ColorRef color) = 0;
    // Writes text with its top-left corner at (x, y), cut off at clip.
    virtual void TextOut(int x, int y, std::string_view text, ColorRef color, const CanvasRect& clip) = 0;
    virtual void Line(int x1, int y1, int x2, int y2, ColorRef color, int width, PenStyle style = PenStyle::Solid) = 0;
    // Draws the picture in a file: at its own size from dest's top-left
    // corner, or stretched to dest. False when the file cannot be shown.
    virtual bool DrawPicture(const std::string& file, const CanvasRect& dest, bool stretch) = 0;
};

}  // namespace zt
