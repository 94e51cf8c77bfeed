#include "navigation/infos.h"

#include "navigation/historique.h"
#include "navigation/statistiques.h"
#include "ui/flatcontrols.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace vinorium::navigation {

Infos::Infos(QWidget* parent) : QObject(parent) {
    tabInfos = new ui::FlatTabControl(parent);
    tabInfos->setObjectName(QStringLiteral("tabInfos"));
    tabInfos->tabBar()->setFocusPolicy(Qt::TabFocus);
    tabInfos->setToolTip(
        QStringLiteral("Informations|Statistiques, critères de la sélection, historique et aide."));

    auto* pageStat = new QWidget;
    pageStat->setObjectName(QStringLiteral("pnlStatistiques"));
    tabInfos->addTab(pageStat, QStringLiteral("Statistiques"));
    statistiques = new Statistiques(pageStat);

    auto* pageSelection = new QWidget;
    pageSelection->setObjectName(QStringLiteral("pnlSelection"));
    tabInfos->addTab(pageSelection, QStringLiteral("Sélection"));
    auto* h = new QHBoxLayout(pageSelection);
    h->setContentsMargins(4, 4, 4, 4);
    lstCriteresSelection = new QTreeWidget(pageSelection);
    lstCriteresSelection->setObjectName(QStringLiteral("lstCriteresSelection"));
    lstCriteresSelection->setRootIsDecorated(false);
    lstCriteresSelection->setColumnCount(5);
    lstCriteresSelection->setHeaderLabels({QString(), QStringLiteral("Opérateur"), QStringLiteral("Champ"),
                                           QStringLiteral("Comparaison"), QStringLiteral("Valeur")});
    lstCriteresSelection->setColumnHidden(0, true);
    lstCriteresSelection->setToolTip(QStringLiteral("Critères de la sélection en cours"));
    h->addWidget(lstCriteresSelection, 1);
    auto* droite = new QVBoxLayout;
    droite->setSpacing(4);
    cboSelection = new ui::FlatComboBox(pageSelection);
    cboSelection->setObjectName(QStringLiteral("cboSelection"));
    cboSelection->setEditable(true);
    cboSelection->setInsertPolicy(QComboBox::NoInsert);
    cboSelection->setMinimumWidth(150);
    cboSelection->setToolTip(QStringLiteral(
        "Saisir le nom que vous souhaitez donner à la sélection en cours, ou choisir le nom d'une sélection "
        "existante dans la liste déroulante pour la rappeller ou la supprimer."));
    const auto bouton = [pageSelection](const char* nom, const QString& texte, const QString& hint) {
        auto* b = new ui::FlatButton(texte, pageSelection);
        b->setObjectName(QString::fromLatin1(nom));
        b->setToolTip(hint);
        b->setEnabled(false);
        return b;
    };
    btnValideSelection =
        bouton("btnValideSelection", QStringLiteral("Valider"),
               QStringLiteral(
                   "Rappelle la sélection dont le nom est saisi dans la liste déroulante ci-dessus et met à "
                   "jour la liste des vins avec les vins correspondants."));
    btnSupprimeSelection = bouton(
        "btnSupprimeSelection", QStringLiteral("Supprimer"),
        QStringLiteral("Supprime la sélection dont le nom est saisi dans la liste déroulante ci-dessus."));
    btnEnregistreSelection =
        bouton("btnEnregistreSelection", QStringLiteral("Enregistrer"),
               QStringLiteral("Enregistre une nouvelle sélection sous le nom saisi dans la liste déroulante "
                              "ci-dessus."));
    droite->addWidget(new QLabel(QStringLiteral("Sélections enregistrées"), pageSelection));
    droite->addWidget(cboSelection);
    droite->addWidget(btnValideSelection);
    droite->addWidget(btnSupprimeSelection);
    droite->addWidget(btnEnregistreSelection);
    droite->addStretch(1);
    h->addLayout(droite);

    auto* pageHistorique = new QWidget;
    pageHistorique->setObjectName(QStringLiteral("pnlHistorique"));
    tabInfos->addTab(pageHistorique, QStringLiteral("Historique"));
    historique = new Historique(pageHistorique);

    auto* pageAide = new QWidget;
    pageAide->setObjectName(QStringLiteral("pnlAide"));
    tabInfos->addTab(pageAide, QStringLiteral("Aide"));
    auto* v = new QVBoxLayout(pageAide);
    v->setContentsMargins(8, 8, 8, 8);
    lblAide = new QLabel(QStringLiteral("Déplacer la souris sur la zone où vous souhaitez avoir de l'aide"),
                         pageAide);
    lblAide->setObjectName(QStringLiteral("lblAide"));
    lblAide->setWordWrap(true);
    lblAide->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    v->addWidget(lblAide, 1);

    InitialiseCriteres();
}

void Infos::AfficheAide(const QString& hint) {
    const qsizetype barre = hint.indexOf(QLatin1Char('|'));
    lblAide->setText((barre < 0 ? hint : hint.mid(barre + 1)).trimmed());
}

void Infos::InitialiseCriteres() {
    RemplaceCriteres({QString(), QString(), QStringLiteral("Tous les vins"), QString(), QString()});
}

void Infos::RemplaceCriteres(const QStringList& ligne) {
    lstCriteresSelection->clear();
    new QTreeWidgetItem(lstCriteresSelection, ligne);
}

void Infos::DisposeStatistiques() {
    const int h = tabInfos->height();
    statistiques->pnlLegendes->setVisible(true);
    statistiques->pnlStatGene->setVisible(h > 190);
    statistiques->pnlStatGraph->setVisible(h > 270);
    statistiques->btnHautStat->setEnabled(false);
    statistiques->btnBasStat->setEnabled(h <= 270);
}

}  // namespace vinorium::navigation
