// Every statement the programs send against the cellar's tables and stored
// queries, as the windows build them (lists, card, tree, searches, statistics,
// reports, graphs, options, appellations), run on a populated cellar.

#include "data/engine/database.h"
#include "data/engine/query.h"
#include "support/cellarfixtures.h"
#include "support/tempfolders.h"

#include <QDate>
#include <QFile>
#include <QMap>

#include <gtest/gtest.h>

using vinorium::data::Database;
using vinorium::data::EngineError;
using vinorium::data::Query;
using vinorium::test::CellarFixture;
using vinorium::test::TempFolders;
using vinorium::test::Wine;

namespace {

QString u(const char* utf8) {
    return QString::fromUtf8(utf8);
}

// The derived classifications with the default options (bracket width 5, 2 and
// 5 years) as the windows embed them, for the year 2026.
const char* const kTrancheEcran =
    "iif(PrixBouteille = 0, 'Sans prix', Format((Int(PrixBouteille / 5)) * 5, '00') + ' € à ' + "
    "Format((Int(PrixBouteille / 5) + 1) * 5, '00') + ' €')";
const char* const kTrancheTriN = "iif(PrixBouteille = 0, 0, Int(PrixBouteille / 5) + 1)";
const char* const kTrancheTriS =
    "iif(PrixBouteille = 0, '00', Format(Int(PrixBouteille / 5) + 1, '00')) + '/' + '5'";
const char* const kVieillissementEcran =
    "iif(IsNull(BoireAvant) OR (BoireAvant <= 2028), 'A boire', iif(BoireAvant > 2031, 'Laisser en cave', "
    "'Attendre'))";
const char* const kVieillissementTri =
    "iif(IsNull(BoireAvant) OR (BoireAvant <= 2028), 1, iif(BoireAvant > 2031, 3, 2))";
const char* const kTrimestre =
    "iif(format(DateEntreeSortie, 'q')='1', format(DateEntreeSortie, 'q\\er'), format(DateEntreeSortie, "
    "'qè\\m\\e'))  & ' ' & format(DateEntreeSortie, 'yyyy')";

const char* const kCaption =
    " + ' (' + Format(Count(Cptr)) & ' vins, ' + Format(Sum(QuantiteRestante)) + ' bouteilles)'";

struct Statement {
    const char* name;
    QString sql;
    bool rows;  // opened for rows, else executed
};

void PrintTo(const Statement& statement, std::ostream* os) {
    *os << statement.name;
}

QString sql(const char* text) {
    return QString::fromUtf8(text);
}

QList<Statement> corpus() {
    const QString F = QStringLiteral(" WHERE (QuantiteRestante > 0)");
    const QString caption = sql(kCaption);
    const QString tE = sql(kTrancheEcran), tN = sql(kTrancheTriN), tS = sql(kTrancheTriS);
    const QString vE = sql(kVieillissementEcran), vN = sql(kVieillissementTri);
    const QString cond = QStringLiteral("((QuantiteRestante > 0) AND (Type = 'Rouge'))");
    const QString existsCond = QStringLiteral(
        "((millesime >= 2000) AND EXISTS (SELECT Cptr FROM [sortie cave] WHERE DateEntreeSortie >= "
        "#01/31/2005# "
        "AND (QuantiteEntreeSortie < 0) AND Cptr = TableSource.Cptr))");
    const QString chart = QStringLiteral(
        "SELECT Sum(-QuantiteEntreeSortie) AS quantite, Format(DateEntreeSortie, 'mmm yy') AS temps, "
        "DateValue(Format(DateEntreeSortie, '1 mmm yyyy')) AS mois FROM RequeteConsommation AS TableSource "
        "WHERE %1 AND (QuantiteEntreeSortie < 0) AND int(format(dateentreesortie, 'yyyy'))*12 + "
        "int(format(dateentreesortie, 'mm')) > int(format(now(), 'yyyy'))*12 + int(format(now(), 'mm')) - 18 "
        "GROUP BY Format(DateEntreeSortie, 'mmm yy'), DateValue(Format(DateEntreeSortie, '1 mmm yyyy')) "
        "ORDER BY DateValue(Format(DateEntreeSortie, '1 mmm yyyy'))");
    const QString consoSource = QStringLiteral("RequeteConsommation AS TableSource");
    const QString consoCond = QStringLiteral("(QuantiteRestante > 0) AND QuantiteEntreeSortie < 0");
    const QString wineValues = u(
        "'Château l''Évangile', 2005, 'evangile.jpg', 'Famille Rothschild', 'Pomerol', 'Rouge', 'Standard ', "
        "'', 'Grand vin', 45.5, 'Pomerol', 0, 0, 'Cave du fond', '', 'Grenat', 'Truffe', 'Ample', 'Cher', "
        "'17', 2010, 2030, '', ''");
    const QString wineColumns = QStringLiteral(
        "[Nom], [Millesime], [Etiquette], [Recoltant], [Appellation], [Type], [Conditionnement], [Cuvee], "
        "[Classement], [Prix], [ChampPerso1], [Offert], [Vrac], [ChampPerso2], [ChampPerso3], [Robe], [Nez], "
        "[Bouche], [QualitePrix], [Note], [Attendre], [BoireAvant], [ChampPerso4], [ChampPerso5]");
    const QString movementColumns = QStringLiteral(
        "INSERT INTO [Sortie cave] ([Cptr], [DateEntreeSortie], [QuantiteEntreeSortie], "
        "[PositionEntreeSortie], "
        "[CommentaireEntreeSortie]) VALUES (");

    QList<Statement> out = {
        // Start-up, shared helpers, options.
        {"version", sql("SELECT * FROM Version"), true},
        {"libelle", sql("SELECT Libelle FROM ChampsPerso WHERE Nom = 'ChampPerso1'"), true},
        {"options", sql("SELECT * FROM Options"), true},
        {"option_couleur", sql("SELECT Valeur FROM Options WHERE Nom = 'Couleur'"), true},
        {"option_update", u("UPDATE Options SET Valeur = 'Cendré' WHERE Nom = 'Couleur'"), false},
        {"option_mode", sql("UPDATE Options SET Valeur = '0' WHERE Nom = 'ModeSaisie'"), false},
        {"champsperso_options", sql("SELECT Nom, Libelle, Position, Recherche, Liste FROM ChampsPerso"),
         true},
        {"champsperso_update",
         sql("UPDATE ChampsPerso SET Libelle = 'Cépage', Recherche = 1, Liste = 0 WHERE Nom = 'ChampPerso1'"),
         false},
        {"selection_names", sql("SELECT Nom FROM Selections ORDER BY Nom"), true},
        {"plan", sql("SELECT * FROM PLAN"), true},
        // Saved screen parameters.
        {"etat_insert",
         sql("INSERT INTO EtatsGraphes (Nom, Type, Champ, Valeur) VALUES ('Ma cave', 'Etat', 'txtTitre', "
             "'Liste des Vins')"),
         false},
        {"etat_restore",
         sql("SELECT * FROM EtatsGraphes WHERE Type = 'Etat' AND Nom = 'Cave' AND Champ = 'cboType'"), true},
        {"etat_delete", sql("DELETE * FROM EtatsGraphes WHERE Nom = 'Cave' AND Type = 'Etat'"), false},
        {"etat_names", sql("SELECT DISTINCT Nom FROM EtatsGraphes WHERE Type = 'Etat' ORDER BY Nom"), true},
        {"graph_names", sql("SELECT DISTINCT Nom FROM EtatsGraphes WHERE Type = 'Graphique' ORDER BY Nom"),
         true},
        {"graph_delete", sql("DELETE * FROM EtatsGraphes WHERE Nom = 'Conso' AND Type = 'Graphique'"), false},
        // Wine card: loading, saving, deleting.
        {"card_appellations", sql("SELECT DISTINCT Appellation FROM Appellations ORDER BY Appellation"),
         true},
        {"card_regions", sql("SELECT DISTINCT Region FROM Appellations ORDER BY Region"), true},
        {"card_wines", sql("SELECT * FROM RequeteInitiale AS TableSource ORDER BY Appellation, Nom, Type"),
         true},
        {"card_appellation_lookup",
         u("SELECT * FROM Appellations WHERE Appellation = 'Saint-Émilion grand cru'"), true},
        {"card_insert", QStringLiteral("INSERT INTO Vins (%1) VALUES (%2)").arg(wineColumns, wineValues),
         false},
        {"card_update",
         u("UPDATE Vins SET [Nom] = 'Clos Neuf', [Millesime] = Null, [Etiquette] = '', [Recoltant] = 'Moi', "
           "[Appellation] = 'Chablis', [Type] = 'Blanc', [Conditionnement] = 'Magnum', [Cuvee] = '', "
           "[Classement] = '', [Prix] = 12.5, [ChampPerso1] = '', [Offert] = -1, [Vrac] = 0, [ChampPerso2] = "
           "'', "
           "[ChampPerso3] = '', [Robe] = '', [Nez] = '', [Bouche] = '', [QualitePrix] = '', [Note] = '', "
           "[Attendre] = Null, [BoireAvant] = 2030, [ChampPerso4] = '', [ChampPerso5] = '' WHERE Cptr = 2"),
         false},
        {"card_new_key", sql("SELECT MAX(cptr) AS compteur FROM Vins"), true},
        {"card_clear_movements", sql("DELETE * FROM [Sortie cave] WHERE [cptr]=1"), false},
        {"card_exit", movementColumns + u("1, #03/12/2005#, -2, 12, 'dîner')"), false},
        {"card_entry", movementColumns + sql("1, #01/02/2004#, 6, 12, 'achat')"), false},
        {"card_placeholder", movementColumns + sql("1, #12/11/2026#, 0, 0, '')"), false},
        {"card_names", sql("SELECT DISTINCT Nom FROM Vins WHERE (Nom <> '') ORDER BY Nom"), true},
        {"card_growers",
         sql("SELECT DISTINCT Recoltant FROM Vins WHERE (Recoltant <> '') ORDER BY Recoltant"), true},
        {"card_qualite",
         sql("SELECT DISTINCT QualitePrix FROM Vins WHERE (QualitePrix <> '') ORDER BY QualitePrix"), true},
        {"card_delete_movements", sql("DELETE * FROM [Sortie cave] WHERE [cptr]=1"), false},
        {"card_delete", sql("DELETE * FROM Vins WHERE [cptr]=1"), false},
        {"card_count_selection",
         QStringLiteral("SELECT COUNT(*) AS NbVins FROM RequeteInitiale AS TableSource WHERE ") + cond, true},
        {"card_delete_selection_movements",
         QStringLiteral(
             "DELETE * FROM [Sortie cave] WHERE [cptr] IN (SELECT Cptr FROM RequeteInitiale AS TableSource "
             "WHERE %1)")
             .arg(cond),
         false},
        {"card_delete_selection",
         QStringLiteral(
             "DELETE * FROM Vins WHERE [cptr] IN (SELECT Cptr FROM RequeteInitiale AS TableSource WHERE %1)")
             .arg(cond),
         false},
        {"card_same_name", u("SELECT * FROM Vins WHERE Nom = 'Château l''Évangile'"), true},
        {"card_regions_choice", sql("SELECT DISTINCT Region FROM Appellations ORDER BY Region;"), true},
        {"card_new_appellation",
         u("INSERT INTO Appellations (Appellation, Region) VALUES ('Côte de Sézanne', "
           "'Champagne')"),
         false},
        {"custom_liste", sql("SELECT Liste FROM ChampsPerso WHERE Nom = 'ChampPerso1'"), true},
        {"custom_values",
         sql("SELECT DISTINCT ChampPerso1 FROM Vins WHERE (ChampPerso1 <> '') ORDER BY ChampPerso1"), true},
        {"movements_of_wine",
         u("SELECT [Sortie cave].Clé, [Sortie cave].DateEntreeSortie, [Sortie cave].QuantiteEntreeSortie, "
           "[Sortie cave].PositionEntreeSortie, [Sortie cave].CommentaireEntreeSortie FROM [Sortie cave] "
           "WHERE "
           "[Sortie cave].Cptr = 2 ORDER BY [Sortie cave].DateEntreeSortie DESC"),
         true},
        // Wine list.
        {"list",
         sql("SELECT Cptr, Type, BoireAvant, NomListe, * FROM RequeteListe AS TableSource WHERE "
             "(QuantiteRestante > 0) ORDER BY NomComplet"),
         true},
        {"list_icon_order",
         sql("SELECT Cptr, Type, BoireAvant, NomListe, * FROM RequeteListe AS TableSource WHERE "
             "(QuantiteRestante >= 0) ORDER BY BoireAvant DESC, Type"),
         true},
        {"list_selection",
         QStringLiteral(
             "SELECT Cptr, Type, BoireAvant, NomListe, * FROM RequeteListe AS TableSource WHERE %1 ORDER BY "
             "Millesime DESC")
             .arg(existsCond),
         true},
        // Classification tree.
        {"tree_appellations",
         QStringLiteral("SELECT Region, Appellation, Appellation") + caption +
             QStringLiteral(" AS Appellation_ FROM RequeteInitiale") + F +
             QStringLiteral(" GROUP BY Region, Appellation ORDER BY Region, Appellation"),
         true},
        {"tree_millesimes",
         u("SELECT iif(IsNull(Millesime), 0, Millesime) AS _Millesime, iif(Millesime > 0, Format(Millesime), "
           "'Sans millésime')") +
             caption + QStringLiteral(" AS Millesime_ FROM RequeteInitiale") + F +
             QStringLiteral(" GROUP BY Millesime ORDER BY Millesime"),
         true},
        {"tree_types",
         QStringLiteral("SELECT Type, Type") + caption + QStringLiteral(" AS Type_ FROM RequeteInitiale") +
             F + QStringLiteral(" GROUP BY Type ORDER BY Type"),
         true},
        {"tree_prix",
         QStringLiteral("SELECT ") + tS + QStringLiteral(" AS Tranche, ") + tE +
             u(" + ' (' + Format(Count(Cptr)) & ' vins, ' + Format(Sum(QuantiteRestante)) + ' bouteilles, ' "
               "+ "
               "Format(Sum([PrixBouteille] * [QuantiteRestante]), '##') + ' €)' AS Tranche_ FROM "
               "RequeteInitiale") +
             F + QStringLiteral(" GROUP BY ") + tS + QStringLiteral(", ") + tE +
             QStringLiteral(" ORDER BY ") + tS,
         true},
        {"tree_position",
         QStringLiteral(
             "SELECT iif(IsNull(Position), 0, Position) AS _Position, iif(iif(IsNull(Position), 0, "
             "Position) > 0, Format(iif(IsNull(Position), 0, Position)), 'Ailleurs')") +
             caption + QStringLiteral(" AS Position_ FROM RequeteInitialePositions") + F +
             QStringLiteral(
                 " GROUP BY iif(IsNull(Position), 0, Position) ORDER BY iif(IsNull(Position), 0, Position)"),
         true},
        {"tree_boire_avant",
         QStringLiteral("SELECT iif(IsNull(BoireAvant), 0, BoireAvant) AS Boire_Avant, iif(BoireAvant > 0, "
                        "Format(BoireAvant), 'Sans date limite')") +
             caption + QStringLiteral(" AS BoireAvant_ FROM RequeteInitiale") + F +
             QStringLiteral(" GROUP BY BoireAvant ORDER BY BoireAvant"),
         true},
        {"tree_attendre",
         QStringLiteral("SELECT iif(IsNull(Attendre), 0, Attendre) AS _Attendre, iif(Attendre > 0, "
                        "Format(Attendre), 'Sans date limite')") +
             caption + QStringLiteral(" AS Attendre_ FROM RequeteInitiale") + F +
             QStringLiteral(" GROUP BY Attendre ORDER BY Attendre"),
         true},
        {"tree_custom",
         QStringLiteral("SELECT ChampPerso1, iif(IsNull(ChampPerso1), 'Vide', ChampPerso1)") + caption +
             QStringLiteral(" AS ChampPerso1_ FROM RequeteInitiale") + F +
             QStringLiteral(" GROUP BY ChampPerso1 ORDER BY ChampPerso1"),
         true},
        {"tree_custom_flags", sql("SELECT Recherche FROM ChampsPerso ORDER BY Nom"), true},
        {"tree_wines",
         u("SELECT cptr, type, BoireAvant, NomListe FROM RequeteListe  WHERE (QuantiteRestante > 0) AND "
           "(Appellation = 'Saint-Émilion grand cru')"),
         true},
        {"tree_wines_missing",
         sql("SELECT cptr, type, BoireAvant, NomListe FROM RequeteListe  WHERE "
             "(QuantiteRestante >= 0) AND (IsNull(Millesime))"),
         true},
        {"tree_wines_position",
         sql("SELECT cptr, type, BoireAvant, NomListe FROM RequeteListePositions  WHERE "
             "(QuantiteRestante > 0) AND (Position = 0)"),
         true},
        {"tree_wines_price",
         QStringLiteral(
             "SELECT cptr, type, BoireAvant, NomListe FROM RequeteListe  WHERE (QuantiteRestante > 0) AND "
             "(%1 = '03/5')")
             .arg(tS),
         true},
        // Query-by-form searches and their combinations.
        {"search_example",
         QStringLiteral(
             "SELECT * FROM RequeteInitiale AS TableSource WHERE %1 ORDER BY Appellation, Nom, Type")
             .arg(existsCond),
         true},
        {"search_like",
         u("SELECT * FROM RequeteInitiale AS TableSource WHERE ((QuantiteRestante > 0) AND ((nom LIKE "
           "'*château*' "
           "AND recoltant LIKE '*l''ami*' AND Type = 'Rouge' AND offert = -1 AND prix >= 10.5 AND millesime "
           "IS "
           "Null))) ORDER BY Appellation, Nom, Type"),
         true},
        {"search_entries",
         sql("SELECT * FROM RequeteInitiale AS TableSource WHERE ((QuantiteRestante > 0) AND ((EXISTS "
             "(SELECT Cptr "
             "FROM [sortie cave] WHERE PositionEntreeSortie = 12 AND DateEntreeSortie <= #12/31/2005# AND "
             "CommentaireEntreeSortie LIKE '*cadeau*' AND (QuantiteEntreeSortie > 0) AND Cptr = "
             "TableSource.Cptr)))) "
             "ORDER BY Appellation, Nom, Type"),
         true},
        {"search_exits",
         sql("SELECT * FROM RequeteInitiale AS TableSource WHERE ((EXISTS (SELECT Cptr FROM [sortie cave] "
             "WHERE "
             "QuantiteEntreeSortie <= -2 AND (QuantiteEntreeSortie < 0) AND Cptr = TableSource.Cptr))) ORDER "
             "BY "
             "Appellation, Nom, Type"),
         true},
        {"search_ageing",
         sql("SELECT * FROM RequeteInitiale AS TableSource WHERE ((QuantiteRestante > 0) AND ((BoireAvant > "
             "2028 "
             "AND BoireAvant <= 2031))) ORDER BY Appellation, Nom, Type"),
         true},
        {"search_incremental",
         sql("SELECT * FROM RequeteInitiale AS TableSource WHERE ((QuantiteRestante > 0) AND ((Type = "
             "'Rouge') OR "
             "((Region LIKE '*Loire*')))) ORDER BY Appellation, Nom, Type"),
         true},
        {"search_quantity",
         sql("SELECT * FROM RequeteInitiale AS TableSource WHERE ((QuantiteRestante >= 6) AND "
             "(Conditionnement = "
             "'Magnum' OR IsNull(Conditionnement))) ORDER BY Appellation, Nom, Type"),
         true},
        // Name search and history.
        {"name_suggestions",
         u("SELECT DISTINCT Nom FROM RequeteInitiale WHERE Nom LIKE '*chât*' AND "
           "(QuantiteRestante > 0) ORDER BY Nom"),
         true},
        {"name_validate",
         u("SELECT Count(Cptr) AS nb, Max(Cptr) AS max FROM RequeteInitiale WHERE Nom = "
           "'Château l''Évangile' AND (QuantiteRestante >= 0)"),
         true},
        // Saved selections.
        {"selection_recall", sql("SELECT * FROM Selections WHERE Nom = 'Rouges'"), true},
        {"selection_store",
         sql("INSERT INTO Selections VALUES('L''été', '((QuantiteRestante > 0) AND (Type = ''Rosé''))', "
             "',,\"(Type\",=,\"''Rosé'')\"')"),
         false},
        {"selection_update",
         sql("UPDATE Selections SET Nom = 'Rouges', ChaineSQL = '(Type = ''Rouge'')', ChaineCriteres = "
             "',,Type,=,''Rouge''' WHERE Nom = 'Rouges'"),
         false},
        {"selection_delete", sql("DELETE FROM Selections WHERE Nom = 'Rouges'"), false},
        // Statistics panel.
        {"stats_types",
         QStringLiteral(
             "SELECT Type, Count(Cptr) AS [QuantiteVins], Sum([QuantiteRestante]) AS [QuantiteBouteilles] "
             "FROM RequeteInitiale AS TableSource WHERE %1 GROUP BY Type")
             .arg(cond),
         true},
        {"stats_ageing_1",
         QStringLiteral(
             "SELECT Type, Sum(QuantiteRestante) AS Valeur FROM RequeteInitiale AS TableSource WHERE "
             "(QuantiteRestante > 0) AND (IsNull(BoireAvant) OR (BoireAvant <= 2028)) GROUP BY Type "),
         true},
        {"stats_ageing_2",
         QStringLiteral(
             "SELECT Type, Sum(QuantiteRestante) AS Valeur FROM RequeteInitiale AS TableSource WHERE "
             "(QuantiteRestante > 0) AND ((BoireAvant > 2028) AND (BoireAvant <= 2031)) GROUP BY Type "),
         true},
        {"stats_ageing_3",
         QStringLiteral(
             "SELECT Type, Sum(QuantiteRestante) AS Valeur FROM RequeteInitiale AS TableSource WHERE "
             "(QuantiteRestante > 0) AND (BoireAvant > 2031) GROUP BY Type "),
         true},
        {"stats_appellations",
         QStringLiteral(
             "SELECT Count(*) AS Valeur, Type FROM RequeteInitiale AS TableSource WHERE (QuantiteRestante > "
             "0) AND Cptr IN (SELECT MAX(Cptr) FROM RequeteInitiale GROUP BY Appellation, Type) GROUP BY "
             "Type"),
         true},
        {"stats_value",
         QStringLiteral(
             "SELECT Sum(PrixBouteille * QuantiteRestante) \\ 1 AS Valeur, Type FROM RequeteInitiale AS "
             "TableSource WHERE (QuantiteRestante > 0) GROUP BY Type"),
         true},
        {"stats_ready",
         QStringLiteral(
             "SELECT Sum(QuantiteRestante) AS Valeur, Type FROM RequeteInitiale AS TableSource WHERE "
             "(QuantiteRestante > 0) AND ((Attendre <= 2026) OR ISNULL(Attendre)) GROUP BY Type"),
         true},
        {"stats_chart", chart.arg(QStringLiteral("(QuantiteRestante > 0)")), true},
        {"stats_chart_exists", chart.arg(existsCond), true},
        {"stats_chart_month", sql("SELECT Count(*), Format(46000, 'mmm yyyy') AS mois FROM Vins"), true},
        {"stats_chart_drill",
         sql("SELECT * FROM RequeteInitiale AS TableSource WHERE ((QuantiteRestante > 0) AND ((EXISTS "
             "(SELECT Cptr "
             "FROM [sortie cave] WHERE (Format(38442, 'mm yyyy') = Format(DateEntreeSortie, 'mm yyyy')) AND "
             "(QuantiteEntreeSortie < 0) AND (Cptr = TableSource.Cptr))))) ORDER BY Appellation, Nom, Type"),
         true},
        {"stats_drill_ageing",
         sql("SELECT * FROM RequeteInitiale AS TableSource WHERE ((QuantiteRestante > 0) AND ((Type = "
             "'Rouge') AND "
             "(IsNull(BoireAvant) OR (BoireAvant <= 2028)))) ORDER BY Appellation, Nom, Type"),
         true},
        // Cellar plan.
        {"plan_search_content",
         sql("SELECT * FROM RequeteInitiale AS TableSource WHERE ((QuantiteRestante > 0) AND (((EXISTS "
             "(SELECT Cptr "
             "FROM [sortie cave] WHERE ((QuantiteEntreeSortie > 0) AND (PositionEntreeSortie = 2) AND (Cptr "
             "= "
             "TableSource.Cptr))))))) ORDER BY Appellation, Nom, Type"),
         true},
        {"plan_clear", sql("DELETE FROM Plan"), false},
        {"plan_cell",
         sql("INSERT INTO Plan (Gauche, Haut, Largeur, Hauteur, Indexe) VALUES (10, 20, 40, 40, 99)"), false},
        // Reports.
        {"report_example",
         QStringLiteral(
             "SELECT ' ' AS Vide , %1 AS Tranche, * FROM RequeteListe AS TableSource WHERE (QuantiteRestante "
             "> 0) ORDER BY PrixBouteille, Appellation DESC")
             .arg(tE),
         true},
        {"report_ageing",
         QStringLiteral(
             "SELECT ' ' AS Vide , %1 AS Vieillissement, * FROM RequeteListe AS TableSource WHERE %2 ORDER "
             "BY BoireAvant, NomComplet ASC")
             .arg(vE, cond),
         true},
        {"report_positions",
         sql("SELECT ' ' AS Vide , * FROM RequeteListePositions AS TableSource WHERE "
             "(QuantiteRestante > 0) ORDER BY Position, NomComplet ASC, Millesime DESC"),
         true},
        {"report_exits_by_month",
         QStringLiteral(
             "SELECT ' ' AS Vide , * FROM %1 WHERE %2 ORDER BY DateEntreeSortie, QuantiteEntreeSortie ASC")
             .arg(consoSource, consoCond),
         true},
        {"report_movements_by_quarter",
         QStringLiteral(
             "SELECT ' ' AS Vide , * FROM %1 WHERE (QuantiteRestante > 0) ORDER BY DateEntreeSortie, "
             "TrimestreEntreeSortie ASC")
             .arg(consoSource),
         true},
        {"report_stat_appellations",
         QStringLiteral(
             "SELECT Count(*) AS Valeur FROM %1 WHERE Cptr IN (SELECT MAX(Cptr) FROM %1 WHERE %2 GROUP BY "
             "Appellation )")
             .arg(consoSource, consoCond),
         true},
        {"report_stat_appellations_vins",
         sql("SELECT Count(*) AS Valeur FROM RequeteListe AS TableSource WHERE Cptr IN (SELECT MAX(Cptr) "
             "FROM "
             "RequeteListe AS TableSource WHERE (QuantiteRestante > 0) GROUP BY Appellation )"),
         true},
        {"report_stat_value",
         QStringLiteral("SELECT Sum(PrixBouteille * QuantiteEntreeSortie) \\ 1 AS Valeur FROM %1 WHERE %2")
             .arg(consoSource, consoCond),
         true},
        {"report_stat_ready",
         QStringLiteral("SELECT Sum(QuantiteRestante) AS Valeur FROM RequeteListe AS TableSource WHERE "
                        "(QuantiteRestante "
                        "> 0) AND ((Attendre <= 2026) OR ISNULL(Attendre))"),
         true},
        {"report_stat_types",
         QStringLiteral("SELECT Type, Count(Cptr) AS [QuantiteVins], Sum([QuantiteEntreeSortie]) AS "
                        "[QuantiteBouteilles] FROM %1 WHERE %2 GROUP BY Type")
             .arg(consoSource, consoCond),
         true},
        {"report_group_totals",
         u("SELECT SUM(QuantiteRestante) AS QuantiteBouteilles, SUM(QuantiteRestante * PrixBouteille) AS "
           "PrixBouteilles, COUNT(*) AS QuantiteVins FROM RequeteListe AS TableSource WHERE "
           "(QuantiteRestante > 0) "
           "AND (Appellation = 'Saint-Émilion grand cru')"),
         true},
        {"report_group_totals_computed",
         QStringLiteral(
             "SELECT SUM(QuantiteRestante) AS QuantiteBouteilles, SUM(QuantiteRestante * PrixBouteille) AS "
             "PrixBouteilles, COUNT(*) AS QuantiteVins FROM RequeteListe AS TableSource WHERE "
             "(QuantiteRestante > 0) AND (%1 = '10 € à 15 €')")
             .arg(tE),
         true},
        {"report_group_totals_null",
         QStringLiteral("SELECT SUM(QuantiteEntreeSortie) AS QuantiteBouteilles, SUM(QuantiteEntreeSortie * "
                        "PrixBouteille) AS PrixBouteilles, COUNT(*) AS QuantiteVins FROM %1 WHERE %2 AND "
                        "(ISNULL(ChampPerso1))")
             .arg(consoSource, consoCond),
         true},
        {"report_group_totals_number",
         QStringLiteral(
             "SELECT SUM(QuantiteRestante) AS QuantiteBouteilles, SUM(QuantiteRestante * PrixBouteille) AS "
             "PrixBouteilles, COUNT(*) AS QuantiteVins FROM RequeteListe AS TableSource WHERE "
             "(QuantiteRestante > 0) AND (PrixBouteille = 12.50)"),
         true},
        // Graphs.
        {"graph_example",
         sql("TRANSFORM Count(Cptr) AS Y SELECT Type, Type AS XVal FROM RequeteInitiale AS TableSource WHERE "
             "cptr IN "
             "(SELECT MAX(Cptr) FROM RequeteInitiale AS TableSource GROUP BY Type, Cptr) AND "
             "(QuantiteRestante > 0) "
             "AND NOT ISNULL(Type) GROUP BY Type, Type ORDER BY Type PIVOT 1"),
         true},
        {"graph_two_axes",
         QStringLiteral(
             "TRANSFORM Sum(QuantiteRestante) AS Y SELECT %1, %2 AS XVal FROM RequeteInitiale AS "
             "TableSource WHERE (QuantiteRestante > 0) AND NOT ISNULL(%1) GROUP BY %1, %2 ORDER BY %2 "
             "PIVOT Type")
             .arg(tE, tN),
         true},
        {"graph_ageing_by_region",
         QStringLiteral(
             "TRANSFORM Count(Appellation) AS Y SELECT %1, %2 AS XVal FROM RequeteInitiale AS TableSource "
             "WHERE cptr IN (SELECT MAX(Cptr) FROM RequeteInitiale AS TableSource GROUP BY %1, "
             "Appellation, Region) AND (QuantiteRestante > 0) AND NOT ISNULL(%1) GROUP BY %1, %2 ORDER BY "
             "%2 PIVOT Region")
             .arg(vE, vN),
         true},
        {"graph_exits_by_quarter",
         QStringLiteral(
             "TRANSFORM -Sum(QuantiteEntreeSortie) AS Y SELECT %1, Val(Format(DateEntreeSortie, 'yyyy')) * "
             "365 + val(Format(DateEntreeSortie, 'q')) * 90 AS XVal FROM RequeteConsommation AS "
             "TableSource WHERE (QuantiteEntreeSortie < 0) AND NOT ISNULL(%1) GROUP BY %1, "
             "Val(Format(DateEntreeSortie, 'yyyy')) * 365 + val(Format(DateEntreeSortie, 'q')) * 90 ORDER "
             "BY Val(Format(DateEntreeSortie, 'yyyy')) * 365 + val(Format(DateEntreeSortie, 'q')) * 90 "
             "PIVOT 1")
             .arg(sql(kTrimestre)),
         true},
        {"graph_max_exits_by_month",
         sql("TRANSFORM -Max(QuantiteEntreeSortie) AS Y SELECT Format(DateEntreeSortie, 'mmm'), "
             "val(Format(DateEntreeSortie, 'mm')) * 30 AS XVal FROM RequeteConsommation AS TableSource WHERE "
             "(QuantiteEntreeSortie < 0) AND NOT ISNULL(Format(DateEntreeSortie, 'mmm')) GROUP BY "
             "Format(DateEntreeSortie, 'mmm'), val(Format(DateEntreeSortie, 'mm')) * 30 ORDER BY "
             "val(Format(DateEntreeSortie, 'mm')) * 30 PIVOT Type"),
         true},
        {"graph_entries_by_month_year",
         sql("TRANSFORM Sum(QuantiteEntreeSortie) AS Y SELECT Format(DateEntreeSortie, 'mmm yyyy'), "
             "Val(Format(DateEntreeSortie, 'yyyy')) * 365 + val(Format(DateEntreeSortie, 'mm')) * 30 AS XVal "
             "FROM "
             "RequeteConsommation AS TableSource WHERE (QuantiteEntreeSortie > 0) AND NOT ISNULL(Format("
             "DateEntreeSortie, 'mmm yyyy')) GROUP BY Format(DateEntreeSortie, 'mmm yyyy'), "
             "Val(Format(DateEntreeSortie, 'yyyy')) * 365 + val(Format(DateEntreeSortie, 'mm')) * 30 ORDER "
             "BY "
             "Val(Format(DateEntreeSortie, 'yyyy')) * 365 + val(Format(DateEntreeSortie, 'mm')) * 30 PIVOT "
             "1"),
         true},
        {"graph_price_by_vintage",
         sql("TRANSFORM Sum(PrixBouteille*QuantiteRestante) AS Y SELECT Millesime, Millesime AS XVal FROM "
             "RequeteInitiale AS TableSource WHERE (QuantiteRestante > 0) AND NOT ISNULL(Millesime) GROUP BY "
             "Millesime, Millesime ORDER BY Millesime PIVOT Conditionnement"),
         true},
        {"graph_plain_grouping",
         QStringLiteral(
             "SELECT Type, Type AS XVal, Sum(QuantiteRestante) AS Y FROM RequeteInitiale AS TableSource "
             "WHERE %1 AND NOT ISNULL(Type) GROUP BY Type, Type ORDER BY Type ")
             .arg(existsCond),
         true},
        // Appellation editor.
        {"appellations_of_region",
         sql("SELECT Appellation FROM Appellations WHERE Region = 'Bordeaux' ORDER BY "
             "Appellation"),
         true},
        {"region_rename", sql("UPDATE Appellations SET Region = 'Val de Loire' WHERE Region = 'Loire'"),
         false},
        {"appellation_insert",
         sql("INSERT INTO Appellations (Appellation, Region) VALUES ('Touraine', 'Loire');"), false},
        {"appellation_rename",
         sql("UPDATE Appellations SET Appellation = 'Chablis premier cru' WHERE Appellation = "
             "'Chablis'"),
         false},
        {"appellation_rename_wines",
         sql("UPDATE Vins SET Appellation = 'Chablis premier cru' WHERE Appellation = "
             "'Chablis'"),
         false},
        {"appellation_move_choice",
         sql("SELECT DISTINCT Region FROM Appellations WHERE Region <> 'Bordeaux' ORDER BY Region;"), true},
        {"appellation_move", sql("UPDATE Appellations SET Region = 'Loire' WHERE Appellation = 'Sancerre'"),
         false},
        {"appellation_users", sql("SELECT * FROM Vins WHERE Appellation = 'Margaux'"), true},
        {"appellation_targets",
         sql("SELECT DISTINCT Appellation FROM Appellations WHERE Appellation <> 'Margaux' "
             "ORDER BY Appellation"),
         true},
        {"appellation_delete", sql("DELETE FROM Appellations WHERE Appellation = 'Margaux'"), false},
        {"appellation_regions_check", sql("SELECT DISTINCT Region FROM Appellations"), true},
    };
    return out;
}

// A cellar with wines of every type, price and ageing class, movements over
// the years and in the last months, a plan, saved searches and reports.
void populate(CellarFixture& cellar) {
    const QDate today = QDate::currentDate();
    struct Row {
        Wine wine;
        int stock;
    };
    const QList<Row> rows = {
        {{.nom = u("Château l'Évangile"),
          .recoltant = u("Famille Rothschild"),
          .appellation = u("Saint-Émilion grand cru"),
          .millesime = 2000,
          .prix = 45.5,
          .boireAvant = 2035,
          .champsPerso = {u("Libournais")}},
         12},
        {{.nom = u("Château Margaux"),
          .appellation = u("Margaux"),
          .millesime = 1996,
          .prix = 120.0,
          .offert = true,
          .attendre = 2010,
          .boireAvant = 2030},
         3},
        {{.recoltant = u("Domaine Laroche"),
          .appellation = u("Chablis"),
          .type = u("Blanc"),
          .millesime = 2004,
          .prix = 12.5,
          .boireAvant = 2008},
         6},
        {{.nom = u("Cuvée du patron"),
          .appellation = u("Côtes du Rhône"),
          .conditionnement = u("Autre"),
          .prix = 10.0,
          .vrac = true},
         20},
        {{.nom = u("Brut réserve"),
          .appellation = u("Champagne"),
          .type = u("Effervescent"),
          .conditionnement = u("Magnum"),
          .millesime = 2002,
          .prix = 30.0,
          .boireAvant = 2029},
         2},
        {{.nom = u("Rosé d'été"), .appellation = u("Sancerre"), .type = u("Rosé"), .millesime = 2005}, 4},
        {{.nom = u("Sauternes doré"),
          .appellation = u("Sauternes"),
          .type = u("Moelleux"),
          .millesime = 2001,
          .prix = 4.99,
          .attendre = 2030,
          .boireAvant = 2040},
         1},
        {{.nom = u("Vin de table"), .appellation = u("Bordeaux"), .type = u("Autre"), .prix = 0.0}, 0},
    };
    int position = 1;
    for (const Row& row : rows) {
        const int cptr = cellar.addWine(row.wine);
        if (row.stock == 0) {
            cellar.addMovement(cptr, today, 0, 0);
            continue;
        }
        cellar.addMovement(cptr, QDate(2004, 2, 14), row.stock + 3, position, u("achat"));
        cellar.addMovement(cptr, QDate(2005, 3, 31), -1, position, u("cadeau"));
        cellar.addMovement(cptr, today.addMonths(-2), -2, position % 3 == 0 ? 0 : position);
        cellar.addMovement(cptr, std::nullopt, 0, position);
        ++position;
    }
    for (int i = 1; i <= 8; ++i) {
        cellar.addPlanCell(i, 10 + 45 * (i - 1), 10);
    }
    cellar.addSelection(u("Rouges"), u("((QuantiteRestante > 0) AND (Type = 'Rouge'))"),
                        u(",,Type,=,'Rouge'\r\nqRest,ET,(QuantiteRestante,>,0)"));
    cellar.addSavedSetting(u("Cave"), u("Etat"), u("cboType"), u("Vins"));
    cellar.addSavedSetting(u("Cave"), u("Etat"), u("lstColonnes"), u("1=1;2=1;3=0;12=1"));
    cellar.addSavedSetting(u("Conso"), u("Graphique"), u("lstY"), u("Bouteilles sorties"));
}

class SchemaCorpus : public ::testing::TestWithParam<Statement> {
  protected:
    static void SetUpTestSuite() {
        folders_ = new TempFolders;
        template_ = new QString(folders_->scratch(QStringLiteral("peuplee.mdb")));
        CellarFixture cellar(*template_);
        cellar.db().beginTransaction();
        populate(cellar);
        cellar.db().commit();
    }
    static void TearDownTestSuite() {
        delete template_;
        delete folders_;
    }
    void SetUp() override {
        // Each statement runs on its own copy: the writes of one do not change the rows of another.
        const QString path =
            folders_->scratch(QStringLiteral("%1.mdb").arg(QString::fromLatin1(GetParam().name)));
        QFile::remove(path);
        ASSERT_TRUE(QFile::copy(*template_, path));
        db.open(path);
    }

    static TempFolders* folders_;
    static QString* template_;
    Database db;
};

TempFolders* SchemaCorpus::folders_ = nullptr;
QString* SchemaCorpus::template_ = nullptr;

TEST_P(SchemaCorpus, Runs) {
    const Statement& statement = GetParam();
    SCOPED_TRACE(statement.sql.toStdString());
    try {
        if (statement.rows) {
            Query query(&db);
            query.setSql(statement.sql);
            query.open();
            int count = 0;
            for (; !query.eof(); query.next()) {
                for (int i = 0; i < query.fieldCount(); ++i) {
                    (void)query.field(i).asString();
                }
                ++count;
            }
            RecordProperty("rows", count);
        } else {
            db.execute(statement.sql);
        }
    } catch (const EngineError& e) {
        FAIL() << e.message().toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Schema, SchemaCorpus, ::testing::ValuesIn(corpus()),
                         [](const ::testing::TestParamInfo<Statement>& param) {
                             return std::string(param.param.name);
                         });

// What the tree and the statistics read from the populated cellar: the
// stored queries' stock and captions as the windows show them.
TEST(SchemaCorpusResults, TreeAndStatisticsShowTheCellar) {
    TempFolders folders;
    CellarFixture cellar(folders.scratch(QStringLiteral("peuplee.mdb")));
    populate(cellar);
    const QList<Statement> statements = corpus();
    auto sqlOf = [&](const char* name) {
        for (const Statement& s : statements) {
            if (qstrcmp(s.name, name) == 0) {
                return s.sql;
            }
        }
        return QString();
    };
    EXPECT_EQ(vinorium::test::selectRows(cellar.db(), sqlOf("tree_appellations"), {"Region", "Appellation_"}),
              (QList<QStringList>{{"Bordeaux", "Margaux (1 vins, 3 bouteilles)"},
                                  {"Bordeaux", u("Saint-Émilion grand cru (1 vins, 12 bouteilles)")},
                                  {"Bordeaux", "Sauternes (1 vins, 1 bouteilles)"},
                                  {"Bourgogne", "Chablis (1 vins, 6 bouteilles)"},
                                  {"Champagne", "Champagne (1 vins, 2 bouteilles)"},
                                  {"Loire", "Sancerre (1 vins, 4 bouteilles)"},
                                  {u("Rhône"), u("Côtes du Rhône (1 vins, 20 bouteilles)")}}));
    EXPECT_EQ(vinorium::test::selectRows(
                  cellar.db(),
                  QStringLiteral("SELECT Type, Count(Cptr) AS [QuantiteVins], "
                                 "Sum([QuantiteRestante]) AS [QuantiteBouteilles] FROM "
                                 "RequeteInitiale AS TableSource WHERE (QuantiteRestante >= 0) "
                                 "GROUP BY Type ORDER BY Type"),
                  {"Type", "QuantiteVins", "QuantiteBouteilles"}),
              (QList<QStringList>{{"Autre", "1", "0"},
                                  {"Blanc", "1", "6"},
                                  {"Effervescent", "1", "2"},
                                  {"Moelleux", "1", "1"},
                                  {u("Rosé"), "1", "4"},
                                  {"Rouge", "3", "35"}}));
}

}  // namespace
