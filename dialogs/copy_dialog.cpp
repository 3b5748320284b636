#include "dialogs/copy_dialog.h"

#include <QButtonGroup>
#include <QEvent>
#include <QFormLayout>
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
namespace {

std::string TextOf(const QLineEdit* edit)
{
    std::string text;
    FromQString(edit->text(), text);
    return text;
}

}  // namespace

Tcopydlg::Tcopydlg(const CopyDialogFields& fields, QWidget* parent) : QDialog(parent), fields_(fields)
{
    setObjectName(QStringLiteral("Tcopydlg"));
    setWindowTitle(QStringLiteral("Copy"));

    FromEdit = Named(new QLineEdit(ToQString(fields.From)), "FromEdit");
    ToEdit = Named(new QLineEdit(ToQString(fields.To)), "ToEdit");
    FactorEdit = Named(new QLineEdit(ToQString(fields.Factor)), "FactorEdit");
    FactorEdit->installEventFilter(this);

    rbValue = Named(new QRadioButton(QStringLiteral("&Value")), "rbValue");
    rbTranspose = Named(new QRadioButton(QStringLiteral("&Transpose")), "rbTranspose");
    rbInvert = Named(new QRadioButton(QStringLiteral("&Invert")), "rbInvert");
    rbScale = Named(new QRadioButton(QStringLiteral("&Scale")), "rbScale");
    rbFormula = Named(new QRadioButton(QStringLiteral("&Formula")), "rbFormula");
    const std::pair<QRadioButton*, int> types[] = {{rbValue, 1}, {rbTranspose, 2}, {rbInvert, 4}, {rbScale, 3},
                                                   {rbFormula, 0}};
    auto* typeBox = new QGroupBox(QStringLiteral("Type of Copy"));
    auto* typeGroup = new QButtonGroup(typeBox);
    auto* typeLayout = new QVBoxLayout(typeBox);
    for (auto [button, type] : types) {
        typeGroup->addButton(button, type);
        button->setChecked(type == fields.Type);
        if (button != rbScale) {
            typeLayout->addWidget(button);
            continue;
        }
        // The factor stands beside the choice it belongs to.
        auto* scaleRow = new QHBoxLayout;
        scaleRow->addWidget(button);
        scaleRow->addWidget(FactorEdit, 1);
        typeLayout->addLayout(scaleRow);
    }

    BtOK = Named(new QPushButton(QStringLiteral("&Ok")), "BtOK");
    BtCan = Named(new QPushButton(QStringLiteral("&Cancel")), "BtCan");
    BtOK->setDefault(true);
    connect(BtOK, &QPushButton::clicked, this, [this] {
        EvaluateFactor();
        accept();
    });
    connect(BtCan, &QPushButton::clicked, this, &QDialog::reject);

    auto* ranges = new QFormLayout;
    auto* fromLabel = new QLabel(QStringLiteral("&From: "));
    fromLabel->setBuddy(FromEdit);
    auto* toLabel = new QLabel(QStringLiteral("&To: "));
    toLabel->setBuddy(ToEdit);
    ranges->addRow(fromLabel, FromEdit);
    ranges->addRow(toLabel, ToEdit);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BtOK);
    buttons->addWidget(BtCan);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(ranges);
    layout->addWidget(typeBox);
    layout->addLayout(buttons);
}

bool Tcopydlg::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == FactorEdit && event->type() == QEvent::FocusOut)
        EvaluateFactor();
    return QDialog::eventFilter(watched, event);
}

void Tcopydlg::EvaluateFactor()
{
    if (fields_.EvaluateFactor)
        FactorEdit->setText(ToQString(fields_.EvaluateFactor(TextOf(FactorEdit))));
}

CopyDialogFields Tcopydlg::Fields() const
{
    CopyDialogFields out = fields_;
    out.From = TextOf(FromEdit);
    out.To = TextOf(ToEdit);
    out.Factor = TextOf(FactorEdit);
    for (auto* button : {rbValue, rbTranspose, rbInvert, rbScale, rbFormula})
        if (button->isChecked())
            out.Type = button->group()->id(button);
    return out;
}

}  // namespace zt
