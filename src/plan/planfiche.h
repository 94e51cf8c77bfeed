#pragma once

#include <QList>
#include <QObject>
#include <QPair>
#include <QString>

class QLabel;
class QWidget;

namespace vinorium::data {
class Query;
}

namespace vinorium::ui {
class FlatPanel;
class FlatSpeedButton;
}  // namespace vinorium::ui

namespace vinorium::plan {

// The cellar plan of the wine card: the plan frame of the "Cave" page with
// its position cells and its two display-mode buttons, and the pop-up plan
// the entry and exit pages open beside their position fields.
class PlanFiche final : public QObject {
    Q_OBJECT

  public:
    // Builds the plan frame inside pageCave and the hidden pop-up plan inside
    // hotePopup (the page tabs, over which it floats).
    PlanFiche(QWidget* pageCave, QWidget* hotePopup);

    ui::FlatPanel* pnlPlan;
    ui::FlatPanel* grp_Position;
    ui::FlatSpeedButton* btnAilleurs;
    QLabel* lblPersonnalisePlan;
    ui::FlatSpeedButton* btnNumPlan;
    ui::FlatSpeedButton* btnQuantitePlan;

    ui::FlatPanel* pnlPositionEntreeSortie;
    ui::FlatPanel* pnlPlanEntreeSortie;
    ui::FlatSpeedButton* btnAilleursEntreeSortie;

    // Rebuilds the cells of both plans from table PLAN; the pop-up plan comes
    // to the front and shows its numbers.
    void ConstruitPlans(data::Query& query);
    // Quantity mode pressed, captions coloured.
    void PresseQuantites();
    // No position shown: every cell raised, captions cleared in quantity mode.
    void EffacePositions();
    // Presses the cells the wine holds (position number, bottle count);
    // in quantity mode each shows its count.
    void AffichePositions(const QList<QPair<QString, int>>& positions);
    // Plan cells in the plan colours: face of the background, focus of the
    // medium colour, pressed of the text colour. Run after every repaint of
    // the window, which would give them the plain speed-button colours.
    void PeintCellules();
    // Hides the pop-up plan.
    void CachePopup();

  private:
    void ajustePlan();
};

}  // namespace vinorium::plan
