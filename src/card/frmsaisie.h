#pragma once

#include "card/etatsaisie.h"

#include <QMainWindow>

#include <memory>

class QFrame;

namespace vinorium::data {
class Query;
}

namespace vinorium::card {

// The main window of the cellar manager: the wine card with the navigation
// column and the information tabs around it. It owns the shared state of its
// panes and the shared query object. The panes come with their own classes;
// for now the window holds its frame, its title and its closing.
class TfrmSaisie final : public QMainWindow {
    Q_OBJECT

  public:
    explicit TfrmSaisie(QWidget* parent = nullptr);
    ~TfrmSaisie() override;

    EtatSaisie& etat() { return etat_; }

    // Run once the window is shown: selects the first information tab, puts
    // the focus on the wine name.
    void Initialise();
    // "Vinorium", then the selection, then the card's mode.
    void MajTitreFenetre();
    // Writes the settings kept from one run to the next.
    void SauveParamPerso();

    QFrame* pnlOutils;
    QWidget* pnlSaisie;

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    EtatSaisie etat_;
    std::unique_ptr<data::Query> qryGeneral_;
};

}  // namespace vinorium::card
