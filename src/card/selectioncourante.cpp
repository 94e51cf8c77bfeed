// The current selection of the main window: the two reset buttons and the
// include-exhausted switches.

#include "card/frmsaisie.h"
#include "card/sablier.h"
#include "data/requetes.h"
#include "navigation/infos.h"
#include "navigation/listevins.h"
#include "navigation/recherchenom.h"
#include "ui/flatcontrols.h"

#include <QAction>

namespace vinorium::card {

void TfrmSaisie::relieSelection() {
    for (ui::FlatSpeedButton* bouton : {btn_tous, btn_epuise}) {
        bouton->setEnabled(true);
    }
    connect(btn_tous, &QToolButton::clicked, this, &TfrmSaisie::btn_tousClick);
    connect(btn_epuise, &QToolButton::clicked, this, &TfrmSaisie::btn_epuiseClick);
    // The classifications follow their switch at once; the two search
    // switches take effect at the next search.
    connect(rechercheNom->mnuVinsEpuisesClassements, &QAction::triggered, this,
            [this] { ChargeClassements(); });
}

void TfrmSaisie::CalculeOrdreListe() {
    etat_.OrdreListe = QStringLiteral(" ORDER BY ") + listeVins->donneTriListe();
}

void TfrmSaisie::ChargeListeVins() {
    listeVins->ChargeListeVins(etat_.ChaineSQLCourante, etat_.OrdreListe, etat_.AnneesABoire,
                               etat_.AnneesAttendre);
}

void TfrmSaisie::RetablitSelection(const QString& condition) {
    SimulerSortieChamp();
    etat_.ChaineSQLCourante = condition;
    CalculeOrdreListe();
    ChargeListeVins();
    Maj_quantites();
    infos->InitialiseCriteres();
}

void TfrmSaisie::btn_tousClick() {
    const Sablier sablier;
    RetablitSelection(DonneFiltreQuantite(rechercheNom->mnuVinsEpuisesRechMulti->isChecked()));
    etat_.TousLesVins = true;
    MajTitreFenetre();
}

void TfrmSaisie::btn_epuiseClick() {
    const Sablier sablier;
    RetablitSelection(QStringLiteral("(QuantiteRestante = 0)"));
    infos->RemplaceCriteres({QString(), QString(), QStringLiteral("(QuantiteRestante"), QStringLiteral("="),
                             QStringLiteral("0)")});
    etat_.TousLesVins = false;
    MajTitreFenetre();
    RetabliBoutonsStandard();
}

}  // namespace vinorium::card
