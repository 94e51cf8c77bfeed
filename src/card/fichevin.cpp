#include "card/fichevin.h"

#include "data/dialogservice.h"
#include "data/engine/query.h"
#include "data/programme.h"
#include "data/requetes.h"
#include "plan/planfiche.h"
#include "ui/controles.h"
#include "ui/flatcontrols.h"
#include "ui/theme.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>

namespace vinorium::card {

namespace {

const QString kHintPerso = QStringLiteral(
    "Champ personnalisé. Vous pouvez paramétrer le nom de ce champ dans l'écran des options, onglet "
    "\"Champs personnalisés\")");
const QString kHintDegustation = QStringLiteral("Appréciation de dégustation");

// Height of every one-line entry field of the card.
int hauteurChamp() {
    static const int hauteur = ui::FlatEdit().sizeHint().height();
    return hauteur;
}

ui::FlatEdit* edit(QWidget* parent, const char* nom, int limite, const QString& hint) {
    auto* e = new ui::FlatEdit(parent);
    e->setObjectName(QString::fromLatin1(nom));
    e->setMaxLength(limite);
    e->setToolTip(hint);
    return e;
}

// A short edit for years and counts: as wide as its limit asks.
ui::FlatEdit* editCourt(QWidget* parent, const char* nom, int limite, const QString& hint, int largeur) {
    auto* e = edit(parent, nom, limite, hint);
    e->setFixedWidth(largeur);
    return e;
}

ui::FlatComboBox* combo(QWidget* parent, const char* nom, int limite, const QString& hint) {
    auto* c = new ui::FlatComboBox(parent);
    c->setObjectName(QString::fromLatin1(nom));
    c->setEditable(true);
    c->setInsertPolicy(QComboBox::NoInsert);
    c->lineEdit()->setMaxLength(limite);
    c->setToolTip(hint);
    c->setMinimumContentsLength(6);
    c->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    c->setMinimumWidth(60);
    return c;
}

// A memo of one line: Tab moves on, no scroll bars, limited length.
ui::FlatMemo* memo(QWidget* parent, const char* nom, int limite, const QString& hint) {
    auto* m = new ui::FlatMemo(parent);
    m->setObjectName(QString::fromLatin1(nom));
    m->setToolTip(hint);
    m->setTabChangesFocus(true);
    m->setLineWrapMode(QPlainTextEdit::NoWrap);
    m->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m->setFixedHeight(hauteurChamp());
    m->setMinimumWidth(60);
    m->document()->setDocumentMargin(1);
    QObject::connect(m, &QPlainTextEdit::textChanged, m, [m, limite] {
        const QString texte = m->toPlainText();
        if (texte.size() > limite) {
            m->setPlainText(texte.left(limite));
            m->moveCursor(QTextCursor::End);
        }
    });
    return m;
}

ui::FlatButton* petitBouton(QWidget* parent, const char* nom, const QString& texte, const QString& hint) {
    auto* b = new ui::FlatButton(texte, parent);
    b->setObjectName(QString::fromLatin1(nom));
    b->setToolTip(hint);
    b->setFocusPolicy(Qt::NoFocus);
    b->setFixedSize(22, hauteurChamp());
    return b;
}

// The "..." button of a field: opens the memo editor.
ui::FlatButton* points(QWidget* parent, const char* nom) {
    auto* b = petitBouton(parent, nom, QStringLiteral("…"),
                          QStringLiteral("Editer|Ouvre une fenêtre d'édition du texte de la zone."));
    return b;
}

// A search comparator: empty until the search gives it an operator.
ui::FlatButton* comparateur(QWidget* parent, const char* nom) {
    return petitBouton(
        parent, nom, QString(),
        QStringLiteral("Opérateur de recherche|Cliquer pour changer l'opérateur de comparaison "
                       "utilisé par la recherche sur ce champ."));
}

QLabel* etiquette(QWidget* parent, const QString& texte, QWidget* buddy) {
    auto* l = new QLabel(texte, parent);
    l->setBuddy(buddy);
    return l;
}

// A field with the buttons beside it, as one cell of a grid.
QHBoxLayout* ligne(std::initializer_list<QWidget*> widgets, bool etire = false) {
    auto* h = new QHBoxLayout;
    h->setContentsMargins(0, 0, 0, 0);
    h->setSpacing(2);
    for (QWidget* w : widgets) {
        h->addWidget(w);
    }
    if (etire) {
        h->addStretch(1);
    }
    return h;
}

ui::FlatRadioButton* option(QWidget* parent, const char* nom, const QString& texte) {
    auto* o = new ui::FlatRadioButton(texte, parent);
    o->setObjectName(QString::fromLatin1(nom));
    return o;
}

QString sansEt(QString texte) {
    return texte.remove(QLatin1Char('&'));
}

// Paints every cell of a movement list: the selected row on the highlight
// colour in white, the others white with black text, the text one pixel right
// of and below the cell's corner.
class PeintreMouvement final : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const bool choisie = option.state & QStyle::State_Selected;
        painter->save();
        painter->fillRect(option.rect, choisie ? ui::kCouleurSurbrillance : QColor(Qt::white));
        painter->setPen(choisie ? QColor(Qt::white) : QColor(Qt::black));
        painter->drawText(option.rect.adjusted(1, 1, 0, 0), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                          index.data(Qt::DisplayRole).toString());
        painter->restore();
    }
};

// The hint of a movement list follows the pointer: the comment of the row
// under it, then "|" and the list's long hint.
class HintMouvement final : public QObject {
  public:
    HintMouvement(QTableWidget* liste, QString longHint)
        : QObject(liste), liste_(liste), longHint_(std::move(longHint)) {}

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::MouseMove) {
            const int r = liste_->rowAt(static_cast<QMouseEvent*>(event)->position().toPoint().y());
            const QTableWidgetItem* commentaire = r >= 0 ? liste_->item(r, 3) : nullptr;
            liste_->setToolTip((commentaire ? commentaire->text() : QString()) + QLatin1Char('|') +
                               longHint_);
        } else if (event->type() == QEvent::ToolTip) {
            return true;  // the hint shows in the help tab, not as a tooltip
        }
        return false;
    }

  private:
    QTableWidget* liste_;
    QString longHint_;
};

QTableWidget* grille(QWidget* parent, const char* nom, const QString& hint) {
    auto* g = new QTableWidget(1, 4, parent);
    g->setItemDelegate(new PeintreMouvement(g));
    g->viewport()->setMouseTracking(true);
    g->setObjectName(QString::fromLatin1(nom));
    g->setToolTip(hint);
    g->horizontalHeader()->hide();
    g->verticalHeader()->hide();
    g->verticalHeader()->setDefaultSectionSize(16);
    g->verticalHeader()->setMinimumSectionSize(16);
    g->setSelectionBehavior(QAbstractItemView::SelectRows);
    g->setSelectionMode(QAbstractItemView::SingleSelection);
    g->setEditTriggers(QAbstractItemView::NoEditTriggers);
    g->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    g->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    const int largeurs[] = {83, 34, 43, 99};
    for (int i = 0; i < 4; ++i) {
        g->setColumnWidth(i, largeurs[i]);
    }
    g->horizontalHeader()->setStretchLastSection(true);
    g->setMinimumWidth(83 + 34 + 43 + 99 + 20);
    g->setMinimumHeight(16 * 3 + 4);
    return g;
}

}  // namespace

QWidget* ChampPerso::visible() const {
    return lst->isHidden() ? static_cast<QWidget*>(txt) : static_cast<QWidget*>(lst);
}

FicheVin::FicheVin(EtatSaisie& etat, QWidget* parent) : QWidget(parent), etat_(etat) {
    setObjectName(QStringLiteral("pnlSaisie"));
    construitIdentite();
    relieChangements();
}

FicheVin::~FicheVin() = default;

void FicheVin::construitIdentite() {
    auto* fond = new QVBoxLayout(this);
    fond->setContentsMargins(0, 4, 0, 0);
    fond->setSpacing(4);

    auto* identite = new QGridLayout;
    identite->setHorizontalSpacing(6);
    identite->setVerticalSpacing(3);
    fond->addLayout(identite);

    lst_nom =
        combo(this, "lst_nom", 255,
              QStringLiteral("Nom du vin. Pour une recherche, une saisie partielle du nom est possible."));
    btn_millesime_comp = comparateur(this, "btn_millesime_comp");
    txt_millesime = editCourt(
        this, "txt_millesime", 4,
        QStringLiteral("Millésime. Année sur 4 chiffres. La saisie est complétée automatiquement."), 48);
    lst_appellation = combo(
        this, "lst_appellation", 50,
        QStringLiteral("Appellation. Saisie obligatoire. Choisir une appellation dans la liste déroulante ou "
                       "taper son nom directement. Si l'appellation n'existe pas, un message demande "
                       "confirmation pour la création."));
    lst_region =
        combo(this, "lst_region", 50,
              QStringLiteral(
                  "Région. Après la saisie de l'appellation, la région associée apparaît automatiquement. "
                  "La saisie directe de la région est utile pour rechercher tous les vins d'une région "
                  "donnée."));
    btn_QuantiteRestante_comp = comparateur(this, "btn_QuantiteRestante_comp");
    txt_QuantiteRestante =
        editCourt(this, "txt_QuantiteRestante", 3,
                  QStringLiteral("Quantité de bouteilles restant en cave. Valeur calculée automatiquement à "
                                 "partir des entrées et sorties de bouteilles."),
                  40);
    txt_QuantiteRestante->setReadOnly(true);
    txt_QuantiteRestante->setFocusPolicy(Qt::ClickFocus);

    pnl_Type = new ui::FlatPanel(this);
    pnl_Type->setObjectName(QStringLiteral("pnl_Type"));
    pnl_Type->setToolTip(QStringLiteral("Type de vin. Saisie obligatoire."));
    pnl_Type->setFocusPolicy(Qt::TabFocus);
    optType1 = option(pnl_Type, "optType1", QStringLiteral("&Rouge"));
    optType2 = option(pnl_Type, "optType2", QStringLiteral("R&osé"));
    optType3 = option(pnl_Type, "optType3", QStringLiteral("&Blanc"));
    optType4 = option(pnl_Type, "optType4", QStringLiteral("&Moelleux"));
    optType5 = option(pnl_Type, "optType5", QStringLiteral("&Effervescent"));
    FlatRadioButton1 = option(pnl_Type, "FlatRadioButton1", QStringLiteral("&Autre"));
    auto* types = new QHBoxLayout(pnl_Type);
    types->setContentsMargins(6, 2, 6, 2);
    for (auto* o : {optType1, optType2, optType3, optType4, optType5, FlatRadioButton1}) {
        types->addWidget(o);
        types->addStretch(1);
    }

    pnl_Conditionnement = new ui::FlatPanel(this);
    pnl_Conditionnement->setObjectName(QStringLiteral("pnl_Conditionnement"));
    pnl_Conditionnement->setToolTip(QStringLiteral("Conditionnement du vin."));
    pnl_Conditionnement->setFocusPolicy(Qt::TabFocus);
    optConditionnement1 =
        option(pnl_Conditionnement, "optConditionnement1", QStringLiteral("S&tandard (75cl)"));
    optConditionnement2 =
        option(pnl_Conditionnement, "optConditionnement2", QStringLiteral("&Fillette (37,5cl)"));
    optConditionnement3 = option(pnl_Conditionnement, "optConditionnement3", QStringLiteral("&50 cl"));
    optConditionnement4 =
        option(pnl_Conditionnement, "optConditionnement4", QStringLiteral("Ma&gnum (150cl)"));
    optConditionnement5 = option(pnl_Conditionnement, "optConditionnement5", QStringLiteral("A&utre"));
    auto* conditionnements = new QHBoxLayout(pnl_Conditionnement);
    conditionnements->setContentsMargins(6, 2, 6, 2);
    for (auto* o : {optConditionnement1, optConditionnement2, optConditionnement3, optConditionnement4,
                    optConditionnement5}) {
        conditionnements->addWidget(o);
        conditionnements->addStretch(1);
    }

    btn_prix_comp = comparateur(this, "btn_prix_comp");
    txt_prix = editCourt(
        this, "txt_prix", 6,
        QStringLiteral("Prix d'une bouteille, ou d'un litre de vin si la case 'Vrac' est cochée"), 64);
    txt_classement = memo(this, "txt_classement", 255, QStringLiteral("Classement du vin."));
    btn_classement = points(this, "btn_classement");
    txt_cuvee = memo(this, "txt_cuvee", 255, QStringLiteral("Cuvée du vin."));
    btn_cuvee = points(this, "btn_cuvee");
    lst_recoltant = combo(
        this, "lst_recoltant", 255,
        QStringLiteral("Récoltant. Dans les listes de recherche, les états, et les graphiques, le récoltant "
                       "apparaît comme nom du vin si le champ 'Nom' est laissé vide."));
    btn_recoltant = points(this, "btn_recoltant");

    auto& perso1 = champs[0];
    perso1.lab = new QLabel(QStringLiteral("Origine"), this);
    perso1.lab->setObjectName(QStringLiteral("labChampPerso1"));
    perso1.lst = combo(this, "lst_ChampPerso1", 255, kHintPerso);
    perso1.txt = memo(this, "txt_ChampPerso1", 255, kHintPerso);
    perso1.txt->hide();
    perso1.btn = points(this, "btn_ChampPerso1");
    perso1.btn->setToolTip(kHintPerso);
    perso1.lab->setBuddy(perso1.lst);

    const auto bascule = [this](const char* nom, const QString& hint) {
        auto* b = new ui::FlatSpeedButton(this);
        b->setObjectName(QString::fromLatin1(nom));
        b->setToolTip(hint);
        b->setFixedSize(hauteurChamp(), hauteurChamp());
        QFont f = b->font();
        f.setBold(true);
        f.setPointSizeF(f.pointSizeF() * 1.2);
        b->setFont(f);
        ui::SetTag(b, 1);
        return b;
    };
    btn_offert = bascule("btn_offert", QStringLiteral("Indicateur de vin offert"));
    btn_vrac = bascule("btn_vrac", QStringLiteral("Indicateur de vin acheté en vrac et mis en bouteilles"));

    txt_etiquette = edit(this, "txt_etiquette", 255, QString());
    txt_etiquette->setAccessibleName(QStringLiteral("Fichier de l'étiquette"));
    txt_etiquette->hide();

    // The label picture and the drinking-window indicator, side by side.
    auto* boiteImage = new QWidget(this);
    boiteImage->setObjectName(QStringLiteral("pnlEtiquette"));
    boiteImage->setFixedSize(50, 35);
    const auto image = [boiteImage](const char* nom, const QString& hint) {
        auto* l = new QLabel(boiteImage);
        l->setObjectName(QString::fromLatin1(nom));
        l->setGeometry(0, 0, 50, 35);
        l->setAlignment(Qt::AlignCenter);
        l->setToolTip(hint);
        l->setFrameShape(QFrame::Box);
        return l;
    };
    imgEtiquetteDefaut = image(
        "imgEtiquetteDefaut",
        QStringLiteral("Cliquer pour choisir une image|Vous pouvez lier la fiche du vin à un fichier image "
                       "représentant par exemple l'etiquette."));
    imgEtiquetteDefaut->setText(QStringLiteral("?"));
    imgEtiquetteAbsent = image("imgEtiquetteAbsent", QStringLiteral("Image introuvable"));
    imgEtiquetteAbsent->hide();
    imgEtiquette = image("imgEtiquette", QStringLiteral("Etiquette du vin"));
    imgEtiquette->hide();
    btn_Bouteille = new ui::FlatButton(this);
    btn_Bouteille->setObjectName(QStringLiteral("btn_Bouteille"));
    btn_Bouteille->setFixedSize(35, 35);
    btn_Bouteille->setFocusPolicy(Qt::NoFocus);
    btn_Bouteille->setToolTip(QStringLiteral("Apogée|Indicateur de l'apogée du vin."));

    auto* lblNom = etiquette(this, QStringLiteral("Nom"), lst_nom);
    auto* lblMillesime = etiquette(this, QStringLiteral("Millésime"), txt_millesime);
    auto* lblAppellation = etiquette(this, QStringLiteral("Appellation"), lst_appellation);
    auto* lblRegion = etiquette(this, QStringLiteral("Région / Pays"), lst_region);
    auto* lblPrix = etiquette(this, QStringLiteral("Prix"), txt_prix);
    auto* lblReste = etiquette(this, QStringLiteral("Reste en cave"), txt_QuantiteRestante);
    auto* lblClassement = etiquette(this, QStringLiteral("Classement"), txt_classement);
    auto* lblCuvee = etiquette(this, QStringLiteral("Cuvée"), txt_cuvee);
    auto* lblRecoltant = etiquette(this, QStringLiteral("Récoltant"), lst_recoltant);
    auto* lblOffert = etiquette(this, QStringLiteral("Offert"), btn_offert);
    auto* lblVrac = etiquette(this, QStringLiteral("Vrac"), btn_vrac);
    auto* lblImage = new QLabel(QStringLiteral("Image"), this);
    auto* lblApogee = etiquette(this, QStringLiteral("Apogée"), btn_Bouteille);
    lblImage->setAlignment(Qt::AlignCenter);
    lblApogee->setAlignment(Qt::AlignCenter);

    identite->addWidget(lblNom, 0, 0);
    identite->addWidget(lst_nom, 0, 1);
    identite->addWidget(lblMillesime, 0, 2);
    identite->addLayout(ligne({btn_millesime_comp, txt_millesime}, true), 0, 3);
    identite->addWidget(lblAppellation, 1, 0);
    identite->addWidget(lst_appellation, 1, 1);
    identite->addWidget(lblRegion, 1, 2);
    identite->addWidget(lst_region, 1, 3);
    identite->addWidget(pnl_Type, 2, 0, 1, 5);
    identite->addWidget(pnl_Conditionnement, 3, 0, 1, 5);
    identite->addWidget(lblPrix, 4, 0);
    identite->addLayout(ligne({btn_prix_comp, txt_prix}, true), 4, 1);
    identite->addWidget(lblReste, 4, 2);
    auto* reste = ligne({btn_QuantiteRestante_comp, txt_QuantiteRestante}, true);
    reste->addWidget(lblOffert);
    reste->addWidget(btn_offert);
    reste->addSpacing(8);
    reste->addWidget(lblVrac);
    reste->addWidget(btn_vrac);
    identite->addLayout(reste, 4, 3, 1, 2);
    identite->addWidget(lblClassement, 5, 0);
    identite->addLayout(ligne({txt_classement, btn_classement}), 5, 1);
    identite->addWidget(lblCuvee, 5, 2);
    identite->addLayout(ligne({txt_cuvee, btn_cuvee}), 5, 3, 1, 2);
    identite->addWidget(lblRecoltant, 6, 0);
    identite->addLayout(ligne({lst_recoltant, btn_recoltant}), 6, 1);
    identite->addWidget(perso1.lab, 6, 2);
    identite->addLayout(ligne({perso1.lst, perso1.txt, perso1.btn}), 6, 3, 1, 2);

    auto* indicateurs = new QGridLayout;
    indicateurs->setContentsMargins(0, 0, 0, 0);
    indicateurs->setSpacing(1);
    indicateurs->addWidget(lblImage, 0, 0);
    indicateurs->addWidget(lblApogee, 0, 1);
    indicateurs->addWidget(boiteImage, 1, 0, Qt::AlignCenter);
    indicateurs->addWidget(btn_Bouteille, 1, 1, Qt::AlignCenter);
    identite->addLayout(indicateurs, 0, 4, 2, 1);
    identite->setColumnStretch(1, 3);
    identite->setColumnStretch(3, 2);

    tab_vin = new ui::FlatTabControl(this);
    tab_vin->setObjectName(QStringLiteral("tab_vin"));
    tab_vin->tabBar()->setFocusPolicy(Qt::TabFocus);
    tab_vin->setToolTip(QStringLiteral("Onglets de la fiche|Cliquer sur un onglet pour afficher sa page."));
    pnl_cave = new QWidget;
    pnl_cave->setObjectName(QStringLiteral("pnl_cave"));
    pnl_degustation = new QWidget;
    pnl_degustation->setObjectName(QStringLiteral("pnl_degustation"));
    tab_vin->addTab(pnl_cave, QStringLiteral("&Cave"));
    tab_vin->addTab(pnl_degustation, QStringLiteral("&Degustation"));
    construitCave();
    construitDegustation();
    pnl_entrees = construitMouvements(true);
    pnl_sorties = construitMouvements(false);
    tab_vin->addTab(pnl_entrees, QStringLiteral("&Entrées"));
    tab_vin->addTab(pnl_sorties, QStringLiteral("&Sorties"));
    fond->addWidget(tab_vin, 1);

    // Tab order of the description: the identity part, then the pages.
    QList<QWidget*> ordre{lst_nom, txt_millesime, lst_appellation, lst_region, pnl_Type};
    ordre << optType1 << optType2 << optType3 << optType4 << optType5 << FlatRadioButton1
          << pnl_Conditionnement << optConditionnement1 << optConditionnement2 << optConditionnement3
          << optConditionnement4 << optConditionnement5 << txt_prix << txt_classement << txt_cuvee
          << lst_recoltant << perso1.lst << perso1.txt << tab_vin << champs[1].lst << champs[1].txt
          << champs[2].lst << champs[2].txt << txt_robe << txt_nez << txt_bouche << lst_qualitePrix
          << txt_note << txt_attendre << txt_boireAvant << champs[3].lst << champs[3].txt << champs[4].lst
          << champs[4].txt << txt_DateEntree << txt_QuantiteEntree << txt_PositionEntree
          << txt_CommentaireEntree << btn_EntreeCave << btn_ModifEntreeCave << btn_SupprEntreeCave
          << lst_entrees << txt_DateSortie << txt_QuantiteSortie << txt_PositionSortie
          << txt_CommentaireSortie << btn_SortieCave << btn_ModifSortieCave << btn_SupprSortieCave
          << lst_sorties;
    for (qsizetype i = 1; i < ordre.size(); ++i) {
        setTabOrder(ordre[i - 1], ordre[i]);
    }
}

void FicheVin::construitCave() {
    auto* page = new QVBoxLayout(pnl_cave);
    page->setContentsMargins(4, 4, 4, 4);
    page->setSpacing(3);
    plan = new plan::PlanFiche(pnl_cave, tab_vin);
    page->addWidget(plan->pnlPlan, 1);

    auto* bas = new QGridLayout;
    bas->setHorizontalSpacing(6);
    const char* const defauts[] = {"Commentaire", "Précision"};
    for (int i = 1; i <= 2; ++i) {
        ChampPerso& c = champs[static_cast<std::size_t>(i)];
        const QByteArray n = QByteArray::number(i + 1);
        c.lab = new QLabel(QString::fromUtf8(defauts[i - 1]), pnl_cave);
        c.lab->setObjectName(QStringLiteral("labChampPerso") + QString::fromLatin1(n));
        c.lst = combo(pnl_cave, ("lst_ChampPerso" + n).constData(), 255, kHintPerso);
        c.txt = memo(pnl_cave, ("txt_ChampPerso" + n).constData(), 255, kHintPerso);
        c.txt->hide();
        c.btn = points(pnl_cave, ("btn_ChampPerso" + n).constData());
        c.btn->setToolTip(kHintPerso);
        c.lab->setBuddy(c.lst);
        bas->addWidget(c.lab, 0, (i - 1) * 2);
        bas->addLayout(ligne({c.lst, c.txt, c.btn}), 0, (i - 1) * 2 + 1);
        bas->setColumnStretch((i - 1) * 2 + 1, 1);
    }
    page->addLayout(bas);
}

void FicheVin::construitDegustation() {
    QWidget* p = pnl_degustation;
    auto* grille = new QGridLayout(p);
    grille->setContentsMargins(4, 6, 4, 4);
    grille->setHorizontalSpacing(6);
    grille->setVerticalSpacing(4);

    txt_robe = memo(p, "txt_robe", 255, kHintDegustation);
    btn_robe = points(p, "btn_robe");
    txt_nez = memo(p, "txt_nez", 255, kHintDegustation);
    btn_nez = points(p, "btn_nez");
    txt_bouche = memo(p, "txt_bouche", 255, kHintDegustation);
    btn_bouche = points(p, "btn_bouche");
    lst_qualitePrix = combo(p, "lst_qualitePrix", 255, kHintDegustation);
    lst_qualitePrix->addItems({QStringLiteral("Excellent"), QStringLiteral("Bon"), QStringLiteral("Moyen"),
                               QStringLiteral("Mauvais")});
    lst_qualitePrix->setCurrentIndex(-1);
    btn_qualitePrix = points(p, "btn_qualitePrix");
    txt_note = memo(p, "txt_note", 255, kHintDegustation);
    btn_note = points(p, "btn_note");
    btn_attendre_comp = comparateur(p, "btn_attendre_comp");
    txt_attendre =
        editCourt(p, "txt_attendre", 4, QStringLiteral("Année à attendre avant de boire le vin"), 48);
    btn_boireAvant_comp = comparateur(p, "btn_boireAvant_comp");
    txt_boireAvant = editCourt(
        p, "txt_boireAvant", 4,
        QStringLiteral(
            "Année limite de consommation. Cette donnée est importante car elle permet de définir "
            "l'état des icones \"bouteilles\" (debout / incliné / couché) que l'on retrouve dans les "
            "listes de vins et les états, en fonction des valeurs entrées dans les options."),
        48);

    const char* const defauts[] = {"Commentaire 1", "Commentaire 2"};
    for (int i = 3; i <= 4; ++i) {
        ChampPerso& c = champs[static_cast<std::size_t>(i)];
        const QByteArray n = QByteArray::number(i + 1);
        c.lab = new QLabel(QString::fromUtf8(defauts[i - 3]), p);
        c.lab->setObjectName(QStringLiteral("labChampPerso") + QString::fromLatin1(n));
        c.lst = combo(p, ("lst_ChampPerso" + n).constData(), 255, kHintPerso);
        c.txt = memo(p, ("txt_ChampPerso" + n).constData(), 255, kHintPerso);
        c.txt->hide();
        c.btn = points(p, ("btn_ChampPerso" + n).constData());
        c.btn->setToolTip(kHintPerso);
        c.lab->setBuddy(c.lst);
    }

    grille->addWidget(etiquette(p, QStringLiteral("Robe"), txt_robe), 0, 0);
    grille->addLayout(ligne({txt_robe, btn_robe}), 0, 1);
    grille->addWidget(etiquette(p, QStringLiteral("Nez"), txt_nez), 0, 2);
    grille->addLayout(ligne({txt_nez, btn_nez}), 0, 3);
    grille->addWidget(etiquette(p, QStringLiteral("Bouche"), txt_bouche), 1, 0);
    grille->addLayout(ligne({txt_bouche, btn_bouche}), 1, 1);
    grille->addWidget(etiquette(p, QStringLiteral("Qualite/Prix"), lst_qualitePrix), 1, 2);
    grille->addLayout(ligne({lst_qualitePrix, btn_qualitePrix}), 1, 3);
    grille->addWidget(etiquette(p, QStringLiteral("Note"), txt_note), 2, 0);
    grille->addLayout(ligne({txt_note, btn_note}), 2, 1);
    auto* annees = ligne({btn_attendre_comp, txt_attendre});
    annees->addSpacing(10);
    annees->addWidget(etiquette(p, QStringLiteral("A boire avant"), txt_boireAvant));
    annees->addWidget(btn_boireAvant_comp);
    annees->addWidget(txt_boireAvant);
    annees->addStretch(1);
    grille->addWidget(etiquette(p, QStringLiteral("A attendre"), txt_attendre), 2, 2);
    grille->addLayout(annees, 2, 3);
    grille->addWidget(champs[3].lab, 3, 0);
    grille->addLayout(ligne({champs[3].lst, champs[3].txt, champs[3].btn}), 3, 1);
    grille->addWidget(champs[4].lab, 3, 2);
    grille->addLayout(ligne({champs[4].lst, champs[4].txt, champs[4].btn}), 3, 3);
    grille->setColumnStretch(1, 1);
    grille->setColumnStretch(3, 1);
    grille->setRowStretch(4, 1);
}

QWidget* FicheVin::construitMouvements(bool entree) {
    auto* p = new QWidget;
    p->setObjectName(entree ? QStringLiteral("pnl_entrees") : QStringLiteral("pnl_sorties"));
    const auto nom = [entree](const char* prefixe, const char* suffixe = "") {
        return QByteArray(prefixe) + (entree ? "Entree" : "Sortie") + suffixe;
    };
    auto* date = editCourt(p, nom("txt_Date").constData(), 10,
                           entree ? QStringLiteral("Date d'entrée du ou des bouteilles.")
                                  : QStringLiteral("Date de sortie du ou des bouteilles."),
                           80);
    auto* dateComp = comparateur(p, nom("btn_Date", "_comp").constData());
    auto* quantite = editCourt(p, nom("txt_Quantite").constData(), 3,
                               entree ? QStringLiteral("Quantité de bouteilles entrées.")
                                      : QStringLiteral("Quantité de bouteilles sorties."),
                               36);
    auto* quantiteComp = comparateur(p, nom("btn_Quantite", "_comp").constData());
    auto* position = editCourt(
        p, nom("txt_Position").constData(), 3,
        entree ? QStringLiteral(
                     "Position des bouteilles entrées en cave. Cliquez à droite pour afficher le plan "
                     "de cave et choisir une position.")
               : QStringLiteral(
                     "Position des bouteilles sorties, à choisir parmis les positions occupées par le "
                     "vin, à l'aide du plan de cave qui s'affiche en cliquant à droite."),
        36);
    auto* positionComp = comparateur(p, nom("btn_Position", "_comp").constData());
    auto* ouvre =
        petitBouton(p, nom("btn_Position", "Ouvre").constData(), QStringLiteral("▾"),
                    QStringLiteral("Ce bouton affiche le plan de cave pour sélectionner une position."));
    ouvre->setCheckable(true);
    auto* commentaire = memo(p, nom("txt_Commentaire").constData(), 255,
                             entree ? QStringLiteral("Commentaire optionnel concernant l'entrée de cave.")
                                    : QStringLiteral("Commentaire optionnel concernant la sortie de cave."));
    auto* commentaireBtn = points(p, nom("btn_Commentaire").constData());

    const auto bouton = [p](const QByteArray& n, const QString& texte, const QString& hint) {
        auto* b = new ui::FlatButton(texte, p);
        b->setObjectName(QString::fromLatin1(n));
        b->setToolTip(hint);
        b->setMinimumWidth(136);
        return b;
    };
    const QString quoi = entree ? QStringLiteral("entrée") : QStringLiteral("sortie");
    auto* ajoute =
        bouton(entree ? "btn_EntreeCave" : "btn_SortieCave",
               entree ? QStringLiteral("Entrer des bouteilles") : QStringLiteral("Sortir des bouteilles"),
               QStringLiteral("Insère dans la liste une nouvelle ") + quoi +
                   QStringLiteral(" de cave avec les valeurs saisies dans les champs ci-dessus."));
    auto* modifie = bouton(entree ? "btn_ModifEntreeCave" : "btn_ModifSortieCave", QStringLiteral("Modifier"),
                           QStringLiteral("Modifie l'") + quoi +
                               QStringLiteral(" de cave sélectionnée dans la liste avec les valeurs saisies "
                                              "dans les champs ci-dessus."));
    auto* supprime =
        bouton(entree ? "btn_SupprEntreeCave" : "btn_SupprSortieCave", QStringLiteral("Supprimer"),
               QStringLiteral("Supprime l'") + quoi + QStringLiteral(" de cave sélectionnée dans la liste."));
    auto* liste = grille(
        p, entree ? "lst_entrees" : "lst_sorties",
        entree ? QStringLiteral("|Liste des entrées de cave") : QStringLiteral("Liste des sorties de cave"));
    liste->setAccessibleName(entree ? QStringLiteral("Liste des entrées de cave")
                                    : QStringLiteral("Liste des sorties de cave"));
    liste->viewport()->installEventFilter(new HintMouvement(liste, liste->accessibleName()));
    auto* info = new QLabel(p);
    info->setObjectName(entree ? QStringLiteral("lblEntree") : QStringLiteral("lblSortie"));
    info->setToolTip(entree ? QStringLiteral("Informations sur les bouteilles sorties et restantes.")
                            : QStringLiteral("Informations sur les bouteilles entrées et restantes."));
    info->setWordWrap(true);
    info->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    auto* fond = new QHBoxLayout(p);
    fond->setContentsMargins(4, 6, 4, 4);
    fond->setSpacing(8);
    auto* gauche = new QVBoxLayout;
    gauche->setSpacing(4);
    auto* champs1 = ligne({}, false);
    champs1->setSpacing(2);
    champs1->addWidget(etiquette(p, QStringLiteral("Date"), date));
    champs1->addWidget(dateComp);
    champs1->addWidget(date);
    champs1->addSpacing(6);
    champs1->addWidget(etiquette(p, QStringLiteral("Nb"), quantite));
    champs1->addWidget(quantiteComp);
    champs1->addWidget(quantite);
    champs1->addSpacing(6);
    champs1->addWidget(etiquette(p, QStringLiteral("Pos"), position));
    champs1->addWidget(positionComp);
    champs1->addWidget(position);
    champs1->addWidget(ouvre);
    champs1->addStretch(1);
    auto* champs2 = ligne({});
    champs2->addWidget(etiquette(p, QStringLiteral("Note"), commentaire));
    champs2->addWidget(commentaire, 1);
    champs2->addWidget(commentaireBtn);
    gauche->addLayout(champs1);
    gauche->addLayout(champs2);
    gauche->addWidget(liste, 1);
    fond->addLayout(gauche, 1);
    auto* droite = new QVBoxLayout;
    droite->setSpacing(4);
    droite->addWidget(ajoute);
    droite->addWidget(modifie);
    droite->addWidget(supprime);
    droite->addWidget(info, 1);
    fond->addLayout(droite);

    if (entree) {
        txt_DateEntree = date;
        btn_DateEntree_comp = dateComp;
        txt_QuantiteEntree = quantite;
        btn_QuantiteEntree_comp = quantiteComp;
        txt_PositionEntree = position;
        btn_PositionEntree_comp = positionComp;
        btn_PositionEntreeOuvre = ouvre;
        txt_CommentaireEntree = commentaire;
        btn_CommentaireEntree = commentaireBtn;
        btn_EntreeCave = ajoute;
        btn_ModifEntreeCave = modifie;
        btn_SupprEntreeCave = supprime;
        lst_entrees = liste;
        lblEntree = info;
    } else {
        txt_DateSortie = date;
        btn_DateSortie_comp = dateComp;
        txt_QuantiteSortie = quantite;
        btn_QuantiteSortie_comp = quantiteComp;
        txt_PositionSortie = position;
        btn_PositionSortie_comp = positionComp;
        btn_PositionSortieOuvre = ouvre;
        txt_CommentaireSortie = commentaire;
        btn_CommentaireSortie = commentaireBtn;
        btn_SortieCave = ajoute;
        btn_ModifSortieCave = modifie;
        btn_SupprSortieCave = supprime;
        lst_sorties = liste;
        lblSortie = info;
    }
    return p;
}

QList<ui::FlatButton*> FicheVin::comparateurs() const {
    return {btn_millesime_comp,  btn_prix_comp,           btn_QuantiteRestante_comp, btn_attendre_comp,
            btn_boireAvant_comp, btn_DateEntree_comp,     btn_QuantiteEntree_comp,   btn_PositionEntree_comp,
            btn_DateSortie_comp, btn_QuantiteSortie_comp, btn_PositionSortie_comp};
}

void FicheVin::relieChangements() {
    const auto change = [this] { DetecteChangement(); };
    for (ui::FlatEdit* e :
         {txt_millesime, txt_QuantiteRestante, txt_prix, txt_etiquette, txt_attendre, txt_boireAvant,
          txt_QuantiteEntree, txt_PositionEntree, txt_QuantiteSortie, txt_PositionSortie}) {
        connect(e, &QLineEdit::textChanged, this, change);
    }
    QList<ui::FlatMemo*> memos{
        txt_classement,       txt_cuvee, txt_robe, txt_nez, txt_bouche, txt_note, txt_CommentaireEntree,
        txt_CommentaireSortie};
    QList<ui::FlatComboBox*> combos{lst_nom, lst_appellation, lst_region, lst_recoltant, lst_qualitePrix};
    for (ChampPerso& c : champs) {
        memos << c.txt;
        combos << c.lst;
    }
    for (ui::FlatMemo* m : memos) {
        connect(m, &QPlainTextEdit::textChanged, this, change);
    }
    for (ui::FlatComboBox* c : combos) {
        connect(c, &QComboBox::editTextChanged, this, change);
    }

    // Leaving a list gives the typed text the case of its item.
    for (ui::FlatComboBox* c : combos) {
        c->installEventFilter(this);
    }
    // Leaving a memo copies its text into the list that holds the value.
    for (ChampPerso& c : champs) {
        c.txt->installEventFilter(this);
    }

    relieOptions(pnl_Type);
    relieOptions(pnl_Conditionnement);
    for (ui::FlatSpeedButton* b : {btn_offert, btn_vrac}) {
        connect(b, &QToolButton::clicked, this, [this, b] { btn_OffertClick(b); });
    }
}

void FicheVin::relieOptions(ui::FlatPanel* panel) {
    for (QObject* child : panel->children()) {
        if (auto* o = qobject_cast<ui::FlatRadioButton*>(child)) {
            o->installEventFilter(this);
            connect(o, &QAbstractButton::clicked, this, [this, o] {
                DetecteChangement();
                ui::BasculeOption(o);
            });
        }
    }
}

bool FicheVin::eventFilter(QObject* watched, QEvent* event) {
    if (auto* o = qobject_cast<ui::FlatRadioButton*>(watched)) {
        if (event->type() == QEvent::MouseButtonPress) {
            ui::OptionCochee() = o->isChecked() ? o : nullptr;
        } else if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
            const auto* touche = static_cast<QKeyEvent*>(event);
            if (touche->key() == Qt::Key_Space && touche->modifiers() == Qt::NoModifier) {
                if (event->type() == QEvent::KeyPress && !touche->isAutoRepeat()) {
                    const bool exclusive = o->autoExclusive();
                    o->setAutoExclusive(!o->isChecked() && exclusive);
                    o->setChecked(!o->isChecked());
                    o->setAutoExclusive(exclusive);
                    colorieGroupe(o->parentWidget());
                    DetecteChangement();
                }
                return true;
            }
        }
        return false;
    }
    if (event->type() == QEvent::FocusOut) {
        if (auto* c = qobject_cast<ui::FlatComboBox*>(watched)) {
            ui::AligneSurListe(c);
        } else if (auto* m = qobject_cast<ui::FlatMemo*>(watched)) {
            for (ChampPerso& champ : champs) {
                if (champ.txt == m) {
                    champ.lst->setEditText(m->toPlainText());
                }
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

void FicheVin::DetecteChangement() {
    etat_.FicheModifiee = true;
}

QString FicheVin::LitCoche(const QWidget* panel) {
    QString texte = sansEt(ui::DonneTexteCoche(panel));
    return texte;
}

void FicheVin::EcritCoche(QWidget* panel, const QString& valeur) {
    for (QObject* child : panel->children()) {
        if (auto* o = qobject_cast<ui::FlatRadioButton*>(child)) {
            const bool coche = !valeur.isEmpty() && sansEt(o->text()).contains(valeur);
            const bool exclusive = o->autoExclusive();
            o->setAutoExclusive(false);
            o->setChecked(coche);
            o->setAutoExclusive(exclusive);
        }
    }
    colorieGroupe(panel);
}

void FicheVin::colorieGroupe(QWidget* panel) {
    for (QObject* child : panel->children()) {
        if (auto* o = qobject_cast<ui::FlatRadioButton*>(child)) {
            o->setFontColor(o->isChecked() ? ui::palette().CouleurAccent : ui::palette().CouleurMoyenne);
        }
    }
}

int FicheVin::EtatOption(const QWidget* bouton) {
    return ui::Tag(bouton);
}

void FicheVin::LitOption(ui::FlatSpeedButton* bouton, int etat) {
    ui::SetTag(bouton, etat);
    // A check mark for yes, a cross for no, nothing when unspecified.
    bouton->setText(etat == -1 ? QStringLiteral("✓") : etat == 0 ? QStringLiteral("✗") : QString());
    bouton->setFontColor(etat == -1 ? QColor(128, 0, 0) : QColor(128, 128, 128));
}

void FicheVin::ClickOption(ui::FlatSpeedButton* bouton) {
    const int etat = EtatOption(bouton);
    int suivant;
    if (etat_.ModeNouveau) {
        suivant = etat == 0 ? 1 : etat == 1 ? -1 : 0;
    } else {
        suivant = etat == -1 ? 0 : -1;
    }
    LitOption(bouton, suivant);
}

void FicheVin::btn_OffertClick(ui::FlatSpeedButton* bouton) {
    DetecteChangement();
    ClickOption(bouton);
}

QString FicheVin::FormatePrix(const QString& prix) {
    QString texte = prix;
    texte.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double valeur = texte.toDouble(&ok);
    if (!ok) {
        return prix;
    }
    return QString::number(valeur, 'f', 2).replace(QLatin1Char('.'), QLatin1Char(','));
}

void FicheVin::ChargeChamps(data::Query& q) {
    const auto texte = [&q](const char* colonne) { return q.field(QString::fromLatin1(colonne)).asString(); };
    lst_nom->setEditText(texte("Nom"));
    txt_millesime->setText(texte("Millesime"));
    txt_etiquette->setText(texte("Etiquette"));
    lst_recoltant->setEditText(texte("Recoltant"));
    lst_region->setEditText(texte("Region"));
    lst_appellation->setEditText(texte("Appellation"));
    EcritCoche(pnl_Type, texte("Type"));
    EcritCoche(pnl_Conditionnement, texte("Conditionnement"));
    txt_cuvee->setPlainText(texte("Cuvee"));
    txt_classement->setPlainText(texte("Classement"));
    const QString prix = texte("Prix");
    txt_prix->setText(prix.isEmpty() ? prix : FormatePrix(prix));
    const auto perso = [this, &texte](int i, const char* colonne) {
        ChampPerso& c = champs[static_cast<std::size_t>(i)];
        c.lst->setEditText(texte(colonne));
        c.txt->setPlainText(c.lst->currentText());
    };
    perso(0, "ChampPerso1");
    LitOption(btn_offert, q.field(QStringLiteral("Offert")).asBoolean() ? -1 : 0);
    LitOption(btn_vrac, q.field(QStringLiteral("Vrac")).asBoolean() ? -1 : 0);
    txt_QuantiteRestante->setText(texte("QuantiteRestante"));
    perso(1, "ChampPerso2");
    perso(2, "ChampPerso3");
    txt_robe->setPlainText(texte("Robe"));
    txt_nez->setPlainText(texte("Nez"));
    txt_bouche->setPlainText(texte("Bouche"));
    lst_qualitePrix->setEditText(texte("QualitePrix"));
    txt_note->setPlainText(texte("Note"));
    txt_attendre->setText(texte("Attendre"));
    txt_boireAvant->setText(texte("BoireAvant"));
    perso(3, "ChampPerso4");
    perso(4, "ChampPerso5");
    // Long texts show from their start.
    for (ui::FlatComboBox* c : findChildren<ui::FlatComboBox*>()) {
        c->lineEdit()->setCursorPosition(0);
    }
    for (ui::FlatMemo* m : findChildren<ui::FlatMemo*>()) {
        m->moveCursor(QTextCursor::Start);
    }
    for (ui::FlatEdit* e : {txt_DateEntree, txt_QuantiteEntree, txt_PositionEntree, txt_DateSortie,
                            txt_QuantiteSortie, txt_PositionSortie}) {
        e->clear();
    }
    txt_CommentaireEntree->clear();
    txt_CommentaireSortie->clear();
}

void FicheVin::EffaceChamps() {
    for (QTableWidget* g : {lst_entrees, lst_sorties}) {
        g->clearContents();
        g->setRowCount(1);
    }
    lst_nom->setEditText({});
    txt_millesime->clear();
    txt_etiquette->clear();
    lst_recoltant->setEditText({});
    lst_region->setEditText({});
    lst_appellation->setEditText({});
    EcritCoche(pnl_Type, {});
    EcritCoche(pnl_Conditionnement, {});
    txt_cuvee->clear();
    txt_classement->clear();
    txt_prix->clear();
    for (ChampPerso& c : champs) {
        c.lst->setEditText({});
        c.txt->clear();
    }
    LitOption(btn_offert, 1);
    LitOption(btn_vrac, 1);
    plan->EffacePositions();
    for (ui::FlatEdit* e : {txt_DateEntree, txt_QuantiteEntree, txt_PositionEntree, txt_DateSortie,
                            txt_QuantiteSortie, txt_PositionSortie, txt_attendre, txt_boireAvant}) {
        e->clear();
    }
    txt_CommentaireEntree->clear();
    txt_CommentaireSortie->clear();
    for (ui::FlatMemo* m : {txt_robe, txt_nez, txt_bouche, txt_note}) {
        m->clear();
    }
    lst_qualitePrix->setEditText({});
    for (ui::FlatButton* b : comparateurs()) {
        b->setText(QString());
    }
    txt_QuantiteRestante->clear();
}

bool FicheVin::DonneTypeChampPerso(const QString& nom) {
    data::Query* q = programme().qryGeneral;
    if (!q) {
        return true;
    }
    OuvreRequete(*q,
                 QStringLiteral("SELECT Liste FROM ChampsPerso WHERE Nom = '") + nom + QStringLiteral("'"));
    bool liste = true;
    if (q->isActive() && !q->eof()) {
        liste = q->field(QStringLiteral("Liste")).asBoolean();
    }
    q->close();
    return liste;
}

void FicheVin::MajChampsPerso() {
    for (int i = 0; i < 5; ++i) {
        ChampPerso& c = champs[static_cast<std::size_t>(i)];
        const QString nom = QStringLiteral("ChampPerso") + QString::number(i + 1);
        c.lab->setText(DonneLibelleChampPerso(nom));
        const bool liste = DonneTypeChampPerso(nom);
        c.lst->setVisible(liste);
        c.txt->setVisible(!liste);
        c.lab->setBuddy(liste ? static_cast<QWidget*>(c.lst) : static_cast<QWidget*>(c.txt));
    }
}

void FicheVin::MajComboPerso() {
    for (int i = 0; i < 5; ++i) {
        ChampPerso& c = champs[static_cast<std::size_t>(i)];
        if (c.lst->isHidden()) {
            continue;
        }
        const QString nom = QStringLiteral("ChampPerso") + QString::number(i + 1);
        QStringList valeurs;
        try {
            RemplitChainesSQL(valeurs, QStringLiteral("SELECT DISTINCT ") + nom +
                                           QStringLiteral(" FROM Vins WHERE (") + nom +
                                           QStringLiteral(" <> '') ORDER BY ") + nom);
        } catch (const data::EngineError& e) {
            dialogs().error(TexteErreurSQL(nom, e.message()));
        }
        const QString texte = c.lst->currentText();
        const bool modifiee = etat_.FicheModifiee;
        c.lst->clear();
        c.lst->addItems(valeurs);
        c.lst->setEditText(texte);
        etat_.FicheModifiee = modifiee;
    }
}

QWidget* FicheVin::premierChampPage(int page) const {
    switch (page) {
        case 0:
            return champs[1].visible();
        case 1:
            return txt_robe;
        case 2:
            return txt_QuantiteEntree;
        case 3:
            return txt_QuantiteSortie;
        default:
            return nullptr;
    }
}

}  // namespace vinorium::card
