#include "navigation/modelelistevins.h"

#include "ui/application.h"

#include <algorithm>

#include <QIcon>

namespace vinorium::navigation {

namespace {

// The 26 icons of the list, loaded once.
const QIcon& icone(int numero) {
    static const QList<QIcon> icones = [] {
        ui::initialiseResources();
        QList<QIcon> liste;
        for (int i = 0; i < 26; ++i) {
            liste << QIcon(QStringLiteral(":/vinorium/listicons/%1.svg").arg(i));
        }
        return liste;
    }();
    return icones[std::clamp(numero, 0, 25)];
}

// What the icon says, for a screen reader: the colour and the ageing class.
QString texteIcone(int numero) {
    static const char* const couleurs[] = {"Rouge", "Rosé", "Blanc", "Moelleux", "Effervescent", "Autre"};
    static const char* const classes[] = {"A boire", "Attendre", "Laisser en cave"};
    const int n = numero - 8;
    if (n < 0 || n >= 18) {
        return QStringLiteral("Type inconnu");
    }
    return QString::fromUtf8(couleurs[n / 3]) + QStringLiteral(", ") + QString::fromUtf8(classes[n % 3]);
}

}  // namespace

ModeleListeVins::ModeleListeVins(QObject* parent) : QAbstractTableModel(parent) {}

int ModeleListeVins::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(lignes_.size());
}

int ModeleListeVins::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(colonnes_.size());
}

QVariant ModeleListeVins::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) {
        return {};
    }
    const LigneVin& l = ligne(index.row());
    const int colonne = index.column();
    switch (role) {
        case Qt::DisplayRole:
            return colonne == 0 ? QVariant() : QVariant(l.texte(colonne));
        case Qt::DecorationRole:
            return colonne == 0 ? QVariant(icone(l.icone)) : QVariant();
        case Qt::AccessibleTextRole:
            return colonne == 0 ? texteIcone(l.icone) : l.texte(colonne);
        case Qt::UserRole:
            return l.cptr;
        default:
            return {};
    }
}

QVariant ModeleListeVins::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount()) {
        return {};
    }
    const QString& titre = colonnes_[section].titre;
    if (role == Qt::DisplayRole) {
        return titre;
    }
    if (role == Qt::AccessibleTextRole) {
        return titre.isEmpty() ? QStringLiteral("Icône type et vieillissement") : titre;
    }
    return {};
}

Qt::ItemFlags ModeleListeVins::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

void ModeleListeVins::definitColonnes(const QList<Colonne>& colonnes) {
    beginResetModel();
    colonnes_ = colonnes;
    lignes_.clear();
    endResetModel();
}

void ModeleListeVins::definitEtat(int colonne, int etat) {
    if (colonne >= 0 && colonne < colonnes_.size()) {
        colonnes_[colonne].etat = etat;
    }
}

void ModeleListeVins::remplace(std::vector<LigneVin>&& lignes) {
    const int ancien = rowCount();
    const int nouveau = static_cast<int>(lignes.size());
    if (nouveau < ancien) {
        beginRemoveRows({}, nouveau, ancien - 1);
        lignes_.resize(lignes.size());
        endRemoveRows();
    }
    const int communes = std::min(ancien, nouveau);
    for (int i = 0; i < communes; ++i) {
        lignes_[static_cast<size_t>(i)] = std::move(lignes[static_cast<size_t>(i)]);
    }
    if (communes > 0 && columnCount() > 0) {
        emit dataChanged(index(0, 0), index(communes - 1, columnCount() - 1));
    }
    if (nouveau > ancien) {
        beginInsertRows({}, ancien, nouveau - 1);
        lignes_.insert(lignes_.end(), std::make_move_iterator(lignes.begin() + ancien),
                       std::make_move_iterator(lignes.end()));
        endInsertRows();
    }
}

void ModeleListeVins::reordonne(const std::vector<int>& ordre) {
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    std::vector<int> place(ordre.size());
    std::vector<LigneVin> lignes;
    lignes.reserve(ordre.size());
    for (size_t k = 0; k < ordre.size(); ++k) {
        place[static_cast<size_t>(ordre[k])] = static_cast<int>(k);
        lignes.push_back(std::move(lignes_[static_cast<size_t>(ordre[k])]));
    }
    lignes_ = std::move(lignes);
    const QModelIndexList avant = persistentIndexList();
    QModelIndexList apres;
    apres.reserve(avant.size());
    for (const QModelIndex& i : avant) {
        apres << index(place[static_cast<size_t>(i.row())], i.column());
    }
    changePersistentIndexList(avant, apres);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

int ModeleListeVins::ligneDe(const QString& cptr) const {
    for (size_t i = 0; i < lignes_.size(); ++i) {
        if (lignes_[i].cptr == cptr) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

}  // namespace vinorium::navigation
