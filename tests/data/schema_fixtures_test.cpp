// The cellars of the older layouts that the upgrade tool's tests start from:
// they hold what files of those layouts hold, so that the upgrade's own
// statements run on them.

#include "data/engine/database.h"
#include "data/engine/query.h"
#include "data/schema.h"
#include "support/cellarfixtures.h"
#include "support/tempfolders.h"

#include <gtest/gtest.h>

using vinorium::test::CellarFixture;
using vinorium::test::selectRows;
using vinorium::test::TempFolders;
using vinorium::test::Wine;
namespace schema = vinorium::data::schema;

namespace {

QString u(const char* utf8) {
    return QString::fromUtf8(utf8);
}

TEST(SchemaFixtures, Layout11KeepsTheFirstEntryInTheWine) {
    TempFolders folders;
    CellarFixture cellar(folders.scratch(QStringLiteral("v11.mdb")), 11);
    Wine wine{.nom = QStringLiteral("Ancien"), .millesime = 1990};
    wine.champsPerso = {QStringLiteral("Cave de Pierre"), QStringLiteral("en bas")};
    wine.dateEntree = QDate(1995, 4, 2);
    wine.quantiteEntree = 6;
    wine.position = 12;
    const int cptr = cellar.addWine(wine);
    cellar.addMovement(cptr, QDate(1998, 1, 1), 2);
    cellar.addMovement(cptr, std::nullopt, 1);
    cellar.addSelection(
        QStringLiteral("Entrées"),
        QStringLiteral("((QuantiteRestante > 0) OR (IsNull(QuantiteEntree))) AND (Position = 12)"),
        CellarFixture::oldCriteriaText({{"Position", "=", "12"}}, {}));

    auto& db = cellar.db();
    EXPECT_FALSE(db.tableNames().contains(QStringLiteral("Version"), Qt::CaseInsensitive));
    EXPECT_FALSE(db.tableNames().contains(QStringLiteral("ChampsPerso"), Qt::CaseInsensitive));
    EXPECT_FALSE(db.tableNames().contains(QStringLiteral("EtatsGraphes"), Qt::CaseInsensitive));
    EXPECT_EQ(selectRows(db,
                         QStringLiteral(
                             "SELECT QuantiteRestante, Origine, CommentaireCave, Position FROM RequeteListe"),
                         {"QuantiteRestante", "Origine", "CommentaireCave", "Position"}),
              (QList<QStringList>{{"3", "Cave de Pierre", "en bas", "12"}}));
    EXPECT_EQ(selectRows(db, QStringLiteral("SELECT [Quantite sortie] FROM RequeteConsommation"),
                         {"Quantite sortie"}),
              (QList<QStringList>{{"2"}}));
    EXPECT_THROW(cellar.addMovement(cptr, QDate(1998, 1, 1), 1, 5), std::invalid_argument);

    // The first statements of the upgrade to layout 20 find what they expect.
    for (const char* sql :
         {"CREATE TABLE Version (Version LONG)", "INSERT INTO Version ([Version]) VALUES (20)",
          "ALTER TABLE [Sortie cave] ADD COLUMN [PositionEntreeSortie] LONG",
          "UPDATE [Sortie cave] SET [Quantite sortie] = -[Quantite sortie] WHERE [Quantite sortie] > 0;",
          "UPDATE [Sortie cave] SET [Date] = #01/01/2000# WHERE ISNULL(Date)",
          "SELECT Cptr, DateEntree, QuantiteEntree, Position FROM Vins;",
          "INSERT INTO [Sortie cave] ([Cptr], [Date], [Quantite sortie], [PositionEntreeSortie], "
          "[Commentaire]) VALUES "
          "(1, #04/02/1995#, 6, 12, '')"}) {
        SCOPED_TRACE(sql);
        EXPECT_NO_THROW(db.execute(u(sql)));
    }
    EXPECT_NO_THROW(db.renameColumn(QStringLiteral("sortie cave"), QStringLiteral("Date"),
                                    QStringLiteral("DateEntreeSortie")));
    EXPECT_NO_THROW(db.renameColumn(QStringLiteral("sortie cave"), QStringLiteral("Quantite sortie"),
                                    QStringLiteral("QuantiteEntreeSortie")));
    EXPECT_NO_THROW(db.renameColumn(QStringLiteral("sortie cave"), QStringLiteral("Commentaire"),
                                    QStringLiteral("CommentaireEntreeSortie")));
    EXPECT_NO_THROW(db.execute(QStringLiteral(
        "UPDATE vins, [sortie cave] SET [sortie cave].PositionEntreeSortie = iif(isnull(vins.position), "
        "0, vins.position) WHERE vins.cptr = [sortie cave].cptr;")));
    EXPECT_EQ(selectRows(db,
                         QStringLiteral("SELECT Sum(QuantiteEntreeSortie) AS n FROM [Sortie cave] WHERE "
                                        "PositionEntreeSortie = 12"),
                         {"n"}),
              (QList<QStringList>{{"3"}}));
}

TEST(SchemaFixtures, OldCriteriaTextHasThreeLinesPerCriterion) {
    const QString text = CellarFixture::oldCriteriaText(
        {{"Millesime", ">=", "2000"}, {"Type", "=", "'Rouge'"}, {"Prix", "<", "10"}}, {"ET", "OU"});
    // As the upgrade reads it: connectors lose the empty lines after them, the first line is empty.
    QString t = text;
    t.replace(QStringLiteral("ET\r\n\r\n"), QStringLiteral("ET"))
        .replace(QStringLiteral("OU\r\n\r\n"), QStringLiteral("OU"));
    QStringList lines = t.split(QStringLiteral("\r\n"));
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_EQ(lines.takeFirst(), QString());
    EXPECT_EQ(lines, (QStringList{"Millesime", ">=", "2000", "ET", "Type", "=", "'Rouge'", "OU", "Prix", "<",
                                  "10"}));
}

TEST(SchemaFixtures, Layout20TakesTheUpgradeToLayout30) {
    TempFolders folders;
    CellarFixture cellar(folders.scratch(QStringLiteral("v20.mdb")), 20);
    Wine wine{.nom = QStringLiteral("Moyen"), .appellation = QStringLiteral("Chablis"), .millesime = 2001};
    wine.champsPerso = {"Origine", "Commentaire", "court", "note 1", "note 2"};
    const int cptr = cellar.addWine(wine);
    cellar.addMovement(cptr, QDate(2002, 5, 1), 6, 3);
    cellar.addMovement(cptr, QDate(2003, 5, 1), -1, 3);
    cellar.addSelection(QStringLiteral("Chablis"), QStringLiteral("WHERE (Appellation LIKE '*Chablis*')"),
                        CellarFixture::oldCriteriaText({{"Appellation", "COMME", "'Chablis'"}}, {}));
    auto& db = cellar.db();

    EXPECT_EQ(selectRows(db, QStringLiteral("SELECT * FROM Version"), {"Version"}),
              (QList<QStringList>{{"20"}}));
    EXPECT_EQ(selectRows(db, QStringLiteral("SELECT Nom, Libelle FROM ChampsPerso ORDER BY Nom"),
                         {"Nom", "Libelle"})
                  .size(),
              5);
    EXPECT_FALSE(
        db.fieldNames(QStringLiteral("ChampsPerso")).contains(QStringLiteral("Liste"), Qt::CaseInsensitive));
    EXPECT_FALSE(
        db.fieldNames(QStringLiteral("Vins")).contains(QStringLiteral("Etiquette"), Qt::CaseInsensitive));
    EXPECT_EQ(db.queryDefSql(QStringLiteral("RequeteInitialePositions")),
              schema::queryText(QStringLiteral("RequeteInitialePositions")));
    EXPECT_EQ(selectRows(db, QStringLiteral("SELECT NomListe, QuantiteRestante FROM RequeteListe"),
                         {"NomListe", "QuantiteRestante"}),
              (QList<QStringList>{{"Moyen (Chablis 2001)", "5"}}));
    // ChampPerso3 was added narrow.
    EXPECT_THROW(db.execute(QStringLiteral("UPDATE Vins SET ChampPerso3 = 'onze lettre'")),
                 vinorium::data::EngineError);

    // The statements of the upgrade to layout 30.
    for (const char* sql :
         {"UPDATE Version SET Version = 30",
          "CREATE TABLE EtatsGraphes (Nom TEXT(255), Type TEXT(255), Champ TEXT(255), Valeur "
          "TEXT(255))",
          "ALTER TABLE [Vins] ADD COLUMN [Etiquette] TEXT(255)",
          "ALTER TABLE [Vins] ADD COLUMN [Tempo] TEXT(255)", "UPDATE [Vins] SET Tempo = [Robe]",
          "ALTER TABLE [Vins] DROP COLUMN [Robe]", "ALTER TABLE [Vins] ADD COLUMN [Robe] TEXT(255)",
          "UPDATE [Vins] SET [Robe] = Tempo", "ALTER TABLE [Vins] DROP COLUMN [Tempo]",
          "ALTER TABLE [ChampsPerso] ADD COLUMN [Liste] BIT", "UPDATE ChampsPerso SET Liste = 1"}) {
        SCOPED_TRACE(sql);
        EXPECT_NO_THROW(db.execute(u(sql)));
    }
    for (const char* name : {schema::query::kRequeteInitiale, schema::query::kRequeteListe,
                             schema::query::kRequeteConsommation}) {
        EXPECT_NO_THROW(db.setQueryDefSql(u(name), schema::queryText(u(name))));
    }
    EXPECT_EQ(selectRows(db, QStringLiteral("SELECT NomListe, Etiquette, ChampPerso5 FROM RequeteListe"),
                         {"NomListe", "Etiquette", "ChampPerso5"}),
              (QList<QStringList>{{"Moyen   (Chablis 2001, 5 bouteilles)", "<Null>", "note 2"}}));
    EXPECT_EQ(selectRows(db, QStringLiteral("SELECT Count(*) AS n FROM RequeteConsommation"), {"n"}),
              (QList<QStringList>{{"2"}}));
}

}  // namespace
