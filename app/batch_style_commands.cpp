#include "app/batch_style_commands.h"

#include <algorithm>
#include <string>

#include "app/batch.h"
#include "app/batch_args.h"
#include "core/address.h"
#include "core/cell_store.h"
#include "core/palette.h"
#include "core/undo.h"

namespace zt {

namespace {

// One word of the style command applied to a cell; false for a word that means nothing.
bool ApplyStyleWord(Engine& e, TCell& c, std::string_view word)
{
    std::string key(word.substr(0, word.find('=')));
    std::string value = word.find('=') == std::string_view::npos ? std::string() : std::string(word.substr(word.find('=') + 1));
    key = UpperCase(key);
    auto number = [&](long lo, long hi, long& out) {
        try {
            std::size_t used = 0;
            out = std::stol(value, &used, 0);
            return used == value.size() && out >= lo && out <= hi;
        } catch (...) {
            return false;
        }
    };
    long n = 0;
    if (key == "BOLD") c.Style |= 1;
    else if (key == "ITALIC") c.Style |= 2;
    else if (key == "UNDERLINE") c.Style |= 4;
    else if (key == "PLAIN") c.Style &= 0x70;
    else if (key == "LEFT") c.Style = std::uint8_t((c.Style & 0x8F) | 0x10);
    else if (key == "RIGHT") c.Style = std::uint8_t((c.Style & 0x8F) | 0x20);
    else if (key == "CENTER") c.Style = std::uint8_t((c.Style & 0x8F) | 0x30);
    else if (key == "FG" && number(-1, 15, n))
        c.Colors = n < 0 ? (c.Colors | kColorDefaultForeground)
                         : ((c.Colors & 0x80FFFFFFu) | std::uint32_t(n) << kColorForegroundShift);
    else if (key == "BG" && number(-1, 15, n))
        c.Colors = n < 0 ? (c.Colors | kColorDefaultBackground) : ((c.Colors & 0x7F000000u) | kPalette16[n]);
    else if (key == "BORDER" && number(0, 255, n)) c.Borders = std::uint8_t(n);
    else if (key == "SIZE" && number(0, 99, n)) {
        auto it = std::find(std::begin(kFontSizes), std::end(kFontSizes), n);
        if (n != 0 && it == std::end(kFontSizes))
            return false;
        c.FontSize = n == 0 ? 0 : std::uint8_t(it - std::begin(kFontSizes) + 1);
    } else if (key == "FONT" && !value.empty()) {
        auto& faces = e.Cur->Window.Typefaces;
        auto it = std::find(faces.begin(), faces.end(), value);
        if (it == faces.end()) {
            if (faces.size() >= 255)
                return false;
            faces.push_back(value);
            it = faces.end() - 1;
        }
        c.Typeface = std::uint8_t(it - faces.begin());
    } else
        return false;
    return true;
}

}  // namespace

void CmdStyle(BatchSession& s, std::string_view rest)
{
    TRange r;
    if (!ArgRange(s, NextWord(rest), r))
        return;
    Engine& e = s.Eng();
    TakeUndoSnapshot(e);
    for (std::string_view word = NextWord(rest); !word.empty(); word = NextWord(rest)) {
        for (int row = r.FirstRow; row <= r.LastRow; ++row) {
            for (int col = r.FirstCol; col <= r.LastCol; ++col) {
                PCell c = FindOrCreateCell(e, row, col);
                if (!c)
                    return;
                if (!ApplyStyleWord(e, *c, word)) {
                    s.Fail("Invalid Style: " + std::string(word));
                    return;
                }
            }
        }
    }
    e.Cur->Modified = true;
}

void CmdTabs(BatchSession& s, std::string_view rest)
{
    long rows;
    if (!ArgInt(s, Trim(rest), 0, kRows, rows))
        return;
    if (rows == 0)
        rows = kRows;
    // The file keeps the number of sheets, so a tab holds a whole share of the rows.
    if (kRows % rows != 0) {
        s.Fail("Rows per tab must divide 8192");
        return;
    }
    Worksheet& ws = *s.Eng().Cur;
    ws.Settings.RowsPerSheet = int(rows);
    ws.Window.Sheets = std::uint16_t(kRows / rows);
    ws.Modified = true;
}

}  // namespace zt
