#include "app/batch_graph_commands.h"

#include <cctype>
#include <string>

#include "app/batch.h"
#include "app/batch_args.h"
#include "core/address.h"
#include "graph/graph_def.h"

namespace zt {

namespace {

// The series letters A..F, or X for the X range: -1 for X, 0..5 for a
// series, -2 for anything else.
int SeriesOf(std::string_view word)
{
    if (word.size() != 1)
        return -2;
    char c = static_cast<char>(std::toupper(static_cast<unsigned char>(word[0])));
    if (c == 'X')
        return -1;
    return c >= 'A' && c <= 'F' ? c - 'A' : -2;
}

void SetShortText(char* field, std::size_t capacity, std::string_view text)
{
    std::size_t n = std::min(text.size(), capacity - 1);
    field[0] = static_cast<char>(n);
    text.copy(field + 1, n);
}

std::string TextOfField(const char* field, std::size_t capacity)
{
    std::size_t n = std::min<std::size_t>(static_cast<unsigned char>(field[0]), capacity - 1);
    return std::string(field + 1, n);
}

void ShowGraph(BatchSession& s, const GraphState& g)
{
    Engine& e = s.Eng();
    const TGraphDef& d = g.Current;
    s.Print("type " + std::to_string(d.Type));
    s.Print("X " + FormatRange(e, d.XRange.Get()));
    for (int i = 0; i < kGraphSeries; ++i)
        if (RangeIsDefined(d.Series[i].Get()))
            s.Print(std::string(1, char('A' + i)) + " " + FormatRange(e, d.Series[i].Get()));
    for (int i = 0; i < 4; ++i)
        if (d.Titles[i][0])
            s.Print("title " + std::to_string(i + 1) + " " + TextOfField(d.Titles[i], sizeof d.Titles[i]));
    for (int i = 0; i < kGraphSeries; ++i)
        if (d.Legends[i][0])
            s.Print("legend " + std::string(1, char('A' + i)) + " " + TextOfField(d.Legends[i], sizeof d.Legends[i]));
    for (const TGraphDef& named : g.Named)
        s.Print("named " + GraphName(named));
}

}  // namespace

void CmdGraph(BatchSession& s, std::string_view rest)
{
    GraphState& g = s.Eng().Cur->Graphs;
    TGraphDef& d = g.Current;
    std::string word = UpperCase(NextWord(rest));
    if (word == "RESET") {
        ResetGraph(d);
    } else if (word == "TYPE") {
        long type;
        if (ArgInt(s, Trim(rest), 0, gtStack3D, type))
            d.Type = static_cast<std::uint8_t>(type);
    } else if (word == "RANGE") {
        std::string_view which = NextWord(rest);
        int series = SeriesOf(which);
        TRange r;
        if (series == -2)
            s.Fail("Expected X or A..F: " + std::string(which));
        else if (ArgRange(s, Trim(rest), r))
            (series < 0 ? d.XRange : d.Series[series]).Set(r);
    } else if (word == "TITLE") {
        long n;
        if (ArgInt(s, NextWord(rest), 1, 4, n))
            SetShortText(d.Titles[n - 1], sizeof d.Titles[n - 1], rest);
    } else if (word == "LEGEND") {
        std::string_view which = NextWord(rest);
        int series = SeriesOf(which);
        if (series < 0)
            s.Fail("Expected A..F: " + std::string(which));
        else
            SetShortText(d.Legends[series], sizeof d.Legends[series], rest);
    } else if (word == "SAVE") {
        if (!SaveNamedGraph(g, Trim(rest)))
            s.Fail(kTooManyNamedGraphs);
    } else if (word == "USE" || word == "DELETE") {
        std::string name(Trim(rest));
        bool ok = word == "USE" ? UseNamedGraph(g, name) : DeleteNamedGraph(g, name);
        if (!ok)
            s.Fail("Unknown Graph: " + name);
    } else if (word == "SHOW") {
        ShowGraph(s, g);
    } else {
        s.Fail("Expected reset, type, range, title, legend, save, use, delete or show: " + word);
    }
}

}  // namespace zt
