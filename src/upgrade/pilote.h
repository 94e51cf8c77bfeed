#pragma once

// The upgrade run over one cellar folder, without any widget: it finds the
// cellar file, makes sure nobody else has it open, reads its layout, makes a
// backup, runs the migration steps, restores the backup when a step fails,
// compacts the result and writes the log LogMigrevin.txt. Messages go through
// dialogs(); the window follows the run through the callbacks.

#include "upgrade/migration.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace vinorium::data {
class Database;
}

namespace vinorium::upgrade {

class PiloteMigrevin {
  public:
    // How a run ended.
    enum class Issue {
        PasDeFichier,           // no cellar file in the folder: nothing done, nothing logged
        Indisponible,           // someone else has the file open: untouched
        VersionIllisible,       // layout unreadable: untouched
        DejaAJour,              // layout 30 or more: untouched
        Terminee,               // migrated and compacted
        TermineeSansCompacter,  // migrated, the compaction failed
        Restauree,              // a step failed, the original file is back
        NonRestauree,           // a step failed and the original could not be put back: the backup stays
    };

    struct Rappels {
        std::function<void(const QString& ligne)> ligne;  // a line added to the log
        std::function<void()> efface;                     // the log emptied
        std::function<void(bool occupe)> occupe;          // run starts (true) or ends (false)
        std::function<void(const QString& texte)> info;   // status text
    };

    static constexpr int VersionCible = 30;

    explicit PiloteMigrevin(Rappels rappels = {});

    // Called before each statement of the steps (see Migration).
    void setAvantInstruction(Migration::AvantInstruction avant) { avant_ = std::move(avant); }

    // The upgrade run on the cellar of a folder.
    Issue cmdMAJ(const QString& dossier);

    // The log of the last run, line by line.
    const QStringList& journal() const { return journal_; }
    int versionActuelle() const { return VersionActuelle; }

    // The cellar file of a folder: VINORIUM.MDB, its name compared without
    // case; empty when there is none.
    static QString chercheBase(const QString& dossier);
    // The layout of an open cellar: 11 without table Version, 0 when its row
    // cannot be read, else the number it holds.
    static int LitVersionBase(data::Database& base);
    // "1.1", "2.0", "3.0": the first digit, a point, the second digit.
    static QString texteVersion(int version);

  private:
    Issue execute(const QString& dossier, const QString& fichier);
    bool compacte(const QString& dossier, const QString& fichier);
    void AjouteInfo(const QString& ligne);
    void ecritJournal(const QString& dossier) const;

    Rappels rappels_;
    Migration::AvantInstruction avant_;
    QStringList journal_;
    int VersionActuelle = 0;
};

}  // namespace vinorium::upgrade
