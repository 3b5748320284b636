#include "dialogs/merge_dialog.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "dialogs/widget_names.h"
#include "platform/qt/qt_text.h"

namespace zt {

TMergeDlg::TMergeDlg(Engine& e, const MergeDialogSetup& setup, QWidget* parent)
    : QDialog(parent), e_(e), mode_(setup.Mode), file_(setup.File)
{
    setObjectName(QStringLiteral("TMergeDlg"));
    setWindowTitle(ToQString(MergeDialogCaption(mode_)));

    Lb1 = Named(new QLabel(ToQString(file_)), "Lb1");
    Pe1 = Named(new QLineEdit(ToQString(setup.Target)), "Pe1");
    auto* targetCaption = new QLabel(ToQString("&Insert at Cell: "));
    targetCaption->setBuddy(Pe1);

    rb1 = Named(new QRadioButton(ToQString("&All")), "rb1");
    rb2 = Named(new QRadioButton(ToQString("Ra&nge:")), "rb2");
    rb1->setChecked(true);
    cmb1 = Named(new QComboBox, "cmb1");
    cmb1->setEditable(true);
    cmb1->setInsertPolicy(QComboBox::NoInsert);
    for (const std::string& source : setup.Sources)
        cmb1->addItem(ToQString(source));
    cmb1->setCurrentIndex(setup.Sources.empty() ? -1 : 0);
    // Picking or typing a source means merging that source.
    connect(cmb1, &QComboBox::activated, rb2, [this] { rb2->setChecked(true); });
    connect(cmb1->lineEdit(), &QLineEdit::textEdited, rb2, [this] { rb2->setChecked(true); });

    ra1 = Named(new QRadioButton(ToQString("&Replace")), "ra1");
    ra2 = Named(new QRadioButton(ToQString("&Sum")), "ra2");
    ra3 = Named(new QRadioButton(ToQString("&Difference")), "ra3");
    ra1->setChecked(true);

    BtOK = Named(new QPushButton(ToQString("&Ok")), "BtOK");
    BtCan = Named(new QPushButton(ToQString("&Cancel")), "BtCan");
    BtOK->setDefault(true);
    connect(BtOK, &QPushButton::clicked, this, &TMergeDlg::OkClicked);
    connect(BtCan, &QPushButton::clicked, this, &QDialog::reject);

    auto* targetRow = new QHBoxLayout;
    targetRow->addWidget(targetCaption);
    targetRow->addWidget(Pe1);

    auto* sourceBox = new QGroupBox;
    auto* sourceGroup = new QButtonGroup(sourceBox);
    sourceGroup->addButton(rb1);
    sourceGroup->addButton(rb2);
    auto* rangeRow = new QHBoxLayout;
    rangeRow->addWidget(rb2);
    rangeRow->addWidget(cmb1, 1);
    auto* sourceLayout = new QVBoxLayout(sourceBox);
    sourceLayout->addWidget(rb1);
    sourceLayout->addLayout(rangeRow);

    auto* actionBox = new QGroupBox;
    auto* actionGroup = new QButtonGroup(actionBox);
    auto* actionLayout = new QVBoxLayout(actionBox);
    for (QRadioButton* action : {ra1, ra2, ra3}) {
        actionGroup->addButton(action);
        actionLayout->addWidget(action);
    }

    auto* boxes = new QHBoxLayout;
    boxes->addWidget(sourceBox, 1);
    boxes->addWidget(actionBox);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BtOK);
    buttons->addWidget(BtCan);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Lb1);
    layout->addLayout(targetRow);
    layout->addLayout(boxes);
    layout->addLayout(buttons);
}

MergeAction TMergeDlg::ChosenAction() const
{
    if (ra2->isChecked())
        return MergeAction::Sum;
    if (ra3->isChecked())
        return MergeAction::Difference;
    return MergeAction::Replace;
}

void TMergeDlg::OkClicked()
{
    MergeDialogValues values{.Mode = mode_, .File = file_, .All = rb1->isChecked(), .Action = ChosenAction()};
    std::optional<MergeChoice> choice;
    if (FromQString(Pe1->text(), values.Target) && FromQString(cmb1->currentText(), values.Source))
        choice = MakeMergeChoice(e_, values);
    if (!choice) {
        // No cell to merge at: let the user correct the target.
        Pe1->setFocus();
        Pe1->selectAll();
        return;
    }
    choice_ = std::move(choice);
    accept();
}

}  // namespace zt
