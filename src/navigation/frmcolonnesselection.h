#pragma once

#include <QDialog>

class QListWidget;
class QPushButton;

namespace vinorium::navigation {

class ListeVins;

// The column chooser of the wine list: the icon entry first, fixed and always
// checked, then the shown columns checked and the other catalogue columns unchecked.
class TfrmColonnesSelection final : public QDialog {
    Q_OBJECT

  public:
    TfrmColonnesSelection(ListeVins& liste, QWidget* parent);

    QListWidget* lstColonnes;
    QPushButton* btnHaut;
    QPushButton* btnBas;
    QPushButton* btnDecocher;
    QPushButton* btnCocher;
    QPushButton* btnOK;
    QPushButton* btnAnnuler;

    // Moves an entry to another place; the first entry never moves and nothing
    // moves into first place. False when the move is refused.
    bool DeplaceEntree(int depuis, int vers);
    // Checks or unchecks every entry but the first.
    void CocheTout(bool coche);
    // Rebuilds the list's columns from the checked entries, refills and closes.
    void Valide();

  private:
    ListeVins& liste_;
};

}  // namespace vinorium::navigation
