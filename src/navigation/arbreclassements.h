#pragma once

#include <QObject>

class QTreeWidget;
class QWidget;

namespace vinorium::navigation {

// The classification tree of the navigation column: the wines grouped by
// region, appellation, colour, vintage and the other classifications.
class ArbreClassements final : public QObject {
    Q_OBJECT

  public:
    explicit ArbreClassements(QWidget* parent);

    QTreeWidget* treIndexes;
};

}  // namespace vinorium::navigation
