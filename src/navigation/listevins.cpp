#include "navigation/listevins.h"

#include "data/dialogservice.h"
#include "data/engine/query.h"
#include "data/programme.h"
#include "data/requetes.h"
#include "navigation/frmcolonnesselection.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include <QDate>
#include <QHeaderView>
#include <QKeyEvent>
#include <QList>
#include <QMenu>
#include <QMouseEvent>
#include <QSignalBlocker>
#include <QTreeView>

namespace vinorium::navigation {

namespace {

// A number as the list shows it ("9,50", "1 200"); a text that does not convert is 0.
double nombre(QString texte) {
    texte.remove(QLatin1Char(' '))
        .remove(QChar(0x00A0))
        .remove(QChar(0x202F))
        .replace(QLatin1Char(','), QLatin1Char('.'));
    const double n = texte.toDouble();
    return std::isnan(n) ? 0 : n;  // "nan" reads, but would break the order
}

// The sort key of a row for one column: a number ("nombre", "image") or a
// lower-cased text ("chaine").
struct CleTri {
    double n = 0;
    QString s;
};

CleTri cleDe(const LigneVin& ligne, int colonne, int etat, const QString& type) {
    CleTri cle;
    if (type == QStringLiteral("image")) {
        const int n = ligne.icone - 8;
        const int q = n / 3;
        const int r = n - 3 * q;
        cle.n = etat <= 2 ? 10 * (q + 1) + (r + 1) : 10 * (r + 1) + (q + 1);
    } else if (type == QStringLiteral("nombre")) {
        cle.n = nombre(ligne.texte(colonne));
    } else {
        cle.s = ligne.texte(colonne).toLower();
    }
    return cle;
}

// -1, 0 or 1 for two keys of the same column, before the sort direction.
int compareCles(const CleTri& a, const CleTri& b, bool texte) {
    if (texte) {
        const int c = a.s.compare(b.s);
        return c < 0 ? -1 : (c > 0 ? 1 : 0);
    }
    return a.n < b.n ? -1 : (a.n > b.n ? 1 : 0);
}

}  // namespace

ListeVins::ListeVins(QWidget* parent)
    : QObject(parent), qryListe_(std::make_unique<data::Query>(&programme().dbBase)) {
    // The list reads its result once, from start to end: no row is kept behind.
    qryListe_->setForwardOnly(true);
    lstSelection = new QTreeView(parent);
    lstSelection->setObjectName(QStringLiteral("lstSelection"));
    modele = new ModeleListeVins(this);
    lstSelection->setModel(modele);
    lstSelection->setAllColumnsShowFocus(true);
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
    lstSelection->header()->setSectionsMovable(true);
    lstSelection->header()->setSectionsClickable(true);
    lstSelection->setHeaderHidden(true);
    connect(lstSelection->header(), &QHeaderView::sectionClicked, this, &ListeVins::ClicEnTete);
    connect(lstSelection->header(), &QHeaderView::sectionMoved, this, [this] { remetIconeEnTete(); });

    mnuListeSelection = new QMenu(lstSelection);
    mnuListeSelection->setObjectName(QStringLiteral("mnuListeSelection"));
    mnuAgrandir = mnuListeSelection->addAction(QStringLiteral("&Agrandir"));
    mnuAgrandir->setObjectName(QStringLiteral("mnuAgrandir"));
    mnuAgrandir->setCheckable(true);
    mnuEnTetes = mnuListeSelection->addAction(QStringLiteral("Afficher les &en-têtes"));
    mnuEnTetes->setObjectName(QStringLiteral("mnuEnTetes"));
    mnuEnTetes->setCheckable(true);
    mnuColonnes = mnuListeSelection->addAction(QStringLiteral("&Colonnes..."));
    mnuColonnes->setObjectName(QStringLiteral("mnuColonnes"));
    connect(mnuAgrandir, &QAction::triggered, this, [this](bool coche) { emit agrandissement(coche); });
    connect(mnuEnTetes, &QAction::triggered, this, &ListeVins::AfficheEnTetes);
    connect(mnuColonnes, &QAction::triggered, this, &ListeVins::ChoisitColonnes);
    lstSelection->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(lstSelection, &QWidget::customContextMenuRequested, this, [this](const QPoint& position) {
        mnuListeSelection->popup(lstSelection->viewport()->mapToGlobal(position));
    });
    lstSelection->installEventFilter(this);
    lstSelection->viewport()->installEventFilter(this);
    connect(lstSelection->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& courant) {
                emit vinCourantChange(courant.isValid() ? modele->ligne(courant.row()).cptr : QString());
            });
    connect(lstSelection, &QAbstractItemView::clicked, this,
            [this](const QModelIndex& index) { emit clicVin(modele->ligne(index.row()).cptr); });

    InitialiseColonnesListeSelection();
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

void ListeVins::InitialiseColonnesListeSelection() {
    lstColonnesListeSelection.clear();
    auto ligne = [this](const QString& nom, const char* champ, const char* champ2, const char* defaut,
                        const char* type) {
        lstColonnesListeSelection.append({nom, QString::fromLatin1(champ), QString::fromLatin1(champ2),
                                          QString::fromLatin1(defaut), QString::fromLatin1(type)});
    };
    ligne(QStringLiteral("1"), "BoireAvant", "Type", "-1", "nombre");
    ligne(QStringLiteral("2"), "BoireAvant", "Type", "-1", "nombre");
    ligne(QStringLiteral("3"), "Type", "BoireAvant", "-1", "nombre");
    ligne(QStringLiteral("4"), "Type", "BoireAvant", "-1", "nombre");
    ligne(QString(), "", "", "20", "image");
    struct Nommee {
        const char* nom;
        const char* champ;
        const char* defaut;
        const char* type;
    };
    for (const Nommee& n :
         {Nommee{"Nom", "NomComplet", "100", "chaine"}, Nommee{"Appellation", "Appellation", "100", "chaine"},
          Nommee{"Millésime", "Millesime", "50", "chaine"},
          Nommee{"Quantité", "QuantiteRestante", "50", "nombre"},
          Nommee{"Prix", "PrixBouteille", "0", "nombre"}, Nommee{"Récoltant", "Recoltant", "0", "chaine"},
          Nommee{"Région", "Region", "0", "chaine"}, Nommee{"Offert", "Offert", "0", "chaine"},
          Nommee{"Vrac", "Vrac", "0", "chaine"}, Nommee{"Boire avant", "BoireAvant", "0", "nombre"},
          Nommee{"Attendre", "Attendre", "0", "nombre"},
          Nommee{"Conditionnement", "Conditionnement", "0", "chaine"}, Nommee{"Robe", "Robe", "0", "chaine"},
          Nommee{"Nez", "Nez", "0", "chaine"}, Nommee{"Bouche", "Bouche", "0", "chaine"},
          Nommee{"Classement", "Classement", "0", "chaine"}, Nommee{"Cuvée", "Cuvee", "0", "chaine"},
          Nommee{"Qualité/Prix", "QualitePrix", "0", "chaine"}}) {
        ligne(QString::fromUtf8(n.nom), n.champ, "", n.defaut, n.type);
    }
    for (int i = 1; i <= 5; ++i) {
        const QString champ = QStringLiteral("ChampPerso%1").arg(i);
        const QString libelle = programme().dbBase.isOpen() ? DonneLibelleChampPerso(champ) : champ;
        lstColonnesListeSelection.append(
            {libelle, champ, QString(), QStringLiteral("0"), QStringLiteral("chaine")});
    }
}

const LigneCatalogue* ListeVins::LigneDe(const QString& nomAffiche) const {
    for (const LigneCatalogue& l : lstColonnesListeSelection) {
        if (l.nomAffiche.compare(nomAffiche, Qt::CaseInsensitive) == 0) {
            return &l;
        }
    }
    return nullptr;
}

void ListeVins::DefinitColonnes(const QList<DefColonne>& colonnes) {
    // Back to the logical order before the columns change.
    QHeaderView* entetes = lstSelection->header();
    for (int j = 0; j < entetes->count(); ++j) {
        const int visuel = entetes->visualIndex(j);
        if (visuel != j) {
            entetes->moveSection(visuel, j);
        }
    }
    QList<ModeleListeVins::Colonne> definitions;
    for (const DefColonne& c : colonnes) {
        definitions.append({c.titre, c.etat});
    }
    modele->definitColonnes(definitions);
    for (int j = 0; j < colonnes.size(); ++j) {
        if (colonnes[j].titre.isEmpty()) {
            entetes->setSectionResizeMode(j, QHeaderView::Fixed);
            lstSelection->setColumnWidth(j, 20);
        } else {
            entetes->setSectionResizeMode(j, QHeaderView::Interactive);
            lstSelection->setColumnWidth(j, colonnes[j].largeur > 0 ? colonnes[j].largeur : 50);
        }
    }
    MajIndicateurTri();
}

void ListeVins::MajIndicateurTri() {
    // The arrow on the column that sorts: up for an odd state, down for an even one.
    QHeaderView* entetes = lstSelection->header();
    const int colonne = colonneDeTri();
    entetes->setSortIndicatorShown(colonne >= 0);
    entetes->setSortIndicator(colonne, EtatTri(colonne) % 2 == 0 ? Qt::DescendingOrder : Qt::AscendingOrder);
}

void ListeVins::Recharge() {
    if (!condition_.isEmpty()) {
        ChargeListeVins(condition_, ordre_, anneesABoire_, anneesAttendre_);
    }
}

void ListeVins::ChoisitColonnes() {
    TfrmColonnesSelection fenetre(*this, lstSelection->window());
    dialogs().modal(&fenetre, fenetre.objectName());
}

void ListeVins::ChargeDefautColonnesListeSelection() {
    QList<DefColonne> colonnes;
    for (const LigneCatalogue& l : lstColonnesListeSelection) {
        // Compared as text, as the default width always was.
        if (l.defaut > QStringLiteral("0")) {
            colonnes.append({l.nomAffiche, l.defaut.toInt(), 0});
        }
    }
    DefinitColonnes(colonnes);
}

QList<int> ListeVins::ordreColonnes() const {
    QList<int> ordre;
    const QHeaderView* entetes = lstSelection->header();
    for (int v = 0; v < modele->columnCount(); ++v) {
        ordre << entetes->logicalIndex(v);
    }
    return ordre;
}

int ListeVins::EtatTri(int colonne) const {
    return colonne >= 0 && colonne < modele->columnCount() ? modele->colonnes()[colonne].etat : 0;
}

void ListeVins::ClicEnTete(int colonne) {
    const int haut = TitreColonne(colonne).isEmpty() ? 4 : 2;
    const int etat = EtatTri(colonne);
    if (etat == haut) {
        modele->definitEtat(colonne, 1);
    } else {
        for (int j = 0; j < modele->columnCount(); ++j) {
            modele->definitEtat(j, j == colonne ? etat + 1 : 0);
        }
    }
    MajIndicateurTri();
    Trie();
    emit triChange();
}

QString ListeVins::donneTriListe() const {
    const QList<int> ordre = ordreColonnes();
    QString tri;
    for (int j : ordre) {
        const int etat = EtatTri(j);
        if (etat == 0) {
            continue;
        }
        const QString desc = etat % 2 == 0 ? QStringLiteral(" DESC") : QString();
        if (TitreColonne(j).isEmpty()) {
            if (const LigneCatalogue* l = LigneDe(QString::number(etat))) {
                tri = l->champ + desc + QStringLiteral(", ") + l->champ2;
            }
        } else if (const LigneCatalogue* l = LigneDe(TitreColonne(j))) {
            tri = l->champ + desc;
        }
    }
    if (tri.isEmpty() && ordre.size() > 1) {
        if (const LigneCatalogue* l = LigneDe(TitreColonne(ordre[1]))) {
            tri = l->champ;
        }
    }
    return tri;
}

int ListeVins::colonneDeTri() const {
    for (int j : ordreColonnes()) {
        if (EtatTri(j) != 0) {
            return j;
        }
    }
    return -1;
}

namespace {
QString typeDe(const LigneCatalogue* ligne) {
    return ligne ? ligne->type : QStringLiteral("chaine");
}
}  // namespace

int ListeVins::lstSelectionCompare(const LigneVin& a, const LigneVin& b) const {
    const int colonne = colonneDeTri();
    if (colonne < 0) {
        return 0;
    }
    const int etat = EtatTri(colonne);
    const QString type = typeDe(LigneDe(TitreColonne(colonne)));
    const int signe = compareCles(cleDe(a, colonne, etat, type), cleDe(b, colonne, etat, type),
                                  type == QStringLiteral("chaine"));
    return etat % 2 == 0 ? -signe : signe;
}

void ListeVins::Trie() {
    const int colonne = colonneDeTri();
    const int n = modele->rowCount();
    if (colonne < 0 || n < 2) {
        return;
    }
    // The keys once per row, then a stable sort of the row numbers: rows that
    // compare equal keep the fetch order.
    const int etat = EtatTri(colonne);
    const QString type = typeDe(LigneDe(TitreColonne(colonne)));
    const bool texte = type == QStringLiteral("chaine");
    const int sens = etat % 2 == 0 ? -1 : 1;
    std::vector<CleTri> cles;
    cles.reserve(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        cles.push_back(cleDe(modele->ligne(i), colonne, etat, type));
    }
    std::vector<int> ordre(static_cast<size_t>(n));
    std::iota(ordre.begin(), ordre.end(), 0);
    const auto avant = [&](int a, int b) {
        return sens * compareCles(cles[static_cast<size_t>(a)], cles[static_cast<size_t>(b)], texte) < 0;
    };
    if (std::is_sorted(ordre.begin(), ordre.end(), avant)) {
        return;
    }
    std::stable_sort(ordre.begin(), ordre.end(), avant);
    modele->reordonne(ordre);
}

void ListeVins::remetIconeEnTete() {
    QHeaderView* entetes = lstSelection->header();
    for (int j = 0; j < modele->columnCount(); ++j) {
        if (TitreColonne(j).isEmpty() && entetes->visualIndex(j) != 0) {
            const QSignalBlocker bloque(entetes);
            entetes->moveSection(entetes->visualIndex(j), 0);
            return;
        }
    }
}

QString ListeVins::TexteColonnes() const {
    QString texte;
    for (int j : ordreColonnes()) {
        texte += QLatin1Char('\r') + TitreColonne(j) + QLatin1Char(',') +
                 QString::number(lstSelection->columnWidth(j)) + QLatin1Char(',') +
                 QString::number(EtatTri(j));
    }
    return texte.trimmed();
}

void ListeVins::ChargeColonnes(const QString& texte) {
    QList<DefColonne> lues;
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
    // The icon column first, once; a sort state outside its column's range reads 0.
    const auto icone =
        std::find_if(lues.cbegin(), lues.cend(), [](const DefColonne& c) { return c.titre.isEmpty(); });
    const DefColonne premiere = icone != lues.cend() ? *icone : DefColonne{QString(), 20, 0};
    lues.removeIf([](const DefColonne& c) { return c.titre.isEmpty(); });
    lues.prepend(premiere);
    for (DefColonne& c : lues) {
        if (c.etat < 0 || c.etat > (c.titre.isEmpty() ? 4 : 2)) {
            c.etat = 0;
        }
    }
    DefinitColonnes(lues);
}

void ListeVins::AfficheEnTetes(bool afficher) {
    mnuEnTetes->setChecked(afficher);
    lstSelection->setHeaderHidden(!afficher);
}

bool ListeVins::EnTetesAffiches() const {
    return mnuEnTetes->isChecked();
}

void ListeVins::RetablitTaille() {
    if (mnuAgrandir->isChecked()) {
        mnuAgrandir->setChecked(false);
        emit agrandissement(false);
    }
}

bool ListeVins::quitteLaLigne(int vers) const {
    const QModelIndex courant = lstSelection->currentIndex();
    return courant.isValid() && lstSelection->selectionModel()->isRowSelected(courant.row(), {}) &&
           vers >= 0 && vers != courant.row() && ValideChangementSelection && !ValideChangementSelection();
}

bool ListeVins::eventFilter(QObject* objet, QEvent* event) {
    if (objet == lstSelection->viewport() && event->type() == QEvent::MouseButtonPress) {
        const auto* souris = static_cast<const QMouseEvent*>(event);
        if (quitteLaLigne(lstSelection->indexAt(souris->position().toPoint()).row())) {
            return true;
        }
    }
    if (objet == lstSelection && event->type() == QEvent::KeyPress) {
        const auto* touche = static_cast<const QKeyEvent*>(event);
        static const QList<int> deplacements = {Qt::Key_Up,       Qt::Key_Down, Qt::Key_PageUp,
                                                Qt::Key_PageDown, Qt::Key_Home, Qt::Key_End};
        if (deplacements.contains(touche->key()) && modele->rowCount() > 0) {
            const int ligne = lstSelection->currentIndex().row();
            const int dernier = modele->rowCount() - 1;
            int vers = ligne;
            switch (touche->key()) {
                case Qt::Key_Up:
                    vers = ligne - 1;
                    break;
                case Qt::Key_Down:
                    vers = ligne + 1;
                    break;
                case Qt::Key_Home:
                    vers = 0;
                    break;
                case Qt::Key_End:
                    vers = dernier;
                    break;
                default:
                    vers = touche->key() == Qt::Key_PageUp ? 0 : dernier;
                    break;
            }
            if (quitteLaLigne(std::clamp(vers, 0, dernier))) {
                return true;
            }
        }
        if (touche->key() == Qt::Key_Control && !mnuEnTetes->isChecked()) {
            // Control held alone shows the headers until a key is released.
            lstSelection->setHeaderHidden(false);
        } else if (touche->key() == Qt::Key_Escape && mnuAgrandir->isChecked()) {
            RetablitTaille();
            return true;
        }
    } else if (objet == lstSelection && event->type() == QEvent::KeyRelease) {
        lstSelection->setHeaderHidden(!mnuEnTetes->isChecked());
    } else if (objet == lstSelection->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        RetablitTaille();
    }
    return QObject::eventFilter(objet, event);
}

void ListeVins::PositionneListeVin(const QString& cle) {
    const int ligne = modele->ligneDe(cle);
    if (ligne >= 0) {
        const QModelIndex index = modele->index(ligne, 0);
        lstSelection->selectionModel()->setCurrentIndex(
            index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        lstSelection->scrollTo(index);
    }
}

void ListeVins::refreshListView() {
    lstSelection->setUpdatesEnabled(false);
    lstSelection->setUpdatesEnabled(true);
    lstSelection->viewport()->update();
}

QString ListeVins::CptrSelectionne() const {
    const QModelIndex courant = lstSelection->currentIndex();
    return courant.isValid() ? modele->ligne(courant.row()).cptr : QString();
}

int ListeVins::NombreLignes() const {
    return modele->rowCount();
}

int ListeVins::NombreColonnes() const {
    return modele->columnCount();
}

QString ListeVins::Texte(int ligne, int colonne) const {
    return ligne >= 0 && ligne < modele->rowCount() ? modele->ligne(ligne).texte(colonne) : QString();
}

QString ListeVins::CptrDe(int ligne) const {
    return ligne >= 0 && ligne < modele->rowCount() ? modele->ligne(ligne).cptr : QString();
}

QString ListeVins::TitreColonne(int colonne) const {
    return colonne >= 0 && colonne < modele->columnCount() ? modele->colonnes()[colonne].titre : QString();
}

int ListeVins::LargeurColonne(int colonne) const {
    return lstSelection->columnWidth(colonne);
}

void ListeVins::ChargeListeVins(const QString& condition, const QString& ordre, int anneesABoire,
                                int anneesAttendre) {
    condition_ = condition;
    ordre_ = ordre;
    anneesABoire_ = anneesABoire;
    anneesAttendre_ = anneesAttendre;
    const QString sql =
        QStringLiteral("SELECT Cptr, Type, BoireAvant, NomListe, * FROM RequeteListe AS TableSource WHERE ") +
        condition + ordre;
    OuvreRequete(*qryListe_, sql);
    if (!qryListe_->isActive()) {
        return;  // reported; the list keeps its rows
    }
    lstSelection->setUpdatesEnabled(false);
    const int annee = QDate::currentDate().year();
    const int colonnes = modele->columnCount();
    // The field of each column, found once: a caption no catalogue row has
    // (a custom field relabelled since) reads nothing and stays empty.
    std::vector<int> champs(static_cast<size_t>(colonnes), -1);
    for (int j = 1; j < colonnes; ++j) {
        if (const LigneCatalogue* ligne = LigneDe(TitreColonne(j)); ligne && !ligne->champ.isEmpty()) {
            champs[static_cast<size_t>(j)] = qryListe_->fieldIndex(ligne->champ);
        }
    }
    const int iCptr = qryListe_->fieldIndex(QStringLiteral("Cptr"));
    const int iType = qryListe_->fieldIndex(QStringLiteral("Type"));
    const int iBoireAvant = qryListe_->fieldIndex(QStringLiteral("BoireAvant"));
    std::vector<LigneVin> lignes;
    lignes.reserve(static_cast<size_t>(modele->rowCount()));
    try {
        for (; !qryListe_->eof(); qryListe_->next()) {
            LigneVin l;
            l.cptr = qryListe_->field(iCptr).asString();
            l.icone = IndexIcone(qryListe_->field(iType).asString(),
                                 static_cast<int>(qryListe_->field(iBoireAvant).asInteger()), annee,
                                 anneesABoire, anneesAttendre);
            l.textes.reserve(colonnes);
            l.textes.append(QString());
            for (int j = 1; j < colonnes; ++j) {
                const int champ = champs[static_cast<size_t>(j)];
                l.textes.append(champ < 0 ? QString() : qryListe_->field(champ).asString());
            }
            lignes.push_back(std::move(l));
        }
    } catch (const data::EngineError& erreur) {
        // A value that does not read: said once, the rows read so far are shown.
        dialogs().error(TexteErreurSQL(sql, erreur.message()));
    }
    qryListe_->close();
    // The selected row goes: the selection is cleared before the row is deleted.
    const QModelIndex courant = lstSelection->currentIndex();
    if (courant.isValid() && courant.row() >= static_cast<int>(lignes.size())) {
        lstSelection->selectionModel()->clear();
    }
    modele->remplace(std::move(lignes));
    Trie();
    lstSelection->setUpdatesEnabled(true);
}

}  // namespace vinorium::navigation
