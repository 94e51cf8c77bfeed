// The upgrade run in the test process: the runs that must leave the cellar
// exactly as it was, failures restoring it, the lock held by another process.

#include "upgrade/pilote.h"

#include "data/engine/database.h"
#include "support/cellarfixtures.h"
#include "support/scripteddialogs.h"
#include "support/tempfolders.h"
#include "upgradetest.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>

#include <algorithm>
#include <functional>

#include <gtest/gtest.h>

namespace vinorium::test {
namespace {

using upgrade::PiloteMigrevin;
using Answer = DialogService::Answer;

QString u(const char* utf8) {
    return QString::fromUtf8(utf8);
}

class Pilote : public ::testing::Test {
  protected:
    void SetUp() override {
        dossier_ = QFileInfo(folders_.scratch("cave")).absoluteFilePath();
        ASSERT_TRUE(QDir().mkpath(dossier_));
    }

    QString fichier() const { return dossier_ + "/VINORIUM.MDB"; }

    // A cellar of a layout with two wines, one saved search and one old stock row.
    void creeCave(int layout, const std::function<void(CellarFixture&)>& plus = {}) {
        CellarFixture cave(fichier(), layout);
        Wine wine{.nom = "Ancien", .millesime = 1990};
        if (layout == 11) {
            wine.quantiteEntree = 6;
            wine.position = 4;
        }
        const int cptr = cave.addWine(wine);
        cave.addMovement(cptr, QDate(1998, 1, 1), layout == 11 ? 2 : -2);
        cave.addWine(Wine{.nom = "Autre", .appellation = "Chablis"});
        cave.addSelection("Rouges", "(Type = 'Rouge')",
                          CellarFixture::oldCriteriaText({{"Type", "=", "'Rouge'"}}, {}));
        if (plus) {
            plus(cave);
        }
        cave.close();
        original_ = contenuFichier(fichier());
    }

    // Nothing in the folder but the cellar (and the log when asked).
    void attendLeDossierIntact(bool avecJournal) {
        EXPECT_EQ(contenuFichier(fichier()), original_);
        QStringList attendus = {"VINORIUM.MDB"};
        if (avecJournal) {
            attendus.prepend("LogMigrevin.txt");
        }
        EXPECT_EQ(QDir(dossier_).entryList(QDir::Files, QDir::Name), attendus);
    }

    TempFolders folders_;
    QString dossier_;
    QByteArray original_;
};

TEST_F(Pilote, RunsThatLeaveTheCellarUntouched) {
    const struct {
        const char* nom;
        int layout;
        const char* preparation;
        PiloteMigrevin::Issue issue;
        const char* message;
        QStringList fin;
    } cas[] = {
        {"layout 30",
         30,
         nullptr,
         PiloteMigrevin::Issue::DejaAJour,
         "Il n'est pas nécessaire de faire de mise à jour.",
         {"Version de la base actuelle : 3.0", u("La version de la base de données Vinorium est déjà "
                                                 "compatible avec la version du logiciel que vous "
                                                 "utilisez")}},
        {"empty Version table",
         20,
         "DELETE FROM Version",
         PiloteMigrevin::Issue::VersionIllisible,
         "Contactez le support pour vérifier la validité de votre base de données.",
         {"Version de la base actuelle : 0.",
          u("Impossible de récupérer la version de votre base de données")}},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.nom);
        QDir(dossier_).removeRecursively();
        QDir().mkpath(dossier_);
        creeCave(c.layout, [&](CellarFixture& cave) {
            if (c.preparation) {
                cave.exec(u(c.preparation));
            }
        });
        ScriptedDialogs dlg;
        dlg.expectMessage(u(c.message), Answer::Ok);
        PiloteMigrevin pilote;
        EXPECT_EQ(pilote.cmdMAJ(dossier_), c.issue);
        EXPECT_TRUE(dlg.done());
        attendLeDossierIntact(true);
        QStringList journal = {u("Ouvre la base de données ..."), "Recherche des informations ..."};
        journal << c.fin << u("Prêt");
        EXPECT_EQ(journalMigrevin(dossier_), journal);
    }
}

TEST_F(Pilote, NoCellarFileInTheFolder) {
    // A cellar named after its alias is not the one the tool upgrades.
    CellarFixture(dossier_ + "/Cave2.mdb", 20).close();
    ScriptedDialogs dlg;
    dlg.expectMessage(u("Pas de fichier VINORIUM.MDB dans ce répertoire"), Answer::Ok);
    PiloteMigrevin pilote;
    EXPECT_EQ(pilote.cmdMAJ(dossier_), PiloteMigrevin::Issue::PasDeFichier);
    EXPECT_EQ(QDir(dossier_).entryList(QDir::Files), QStringList{"Cave2.mdb"});
}

TEST_F(Pilote, FailureRestoresTheOriginalFile) {
    const struct {
        const char* nom;
        int layout;
        const char* preparation;  // makes a statement of the steps fail
        const char* panneAvant;   // or: the statement before which the run fails
        const char* instruction;  // the statement logged
    } cas[] = {
        {"injected in the middle of step 20", 11, nullptr, "RENAME sortie cave.Quantite sortie",
         "RENAME sortie cave.Quantite sortie"},
        {"engine error in step 20", 11, "CREATE TABLE ChampsPerso (Nom TEXT(15))", nullptr,
         "CREATE TABLE ChampsPerso (Nom TEXT(15) CONSTRAINT idxNom PRIMARY KEY, Libelle TEXT(20), Position "
         "TEXT(255), Recherche BIT)"},
        {"engine error in step 30", 20, "ALTER TABLE Vins ADD COLUMN Tempo LONG", nullptr,
         "ALTER TABLE [Vins] ADD COLUMN [Tempo] TEXT(255)"},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.nom);
        QDir(dossier_).removeRecursively();
        QDir().mkpath(dossier_);
        creeCave(c.layout, [&](CellarFixture& cave) {
            if (c.preparation) {
                cave.exec(u(c.preparation));
            }
        });
        ScriptedDialogs dlg;
        dlg.expectMessage(
            u("Une erreur s'est produite pendant la mise à jour. La base de données initiale à été "
              "restaurée."),
            Answer::Ok);
        PiloteMigrevin pilote;
        QString messageMoteur;
        int instructions = 0;
        pilote.setAvantInstruction([&](const QString& instruction) {
            ++instructions;
            if (c.panneAvant && instruction == u(c.panneAvant)) {
                // As a statement whose changes could not be undone leaves them.
                QFile journal(fichier() + "-journal");
                EXPECT_TRUE(journal.open(QIODevice::WriteOnly));
                journal.write(QByteArray(512, 'j'));
                journal.close();
                throw data::EngineError(u("Panne simulée du disque"));
            }
        });
        EXPECT_EQ(pilote.cmdMAJ(dossier_), PiloteMigrevin::Issue::Restauree);
        EXPECT_TRUE(dlg.done());
        EXPECT_GT(instructions, 3);
        attendLeDossierIntact(true);
        const QStringList journal = journalMigrevin(dossier_);
        ASSERT_GE(journal.size(), 3);
        if (c.panneAvant) {
            EXPECT_EQ(journal.at(journal.size() - 3), u("Panne simulée du disque"));
        } else {
            EXPECT_FALSE(journal.at(journal.size() - 3).isEmpty());
        }
        EXPECT_EQ(journal.mid(journal.size() - 2), (QStringList{u(c.instruction), u("Prêt")}));
    }
}

TEST_F(Pilote, TwoSavedSearchesOfOneNameKeepTheirOwnTexts) {
    creeCave(11, [](CellarFixture& cave) {
        cave.addSelection("rouges", "(Type = 'Rouge') AND (Position = 4)",
                          CellarFixture::oldCriteriaText({{"Position", "=", "4"}}, {}));
    });
    PiloteMigrevin pilote;
    ASSERT_EQ(pilote.cmdMAJ(dossier_), PiloteMigrevin::Issue::Terminee);
    data::Database db;
    db.open(fichier());
    QList<QStringList> lignes = selectRows(db, "SELECT Nom, ChaineSQL, ChaineCriteres FROM Selections",
                                           {"Nom", "ChaineSQL", "ChaineCriteres"});
    std::sort(lignes.begin(), lignes.end());
    EXPECT_EQ(lignes, (QList<QStringList>{
                          {"Rouges", "(Type = 'Rouge')", ",,Type,=,'Rouge'"},
                          {"rouges",
                           "(Type = 'Rouge') AND EXISTS (SELECT Cptr FROM [sortie cave] WHERE (Cptr = "
                           "TableSource.Cptr) AND (PositionEntreeSortie = 4) AND (QuantiteEntreeSortie > 0))",
                           ",,PositionEntreeSortie,=,4"}}));
}

TEST_F(Pilote, FailedCompactionKeepsTheMigratedData) {
    creeCave(20);
    // Something that is not a file stands where the compacted file goes.
    ASSERT_TRUE(QDir(dossier_).mkpath("Compacte.MDB/occupé"));
    ScriptedDialogs dlg;
    dlg.expectMessage(
        u("Une erreur s'est produite pendant le compactage de la base de données. Vos données ont "
          "malgré tout été mise à jour."),
        Answer::Ok);
    PiloteMigrevin pilote;
    EXPECT_EQ(pilote.cmdMAJ(dossier_), PiloteMigrevin::Issue::TermineeSansCompacter);
    EXPECT_TRUE(dlg.done());
    const QStringList journal = journalMigrevin(dossier_);
    ASSERT_GE(journal.size(), 3);
    EXPECT_EQ(journal.at(journal.size() - 3), u("Compactage de la base de données, Patientez S.V.P ..."));
    EXPECT_TRUE(journal.at(journal.size() - 2).contains("Compacte.MDB"))
        << journal.at(journal.size() - 2).toStdString();
    data::Database db;
    db.open(fichier());
    EXPECT_EQ(selectRows(db, "SELECT Version FROM Version", {"Version"}), (QList<QStringList>{{"30"}}));
    EXPECT_EQ(selectRows(db, "SELECT Count(*) AS n FROM RequeteListe", {"n"}), (QList<QStringList>{{"2"}}));
    EXPECT_EQ(contenuFichier(dossier_ + "/Vinorium_sauve_20.mdb"), original_);
}

TEST_F(Pilote, RefusedWhileAnotherProcessHoldsTheCellar) {
    creeCave(20);
    // vinorium-sql keeps the cellar open while it waits for statements.
    QProcess autre;
    autre.start(programme("/src/tools/vinorium-sql"), {fichier()});
    ASSERT_TRUE(autre.waitForStarted());
    autre.write("SELECT * FROM Version\n");
    ASSERT_TRUE(autre.waitForReadyRead(30000));  // it has the file open now

    ScriptedDialogs dlg;
    dlg.expectMessage(
        u("La base de données Vinorium n'est pas disponible pour effectuer la mise à jour.Vérifiez "
          "que Vinorium n'est pas en cours d'exécution."),
        Answer::Ok);
    PiloteMigrevin pilote;
    EXPECT_EQ(pilote.cmdMAJ(dossier_), PiloteMigrevin::Issue::Indisponible);
    autre.closeWriteChannel();
    EXPECT_TRUE(autre.waitForFinished(30000));

    attendLeDossierIntact(true);
    const QStringList journal = journalMigrevin(dossier_);
    ASSERT_EQ(journal.size(), 3);
    EXPECT_EQ(journal.front(), u("Ouvre la base de données ..."));
    EXPECT_TRUE(journal.at(1).contains(u("déjà ouverte"))) << journal.at(1).toStdString();
    EXPECT_EQ(journal.back(), u("Prêt"));
}

}  // namespace
}  // namespace vinorium::test
