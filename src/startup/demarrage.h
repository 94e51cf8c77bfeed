#pragma once

#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

class QApplication;

namespace vinorium::card {
class TfrmSaisie;
}

namespace vinorium::startup {

// The start-up of the cellar manager, step by step: which cellar to open, the
// connection dbBase, the layout check, then the main window. Every failure
// before the main window exists ends the start after one message box, and
// nothing is written to the settings or the cellar before then.
class Demarrage {
  public:
    // Steps from reading the settings to creating the main window. Returns
    // the main window, or nothing when the start ends (its message shown).
    std::unique_ptr<card::TfrmSaisie> OuvreBase();

    // The aliases of the alias registry, in registry order; nothing when the
    // key cannot be opened.
    static std::optional<QStringList> ListeAliases();

  private:
    void LitParametres();
    void ChoisitAlias(const QStringList& aliases);
    static QString CheminAlias(const QString& alias);
    bool Connecte();
};

// The whole program: set-up, then Execute. Returns the program's exit code.
int Demarre(QApplication& app);
// The run once the application is set up: splash, first start, start-up,
// main window, message loop.
int Execute();

}  // namespace vinorium::startup
