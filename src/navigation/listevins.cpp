#include "navigation/listevins.h"

#include "data/dialogservice.h"
#include "data/engine/query.h"
#include "data/programme.h"
#include "data/requetes.h"
#include "navigation/frmcolonnesselection.h"
#include "ui/application.h"

#include <algorithm>

#include <QDate>
#include <QHeaderView>
#include <QIcon>
#include <QKeyEvent>
#include <QList>
#include <QMenu>
#include <QMouseEvent>
#include <QSignalBlocker>
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
constexpr int kRoleIcone = Qt::UserRole + 2;

// A number as the list shows it ("9,50", "1 200"); a text that does not convert is 0.
double nombre(QString texte) {
    texte.remove(QLatin1Char(' '))
        .remove(QChar(0x00A0))
        .remove(QChar(0x202F))
        .replace(QLatin1Char(','), QLatin1Char('.'));
    return texte.toDouble();
}

// A row of the list: it sorts with the list's comparison.
class LigneVin final : public QTreeWidgetItem {
  public:
    LigneVin(QTreeWidget* parent, const ListeVins* liste) : QTreeWidgetItem(parent), liste_(liste) {}
    bool operator<(const QTreeWidgetItem& autre) const override {
        return liste_->lstSelectionCompare(this, &autre) < 0;
    }

  private:
    const ListeVins* liste_;
};

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

void ListeVins::ajouteColonne(const QString& titre, int largeur, int etat) {
    const int n = lstSelection->columnCount();
    lstSelection->setColumnCount(n + 1);
    QTreeWidgetItem* entete = lstSelection->headerItem();
    entete->setText(n, titre);
    entete->setData(n, kRoleEtatTri, etat);
    if (titre.isEmpty()) {
        lstSelection->header()->setSectionResizeMode(n, QHeaderView::Fixed);
        lstSelection->setColumnWidth(n, 20);
    } else {
        lstSelection->header()->setSectionResizeMode(n, QHeaderView::Interactive);
        lstSelection->setColumnWidth(n, largeur > 0 ? largeur : 50);
    }
}

void ListeVins::DefinitColonnes(const QList<DefColonne>& colonnes) {
    lstSelection->clear();
    // Back to the logical order before the columns change.
    QHeaderView* entetes = lstSelection->header();
    for (int j = 0; j < entetes->count(); ++j) {
        const int visuel = entetes->visualIndex(j);
        if (visuel != j) {
            entetes->moveSection(visuel, j);
        }
    }
    lstSelection->setColumnCount(0);
    for (const DefColonne& c : colonnes) {
        ajouteColonne(c.titre, c.largeur, c.etat);
    }
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
    for (int v = 0; v < lstSelection->columnCount(); ++v) {
        ordre << entetes->logicalIndex(v);
    }
    return ordre;
}

int ListeVins::EtatTri(int colonne) const {
    return lstSelection->headerItem()->data(colonne, kRoleEtatTri).toInt();
}

void ListeVins::ClicEnTete(int colonne) {
    QTreeWidgetItem* entete = lstSelection->headerItem();
    const int haut = entete->text(colonne).isEmpty() ? 4 : 2;
    const int etat = EtatTri(colonne);
    if (etat == haut) {
        entete->setData(colonne, kRoleEtatTri, 1);
    } else {
        for (int j = 0; j < lstSelection->columnCount(); ++j) {
            entete->setData(j, kRoleEtatTri, j == colonne ? etat + 1 : 0);
        }
    }
    Trie();
    emit triChange();
}

QString ListeVins::donneTriListe() const {
    const QTreeWidgetItem* entete = lstSelection->headerItem();
    const QList<int> ordre = ordreColonnes();
    QString tri;
    for (int j : ordre) {
        const int etat = EtatTri(j);
        if (etat == 0) {
            continue;
        }
        const QString desc = etat % 2 == 0 ? QStringLiteral(" DESC") : QString();
        if (entete->text(j).isEmpty()) {
            if (const LigneCatalogue* l = LigneDe(QString::number(etat))) {
                tri = l->champ + desc + QStringLiteral(", ") + l->champ2;
            }
        } else if (const LigneCatalogue* l = LigneDe(entete->text(j))) {
            tri = l->champ + desc;
        }
    }
    if (tri.isEmpty() && ordre.size() > 1) {
        if (const LigneCatalogue* l = LigneDe(entete->text(ordre[1]))) {
            tri = l->champ;
        }
    }
    return tri;
}

int ListeVins::lstSelectionCompare(const QTreeWidgetItem* a, const QTreeWidgetItem* b) const {
    const QTreeWidgetItem* entete = lstSelection->headerItem();
    int colonne = -1;
    for (int j : ordreColonnes()) {
        if (EtatTri(j) != 0) {
            colonne = j;
            break;
        }
    }
    if (colonne < 0) {
        return 0;
    }
    const int etat = EtatTri(colonne);
    const LigneCatalogue* ligne = LigneDe(entete->text(colonne));
    const QString type = ligne ? ligne->type : QStringLiteral("chaine");
    int signe = 0;
    if (type == QStringLiteral("image")) {
        auto cle = [etat](const QTreeWidgetItem* item) {
            const int n = item->data(0, kRoleIcone).toInt() - 8;
            const int q = n / 3;
            const int r = n - 3 * q;
            return etat <= 2 ? 10 * (q + 1) + (r + 1) : 10 * (r + 1) + (q + 1);
        };
        const int ka = cle(a);
        const int kb = cle(b);
        signe = ka < kb ? -1 : (ka > kb ? 1 : 0);
    } else if (type == QStringLiteral("nombre")) {
        const double na = nombre(a->text(colonne));
        const double nb = nombre(b->text(colonne));
        signe = na < nb ? -1 : (na > nb ? 1 : 0);
    } else {
        const int c = a->text(colonne).toLower().compare(b->text(colonne).toLower());
        signe = c < 0 ? -1 : (c > 0 ? 1 : 0);
    }
    return etat % 2 == 0 ? -signe : signe;
}

void ListeVins::Trie() {
    bool trie = false;
    for (int j = 0; j < lstSelection->columnCount(); ++j) {
        trie = trie || EtatTri(j) != 0;
    }
    if (trie) {
        lstSelection->sortItems(0, Qt::AscendingOrder);
    }
}

void ListeVins::remetIconeEnTete() {
    QHeaderView* entetes = lstSelection->header();
    for (int j = 0; j < lstSelection->columnCount(); ++j) {
        if (lstSelection->headerItem()->text(j).isEmpty() && entetes->visualIndex(j) != 0) {
            const QSignalBlocker bloque(entetes);
            entetes->moveSection(entetes->visualIndex(j), 0);
            return;
        }
    }
}

QString ListeVins::TexteColonnes() const {
    QString texte;
    const QTreeWidgetItem* entete = lstSelection->headerItem();
    for (int j : ordreColonnes()) {
        texte += QLatin1Char('\r') + entete->text(j) + QLatin1Char(',') +
                 QString::number(lstSelection->columnWidth(j)) + QLatin1Char(',') +
                 QString::number(entete->data(j, kRoleEtatTri).toInt());
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

bool ListeVins::quitteLaLigne(const QTreeWidgetItem* vers) const {
    const QTreeWidgetItem* courant = lstSelection->currentItem();
    return courant && courant->isSelected() && vers && vers != courant && ValideChangementSelection &&
           !ValideChangementSelection();
}

bool ListeVins::eventFilter(QObject* objet, QEvent* event) {
    if (objet == lstSelection->viewport() && event->type() == QEvent::MouseButtonPress) {
        const auto* souris = static_cast<const QMouseEvent*>(event);
        if (quitteLaLigne(lstSelection->itemAt(souris->position().toPoint()))) {
            return true;
        }
    }
    if (objet == lstSelection && event->type() == QEvent::KeyPress) {
        const auto* touche = static_cast<const QKeyEvent*>(event);
        static const QList<int> deplacements = {Qt::Key_Up,       Qt::Key_Down, Qt::Key_PageUp,
                                                Qt::Key_PageDown, Qt::Key_Home, Qt::Key_End};
        if (deplacements.contains(touche->key())) {
            const int ligne = lstSelection->indexOfTopLevelItem(lstSelection->currentItem());
            const int dernier = lstSelection->topLevelItemCount() - 1;
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
            if (quitteLaLigne(lstSelection->topLevelItem(std::clamp(vers, 0, std::max(dernier, 0))))) {
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
    for (int i = 0; i < lstSelection->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = lstSelection->topLevelItem(i);
        if (item->data(0, Qt::UserRole).toString() == cle) {
            lstSelection->setCurrentItem(item);
            lstSelection->scrollToItem(item);
            return;
        }
    }
}

void ListeVins::refreshListView() {
    lstSelection->setUpdatesEnabled(false);
    lstSelection->setUpdatesEnabled(true);
    lstSelection->viewport()->update();
}

QString ListeVins::CptrSelectionne() const {
    const QTreeWidgetItem* item = lstSelection->currentItem();
    return item ? item->data(0, Qt::UserRole).toString() : QString();
}

void ListeVins::ChargeListeVins(const QString& condition, const QString& ordre, int anneesABoire,
                                int anneesAttendre) {
    condition_ = condition;
    ordre_ = ordre;
    anneesABoire_ = anneesABoire;
    anneesAttendre_ = anneesAttendre;
    lstSelection->setUpdatesEnabled(false);
    OuvreRequete(*qryListe_, QStringLiteral("SELECT Cptr, Type, BoireAvant, NomListe, * FROM RequeteListe AS "
                                            "TableSource WHERE ") +
                                 condition + ordre);
    const int annee = QDate::currentDate().year();
    const QTreeWidgetItem* entete = lstSelection->headerItem();
    QStringList champs;
    for (int j = 0; j < lstSelection->columnCount(); ++j) {
        const LigneCatalogue* ligne = LigneDe(entete->text(j));
        // A caption no catalogue row has (a custom field relabelled since) stays empty.
        champs << (ligne ? ligne->champ : QString());
    }
    int i = 0;
    while (qryListe_->isActive() && !qryListe_->eof()) {
        QTreeWidgetItem* item = lstSelection->topLevelItem(i);
        if (!item) {
            item = new LigneVin(lstSelection, this);
        }
        const int numero =
            IndexIcone(qryListe_->field(QStringLiteral("Type")).asString(),
                       static_cast<int>(qryListe_->field(QStringLiteral("BoireAvant")).asInteger()), annee,
                       anneesABoire, anneesAttendre);
        item->setIcon(0, icone(numero));
        item->setData(0, kRoleIcone, numero);
        item->setData(0, Qt::UserRole, qryListe_->field(QStringLiteral("Cptr")).asString());
        for (int j = 1; j < champs.size(); ++j) {
            item->setText(j, champs[j].isEmpty() ? QString() : qryListe_->field(champs[j]).asString());
        }
        ++i;
        qryListe_->next();
    }
    qryListe_->close();
    while (lstSelection->topLevelItemCount() > i) {
        QTreeWidgetItem* dernier = lstSelection->topLevelItem(lstSelection->topLevelItemCount() - 1);
        if (dernier->isSelected() || lstSelection->currentItem() == dernier) {
            lstSelection->clearSelection();
            lstSelection->setCurrentItem(nullptr);
        }
        delete lstSelection->takeTopLevelItem(lstSelection->topLevelItemCount() - 1);
    }
    lstSelection->setUpdatesEnabled(true);
    Trie();
}

}  // namespace vinorium::navigation
