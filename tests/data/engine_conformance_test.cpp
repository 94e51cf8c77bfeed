// Conformance of the cellar engine with Jet: each case runs its setup
// statements on a small cellar, then one statement, and compares the rows
// (header line first, fields separated by "|", Null as \N).

#include "data/engine/engineprivate.h"
#include "data/enginetest.h"

#include <vector>

namespace vinorium::test {
namespace {

const QStringList& baseRows() {
    static const QStringList rows = {
        QStringLiteral("INSERT INTO Appellations (Appellation, Region) VALUES ('Bordeaux', 'Bordeaux')"),
        QStringLiteral("INSERT INTO Appellations (Appellation, Region) VALUES ('Chablis', 'Bourgogne')"),
        QStringLiteral(
            "INSERT INTO Vins (Nom, Millesime, Recoltant, Appellation, Type, Prix, Vrac, Offert, BoireAvant) "
            "VALUES ('Château A', 2005, 'Dupont', 'Bordeaux', 'Rouge', 12.5, 0, 0, 2010)"),
        QStringLiteral(
            "INSERT INTO Vins (Nom, Millesime, Recoltant, Appellation, Type, Prix, Vrac, Offert, BoireAvant) "
            "VALUES ('', Null, 'Martin', 'Chablis', 'Blanc', 10, -1, 0, Null)"),
        QStringLiteral(
            "INSERT INTO Vins (Nom, Millesime, Recoltant, Appellation, Type, Prix, Vrac, Offert, BoireAvant) "
            "VALUES ('Orphelin', 1999, Null, 'Inconnue', 'rouge', Null, 0, -1, 2001)"),
        QStringLiteral(
            "INSERT INTO [Sortie cave] (Cptr, DateEntreeSortie, QuantiteEntreeSortie, PositionEntreeSortie, "
            "CommentaireEntreeSortie) VALUES (1, #03/01/2005#, 6, 3, 'achat')"),
        QStringLiteral(
            "INSERT INTO [Sortie cave] (Cptr, DateEntreeSortie, QuantiteEntreeSortie, PositionEntreeSortie, "
            "CommentaireEntreeSortie) VALUES (1, #04/15/2005#, -2, 3, '')"),
        QStringLiteral(
            "INSERT INTO [Sortie cave] (Cptr, DateEntreeSortie, QuantiteEntreeSortie, PositionEntreeSortie, "
            "CommentaireEntreeSortie) VALUES (2, Null, 3, 0, Null)"),
    };
    return rows;
}

struct Case {
    const char* name;
    std::vector<const char*> setup;
    const char* sql;
    std::vector<const char*> expected;
};

// clang-format off
const Case kCases[] = {
    // Names
    {"names without case", {}, "SELECT nom, MILLESIME FROM vins WHERE CPTR = 1",
     {"Nom|Millesime", "Château A|2005"}},
    {"bracketed names with blanks", {}, "SELECT Count(*) AS n FROM [sortie cave] WHERE [SORTIE CAVE].cptr = 1",
     {"n", "2"}},
    {"alias.* and * after items", {}, "SELECT Region, A.* FROM Appellations AS A WHERE Appellation = 'Chablis'",
     {"Region|Appellation|Region", "Bourgogne|Chablis|Bourgogne"}},
    {"* after named items", {}, "SELECT Region, * FROM Appellations WHERE Region = 'Bourgogne'",
     {"Region|Appellation|Region", "Bourgogne|Chablis|Bourgogne"}},
    // Literals
    {"literals", {}, "SELECT 'l''été' AS a, \"dq\" AS b, 1.5 AS c, #3/1/2005# AS d, #3/1/2005 14:30# AS e, "
                     "Null AS f, True AS g, False AS h",
     {"a|b|c|d|e|f|g|h", "l'été|dq|1.5|2005-03-01|2005-03-01 14:30:00|\\N|-1|0"}},
    {"unnamed expressions", {}, "SELECT 1 + 1, Nom FROM Vins WHERE Cptr = 1", {"Expr1000|Nom", "2|Château A"}},
    // Yes/no
    {"non-zero yes/no reads -1", {"INSERT INTO Vins (Nom, Vrac, Offert) VALUES ('x', 1, 0)",
                                  "UPDATE Vins SET Offert = 5 WHERE Nom = 'x'"},
     "SELECT Vrac, Offert FROM Vins WHERE Nom = 'x'", {"Vrac|Offert", "-1|-1"}},
    {"yes/no as condition", {}, "SELECT Cptr, IIf([Vrac],0.75,1) * Prix AS p FROM Vins WHERE Cptr < 3 ORDER BY Cptr",
     {"Cptr|p", "1|12.5", "2|7.5"}},
    {"comparison as value", {}, "SELECT (1 < 2) AS t, (2 < 1) AS f", {"t|f", "-1|0"}},
    // Text comparisons
    {"equality without case", {}, "SELECT Cptr FROM Vins WHERE Nom = 'CHÂTEAU a'", {"Cptr", "1"}},
    {"equality with accents", {}, "SELECT Cptr FROM Vins WHERE Nom = 'Chateau A'", {"Cptr"}},
    {"French order", {"DELETE FROM Vins", "INSERT INTO Vins (Nom) VALUES ('Entre-deux-Mers')",
                      "INSERT INTO Vins (Nom) VALUES ('Échezeaux')", "INSERT INTO Vins (Nom) VALUES ('côte rôtie')",
                      "INSERT INTO Vins (Nom) VALUES ('Corton')"},
     "SELECT Nom FROM Vins ORDER BY Nom", {"Nom", "Corton", "côte rôtie", "Échezeaux", "Entre-deux-Mers"}},
    {"descending order", {}, "SELECT Recoltant FROM Vins WHERE Recoltant <> '' ORDER BY Recoltant DESC",
     {"Recoltant", "Martin", "Dupont"}},
    {"DISTINCT without case", {}, "SELECT DISTINCT Type FROM Vins WHERE Type <> 'Blanc'", {"Type", "Rouge"}},
    {"GROUP BY without case", {}, "SELECT Type, Count(*) AS n FROM Vins GROUP BY Type ORDER BY Type",
     {"Type|n", "Blanc|1", "Rouge|2"}},
    {"IN list without case", {}, "SELECT Cptr FROM Vins WHERE Type IN ('BLANC', 'x') ORDER BY Cptr", {"Cptr", "2"}},
    {"join on text without case", {"UPDATE Vins SET Appellation = 'chablis' WHERE Cptr = 2"},
     "SELECT Vins.Cptr, Region FROM Vins INNER JOIN Appellations ON Vins.Appellation = Appellations.Appellation "
     "ORDER BY Vins.Cptr", {"Cptr|Region", "1|Bordeaux", "2|Bourgogne"}},
    {"text compared with a number", {"UPDATE Vins SET ChampPerso1 = '7,50' WHERE Cptr = 1"},
     "SELECT Cptr FROM Vins WHERE ChampPerso1 > 7", {"Cptr", "1"}},
    // LIKE
    {"LIKE wildcards", {}, "SELECT Cptr FROM Vins WHERE Nom LIKE '*TEAU*' OR Nom LIKE 'orph?lin'", {"Cptr", "1", "3"}},
    {"LIKE digit and classes", {}, "SELECT 'a1' LIKE 'a#' AS d, 'b' LIKE '[a-c]' AS c, 'b' LIKE '[!a-c]' AS n, "
                                   "'x' LIKE '[!a-c]' AS m",
     {"d|c|n|m", "-1|-1|0|-1"}},
    {"NOT LIKE", {}, "SELECT Cptr FROM Vins WHERE Nom NOT LIKE 'C*' ORDER BY Cptr", {"Cptr", "2", "3"}},
    // + and &
    {"+ on texts, numbers and Null", {}, "SELECT 'a' + 'b' AS t, 'a' + Null AS n, 1 + 2 AS s, 1 + '2' AS m",
     {"t|n|s|m", "ab|\\N|3|3"}},
    {"& with Null and numbers", {}, "SELECT 'a' & Null AS a, 'n' & 12.5 AS b, Null & Null AS c",
     {"a|b|c", "a|n12,5|"}},
    {"+ on columns", {}, "SELECT Nom + ' (' + Type + ')' AS l, Nom + Millesime AS m FROM Vins WHERE Cptr = 2",
     {"l|m", " (Blanc)|\\N"}},
    {"precedence of & and comparisons", {}, "SELECT 1 + 2 & 3 * 2 AS x, 'a' & 1 = 'a1' AS y", {"x|y", "36|-1"}},
    {"precedence of NOT, AND, OR", {}, "SELECT Cptr FROM Vins WHERE NOT Cptr = 1 AND Cptr < 3 OR Cptr = 1 "
                                      "ORDER BY Cptr", {"Cptr", "1", "2"}},
    // Numbers
    {"numeric texts in arithmetic", {}, "SELECT '7,50' * 2 AS a, '2.5' + 1 AS b, -'3' AS c", {"a|b|c", "15|3.5|-3"}},
    {"integer division, Mod, power", {}, "SELECT 7 \\ 2 AS a, -7 \\ 2 AS b, 7 Mod 3 AS c, -2 ^ 2 AS d, 2 ^ 3 AS e, "
                                         "7 / 2 AS f",
     {"a|b|c|d|e|f", "3|-3|1|-4|8|3.5"}},
    // Null, BETWEEN, IN, EXISTS
    {"IS NULL, IS NOT NULL", {}, "SELECT Cptr, Millesime IS NULL AS a, Recoltant IS NOT NULL AS b FROM Vins "
                                 "ORDER BY Cptr",
     {"Cptr|a|b", "1|0|-1", "2|-1|-1", "3|0|0"}},
    {"BETWEEN", {}, "SELECT Cptr FROM Vins WHERE Prix BETWEEN 10 AND 12 OR Nom BETWEEN 'n' AND 'p'",
     {"Cptr", "2", "3"}},
    {"IN subquery", {}, "SELECT Nom FROM Vins WHERE Cptr IN (SELECT Cptr FROM [Sortie cave] WHERE "
                        "QuantiteEntreeSortie < 0)", {"Nom", "Château A"}},
    {"EXISTS with correlation", {}, "SELECT Cptr FROM Vins AS TableSource WHERE EXISTS (SELECT Cptr FROM "
                                    "[sortie cave] WHERE QuantiteEntreeSortie > 0 AND Cptr = TableSource.Cptr) "
                                    "ORDER BY Cptr", {"Cptr", "1", "2"}},
    {"NOT EXISTS", {}, "SELECT Cptr FROM Vins AS T WHERE NOT EXISTS (SELECT * FROM [Sortie cave] AS S "
                       "WHERE S.Cptr = T.Cptr)", {"Cptr", "3"}},
    // Functions
    {"IIf with a Null condition", {}, "SELECT IIf(Null, 'v', 'f') AS a, IIf(Millesime > 2000, 'r', 'a') AS b "
                                      "FROM Vins WHERE Cptr = 2", {"a|b", "f|a"}},
    {"IsNull and coalescing IIf", {}, "SELECT IIf(IsNull(Millesime), 0, Millesime) AS m, IsNull(Nom) AS n "
                                      "FROM Vins ORDER BY Cptr", {"m|n", "2005|0", "0|0", "1999|0"}},
    {"Int and Val", {}, "SELECT Int(-1.5) AS a, Int('7,5') AS b, Val('12abc') AS c, Val('abc') AS d, Int(2.7) AS e",
     {"a|b|c|d|e", "-2|7|12|0|2"}},
    {"Format of numbers", {}, "SELECT Format(12.5, '#.00') AS a, Format(0.5, '#.00') AS b, Format(5, '00') AS c, "
                              "Format(125, '00') AS d, Format(0, '##') AS e, Format(1234.56, '##') AS f, "
                              "Format(12.5) AS g",
     {"a|b|c|d|e|f|g", "12,50|,50|05|125||1235|12,5"}},
    {"Format of dates", {}, "SELECT Format(#1/5/2005#, 'yyyy') AS a, Format(#1/5/2005#, 'yy mm dd') AS b, "
                            "Format(#2/1/2005#, 'mmm') AS c, Format(#2/1/2005#, 'mmmm') AS d, "
                            "Format(#1/5/2005#, '1 mmm yyyy') AS e, Format(#2/7/2005#, 'ww') AS f, "
                            "Format(#1/5/2005#, 'q\\er') AS g, Format(#4/5/2005#, 'qè\\m\\e') AS h",
     {"a|b|c|d|e|f|g|h", "2005|05 01 05|févr.|février|1 janv. 2005|07|1er|2ème"}},
    {"day numbers", {}, "SELECT Format(38442, 'mmm yyyy') AS a, DateValue('1 mars 2005') AS b, "
                        "DateValue(Format(#3/17/2005#, '1 mmm yyyy')) AS c",
     {"a|b|c", "mars 2005|2005-03-01|2005-03-01"}},
    {"Format of a date column", {}, "SELECT Format(DateEntreeSortie) AS a FROM [Sortie cave] WHERE [Clé] = 1",
     {"a", "01/03/2005"}},
    {"Now", {}, "SELECT IsNull(Now()) AS n, Now() > #1/1/2020# AS later", {"n|later", "0|-1"}},
    // Aggregates
    {"Sum of no row is Null", {}, "SELECT Sum(QuantiteEntreeSortie) AS s, Count(*) AS c FROM [Sortie cave] "
                                  "WHERE Cptr = 99", {"s|c", "\\N|0"}},
    {"Count(*) and Count(x)", {}, "SELECT Count(*) AS a, Count(Millesime) AS b, Max(Millesime) AS c, "
                                  "Min(Nom) AS d, Avg(Prix) AS e FROM Vins",
     {"a|b|c|d|e", "3|2|2005||11.25"}},
    {"GROUP BY and HAVING", {}, "SELECT Cptr, Sum(QuantiteEntreeSortie) AS q FROM [Sortie cave] GROUP BY Cptr "
                                "HAVING Sum(QuantiteEntreeSortie) > 3 ORDER BY Cptr", {"Cptr|q", "1|4"}},
    {"Sum with IIf on Null", {}, "SELECT Vins.Cptr, IIf(IsNull(Sum([Sortie cave].QuantiteEntreeSortie)),0,"
                                 "Sum([Sortie cave].QuantiteEntreeSortie)) AS q FROM Vins LEFT JOIN [Sortie cave] "
                                 "ON Vins.Cptr = [Sortie cave].Cptr GROUP BY Vins.Cptr ORDER BY Vins.Cptr",
     {"Cptr|q", "1|4", "2|3", "3|0"}},
    // Dates
    {"dates compare with literals", {}, "SELECT [Clé] FROM [Sortie cave] WHERE DateEntreeSortie >= #03/02/2005# "
                                        "OR DateEntreeSortie = #3/1/2005#", {"Clé", "1", "2"}},
    {"dates order", {}, "SELECT QuantiteEntreeSortie FROM [Sortie cave] WHERE NOT IsNull(DateEntreeSortie) "
                        "ORDER BY DateEntreeSortie DESC", {"QuantiteEntreeSortie", "-2", "6"}},
    {"date arithmetic", {}, "SELECT #3/1/2005# + 30 AS a, #3/31/2005# - #3/1/2005# AS b", {"a|b", "2005-03-31|30"}},
    // Joins
    {"nested joins", {}, "SELECT Vins.Cptr, Region, Sum(QuantiteEntreeSortie) AS q FROM (Vins INNER JOIN "
                         "Appellations ON Vins.Appellation = Appellations.Appellation) LEFT JOIN [Sortie cave] ON "
                         "Vins.Cptr = [Sortie cave].Cptr GROUP BY Vins.Cptr, Region ORDER BY Vins.Cptr",
     {"Cptr|Region|q", "1|Bordeaux|4", "2|Bourgogne|3"}},
    {"RIGHT JOIN", {}, "SELECT Appellations.Appellation, Vins.Cptr FROM Vins RIGHT JOIN Appellations ON "
                       "Vins.Appellation = Appellations.Appellation WHERE Vins.Type = 'Blanc' OR Vins.Cptr IS NULL",
     {"Appellation|Cptr", "Chablis|2"}},
    {"same column of two tables", {}, "SELECT * FROM Appellations AS A INNER JOIN Vins AS V ON "
                                      "A.Appellation = V.Appellation WHERE V.Cptr = 99",
     {"A.Appellation|Region|Cptr|Nom|Millesime|Recoltant|V.Appellation|Type|Prix|Vrac|Offert|BoireAvant|ChampPerso1"}},
    // Statements
    {"INSERT without column list", {"CREATE TABLE Selections (Nom TEXT(255), ChaineSQL MEMO, ChaineCriteres MEMO)",
                                    "INSERT INTO Selections VALUES('s1', '(Nom = ''x'')', 'c');"},
     "SELECT * FROM Selections", {"Nom|ChaineSQL|ChaineCriteres", "s1|(Nom = 'x')|c"}},
    {"INSERT ... SELECT", {"CREATE TABLE Copie (Nom TEXT(255), Vrac BIT)",
                           "INSERT INTO Copie (Nom, Vrac) SELECT Nom, Prix FROM Vins WHERE Cptr < 3"},
     "SELECT * FROM Copie ORDER BY Nom", {"Nom|Vrac", "|-1", "Château A|-1"}},
    {"multi-table UPDATE", {"UPDATE vins, [sortie cave] SET [sortie cave].PositionEntreeSortie = "
                            "iif(isnull(vins.millesime), 0, vins.millesime) WHERE vins.cptr = [sortie cave].cptr;"},
     "SELECT [Clé], PositionEntreeSortie FROM [Sortie cave] ORDER BY [Clé]",
     {"Clé|PositionEntreeSortie", "1|2005", "2|2005", "3|0"}},
    {"UPDATE through a join", {"UPDATE Vins INNER JOIN Appellations ON Vins.Appellation = Appellations.Appellation "
                               "SET Vins.ChampPerso1 = Appellations.Region"},
     "SELECT Cptr, ChampPerso1 FROM Vins ORDER BY Cptr", {"Cptr|ChampPerso1", "1|Bordeaux", "2|Bourgogne", "3|\\N"}},
    {"DELETE * FROM", {"DELETE * FROM [sortie cave] WHERE ISNULL(DateEntreeSortie) OR (QuantiteEntreeSortie = 0);"},
     "SELECT Count(*) AS n FROM [Sortie cave]", {"n", "2"}},
    {"DELETE with IN subquery", {"DELETE * FROM Vins WHERE [cptr] IN (SELECT Cptr FROM [Sortie cave])"},
     "SELECT Cptr FROM Vins", {"Cptr", "3"}},
    {"counter after insert", {"DELETE FROM Vins WHERE Cptr = 3", "INSERT INTO Vins (Nom) VALUES ('n')"},
     "SELECT MAX(cptr) AS compteur FROM Vins", {"compteur", "4"}},
    {"DISTINCT, TOP and subquery in FROM", {}, "SELECT TOP 1 n FROM (SELECT DISTINCT Type AS n FROM Vins) AS t "
                                               "ORDER BY n DESC", {"n", "Rouge"}},
    {"UNION", {}, "SELECT Nom AS x FROM Vins WHERE Cptr = 1 UNION SELECT Region FROM Appellations ORDER BY x",
     {"x", "Bordeaux", "Bourgogne", "Château A"}},
    // Cross-tabs
    {"TRANSFORM with a pivot column", {},
     "TRANSFORM Sum(QuantiteEntreeSortie) AS Y SELECT Cptr FROM [Sortie cave] GROUP BY Cptr ORDER BY Cptr "
     "PIVOT PositionEntreeSortie",
     {"Cptr|0|3", "1|\\N|4", "2|3|\\N"}},
    {"TRANSFORM with PIVOT 1", {},
     "TRANSFORM Count(Cptr) AS Y SELECT Type, Type AS XVal FROM Vins WHERE NOT ISNULL(Type) GROUP BY Type, Type "
     "ORDER BY Type PIVOT 1",
     {"Type|XVal|1", "Blanc|Blanc|1", "Rouge|Rouge|2"}},
    {"TRANSFORM with text pivot values", {},
     "TRANSFORM Count(*) SELECT Appellation FROM Vins GROUP BY Appellation ORDER BY Appellation PIVOT Type",
     {"Appellation|Blanc|Rouge", "Bordeaux|\\N|1", "Chablis|1|\\N", "Inconnue|\\N|1"}},
};
// clang-format on

void PrintTo(const Case& c, std::ostream* os) {
    *os << c.name;
}

class EngineConformance : public EngineTest, public ::testing::WithParamInterface<Case> {};

TEST_P(EngineConformance, Rows) {
    const Case& c = GetParam();
    exec(miniCellarDdl());
    exec(baseRows());
    for (const char* s : c.setup) {
        ASSERT_NO_THROW(db_.execute(QString::fromUtf8(s))) << s;
    }
    QStringList expected;
    for (const char* e : c.expected) {
        expected << QString::fromUtf8(e);
    }
    QStringList got;
    try {
        got = rows(QString::fromUtf8(c.sql));
    } catch (const data::EngineError& e) {
        FAIL() << e.message().toStdString() << "\n" << db_.translate(QString::fromUtf8(c.sql)).toStdString();
    }
    EXPECT_EQ(got.join(QLatin1Char('\n')).toStdString(), expected.join(QLatin1Char('\n')).toStdString())
        << c.sql;
    // The same statement translated with its literals in place rather than
    // as parameters of its shape.
    db_.d()->useShapes = false;
    try {
        got = rows(QString::fromUtf8(c.sql));
    } catch (const data::EngineError& e) {
        FAIL() << "literals in place: " << e.message().toStdString();
    }
    db_.d()->useShapes = true;
    EXPECT_EQ(got.join(QLatin1Char('\n')).toStdString(), expected.join(QLatin1Char('\n')).toStdString())
        << "literals in place: " << c.sql;
}

std::string caseName(const ::testing::TestParamInfo<Case>& info) {
    std::string name;
    for (const char* p = info.param.name; *p; ++p) {
        name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
    }
    return name;
}

INSTANTIATE_TEST_SUITE_P(Jet, EngineConformance, ::testing::ValuesIn(kCases), caseName);

}  // namespace
}  // namespace vinorium::test
