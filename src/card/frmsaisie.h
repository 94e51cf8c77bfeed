#pragma once

#include "card/etatsaisie.h"

#include <QMainWindow>

#include <functional>
#include <memory>

class QLabel;

namespace vinorium::data {
class Query;
}

namespace vinorium::ui {
class FlatButton;
class FlatPanel;
class FlatSpeedButton;
class FlatSplitter;
}  // namespace vinorium::ui

namespace vinorium::navigation {
class ArbreClassements;
class Infos;
class ListeVins;
class RechercheNom;
}  // namespace vinorium::navigation

namespace vinorium::card {

class FicheVin;

// The main window of the cellar manager: the navigation column on the left
// (name search, classification tree, wine list), the tool bar, the wine card
// and the information tabs on the right. Each pane is an object of its own;
// the window creates and wires them, owns their shared state, the display
// query and the shared query object, and handles the keyboard and the
// settings kept from one run to the next.
class TfrmSaisie final : public QMainWindow {
    Q_OBJECT

  public:
    explicit TfrmSaisie(QWidget* parent = nullptr);
    ~TfrmSaisie() override;

    EtatSaisie& etat() { return etat_; }

    // Panes.
    ui::FlatPanel* pnlNavig;
    navigation::RechercheNom* rechercheNom;
    navigation::ArbreClassements* arbre;
    ui::FlatSplitter* splitNavig;
    navigation::ListeVins* listeVins;
    ui::FlatPanel* pnlOutils;
    FicheVin* fiche;
    navigation::Infos* infos;

    // Tool bar, in its order; the alternates share the place of their standard button.
    ui::FlatSpeedButton* btn_Nouveau;
    ui::FlatSpeedButton* btn_sauver;
    ui::FlatSpeedButton* btn_dupliquer;
    ui::FlatSpeedButton* btn_supprimer;
    ui::FlatSpeedButton* btn_supprimerTout;
    ui::FlatSpeedButton* btn_rechercher;
    ui::FlatSpeedButton* btn_rechercherIncremental;
    ui::FlatSpeedButton* btn_tous;
    ui::FlatSpeedButton* btn_epuise;
    ui::FlatSpeedButton* btn_appellations;
    ui::FlatSpeedButton* btn_etats;
    ui::FlatSpeedButton* btn_graph;
    ui::FlatSpeedButton* btn_plan;
    ui::FlatSpeedButton* btn_options;
    ui::FlatSpeedButton* btn_aide;
    ui::FlatSpeedButton* btn_quitter;
    // Zero-size focus holder of the tool bar (SimulerSortieChamp).
    ui::FlatButton* btnFocus;

    // The action of the help button; by default it opens "aide.chm".
    std::function<void()> ouvreAide;

    // Everything the window sets up when it is created, in order; run again
    // after a switch of cellar.
    void FormCreate();
    // Run once the window is shown: empties the card, shows the statistics,
    // maximises when the settings say so, focuses the wine name.
    void Initialise();

    // Card.
    void ChargeVin(const QString& cptr);
    void EffaceVin();
    void Alternance_Nouveau_Courant(bool nouveau);
    // "Vinorium", then the selection, then the card's mode.
    void MajTitreFenetre();
    void DetecteChangement();
    void SimulerSortieChamp();
    // Value lists, wine list and title after a change of the data.
    void MajApresModif();

    // Keyboard.
    void RetabliBoutonsStandard();

    // Settings kept from one run to the next.
    void ChargeParamPerso();
    void SauveParamPerso();

    // The display query, positioned on the wine shown.
    data::Query& qryAffiche() { return *qryAffiche_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void construitFenetre();
    void construitOutils(QWidget* parent);
    void LitOptions();
    void ChangeFocus(QWidget* ancien, QWidget* nouveau);
    bool FormKeyDown(QKeyEvent* event);
    void RemplitListe(QWidget* combo, const QString& sql);
    void ChargeMouvements(const QString& cptr);
    void AffichePositions();

    EtatSaisie etat_;
    std::unique_ptr<data::Query> qryGeneral_;
    std::unique_ptr<data::Query> qryAffiche_;
    std::unique_ptr<data::Query> qryModif_;
    QWidget* pnlImageTheme_ = nullptr;
    bool maximiseAuDemarrage_ = false;
    int hauteurArbre_ = 197;
    QString etiquette_;  // the label window's saved placement, written back as read
};

}  // namespace vinorium::card
