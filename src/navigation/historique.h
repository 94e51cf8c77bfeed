#pragma once

#include <QObject>
#include <QString>

class QTreeWidget;
class QWidget;

namespace vinorium::navigation {

// The "Historique" tab: the wines displayed and the searches run since the
// window opened, newest first.
class Historique final : public QObject {
    Q_OBJECT

  public:
    explicit Historique(QWidget* page);

    QTreeWidget* lstHistorique;

    // Adds a row at the top: kind ("Affichage", "Recherche", "Sélection"),
    // value shown, and the two hidden columns.
    void majHistorique(const QString& type, const QString& valeur, const QString& cachee1,
                       const QString& cachee2 = QString());
};

}  // namespace vinorium::navigation
