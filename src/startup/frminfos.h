#pragma once

#include <QDialog>

class QLabel;

namespace vinorium::ui {
class FlatButton;
class FlatEdit;
}  // namespace vinorium::ui

namespace vinorium::startup {

// The information window: the layout of the open cellar, the program's
// version and the cellar's file.
class TfrmInfos final : public QDialog {
    Q_OBJECT

  public:
    explicit TfrmInfos(QWidget* parent = nullptr);

    // Shows the window modally, through the dialog service.
    void Affiche();

    QLabel* Label2;
    ui::FlatEdit* txtVersionBase;
    QLabel* Label5;
    ui::FlatEdit* txtVersionProgramme;
    QLabel* Label6;
    ui::FlatEdit* txtRepInstall;
    ui::FlatButton* btnOK;
};

}  // namespace vinorium::startup
