// The real program on cellars of layouts 11 and 20, given on its command line:
// the result read back through the engine.

#include "data/engine/database.h"
#include "data/requetes.h"
#include "data/schema.h"
#include "support/cellarfixtures.h"
#include "support/tempfolders.h"
#include "upgradetest.h"

#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace vinorium::test {
namespace {

using Rows = QList<QStringList>;

QString u(const char* utf8) {
    return QString::fromUtf8(utf8);
}

// The wines a saved search selects, as the cellar manager runs it.
Rows vinsDeLaSelection(data::Database& db, const QString& nom) {
    const Rows sql =
        selectRows(db, "SELECT ChaineSQL FROM Selections WHERE Nom = " + Quote(nom), {"ChaineSQL"});
    if (sql.size() != 1) {
        return {{"<pas de sélection " + nom + ">"}};
    }
    return selectRows(
        db, "SELECT Nom FROM RequeteInitiale AS TableSource WHERE " + sql.front().front() + " ORDER BY Nom",
        {"Nom"});
}

TEST(MigrevinProgramme, Layout11CellarReachesLayout30) {
    TempFolders folders;
    const QString dossier = QFileInfo(folders.scratch("cave")).absoluteFilePath();
    ASSERT_TRUE(QDir().mkpath(dossier));
    const QString fichier = dossier + "/VINORIUM.MDB";
    const QString commentaireCave = QString(100, QLatin1Char('c'));
    QByteArray original;
    {
        CellarFixture cave(fichier, 11);
        Wine sansDate{.nom = "Sans date", .appellation = "Margaux", .robe = QString(100, QLatin1Char('r'))};
        sansDate.champsPerso = {"Cave de Pierre", commentaireCave, "note 1", "note 2"};
        sansDate.quantiteEntree = 6;
        sansDate.position = 12;
        const int a = cave.addWine(sansDate);
        cave.addMovement(a, QDate(1998, 1, 1), 2, 0, "anniversaire");
        cave.addMovement(a, std::nullopt, 1);

        Wine vide{.nom = "Vide", .appellation = "Chablis"};
        vide.quantiteEntree = 0;
        vide.position = 3;
        vide.dateEntree = QDate(1996, 6, 1);
        const int b = cave.addWine(vide);
        cave.addMovement(b, QDate(1997, 2, 1), 0);
        cave.exec(
            QStringLiteral("INSERT INTO [Sortie cave] (Cptr, [Date]) VALUES (%1, #03/01/1997#)").arg(b));

        Wine date{.nom = "Daté", .type = "Blanc"};
        date.quantiteEntree = 12;
        date.dateEntree = QDate(1995, 4, 2);
        cave.addWine(date);

        cave.addSelection("Position 12",
                          "((QuantiteRestante > 0) OR (IsNull(QuantiteEntree))) AND (Position = 12)",
                          CellarFixture::oldCriteriaText({{"Position", "=", "12"}}, {}));
        cave.addSelection("Blancs",
                          "WHERE ((QuantiteRestante > 0) OR (IsNull(QuantiteEntree))) AND (Type = 'Blanc')",
                          CellarFixture::oldCriteriaText({{"Type", "=", "'Blanc'"}}, {}));
        cave.addSelection("Six lignes", "(Millesime >= 1990)",
                          "\r\nMillesime\r\n>=\r\n1990\r\nType\r\n=\r\n'Rouge'");
        cave.close();
        original = contenuFichier(fichier);
    }

    ASSERT_EQ(lanceMigrevin({dossier}), 0);

    EXPECT_EQ(contenuFichier(dossier + "/Vinorium_sauve_11.mdb"), original);
    EXPECT_FALSE(QFileInfo::exists(dossier + "/Compacte.MDB"));
    const QStringList journal = journalMigrevin(dossier);
    EXPECT_EQ(journal.mid(0, 4),
              (QStringList{u("Ouvre la base de données ..."), "Recherche des informations ...",
                           "Version de la base actuelle : 1.1", "Copie de sauvegarde ..."}));
    EXPECT_TRUE(journal.contains(u("Mise à jour des entrées / sorties ...")));
    EXPECT_EQ(journal.mid(journal.size() - 3),
              (QStringList{u("Mise à jour terminée ..."),
                           "Compactage de la base de données, Patientez S.V.P ...", u("Prêt")}));

    data::Database db;
    db.open(fichier);
    EXPECT_TRUE(VerifieVersionBase(db));
    EXPECT_EQ(
        selectRows(
            db,
            "SELECT Vins.Nom, DateEntreeSortie, QuantiteEntreeSortie, PositionEntreeSortie, "
            "CommentaireEntreeSortie FROM Vins INNER JOIN [Sortie cave] ON Vins.Cptr = [Sortie cave].Cptr "
            "ORDER BY Vins.Nom, DateEntreeSortie, QuantiteEntreeSortie",
            {"Nom", "DateEntreeSortie", "QuantiteEntreeSortie", "PositionEntreeSortie",
             "CommentaireEntreeSortie"}),
        (Rows{{u("Daté"), "02/04/1995", "12", "0", ""},
              {"Sans date", "01/01/1998", "-2", "12", "anniversaire"},
              {"Sans date", "01/01/2000", "-1", "12", ""},
              {"Sans date", "01/01/2000", "6", "12", ""}}));
    EXPECT_EQ(selectRows(db, "SELECT NomListe, ChampPerso1, ChampPerso2, Robe FROM RequeteListe ORDER BY Nom",
                         {"NomListe", "ChampPerso1", "ChampPerso2", "Robe"}),
              (Rows{{u("Daté   (Bordeaux , 12 bouteilles)"), "<Null>", "<Null>", "<Null>"},
                    {"Sans date   (Margaux , 3 bouteilles)", "Cave de Pierre", commentaireCave,
                     QString(100, QLatin1Char('r'))},
                    {"Vide   (Chablis , 0 bouteilles)", "<Null>", "<Null>", "<Null>"}}));
    EXPECT_EQ(selectRows(db, "SELECT Nom, Libelle, Liste FROM ChampsPerso ORDER BY Nom",
                         {"Nom", "Libelle", "Liste"}),
              (Rows{{"ChampPerso1", "Origine", "-1"},
                    {"ChampPerso2", "Commentaire", "-1"},
                    {"ChampPerso3", u("Précision"), "-1"},
                    {"ChampPerso4", "Commentaire1", "-1"},
                    {"ChampPerso5", "Commentaire2", "-1"}}));
    // Widened to 255.
    EXPECT_NO_THROW(db.execute("UPDATE Vins SET ChampPerso3 = '" + QString(255, QLatin1Char('x')) + "'"));

    EXPECT_EQ(
        selectRows(db, "SELECT Nom, ChaineCriteres FROM Selections ORDER BY Nom", {"Nom", "ChaineCriteres"}),
        (Rows{{"Blancs", ",,Type,=,'Blanc'"},
              {"Position 12", ",,PositionEntreeSortie,=,12"},
              {"Six lignes", ",,Millesime,>=,1990\r\n,ET,Type,=,'Rouge'"}}));
    EXPECT_EQ(selectRows(db, "SELECT ChaineSQL FROM Selections WHERE Nom = 'Blancs'", {"ChaineSQL"}),
              (Rows{{" (QuantiteRestante > 0) AND (Type = 'Blanc')"}}));
    EXPECT_EQ(vinsDeLaSelection(db, "Position 12"), (Rows{{"Sans date"}}));
    EXPECT_EQ(vinsDeLaSelection(db, "Blancs"), (Rows{{u("Daté")}}));
}

TEST(MigrevinProgramme, Layout20CellarInAFolderWithABlankGivenAsTwoArguments) {
    TempFolders folders;
    const QString dossier = QFileInfo(folders.scratch("ma cave")).absoluteFilePath();
    ASSERT_TRUE(QDir().mkpath(dossier));
    // The file name compares without case.
    const QString fichier = dossier + "/Vinorium.mdb";
    QByteArray original;
    {
        CellarFixture cave(fichier, 20);
        Wine wine{.nom = "Moyen",
                  .appellation = "Chablis",
                  .millesime = 2001,
                  .note = QString(50, QLatin1Char('n'))};
        wine.champsPerso = {"Origine", QString(100, QLatin1Char('2')), "court", "note 1", "note 2"};
        const int cptr = cave.addWine(wine);
        cave.addMovement(cptr, QDate(2002, 5, 1), 6, 3, QString(100, QLatin1Char('m')));
        cave.addMovement(cptr, QDate(2003, 5, 1), -1, 3);
        cave.addSelection("Chablis", "WHERE (Appellation LIKE '*Chablis*')",
                          CellarFixture::oldCriteriaText({{"Appellation", "COMME", "'Chablis'"}}, {}));
        cave.close();
        original = contenuFichier(fichier);
    }

    ASSERT_EQ(lanceMigrevin(dossier.split(QLatin1Char(' '))), 0);

    EXPECT_EQ(contenuFichier(dossier + "/Vinorium_sauve_20.mdb"), original);
    const QStringList journal = journalMigrevin(dossier);
    EXPECT_TRUE(journal.contains("Version de la base actuelle : 2.0"));
    EXPECT_FALSE(journal.contains(u("Mise à jour des entrées / sorties ...")));
    EXPECT_EQ(journal.value(journal.size() - 1), u("Prêt"));

    data::Database db;
    db.open(fichier);
    EXPECT_TRUE(VerifieVersionBase(db));
    EXPECT_EQ(selectRows(db, "SELECT NomListe, Etiquette, ChampPerso2, ChampPerso5, Note FROM RequeteListe",
                         {"NomListe", "Etiquette", "ChampPerso2", "ChampPerso5", "Note"}),
              (Rows{{"Moyen   (Chablis 2001, 5 bouteilles)", "<Null>", QString(100, QLatin1Char('2')),
                     "note 2", QString(50, QLatin1Char('n'))}}));
    EXPECT_EQ(
        selectRows(db, "SELECT CommentaireEntreeSortie FROM [Sortie cave] WHERE QuantiteEntreeSortie > 0",
                   {"CommentaireEntreeSortie"}),
        (Rows{{QString(100, QLatin1Char('m'))}}));
    EXPECT_EQ(selectRows(db, "SELECT Count(*) AS n FROM ChampsPerso WHERE Liste", {"n"}), (Rows{{"5"}}));
    EXPECT_EQ(
        selectRows(db, "SELECT ChaineSQL, ChaineCriteres FROM Selections", {"ChaineSQL", "ChaineCriteres"}),
        (Rows{{" (Appellation LIKE '*Chablis*')", ",,Appellation,COMME,'Chablis'"}}));
    EXPECT_EQ(vinsDeLaSelection(db, "Chablis"), (Rows{{"Moyen"}}));
    // Widened columns move to the end of the table, in the order they were widened.
    const QStringList colonnes = db.fieldNames("Vins");
    EXPECT_EQ(colonnes.mid(colonnes.size() - 12),
              (QStringList{"Etiquette", "ChampPerso1", "ChampPerso2", "ChampPerso3", "ChampPerso4",
                           "ChampPerso5", "Robe", "Nez", "Bouche", "Appreciation", "QualitePrix", "Note"}));
    // The indexes of today's layout are there: a second one of the same name is refused.
    for (const QString& sql : data::schema::indexStatements()) {
        EXPECT_THROW(db.execute(sql), data::EngineError) << sql.toStdString();
    }
}

}  // namespace
}  // namespace vinorium::test
