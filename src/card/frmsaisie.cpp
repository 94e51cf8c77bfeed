#include "card/frmsaisie.h"

#include "card/fichevin.h"
#include "data/dialogservice.h"
#include "data/programme.h"
#include "data/requetes.h"
#include "data/settingsstore.h"
#include "navigation/arbreclassements.h"
#include "navigation/historique.h"
#include "navigation/infos.h"
#include "navigation/listevins.h"
#include "navigation/recherchenom.h"
#include "navigation/statistiques.h"
#include "plan/planfiche.h"
#include "ui/accessibility.h"
#include "ui/application.h"
#include "ui/controles.h"
#include "ui/flatcontrols.h"
#include "ui/theme.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDate>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QHelpEvent>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QScreen>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QToolTip>
#include <QTreeView>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace vinorium::card {

namespace {

QString texteOption(data::Query& q, const char* nom, bool* trouve) {
    *trouve = q.isActive() && q.locate(QStringLiteral("Nom"), QString::fromLatin1(nom));
    return *trouve ? q.field(QStringLiteral("Valeur")).asString() : QString();
}

// The control a focus change is about: an editable combo box rather than its line edit.
QWidget* controle(QWidget* w) {
    if (w && w->parentWidget() && qobject_cast<QComboBox*>(w->parentWidget()) &&
        qobject_cast<QLineEdit*>(w)) {
        return w->parentWidget();
    }
    return w;
}

// Names for the inner parts of lists and combo boxes (their drop-down views,
// headers and corner buttons), after the control they belong to.
void nommeInternes(QWidget* fenetre) {
    for (QComboBox* c : fenetre->findChildren<QComboBox*>()) {
        if (c->view()->accessibleName().isEmpty()) {
            c->view()->setAccessibleName(QStringLiteral("Liste déroulante ") + c->objectName());
        }
    }
    for (QAbstractItemView* v : fenetre->findChildren<QAbstractItemView*>()) {
        for (QObject* child : v->children()) {
            auto* w = qobject_cast<QWidget*>(child);
            if (w && (qobject_cast<QHeaderView*>(w) || qobject_cast<QAbstractButton*>(w)) &&
                w->accessibleName().isEmpty()) {
                w->setAccessibleName(QStringLiteral("En-tête ") + v->objectName());
            }
        }
    }
}

bool dans(const QWidget* w, const QWidget* parent) {
    return w && parent && parent->isAncestorOf(w);
}

}  // namespace

TfrmSaisie::TfrmSaisie(QWidget* parent) : QMainWindow(parent) {
    ui::initialiseResources();
    setObjectName(QStringLiteral("frmSaisie"));
    setMinimumSize(800, 600);
    resize(800, 600);
    ouvreAide = [] { ui::OuvreDocument(QStringLiteral("aide.chm")); };
    construitFenetre();
    nommeInternes(this);
    ui::nameControls(this);
    qApp->installEventFilter(this);
    connect(qApp, &QApplication::focusChanged, this,
            [this](QWidget* ancien, QWidget* nouveau) { ChangeFocus(ancien, nouveau); });
    relieActions();
    relieSelection();
    relieChamps();
    relieMouvements();
    FormCreate();
}

TfrmSaisie::~TfrmSaisie() {
    qApp->removeEventFilter(this);
    delete filtreChamps_;  // no field check while the window goes away
    filtreChamps_ = nullptr;
    if (programme().qryGeneral == qryGeneral_.get()) {
        programme().qryGeneral = nullptr;
    }
}

void TfrmSaisie::construitFenetre() {
    auto* centre = new QWidget(this);
    centre->setObjectName(QStringLiteral("pnlFond"));
    auto* fond = new QHBoxLayout(centre);
    fond->setContentsMargins(4, 4, 4, 4);
    fond->setSpacing(4);
    setCentralWidget(centre);

    // Navigation column: theme picture, name search, tree, splitter, wine list.
    pnlNavig = new ui::FlatPanel(centre);
    pnlNavig->setObjectName(QStringLiteral("pnlNavig"));
    pnlNavig->setMinimumWidth(259);
    auto* navig = new QVBoxLayout(pnlNavig);
    navig->setContentsMargins(4, 4, 4, 4);
    navig->setSpacing(4);
    pnlImageTheme_ = new QWidget(pnlNavig);
    pnlImageTheme_->setObjectName(QStringLiteral("pnlImageTheme"));
    pnlImageTheme_->setFixedHeight(120);
    auto* images = new QHBoxLayout(pnlImageTheme_);
    images->setContentsMargins(0, 0, 0, 0);
    for (const QString& nom : ui::ImagesThemes()) {
        auto* image = new QLabel(pnlImageTheme_);
        image->setObjectName(nom);
        image->setPixmap(
            QIcon(QStringLiteral(":/vinorium/themes/") + nom + QStringLiteral(".svg")).pixmap(200, 120));
        image->setFixedSize(200, 120);
        image->setVisible(nom == ui::palette().Image);
        images->addWidget(image, 0, Qt::AlignCenter);
    }
    navig->addWidget(pnlImageTheme_);
    rechercheNom = new navigation::RechercheNom(pnlNavig, pnlNavig);
    navig->addWidget(rechercheNom);
    splitNavig = new ui::FlatSplitter(Qt::Vertical, pnlNavig);
    splitNavig->setObjectName(QStringLiteral("splitNavig"));
    splitNavig->setChildrenCollapsible(false);
    arbre = new navigation::ArbreClassements(splitNavig);
    splitNavig->addWidget(arbre->treIndexes);
    listeVins = new navigation::ListeVins(splitNavig);
    splitNavig->addWidget(listeVins->lstSelection);
    splitNavig->setStretchFactor(1, 1);
    navig->addWidget(splitNavig, 1);
    fond->addWidget(pnlNavig, 1);

    // Right: tool bar, card, information tabs.
    auto* droite = new QWidget(centre);
    droite->setObjectName(QStringLiteral("pnlDroite"));
    droite->setMinimumWidth(525);
    auto* v = new QVBoxLayout(droite);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(4);
    construitOutils(droite);
    v->addWidget(pnlOutils);
    fiche = new FicheVin(etat_, droite);
    fiche->setMaximumHeight(560);  // beyond that the information tabs take the height
    v->addWidget(fiche, 3);
    infos = new navigation::Infos(droite);
    infos->tabInfos->setMinimumHeight(150);
    v->addWidget(infos->tabInfos, 2);
    fond->addWidget(droite, 2);

    rechercheNom->pnlRecherche->raise();

    setTabOrder(rechercheNom->txtRecherche, arbre->treIndexes);
    setTabOrder(arbre->treIndexes, listeVins->lstSelection);
    setTabOrder(listeVins->lstSelection, fiche->lst_nom);

    connect(fiche->tab_vin, &QTabWidget::currentChanged, this, [this] {
        // tab_vinTabChanged: the next focus on the tabs opens the chosen page.
        etat_.ChangementOnglet = true;
        if (isVisible() && fiche->tab_vin->isVisible()) {
            fiche->tab_vin->tabBar()->setFocus(Qt::TabFocusReason);
        }
    });
    connect(infos->tabInfos, &QTabWidget::currentChanged, this, [this] { infos->DisposeStatistiques(); });
    // Leaving the selected wine runs the save prompt once: Cancel keeps the
    // selection, Yes saves, No drops the edits (the new wine then loads).
    listeVins->ValideChangementSelection = [this] { return QuitteVinCourant(); };
    connect(listeVins, &navigation::ListeVins::triChange, this, [this] { CalculeOrdreListe(); });
    connect(listeVins, &navigation::ListeVins::agrandissement, this, [this, droite](bool agrandi) {
        droite->setVisible(!agrandi);
        rechercheNom->setVisible(!agrandi);
        arbre->treIndexes->setVisible(!agrandi);
    });
    connect(listeVins, &navigation::ListeVins::vinCourantChange, this, [this](const QString& cptr) {
        if (!cptr.isEmpty() && !etat_.FicheModifiee) {
            ChargeVin(cptr);
        }
    });
    // A click on the current row brings its wine back when the card shows
    // another one or a blank card; typed changes are never dropped by a click.
    connect(listeVins, &navigation::ListeVins::clicVin, this, [this](const QString& cptr) {
        if (!etat_.FicheModifiee && (etat_.ModeNouveau || CptrAffiche() != cptr)) {
            ChargeVin(cptr);
        }
    });
}

void TfrmSaisie::construitOutils(QWidget* parent) {
    pnlOutils = new ui::FlatPanel(parent);
    pnlOutils->setObjectName(QStringLiteral("pnlOutils"));
    auto* h = new QHBoxLayout(pnlOutils);
    h->setContentsMargins(4, 3, 4, 3);
    h->setSpacing(1);
    const auto bouton = [this, h](const char* nom, const QString& hint) {
        auto* b = new ui::FlatSpeedButton(pnlOutils);
        const QString n = QString::fromLatin1(nom);
        b->setObjectName(n);
        b->setToolTip(hint);
        b->setIcon(QIcon(QStringLiteral(":/vinorium/toolbar/") + n + QStringLiteral(".svg")));
        b->setIconSize(QSize(24, 24));
        b->setFixedSize(36, 34);
        b->setEnabled(false);
        h->addWidget(b);
        return b;
    };
    const auto separateur = [h] { h->addSpacing(8); };
    btn_Nouveau =
        bouton("btn_Nouveau", QStringLiteral("Nouveau (ctrl-N). | Vide la fiche pour entrer un nouveau "
                                             "vin ou saisir des critères de recherche."));
    btn_sauver =
        bouton("btn_sauver", QStringLiteral("Sauver (ctrl-S) | Enregistre les modifications apportées au "
                                            "vin en cours, ou ajoute le vin s'il s'agit d'une nouvelle "
                                            "saisie"));
    btn_dupliquer = bouton("btn_dupliquer", QStringLiteral("Dupliquer le vin en cours."));
    btn_supprimer =
        bouton("btn_supprimer", QStringLiteral("Supprimer le vin courant (ctrl-U). | Supprime le vin "
                                               "affiché dans la fiche. Cette opération est "
                                               "irréversible."));
    btn_supprimerTout =
        bouton("btn_supprimerTout", QStringLiteral("| Supprime tous les vins affichés dans la "
                                                   "liste. Cette opération est irréversible."));
    btn_supprimerTout->setAccessibleName(QStringLiteral("Supprimer tous les vins de la liste"));
    separateur();
    btn_rechercher =
        bouton("btn_rechercher",
               QStringLiteral("Rechercher (ctrl-R) | Recherche les vins correspondants aux critères "
                              "saisis dans la fiche et affiche le résultat dans la liste de la "
                              "sélection en cours."));
    btn_rechercherIncremental =
        bouton("btn_rechercherIncremental",
               QStringLiteral("Ajoute les critères saisis dans la fiche à la sélection en cours."));
    btn_tous = bouton("btn_tous",
                      QStringLiteral("Charger tous les vins en cave (ctrl-T). | Recharge tous les vins en "
                                     "cave (quantité non nulle) dans la liste de la sélection en cours. "
                                     "Equivalent à lancer une recherche avec tous les champs de la fiche "
                                     "laissés vides."));
    btn_epuise =
        bouton("btn_epuise", QStringLiteral(" | Recharge tous les vins épuisés (plus de bouteilles en cave) "
                                            "dans la liste de la sélection en cours. Equivalent à lancer "
                                            "une recherche avec le champ 'Reste en cave' à 0"));
    btn_epuise->setAccessibleName(QStringLiteral("Charger les vins épuisés"));
    separateur();
    btn_appellations =
        bouton("btn_appellations", QStringLiteral("Régions / appellations (ctrl-A) | Ouvre l'écran "
                                                  "de gestion des régions et des appellations."));
    btn_etats = bouton(
        "btn_etats", QStringLiteral("Générateur d'états (ctrl-E) | Ouvre l'écran de génération des états."));
    btn_graph =
        bouton("btn_graph", QStringLiteral("Générateur de graphiques (ctrl-G) | Ouvre l'écran de génération "
                                           "des graphiques."));
    btn_plan =
        bouton("btn_plan", QStringLiteral("Plan de cave (ctrl-P) | Ouvre l'écran de personnalisation du plan "
                                          "de cave."));
    btn_options = bouton("btn_options", QStringLiteral("Options (ctrl-O) | Ouvre l'écran des options"));
    h->addStretch(1);
    btnFocus = new ui::FlatButton(pnlOutils);
    btnFocus->setObjectName(QStringLiteral("btnFocus"));
    btnFocus->setAccessibleName(QStringLiteral("Validation du champ en cours"));
    btnFocus->setFixedSize(0, 0);
    btnFocus->setFocusPolicy(Qt::StrongFocus);
    h->addWidget(btnFocus);
    btn_aide = bouton("btn_aide", QStringLiteral("Afficher l'aide"));
    btn_quitter = bouton("btn_quitter", QStringLiteral("Quitter (ctrl-Q) | Sortie de Vinorium."));

    for (ui::FlatSpeedButton* alterne :
         {btn_dupliquer, btn_supprimerTout, btn_rechercherIncremental, btn_epuise}) {
        alterne->hide();
    }
    btn_aide->setEnabled(true);
    btn_quitter->setEnabled(true);
    connect(btn_aide, &QToolButton::clicked, this, [this] {
        if (ouvreAide) {
            ouvreAide();
        }
    });
    connect(btn_quitter, &QToolButton::clicked, this, &QWidget::close);
}

void TfrmSaisie::FormCreate() {
    // 1. Focus and hint notifications are routed by the event filter and the
    // focus connection made at construction; numbers use a decimal comma.
    if (QLocale().decimalPoint() != QLatin1String(",")) {
        QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    }
    // 2.
    etat_.DernierChampSaisie = fiche->lst_nom;
    etat_.ToucheCtrl = false;
    etat_.RaccourciTraite = false;
    // 3.
    qryGeneral_ = std::make_unique<data::Query>(&programme().dbBase);
    programme().qryGeneral = qryGeneral_.get();
    listeVins->InitialiseColonnesListeSelection();  // the custom fields' labels need qryGeneral
    qryAffiche_ = std::make_unique<data::Query>(&programme().dbBase);
    qryModif_ = std::make_unique<data::Query>(&programme().dbBase);
    // 4.
    maximiseAuDemarrage_ = false;
    ChargeParamPerso();
    // 5.
    CalculeOrdreListe();
    // 6.
    LitOptions();
    // 7.
    etat_.TousLesVins = true;
    etat_.ChaineSQLCourante = DonneFiltreQuantite(rechercheNom->mnuVinsEpuisesRechMulti->isChecked());
    // 8.
    OuvreRequete(*qryAffiche_,
                 QStringLiteral("SELECT * FROM RequeteInitiale AS TableSource ORDER BY Appellation, "
                                "Nom, Type"));
    // 9.
    RemplitListe(fiche->lst_region,
                 QStringLiteral("SELECT DISTINCT Region FROM Appellations ORDER BY Region"));
    RemplitListe(fiche->lst_appellation,
                 QStringLiteral("SELECT DISTINCT Appellation FROM Appellations ORDER BY Appellation"));
    RemplitListe(infos->cboSelection, QStringLiteral("SELECT Nom FROM Selections ORDER BY Nom"));
    // 10.
    fiche->plan->ConstruitPlans(*qryModif_);
    // 11.
    OuvreRequete(*qryModif_, QStringLiteral("SELECT Valeur FROM Options WHERE Nom = 'Couleur'"));
    QString theme = QStringLiteral("Végétal");
    if (qryModif_->isActive() && !qryModif_->eof()) {
        theme = qryModif_->field(QStringLiteral("Valeur")).asString();
    }
    qryModif_->close();
    ui::ChoisitTheme(theme);
    etat_.NomTheme = ui::palette().NomTheme;
    ui::palette().ModeSaisie = etat_.ModeSaisie;
    ui::AppliqueTheme(this, true, false);
    fiche->plan->PeintCellules();
    etat_.ModeNouveau = true;
    // 12.
    infos->statistiques->txtNbMoisGraph->setEnabled(true);
    MajApresModif();
    fiche->MajChampsPerso();
    infos->InitialiseCriteres();
    fiche->tab_vin->setCurrentIndex(0);
    etat_.ChangementOnglet = false;
    fiche->plan->PresseQuantites();
}

void TfrmSaisie::LitOptions() {
    OuvreRequete(*qryModif_, QStringLiteral("SELECT * FROM Options"));
    bool trouve = false;
    const QString couleur = texteOption(*qryModif_, "Couleur", &trouve);
    etat_.NomTheme = trouve ? couleur : QStringLiteral("Végétal");
    const auto entier = [this, &trouve](const char* nom, int defaut) {
        const QString valeur = texteOption(*qryModif_, nom, &trouve);
        bool ok = false;
        const int n = valeur.trimmed().toInt(&ok);
        return trouve && ok ? n : defaut;
    };
    etat_.AnneesABoire = entier("Aboire", 2);
    etat_.AnneesAttendre = entier("Attendre", 5);
    etat_.LargeurTranchePrix = entier("TranchePrix", 5);
    const QString mode = texteOption(*qryModif_, "ModeSaisie", &trouve);
    etat_.ModeSaisie = trouve ? DonneBool(mode) : true;
    qryModif_->close();
}

void TfrmSaisie::RemplitListe(QWidget* w, const QString& sql) {
    auto* combo = qobject_cast<QComboBox*>(w);
    QStringList valeurs;
    try {
        RemplitChainesSQL(valeurs, sql);
    } catch (const data::EngineError& e) {
        dialogs().error(TexteErreurSQL(sql, e.message()));
    }
    const QString texte = combo->currentText();
    const bool modifiee = etat_.FicheModifiee;
    combo->clear();
    combo->addItems(valeurs);
    combo->setEditText(texte);
    etat_.FicheModifiee = modifiee;
}

void TfrmSaisie::Initialise() {
    EffaceVin();
    infos->tabInfos->setCurrentIndex(0);
    splitNavig->setSizes({hauteurArbre_, std::max(100, splitNavig->height() - hauteurArbre_)});
    if (maximiseAuDemarrage_) {
        showMaximized();
    }
    activateWindow();
    fiche->lst_nom->setFocus();
}

void TfrmSaisie::MajApresModif() {
    fiche->MajComboPerso();
    RemplitListe(fiche->lst_nom,
                 QStringLiteral("SELECT DISTINCT Nom FROM Vins WHERE (Nom <> '') ORDER BY Nom"));
    RemplitListe(
        fiche->lst_recoltant,
        QStringLiteral("SELECT DISTINCT Recoltant FROM Vins WHERE (Recoltant <> '') ORDER BY Recoltant"));
    RemplitListe(fiche->lst_qualitePrix,
                 QStringLiteral("SELECT DISTINCT QualitePrix FROM Vins WHERE (QualitePrix "
                                "<> '') ORDER BY QualitePrix"));
    ChargeListeVins();
    ChargeClassements();
    Maj_quantites();
    MajTitreFenetre();
}

void TfrmSaisie::ChargeVin(const QString& cptr) {
    bool ok = false;
    const qlonglong cle = cptr.toLongLong(&ok);
    if (!ok || !qryAffiche_->isActive() || !qryAffiche_->locate(QStringLiteral("cptr"), cle)) {
        return;
    }
    fiche->ChargeChamps(*qryAffiche_);
    ChargeListeSQLsEntreesSorties(cptr);
    AffichePositions();
    if (isActiveWindow() && QApplication::focusWidget() != listeVins->lstSelection) {
        fiche->lst_nom->setFocus();
    }
    Alternance_Nouveau_Courant(false);
    infos->historique->majHistorique(QStringLiteral("Affichage"),
                                     qryAffiche_->field(QStringLiteral("Nom")).asString(), cptr);
}

QString TfrmSaisie::CptrAffiche() const {
    return qryAffiche_->isActive() && !qryAffiche_->eof()
               ? qryAffiche_->field(QStringLiteral("Cptr")).asString()
               : QString();
}

bool TfrmSaisie::QuitteVinCourant() {
    switch (ValideMaj(true, true)) {
        case DialogService::Answer::Yes:
            return SauveVin();
        case DialogService::Answer::No:
            etat_.FicheModifiee = false;
            return true;
        default:
            return false;
    }
}

void TfrmSaisie::SelectionneVin(const QString& cptr) {
    if (!QuitteVinCourant()) {
        return;
    }
    ChargeVin(cptr);
    // The wine is loaded already: selecting its row must not load it again.
    const QSignalBlocker bloque(listeVins);
    listeVins->PositionneListeVin(cptr);
}

void TfrmSaisie::ChargeListeSQLsEntreesSorties(const QString& cptr) {
    OuvreRequete(*qryModif_,
                 QStringLiteral(
                     "SELECT [Sortie cave].Clé, [Sortie cave].DateEntreeSortie, "
                     "[Sortie cave].QuantiteEntreeSortie, [Sortie cave].PositionEntreeSortie, "
                     "[Sortie cave].CommentaireEntreeSortie FROM [Sortie cave] WHERE [Sortie cave].Cptr = ") +
                     cptr + QStringLiteral(" ORDER BY [Sortie cave].DateEntreeSortie DESC"));
    for (QTableWidget* g : {fiche->lst_entrees, fiche->lst_sorties}) {
        g->clearContents();
        g->setRowCount(0);
    }
    while (qryModif_->isActive() && !qryModif_->eof()) {
        const qlonglong q = qryModif_->field(QStringLiteral("QuantiteEntreeSortie")).asInteger();
        if (q != 0) {
            QTableWidget* g = q < 0 ? fiche->lst_sorties : fiche->lst_entrees;
            const int r = g->rowCount();
            g->insertRow(r);
            const QDateTime date = qryModif_->field(QStringLiteral("DateEntreeSortie")).asDateTime();
            const QStringList cellules{
                date.isValid() ? QLocale().toString(date.date(), QLocale::ShortFormat) : QString(),
                QString::number(q < 0 ? -q : q),
                qryModif_->field(QStringLiteral("PositionEntreeSortie")).asString(),
                qryModif_->field(QStringLiteral("CommentaireEntreeSortie")).asString()};
            for (int c = 0; c < 4; ++c) {
                g->setItem(r, c, new QTableWidgetItem(cellules[c]));
            }
        }
        qryModif_->next();
    }
    qryModif_->close();
    for (QTableWidget* g : {fiche->lst_entrees, fiche->lst_sorties}) {
        if (g->rowCount() == 0) {
            g->setRowCount(1);
        }
    }
}

void TfrmSaisie::AffichePositions() {
    // The positions held, from the card's movement lists: exits subtract, entries add.
    QList<QPair<QString, int>> positions;
    const auto ajoute = [&positions](QTableWidget* g, int signe) {
        for (int r = 0; r < g->rowCount(); ++r) {
            const QTableWidgetItem* date = g->item(r, 0);
            if (!date || date->text().isEmpty()) {
                continue;
            }
            const QString position = g->item(r, 2) ? g->item(r, 2)->text() : QString();
            const int quantite = g->item(r, 1) ? g->item(r, 1)->text().toInt() : 0;
            auto it = std::find_if(positions.begin(), positions.end(),
                                   [&position](const auto& p) { return p.first == position; });
            if (it == positions.end()) {
                positions.append({position, signe * quantite});
            } else {
                it->second += signe * quantite;
            }
        }
    };
    ajoute(fiche->lst_sorties, -1);
    ajoute(fiche->lst_entrees, 1);
    fiche->plan->AffichePositions(positions);
}

void TfrmSaisie::EffaceVin() {
    fiche->EffaceChamps();
    Alternance_Nouveau_Courant(true);
    if (isActiveWindow() && QApplication::focusWidget() != listeVins->lstSelection) {
        fiche->lst_nom->setFocus();
    }
}

void TfrmSaisie::Alternance_Nouveau_Courant(bool nouveau) {
    etat_.ModeNouveau = nouveau;
    for (ui::FlatButton* b : fiche->comparateurs()) {
        b->setVisible(nouveau);
    }
    fiche->txt_QuantiteRestante->setReadOnly(true);
    etat_.FicheModifiee = false;
    MajTitreFenetre();
    ui::AppliqueTheme(this, !nouveau, true);
    fiche->plan->PeintCellules();
}

void TfrmSaisie::MajTitreFenetre() {
    setWindowTitle(QStringLiteral("Vinorium") +
                   (etat_.TousLesVins ? QStringLiteral(" / Tous les vins sélectionnés")
                                      : QStringLiteral(" / Sélection en cours")) +
                   (etat_.ModeNouveau ? QStringLiteral(" / Nouvelle saisie (recherche ou vin)")
                                      : QStringLiteral(" / Modification d'un vin")));
}

void TfrmSaisie::DetecteChangement() {
    etat_.FicheModifiee = true;
}

void TfrmSaisie::SimulerSortieChamp() {
    QWidget* courant = QApplication::focusWidget();
    btnFocus->setFocus(Qt::OtherFocusReason);
    if (courant) {
        courant->setFocus(Qt::OtherFocusReason);
    }
}

void TfrmSaisie::ChangeFocus(QWidget* ancien, QWidget* nouveau) {
    if (!isVisible() || !nouveau || nouveau->window() != this) {
        return;
    }
    nouveau = controle(nouveau);
    ancien = controle(ancien);
    FicheVin& f = *fiche;
    if (nouveau == f.tab_vin || nouveau == f.tab_vin->tabBar()) {
        const QWidget* dernier = etat_.DernierChampSaisie;
        const bool enAvant =
            etat_.ChangementOnglet ||
            (dernier != f.champs[1].lst && dernier != f.champs[1].txt && dernier != f.txt_robe &&
             dernier != f.txt_DateEntree && dernier != f.txt_DateSortie);
        etat_.ChangementOnglet = false;
        if (enAvant) {
            const int page = f.tab_vin->currentIndex();
            ui::FlatEdit* date = page == 2 ? f.txt_DateEntree : page == 3 ? f.txt_DateSortie : nullptr;
            if (date && date->text().isEmpty()) {
                date->setText(QLocale().toString(QDate::currentDate(), QLocale::ShortFormat));
            }
            if (QWidget* premier = f.premierChampPage(page)) {
                premier->setFocus(Qt::TabFocusReason);
            }
        } else {
            f.champs[0].visible()->setFocus(Qt::BacktabFocusReason);
        }
        return;
    }
    if (nouveau == f.pnl_Type || nouveau == f.pnl_Conditionnement) {
        QWidget* groupe = nouveau;
        if (dans(ancien, groupe)) {
            (groupe == f.pnl_Type ? static_cast<QWidget*>(f.lst_region) : f.pnl_Type)
                ->setFocus(Qt::BacktabFocusReason);
            return;
        }
        QWidget* cible = groupe == f.pnl_Type ? static_cast<QWidget*>(f.optType1) : f.optConditionnement1;
        for (QObject* child : groupe->children()) {
            if (auto* o = qobject_cast<QRadioButton*>(child); o && o->isChecked()) {
                cible = o;
                break;
            }
        }
        cible->setFocus(Qt::TabFocusReason);
        return;
    }
    if (nouveau != rechercheNom->lstRecherche && nouveau != rechercheNom->txtRecherche) {
        rechercheNom->pnlRecherche->hide();
    }
    if (nouveau != f.txt_PositionEntree && nouveau != f.btn_PositionEntreeOuvre &&
        nouveau != f.btn_PositionSortieOuvre && nouveau != f.txt_PositionSortie) {
        f.plan->CachePopup();
        f.btn_PositionEntreeOuvre->setChecked(false);
        f.btn_PositionSortieOuvre->setChecked(false);
    }
    if (nouveau->parentWidget() != pnlOutils) {
        etat_.DernierChampSaisie = nouveau;
    }
}

void TfrmSaisie::RetabliBoutonsStandard() {
    for (ui::FlatSpeedButton* b : {btn_supprimer, btn_tous, btn_sauver, btn_rechercher}) {
        b->show();
    }
    for (ui::FlatSpeedButton* b : {btn_supprimerTout, btn_epuise, btn_dupliquer, btn_rechercherIncremental}) {
        b->hide();
    }
    etat_.ToucheCtrl = false;
}

bool TfrmSaisie::FormKeyDown(QKeyEvent* e) {
    const int key = e->key();
    if (key == Qt::Key_Control) {
        if (!etat_.ToucheCtrl) {
            for (ui::FlatSpeedButton* b : {btn_supprimer, btn_tous, btn_sauver, btn_rechercher}) {
                b->hide();
            }
            for (ui::FlatSpeedButton* b :
                 {btn_supprimerTout, btn_epuise, btn_dupliquer, btn_rechercherIncremental}) {
                b->show();
            }
            etat_.ToucheCtrl = true;
        }
        etat_.RaccourciTraite = false;
        return false;
    }
    if (key == Qt::Key_F1) {
        btn_aide->click();
        etat_.RaccourciTraite = false;
        return true;
    }
    const Qt::KeyboardModifiers modificateurs = e->modifiers() & ~Qt::KeypadModifier;
    if (modificateurs == Qt::ControlModifier) {
        const std::pair<int, ui::FlatSpeedButton*> raccourcis[] = {
            {Qt::Key_0, btn_epuise}, {Qt::Key_A, btn_appellations}, {Qt::Key_E, btn_etats},
            {Qt::Key_G, btn_graph},  {Qt::Key_N, btn_Nouveau},      {Qt::Key_O, btn_options},
            {Qt::Key_P, btn_plan},   {Qt::Key_Q, btn_quitter},      {Qt::Key_R, btn_rechercher},
            {Qt::Key_S, btn_sauver}, {Qt::Key_T, btn_tous},         {Qt::Key_U, btn_supprimer}};
        for (const auto& [touche, bouton] : raccourcis) {
            if (key == touche) {
                RetabliBoutonsStandard();
                bouton->click();
                etat_.RaccourciTraite = true;
                return true;
            }
        }
    }
    etat_.RaccourciTraite = false;
    if (key == Qt::Key_Backtab) {
        // Shift+Tab from a page's first field goes back through the page tabs.
        const FicheVin& f = *fiche;
        QWidget* courant = controle(QApplication::focusWidget());
        if (courant == f.champs[1].lst || courant == f.champs[1].txt || courant == f.txt_robe ||
            courant == f.txt_DateEntree || courant == f.txt_DateSortie) {
            f.tab_vin->tabBar()->setFocus(Qt::BacktabFocusReason);
            return true;
        }
    }
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) && modificateurs == Qt::NoModifier) {
        if (auto* bouton = qobject_cast<QPushButton*>(QApplication::focusWidget());
            bouton && bouton->window() == this && bouton != btnFocus) {
            bouton->click();
            return true;
        }
    }
    return false;
}

bool TfrmSaisie::eventFilter(QObject* watched, QEvent* event) {
    auto* w = qobject_cast<QWidget*>(watched);
    if (!w || w->window() != this) {
        return QMainWindow::eventFilter(watched, event);
    }
    switch (event->type()) {
        case QEvent::KeyPress:
            if (FormKeyDown(static_cast<QKeyEvent*>(event))) {
                return true;
            }
            break;
        case QEvent::KeyRelease:
            if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Control) {
                RetabliBoutonsStandard();
            }
            break;
        case QEvent::Enter:
            if (!w->toolTip().isEmpty()) {
                infos->AfficheAide(w->toolTip());
            }
            break;
        case QEvent::ToolTip: {
            // Hints are written "short|long": the tooltip shows the short part.
            const QString court = ui::shortHint(w->toolTip()).trimmed();
            if (court.isEmpty()) {
                QToolTip::hideText();
            } else {
                QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), court, w, {}, 10000);
            }
            return true;
        }
        default:
            break;
    }
    return QMainWindow::eventFilter(watched, event);
}

void TfrmSaisie::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && !isActiveWindow()) {
        RetabliBoutonsStandard();
    }
    QMainWindow::changeEvent(event);
}

void TfrmSaisie::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    rechercheNom->PlaceSuggestions();
    infos->DisposeStatistiques();
}

void TfrmSaisie::ChargeParamPerso() {
    SettingsStore store(SettingsRoot::CurrentUser);
    const bool ouverte = store.openKey(SettingsStore::userKey(), true);
    const auto lit = [&store, ouverte](const char* nom) {
        return ouverte ? store.readString(QString::fromLatin1(nom)) : QString();
    };

    const QString ecran = lit("Ecran");
    if (ecran.isEmpty()) {
        resize(minimumSize());
        const QRect ecranDispo = screen() ? screen()->availableGeometry() : QRect(0, 0, 800, 600);
        move(std::max(0, ecranDispo.x() + (ecranDispo.width() - width()) / 2),
             std::max(0, ecranDispo.y() + (ecranDispo.height() - height()) / 2));
    } else if (ecran == QLatin1String("1")) {
        maximiseAuDemarrage_ = true;
    } else {
        const QStringList lignes = ecran.split(QLatin1Char('\r'));
        int valeurs[4] = {0, 0, 0, 0};
        bool ok = lignes.size() >= 4;
        for (int i = 0; ok && i < 4; ++i) {
            valeurs[i] = lignes[i].trimmed().toInt(&ok);
        }
        if (ok) {
            resize(valeurs[2], valeurs[3]);
            move(valeurs[1], valeurs[0]);
        } else {
            maximiseAuDemarrage_ = true;
        }
    }

    const QStringList epuises = lit("Epuises").split(QLatin1Char('\r'));
    const bool trois = epuises.size() >= 3;
    rechercheNom->mnuVinsEpuisesRechNom->setChecked(trois && DonneBool(epuises[0]));
    rechercheNom->mnuVinsEpuisesRechMulti->setChecked(trois && DonneBool(epuises[1]));
    rechercheNom->mnuVinsEpuisesClassements->setChecked(trois && DonneBool(epuises[2]));

    bool ok = false;
    const int splitter = lit("Splitter").toInt(&ok);
    hauteurArbre_ = ok && splitter > 0 ? splitter : 197;
    listeVins->AfficheEnTetes(DonneBool(lit("EnTetesListeSelection")));
    const int mois = lit("NbMoisGraph").toInt(&ok);
    infos->statistiques->txtNbMoisGraph->setValue(ok ? mois : 18);
    listeVins->ChargeColonnes(lit("ColonnesListeSelection"));
    etiquette_ = lit("Etiquette");
    rechercheNom->MajImageRecherche();
}

void TfrmSaisie::SauveParamPerso() {
    SettingsStore store(SettingsRoot::CurrentUser);
    if (!store.openKey(SettingsStore::userKey(), true)) {
        return;
    }
    const auto ecrit = [&store](const char* nom, const QString& valeur) {
        store.writeString(QString::fromLatin1(nom), valeur);
    };
    if (isMinimized()) {
        ecrit("Ecran", QString());
    } else if (isMaximized()) {
        ecrit("Ecran", QStringLiteral("1"));
    } else {
        ecrit("Ecran", QString::number(y()) + QLatin1Char('\r') + QString::number(x()) + QLatin1Char('\r') +
                           QString::number(width()) + QLatin1Char('\r') + QString::number(height()));
    }
    ecrit("Epuises", DonneBoolSQL(rechercheNom->mnuVinsEpuisesRechNom->isChecked()) + QLatin1Char('\r') +
                         DonneBoolSQL(rechercheNom->mnuVinsEpuisesRechMulti->isChecked()) +
                         QLatin1Char('\r') +
                         DonneBoolSQL(rechercheNom->mnuVinsEpuisesClassements->isChecked()));
    const int arbreHauteur = splitNavig->isVisible() ? arbre->treIndexes->height() : hauteurArbre_;
    ecrit("Splitter", QString::number(arbreHauteur));
    ecrit("EnTetesListeSelection", DonneBoolSQL(listeVins->EnTetesAffiches()));
    ecrit("ChoixBase", DonneBoolSQL(programme().ChoixBaseDemarrage));
    ecrit("LastBase", programme().DerniereBase);
    ecrit("NbMoisGraph", infos->statistiques->txtNbMoisGraph->text());
    if (!etiquette_.isEmpty()) {
        ecrit("Etiquette", etiquette_);
    }
    ecrit("ColonnesListeSelection", listeVins->TexteColonnes());
}

void TfrmSaisie::relieActions() {
    const std::pair<ui::FlatSpeedButton*, void (TfrmSaisie::*)()> actions[] = {
        {btn_Nouveau, &TfrmSaisie::btn_NouveauClick},
        {btn_sauver, &TfrmSaisie::btn_sauverClick},
        {btn_dupliquer, &TfrmSaisie::btn_dupliquerClick},
        {btn_supprimer, &TfrmSaisie::btn_supprimerClick},
        {btn_supprimerTout, &TfrmSaisie::btn_supprimerToutClick}};
    for (const auto& [bouton, action] : actions) {
        bouton->setEnabled(true);
        connect(bouton, &QToolButton::clicked, this, action);
    }
}

void TfrmSaisie::closeEvent(QCloseEvent* event) {
    if (!FormCloseQuery()) {
        event->ignore();
        return;
    }
    SauveParamPerso();
    QMainWindow::closeEvent(event);
}

}  // namespace vinorium::card
