#pragma once

// The one window of Migrevin, the upgrade tool: the folder of the cellar to
// upgrade, the progress log of the run and its two buttons. The run itself is
// PiloteMigrevin's; the window shows its log lines as they come.

#include "upgrade/pilote.h"

#include <QDialog>
#include <QString>
#include <QStringList>

class QFileSystemModel;
class QLabel;
class QListWidget;
class QTreeView;

namespace vinorium::ui {
class FlatButton;
}

namespace vinorium::upgrade {

class TfrmMigrevin final : public QDialog {
    Q_OBJECT

  public:
    explicit TfrmMigrevin(QWidget* parent = nullptr);

    // Start of the program. With arguments (joined with single blanks they
    // form the folder) the upgrade runs at once in the shown window; without,
    // the window opens modally on the folder of the default cellar. Returns
    // when the run or the window is over, with the program's exit status: 1
    // when a command-line run left the cellar below the current layout, else 0.
    int Demarre(const QStringList& arguments);

    void cmdMAJClick();
    void cmdFermerClick();

    // The folder that the directory list points at (lblReper shows it).
    QString dossier() const { return dossier_; }
    void setDossier(const QString& dossier);

    PiloteMigrevin& pilote() { return pilote_; }

  private:
    void AjouteLigne(const QString& ligne);
    void Occupe(bool occupe);

    int VersionCible = PiloteMigrevin::VersionCible;
    QString dossier_;
    QFileSystemModel* modeleDossiers_ = nullptr;
    QTreeView* dirDestin = nullptr;
    QLabel* lblReper = nullptr;
    QListWidget* lstExplic = nullptr;
    QLabel* lblInfo = nullptr;
    ui::FlatButton* cmdMAJ = nullptr;
    ui::FlatButton* cmdFermer = nullptr;
    PiloteMigrevin pilote_;
    PiloteMigrevin::Issue derniereIssue_ = PiloteMigrevin::Issue::PasDeFichier;
};

}  // namespace vinorium::upgrade
