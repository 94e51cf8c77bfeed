#include "ui/frmchoix.h"

#include "data/dialogservice.h"
#include "ui/accessibility.h"
#include "ui/flatcontrols.h"
#include "ui/theme.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace vinorium::ui {

TfrmChoix::TfrmChoix(QWidget* parent)
    : QDialog(parent,
              Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::CustomizeWindowHint) {
    setObjectName(QStringLiteral("frmChoix"));
    setWindowTitle(QStringLiteral("Sélection"));

    lblChoix = new QLabel(QStringLiteral("Sélectionner une appellation :"), this);
    lblChoix->setObjectName(QStringLiteral("lblChoix"));
    lstChoix = new FlatComboBox(this);
    lstChoix->setObjectName(QStringLiteral("lstChoix"));
    lstChoix->setEditable(false);
    lstChoix->setMinimumWidth(300);
    lstChoix->setMaxVisibleItems(20);
    lblChoix->setBuddy(lstChoix);

    FlatButton1 = new FlatButton(this);
    FlatButton1->setText(QStringLiteral("OK"));
    FlatButton1->setObjectName(QStringLiteral("FlatButton1"));
    FlatButton1->setDefault(true);
    btnAnnuler = new FlatButton(this);
    btnAnnuler->setText(QStringLiteral("Annuler"));
    btnAnnuler->setObjectName(QStringLiteral("btnAnnuler"));
    btnAnnuler->setAutoDefault(false);
    connect(FlatButton1, &QPushButton::clicked, this, &TfrmChoix::FlatButton1Click);
    connect(btnAnnuler, &QPushButton::clicked, this, &TfrmChoix::btnAnnulerClick);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 14, 16, 14);
    layout->setSpacing(10);
    layout->addWidget(lblChoix);
    layout->addWidget(lstChoix);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(FlatButton1);
    buttons->addWidget(btnAnnuler);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    AppliqueTheme(this, true, false);
    nameControls(this);
}

int TfrmChoix::Choisit() {
    return dialogs().modal(this, objectName());
}

void TfrmChoix::FlatButton1Click() {
    const int index = lstChoix->currentIndex();
    if (index < 0) {
        return;  // nothing chosen: the dialog stays open
    }
    done(index + 1);
}

void TfrmChoix::btnAnnulerClick() {
    done(-1);
}

void TfrmChoix::reject() {
    btnAnnulerClick();
}

}  // namespace vinorium::ui
