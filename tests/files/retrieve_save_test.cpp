#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/resource.h>
#include <vector>

#include "app/batch.h"
#include "core/cell_store.h"
#include "files/file_access.h"
#include "files/worksheet_io.h"
#include "tests/app/run_binary.h"

namespace zt {
namespace {

namespace fs = std::filesystem;

// A worksheet driven by batch commands, with its output and messages kept apart.
class Sheet {
public:
    Sheet() : session_(out_, err_) {}

    // The output of the commands, one line per result.
    std::string Run(const std::string& script)
    {
        out_.str("");
        std::istringstream in(script);
        session_.Run(in);
        return out_.str();
    }
    std::string Value(const std::string& addr) { return Run("value " + addr + "\n"); }
    std::string Errors() const { return err_.str(); }
    Engine& Eng() { return session_.Eng(); }

private:
    std::ostringstream out_, err_;
    BatchSession session_;
};

class RetrieveSaveTest : public testing::Test {
protected:
    void SetUp() override
    {
        const auto* info = testing::UnitTest::GetInstance()->current_test_info();
        dir_ = fs::path(testing::TempDir()) / ("zt_f_" + std::string(info->name()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string Path(const std::string& name) const { return (dir_ / name).string(); }

    // A file holding the script's cells, saved through a worksheet of its own.
    std::string MakeFile(const std::string& name, const std::string& script)
    {
        Sheet s;
        s.Run(script);
        EXPECT_TRUE(SaveWorksheet(s.Eng(), Path(name))) << s.Errors();
        return Path(name);
    }

    static std::string Bytes(const std::string& path)
    {
        std::ifstream f(path, std::ios::binary);
        std::stringstream text;
        text << f.rdbuf();
        return text.str();
    }

    // Each formula, written with % where a reference may name another file,
    // is entered in a worksheet holding `cells` and, with % naming that
    // worksheet's file, in one holding `decoy` at the same addresses: both
    // must give the same values, and the worksheet that asked must be
    // current again afterwards.
    void ExpectSameThroughReferences(const std::string& cells, const std::string& decoy,
                                     const std::vector<std::string>& formulas)
    {
        const std::string file = Path("Other.wks");
        std::string local, external, values;
        for (std::size_t i = 0; i < formulas.size(); ++i) {
            const std::string addr = "Z" + std::to_string(i + 1);
            local += "enter " + addr + " " + Marked(formulas[i], "") + "\n";
            external += "enter " + addr + " " + Marked(formulas[i], "[" + file + "]") + "\n";
            values += "value " + addr + "\n";
        }
        Sheet inside;
        inside.Run(cells + local);
        const std::string expected = inside.Run(values);
        ASSERT_TRUE(SaveWorksheet(inside.Eng(), file)) << inside.Errors();
        Sheet outside;
        outside.Run(decoy + external);
        EXPECT_EQ(outside.Run(values), expected) << external;
        EXPECT_EQ(outside.Errors(), "");
        EXPECT_EQ(outside.Eng().Cur, outside.Eng().Slots[1].get());
        EXPECT_EQ(outside.Eng().CurSlot, 1);
    }

    static std::string Marked(const std::string& formula, const std::string& prefix)
    {
        std::string out;
        for (char c : formula)
            out += c == '%' ? prefix : std::string(1, c);
        return out;
    }

    fs::path dir_;
};

TEST_F(RetrieveSaveTest, CellsNamesAndFormulasSurviveTheRoundTrip)
{
    std::string file = MakeFile("round.wks",
                                "enter A1 12\nenter A2 2.5\nenter B1 hello\n"
                                "enter C1 +A1*A2\nenter C2 @SUM(A1..A2)\nname totals C1..C2\n");
    Sheet s;
    ASSERT_TRUE(RetrieveWorksheet(s.Eng(), file)) << s.Errors();
    EXPECT_EQ(s.Run("value A1\nvalue A2\nvalue B1\nvalue C1\nvalue C2\ncontents C1\nnames\n"),
              "12\n2.5\nhello\n30\n14.5\n+A1*A2\nTOTALS C1..C2\n");
    EXPECT_FALSE(s.Eng().Cur->Modified);
    EXPECT_EQ(s.Eng().Cur->FilePath, file);
    // The formulas are linked again: a change reaches them.
    EXPECT_EQ(s.Run("enter A1 4\nvalue C1\nvalue C2\n"), "10\n6.5\n");
    EXPECT_TRUE(s.Eng().Cur->Modified);
    EXPECT_EQ(s.Errors(), "");
}

TEST_F(RetrieveSaveTest, RetrieveReplacesWhatTheWorksheetHeld)
{
    std::string file = MakeFile("small.wks", "enter A1 1\n");
    Sheet s;
    s.Run("enter D9 old\nname gone D9\n");
    ASSERT_TRUE(RetrieveWorksheet(s.Eng(), file));
    EXPECT_EQ(s.Run("kind D9\nnames\nvalue A1\n"), "none\n1\n");
}

TEST_F(RetrieveSaveTest, SavingTwiceKeepsThePreviousVersionAsBackup)
{
    Sheet s;
    s.Run("enter A1 1\n");
    ASSERT_TRUE(SaveWorksheet(s.Eng(), Path("X.WKS")));
    EXPECT_FALSE(fs::exists(Path("X.WKB")));
    std::string first = Bytes(Path("X.WKS"));
    s.Run("enter A1 2\n");
    ASSERT_TRUE(SaveWorksheet(s.Eng(), Path("X.WKS")));
    EXPECT_EQ(Bytes(Path("X.WKB")), first);

    Sheet backup, current;
    ASSERT_TRUE(RetrieveWorksheet(backup.Eng(), Path("X.WKB")));
    ASSERT_TRUE(RetrieveWorksheet(current.Eng(), Path("X.WKS")));
    EXPECT_EQ(backup.Value("A1"), "1\n");
    EXPECT_EQ(current.Value("A1"), "2\n");

    // Lower-case names keep their case, the backup letter included.
    ASSERT_TRUE(SaveWorksheet(s.Eng(), Path("y.wks")));
    ASSERT_TRUE(SaveWorksheet(s.Eng(), Path("y.wks")));
    EXPECT_TRUE(fs::exists(Path("y.wkb")));
    EXPECT_EQ(BackupName("/a/B.WKS"), "/a/B.WKB");
}

TEST_F(RetrieveSaveTest, ASaveThatCannotCreateTheFileChangesNothing)
{
    Sheet s;
    s.Run("enter A1 5\n");
    std::string file = Path("keep.wks");
    ASSERT_TRUE(SaveWorksheet(s.Eng(), file));
    s.Run("enter A1 6\n");
    ASSERT_TRUE(s.Eng().Cur->Modified);

    // The parent of the new name is a regular file: even root cannot create it.
    std::string impossible = file + "/inner.wks";
    EXPECT_FALSE(SaveWorksheet(s.Eng(), impossible));
    EXPECT_EQ(s.Errors(), "Error:Unable to WRITE " + impossible + ": Not a directory\n");
    EXPECT_TRUE(s.Eng().Cur->Modified);
    EXPECT_EQ(s.Eng().Cur->FilePath, file);
    Sheet check;
    ASSERT_TRUE(RetrieveWorksheet(check.Eng(), file));
    EXPECT_EQ(check.Value("A1"), "5\n");
}

// A write that stops half-way (the disk fills up) must leave the previous
// file whole, no temporary file behind, and the worksheet modified.
TEST_F(RetrieveSaveTest, AWriteThatFailsHalfWayLeavesTheOldFile)
{
    Sheet s;
    s.Run("enter A1 1\n");
    std::string file = Path("full.wks");
    ASSERT_TRUE(SaveWorksheet(s.Eng(), file));
    std::string before = Bytes(file);
    for (int row = 1; row <= 400; ++row)
        s.Run("enter B" + std::to_string(row) + " label number " + std::to_string(row) + "\n");

    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = before.size() + 512;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    bool saved = SaveWorksheet(s.Eng(), file);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(saved);
    EXPECT_EQ(s.Errors(), "Error:Unable to WRITE " + file + ": File too large\n");
    EXPECT_TRUE(s.Eng().Cur->Modified);
    EXPECT_EQ(Bytes(file), before);
    EXPECT_FALSE(fs::exists(Path("full.wkb")));
    int entries = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(dir_))
        ++entries;
    EXPECT_EQ(entries, 1);
}

TEST_F(RetrieveSaveTest, OpeningFailuresAreReportedInTheProgramsWords)
{
    Sheet s;
    EXPECT_FALSE(RetrieveWorksheet(s.Eng(), Path("missing.wks")));
    std::ofstream(Path("text.wks")) << "just some text\n";
    EXPECT_FALSE(RetrieveWorksheet(s.Eng(), Path("text.wks")));
    EXPECT_FALSE(MergeWorksheet(s.Eng(), Path("text.wks"), MergeRequest{}));
    EXPECT_EQ(s.Errors(), "Error:Unable to Open File\nError:Invalid WKS File!\nError:Invalid WKS File!\n");
}

TEST_F(RetrieveSaveTest, AnExtractStartsAtA1AndMergesBackAnywhere)
{
    Sheet s;
    s.Run("enter A1 99\nenter B2 1\nenter C2 two\nenter B3 3\nenter C3 +B3*2\n");
    ASSERT_TRUE(ExtractRange(s.Eng(), TRange{1, 1, 2, 2}, Path("part.wks")));

    Sheet part;
    ASSERT_TRUE(RetrieveWorksheet(part.Eng(), Path("part.wks")));
    EXPECT_EQ(part.Run("value A1\nvalue B1\nvalue A2\nvalue B2\nkind C3\n"), "1\ntwo\n3\n6\nnone\n");

    MergeRequest m;
    m.ValuesOnly = false;
    m.TargetRow = 4;
    m.TargetCol = 4;
    ASSERT_TRUE(MergeWorksheet(s.Eng(), Path("part.wks"), m));
    EXPECT_EQ(s.Run("value E5\nvalue F5\nvalue E6\nvalue F6\ncontents F6\nvalue A1\n"),
              "1\ntwo\n3\n6\n+E6*2\n99\n");
    EXPECT_EQ(s.Run("enter E6 10\nvalue F6\n"), "20\n");
}

TEST_F(RetrieveSaveTest, MergeActionsCombineWithTheCellsThere)
{
    std::string file = MakeFile("three.wks", "enter A1 3\nenter A2 label\n");
    Sheet s;
    s.Run("enter A1 10\nenter B1 10\nenter C1 10\nenter A2 1\n");
    MergeRequest m;
    m.Action = MergeAction::Sum;
    ASSERT_TRUE(MergeWorksheet(s.Eng(), file, m));
    m.Action = MergeAction::Difference;
    m.TargetCol = 1;
    ASSERT_TRUE(MergeWorksheet(s.Eng(), file, m));
    m.Action = MergeAction::Replace;
    m.TargetCol = 2;
    ASSERT_TRUE(MergeWorksheet(s.Eng(), file, m));
    EXPECT_EQ(s.Run("value A1\nkind A1\nvalue B1\nkind B1\nvalue C1\nvalue A2\n"),
              "13\nckReal\n7\nckReal\n3\nlabel\n");
    EXPECT_TRUE(s.Eng().Cur->Modified);
}

TEST_F(RetrieveSaveTest, ValuesMergeTurnsFormulasIntoTheirValues)
{
    std::string file = MakeFile("formulas.wks", "enter A1 4\nenter B2 +A1*2\nenter B3 @UPPER(\"ab\")\n");
    Sheet s;
    MergeRequest m;
    m.TargetRow = 9;
    m.TargetCol = 3;
    ASSERT_TRUE(MergeWorksheet(s.Eng(), file, m));
    EXPECT_EQ(s.Run("value D10\nvalue E11\nkind E11\nvalue E12\nkind E12\n"),
              "4\n8\nckReal\nAB\nckString\n");

    // By formula, the relative reference follows the cell: +A1 at B2 lands
    // at E11 as +D10.
    Sheet f;
    m.ValuesOnly = false;
    ASSERT_TRUE(MergeWorksheet(f.Eng(), file, m));
    EXPECT_EQ(f.Run("contents E11\nvalue E11\n"), "+D10*2\n8\n");
}

TEST_F(RetrieveSaveTest, ASourceRangeOrNameLimitsTheMerge)
{
    std::string file = MakeFile("named.wks", "enter A1 1\nenter B1 2\nenter C1 3\nname pair B1..C1\n");
    Sheet s;
    MergeRequest m;
    m.Source = "PAIR";
    m.TargetRow = 5;
    ASSERT_TRUE(MergeWorksheet(s.Eng(), file, m));
    m.Source = "A1..A1";
    m.TargetRow = 6;
    ASSERT_TRUE(MergeWorksheet(s.Eng(), file, m));
    m.Source = "NOSUCH";
    m.TargetRow = 7;
    ASSERT_TRUE(MergeWorksheet(s.Eng(), file, m));
    EXPECT_EQ(s.Run("print all\nnames\n"), "A6\t2\nB6\t3\nA7\t1\n");

    // Every cell: the file's names come along, shifted like the cells.
    Sheet all;
    m.Source.clear();
    m.TargetRow = 2;
    ASSERT_TRUE(MergeWorksheet(all.Eng(), file, m));
    EXPECT_EQ(all.Run("names\n"), "PAIR B3..C3\n");
}

TEST_F(RetrieveSaveTest, MacroOptionTextsGiveModeAndAction)
{
    MergeRequest m;
    ApplyMergeOptionText(m, "sf");
    EXPECT_FALSE(m.ValuesOnly);
    EXPECT_EQ(m.Action, MergeAction::Sum);
    ApplyMergeOptionText(m, "R");
    EXPECT_TRUE(m.ValuesOnly);
    EXPECT_EQ(m.Action, MergeAction::Replace);
    ApplyMergeOptionText(m, "RS");
    EXPECT_EQ(m.Action, MergeAction::Difference);
    ApplyMergeOptionText(m, "xxxF");
    EXPECT_TRUE(m.ValuesOnly);
    EXPECT_EQ(m.Action, MergeAction::Replace);
}

TEST_F(RetrieveSaveTest, ExternalReferencesReadTheOtherFile)
{
    std::string other = MakeFile("Other.wks", "enter A1 5\nenter A2 7\nenter A3 +A1+A2\nenter B1 text\n");
    Sheet s;
    s.Run("enter C1 +[" + other + "]A1*2\n"
          "enter C2 @SUM([" + other + "]A1..A3)\n"
          "enter C3 @LOWER([" + other + "]B1)\n"
          "enter C4 @AVG([" + other + "]A1..A2)\n"
          "enter C5 +[" + Path("absent.wks") + "]A1\n"
          "enter C6 @SUM([" + Path("absent.wks") + "]A1..A2)\n"
          "enter C7 @VTABLE(6,[" + other + "]A1..B2,1)\n"
          "enter C8 @INDEX([" + other + "]A1..B3,1,3)\n"
          "enter C9 @MEDIAN([" + other + "]A1..A3)\n");
    EXPECT_EQ(s.Run("value C1\nvalue C2\nvalue C3\nvalue C4\nvalue C5\nvalue C6\nvalue C7\nvalue C8\nvalue C9\n"),
              "10\n24\ntext\n6\nERR\nERR\ntext\n12\n7\n");
    EXPECT_EQ(s.Errors(), "");
    // The other file stays loaded in a slot of its own; the worksheet that
    // asked is still the current one.
    EXPECT_EQ(s.Eng().Cur, s.Eng().Slots[1].get());
    EXPECT_NE(s.Eng().Slots[2], nullptr);
    EXPECT_EQ(s.Eng().Slots[2]->FilePath, other);
}

TEST_F(RetrieveSaveTest, FirstCellAndShapeFunctionsReadAnotherFile)
{
    ExpectSameThroughReferences("enter A1 apple\nenter A2 5\nenter B1 7\n",
                                "enter A1 pear\nenter A2 9\nenter B1 1\n",
                                {"@S(%A1..B2)", "@N(%A2..B2)", "@N(%A1)", "@LENGTH(@S(%A2))", "@COLS(%A1..C4)",
                                 "@ROWS(%A1..C4)", "@S(%B1)", "@N(%B1)"});
}

TEST_F(RetrieveSaveTest, CashFlowFunctionsReadAnotherFile)
{
    ExpectSameThroughReferences("enter A1 -100\nenter A2 30\nenter A3 40\nenter A4 50\nenter A5 bad\n",
                                "enter A1 -50\nenter A2 10\nenter A3 10\nenter A4 90\n",
                                {"@NPV(0.1,%A1..A4)", "@IRR(0.1,%A1..A4)", "@NPV(0.1,%A1..A5)", "@IRR(0,%A1..A4)"});
}

TEST_F(RetrieveSaveTest, ProductSumsReadEachRangeFromItsOwnFile)
{
    // The decoy shares the second column only, so a product that mixes the
    // two worksheets must still match.
    ExpectSameThroughReferences("enter A1 1\nenter A2 2\nenter A3 3\nenter B1 4\nenter B2 5\nenter B3 6\n",
                                "enter A1 9\nenter A2 9\nenter A3 9\nenter B1 4\nenter B2 5\nenter B3 6\n",
                                {"@PSUM(%A1..A3,%B1..B3)", "@PSUM(%A1..A3,B1..B3)", "@PSUM(%A2..A3,%A1..B1)",
                                 "@PSUM(%A1..A4,%B1..B4)"});
}

TEST_F(RetrieveSaveTest, DatabaseFunctionsReadCellsOfAnotherFile)
{
    const std::string data = "enter A1 1\nenter A2 2\nenter A3 label\nenter A4 4\nenter A5 5\n"
                             "enter B1 10\nenter B2 20\nenter B3 30\nenter B4 40\nenter B5 50\n";
    ExpectSameThroughReferences(data, "enter A1 7\nenter A2 7\nenter B1 1\nenter B2 1\n",
                                {"@QSUM(\"@X>1\",%A1..A5,1)", "@QAVG(\"@X<5\",%A1..A5,1)",
                                 "@QCOUNT(\"@X>=2\",%A1..A5,1)", "@QMIN(\"1\",%A1..A5,1)", "@QMAX(\"@X<4\",%A1..A5,1)",
                                 "@QVAR(\"1\",%A1..A5,1)", "@QSTD(\"@X>1\",%A1..A5,0)"});
    // The criterion is a formula of the asking worksheet: its D1 is 3, the
    // other file has none.
    Sheet s;
    s.Run("enter D1 3\nenter C1 @QSUM(\"@X>D1\",[" + Path("Other.wks") + "]A1..A5,1)\n");
    EXPECT_EQ(s.Value("C1"), "90\n");
    EXPECT_EQ(s.Eng().CurSlot, 1);
}

TEST_F(RetrieveSaveTest, CellAttributesComeFromAnotherFile)
{
    ExpectSameThroughReferences("enter A1 'abc\nenter A2 5.5\nformat A2 F2\nenter C7 \"xyz\n",
                                "enter A1 7\nenter A2 ^mid\nenter C7 1\n",
                                {"@CELL(\"contents\",%A1..B2)", "@CELL(\"type\",%A1)", "@CELL(\"typ\",%A2)",
                                 "@CELL(\"prefix\",%C7)", "@CELL(\"row\",%C7)", "@CELL(\"col\",%C7)",
                                 "@CELL(\"format\",%A2)", "@CELL(\"type\",%D9)"});
}

TEST_F(RetrieveSaveTest, MatrixMeasuresReadAnotherFile)
{
    ExpectSameThroughReferences("enter A1 2\nenter A2 1\nenter B1 1\nenter B2 3\nenter C1 4\nenter C2 2\n"
                                "enter A3 3\nenter B3 4\nenter C3 6\n",
                                "enter A1 1\nenter A2 1\nenter B1 1\nenter B2 1\n",
                                {"@DET(%A1..B2)", "@TRACE(%A1..B2)", "@RANK(%A1..C3)", "@DET(%A1..C3)",
                                 "@TRACE(%A1..C3)", "@DET(%A1..C2)", "@TRACE(%A1..B3)"});
}

TEST_F(RetrieveSaveTest, CountsAndTwoWayTablesReadAnotherFile)
{
    ExpectSameThroughReferences("enter A1 0\nenter B1 1\nenter C1 2\nenter A2 1\nenter B2 10\nenter C2 20\n"
                                "enter A3 2\nenter B3 30\nenter C3 40\nenter D5 'x\n",
                                "enter A1 0\nenter B1 5\nenter A2 5\nenter B2 1\n",
                                {"@COUNTA(%A1..D5)", "@XYTERP(1.5,1.5,%A1..C3)", "@XYTERP(1,1,%A1..C3)",
                                 "@XYTERP(9,1,%A1..C3)"});
}

TEST_F(RetrieveSaveTest, UplinkBringsInTheValuesOfLinkedFiles)
{
    std::string linked = MakeFile("Linked.wks", "enter B3 42\nenter C3 words\n");
    Sheet s;
    s.Run("enter A1 @LINK(\"" + linked + ">B3\")\nenter A2 @LINK(\"" + linked + ">C3\")\nenter A3 +A1+1\n");
    EXPECT_EQ(s.Run("value A1\n"), "N/A\n");
    // The table holds the name upper-cased; the file is found all the same.
    s.Run("uplink\n");
    EXPECT_EQ(s.Run("value A1\nvalue A2\nvalue A3\n"), "42\nwords\n43\n");
    EXPECT_EQ(s.Errors(), "");

    // A worksheet with links refreshes them as soon as it is opened.
    ASSERT_TRUE(SaveWorksheet(s.Eng(), Path("linker.wks")));
    Sheet fresh;
    ASSERT_TRUE(RetrieveWorksheet(fresh.Eng(), Path("linker.wks")));
    EXPECT_EQ(fresh.Run("value A1\nvalue A3\n"), "42\n43\n");
}

TEST_F(RetrieveSaveTest, NamesAreFoundWithoutRegardToCase)
{
    MakeFile("MixedCase.Wks", "enter A1 1\n");
    EXPECT_EQ(ResolveFileName(Path("MIXEDCASE.WKS")), Path("MixedCase.Wks"));
    EXPECT_EQ(ResolveFileName(Path("nothing.wks")), Path("nothing.wks"));
    EXPECT_TRUE(SameFileName("a/b.wks", "A/B.WKS"));
    EXPECT_FALSE(SameFileName("a.wks", "a.wk"));
}

TEST_F(RetrieveSaveTest, BatchCommandsWorkWithFiles)
{
    std::string file = MakeFile("batch.wks", "enter A1 3\nenter A2 4\n");
    Sheet s;
    std::string out = s.Run("open " + file + "\nenter A3 +A1*A2\nsave\n"
                            "extract A1..A2 " + Path("ext.wks") + "\n"
                            "merge " + Path("ext.wks") + " B1 formulas sum\n"
                            "merge " + Path("ext.wks") + " B1 difference A2..A2\n"
                            "print A1..B3\n");
    // The second merge puts A2 alone (4) onto B1, which held 3.
    EXPECT_EQ(out, "A1\t3\nB1\t-1\nA2\t4\nB2\t4\nA3\t12\n");
    EXPECT_EQ(s.Errors(), "");
    EXPECT_TRUE(fs::exists(Path("batch.wkb")));

    s.Run("merge " + Path("ext.wks") + "\nopen\nmerge " + Path("ext.wks") + " B1 values bogus extra\n");
    EXPECT_NE(s.Errors().find("Error:Invalid Range: "), std::string::npos);
    EXPECT_NE(s.Errors().find("Error:File Name Expected"), std::string::npos);
    EXPECT_NE(s.Errors().find("Error:Too Many Arguments: extra"), std::string::npos);
}

TEST_F(RetrieveSaveTest, TheCommandLineOpensPrintsAndConverts)
{
    std::string file = MakeFile("cmd.wks", "enter A1 2\nenter B1 +A1*21\nenter A2 name\n");
    std::string out;
    EXPECT_EQ(RunBinary("--batch " + file + " --recalc --print all", "enter A1 100\n", out), 0);
    EXPECT_EQ(out, "A1\t2\nB1\t42\nA2\tname\n");
    EXPECT_EQ(RunBinary("--batch " + file + " --print B1..B1", "", out), 0);
    EXPECT_EQ(out, "B1\t42\n");

    EXPECT_EQ(RunBinary("--batch " + file, "enter A1 3\nvalue B1\n", out), 0);
    EXPECT_EQ(out, "63\n");

    std::string copy = Path("copy.wks");
    EXPECT_EQ(RunBinary("--batch " + file + " --save " + copy, "", out), 0);
    EXPECT_EQ(out, "");
    EXPECT_EQ(Bytes(copy).size(), Bytes(file).size());
    Sheet s;
    ASSERT_TRUE(RetrieveWorksheet(s.Eng(), copy));
    EXPECT_EQ(s.Value("B1"), "42\n");

    EXPECT_EQ(RunBinary("--batch " + Path("missing.wks") + " --print all", "", out), 1);
    EXPECT_EQ(out, "Error:Unable to Open File\n");
    EXPECT_EQ(RunBinary("--batch " + file + " --print", "", out), 2);
}

}  // namespace
}  // namespace zt
