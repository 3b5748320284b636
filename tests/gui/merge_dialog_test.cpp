#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <sstream>

#include "app/batch.h"
#include "dialogs/merge_dialog.h"
#include "platform/qt/qt_text.h"

namespace zt {
namespace {

class MergeDialogTest : public testing::Test {
protected:
    MergeDialogTest() : session_(out_, err_) {}

    MergeDialogSetup Setup(MergeMode mode) const
    {
        return MergeDialogSetup{.Mode = mode,
                                .File = "/data/SOURCE.WKS",
                                .Target = "C3",
                                .Sources = {"PAIR: B1..C1", "ALPHA: A1..C4"}};
    }

    template <typename Widget>
    static Widget* Child(const TMergeDlg& dlg, const char* name)
    {
        Widget* w = dlg.findChild<Widget*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }

    static void ClickOk(TMergeDlg& dlg) { QTest::mouseClick(Child<QPushButton>(dlg, "BtOK"), Qt::LeftButton); }

    std::ostringstream out_, err_;
    BatchSession session_;
};

TEST_F(MergeDialogTest, ShowsTheCaptionsAndPresets)
{
    for (MergeMode mode : {MergeMode::Values, MergeMode::Formulas}) {
        TMergeDlg dlg(session_.Eng(), Setup(mode));
        EXPECT_EQ(dlg.windowTitle(), ToQString(MergeDialogCaption(mode)));
        EXPECT_EQ(Child<QLabel>(dlg, "Lb1")->text(), QStringLiteral("/data/SOURCE.WKS"));

        QLineEdit* target = Child<QLineEdit>(dlg, "Pe1");
        EXPECT_EQ(target->text(), QStringLiteral("C3"));
        bool captioned = false;
        for (QLabel* label : dlg.findChildren<QLabel*>())
            captioned |= label->buddy() == target && label->text() == QStringLiteral("&Insert at Cell: ");
        EXPECT_TRUE(captioned);

        EXPECT_EQ(Child<QRadioButton>(dlg, "rb1")->text(), QStringLiteral("&All"));
        EXPECT_EQ(Child<QRadioButton>(dlg, "rb2")->text(), QStringLiteral("Ra&nge:"));
        EXPECT_EQ(Child<QRadioButton>(dlg, "ra1")->text(), QStringLiteral("&Replace"));
        EXPECT_EQ(Child<QRadioButton>(dlg, "ra2")->text(), QStringLiteral("&Sum"));
        EXPECT_EQ(Child<QRadioButton>(dlg, "ra3")->text(), QStringLiteral("&Difference"));
        EXPECT_EQ(Child<QPushButton>(dlg, "BtOK")->text(), QStringLiteral("&Ok"));
        EXPECT_EQ(Child<QPushButton>(dlg, "BtCan")->text(), QStringLiteral("&Cancel"));
        EXPECT_TRUE(Child<QRadioButton>(dlg, "rb1")->isChecked());
        EXPECT_TRUE(Child<QRadioButton>(dlg, "ra1")->isChecked());

        QComboBox* sources = Child<QComboBox>(dlg, "cmb1");
        EXPECT_TRUE(sources->isEditable());
        EXPECT_EQ(sources->count(), 2);
        EXPECT_EQ(sources->currentText(), QStringLiteral("PAIR: B1..C1"));
    }
}

TEST_F(MergeDialogTest, OkWithAllMergesEveryCellAtTheTarget)
{
    TMergeDlg dlg(session_.Eng(), Setup(MergeMode::Values));
    dlg.show();
    QTest::mouseClick(Child<QRadioButton>(dlg, "ra2"), Qt::LeftButton);
    ClickOk(dlg);
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    ASSERT_TRUE(dlg.Choice());
    EXPECT_EQ(dlg.Choice()->File, "/data/SOURCE.WKS");
    const MergeRequest& m = dlg.Choice()->Request;
    EXPECT_TRUE(m.ValuesOnly);
    EXPECT_EQ(m.Action, MergeAction::Sum);
    EXPECT_EQ(m.TargetRow, 2);
    EXPECT_EQ(m.TargetCol, 2);
    EXPECT_EQ(m.Source, "");
}

TEST_F(MergeDialogTest, TypingASourceSelectsRange)
{
    TMergeDlg dlg(session_.Eng(), Setup(MergeMode::Formulas));
    dlg.show();
    QComboBox* sources = Child<QComboBox>(dlg, "cmb1");
    sources->lineEdit()->clear();
    QTest::keyClicks(sources->lineEdit(), "A1..C9");
    EXPECT_TRUE(Child<QRadioButton>(dlg, "rb2")->isChecked());
    ClickOk(dlg);
    ASSERT_TRUE(dlg.Choice());
    EXPECT_EQ(dlg.Choice()->Request.Source, "A1..C9");
    EXPECT_FALSE(dlg.Choice()->Request.ValuesOnly);
    EXPECT_EQ(dlg.Choice()->Request.Action, MergeAction::Replace);
}

TEST_F(MergeDialogTest, ChoosingAListedNameSelectsRange)
{
    TMergeDlg dlg(session_.Eng(), Setup(MergeMode::Values));
    dlg.show();
    QComboBox* sources = Child<QComboBox>(dlg, "cmb1");
    sources->setFocus();
    QTest::keyClick(sources, Qt::Key_Down);
    EXPECT_EQ(sources->currentIndex(), 1);
    EXPECT_TRUE(Child<QRadioButton>(dlg, "rb2")->isChecked());
    ClickOk(dlg);
    ASSERT_TRUE(dlg.Choice());
    EXPECT_EQ(dlg.Choice()->Request.Source, "ALPHA");
}

TEST_F(MergeDialogTest, ATargetThatIsNoCellKeepsTheDialogOpen)
{
    TMergeDlg dlg(session_.Eng(), Setup(MergeMode::Values));
    dlg.show();
    QLineEdit* target = Child<QLineEdit>(dlg, "Pe1");
    target->setText(QStringLiteral("A1.."));
    ClickOk(dlg);
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_FALSE(dlg.Choice());

    target->setText(QStringLiteral("B7"));
    ClickOk(dlg);
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    ASSERT_TRUE(dlg.Choice());
    EXPECT_EQ(dlg.Choice()->Request.TargetRow, 6);
    EXPECT_EQ(dlg.Choice()->Request.TargetCol, 1);
}

TEST_F(MergeDialogTest, CancelLeavesNoChoice)
{
    TMergeDlg dlg(session_.Eng(), Setup(MergeMode::Values));
    dlg.show();
    QTest::mouseClick(Child<QPushButton>(dlg, "BtCan"), Qt::LeftButton);
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
    EXPECT_FALSE(dlg.Choice());
}

}  // namespace
}  // namespace zt
