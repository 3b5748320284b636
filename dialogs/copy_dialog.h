#pragma once
#include <QDialog>

#include "shell/control/shell_view.h"

class QLineEdit;
class QPushButton;
class QRadioButton;

namespace zt {

// The Copy dialog: the source and destination ranges, the type of copy and
// the factor of a scaled copy. The factor field shows the value of what was
// typed into it once it is left. The dialog only collects the fields.
class Tcopydlg : public QDialog {
    Q_OBJECT

public:
    Tcopydlg(const CopyDialogFields& fields, QWidget* parent = nullptr);

    // The fields as they stand when the dialog closes.
    CopyDialogFields Fields() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void EvaluateFactor();

    CopyDialogFields fields_;
    QLineEdit* FromEdit;
    QLineEdit* ToEdit;
    QLineEdit* FactorEdit;
    QRadioButton* rbValue;
    QRadioButton* rbTranspose;
    QRadioButton* rbInvert;
    QRadioButton* rbScale;
    QRadioButton* rbFormula;
    QPushButton* BtOK;
    QPushButton* BtCan;
};

}  // namespace zt
