#include "card/frmentreecave.h"

#include "data/dialogservice.h"
#include "ui/accessibility.h"
#include "ui/flatcontrols.h"
#include "ui/theme.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace vinorium::card {

TfrmEntreeCave::TfrmEntreeCave(QWidget* parent)
    : QDialog(parent,
              Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::CustomizeWindowHint) {
    setObjectName(QStringLiteral("frmEntreeCave"));
    setWindowTitle(QStringLiteral("Confirmation d'enregistrement"));

    txtExplication = new QPlainTextEdit(this);
    txtExplication->setObjectName(QStringLiteral("txtExplication"));
    txtExplication->setReadOnly(true);
    txtExplication->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    txtExplication->setFocusPolicy(Qt::NoFocus);
    txtExplication->setPlainText(
        QStringLiteral("Vous n'avez pas saisi d'entrée de cave pour ce vin, la quantité de bouteilles est "
                       "donc ") +
        QStringLiteral("nulle. Il ne sera pas visible dans la liste, à moins de rechercher explicitement les "
                       "vins ") +
        QStringLiteral("épuisés. Vous pouvez : "));
    txtExplication->setFixedHeight(64);

    const auto bouton = [this](const char* nom, const QString& texte) {
        auto* b = new ui::FlatButton(texte, this);
        b->setObjectName(QString::fromLatin1(nom));
        b->setAutoDefault(false);
        b->setDefault(false);
        return b;
    };
    btnValider = bouton("btnValider", QStringLiteral("&Confirmer l'enregistrement sans bouteilles"));
    btnEntree = bouton("btnEntree",
                       QStringLiteral("&Enregistrer en indiquant le nombre de bouteilles à entrer en cave"));
    btnAnnuler =
        bouton("btnAnnuler", QStringLiteral("&Annuler l'enregistrement et revenir sur la fiche du vin"));

    txtNbBouteilles = new ui::FlatSpinEditInteger(this);
    txtNbBouteilles->setObjectName(QStringLiteral("txtNbBouteilles"));
    txtNbBouteilles->setAccessibleName(QStringLiteral("Nombre de bouteilles à entrer en cave"));
    txtNbBouteilles->setRange(0, 99);
    txtNbBouteilles->setValue(0);
    // The count changes with the arrows only.
    if (auto* texte = txtNbBouteilles->findChild<QLineEdit*>()) {
        texte->setReadOnly(true);
    }
    lblBouteilles = new QLabel(QStringLiteral("bouteilles"), this);
    lblBouteilles->setObjectName(QStringLiteral("lblBouteilles"));
    lblBouteilles->setBuddy(txtNbBouteilles);

    connect(btnValider, &QPushButton::clicked, this, &TfrmEntreeCave::btnValiderClick);
    connect(btnEntree, &QPushButton::clicked, this, &TfrmEntreeCave::btnEntreeClick);
    connect(btnAnnuler, &QPushButton::clicked, this, &TfrmEntreeCave::btnAnnulerClick);

    auto* fond = new QVBoxLayout(this);
    fond->setContentsMargins(12, 12, 12, 12);
    fond->setSpacing(8);
    fond->addWidget(txtExplication);
    auto* grille = new QGridLayout;
    grille->setHorizontalSpacing(6);
    grille->setVerticalSpacing(6);
    grille->addWidget(btnValider, 0, 0);
    grille->addWidget(btnEntree, 1, 0);
    grille->addWidget(txtNbBouteilles, 1, 1);
    grille->addWidget(lblBouteilles, 1, 2);
    grille->addWidget(btnAnnuler, 2, 0);
    grille->setColumnStretch(0, 1);
    fond->addLayout(grille);
    fond->setSizeConstraint(QLayout::SetFixedSize);
    txtExplication->setMinimumWidth(460);

    ui::AppliqueTheme(this, true, false);
    ui::nameControls(this);
    txtNbBouteilles->setFocus();
}

void TfrmEntreeCave::btnValiderClick() {
    done(SansBouteilles);
}

void TfrmEntreeCave::btnEntreeClick() {
    const int n = txtNbBouteilles->value();
    if (n <= 0) {
        dialogs().warning(QStringLiteral("Saisir un nombre de bouteilles à entrer en cave"));
        return;  // the dialog stays
    }
    done(AvecBouteilles + n);
}

void TfrmEntreeCave::btnAnnulerClick() {
    done(Annulation);
}

void TfrmEntreeCave::reject() {
    btnAnnulerClick();
}

void TfrmEntreeCave::keyPressEvent(QKeyEvent* event) {
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        btnEntreeClick();
        return;
    }
    QDialog::keyPressEvent(event);
}

}  // namespace vinorium::card
