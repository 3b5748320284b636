#pragma once
#include <QDialog>
#include <optional>

#include "shell/control/merge_choice.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace zt {

// Where and how the cells of a chosen file are merged. The dialog only
// collects the choice; running the merge is the caller's.
class TMergeDlg : public QDialog {
    Q_OBJECT

public:
    TMergeDlg(Engine& e, const MergeDialogSetup& setup, QWidget* parent = nullptr);

    // Set when "&Ok" closed the dialog.
    const std::optional<MergeChoice>& Choice() const { return choice_; }

private:
    void OkClicked();
    MergeAction ChosenAction() const;

    Engine& e_;
    MergeMode mode_;
    std::string file_;
    std::optional<MergeChoice> choice_;

    QLabel* Lb1;
    QLineEdit* Pe1;
    QRadioButton* rb1;
    QRadioButton* rb2;
    QComboBox* cmb1;
    QRadioButton* ra1;
    QRadioButton* ra2;
    QRadioButton* ra3;
    QPushButton* BtOK;
    QPushButton* BtCan;
};

}  // namespace zt
