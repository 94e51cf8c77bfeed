#pragma once

#include <QList>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>

#include "navigation/modelelistevins.h"

class QAction;
class QMenu;
class QTreeView;
class QWidget;

namespace vinorium::data {
class Query;
}

namespace vinorium::navigation {

// One row of the column catalogue: a column the user may show, or one of the
// four sort pseudo-rows of the icon column (default width "-1").
struct LigneCatalogue {
    QString nomAffiche;
    QString champ;
    QString champ2;
    QString defaut;
    QString type;  // "nombre", "chaine" or "image"
};

// The wine list of the navigation column: one row per wine of the current
// selection, an icon column for the colour and ageing class first, then the
// columns the user chose. The rows live in a model over the fetched values;
// the view asks only for the rows it paints.
class ListeVins final : public QObject {
    Q_OBJECT

  public:
    explicit ListeVins(QWidget* parent);
    ~ListeVins() override;

    QTreeView* lstSelection;
    ModeleListeVins* modele;
    QList<LigneCatalogue> lstColonnesListeSelection;
    // The popup menu of the list, opened by a right click.
    QMenu* mnuListeSelection;
    QAction* mnuAgrandir;
    QAction* mnuEnTetes;
    QAction* mnuColonnes;

    // The icon number of a wine: colour base by type plus the ageing offset.
    static int IndexIcone(const QString& type, int boireAvant, int annee, int anneesABoire,
                          int anneesAttendre);

    // Builds the catalogue; the custom-field labels are read from the open cellar.
    void InitialiseColonnesListeSelection();
    // The catalogue row of that display name (first match, case-insensitive), or null.
    const LigneCatalogue* LigneDe(const QString& nomAffiche) const;

    // Refills the rows under a condition and an ORDER BY clause.
    void ChargeListeVins(const QString& condition, const QString& ordre, int anneesABoire,
                         int anneesAttendre);
    // Refills under the condition, order and options of the last ChargeListeVins.
    void Recharge();
    // Opens the column chooser modally.
    void ChoisitColonnes();
    // The icon column, "Nom", "Appellation", "Millésime", "Quantité".
    void ChargeDefautColonnesListeSelection();
    // The ORDER BY expression, without "ORDER BY".
    QString donneTriListe() const;
    // The registry text of the columns: caption, width and sort state per line.
    QString TexteColonnes() const;
    // Columns from that text; the default columns when it does not read.
    void ChargeColonnes(const QString& texte);
    // The headers shown flag (the "Afficher les en-têtes" item).
    void AfficheEnTetes(bool afficher);
    bool EnTetesAffiches() const;
    // Leaves the enlarged layout when it is on: unchecks "Agrandir", then agrandissement(false).
    void RetablitTaille();
    // Selects the row of that wine key (compared as text) and scrolls it into
    // view; nothing when no row has it.
    void PositionneListeVin(const QString& cle);
    // Forces a full redraw of the list.
    void refreshListView();
    // Asked once before a mouse press or a navigation key moves the selection
    // off the current row: false keeps the selection where it is (the window
    // answers with its save prompt). Unset, the selection always moves.
    std::function<bool()> ValideChangementSelection;

    // The wine key of the selected row, empty when none.
    QString CptrSelectionne() const;
    // The rows and columns as shown, rows in display order.
    int NombreLignes() const;
    int NombreColonnes() const;
    QString Texte(int ligne, int colonne) const;
    QString CptrDe(int ligne) const;
    QString TitreColonne(int colonne) const;
    int LargeurColonne(int colonne) const;

    // The logical column indexes in display order.
    QList<int> ordreColonnes() const;
    // The sort state of a column: 0 none, 1 ascending, 2 descending (icon column: 1 to 4).
    int EtatTri(int colonne) const;
    // A click on a column header: next sort state, sort, then triChange().
    void ClicEnTete(int colonne);
    // -1, 0 or 1: the order of two rows under the current sort state.
    int lstSelectionCompare(const LigneVin& a, const LigneVin& b) const;
    // Sorts the rows with lstSelectionCompare; the fetch order stays among equal rows.
    void Trie();

    // Replaces the columns: caption, width and sort state of each, in order.
    struct DefColonne {
        QString titre;
        int largeur;
        int etat;
    };
    void DefinitColonnes(const QList<DefColonne>& colonnes);

  signals:
    // "Agrandir" asks for the enlarged layout (true) or the normal one (false):
    // the window lays itself out.
    void agrandissement(bool agrandi);
    // The sort state changed by a header click: OrdreListe is to be recomputed.
    void triChange();
    // Another row became the current one (empty key: none).
    void vinCourantChange(const QString& cptr);
    // A click on a row, with the wine key of that row.
    void clicVin(const QString& cptr);

  protected:
    bool eventFilter(QObject* objet, QEvent* event) override;

  private:
    // The column that sorts (first in display order with a state), -1 when none.
    int colonneDeTri() const;
    void MajIndicateurTri();
    void remetIconeEnTete();
    // True when the selection may not leave the current row for row vers.
    bool quitteLaLigne(int vers) const;
    std::unique_ptr<data::Query> qryListe_;
    QString condition_;
    QString ordre_;
    int anneesABoire_ = 2;
    int anneesAttendre_ = 5;
};

}  // namespace vinorium::navigation
