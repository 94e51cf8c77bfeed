#pragma once

#include "card/etatsaisie.h"

#include <QList>
#include <QString>
#include <QWidget>

#include <array>

class QLabel;
class QTableWidget;

namespace vinorium::data {
class Query;
}

namespace vinorium::ui {
class FlatButton;
class FlatComboBox;
class FlatEdit;
class FlatMemo;
class FlatPanel;
class FlatRadioButton;
class FlatSpeedButton;
class FlatTabControl;
}  // namespace vinorium::ui

namespace vinorium::plan {
class PlanFiche;
}

namespace vinorium::card {

// One custom field of the card: its label, its list (which holds the value in
// both presentations), its memo and its "..." button.
struct ChampPerso {
    QLabel* lab = nullptr;
    ui::FlatComboBox* lst = nullptr;
    ui::FlatMemo* txt = nullptr;
    ui::FlatButton* btn = nullptr;
    // The one of lst and txt that shows.
    QWidget* visible() const;
};

// The wine card (pnlSaisie): the identity fields, the option groups, the two
// three-state toggles, and the pages of tab_vin ("Cave" with the plan and two
// custom fields, "Degustation", "Entrées", "Sorties"). It fills itself from a
// row of the display query and empties itself; the window decides when.
class FicheVin final : public QWidget {
    Q_OBJECT

  public:
    FicheVin(EtatSaisie& etat, QWidget* parent);
    ~FicheVin() override;

    // Identity part, in tab order.
    ui::FlatComboBox* lst_nom;
    ui::FlatEdit* txt_millesime;
    ui::FlatComboBox* lst_appellation;
    ui::FlatComboBox* lst_region;
    ui::FlatEdit* txt_QuantiteRestante;
    ui::FlatPanel* pnl_Type;
    ui::FlatRadioButton* optType1;
    ui::FlatRadioButton* optType2;
    ui::FlatRadioButton* optType3;
    ui::FlatRadioButton* optType4;
    ui::FlatRadioButton* optType5;
    ui::FlatRadioButton* FlatRadioButton1;
    ui::FlatPanel* pnl_Conditionnement;
    ui::FlatRadioButton* optConditionnement1;
    ui::FlatRadioButton* optConditionnement2;
    ui::FlatRadioButton* optConditionnement3;
    ui::FlatRadioButton* optConditionnement4;
    ui::FlatRadioButton* optConditionnement5;
    ui::FlatEdit* txt_prix;
    ui::FlatMemo* txt_classement;
    ui::FlatMemo* txt_cuvee;
    ui::FlatComboBox* lst_recoltant;
    ui::FlatSpeedButton* btn_offert;
    ui::FlatSpeedButton* btn_vrac;
    ui::FlatEdit* txt_etiquette;
    QLabel* imgEtiquette;
    QLabel* imgEtiquetteDefaut;
    QLabel* imgEtiquetteAbsent;
    ui::FlatButton* btn_Bouteille;
    ui::FlatButton* btn_classement;
    ui::FlatButton* btn_cuvee;
    ui::FlatButton* btn_recoltant;

    // Pages.
    ui::FlatTabControl* tab_vin;
    QWidget* pnl_cave;
    QWidget* pnl_degustation;
    QWidget* pnl_entrees;
    QWidget* pnl_sorties;
    plan::PlanFiche* plan;

    ui::FlatMemo* txt_robe;
    ui::FlatMemo* txt_nez;
    ui::FlatMemo* txt_bouche;
    ui::FlatComboBox* lst_qualitePrix;
    ui::FlatMemo* txt_note;
    ui::FlatEdit* txt_attendre;
    ui::FlatEdit* txt_boireAvant;
    ui::FlatButton* btn_robe;
    ui::FlatButton* btn_nez;
    ui::FlatButton* btn_bouche;
    ui::FlatButton* btn_qualitePrix;
    ui::FlatButton* btn_note;

    ui::FlatEdit* txt_DateEntree;
    ui::FlatEdit* txt_QuantiteEntree;
    ui::FlatEdit* txt_PositionEntree;
    ui::FlatButton* btn_PositionEntreeOuvre;
    ui::FlatMemo* txt_CommentaireEntree;
    ui::FlatButton* btn_CommentaireEntree;
    ui::FlatButton* btn_EntreeCave;
    ui::FlatButton* btn_ModifEntreeCave;
    ui::FlatButton* btn_SupprEntreeCave;
    QTableWidget* lst_entrees;
    QLabel* lblEntree;

    ui::FlatEdit* txt_DateSortie;
    ui::FlatEdit* txt_QuantiteSortie;
    ui::FlatEdit* txt_PositionSortie;
    ui::FlatButton* btn_PositionSortieOuvre;
    ui::FlatMemo* txt_CommentaireSortie;
    ui::FlatButton* btn_CommentaireSortie;
    ui::FlatButton* btn_SortieCave;
    ui::FlatButton* btn_ModifSortieCave;
    ui::FlatButton* btn_SupprSortieCave;
    QTableWidget* lst_sorties;
    QLabel* lblSortie;

    // Search comparators, in the order the card lists them.
    ui::FlatButton* btn_millesime_comp;
    ui::FlatButton* btn_prix_comp;
    ui::FlatButton* btn_QuantiteRestante_comp;
    ui::FlatButton* btn_attendre_comp;
    ui::FlatButton* btn_boireAvant_comp;
    ui::FlatButton* btn_DateEntree_comp;
    ui::FlatButton* btn_QuantiteEntree_comp;
    ui::FlatButton* btn_PositionEntree_comp;
    ui::FlatButton* btn_DateSortie_comp;
    ui::FlatButton* btn_QuantiteSortie_comp;
    ui::FlatButton* btn_PositionSortie_comp;
    QList<ui::FlatButton*> comparateurs() const;

    // Custom fields 1 to 5 (index 0 to 4).
    std::array<ChampPerso, 5> champs;

    // Fills the controls from the current row of the display query.
    void ChargeChamps(data::Query& query);
    // Empties every field, both groups, both toggles and the comparators.
    void EffaceChamps();

    // Option groups: the value of a group and writing one into it.
    static QString LitCoche(const QWidget* panel);
    void EcritCoche(QWidget* panel, const QString& valeur);

    // Three-state toggles (-1 yes, 0 no, 1 unspecified).
    static int EtatOption(const QWidget* bouton);
    void LitOption(ui::FlatSpeedButton* bouton, int etat);
    void ClickOption(ui::FlatSpeedButton* bouton);
    void btn_OffertClick(ui::FlatSpeedButton* bouton);

    // Custom fields: labels and presentations, value lists.
    void MajChampsPerso();
    void MajComboPerso();
    static bool DonneTypeChampPerso(const QString& nom);

    // The first field of a page of tab_vin (0 to 3).
    QWidget* premierChampPage(int page) const;

    // A price as the card shows it: two decimals after a comma; the text
    // itself when it does not read as a number.
    static QString FormatePrix(const QString& prix);

    // Every text control, option and toggle that reports a change.
    void DetecteChangement();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void construitIdentite();
    void construitCave();
    void construitDegustation();
    QWidget* construitMouvements(bool entree);
    void relieChangements();
    void relieOptions(ui::FlatPanel* panel);
    void colorieGroupe(QWidget* panel);

    EtatSaisie& etat_;
};

}  // namespace vinorium::card
