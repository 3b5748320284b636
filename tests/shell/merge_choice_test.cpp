#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string>

#include "app/batch.h"
#include "files/worksheet_io.h"
#include "shell/control/merge_choice.h"

namespace zt {
namespace {

namespace fs = std::filesystem;

class MergeChoiceTest : public testing::Test {
protected:
    MergeChoiceTest() : session_(out_, err_) {}

    void SetUp() override
    {
        const auto* info = testing::UnitTest::GetInstance()->current_test_info();
        dir_ = fs::path(testing::TempDir()) / ("zt_mc_" + std::string(info->name()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string Run(const std::string& script)
    {
        out_.str("");
        std::istringstream in(script);
        session_.Run(in);
        return out_.str();
    }

    // A worksheet file holding the script's cells.
    std::string MakeFile(const std::string& script)
    {
        std::ostringstream out, err;
        BatchSession maker(out, err);
        std::istringstream in(script);
        maker.Run(in);
        std::string path = (dir_ / "source.wks").string();
        EXPECT_TRUE(SaveWorksheet(maker.Eng(), path)) << err.str();
        return path;
    }

    // The values the dialog holds when it opens, as confirmed unchanged.
    MergeDialogValues Untouched(const MergeDialogSetup& setup) const
    {
        return MergeDialogValues{.Mode = setup.Mode,
                                 .File = setup.File,
                                 .Target = setup.Target,
                                 .Source = setup.Sources.empty() ? std::string() : setup.Sources.front()};
    }

    Engine& Eng() { return session_.Eng(); }

    std::ostringstream out_, err_;
    BatchSession session_;
    fs::path dir_;
};

TEST_F(MergeChoiceTest, CaptionFollowsTheMode)
{
    EXPECT_EQ(MergeDialogCaption(MergeMode::Values), "Merge Value");
    EXPECT_EQ(MergeDialogCaption(MergeMode::Formulas), "Merge by Formula");
}

TEST_F(MergeChoiceTest, OpensAtTheSelectionsTopLeftCellWithTheFilesNames)
{
    std::string file = MakeFile("enter A1 1\nname pair B1..C1\nname alpha A1..C4\n");
    Run("select E5..C3\n");
    MergeDialogSetup setup = SetUpMergeDialog(Eng(), MergeMode::Formulas, file);
    EXPECT_EQ(setup.Mode, MergeMode::Formulas);
    EXPECT_EQ(setup.File, file);
    EXPECT_EQ(setup.Target, "C3");
    EXPECT_EQ(setup.Sources.size(), 2u);
    EXPECT_NE(std::find(setup.Sources.begin(), setup.Sources.end(), "PAIR: B1..C1"), setup.Sources.end());
    EXPECT_NE(std::find(setup.Sources.begin(), setup.Sources.end(), "ALPHA: A1..C4"), setup.Sources.end());
}

TEST_F(MergeChoiceTest, AFileThatCannotBeReadListsNoNames)
{
    MergeDialogSetup setup = SetUpMergeDialog(Eng(), MergeMode::Values, (dir_ / "missing.wks").string());
    EXPECT_TRUE(setup.Sources.empty());
    EXPECT_EQ(setup.Target, "A1");
}

TEST_F(MergeChoiceTest, AllMergesEveryCellWhateverTheListShows)
{
    MergeDialogValues v{.Mode = MergeMode::Values, .File = "X.WKS", .Target = "D10", .All = true,
                        .Source = "PAIR: B1..C1", .Action = MergeAction::Sum};
    std::optional<MergeChoice> choice = MakeMergeChoice(Eng(), v);
    ASSERT_TRUE(choice);
    EXPECT_EQ(choice->File, "X.WKS");
    EXPECT_TRUE(choice->Request.ValuesOnly);
    EXPECT_EQ(choice->Request.Action, MergeAction::Sum);
    EXPECT_EQ(choice->Request.TargetRow, 9);
    EXPECT_EQ(choice->Request.TargetCol, 3);
    EXPECT_EQ(choice->Request.Source, "");
}

TEST_F(MergeChoiceTest, ARangeSourceIsTheListTextUpToItsColon)
{
    MergeDialogValues v{.Mode = MergeMode::Formulas, .Target = "A1", .All = false,
                        .Source = "PAIR: B1..C1", .Action = MergeAction::Difference};
    std::optional<MergeChoice> named = MakeMergeChoice(Eng(), v);
    ASSERT_TRUE(named);
    EXPECT_EQ(named->Request.Source, "PAIR");
    EXPECT_FALSE(named->Request.ValuesOnly);
    EXPECT_EQ(named->Request.Action, MergeAction::Difference);

    v.Source = "A1..C9";
    std::optional<MergeChoice> typed = MakeMergeChoice(Eng(), v);
    ASSERT_TRUE(typed);
    EXPECT_EQ(typed->Request.Source, "A1..C9");
}

TEST_F(MergeChoiceTest, TheTargetIsTheFirstCellOfWhatIsTyped)
{
    Run("name spot F7..G8\n");
    MergeDialogValues v{.Target = "C4..B2"};
    std::optional<MergeChoice> range = MakeMergeChoice(Eng(), v);
    ASSERT_TRUE(range);
    EXPECT_EQ(range->Request.TargetRow, 1);
    EXPECT_EQ(range->Request.TargetCol, 1);

    v.Target = "spot";
    std::optional<MergeChoice> name = MakeMergeChoice(Eng(), v);
    ASSERT_TRUE(name);
    EXPECT_EQ(name->Request.TargetRow, 6);
    EXPECT_EQ(name->Request.TargetCol, 5);

    for (const char* bad : {"", "A1..", "nosuchname"}) {
        v.Target = bad;
        EXPECT_FALSE(MakeMergeChoice(Eng(), v)) << bad;
        EXPECT_FALSE(Eng().Err.ErrorFlag) << bad;
    }
}

TEST_F(MergeChoiceTest, TheChoiceOfAListedNameMergesThatNamesCells)
{
    std::string file = MakeFile("enter A1 1\nenter B1 2\nenter C1 3\nname pair B1..C1\n");
    Run("enter A6 10\nenter B6 10\nselect A6\n");
    MergeDialogSetup setup = SetUpMergeDialog(Eng(), MergeMode::Values, file);
    MergeDialogValues v = Untouched(setup);
    v.All = false;
    v.Action = MergeAction::Sum;
    std::optional<MergeChoice> choice = MakeMergeChoice(Eng(), v);
    ASSERT_TRUE(choice);
    ASSERT_TRUE(MergeWorksheet(Eng(), choice->File, choice->Request)) << err_.str();
    EXPECT_EQ(Run("print all\n"), "A6\t12\nB6\t13\n");
}

}  // namespace
}  // namespace zt
