// The stored queries of a cellar: stock, bottle price, names and captions,
// positions and the consumption periods, on small cellars that show each rule.

#include "data/engine/database.h"
#include "data/engine/query.h"
#include "data/schema.h"
#include "support/cellarfixtures.h"
#include "support/tempfolders.h"

#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <optional>

using vinorium::test::CellarFixture;
using vinorium::test::selectRows;
using vinorium::test::TempFolders;
using vinorium::test::Wine;
namespace schema = vinorium::data::schema;

namespace {

QString u(const char* utf8) {
    return QString::fromUtf8(utf8);
}

class SchemaQueries : public ::testing::Test {
  protected:
    QList<QStringList> rows(const QString& sql, const QStringList& columns) {
        return selectRows(cellar.db(), sql, columns);
    }
    QList<QStringList> rowsOf(const QString& query, int cptr, const QStringList& columns) {
        return rows(QStringLiteral("SELECT * FROM %1 AS TableSource WHERE Cptr = %2").arg(query).arg(cptr),
                    columns);
    }

    TempFolders folders;
    CellarFixture cellar{folders.scratch(QStringLiteral("cave.mdb"))};
};

TEST_F(SchemaQueries, StockIsTheSumOfMovementsAndZeroWithoutAny) {
    const int none = cellar.addWine({.nom = QStringLiteral("Sans mouvement"), .millesime = 2005});
    const int some = cellar.addWine({.nom = QStringLiteral("Avec mouvements"), .millesime = 2001});
    cellar.addMovement(some, QDate(2004, 5, 1), 12, 3);
    cellar.addMovement(some, QDate(2005, 1, 2), -5, 3);
    cellar.addMovement(some, QDate(2005, 1, 3), 0, 0);

    for (const char* query :
         {schema::query::kRequeteInitiale, schema::query::kRequeteListe,
          schema::query::kRequeteInitialePositions, schema::query::kRequeteListePositions}) {
        SCOPED_TRACE(query);
        vinorium::data::Query q(&cellar.db());
        q.setSql(QStringLiteral("SELECT QuantiteRestante FROM %1 WHERE Cptr = %2").arg(u(query)).arg(none));
        q.open();
        ASSERT_FALSE(q.eof());
        EXPECT_FALSE(q.field(QStringLiteral("QuantiteRestante")).isNull());
        EXPECT_EQ(q.field(QStringLiteral("QuantiteRestante")).asInteger(), 0);
    }
    EXPECT_EQ(rowsOf(u(schema::query::kRequeteInitiale), some, {QStringLiteral("QuantiteRestante")}),
              QList<QStringList>{{QStringLiteral("7")}});
    // The selection conditions the programs use.
    EXPECT_EQ(
        rows(QStringLiteral("SELECT Cptr FROM RequeteInitiale AS TableSource WHERE (QuantiteRestante > 0)"),
             {QStringLiteral("Cptr")}),
        QList<QStringList>{{QString::number(some)}});
    EXPECT_EQ(
        rows(QStringLiteral("SELECT Cptr FROM RequeteInitiale AS TableSource WHERE (QuantiteRestante >= 0) "
                            "ORDER BY Cptr"),
             {QStringLiteral("Cptr")}),
        (QList<QStringList>{{QString::number(none)}, {QString::number(some)}}));
}

TEST_F(SchemaQueries, BottlePriceIsFormattedForA75ClBottle) {
    struct Case {
        std::optional<double> prix;
        bool vrac;
        const char* expected;
    };
    const Case cases[] = {
        {10.0, true, "7,50"},                         // per litre: 0.75 of it
        {10.0, false, "10,00"},                       // a bottle
        {12.5, false, "12,50"}, {0.5, false, ",50"},  // Jet's "#.00" writes no leading zero
        {0.0, false, "0"},      {0.0, true, "0"},    {std::nullopt, false, "0"}, {std::nullopt, true, "0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << (c.prix ? QString::number(*c.prix).toStdString() : "Null")
                                        << (c.vrac ? " vrac" : ""));
        const int cptr = cellar.addWine({.nom = QStringLiteral("Prix"), .prix = c.prix, .vrac = c.vrac});
        cellar.addMovement(cptr, QDate(2005, 1, 1), 1, 0);
        for (const char* query :
             {schema::query::kRequeteInitiale, schema::query::kRequeteListe,
              schema::query::kRequeteInitialePositions, schema::query::kRequeteListePositions,
              schema::query::kRequeteConsommation}) {
            SCOPED_TRACE(query);
            EXPECT_EQ(rowsOf(u(query), cptr, {QStringLiteral("PrixBouteille")}),
                      QList<QStringList>{{u(c.expected)}});
        }
    }
    // The statistics multiply it by the stock: the text takes part as a number.
    const int vrac = cellar.addWine({.nom = QStringLiteral("Vrac"), .prix = 10.0, .vrac = true});
    cellar.addMovement(vrac, QDate(2005, 1, 1), 4, 0);
    EXPECT_EQ(rows(QStringLiteral(
                       "SELECT Sum(PrixBouteille * QuantiteRestante) \\ 1 AS Valeur FROM RequeteInitiale "
                       "AS TableSource WHERE Cptr = %1")
                       .arg(vrac),
                   {QStringLiteral("Valeur")}),
              QList<QStringList>{{QStringLiteral("30")}});
}

TEST_F(SchemaQueries, NamesFallBackToTheGrowerThenToTheEmptyText) {
    struct Case {
        Wine wine;
        const char* nomComplet;
        const char* nomListe;           // RequeteListe
        const char* nomListePositions;  // RequeteListePositions
    };
    const Case cases[] = {
        {{.nom = u("Château Margaux"),
          .recoltant = QStringLiteral("SA"),
          .appellation = QStringLiteral("Margaux"),
          .millesime = 2000},
         "Château Margaux",
         "Château Margaux   (Margaux 2000, 6 bouteilles)",
         "Château Margaux (Margaux 2000)"},
        {{.recoltant = QStringLiteral("Dupont"), .appellation = QStringLiteral("Chablis"), .millesime = 2004},
         "Dupont",
         "Dupont   (Chablis 2004, 6 bouteilles)",
         "Dupont (Chablis 2004)"},
        {{.recoltant = QStringLiteral("Durand"), .nomNull = true},
         "Durand",
         "Durand   (Bordeaux , 6 bouteilles)",
         "Durand (Bordeaux )"},
        {{}, "", "   (Bordeaux , 6 bouteilles)", " (Bordeaux )"},
        {{.nomNull = true, .recoltantNull = true}, "", "   (Bordeaux , 6 bouteilles)", " (Bordeaux )"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.nomListe);
        const int cptr = cellar.addWine(c.wine);
        cellar.addMovement(cptr, QDate(2005, 2, 1), 6, 4);
        const QStringList columns = {QStringLiteral("NomComplet"), QStringLiteral("NomListe")};
        EXPECT_EQ(rowsOf(QStringLiteral("RequeteListe"), cptr, columns),
                  (QList<QStringList>{{u(c.nomComplet), u(c.nomListe)}}));
        EXPECT_EQ(rowsOf(QStringLiteral("RequeteListePositions"), cptr, columns),
                  (QList<QStringList>{{u(c.nomComplet), u(c.nomListePositions)}}));
        EXPECT_EQ(rowsOf(QStringLiteral("RequeteConsommation"), cptr, {QStringLiteral("NomComplet")}),
                  QList<QStringList>{{u(c.nomComplet)}});
    }
}

TEST_F(SchemaQueries, PositionQueriesGiveOneRowPerWineAndPosition) {
    const int wine = cellar.addWine({.nom = QStringLiteral("Deux casiers"), .millesime = 2003});
    cellar.addMovement(wine, QDate(2004, 1, 1), 6, 12);
    cellar.addMovement(wine, QDate(2004, 1, 1), 3, 14);
    cellar.addMovement(wine, QDate(2005, 6, 1), -2, 12);
    const int nowhere = cellar.addWine({.nom = QStringLiteral("Ailleurs")});
    cellar.addMovement(nowhere, QDate(2004, 1, 1), 2, 0);
    const int unplaced = cellar.addWine({.nom = QStringLiteral("Sans mouvement")});

    const QStringList columns = {QStringLiteral("Position"), QStringLiteral("QuantiteRestante")};
    const QString sql =
        QStringLiteral("SELECT Position, QuantiteRestante FROM %1 WHERE Cptr = %2 ORDER BY Position");
    for (const char* query :
         {schema::query::kRequeteInitialePositions, schema::query::kRequeteListePositions}) {
        SCOPED_TRACE(query);
        EXPECT_EQ(rows(sql.arg(u(query)).arg(wine), columns),
                  (QList<QStringList>{{QStringLiteral("12"), QStringLiteral("4")},
                                      {QStringLiteral("14"), QStringLiteral("3")}}));
        EXPECT_EQ(rows(sql.arg(u(query)).arg(nowhere), columns),
                  (QList<QStringList>{{QStringLiteral("0"), QStringLiteral("2")}}));
        // A wine without movements has one row and no position.
        EXPECT_EQ(rows(sql.arg(u(query)).arg(unplaced), columns),
                  (QList<QStringList>{{QStringLiteral("<Null>"), QStringLiteral("0")}}));
    }
    EXPECT_EQ(rowsOf(QStringLiteral("RequeteInitiale"), wine, {QStringLiteral("QuantiteRestante")}),
              QList<QStringList>{{QStringLiteral("7")}});
}

TEST_F(SchemaQueries, ConsumptionHasTheDatedMovementsInDateOrderWithTheirPeriods) {
    const int wine = cellar.addWine({.nom = QStringLiteral("Bu"), .millesime = 1999});
    cellar.addMovement(wine, QDate(2005, 12, 31), -1, 2);
    cellar.addMovement(wine, QDate(2005, 2, 10), 12, 2);
    cellar.addMovement(wine, std::nullopt, -3, 2, QStringLiteral("sans date"));
    cellar.addMovement(wine, QDate(2005, 3, 15), -2, 2);
    cellar.addMovement(wine, QDate(2005, 5, 2), -1, 0);
    cellar.addMovement(wine, QDate(2006, 1, 1), -1, 2);

    const QStringList columns = {
        QStringLiteral("QuantiteEntreeSortie"), QStringLiteral("Position"),
        QStringLiteral("AnneeEntreeSortie"),    QStringLiteral("TrimestreEntreeSortie"),
        QStringLiteral("MoisEntreeSortie"),     QStringLiteral("SemaineEntreeSortie"),
        QStringLiteral("QuantiteRestante")};
    const QList<QStringList> expected = {
        {"12", "2", "2005", "1er trimestre 2005", u("février2005"), "Semaine 07 de 2005", "4"},
        {"-2", "2", "2005", "1er trimestre 2005", "mars2005", "Semaine 12 de 2005", "4"},
        {"-1", "0", "2005", u("2ème trimestre 2005"), "mai2005", "Semaine 19 de 2005", "4"},
        {"-1", "2", "2005", u("4ème trimestre 2005"), u("décembre2005"), "Semaine 53 de 2005", "4"},
        {"-1", "2", "2006", "1er trimestre 2006", "janvier2006", "Semaine 01 de 2006", "4"},
    };
    EXPECT_EQ(rowsOf(QStringLiteral("RequeteConsommation"), wine, columns), expected);
}

TEST_F(SchemaQueries, WineWithAnUnknownAppellationIsInNoQuery) {
    const int known = cellar.addWine({.nom = QStringLiteral("Connu")});
    const int unknown =
        cellar.addWine({.nom = QStringLiteral("Inconnu"), .appellation = QStringLiteral("Nulle part")});
    const int noAppellation = cellar.addWine({.nom = QStringLiteral("Sans"), .appellation = QString()});
    for (int cptr : {known, unknown, noAppellation}) {
        cellar.addMovement(cptr, QDate(2005, 1, 1), 6, 1);
    }
    for (const QString& query : schema::queryNames()) {
        SCOPED_TRACE(query.toStdString());
        EXPECT_EQ(
            rows(QStringLiteral("SELECT Cptr FROM %1 AS TableSource").arg(query), {QStringLiteral("Cptr")}),
            QList<QStringList>{{QString::number(known)}});
    }
    // Once its appellation exists the wine comes back, with the region of the appellation.
    cellar.addAppellation(QStringLiteral("Nulle part"), QStringLiteral("Ailleurs"));
    EXPECT_EQ(rowsOf(QStringLiteral("RequeteListe"), unknown, {QStringLiteral("Region")}),
              QList<QStringList>{{QStringLiteral("Ailleurs")}});
}

TEST_F(SchemaQueries, QueriesCarryEveryColumnOfTheWine) {
    Wine wine{.nom = QStringLiteral("Complet"),
              .recoltant = QStringLiteral("Maison"),
              .appellation = u("Côtes du Rhône"),
              .type = QStringLiteral("Blanc"),
              .conditionnement = QStringLiteral("Magnum"),
              .millesime = 2010,
              .prix = 8.4,
              .offert = true,
              .attendre = 2012,
              .boireAvant = 2020,
              .cuvee = QStringLiteral("Vieilles vignes"),
              .classement = QStringLiteral("Cru"),
              .champsPerso = {QStringLiteral("c1"), QStringLiteral("c2"), QStringLiteral("c3"),
                              QStringLiteral("c4"), QStringLiteral("c5")},
              .robe = QStringLiteral("paille"),
              .nez = QStringLiteral("fleurs"),
              .bouche = QStringLiteral("vive"),
              .note = QStringLiteral("16"),
              .qualitePrix = QStringLiteral("bon"),
              .appreciation = QStringLiteral("ancienne"),
              .etiquette = QStringLiteral("complet.jpg"),
              .autres = {{QStringLiteral("CommentaireSorties"), QStringLiteral("'sorties'")}}};
    const int cptr = cellar.addWine(wine);
    cellar.addMovement(cptr, QDate(2011, 1, 1), 3, 7);
    const QStringList common = {"Cptr",
                                "Nom",
                                "Millesime",
                                "Recoltant",
                                "Region",
                                "Appellation",
                                "Type",
                                "Conditionnement",
                                "Cuvee",
                                "Classement",
                                "Prix",
                                "PrixBouteille",
                                "ChampPerso1",
                                "Offert",
                                "Vrac",
                                "BoireAvant",
                                "Attendre",
                                "ChampPerso2",
                                "ChampPerso3",
                                "ChampPerso4",
                                "ChampPerso5",
                                "CommentaireSorties",
                                "Robe",
                                "Nez",
                                "Bouche",
                                "Appreciation",
                                "QualitePrix",
                                "Note",
                                "QuantiteRestante"};
    const QStringList values = {QString::number(cptr),
                                "Complet",
                                "2010",
                                "Maison",
                                u("Rhône"),
                                u("Côtes du Rhône"),
                                "Blanc",
                                "Magnum",
                                "Vieilles vignes",
                                "Cru",
                                "8,4",
                                "8,40",
                                "c1",
                                "-1",
                                "0",
                                "2020",
                                "2012",
                                "c2",
                                "c3",
                                "c4",
                                "c5",
                                "sorties",
                                "paille",
                                "fleurs",
                                "vive",
                                "ancienne",
                                "bon",
                                "16",
                                "3"};
    for (const QString& query : schema::queryNames()) {
        SCOPED_TRACE(query.toStdString());
        EXPECT_EQ(rowsOf(query, cptr, common), QList<QStringList>{values});
    }
    for (const char* query : {schema::query::kRequeteInitiale, schema::query::kRequeteListe}) {
        EXPECT_EQ(rowsOf(u(query), cptr, {QStringLiteral("Etiquette")}),
                  QList<QStringList>{{QStringLiteral("complet.jpg")}});
    }
}

}  // namespace

namespace {

// The stored queries sum each wine's movements: without the index on the
// movements' wine the engine reads every movement for every wine.
TEST(SchemaSpeed, WineListStaysFastOnThousandsOfWines) {
    TempFolders folders;
    CellarFixture cellar(folders.scratch(QStringLiteral("grande.mdb")));
    auto& db = cellar.db();
    db.beginTransaction();
    for (int i = 1; i <= 3000; ++i) {
        cellar.exec(
            QStringLiteral("INSERT INTO Vins (Nom, Millesime, Appellation, Type, Prix, Vrac, Offert) VALUES "
                           "('Vin %1', %2, 'Margaux', 'Rouge', 12.5, 0, 0)")
                .arg(i)
                .arg(1990 + i % 30));
        for (int k = 0; k < 5; ++k) {
            cellar.addMovement(i, QDate(2005, 1, k + 1), k == 0 ? 12 : -1, k);
        }
    }
    db.commit();
    QElapsedTimer timer;
    timer.start();
    vinorium::data::Query query(&db);
    query.setSql(
        QStringLiteral("SELECT Cptr, Type, BoireAvant, NomListe, * FROM RequeteListe AS TableSource WHERE "
                       "(QuantiteRestante > 0) ORDER BY NomComplet"));
    query.open();
    EXPECT_EQ(query.recordCount(), 3000);
    const qint64 ms = timer.elapsed();
    std::printf("wine list of 3000 wines in %lld ms\n", static_cast<long long>(ms));
    EXPECT_LT(ms, 3000);
}

}  // namespace
