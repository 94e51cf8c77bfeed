#include "navigation/arbreclassements.h"

#include <QHeaderView>
#include <QTreeWidget>

namespace vinorium::navigation {

ArbreClassements::ArbreClassements(QWidget* parent) : QObject(parent) {
    treIndexes = new QTreeWidget(parent);
    treIndexes->setObjectName(QStringLiteral("treIndexes"));
    treIndexes->setHeaderHidden(true);
    treIndexes->setColumnCount(1);
    treIndexes->setFrameShape(QFrame::NoFrame);
    treIndexes->setToolTip(QStringLiteral(
        "Classements|Les vins classés par région, appellation, couleur, millésime et vieillissement. Cliquer "
        "sur un vin pour l'afficher dans la fiche."));
    treIndexes->setMinimumHeight(60);
}

}  // namespace vinorium::navigation
