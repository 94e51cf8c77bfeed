#pragma once

#include <QDialog>

class QLabel;
class QTimer;

namespace vinorium::startup {

// The program's version, built from the layout number 30: its first digit, a
// point, its second digit.
QString VersionProgramme();

// The splash window: the program's picture and version, shown at start-up
// (tag 0: it closes four seconds after it became active, or on a click on its
// picture) and on demand from the main window (tag 1: it stays until its
// picture is clicked; the mail and web labels then open their links).
class TfrmSplash final : public QDialog {
    Q_OBJECT

  public:
    explicit TfrmSplash(int tag, QWidget* parent = nullptr);

    int tag() const { return tag_; }
    // True once the window may close.
    bool FermetureSplashPermise() const { return fermeturePermise_; }
    // The close query: allowed only once closing is permitted.
    bool FormCloseQuery() const { return fermeturePermise_; }

    void FormActivate();
    void tmrSplashTimer();
    void Image1Click();
    void lblVersionClick();
    void lblWebClick();
    void lblMailClick();
    void reject() override;

    QLabel* Image1;
    QLabel* Label1;
    QLabel* lblVersion;
    QLabel* Label4;
    QLabel* lblMail;
    QLabel* Label6;
    QLabel* lblWeb;
    QTimer* tmrSplash;

    static QString adresseMail();
    static QString adresseWeb();

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    int tag_;
    bool fermeturePermise_ = false;
};

}  // namespace vinorium::startup
