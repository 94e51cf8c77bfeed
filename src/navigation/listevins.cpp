#include "navigation/listevins.h"

#include "data/engine/query.h"
#include "data/programme.h"
#include "data/requetes.h"
#include "ui/application.h"

#include <algorithm>

#include <QDate>
#include <QHeaderView>
#include <QIcon>
#include <QList>
#include <QTreeWidget>

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

constexpr int kRoleEtatTri = Qt::UserRole + 1;

struct Colonne {
    const char* titre;
    const char* champ;
    int defaut;
};

// The columns a user may choose, with their default widths (0: not shown by default).
const Colonne kCatalogue[] = {
    {"", "", 20},
    {"Nom", "NomComplet", 100},
    {"Appellation", "Appellation", 100},
    {"Millésime", "Millesime", 50},
    {"Quantité", "QuantiteRestante", 50},
    {"Prix", "PrixBouteille", 0},
    {"Récoltant", "Recoltant", 0},
    {"Région", "Region", 0},
    {"Offert", "Offert", 0},
    {"Vrac", "Vrac", 0},
    {"Boire avant", "BoireAvant", 0},
    {"Attendre", "Attendre", 0},
    {"Conditionnement", "Conditionnement", 0},
    {"Robe", "Robe", 0},
    {"Nez", "Nez", 0},
    {"Bouche", "Bouche", 0},
    {"Classement", "Classement", 0},
    {"Cuvée", "Cuvee", 0},
    {"Qualité/Prix", "QualitePrix", 0},
};

QString champDe(const QString& titre) {
    for (const Colonne& c : kCatalogue) {
        if (QString::fromUtf8(c.titre).compare(titre, Qt::CaseInsensitive) == 0) {
            return QString::fromLatin1(c.champ);
        }
    }
    return {};
}

}  // namespace

ListeVins::ListeVins(QWidget* parent)
    : QObject(parent), qryListe_(std::make_unique<data::Query>(&programme().dbBase)) {
    lstSelection = new QTreeWidget(parent);
    lstSelection->setObjectName(QStringLiteral("lstSelection"));
    lstSelection->setRootIsDecorated(false);
    lstSelection->setUniformRowHeights(true);
    lstSelection->setSelectionMode(QAbstractItemView::SingleSelection);
    lstSelection->setSelectionBehavior(QAbstractItemView::SelectRows);
    lstSelection->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lstSelection->setFrameShape(QFrame::NoFrame);
    lstSelection->setIconSize(QSize(14, 14));
    lstSelection->setToolTip(QStringLiteral(
        "Liste des vins de la sélection en cours|Cliquer sur un vin pour l'afficher dans la fiche. Un clic "
        "droit permet de choisir les colonnes."));
    lstSelection->header()->setStretchLastSection(false);
    lstSelection->header()->setMinimumSectionSize(20);
    lstSelection->setHeaderHidden(true);
    ChargeDefautColonnesListeSelection();
}

ListeVins::~ListeVins() = default;

int ListeVins::IndexIcone(const QString& type, int boireAvant, int annee, int anneesABoire,
                          int anneesAttendre) {
    int base = 7;
    const char* const types[] = {"Rouge", "Rosé", "Blanc", "Moelleux", "Effervescent", "Autre"};
    for (int i = 0; i < 6; ++i) {
        if (type == QString::fromUtf8(types[i])) {
            base = 8 + 3 * i;
        }
    }
    int decalage = 0;
    if (boireAvant > annee + anneesAttendre) {
        decalage = 2;
    } else if (boireAvant > annee + anneesABoire) {
        decalage = 1;
    }
    return base + decalage;
}

void ListeVins::ajouteColonne(const QString& titre, int largeur, int etat) {
    const int n = lstSelection->columnCount();
    lstSelection->setColumnCount(n + 1);
    QTreeWidgetItem* entete = lstSelection->headerItem();
    entete->setText(n, titre);
    entete->setData(n, kRoleEtatTri, etat);
    lstSelection->setColumnWidth(n, largeur > 0 ? largeur : 50);
    if (titre.isEmpty()) {
        lstSelection->header()->setSectionResizeMode(n, QHeaderView::Fixed);
        lstSelection->setColumnWidth(n, 20);
    }
}

void ListeVins::ChargeDefautColonnesListeSelection() {
    lstSelection->clear();
    lstSelection->setColumnCount(0);
    for (const Colonne& c : kCatalogue) {
        if (c.defaut > 0) {
            ajouteColonne(QString::fromUtf8(c.titre), c.defaut, 0);
        }
    }
}

QString ListeVins::donneTriListe() const {
    const QTreeWidgetItem* entete = lstSelection->headerItem();
    QString tri;
    for (int j = 1; j < lstSelection->columnCount(); ++j) {
        const int etat = entete->data(j, kRoleEtatTri).toInt();
        if (etat != 0) {
            tri = champDe(entete->text(j)) + (etat % 2 == 0 ? QStringLiteral(" DESC") : QString());
        }
    }
    if (tri.isEmpty() && lstSelection->columnCount() > 1) {
        tri = champDe(entete->text(1));
    }
    return tri;
}

QString ListeVins::TexteColonnes() const {
    QString texte;
    const QTreeWidgetItem* entete = lstSelection->headerItem();
    for (int j = 0; j < lstSelection->columnCount(); ++j) {
        texte += QLatin1Char('\r') + entete->text(j) + QLatin1Char(',') +
                 QString::number(lstSelection->columnWidth(j)) + QLatin1Char(',') +
                 QString::number(entete->data(j, kRoleEtatTri).toInt());
    }
    return texte.trimmed();
}

void ListeVins::ChargeColonnes(const QString& texte) {
    struct Lue {
        QString titre;
        int largeur;
        int etat;
    };
    QList<Lue> lues;
    for (const QString& ligne : texte.split(QLatin1Char('\r'), Qt::SkipEmptyParts)) {
        const qsizetype v1 = ligne.indexOf(QLatin1Char(','));
        const qsizetype v2 = v1 < 0 ? -1 : ligne.indexOf(QLatin1Char(','), v1 + 1);
        bool ok1 = false;
        bool ok2 = false;
        const int largeur = v2 < 0 ? 0 : ligne.mid(v1 + 1, v2 - v1 - 1).toInt(&ok1);
        const int etat = v2 < 0 ? 0 : ligne.mid(v2 + 1).trimmed().toInt(&ok2);
        if (!ok1 || !ok2) {
            ChargeDefautColonnesListeSelection();
            return;
        }
        lues.append({ligne.left(v1).trimmed(), largeur, etat});
    }
    if (lues.isEmpty()) {
        ChargeDefautColonnesListeSelection();
        return;
    }
    lstSelection->clear();
    lstSelection->setColumnCount(0);
    for (const Lue& l : lues) {
        ajouteColonne(l.titre, l.largeur, l.etat);
    }
}

void ListeVins::AfficheEnTetes(bool afficher) {
    lstSelection->setHeaderHidden(!afficher);
}

bool ListeVins::EnTetesAffiches() const {
    return !lstSelection->isHeaderHidden();
}

QString ListeVins::CptrSelectionne() const {
    const QTreeWidgetItem* item = lstSelection->currentItem();
    return item ? item->data(0, Qt::UserRole).toString() : QString();
}

void ListeVins::ChargeListeVins(const QString& condition, const QString& ordre, int anneesABoire,
                                int anneesAttendre) {
    lstSelection->setUpdatesEnabled(false);
    OuvreRequete(*qryListe_, QStringLiteral("SELECT Cptr, Type, BoireAvant, NomListe, * FROM RequeteListe AS "
                                            "TableSource WHERE ") +
                                 condition + ordre);
    const int annee = QDate::currentDate().year();
    const QTreeWidgetItem* entete = lstSelection->headerItem();
    QStringList champs;
    for (int j = 0; j < lstSelection->columnCount(); ++j) {
        champs << champDe(entete->text(j));
    }
    int i = 0;
    while (qryListe_->isActive() && !qryListe_->eof()) {
        QTreeWidgetItem* item = lstSelection->topLevelItem(i);
        if (!item) {
            item = new QTreeWidgetItem(lstSelection);
        }
        const int numero =
            IndexIcone(qryListe_->field(QStringLiteral("Type")).asString(),
                       static_cast<int>(qryListe_->field(QStringLiteral("BoireAvant")).asInteger()), annee,
                       anneesABoire, anneesAttendre);
        item->setIcon(0, icone(numero));
        item->setData(0, Qt::UserRole, qryListe_->field(QStringLiteral("Cptr")).asString());
        for (int j = 1; j < champs.size(); ++j) {
            item->setText(j, champs[j].isEmpty() ? QString() : qryListe_->field(champs[j]).asString());
        }
        ++i;
        qryListe_->next();
    }
    qryListe_->close();
    while (lstSelection->topLevelItemCount() > i) {
        delete lstSelection->takeTopLevelItem(lstSelection->topLevelItemCount() - 1);
    }
    lstSelection->setUpdatesEnabled(true);
}

}  // namespace vinorium::navigation
