#pragma once

#include <QDialog>

class QLabel;

namespace vinorium::ui {

class FlatButton;
class FlatComboBox;

// The generic choice dialog: a prompt and a drop-down list. "OK" closes with
// the chosen position counted from 1 (and stays open while nothing is chosen),
// "Annuler" with -1. Escape acts as "Annuler", Enter as "OK". Used to pick a
// cellar at start-up, an appellation or a region elsewhere.
class TfrmChoix final : public QDialog {
    Q_OBJECT

  public:
    explicit TfrmChoix(QWidget* parent = nullptr);

    // Shows the dialog modally (through the dialog service) and returns its result.
    int Choisit();

    void FlatButton1Click();
    void btnAnnulerClick();
    void reject() override;

    QLabel* lblChoix;
    FlatComboBox* lstChoix;
    FlatButton* FlatButton1;
    FlatButton* btnAnnuler;
};

}  // namespace vinorium::ui
