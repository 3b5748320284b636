#include "platform/recording_canvas.h"

#include <algorithm>

namespace zt {

void RecordingCanvas::SetFont(const CanvasFont& font)
{
    font_ = font;
    FontChanges.push_back(font);
}

int RecordingCanvas::CharWidth() const { return std::max(1, (7 * font_.PointSize + 5) / 10); }

int RecordingCanvas::TextWidth(std::string_view text) { return CharWidth() * static_cast<int>(text.size()); }

int RecordingCanvas::TextHeight() { return std::max(1, font_.PointSize * 16 / 10); }

void RecordingCanvas::FillRect(const CanvasRect& r, ColorRef color) { Fills.push_back({seq_++, r, color}); }

void RecordingCanvas::TextOut(int x, int y, std::string_view text, ColorRef color, const CanvasRect& clip)
{
    Texts.push_back({seq_++, x, y, std::string(text), color, clip, font_});
}

void RecordingCanvas::Line(int x1, int y1, int x2, int y2, ColorRef color, int width, PenStyle style)
{
    Lines.push_back({seq_++, x1, y1, x2, y2, color, width, style});
}

bool RecordingCanvas::DrawPicture(const std::string& file, const CanvasRect& dest, bool stretch)
{
    Pictures.push_back({seq_++, file, dest, stretch});
    return AvailablePictures.count(file) > 0;
}

}  // namespace zt
