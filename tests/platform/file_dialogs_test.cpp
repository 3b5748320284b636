#include <gtest/gtest.h>

#include "platform/file_dialogs.h"

namespace zt {
namespace {

TEST(QtFilter, OpenFilterKeepsDescriptionsAndIgnoresCase)
{
    EXPECT_EQ(QtFilterFromProgramFilter("Worksheets (*.wks,*.wk1)|*.wks;*.wk1|Backups (*.wkb)|*.wkb|All Files|*.*"),
              "Worksheets (*.wks,*.wk1) (*.[wW][kK][sS] *.[wW][kK]1);;"
              "Backups (*.wkb) (*.[wW][kK][bB]);;"
              "All Files (*)");
}

TEST(QtFilter, WildcardsAndMixedCaseSurvive)
{
    EXPECT_EQ(QtFilterFromProgramFilter("Worksheets(*.WKS)|*.Wk?"), "Worksheets(*.WKS) (*.[wW][kK]?)");
    EXPECT_EQ(QtFilterFromProgramFilter("Odd|*.[1]"), "Odd (*.[[]1[]])");
}

TEST(QtFilter, MalformedFiltersGiveUsableForms)
{
    // A trailing bar adds nothing.
    EXPECT_EQ(QtFilterFromProgramFilter("Text|*.prn|"), "Text (*.[pP][rR][nN])");
    EXPECT_EQ(QtFilterFromProgramFilter("Text|*.prn||"), "Text (*.[pP][rR][nN])");
    // A description without patterns keeps its place and matches everything.
    EXPECT_EQ(QtFilterFromProgramFilter("Text|*.prn|Any|"), "Text (*.[pP][rR][nN]);;Any (*)");
    EXPECT_EQ(QtFilterFromProgramFilter("Any"), "Any (*)");
    // Empty patterns between separators are dropped.
    EXPECT_EQ(QtFilterFromProgramFilter("Both| *.a ;;*.b;"), "Both (*.[aA] *.[bB])");
    EXPECT_EQ(QtFilterFromProgramFilter("|"), "");
    EXPECT_EQ(QtFilterFromProgramFilter(""), "");
}

TEST(DefaultExtension, AppendedOnlyToNamesWithoutOne)
{
    EXPECT_EQ(WithDefaultExtension("/home/a/budget", "wks"), "/home/a/budget.wks");
    EXPECT_EQ(WithDefaultExtension("/home/a/budget", ".wks"), "/home/a/budget.wks");
    EXPECT_EQ(WithDefaultExtension("/home/a/budget.prn", "wks"), "/home/a/budget.prn");
    EXPECT_EQ(WithDefaultExtension("/home/a.b/budget", "wks"), "/home/a.b/budget.wks");
    EXPECT_EQ(WithDefaultExtension("budget", ""), "budget");
    EXPECT_EQ(WithDefaultExtension("/home/a/", "wks"), "/home/a/");
}

TEST(ScriptedFileDialogs, AnswersInOrderThenCancels)
{
    ScriptedFileDialogs dialogs;
    dialogs.QueueAnswer({true, "/tmp/a.wks", 2});
    FileDialogRequest request;
    request.Title = "ZENTABULAR SAVE AS...";
    FileDialogResult first = dialogs.SaveFile(request);
    FileDialogResult second = dialogs.OpenFile({});
    EXPECT_TRUE(first.Ok);
    EXPECT_EQ(first.Path, "/tmp/a.wks");
    EXPECT_EQ(first.FilterIndex, 2);
    EXPECT_FALSE(second.Ok);
    ASSERT_EQ(dialogs.Requests().size(), 2u);
    EXPECT_TRUE(dialogs.Requests()[0].Save);
    EXPECT_EQ(dialogs.Requests()[0].Request.Title, "ZENTABULAR SAVE AS...");
    EXPECT_FALSE(dialogs.Requests()[1].Save);
}

}  // namespace
}  // namespace zt
