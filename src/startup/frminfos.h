#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

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
    QLineEdit* txtVersionBase;
    QLabel* Label5;
    QLineEdit* txtVersionProgramme;
    QLabel* Label6;
    QLineEdit* txtRepInstall;
    QPushButton* btnOK;
};

}  // namespace vinorium::startup
