#pragma once

#include <QMainWindow>

namespace vinorium::card {

// The main window of the cellar manager: the wine card with the navigation
// column and the information tabs around it. The panes come with their own
// classes; for now the window holds its frame only.
class TfrmSaisie final : public QMainWindow {
    Q_OBJECT

public:
    explicit TfrmSaisie(QWidget* parent = nullptr);

    // Window title: the program's name, followed by the cellar once one is open.
    void MajTitreFenetre(const QString& alias = QString());
};

}  // namespace vinorium::card
