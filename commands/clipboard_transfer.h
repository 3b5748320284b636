#pragma once
#include <cstddef>
#include <string_view>

#include "core/engine.h"
#include "platform/clipboard.h"

namespace zt {

inline constexpr std::string_view kClipboardTooLarge = "Range too large for the Clipboard";

// A rendering must fit in this many bytes together with the 0 byte that
// ends the system's text format.
inline constexpr std::size_t kClipboardLimit = 64000;

// Edit copy and cut on the current worksheet: puts the private rendering
// (entry texts and attributes) and the plain one (displayed texts) of the
// range on the clipboard, items separated by tabs and rows ended by CR LF;
// with cut, then erases the range. A range whose rendering would not fit is
// refused with kClipboardTooLarge: the result is false and neither the
// clipboard nor the worksheet changes.
bool ClipboardCopy(Engine& e, Clipboard& clip, TRange range, bool cut);

// Edit paste at (row, col) of the current worksheet: each line of the
// clipboard text fills the next row and each tab-separated item the next
// column. Items are entered as typed; items of the private rendering bring
// their attributes. An empty item clears the position's contents. False when
// nothing was pasted or an error stopped the paste; a block that would run
// past the worksheet's edge is refused as a whole.
bool ClipboardPaste(Engine& e, const Clipboard& clip, int row, int col);

}  // namespace zt
