#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

namespace vinorium::card {

// The state the panes of the main window share: the card state, the current
// selection, the keyboard state and the option values read from the cellar
// when the window is created. The window owns it; each pane reads and changes it.
struct EtatSaisie {
    // Card state.
    bool ModeNouveau = true;  // the card is blank: a new wine or a search
    bool FicheModifiee = false;
    // Last focused control outside the tool bar; focus returns there when an
    // action is refused.
    QPointer<QWidget> DernierChampSaisie;
    // A page tab was just picked: the next focus on the tabs opens its page.
    bool ChangementOnglet = false;

    // Current selection.
    QString ChaineSQLCourante;
    QString OrdreListe;
    bool TousLesVins = true;

    // Keyboard state.
    bool ToucheCtrl = false;       // Control held: the alternate tool-bar buttons show
    bool RaccourciTraite = false;  // the last key-down was a Control shortcut

    // Option values of the cellar.
    QString NomTheme = QStringLiteral("Végétal");
    int LargeurTranchePrix = 5;
    int AnneesABoire = 2;
    int AnneesAttendre = 5;
    bool ModeSaisie = true;
};

}  // namespace vinorium::card
