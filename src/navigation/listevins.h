#pragma once

#include <QObject>
#include <QString>

#include <memory>

class QTreeWidget;
class QWidget;

namespace vinorium::data {
class Query;
}

namespace vinorium::navigation {

// The wine list of the navigation column: one row per wine of the current
// selection, an icon column for the colour and ageing class first, then the
// columns the user chose.
class ListeVins final : public QObject {
    Q_OBJECT

  public:
    explicit ListeVins(QWidget* parent);
    ~ListeVins() override;

    QTreeWidget* lstSelection;

    // The icon number of a wine: colour base by type plus the ageing offset.
    static int IndexIcone(const QString& type, int boireAvant, int annee, int anneesABoire,
                          int anneesAttendre);

    // Refills the rows under a condition and an ORDER BY clause.
    void ChargeListeVins(const QString& condition, const QString& ordre, int anneesABoire,
                         int anneesAttendre);
    // The icon column, "Nom", "Appellation", "Millésime", "Quantité".
    void ChargeDefautColonnesListeSelection();
    // The ORDER BY expression, without "ORDER BY".
    QString donneTriListe() const;
    // The registry text of the columns: caption, width and sort state per line.
    QString TexteColonnes() const;
    // Columns from that text; the default columns when it does not read.
    void ChargeColonnes(const QString& texte);
    void AfficheEnTetes(bool afficher);
    bool EnTetesAffiches() const;
    // The wine key of the selected row, empty when none.
    QString CptrSelectionne() const;

  private:
    void ajouteColonne(const QString& titre, int largeur, int etat);
    std::unique_ptr<data::Query> qryListe_;
};

}  // namespace vinorium::navigation
