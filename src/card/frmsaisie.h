#pragma once

#include "card/etatsaisie.h"
#include "data/dialogservice.h"

#include <QMainWindow>

#include <functional>
#include <memory>

class QLabel;
class QKeyEvent;
class QPlainTextEdit;
class QTableWidget;

namespace vinorium::data {
class Query;
}

namespace vinorium::ui {
class FlatButton;
class FlatEdit;
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
    // The wine key of the card's wine (the display query's current row), empty when none.
    QString CptrAffiche() const;
    // Runs the save prompt, then shows that wine in the card and selects its
    // row in the list; nothing when the prompt is cancelled or the save fails.
    void SelectionneVin(const QString& cptr);
    // The save prompt before the card leaves its wine: false keeps it (Cancel,
    // or a save that failed); No drops the typed changes.
    bool QuitteVinCourant();
    void EffaceVin();
    void Alternance_Nouveau_Courant(bool nouveau);
    // "Vinorium", then the selection, then the card's mode.
    void MajTitreFenetre();
    void DetecteChangement();
    void SimulerSortieChamp();
    // Value lists, wine list, tree, statistics and title after a change of the data.
    void MajApresModif();

    // Save prompt and checks: Yes (save), No (nothing to save or declined),
    // Cancel (stay; a failed check has shown its message).
    DialogService::Answer ValideMaj(bool ask, bool withCancel);
    // Writes the card, then empties it. The wine row and its movements are
    // written in one transaction: on a failure nothing is written, the error
    // is shown once and the card keeps its content and mode (false).
    bool SauveVin();

    // Tool bar.
    void btn_NouveauClick();
    void btn_sauverClick();
    void btn_dupliquerClick();
    void btn_supprimerClick();
    void btn_supprimerToutClick();
    // The two resets of the current selection: every wine in stock (or every
    // wine when exhausted ones are included in searches), every exhausted wine.
    void btn_tousClick();
    void btn_epuiseClick();
    // The close request: false keeps the window open.
    bool FormCloseQuery();

    // Name, appellation and region.
    void lst_nomExit();
    // commeSortie: run as the field's exit (with the case alignment), not from code.
    void lst_appellationExit(bool commeSortie = true);
    void lst_regionChange();

    // Field checks on exit, and on entering a date field.
    void ValideAnnee(ui::FlatEdit* champ);
    void ValideDate(ui::FlatEdit* champ);
    void ValidePrix(ui::FlatEdit* champ);
    void ValideNumerique(ui::FlatEdit* champ);
    // Reads the field as a date (or as a day of the current month) and writes
    // it back in the short date format; false when it does not read.
    bool FormateDate(ui::FlatEdit* champ);
    void EntreeDate(ui::FlatEdit* champ);
    // Keys; true when the key was consumed.
    bool KeyPressNum(QKeyEvent* event);
    bool numeriqueKeyDown(ui::FlatEdit* champ, QKeyEvent* event);
    bool floatKeyDown(ui::FlatEdit* champ, QKeyEvent* event);
    bool DateKeyDown(ui::FlatEdit* champ, QKeyEvent* event);

    // Stock movements of the card's two lists (entries, exits).
    void ChargeListeSQLsEntreesSorties(const QString& cptr);
    void EffaceListesEntreesSorties();
    void EffaceEntreeSortie(ui::FlatEdit* date, ui::FlatEdit* quantite, ui::FlatEdit* position,
                            QPlainTextEdit* commentaire);
    // Whether the inputs of a movement are acceptable; liste is the list of a
    // modification, none for an addition; kind is "entree" or "sortie".
    bool ValideModifEntreeSortieCave(QTableWidget* liste, const QString& date, const QString& kind,
                                     const QString& position, const QString& quantite);
    void ModifEntreeSortieClick(QTableWidget* liste, ui::FlatEdit* date, ui::FlatEdit* quantite,
                                ui::FlatEdit* position, QPlainTextEdit* commentaire, bool ajout);
    void btn_EntreeCaveClick();
    void btn_SortieCaveClick();
    void btn_ModifEntreeCaveClick();
    void btn_ModifSortieCaveClick();
    void SupprEntreeSortie(QTableWidget* liste);
    void lst_entreesClick();
    void lst_sortiesClick();
    // Sum of the counts of a list at a position (every position when empty).
    int CalculeQuantiteEntreeSortie(const QTableWidget* liste, const QString& position) const;
    // Entries minus exits at a position (every position when empty), leaving
    // out row exclue of the entries ("entree") or of the exits ("sortie").
    int CalculeQuantiteRestante(const QString& position, int exclue, const QString& kind) const;
    void MajLblEntreeSortie(QTableWidget* liste);

    // Refreshes of the tree and the statistics after a change of the data.
    void ChargeClassements();
    void Maj_quantites();

    // Keyboard.
    void RetabliBoutonsStandard();

    // Settings kept from one run to the next.
    void ChargeParamPerso();
    void SauveParamPerso();

    // The display query, positioned on the wine shown.
    data::Query& qryAffiche() { return *qryAffiche_; }
    // Reopens the display query on every wine, positioned on that wine when given.
    void RouvreAffichage(const QString& cptr = QString());

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
    void relieMouvements();
    bool filtreMouvements(QObject* watched, QEvent* event);
    // After a change of a list: the remaining stock, the plan, the card changed.
    void ApresModifMouvement();
    void AffichePositions();
    void relieActions();
    void relieSelection();
    // OrdreListe from the list's sorted column.
    void CalculeOrdreListe();
    // The list refilled under ChaineSQLCourante and OrdreListe.
    void ChargeListeVins();
    // A reset of the selection: that condition, the list, the statistics and
    // the criteria list back to all wines.
    void RetablitSelection(const QString& condition);
    void relieChamps();
    bool filtreChamp(QObject* watched, QEvent* event);
    // The number of the first pressed cell of the card's plan; "0" when none.
    QString PositionSelectionnee() const;
    // Runs statements in one transaction: the body names each statement in
    // instruction before running it. On a failure everything is rolled back,
    // the failing statement's error is shown once and the answer is false.
    bool ExecuteTransaction(const std::function<void(QString& instruction)>& corps);

    EtatSaisie etat_;
    std::unique_ptr<data::Query> qryGeneral_;
    std::unique_ptr<data::Query> qryAffiche_;
    std::unique_ptr<data::Query> qryModif_;
    QWidget* pnlImageTheme_ = nullptr;
    bool maximiseAuDemarrage_ = false;
    int hauteurArbre_ = 197;
    QString etiquette_;  // the label window's saved placement, written back as read
    QObject* filtreChamps_ = nullptr;
    int ligneEntreeCave_ = -1;  // the entry row the bottle-count dialog added, until the save
};

}  // namespace vinorium::card
