#include "navigation/historique.h"

#include <QHeaderView>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace vinorium::navigation {

Historique::Historique(QWidget* page) : QObject(page) {
    auto* v = new QVBoxLayout(page);
    v->setContentsMargins(4, 4, 4, 4);
    lstHistorique = new QTreeWidget(page);
    lstHistorique->setObjectName(QStringLiteral("lstHistorique"));
    lstHistorique->setRootIsDecorated(false);
    lstHistorique->setColumnCount(4);
    lstHistorique->setHeaderLabels({QStringLiteral("Type"), QStringLiteral("Valeur"),
                                    QStringLiteral("Cachee1"), QStringLiteral("Cachee2")});
    lstHistorique->setColumnWidth(0, 80);
    lstHistorique->setColumnWidth(1, 380);
    lstHistorique->setColumnHidden(2, true);
    lstHistorique->setColumnHidden(3, true);
    lstHistorique->setToolTip(QStringLiteral(
        "Historique|Les vins affichés et les recherches effectuées depuis l'ouverture de Vinorium. Un double "
        "clic réaffiche le vin ou relance la recherche."));
    v->addWidget(lstHistorique);
}

void Historique::majHistorique(const QString& type, const QString& valeur, const QString& cachee1,
                               const QString& cachee2) {
    auto* item = new QTreeWidgetItem({type, valeur, cachee1, cachee2});
    lstHistorique->insertTopLevelItem(0, item);
}

}  // namespace vinorium::navigation
