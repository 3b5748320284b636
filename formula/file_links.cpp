// @LINK: values of cells in other worksheet files. The formula registers
// the file and cell it names and shows the value last received; reading the
// files and handing their cells over is the file-link refresh's job.
#include "formula/file_links.h"

#include <algorithm>
#include <optional>
#include <tuple>

#include "core/address.h"
#include "formula/function_support.h"

namespace zt {

namespace {

constexpr std::uint8_t opLink = 123;
constexpr std::size_t kMaxLinkText = 80;
constexpr std::size_t kMaxFileText = 255;
constexpr std::string_view kNoValueYet = "N/A";

int SheetRows(const Engine& e)
{
    int rows = e.Cur ? e.Settings().RowsPerSheet : kRows;
    return rows > 0 && rows < kRows ? rows : kRows;
}

// Sheet letters counted like column letters: A = 0, Z = 25, AA = 26; -1
// unless there are one or two upper-case letters.
int SheetNumber(std::string_view letters)
{
    if (letters.empty() || letters.size() > 2)
        return -1;
    int n = 0;
    for (char c : letters) {
        if (c < 'A' || c > 'Z')
            return -1;
        n = n * 26 + (c - 'A' + 1);
    }
    return n - 1;
}

// The cell of "C7" or "B:C7" (sheet letters, a colon, an address; the
// first corner of a range); nothing when the text names no cell.
std::optional<LinkedCell> ParseLinkAddress(Engine& e, std::string_view text)
{
    int sheet = 0;
    if (std::size_t colon = text.find(':'); colon != std::string_view::npos) {
        sheet = SheetNumber(text.substr(0, colon));
        if (sheet < 0)
            return std::nullopt;
        text.remove_prefix(colon + 1);
    }
    bool flagBefore = e.Err.ErrorFlag;
    e.Err.ErrorFlag = false;
    TRange r = OrderedRange(ParseRange(e, text));
    bool named = !e.Err.ErrorFlag && RangeIsDefined(r);
    e.Err.ErrorFlag = flagBefore;
    if (!named)
        return std::nullopt;
    LinkedCell c;
    c.Sheet = static_cast<std::int16_t>(sheet);
    c.Row = r.FirstRow;
    c.Col = r.FirstCol;
    return c;
}

bool Before(const LinkedCell& a, const LinkedCell& b)
{
    return std::tie(a.Sheet, a.Row, a.Col) < std::tie(b.Sheet, b.Row, b.Col);
}

// The registry entry of a file's cell, added when new: files stay in the
// order of first use, each file's cells sorted without duplicates.
const LinkedCell& Register(Engine& e, std::string_view file, const LinkedCell& cell)
{
    file = file.substr(0, kMaxFileText);
    auto f = std::find_if(e.FileLinkTable.begin(), e.FileLinkTable.end(),
                          [&](const LinkedFile& l) { return l.File == file; });
    if (f == e.FileLinkTable.end()) {
        e.FileLinkTable.push_back(LinkedFile{std::string(file), {}});
        f = e.FileLinkTable.end() - 1;
    }
    auto at = std::lower_bound(f->Cells.begin(), f->Cells.end(), cell, Before);
    if (at == f->Cells.end() || Before(cell, *at))
        at = f->Cells.insert(at, cell);
    return *at;
}

// @LINK(text): "FILE>ADDRESS", upper-cased and cut to 80 characters.
void OpLink(EvalMachine& m)
{
    Engine& e = m.E;
    std::string text = UpperCase(ArgText(m, 0)).substr(0, kMaxLinkText);
    std::size_t gt = text.find('>');
    std::optional<LinkedCell> cell;
    if (!m.Top().Error && gt != std::string::npos)
        cell = ParseLinkAddress(e, std::string_view(text).substr(gt + 1));
    if (!cell) {
        ResultNumber(m, 1, -1.0);
        e.Err.ErrorFlag = true;
        return;
    }
    const LinkedCell& linked = Register(e, std::string_view(text).substr(0, gt), *cell);
    if (!linked.HasValue)
        ResultString(m, 1, std::string(kNoValueYet));
    else if (linked.IsString)
        ResultString(m, 1, linked.Text);
    else
        ResultNumber(m, 1, linked.Value);
}

// Calls receive(cell) for every linked cell of the file at (row, col).
template <class F>
void ForEachLinkedCellAt(Engine& e, std::string_view file, int row, int col, F receive)
{
    std::string key = UpperCase(file.substr(0, kMaxFileText));
    int rows = SheetRows(e);
    for (LinkedFile& f : e.FileLinkTable) {
        if (f.File != key)
            continue;
        for (LinkedCell& c : f.Cells)
            if (c.Sheet * rows + c.Row == row && c.Col == col)
                receive(c);
        return;
    }
}

}  // namespace

void UpdateFileLink(Engine& e, std::string_view file, int row, int col, double value)
{
    ForEachLinkedCellAt(e, file, row, col, [&](LinkedCell& c) {
        c.IsString = false;
        c.Text.clear();
        c.Value = value;
        c.HasValue = true;
    });
}

void UpdateFileLink(Engine& e, std::string_view file, int row, int col, std::string_view text)
{
    ForEachLinkedCellAt(e, file, row, col, [&](LinkedCell& c) {
        c.IsString = true;
        c.Text = std::string(text);
        c.Value = 0;
        c.HasValue = true;
    });
}

void RegisterFileLinks(HandlerTable& t) { t[opLink] = OpLink; }

}  // namespace zt
