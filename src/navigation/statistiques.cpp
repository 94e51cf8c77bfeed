#include "navigation/statistiques.h"

#include "ui/flatcontrols.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QVBoxLayout>

namespace vinorium::navigation {

namespace {

struct Couleur {
    const char* libelle;
    const char* partie;
    const char* partieAge;
    int icone;  // first ageing icon of the colour
};

const Couleur kCouleurs[] = {
    {"Rouge", "Rouge", "Rouge", 8},
    {"Rosé", "Rose", "Rose", 11},
    {"Blanc", "Blanc", "Blanc", 14},
    {"Moelleux", "Moelleux", "Moelleux", 17},
    {"Effervescent", "Petillant", "Effervescent", 20},
    {"Autre", "Autre", "Autre", 23},
};

QLabel* texte(QWidget* parent, const QString& nom,
              Qt::Alignment alignement = Qt::AlignRight | Qt::AlignVCenter) {
    auto* l = new QLabel(parent);
    l->setObjectName(nom);
    l->setAlignment(alignement);
    l->setMinimumWidth(28);
    return l;
}

QLabel* titre(QWidget* parent, const QString& t,
              Qt::Alignment alignement = Qt::AlignLeft | Qt::AlignVCenter) {
    auto* l = new QLabel(t, parent);
    l->setAlignment(alignement);
    QFont f = l->font();
    f.setBold(true);
    l->setFont(f);
    return l;
}

ui::FlatPanel* barre(QWidget* parent, const QString& nom) {
    auto* b = new ui::FlatPanel(parent);
    b->setObjectName(nom);
    b->setFixedSize(0, 8);
    return b;
}

}  // namespace

Statistiques::Statistiques(QWidget* page) : QObject(page) {
    auto* fond = new QHBoxLayout(page);
    fond->setContentsMargins(4, 4, 4, 4);
    fond->setSpacing(4);
    auto* bande = new QVBoxLayout;
    bande->setSpacing(6);
    fond->addLayout(bande, 1);

    pnlLegendes = new ui::FlatPanel(page);
    pnlLegendes->setObjectName(QStringLiteral("pnlLegendes"));
    auto* legendes = new QGridLayout(pnlLegendes);
    legendes->setContentsMargins(6, 4, 6, 4);
    legendes->setHorizontalSpacing(6);
    legendes->setVerticalSpacing(1);
    legendes->addWidget(titre(pnlLegendes, QStringLiteral("Vins"), Qt::AlignRight | Qt::AlignVCenter), 0, 1);
    legendes->addWidget(titre(pnlLegendes, QStringLiteral("Bouteilles"), Qt::AlignRight | Qt::AlignVCenter),
                        0, 2);
    legendes->addWidget(titre(pnlLegendes, QStringLiteral("Vieillissement (bouteilles)"), Qt::AlignCenter), 0,
                        4, 1, 6);

    pnlStatGene = new ui::FlatPanel(page);
    pnlStatGene->setObjectName(QStringLiteral("pnlStatGene"));
    auto* generale = new QGridLayout(pnlStatGene);
    generale->setContentsMargins(6, 4, 6, 4);
    generale->setHorizontalSpacing(6);
    generale->setVerticalSpacing(1);
    const char* const lignesGene[] = {"Appellations :", "Valeur :", "Prêtes à boire :"};
    const char* const prefixesGene[] = {"txtNbApp", "txtPrix", "txtPret"};
    for (int r = 0; r < 3; ++r) {
        generale->addWidget(titre(pnlStatGene, QString::fromUtf8(lignesGene[r])), r + 1, 0);
    }

    int ligne = 1;
    for (const Couleur& c : kCouleurs) {
        const QString partie = QString::fromLatin1(c.partie);
        auto* nom = new QLabel(QString::fromUtf8(c.libelle), pnlLegendes);
        legendes->addWidget(nom, ligne, 0);
        legendes->addWidget(texte(pnlLegendes, QStringLiteral("txtVin") + partie), ligne, 1);
        legendes->addWidget(texte(pnlLegendes, QStringLiteral("txtBouteille") + partie), ligne, 2);
        auto* barres = new QVBoxLayout;
        barres->setSpacing(1);
        barres->addWidget(barre(pnlLegendes, QStringLiteral("shpVin") + partie));
        barres->addWidget(barre(pnlLegendes, QStringLiteral("shpBouteille") + partie));
        legendes->addLayout(barres, ligne, 3);
        for (int k = 1; k <= 3; ++k) {
            legendes->addWidget(texte(pnlLegendes, QStringLiteral("txt") + partie + QString::number(k)),
                                ligne, 2 + 2 * k);
            auto* icone = new QLabel(pnlLegendes);
            icone->setObjectName(QStringLiteral("img") + QString::fromLatin1(c.partieAge) +
                                 QString::number(k));
            icone->setPixmap(
                QIcon(QStringLiteral(":/vinorium/listicons/%1.svg").arg(c.icone + k - 1)).pixmap(14, 14));
            icone->setCursor(Qt::PointingHandCursor);
            legendes->addWidget(icone, ligne, 3 + 2 * k);
        }
        const int colonne = ligne;
        generale->addWidget(
            titre(pnlStatGene, QString::fromUtf8(c.libelle), Qt::AlignRight | Qt::AlignVCenter), 0, colonne);
        for (int r = 0; r < 3; ++r) {
            generale->addWidget(texte(pnlStatGene, QString::fromLatin1(prefixesGene[r]) + partie), r + 1,
                                colonne);
        }
        ++ligne;
    }
    legendes->addWidget(titre(pnlLegendes, QStringLiteral("Total")), ligne, 0);
    legendes->addWidget(texte(pnlLegendes, QStringLiteral("txtVinTotal")), ligne, 1);
    legendes->addWidget(texte(pnlLegendes, QStringLiteral("txtBouteilleTotal")), ligne, 2);
    legendes->setColumnStretch(3, 1);
    generale->addWidget(titre(pnlStatGene, QStringLiteral("Total"), Qt::AlignRight | Qt::AlignVCenter), 0,
                        ligne);
    for (int r = 0; r < 3; ++r) {
        generale->addWidget(
            texte(pnlStatGene, QString::fromLatin1(prefixesGene[r]) + QStringLiteral("Total")), r + 1, ligne);
    }

    pnlStatGraph = new ui::FlatPanel(page);
    pnlStatGraph->setObjectName(QStringLiteral("pnlStatGraph"));
    auto* graphe = new QVBoxLayout(pnlStatGraph);
    graphe->setContentsMargins(6, 4, 6, 4);
    auto* entete = new QHBoxLayout;
    entete->addWidget(new QLabel(QStringLiteral("Consommation de bouteilles sur les"), pnlStatGraph));
    txtNbMoisGraph = new ui::FlatSpinEditInteger(pnlStatGraph);
    txtNbMoisGraph->setObjectName(QStringLiteral("txtNbMoisGraph"));
    txtNbMoisGraph->setRange(1, 99);
    txtNbMoisGraph->setValue(18);
    txtNbMoisGraph->setEnabled(false);
    txtNbMoisGraph->setToolTip(QStringLiteral("Nombre de mois du graphique de consommation"));
    entete->addWidget(txtNbMoisGraph);
    entete->addWidget(new QLabel(QStringLiteral("derniers mois"), pnlStatGraph));
    entete->addStretch(1);
    graphe->addLayout(entete);
    chartConso = new QWidget(pnlStatGraph);
    chartConso->setObjectName(QStringLiteral("chartConso"));
    chartConso->setMinimumHeight(60);
    graphe->addWidget(chartConso, 1);

    bande->addWidget(pnlLegendes);
    bande->addWidget(pnlStatGene);
    bande->addWidget(pnlStatGraph, 1);

    auto* fleches = new QVBoxLayout;
    fleches->setSpacing(2);
    const auto fleche = [page](const char* nom, const QString& t, const QString& hint) {
        auto* b = new ui::FlatButton(t, page);
        b->setObjectName(QString::fromLatin1(nom));
        b->setToolTip(hint);
        b->setFixedSize(18, 24);
        b->setFocusPolicy(Qt::NoFocus);
        return b;
    };
    btnHautStat =
        fleche("btnHautStat", QStringLiteral("▲"), QStringLiteral("Afficher les statistiques au-dessus"));
    btnBasStat =
        fleche("btnBasStat", QStringLiteral("▼"), QStringLiteral("Afficher les statistiques en dessous"));
    fleches->addWidget(btnHautStat);
    fleches->addStretch(1);
    fleches->addWidget(btnBasStat);
    fond->addLayout(fleches);
}

}  // namespace vinorium::navigation
