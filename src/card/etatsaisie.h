#pragma once

#include <QString>

namespace vinorium::card {

// The state the panes of the main window share: the card state, the current
// selection and the option values read from the cellar when the window is
// created. The window owns it; each pane reads and changes it.
struct EtatSaisie {
    // Card state.
    bool ModeNouveau = true;  // the card is blank: a new wine or a search
    bool FicheModifiee = false;
    QString DernierChampSaisie;

    // Current selection.
    QString ChaineSQLCourante;
    QString OrdreListe;
    bool TousLesVins = true;

    // Option values of the cellar.
    QString NomTheme = QStringLiteral("Végétal");
    int LargeurTranchePrix = 5;
    int AnneesABoire = 2;
    int AnneesAttendre = 5;
    bool ModeSaisie = true;
};

}  // namespace vinorium::card
