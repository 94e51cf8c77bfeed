#pragma once

#include <QObject>
#include <QStringList>

class QLabel;
class QTreeWidget;
class QWidget;

namespace vinorium::ui {
class FlatButton;
class FlatComboBox;
class FlatTabControl;
}  // namespace vinorium::ui

namespace vinorium::navigation {

class Historique;
class Statistiques;

// The information tabs under the wine card: "Statistiques", "Sélection"
// (the criteria of the current search and the saved selections),
// "Historique" and "Aide" (the long hint of the control under the mouse).
class Infos final : public QObject {
    Q_OBJECT

  public:
    explicit Infos(QWidget* parent);

    ui::FlatTabControl* tabInfos;
    Statistiques* statistiques;
    Historique* historique;

    QTreeWidget* lstCriteresSelection;
    ui::FlatComboBox* cboSelection;
    ui::FlatButton* btnValideSelection;
    ui::FlatButton* btnSupprimeSelection;
    ui::FlatButton* btnEnregistreSelection;

    QLabel* lblAide;

    // Shows the long part of a hint (after "|", or all of it) on the help tab.
    void AfficheAide(const QString& hint);
    // The criteria list back to the single all-wines row.
    void InitialiseCriteres();
    // The criteria list holding that one row (its five fields).
    void RemplaceCriteres(const QStringList& ligne);
    // Shows one, two or three statistics panels as the height allows.
    void DisposeStatistiques();
};

}  // namespace vinorium::navigation
