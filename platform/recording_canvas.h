#pragma once
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/canvas.h"

namespace zt {

// A canvas without a surface: it measures text with fixed metrics and
// keeps a log of what was drawn, for tests and for layout without a window.
//
// Metrics: every character is round(7 * PointSize / 10) pixels wide (at
// least 1) and a line is PointSize * 16 / 10 pixels high (at least 1), so
// the 10-point default gives 7 by 16.
class RecordingCanvas : public Canvas {
public:
    struct Fill {
        int Seq;
        CanvasRect Rect;
        ColorRef Color;
    };
    struct Text {
        int Seq;
        int X;
        int Y;
        std::string Str;
        ColorRef Color;
        CanvasRect Clip;
        CanvasFont Font;
    };
    struct LineOp {
        int Seq;
        int X1, Y1, X2, Y2;
        ColorRef Color;
        int Width;
        PenStyle Style;
    };
    struct Picture {
        int Seq;
        std::string File;
        CanvasRect Dest;
        bool Stretch;
    };

    void SetFont(const CanvasFont& font) override;
    int TextWidth(std::string_view text) override;
    int TextHeight() override;
    void FillRect(const CanvasRect& r, ColorRef color) override;
    void TextOut(int x, int y, std::string_view text, ColorRef color, const CanvasRect& clip) override;
    void Line(int x1, int y1, int x2, int y2, ColorRef color, int width, PenStyle style = PenStyle::Solid) override;
    // Logs the request; succeeds only for files listed in AvailablePictures.
    bool DrawPicture(const std::string& file, const CanvasRect& dest, bool stretch) override;

    int CharWidth() const;

    std::set<std::string> AvailablePictures;

    // Every operation gets the next sequence number, so order can be checked.
    std::vector<CanvasFont> FontChanges;
    std::vector<Fill> Fills;
    std::vector<Text> Texts;
    std::vector<LineOp> Lines;
    std::vector<Picture> Pictures;

private:
    CanvasFont font_;
    int seq_ = 0;
};

}  // namespace zt
