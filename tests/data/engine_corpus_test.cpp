// The statements the programs send, as they build them (with sample values),
// must all parse, translate and compile on a cellar of the current layout; the
// upgrade tool's statements on a cellar of the old layouts.

#include "data/enginetest.h"
#include "data/schema.h"

#include <sqlite3.h>

namespace vinorium::test {
namespace {

// A search condition as the search window builds it (movements included).
const QString kCondition = QStringLiteral(
    "((QuantiteRestante > 0) AND ((millesime >= 2000) AND EXISTS (SELECT Cptr FROM [sortie cave] WHERE "
    "DateEntreeSortie >= #01/31/2005# AND (QuantiteEntreeSortie < 0) AND Cptr = TableSource.Cptr)))");
const QString kF = QStringLiteral(" WHERE (QuantiteRestante > 0)");
// Price bracket (width 5) and ageing class (year 2005) expressions.
const QString kTrancheEcran = QStringLiteral(
    "iif(PrixBouteille = 0, 'Sans prix', Format((Int(PrixBouteille / 5)) * 5, '00') + ' € à ' + "
    "Format((Int(PrixBouteille / 5) + 1) * 5, '00') + ' €')");
const QString kTrancheTri = QStringLiteral("iif(PrixBouteille = 0, 0, Int(PrixBouteille / 5) + 1)");
const QString kTrancheCle =
    QStringLiteral("iif(PrixBouteille = 0, '00', Format(Int(PrixBouteille / 5) + 1, '00')) + '/' + '5'");
const QString kAgeEcran = QStringLiteral(
    "iif(IsNull(BoireAvant) OR (BoireAvant <= 2007), 'A boire', iif(BoireAvant > 2010, 'Laisser en cave', "
    "'Attendre'))");
const QString kAgeTri =
    QStringLiteral("iif(IsNull(BoireAvant) OR (BoireAvant <= 2007), 1, iif(BoireAvant > 2010, 3, 2))");

QStringList currentLayoutStatements() {
    const QString c = kCondition;
    QStringList s = {
        // Start-up, helpers, saved parameters, options
        "SELECT * FROM Version",
        "SELECT Libelle FROM ChampsPerso WHERE Nom = 'ChampPerso3'",
        "SELECT Liste FROM ChampsPerso WHERE Nom = 'ChampPerso1'",
        "INSERT INTO EtatsGraphes (Nom, Type, Champ, Valeur) VALUES ('Mon état', 'Etat', 'chkPlan', '1')",
        "SELECT * FROM EtatsGraphes WHERE Type = 'Etat' AND Nom = 'Mon état' AND Champ = 'chkPlan'",
        "DELETE * FROM EtatsGraphes WHERE Nom = 'Mon état' AND Type = 'Etat'",
        "DELETE * FROM EtatsGraphes WHERE Nom = 'l''été' AND Type = 'Graphique'",
        "SELECT DISTINCT Nom FROM EtatsGraphes WHERE Type = 'Etat' ORDER BY Nom",
        "SELECT DISTINCT Nom FROM EtatsGraphes WHERE Type = 'Graphique' ORDER BY Nom",
        "UPDATE Options SET Valeur = 'Végétal' WHERE Nom = 'Couleur'",
        "SELECT * FROM Options",
        "SELECT Valeur FROM Options WHERE Nom = 'Couleur'",
        "SELECT * FROM PLAN",
        "SELECT Nom, Libelle, Position, Recherche, Liste FROM ChampsPerso",
        "UPDATE ChampsPerso SET Libelle = 'Origine', Recherche = 1, Liste = 0 WHERE Nom = 'ChampPerso1'",
        // Wine card
        "SELECT DISTINCT Appellation FROM Appellations ORDER BY Appellation",
        "SELECT DISTINCT Region FROM Appellations ORDER BY Region",
        "SELECT DISTINCT Region FROM Appellations ORDER BY Region;",
        "SELECT * FROM RequeteInitiale AS TableSource ORDER BY Appellation, Nom, Type",
        "SELECT * FROM Appellations WHERE Appellation = 'Côte Rôtie'",
        "INSERT INTO Appellations (Appellation, Region) VALUES ('Côte Rôtie', 'Rhône')",
        "INSERT INTO Vins ([Nom], [Millesime], [Etiquette], [Recoltant], [Appellation], [Type], "
        "[Conditionnement], "
        "[Cuvee], [Classement], [Prix], [ChampPerso1], [Offert], [Vrac], [ChampPerso2], [ChampPerso3], "
        "[Robe], "
        "[Nez], [Bouche], [QualitePrix], [Note], [Attendre], [BoireAvant], [ChampPerso4], [ChampPerso5]) "
        "VALUES "
        "('Château l''Été', 2005, 'etiquette.jpg', 'Dupont', 'Côte Rôtie', 'Rouge', 'Standard', Null, Null, "
        "12.5, "
        "'Origine', 0, -1, Null, Null, 'Rubis', 'Fruité', 'Ample', 'Bon', 'Note', 2007, 2012, Null, Null)",
        "SELECT MAX(cptr) AS compteur FROM Vins",
        "UPDATE Vins SET [Nom] = 'Château', [Millesime] = Null, [Etiquette] = '', [Recoltant] = 'Dupont', "
        "[Appellation] = 'Côte Rôtie', [Type] = 'Rouge', [Conditionnement] = 'Magnum', [Cuvee] = Null, "
        "[Classement] = Null, [Prix] = 7.25, [ChampPerso1] = Null, [Offert] = -1, [Vrac] = 0, [ChampPerso2] "
        "= Null, "
        "[ChampPerso3] = Null, [Robe] = Null, [Nez] = Null, [Bouche] = Null, [QualitePrix] = Null, [Note] = "
        "Null, "
        "[Attendre] = Null, [BoireAvant] = 2010, [ChampPerso4] = Null, [ChampPerso5] = Null WHERE Cptr = 1",
        "DELETE * FROM [Sortie cave] WHERE [cptr]=1",
        "INSERT INTO [Sortie cave] ([Cptr], [DateEntreeSortie], [QuantiteEntreeSortie], "
        "[PositionEntreeSortie], "
        "[CommentaireEntreeSortie]) VALUES (1, #03/01/2005#, 6, 3, 'Achat')",
        "INSERT INTO [Sortie cave] ([Cptr], [DateEntreeSortie], [QuantiteEntreeSortie], "
        "[PositionEntreeSortie], "
        "[CommentaireEntreeSortie]) VALUES (1, #12/11/2026#, 0, 0, '')",
        "SELECT DISTINCT Nom FROM Vins WHERE (Nom <> '') ORDER BY Nom",
        "SELECT DISTINCT Recoltant FROM Vins WHERE (Recoltant <> '') ORDER BY Recoltant",
        "SELECT DISTINCT QualitePrix FROM Vins WHERE (QualitePrix <> '') ORDER BY QualitePrix",
        "SELECT DISTINCT ChampPerso1 FROM Vins WHERE (ChampPerso1 <> '') ORDER BY ChampPerso1",
        "SELECT * FROM Vins WHERE Nom = 'Château'",
        "SELECT COUNT(*) AS NbVins FROM RequeteInitiale AS TableSource WHERE " + c,
        "DELETE * FROM [Sortie cave] WHERE [cptr] IN (SELECT Cptr FROM RequeteInitiale AS TableSource "
        "WHERE " +
            c + ")",
        "DELETE * FROM Vins WHERE [cptr] IN (SELECT Cptr FROM RequeteInitiale AS TableSource WHERE " + c +
            ")",
        "DELETE * FROM Vins WHERE [cptr]=1",
        "SELECT [Sortie cave].Clé, [Sortie cave].DateEntreeSortie, [Sortie cave].QuantiteEntreeSortie, "
        "[Sortie cave].PositionEntreeSortie, [Sortie cave].CommentaireEntreeSortie FROM [Sortie cave] WHERE "
        "[Sortie cave].Cptr = 1 ORDER BY [Sortie cave].DateEntreeSortie DESC",
        // Wine list, tree, searches, saved selections
        "SELECT Cptr, Type, BoireAvant, NomListe, * FROM RequeteListe AS TableSource WHERE (QuantiteRestante "
        "> 0) "
        "ORDER BY NomComplet",
        "SELECT Cptr, Type, BoireAvant, NomListe, * FROM RequeteListe AS TableSource WHERE " + c +
            " ORDER BY Millesime DESC",
        "SELECT Region, Appellation, Appellation + ' (' + Format(Count(Cptr)) & ' vins, ' + "
        "Format(Sum(QuantiteRestante)) + ' bouteilles)' AS Appellation_ FROM RequeteInitiale " +
            kF + " GROUP BY Region, Appellation ORDER BY Region, Appellation",
        "SELECT iif(IsNull(Millesime), 0, Millesime) AS _Millesime, iif(Millesime > 0, Format(Millesime), "
        "'Sans millésime') + ' (' + Format(Count(Cptr)) & ' vins, ' + Format(Sum(QuantiteRestante)) + "
        "' bouteilles)' AS Millesime_ FROM RequeteInitiale " +
            kF + " GROUP BY Millesime ORDER BY Millesime",
        "SELECT Type, Type + ' (' + Format(Count(Cptr)) & ' vins, ' + Format(Sum(QuantiteRestante)) + "
        "' bouteilles)' AS Type_ FROM RequeteInitiale " +
            kF + " GROUP BY Type ORDER BY Type",
        "SELECT " + kTrancheCle + " AS Tranche, " + kTrancheEcran +
            " + ' (' + Format(Count(Cptr)) & ' vins, ' + " +
            "Format(Sum(QuantiteRestante)) + ' bouteilles, ' + Format(Sum([PrixBouteille] * "
            "[QuantiteRestante]), "
            "'##') + ' €)' AS Tranche_ FROM RequeteInitiale " +
            kF + " GROUP BY " + kTrancheCle + ", " + kTrancheEcran + " ORDER BY " + kTrancheCle,
        "SELECT iif(IsNull(Position), 0, Position) AS _Position, iif(iif(IsNull(Position), 0, Position) > 0, "
        "Format(iif(IsNull(Position), 0, Position)), 'Ailleurs') + ' (' + Format(Count(Cptr)) & ' vins, ' + "
        "Format(Sum(QuantiteRestante)) + ' bouteilles)' AS Position_ FROM RequeteInitialePositions " +
            kF + " GROUP BY iif(IsNull(Position), 0, Position) ORDER BY iif(IsNull(Position), 0, Position)",
        "SELECT iif(IsNull(BoireAvant), 0, BoireAvant) AS Boire_Avant, iif(BoireAvant > 0, "
        "Format(BoireAvant), "
        "'Sans date limite') + ' (' + Format(Count(Cptr)) & ' vins, ' + Format(Sum(QuantiteRestante)) + "
        "' bouteilles)' AS BoireAvant_ FROM RequeteInitiale " +
            kF + " GROUP BY BoireAvant ORDER BY BoireAvant",
        "SELECT iif(IsNull(Attendre), 0, Attendre) AS _Attendre, iif(Attendre > 0, Format(Attendre), "
        "'Sans date limite') + ' (' + Format(Count(Cptr)) & ' vins, ' + Format(Sum(QuantiteRestante)) + "
        "' bouteilles)' AS Attendre_ FROM RequeteInitiale " +
            kF + " GROUP BY Attendre ORDER BY Attendre",
        "SELECT ChampPerso2, iif(IsNull(ChampPerso2), 'Vide', ChampPerso2) + ' (' + Format(Count(Cptr)) & "
        "' vins, ' + Format(Sum(QuantiteRestante)) + ' bouteilles)' AS ChampPerso2_ FROM RequeteInitiale " +
            kF + " GROUP BY ChampPerso2 ORDER BY ChampPerso2",
        "SELECT Recherche FROM ChampsPerso ORDER BY Nom",
        "SELECT cptr, type, BoireAvant, NomListe FROM RequeteListe  WHERE (QuantiteRestante > 0) AND "
        "(Appellation = 'Côte Rôtie')",
        "SELECT cptr, type, BoireAvant, NomListe FROM RequeteListe  WHERE (QuantiteRestante >= 0) AND "
        "(IsNull(Millesime))",
        "SELECT cptr, type, BoireAvant, NomListe FROM RequeteListePositions  WHERE (QuantiteRestante > 0) "
        "AND "
        "(Position = 3)",
        "SELECT cptr, type, BoireAvant, NomListe FROM RequeteListe  WHERE (QuantiteRestante > 0) AND (" +
            kTrancheCle + " = '03/5')",
        "SELECT * FROM RequeteInitiale AS TableSource WHERE ((QuantiteRestante > 0) AND ((Nom = 'Château'))) "
        "ORDER BY Appellation, Nom, Type",
        "SELECT * FROM RequeteInitiale AS TableSource WHERE " + c + " ORDER BY Appellation, Nom, Type",
        "SELECT * FROM RequeteInitiale AS TableSource WHERE ((QuantiteRestante > 0) AND (((EXISTS (SELECT "
        "Cptr "
        "FROM [sortie cave] WHERE ((QuantiteEntreeSortie > 0) AND (PositionEntreeSortie = 3) AND (Cptr = "
        "TableSource.Cptr))))))) ORDER BY Appellation, Nom, Type",
        "SELECT DISTINCT Nom FROM RequeteInitiale WHERE Nom LIKE '*chât*' AND (QuantiteRestante > 0) ORDER "
        "BY Nom",
        "SELECT Count(Cptr) AS nb, Max(Cptr) AS max FROM RequeteInitiale WHERE Nom = 'Château' AND "
        "(QuantiteRestante >= 0)",
        "SELECT Nom FROM Selections ORDER BY Nom",
        "SELECT * FROM Selections WHERE Nom = 'Rouges'",
        "INSERT INTO Selections VALUES('Rouges', '((QuantiteRestante > 0) AND ((Type = ''Rouge'')))', "
        "'\"\",\"\",\"Type\",\"=\",\"''Rouge''\"')",
        "UPDATE Selections SET Nom = 'Rouges', ChaineSQL = '(Type = ''Rouge'')', ChaineCriteres = '' WHERE "
        "Nom = "
        "'Rouges'",
        "DELETE FROM Selections WHERE Nom = 'Rouges'",
        // Statistics
        "SELECT Type, Count(Cptr) AS [QuantiteVins], Sum([QuantiteRestante]) AS [QuantiteBouteilles] FROM "
        "RequeteInitiale AS TableSource WHERE (QuantiteRestante > 0) GROUP BY Type",
        "SELECT Type, Sum(QuantiteRestante) AS Valeur FROM RequeteInitiale AS TableSource WHERE " + c +
            " AND (IsNull(BoireAvant) OR (BoireAvant <= 2007)) GROUP BY Type ",
        "SELECT Type, Sum(QuantiteRestante) AS Valeur FROM RequeteInitiale AS TableSource WHERE " + c +
            " AND ((BoireAvant > 2007) AND (BoireAvant <= 2010)) GROUP BY Type ",
        "SELECT Count(*) AS Valeur, Type FROM RequeteInitiale AS TableSource WHERE " + c +
            " AND Cptr IN (SELECT MAX(Cptr) FROM RequeteInitiale GROUP BY Appellation, Type) GROUP BY Type",
        "SELECT Sum(PrixBouteille * QuantiteRestante) \\ 1 AS Valeur, Type FROM RequeteInitiale AS "
        "TableSource "
        "WHERE " +
            c + " GROUP BY Type",
        "SELECT Sum(QuantiteRestante) AS Valeur, Type FROM RequeteInitiale AS TableSource WHERE " + c +
            " AND ((Attendre <= 2005) OR ISNULL(Attendre)) GROUP BY Type",
        "SELECT Sum(-QuantiteEntreeSortie) AS quantite, Format(DateEntreeSortie, 'mmm yy') AS temps, "
        "DateValue(Format(DateEntreeSortie, '1 mmm yyyy')) AS mois FROM RequeteConsommation AS TableSource "
        "WHERE "
        "(QuantiteRestante > 0) AND (QuantiteEntreeSortie < 0) AND int(format(dateentreesortie, 'yyyy'))*12 "
        "+ "
        "int(format(dateentreesortie, 'mm')) > int(format(now(), 'yyyy'))*12 + int(format(now(), 'mm')) - 18 "
        "GROUP BY Format(DateEntreeSortie, 'mmm yy'), DateValue(Format(DateEntreeSortie, '1 mmm yyyy')) "
        "ORDER BY "
        "DateValue(Format(DateEntreeSortie, '1 mmm yyyy'))",
        "SELECT Count(*), Format(#03/01/2005#, 'mmm yyyy') AS mois FROM Vins",
        "SELECT * FROM RequeteInitiale AS TableSource WHERE ((Type = 'Rouge') AND (IsNull(BoireAvant) OR "
        "(BoireAvant <= 2007))) AND (EXISTS (SELECT Cptr FROM [sortie cave] WHERE (Format(#03/01/2005#, "
        "'mm yyyy') = Format(DateEntreeSortie, 'mm yyyy')) AND (QuantiteEntreeSortie < 0) AND (Cptr = "
        "TableSource.Cptr)))",
        // Plan
        "DELETE FROM Plan",
        "INSERT INTO Plan (Gauche, Haut, Largeur, Hauteur, Indexe) VALUES (10, 20, 30, 40, 1)",
        // Reports
        "SELECT ' ' AS Vide , " + kTrancheEcran +
            " AS Tranche, * FROM RequeteListe AS TableSource WHERE (QuantiteRestante > 0) ORDER BY "
            "PrixBouteille, "
            "Appellation DESC",
        "SELECT ' ' AS Vide , " + kAgeEcran +
            " AS Vieillissement, * FROM RequeteListePositions AS TableSource WHERE (QuantiteRestante > 0) "
            "ORDER BY "
            "BoireAvant ASC, Position ASC",
        "SELECT ' ' AS Vide , * FROM RequeteConsommation AS TableSource WHERE (QuantiteRestante > 0) AND "
        "QuantiteEntreeSortie < 0",
        "SELECT Count(*) AS Valeur FROM RequeteListe AS TableSource WHERE Cptr IN (SELECT MAX(Cptr) FROM "
        "RequeteListe AS TableSource WHERE (QuantiteRestante > 0) GROUP BY Appellation )",
        "SELECT Sum(PrixBouteille * QuantiteEntreeSortie) \\ 1 AS Valeur FROM RequeteConsommation AS "
        "TableSource "
        "WHERE (QuantiteRestante > 0) AND QuantiteEntreeSortie > 0",
        "SELECT Sum(QuantiteRestante) AS Valeur FROM RequeteListe AS TableSource WHERE (QuantiteRestante > "
        "0) AND "
        "((Attendre <= 2005) OR ISNULL(Attendre))",
        "SELECT Type, Count(Cptr) AS [QuantiteVins], Sum([QuantiteEntreeSortie]) AS [QuantiteBouteilles] "
        "FROM "
        "RequeteConsommation AS TableSource WHERE (QuantiteRestante > 0) GROUP BY Type",
        "SELECT SUM(QuantiteRestante) AS QuantiteBouteilles, SUM(QuantiteRestante * PrixBouteille) AS "
        "PrixBouteilles, COUNT(*) AS QuantiteVins FROM RequeteListe AS TableSource WHERE (QuantiteRestante > "
        "0) "
        "AND (Appellation = 'Côte Rôtie')",
        "SELECT SUM(QuantiteRestante) AS QuantiteBouteilles, SUM(QuantiteRestante * PrixBouteille) AS "
        "PrixBouteilles, COUNT(*) AS QuantiteVins FROM RequeteListe AS TableSource WHERE (QuantiteRestante > "
        "0) "
        "AND (ISNULL(" +
            kTrancheEcran + "))",
        "SELECT SUM(QuantiteRestante) AS QuantiteBouteilles, SUM(QuantiteRestante * PrixBouteille) AS "
        "PrixBouteilles, COUNT(*) AS QuantiteVins FROM RequeteListe AS TableSource WHERE (QuantiteRestante > "
        "0) "
        "AND (PrixBouteille = 7.5)",
        // Graphs
        "TRANSFORM Count(Cptr) AS Y SELECT Type, Type AS XVal FROM RequeteInitiale AS TableSource WHERE cptr "
        "IN "
        "(SELECT MAX(Cptr) FROM RequeteInitiale AS TableSource GROUP BY Type, Cptr) AND (QuantiteRestante > "
        "0) AND "
        "NOT ISNULL(Type) GROUP BY Type, Type ORDER BY Type PIVOT 1",
        "TRANSFORM -Sum(QuantiteEntreeSortie) AS Y SELECT Format(DateEntreeSortie, 'mmm yyyy'), "
        "Val(Format(DateEntreeSortie, 'yyyy')) * 365 + val(Format(DateEntreeSortie, 'mm')) * 30 AS XVal FROM "
        "RequeteConsommation AS TableSource WHERE (QuantiteEntreeSortie < 0) AND NOT "
        "ISNULL(Format(DateEntreeSortie, "
        "'mmm yyyy')) GROUP BY Format(DateEntreeSortie, 'mmm yyyy'), Val(Format(DateEntreeSortie, 'yyyy')) * "
        "365 + "
        "val(Format(DateEntreeSortie, 'mm')) * 30 ORDER BY Val(Format(DateEntreeSortie, 'yyyy')) * 365 + "
        "val(Format(DateEntreeSortie, 'mm')) * 30 PIVOT Type",
        "TRANSFORM Sum(PrixBouteille*QuantiteRestante) AS Y SELECT " + kTrancheEcran + ", " + kTrancheTri +
            " AS XVal FROM RequeteInitiale AS TableSource WHERE (QuantiteRestante > 0) AND NOT ISNULL(" +
            kTrancheEcran + ") GROUP BY " + kTrancheEcran + ", " + kTrancheTri + " ORDER BY " + kTrancheTri +
            " PIVOT " + kAgeEcran,
        "SELECT " + kAgeEcran + ", " + kAgeTri +
            " AS XVal, Max(Millesime) AS Y FROM RequeteInitiale AS TableSource "
            "WHERE " +
            c + " AND NOT ISNULL(" + kAgeEcran + ") GROUP BY " + kAgeEcran + ", " + kAgeTri + " ORDER BY " +
            kAgeTri + " ",
        "SELECT iif(format(DateEntreeSortie, 'q')='1', format(DateEntreeSortie, 'q\\er'), "
        "format(DateEntreeSortie, "
        "'qè\\m\\e'))  & ' ' & format(DateEntreeSortie, 'yyyy'), Val(Format(DateEntreeSortie, 'yyyy')) * 365 "
        "+ "
        "val(Format(DateEntreeSortie, 'q')) * 90 AS XVal, Sum(QuantiteEntreeSortie) AS Y FROM "
        "RequeteConsommation AS "
        "TableSource WHERE cptr IN (SELECT MAX(Cptr) FROM RequeteConsommation AS TableSource GROUP BY "
        "Region, Cptr) "
        "AND (QuantiteEntreeSortie > 0) AND NOT ISNULL(Region) GROUP BY Region, Region ORDER BY Region ",
        // Appellations
        "SELECT Appellation FROM Appellations WHERE Region = 'Rhône'",
        "UPDATE Appellations SET Region = 'Vallée du Rhône' WHERE Region = 'Rhône'",
        "UPDATE Appellations SET Appellation = 'Côte-Rôtie' WHERE Appellation = 'Côte Rôtie'",
        "UPDATE Vins SET Appellation = 'Côte-Rôtie' WHERE Appellation = 'Côte Rôtie'",
        "SELECT DISTINCT Region FROM Appellations WHERE Region <> 'Rhône' ORDER BY Region;",
        "UPDATE Appellations SET Region = 'Bourgogne' WHERE Appellation = 'Chablis'",
        "SELECT * FROM Vins WHERE Appellation = 'Chablis'",
        "SELECT DISTINCT Appellation FROM Appellations WHERE Appellation <> 'Chablis' ORDER BY Appellation;",
        "DELETE FROM Appellations WHERE Appellation = 'Chablis'",
        "SELECT DISTINCT Region FROM Appellations",
        // Upgrade tool, on the current layout
        "UPDATE Selections SET ChaineSQL = '(Type = ''Rouge'')' WHERE Nom = 'Rouges'",
        "SELECT * FROM Selections",
    };
    return s;
}

// Every statement parses and translates, its translation compiles in SQLite,
// and it runs (on an empty cellar, in a transaction rolled back at the end).
void checkAll(data::Database& db, const QStringList& statements) {
    db.beginTransaction();
    for (const QString& sql : statements) {
        QString translated;
        try {
            translated = db.translate(sql);
        } catch (const data::EngineError& e) {
            ADD_FAILURE() << "translation: " << e.message().toStdString() << "\n" << sql.toStdString();
            continue;
        }
        sqlite3_stmt* stmt = nullptr;
        const QByteArray utf8 = translated.toUtf8();
        int rc =
            sqlite3_prepare_v2(db.handle(), utf8.constData(), static_cast<int>(utf8.size()), &stmt, nullptr);
        EXPECT_EQ(rc, SQLITE_OK) << sqlite3_errmsg(db.handle()) << "\n" << translated.toStdString();
        sqlite3_finalize(stmt);
        try {
            data::Query q(&db);
            q.setSql(sql);
            q.open();
            q.recordCount();
        } catch (const data::EngineError& e) {
            ADD_FAILURE() << "run: " << e.message().toStdString() << "\n" << sql.toStdString();
        }
    }
    db.rollback();
}

TEST_F(EngineTest, CorpusOfTheCurrentLayout) {
    data::schema::createLayout(db_);
    checkAll(db_, currentLayoutStatements());
}

// The upgrade tool's statements, on the layouts it starts from.
TEST_F(EngineTest, CorpusOfTheUpgrade) {
    exec({
        "CREATE TABLE Vins (Cptr COUNTER CONSTRAINT idxCptr PRIMARY KEY, Nom TEXT(255), Appellation "
        "TEXT(50), "
        "DateEntree DATETIME, QuantiteEntree LONG, Position LONG, Origine TEXT(50), CommentaireCave "
        "TEXT(50), "
        "CommentaireDegustation1 TEXT(50), CommentaireDegustation2 TEXT(50), Appreciation TEXT(50))",
        "CREATE TABLE [Sortie cave] ([Clé] COUNTER, Cptr LONG, [Date] DATETIME, [Quantite sortie] LONG, "
        "Commentaire TEXT(255))",
        "CREATE TABLE Selections (Nom TEXT(255), ChaineSQL MEMO, ChaineCriteres MEMO)",
    });
    const QStringList layout11 = {
        "CREATE TABLE Version (Version LONG)",
        "INSERT INTO Version ([Version]) VALUES (20)",
        "ALTER TABLE [Sortie cave] ADD COLUMN [PositionEntreeSortie] LONG",
        "UPDATE [Sortie cave] SET [Quantite sortie] = -[Quantite sortie] WHERE [Quantite sortie] > 0;",
        "UPDATE [Sortie cave] SET [Date] = #01/01/2000# WHERE ISNULL(Date)",
        "SELECT Cptr, DateEntree, QuantiteEntree, Position FROM Vins;",
        "INSERT INTO [Sortie cave] ([Cptr], [Date], [Quantite sortie], [PositionEntreeSortie], "
        "[Commentaire]) "
        "VALUES (1, #01/01/2000#, 6, 0, '')",
        "SELECT * FROM Selections",
        "UPDATE Selections SET ChaineCriteres = 'x' WHERE Nom = 'y'",
        "CREATE TABLE ChampsPerso (Nom TEXT(15) CONSTRAINT idxNom PRIMARY KEY, Libelle TEXT(20), Position "
        "TEXT(255), Recherche BIT)",
        "INSERT INTO ChampsPerso (Nom, Libelle, Position, Recherche) VALUES ('ChampPerso1', 'Origine', 'A "
        "gauche de "
        "la case à cocher \"Vrac\" et sous la zone \"Récoltant\"', 0)",
        "ALTER TABLE [Vins] ADD COLUMN [ChampPerso3] TEXT(10)",
        "ALTER TABLE [Vins] ADD COLUMN [Tempo] TEXT(255)",
        "UPDATE [Vins] SET Tempo = [Appreciation]",
        "ALTER TABLE [Vins] DROP COLUMN [Appreciation]",
        "ALTER TABLE [Vins] ADD COLUMN [Appreciation] TEXT(255)",
        "UPDATE [Vins] SET [Appreciation] = Tempo",
        "ALTER TABLE [Vins] DROP COLUMN [Tempo]",
        "ALTER TABLE [ChampsPerso] ADD COLUMN [Liste] BIT",
        "UPDATE ChampsPerso SET Liste = 1",
    };
    // Structure changes do not run inside the rolled-back transaction of checkAll.
    for (const QString& sql : layout11) {
        EXPECT_NO_THROW(db_.execute(sql)) << sql.toStdString();
    }
    checkAll(
        db_,
        {"UPDATE vins, [sortie cave] SET [sortie cave].PositionEntreeSortie = iif(isnull(vins.position), "
         "0, vins.position) WHERE vins.cptr = [sortie cave].cptr;",
         "DELETE * FROM [sortie cave] WHERE ISNULL([Quantite sortie]) OR ([Quantite sortie] = 0);"});
}

}  // namespace
}  // namespace vinorium::test
