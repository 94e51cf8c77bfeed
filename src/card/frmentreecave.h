#pragma once

#include <QDialog>

class QKeyEvent;
class QLabel;
class QPlainTextEdit;

namespace vinorium::ui {
class FlatButton;
class FlatSpinEditInteger;
}  // namespace vinorium::ui

namespace vinorium::card {

// The bottle-count dialog, shown when a wine is saved without any bottle
// entered. Its result: 6 to save without bottles, 2 to go back to the card,
// 100 + n to save with an entry of n bottles (n from 1 to 99).
class TfrmEntreeCave final : public QDialog {
    Q_OBJECT

  public:
    static constexpr int SansBouteilles = 6;
    static constexpr int Annulation = 2;
    static constexpr int AvecBouteilles = 100;

    explicit TfrmEntreeCave(QWidget* parent = nullptr);

    QPlainTextEdit* txtExplication;
    ui::FlatButton* btnValider;
    ui::FlatButton* btnEntree;
    ui::FlatSpinEditInteger* txtNbBouteilles;
    QLabel* lblBouteilles;
    ui::FlatButton* btnAnnuler;

    void btnValiderClick();
    void btnEntreeClick();
    void btnAnnulerClick();
    void reject() override;

  protected:
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace vinorium::card
