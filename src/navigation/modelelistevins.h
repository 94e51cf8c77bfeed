#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <QString>
#include <QStringList>

#include <vector>

namespace vinorium::navigation {

// One wine of the list: its key, its icon number and the text of each column
// (the icon column's text is always empty).
struct LigneVin {
    QString cptr;
    int icone = 7;
    QStringList textes;

    QString texte(int colonne) const { return colonne < textes.size() ? textes[colonne] : QString(); }
};

// The rows of the wine list as fetched, behind the view. A refill replaces
// rows by position: rows that stay keep their place (and the view keeps its
// scroll position and the selection of a surviving row); only the tail is
// inserted or removed. Sorting moves the rows and the persistent indexes
// with them, so the current wine stays current.
class ModeleListeVins final : public QAbstractTableModel {
    Q_OBJECT

  public:
    struct Colonne {
        QString titre;
        int etat = 0;  // sort state: 0 none, 1 ascending, 2 descending (icon column 1 to 4)
    };

    explicit ModeleListeVins(QObject* parent);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    const QList<Colonne>& colonnes() const { return colonnes_; }
    // Replaces the columns; the rows go.
    void definitColonnes(const QList<Colonne>& colonnes);
    void definitEtat(int colonne, int etat);

    const LigneVin& ligne(int i) const { return lignes_[static_cast<size_t>(i)]; }
    // Replaces the rows by position: rows 0 to n − 1 change in place, the
    // tail is inserted or removed.
    void remplace(std::vector<LigneVin>&& lignes);
    // Puts the rows in that order: ordre[k] is the row that goes to place k.
    void reordonne(const std::vector<int>& ordre);
    // The row of that wine key, -1 when none.
    int ligneDe(const QString& cptr) const;

  private:
    QList<Colonne> colonnes_;
    std::vector<LigneVin> lignes_;
};

}  // namespace vinorium::navigation
