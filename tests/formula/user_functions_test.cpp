#include "formula/user_functions.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <tuple>
#include <vector>

#include "core/address.h"
#include "core/cell_entry.h"
#include "core/cell_store.h"
#include "core/range_names.h"
#include "formula/compiled_formula.h"
#include "formula/evaluator.h"
#include "formula/file_links.h"
#include "formula/formula_engine.h"
#include "formula/opcodes.h"

namespace zt {
namespace {

namespace fs = std::filesystem;

class UserFunctionsTest : public ::testing::Test {
protected:
    UserFunctionsTest() : e(64)
    {
        InstallFormulaEngine(e);
        RestoreContext(e, OpenSheet(e, "T"));
    }
    ~UserFunctionsTest() override
    {
        for (const fs::path& p : files_)
            fs::remove(p);
    }

    // A library file with the given text, private to this test and process.
    std::string Library(const std::string& text)
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        fs::path p = fs::temp_directory_path() / ("zt_" + std::to_string(getpid()) + "_" + info->name() + "_" +
                                                  std::to_string(files_.size()) + ".usr");
        std::ofstream(p, std::ios::binary) << text;
        files_.push_back(p);
        return p.string();
    }

    TextValue Eval(std::string_view formula) { return EvaluateText(e, formula); }

    PCell Cell(std::string_view address)
    {
        ParsedAddress a = ParseAddress(e, address);
        return FindCell(e, a.Row, a.Col);
    }
    void Enter(std::string_view address, std::string_view text)
    {
        ParsedAddress a = ParseAddress(e, address);
        EnterCell(e, text, a.Row, a.Col);
        ASSERT_FALSE(e.Err.ErrorFlag) << address << " " << text;
    }
    void Name(std::string_view name, std::string_view range) { ASSERT_TRUE(SetRangeName(e, name, ParseRange(e, range))); }

    // Compiled code around the given body bytes: L, 0, body, end marker.
    static std::string Code(const std::vector<std::uint8_t>& body)
    {
        std::string code(1, static_cast<char>(body.size() + 2));
        code += '\0';
        code.append(body.begin(), body.end());
        code += static_cast<char>(opEnd);
        return code;
    }
    // An absolute reference to a cell as the four bytes of its link.
    std::vector<std::uint8_t> Link(std::string_view address)
    {
        ParsedAddress a = ParseAddress(e, address);
        TCellLink link = MakeLink(e, FindOrCreateCell(e, a.Row, a.Col), true, true);
        std::vector<std::uint8_t> bytes(4);
        WriteLinkWord(bytes.data(), link);
        return bytes;
    }

    Engine e;

private:
    std::vector<fs::path> files_;
};

using Definition = std::tuple<std::string, int, std::string>;

std::vector<Definition> Definitions(const std::vector<TUserFunction>& table)
{
    std::vector<Definition> out;
    for (const TUserFunction& f : table)
        out.emplace_back(f.Name, f.ParamCount, f.Body);
    return out;
}

TEST_F(UserFunctionsTest, HeadersAreCutCappedAndReadLeniently)
{
    ASSERT_TRUE(LoadUserFunctions(e, Library("; a comment line\r\n"
                                             "\r\n"
                                             "  averylongfunctionname , 3 ; the name is cut\r\n"
                                             "\t@a(1)+@a(2) ; the body too is upper-cased\r\n"
                                             "nocomma\r\n"
                                             "\"x;y\"\r\n"
                                             "MANY,99\r\n"
                                             "2\r\n"
                                             "NEG,-4\r\n"
                                             "3\r\n"
                                             "JUNK,x7\r\n"
                                             "4\r\n"
                                             "DANGLING,1\r\n")));
    EXPECT_EQ(Definitions(e.UserLibrary), (std::vector<Definition>{
                                              {"AVERYLONGFUN", 3, "@A(1)+@A(2)"},
                                              {"NOCOMMA", 0, "\"X"},
                                              {"MANY", 10, "2"},
                                              {"NEG", 0, "3"},
                                              {"JUNK", 0, "4"},
                                          }));
    EXPECT_FALSE(e.Err.ErrorFlag);
}

TEST_F(UserFunctionsTest, LibraryHoldsAtMost255Definitions)
{
    std::string text;
    for (int i = 1; i <= 300; ++i)
        text += "F" + std::to_string(i) + ",1\n@A(1)+" + std::to_string(i) + "\n";
    ASSERT_TRUE(LoadUserFunctions(e, Library(text)));
    ASSERT_EQ(e.UserLibrary.size(), 255u);
    EXPECT_EQ(e.UserLibrary.back().Name, "F255");
    EXPECT_EQ(Eval("@F255(1)").Number, 256);
    EXPECT_TRUE(Eval("@F256(1)").CompileFailed);
}

TEST_F(UserFunctionsTest, UnreadableLibraryLeavesItEmpty)
{
    ASSERT_TRUE(LoadUserFunctions(e, Library("ONE\n1\n")));
    ASSERT_EQ(e.UserLibrary.size(), 1u);
    for (std::string path : {std::string("/nonexistent/zt.usr"), fs::temp_directory_path().string()}) {
        e.Err.Clear();
        EXPECT_FALSE(LoadUserFunctions(e, path)) << path;
        EXPECT_TRUE(e.UserLibrary.empty()) << path;
        EXPECT_TRUE(e.Err.ErrorFlag) << path;
    }
}

TEST_F(UserFunctionsTest, LookupCopiesLibraryHitsIntoTheWorksheetOnce)
{
    ASSERT_TRUE(LoadUserFunctions(e, Library("ALPHA,1\n@A(1)+1\nTIMES,2\n@A(1)*@A(2)\n")));
    EXPECT_EQ(FindUserFunction(e, "TIMES"), 1);
    EXPECT_EQ(FindUserFunction(e, "ALPHA"), 2);
    EXPECT_EQ(FindUserFunction(e, "TIMES"), 1);
    EXPECT_EQ(FindUserFunction(e, "GAMMA"), 0);
    EXPECT_EQ(FindUserFunction(e, ""), 0);
    EXPECT_EQ(Definitions(e.Cur->UserFunctions),
              (std::vector<Definition>{{"TIMES", 2, "@A(1)*@A(2)"}, {"ALPHA", 1, "@A(1)+1"}}));

    // The worksheet's copy wins over a later library's definition.
    ASSERT_TRUE(LoadUserFunctions(e, Library("TIMES,1\n@A(1)\n")));
    EXPECT_EQ(FindUserFunction(e, "TIMES"), 1);
    EXPECT_EQ(Eval("@TIMES(3,4)").Number, 12);
    EXPECT_EQ(e.Cur->UserFunctions.size(), 2u);

    // Another worksheet starts its own table.
    int first = e.CurSlot;
    RestoreContext(e, OpenSheet(e, "U"));
    EXPECT_EQ(FindUserFunction(e, "TIMES"), 1);
    EXPECT_EQ(Eval("@TIMES(3)").Number, 3);
    EXPECT_EQ(FindUserFunction(e, "ALPHA"), 0);
    RestoreContext(e, first);
    EXPECT_EQ(e.Cur->UserFunctions.size(), 2u);
}

TEST_F(UserFunctionsTest, WorksheetTableHoldsAtMost255Definitions)
{
    for (int i = 1; i <= kMaxUserFunctions; ++i)
        e.Cur->UserFunctions.push_back(TUserFunction{"T" + std::to_string(i), std::to_string(i), 0});
    ASSERT_TRUE(LoadUserFunctions(e, Library("EXTRA\n1\n")));
    EXPECT_EQ(FindUserFunction(e, "EXTRA"), 0);
    EXPECT_EQ(e.Cur->UserFunctions.size(), 255u);
    EXPECT_EQ(FindUserFunction(e, "T255"), 255);
    EXPECT_EQ(Eval("@T255").Number, 255);
}

TEST_F(UserFunctionsTest, NestedCallsLeaveNoStateBehind)
{
    ASSERT_TRUE(LoadUserFunctions(e, Library("SQ,1\n@A(1)*@A(1)\nLOOP,1\n@LOOP(@A(1)+1)\n")));
    TextValue v = Eval("@LOOP(1)");
    EXPECT_TRUE(v.Error);
    EXPECT_FALSE(v.CompileFailed);
    EXPECT_EQ(e.Runtime.EvalDepth, 0);
    EXPECT_EQ(e.Runtime.ParamCount, 0);
    EXPECT_EQ(Eval("@SQ(@SQ(3))").Number, 81);
    EXPECT_EQ(e.Runtime.ParamCount, 0);
}

// Code that a damaged file could hold: calls whose definition, range or
// arguments are missing give ERR and never read below the stack.
TEST_F(UserFunctionsTest, MalformedCallsGiveErr)
{
    e.Cur->UserFunctions.push_back(TUserFunction{"TWO", "@A(1)+@A(2)", 2});
    e.Cur->UserFunctions.push_back(TUserFunction{"HUGE", "1", 50});
    std::vector<std::uint8_t> one = {opInteger, 1, 0};
    auto run = [&](std::vector<std::uint8_t> body) { return EvaluateText(e, Code(body), true); };

    std::vector<std::uint8_t> twoArgs = one;
    twoArgs.insert(twoArgs.end(), {opInteger, 2, 0, opUserFunction, 1});
    EXPECT_EQ(run(twoArgs).Number, 3);
    EXPECT_FALSE(run(twoArgs).Error);

    EXPECT_TRUE(run({opInteger, 1, 0, opUserFunction, 1}).Error);
    EXPECT_TRUE(run({opUserFunction, 1}).Error);
    EXPECT_TRUE(run({opInteger, 1, 0, opUserFunction, 3}).Error);
    EXPECT_TRUE(run({opInteger, 1, 0, opUserFunction, 2}).Error);

    std::vector<std::uint8_t> range = {opInteger, 1, 0, opRangeFunction, opRangeRef};
    std::vector<std::uint8_t> after = Link("C1"), before = Link("A1");
    range.insert(range.end(), after.begin(), after.end());
    range.insert(range.end(), before.begin(), before.end());
    EXPECT_TRUE(run(range).Error);
    EXPECT_TRUE(run({opInteger, 1, 0, opRangeFunction}).Error);
    EXPECT_TRUE(run({opInteger, 1, 0, opRangeFunction, opInteger, 1, 0}).Error);
    std::vector<std::uint8_t> noCell = {opInteger, 1, 0, opRangeFunction, opCellRef, 0, 0, 0, 0};
    EXPECT_TRUE(run(noCell).Error);
}

TEST_F(UserFunctionsTest, LinkRegistryKeepsFirstUseOrderAndSortedCells)
{
    e.Settings().RowsPerSheet = 2048;
    for (const char* f : {"@LINK(\"second.wks>C2\")", "@LINK(\"first.wks>A5\")", "@LINK(\"second.wks>B:A1\")",
                          "@LINK(\"second.wks>A1\")", "@LINK(\"Second.WKS>c2\")"}) {
        TextValue v = Eval(f);
        EXPECT_TRUE(v.IsString) << f;
        EXPECT_EQ(v.Text, "N/A") << f;
    }
    ASSERT_EQ(e.FileLinkTable.size(), 2u);
    EXPECT_EQ(e.FileLinkTable[0].File, "SECOND.WKS");
    EXPECT_EQ(e.FileLinkTable[1].File, "FIRST.WKS");
    std::vector<std::tuple<int, int, int>> cells;
    for (const LinkedCell& c : e.FileLinkTable[0].Cells)
        cells.emplace_back(c.Sheet, c.Row, c.Col);
    EXPECT_EQ(cells, (std::vector<std::tuple<int, int, int>>{{0, 0, 0}, {0, 1, 2}, {1, 0, 0}}));

    // Values arrive by the file's own coordinates: sheet B starts at row 2048.
    UpdateFileLink(e, "second.wks", 1, 2, 12.5);
    UpdateFileLink(e, "SECOND.WKS", 2048, 0, "text");
    UpdateFileLink(e, "first.wks", 1, 2, 99.0);
    UpdateFileLink(e, "third.wks", 4, 0, 1.0);
    EXPECT_EQ(Eval("@LINK(\"second.wks>C2\")").Number, 12.5);
    EXPECT_EQ(Eval("@LINK(\"second.wks>B:A1\")").Text, "text");
    EXPECT_EQ(Eval("@LINK(\"second.wks>A1\")").Text, "N/A");
    EXPECT_EQ(Eval("@LINK(\"first.wks>A5\")").Text, "N/A");
    UpdateFileLink(e, "SECOND.WKS", 2048, 0, 7.0);
    TextValue v = Eval("@LINK(\"second.wks>B:A1\")");
    EXPECT_FALSE(v.IsString);
    EXPECT_EQ(v.Number, 7);
    EXPECT_EQ(e.FileLinkTable.size(), 2u);

    // Texts that name no cell are ERR and register nothing.
    for (const char* f : {"@LINK(\"no arrow\")", "@LINK(\"f.wks>\")", "@LINK(\"f.wks>ZZZ1\")",
                          "@LINK(\"f.wks>1:A1\")", "@LINK(1/0)"})
        EXPECT_TRUE(Eval(f).Error) << f;
    EXPECT_EQ(e.FileLinkTable.size(), 2u);
}

// The parameter cells of a range function take the arguments as numbers;
// what they held before is freed, whatever it was.
TEST_F(UserFunctionsTest, ParameterCellsLeaveNoHeapBytesBehind)
{
    e.Settings().ManualCalc = true;
    Name("FN", "D1..F2");
    Enter("Z9", "5");
    for (const char* a : {"D1", "E1", "F1"})
        Enter(a, "0");
    Enter("D2", "+D1+E1*10+F1*100");
    Enter("H1", "@FN(1,2,3)");
    PCell caller = Cell("H1");
    EXPECT_EQ(ReadReal(*caller), 321);
    std::int64_t baseline = e.Heap.BytesInUse();

    Enter("D1", "'a label");
    Enter("E1", "+Z9");
    Enter("F1", "+\"ab\"&\"cd\"");
    ASSERT_EQ(Cell("F1")->Kind, ckStrFormula);
    ASSERT_NE(Cell("Z9")->Dependents, 0u);
    ASSERT_GT(e.Heap.BytesInUse(), baseline);

    for (int i = 0; i < 50; ++i)
        EvaluateCell(e, caller);
    EXPECT_EQ(ReadReal(*caller), 321);
    for (const char* a : {"D1", "E1", "F1"}) {
        EXPECT_EQ(Cell(a)->Kind, ckReal) << a;
        EXPECT_EQ(Cell(a)->Text, 0u) << a;
    }
    EXPECT_EQ(Cell("Z9")->Dependents, 0u);
    EXPECT_EQ(e.Heap.BytesInUse(), baseline);
}

// A call that sits in its own parameter row overwrites itself: the cell
// keeps the argument and its freed code is neither run nor kept.
TEST_F(UserFunctionsTest, CallInItsOwnParameterRowBecomesItsArgument)
{
    e.Settings().ManualCalc = true;
    Name("FN", "D1..E2");
    Enter("D2", "+D1*10+E1");
    for (const char* a : {"D1", "E1", "E2"})
        Enter(a, "0");
    std::int64_t baseline = e.Heap.BytesInUse();
    Enter("E1", "@FN(3,4)");
    PCell self = Cell("E1");
    EXPECT_EQ(self->Kind, ckReal);
    EXPECT_EQ(ReadReal(*self), 4);
    EXPECT_EQ(self->Text, 0u);
    EXPECT_EQ(ReadReal(*Cell("D1")), 3);
    EXPECT_EQ(e.Heap.BytesInUse(), baseline);
}

}  // namespace
}  // namespace zt
