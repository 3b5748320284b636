// Damaged and hostile worksheet files: every length, count, index and
// coordinate is checked, bad formula code never runs, and a file cut short
// is reported.
#include <gtest/gtest.h>

#include <string>

#include "core/cell_entry.h"
#include "core/cell_store.h"
#include "core/range_names.h"
#include "files/worksheet_file.h"
#include "formula/compiled_formula.h"
#include "formula/opcodes.h"
#include "formula/recalc.h"
#include "fuzz/fuzz_targets.h"
#include "graph/graph_def.h"
#include "tests/files/wks_test_support.h"

namespace zt {
namespace {

class WorksheetFileDamageTest : public ::testing::Test, protected WksEngine {
protected:
    ReadResult ReadFresh(const Bytes& b, ReadOptions o = {})
    {
        CloseSheet(e, e.Cur->HeapNo);
        RestoreContext(e, OpenSheet(e, "D"));
        e.Err.Clear();
        return ReadWorksheetFile(e, b, o);
    }

    // A file of a few cells of each kind, names, graphs and settings.
    Bytes SampleFile()
    {
        EnterCell(e, "12", 0, 0);
        EnterCell(e, "1.5", 0, 1);
        EnterCell(e, "'text", 1, 0);
        EnterCell(e, "+A1+B1", 1, 1);
        EnterCell(e, "+\"s\"&\"t\"", 2, 0);
        SetRangeName(e, "HERE", TRange{0, 0, 1, 1});
        SaveNamedGraph(e.Cur->Graphs, "G");
        e.Cur->Window.Buttons.push_back(MacroButton{"B", "{X}", 1, 1, 0, 0, 10, 10});
        e.Cur->UserFunctions.push_back(TUserFunction{"F", "@A(1)", 1});
        FindCell(e, 0, 0)->Style = 1;
        Bytes out;
        WriteWorksheetFile(e, out, nullptr);
        return out;
    }

    // Every cell of the worksheet is one the rest of the program can use.
    void ExpectUsableWorksheet()
    {
        RecalcAll(e);
        for (int row = 0; row < kRows; ++row)
            for (PCell c = FindFirstAtOrAfter(e, row, 0); c; c = NextCell(e, c)) {
                EXPECT_FALSE(c->Kind & kfUnlinked) << row << "," << int(c->Col);
                if (IsFormulaKind(c->Kind)) {
                    EXPECT_TRUE(IsWellFormed(CodeOf(e, c)));
                }
            }
    }

    // A formula record at A1 holding the given code bytes (file form).
    static Bytes FormulaFile(const Bytes& code, int sizeAdjust = 0)
    {
        Bytes body = CellHeader(0x71, 0, 0);
        PutDouble(body, 1.0);
        Put16(body, static_cast<std::uint16_t>(code.size() + sizeAdjust));
        body.insert(body.end(), code.begin(), code.end());
        return Concat({Bof(), Record(0x0010, body), Eof()});
    }
};

TEST_F(WorksheetFileDamageTest, EveryTruncationStopsCleanlyAndIsReported)
{
    Bytes file = SampleFile();
    const std::size_t mainEnd = FindRecord(file, 0x0001) + 4;  // after the main end record
    const std::size_t extStart = mainEnd + 2;
    const std::size_t extEnd = file.size() - 2;
    for (std::size_t n = 0; n < file.size(); ++n) {
        ReadResult r = ReadFresh(Bytes(file.begin(), file.begin() + static_cast<long>(n)));
        if (n < 4) {
            EXPECT_FALSE(r.Ok) << n;
            EXPECT_EQ(r.Error, "Invalid WKS File!") << n;
            continue;
        }
        // Only the marker bytes may be missing without notice.
        bool cut = n < mainEnd || (n >= extStart && n < extEnd);
        EXPECT_EQ(r.Truncated, cut) << n;
        EXPECT_EQ(r.Error.empty(), !cut) << n << " " << r.Error;
        ExpectUsableWorksheet();
    }
}

TEST_F(WorksheetFileDamageTest, ACutInsideARecordIsReportedAsTruncated)
{
    Bytes file = SampleFile();
    std::size_t label = FindRecord(file, 0x000F);
    Bytes cut(file.begin(), file.begin() + static_cast<long>(label) + 6);
    ReadResult r = ReadFresh(cut);
    EXPECT_TRUE(r.Truncated);
    EXPECT_EQ(r.Error, "File may be truncated");
    // The cells before the cut stay.
    EXPECT_EQ(ReadInteger(*FindCell(e, 0, 0)), 12);
}

TEST_F(WorksheetFileDamageTest, WrongLengthsAndGarbageNeverBreakTheReader)
{
    Bytes file = SampleFile();
    for (std::size_t pos = 0; pos + 4 <= file.size(); pos += 1) {
        for (std::uint8_t v : {std::uint8_t{0}, std::uint8_t{1}, std::uint8_t{0x7F}, std::uint8_t{0xFF}}) {
            Bytes bad = file;
            bad[pos] = v;
            ReadFresh(bad);
            ExpectUsableWorksheet();
        }
    }
    Bytes tail = file;
    for (int i = 0; i < 300; ++i)
        tail.push_back(static_cast<std::uint8_t>(i * 37 + 11));
    ReadResult r = ReadFresh(tail);
    EXPECT_FALSE(r.Ok) << "data after the final marker";
    EXPECT_EQ(r.Error.rfind("File may be damaged: ", 0), 0u) << r.Error;
    EXPECT_EQ(ReadInteger(*FindCell(e, 0, 0)), 12);
}

TEST_F(WorksheetFileDamageTest, BodiesTooShortForTheirTypeAreSkipped)
{
    Bytes shortCells = Concat({Bof(), Record(0x000D, {0x71, 0, 0, 0, 0}), Record(0x000E, {0x71, 0, 0, 1, 0, 1, 2}),
                               Record(0x000F, {0x71, 0, 0, 2, 0}), Record(0x0010, {0x71, 0, 0, 3, 0, 1}),
                               Record(0x0007, {1, 2, 3}), Record(0x002D, Bytes(100, 0)), Record(0x000B, {'A', 0}),
                               Record(0x0018, {1, 2}), Eof()});
    ReadResult r = ReadFresh(shortCells);
    EXPECT_FALSE(r.Ok);
    EXPECT_EQ(r.Skipped, 8);
    EXPECT_EQ(r.Error, "File may be damaged: 8 records skipped");
    EXPECT_EQ(r.Cells, 0);
    EXPECT_EQ(e.Cur->Names.Count, 0);
    EXPECT_FALSE(RangeIsDefined(e.Cur->Graphs.Current.XRange.Get()));
}

TEST_F(WorksheetFileDamageTest, LabelsWithoutTheirZeroOrPrefixAreSkipped)
{
    Bytes file = Concat({Bof(), Record(0x000F, Concat({CellHeader(0x71, 0, 0), Bytes{'\'', 'a', 'b'}})),
                         Record(0x000F, Concat({CellHeader(0x71, 0, 1), Bytes{'\'', 'a', 0, 'b', 0}})),
                         Record(0x000F, Concat({CellHeader(0x71, 0, 2), Bytes{5, 0}})), Eof()});
    ReadResult r = ReadFresh(file);
    EXPECT_EQ(r.Skipped, 3);
    EXPECT_EQ(r.Error, "File may be damaged: 3 records skipped");
    for (int row = 0; row < 3; ++row)
        EXPECT_EQ(FindCell(e, row, 0), nullptr) << row;
}

TEST_F(WorksheetFileDamageTest, CellsOutsideTheWorksheetStopTheRead)
{
    Bytes inside = CellHeader(0x71, 0, 0);
    Put16(inside, 1);
    Bytes outside = CellHeader(0x71, 256, 0);
    Put16(outside, 2);
    Bytes later = CellHeader(0x71, 1, 0);
    Put16(later, 3);
    Bytes file = Concat({Bof(), Record(0x000D, inside), Record(0x000D, outside), Record(0x000D, later), Eof()});
    ReadResult r = ReadFresh(file);
    EXPECT_FALSE(r.Ok);
    EXPECT_EQ(r.Error, "Out of Range");
    EXPECT_NE(FindCell(e, 0, 0), nullptr);
    EXPECT_EQ(FindCell(e, 0, 1), nullptr);
}

TEST_F(WorksheetFileDamageTest, NamesAndRangesOutsideTheWorksheetBecomeUndefined)
{
    Bytes name(16, 0);
    name[0] = 'B';
    name[1] = 'A';
    name[2] = 'D';
    for (std::int16_t v : {std::int16_t{0}, std::int16_t{0}, std::int16_t{300}, std::int16_t{5}})
        Put16(name, static_cast<std::uint16_t>(v));
    Bytes print;
    for (std::int16_t v : {std::int16_t{0}, std::int16_t{-5}, std::int16_t{1}, std::int16_t{1}})
        Put16(print, static_cast<std::uint16_t>(v));
    Bytes tooLong(40, 'L');
    Bytes file = Concat({Bof(), Record(0x000B, name), Record(0x001A, print), Record(0x000B, tooLong), Eof()});
    ASSERT_EQ(ReadFresh(file).Skipped, 1) << "the name record too long for its type";
    int entry = FindRangeName(e, "BAD");
    ASSERT_GT(entry, 0);
    EXPECT_FALSE(RangeIsDefined(RangeOfName(e, entry)));
    EXPECT_FALSE(RangeIsDefined(e.Cur->DataRanges[drPrint]));
    EXPECT_EQ(e.Cur->Names.Count, 1);
}

TEST_F(WorksheetFileDamageTest, FormulaSizeWordMustAgreeWithTheRecord)
{
    Bytes code{opInteger, 5, 0, opEnd};
    EXPECT_TRUE(ReadFresh(FormulaFile(code)).Ok);
    EXPECT_EQ(FindCell(e, 0, 0)->Kind, ckFormula);
    for (int adjust : {-1, 1, 200}) {
        EXPECT_EQ(ReadFresh(FormulaFile(code, adjust)).Skipped, 1);
        EXPECT_EQ(FindCell(e, 0, 0), nullptr) << adjust;
    }
}

TEST_F(WorksheetFileDamageTest, BadFormulaCodeBecomesAnErrorCell)
{
    const Bytes bad[] = {
        {opInteger, 5, 0},                   // no end marker
        {opInteger, 5, opEnd},               // the walk runs past the end marker
        {opEnd, opInteger, 5, 0, opEnd},     // an end marker inside
        {200, opEnd},                        // an opcode that does not exist
        {opString, 'a', 'b', opEnd},         // a string with no 0 byte
        {opInteger, 1, 0, opUserFunction, 3, opEnd},  // no such user function
        {opRangeFunction, opInteger, 1, 0, opEnd},    // a range function without its range
    };
    for (const Bytes& code : bad) {
        ReadResult r = ReadFresh(FormulaFile(code));
        EXPECT_TRUE(r.Ok);
        PCell c = FindCell(e, 0, 0);
        ASSERT_NE(c, nullptr);
        EXPECT_EQ(c->Kind, ckFormula | kfError);
        EXPECT_EQ(e.Formula->FormulaToText(e, c), "@ERR");
        EXPECT_TRUE(IsWellFormed(CodeOf(e, c)));
        ExpectUsableWorksheet();
        EXPECT_TRUE(HasError(FindCell(e, 0, 0)));
    }
}

TEST_F(WorksheetFileDamageTest, AStringRecordWithoutItsFormulaIsSkipped)
{
    Bytes integer = CellHeader(0x71, 0, 0);
    Put16(integer, 4);
    Bytes str = Concat({CellHeader(0x71, 0, 0), Bytes{'z', 0}});
    Bytes lone = Concat({CellHeader(0x71, 1, 0), Bytes{'z', 0}});
    Bytes file = Concat({Bof(), Record(0x000D, integer), Record(0x0033, str), Record(0x0033, lone), Eof()});
    ASSERT_EQ(ReadFresh(file).Skipped, 2);
    EXPECT_EQ(FindCell(e, 0, 0)->Kind, ckInteger);
    EXPECT_EQ(FindCell(e, 0, 1), nullptr);
}

TEST_F(WorksheetFileDamageTest, ExtensionRecordsCheckTheirIndicesAndCounts)
{
    Bytes one = CellHeader(0x71, 0, 0);
    Put16(one, 1);
    auto ext = [](std::uint16_t type, const Bytes& body) { return Record(type, body); };
    Bytes fontName{0x2C, 0x01, 'X', 0};  // index 300
    Bytes attrFar;                          // row 9000
    Put16(attrFar, 9000);
    Put16(attrFar, 0);
    attrFar.insert(attrFar.end(), {1, 2, 3, 4, 0, 0, 0, 0});
    Bytes width{0x00, 0x01, 10};  // column 256
    Bytes height{0x00, 0x20, 10};  // row 8192
    Bytes view(34, 0);             // a sheet count of 0
    view[6] = 0xFF;                // first pane's left column 0xFFFF... after the flags
    view[7] = 0xFF;
    Bytes button(297, 0);
    button[277] = 0x00;
    button[278] = 0x40;  // anchor row 0x4000
    Bytes userFn(274, 0);
    userFn[0] = 200;  // a name length beyond its field
    userFn[270] = 50;  // fifty arguments
    Bytes file = Concat({Bof(), Record(0x000D, one), Eof(), Bytes{0x1A, 0x00}, ext(0x0074, fontName),
                         ext(0x0008, attrFar), ext(0x000B, width), ext(0x000A, height), ext(0x0078, view),
                         ext(0x0050, button), ext(0x0069, userFn), Eof(), Bytes{0x1A, 0x1A}});
    ReadResult r = ReadFresh(file);
    ASSERT_TRUE(r.Ok) << r.Error;
    EXPECT_TRUE(r.HasExtension);
    const Worksheet& ws = *e.Cur;
    EXPECT_EQ(ws.Window.Sheets, 1);
    EXPECT_EQ(ws.Settings.RowsPerSheet, kRows);
    EXPECT_EQ(ws.Window.Panes[0].LeftCol, 0);
    EXPECT_TRUE(ws.Window.Buttons.empty());
    ASSERT_EQ(ws.UserFunctions.size(), 1u);
    EXPECT_EQ(ws.UserFunctions[0].Name.size(), 12u);
    EXPECT_EQ(ws.UserFunctions[0].ParamCount, 10);
    EXPECT_EQ(FindCell(e, 0, 0)->Typeface, 255);
}

TEST_F(WorksheetFileDamageTest, TooManyUserFunctionsAreDropped)
{
    Bytes file = Concat({Bof(), Eof(), Bytes{0x1A, 0x00}});
    Bytes entry(274, 0);
    entry[0] = 1;
    entry[1] = 'U';
    for (int i = 0; i < kMaxUserFunctions + 5; ++i)
        file = Concat({file, Record(0x0069, entry)});
    file = Concat({file, Eof(), Bytes{0x1A, 0x1A}});
    ASSERT_TRUE(ReadFresh(file).Ok);
    EXPECT_EQ(e.Cur->UserFunctions.size(), static_cast<std::size_t>(kMaxUserFunctions));
}

TEST_F(WorksheetFileDamageTest, FuzzBodyRunsOnSampleAndDamagedFiles)
{
    Bytes file = SampleFile();
    FuzzReadWorksheet(file.data(), file.size());
    for (std::size_t n = 0; n < file.size(); n += 7)
        FuzzReadWorksheet(file.data(), n);
    SUCCEED();
}

}  // namespace
}  // namespace zt
