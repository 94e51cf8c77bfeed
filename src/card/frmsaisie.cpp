#include "card/frmsaisie.h"

#include "data/programme.h"
#include "data/requetes.h"
#include "data/settingsstore.h"
#include "ui/accessibility.h"

#include <QCloseEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace vinorium::card {

TfrmSaisie::TfrmSaisie(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("frmSaisie"));
    setMinimumSize(800, 600);
    resize(800, 600);

    qryGeneral_ = std::make_unique<data::Query>(&programme().dbBase);
    programme().qryGeneral = qryGeneral_.get();

    auto* centre = new QWidget(this);
    centre->setObjectName(QStringLiteral("pnlFond"));
    auto* layout = new QVBoxLayout(centre);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    pnlOutils = new QFrame(centre);
    pnlOutils->setObjectName(QStringLiteral("pnlOutils"));
    pnlOutils->setFixedHeight(44);
    pnlOutils->setStyleSheet(QStringLiteral("QFrame#pnlOutils { background: rgb(31, 95, 137); }"));
    layout->addWidget(pnlOutils);

    pnlSaisie = new QWidget(centre);
    pnlSaisie->setObjectName(QStringLiteral("pnlSaisie"));
    auto* saisie = new QVBoxLayout(pnlSaisie);
    auto* welcome = new QLabel(QStringLiteral("Bienvenue dans Vinorium"), pnlSaisie);
    welcome->setObjectName(QStringLiteral("lblBienvenue"));
    welcome->setAlignment(Qt::AlignCenter);
    saisie->addWidget(welcome);
    layout->addWidget(pnlSaisie, 1);
    setCentralWidget(centre);

    MajTitreFenetre();
    ui::nameControls(this);
}

TfrmSaisie::~TfrmSaisie() {
    if (programme().qryGeneral == qryGeneral_.get()) {
        programme().qryGeneral = nullptr;
    }
}

void TfrmSaisie::Initialise() {
    activateWindow();
}

void TfrmSaisie::MajTitreFenetre() {
    setWindowTitle(QStringLiteral("Vinorium") +
                   (etat_.TousLesVins ? QStringLiteral(" / Tous les vins sélectionnés")
                                      : QStringLiteral(" / Sélection en cours")) +
                   (etat_.ModeNouveau ? QStringLiteral(" / Nouvelle saisie (recherche ou vin)")
                                      : QStringLiteral(" / Modification d'un vin")));
}

void TfrmSaisie::SauveParamPerso() {
    SettingsStore store(SettingsRoot::CurrentUser);
    if (!store.openKey(SettingsStore::userKey(), true)) {
        return;
    }
    store.writeString(QStringLiteral("ChoixBase"), DonneBoolSQL(programme().ChoixBaseDemarrage));
    store.writeString(QStringLiteral("LastBase"), programme().DerniereBase);
}

void TfrmSaisie::closeEvent(QCloseEvent* event) {
    SauveParamPerso();
    QMainWindow::closeEvent(event);
}

}  // namespace vinorium::card
