#pragma once

#include <QWidget>

class QAction;
class QLabel;
class QListWidget;
class QMenu;

namespace vinorium::ui {
class FlatEdit;
class FlatPanel;
}  // namespace vinorium::ui

namespace vinorium::navigation {

// The name search box at the top of the navigation column: the magnifier
// pictures that open the include-exhausted menu, the box itself and its
// floating suggestion panel.
class RechercheNom final : public QWidget {
    Q_OBJECT

  public:
    // The suggestion panel floats over hote (the navigation column).
    RechercheNom(QWidget* parent, QWidget* hote);

    QLabel* imgRecherche;
    QLabel* imgRecherchePlus;
    ui::FlatEdit* txtRecherche;
    ui::FlatPanel* pnlRecherche;
    QListWidget* lstRecherche;

    QMenu* mnuInclureVinsEpuises;
    QAction* mnuVinsEpuisesRechNom;
    QAction* mnuVinsEpuisesClassements;
    QAction* mnuVinsEpuisesRechMulti;

    // imgRecherchePlus shows when one of the three switches is on.
    void MajImageRecherche();
    // Places the suggestion panel under the box: 15 pixels right, 15 narrower.
    void PlaceSuggestions();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
};

}  // namespace vinorium::navigation
