#pragma once

#include <QObject>

class QLabel;
class QWidget;

namespace vinorium::ui {
class FlatPanel;
class FlatButton;
class FlatSpinEditInteger;
}  // namespace vinorium::ui

namespace vinorium::navigation {

// The "Statistiques" tab: per colour the wines and bottles with their bars
// and ageing classes, the general figures, and the consumption chart.
class Statistiques final : public QObject {
    Q_OBJECT

  public:
    explicit Statistiques(QWidget* page);

    ui::FlatPanel* pnlLegendes;
    ui::FlatPanel* pnlStatGene;
    ui::FlatPanel* pnlStatGraph;
    ui::FlatSpinEditInteger* txtNbMoisGraph;
    QWidget* chartConso;
    ui::FlatButton* btnHautStat;
    ui::FlatButton* btnBasStat;
};

}  // namespace vinorium::navigation
