// The text rewrites of the saved searches, case by case.

#include "upgrade/textesmigration.h"

#include "upgradetest.h"

#include <gtest/gtest.h>

namespace vinorium::upgrade {
namespace {

struct Cas {
    const char* nom;
    const char* avant;
    const char* apres;
};

QString u(const char* utf8) {
    return QString::fromUtf8(utf8);
}

#define EXISTS_ENTREES(c)                                                          \
    " AND EXISTS (SELECT Cptr FROM [sortie cave] WHERE (Cptr = TableSource.Cptr) " \
    "AND " c " AND (QuantiteEntreeSortie > 0))"

class ConditionVersion20 : public ::testing::TestWithParam<Cas> {};

TEST_P(ConditionVersion20, MovesTheFirstEntryConditionsIntoTheMovements) {
    EXPECT_EQ(RecritConditionVersion20(u(GetParam().avant)), u(GetParam().apres));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ConditionVersion20,
    ::testing::Values(
        Cas{"onlyTheStockConditionChanges",
            "WHERE ((QuantiteRestante > 0) OR (IsNull(QuantiteEntree))) AND (Type = 'Rouge')",
            "WHERE (QuantiteRestante > 0) AND (Type = 'Rouge')"},
        Cas{"literalsNamingAColumnStay", "(Nom LIKE '*Position*') AND (Cuvee = 'DateEntree')",
            "(Nom LIKE '*Position*') AND (Cuvee = 'DateEntree')"},
        Cas{"conditionInTheMiddle", "(QuantiteRestante > 0) AND Position = 12 AND Type = 'Rouge'",
            "(QuantiteRestante > 0) AND Type = 'Rouge'" EXISTS_ENTREES("PositionEntreeSortie = 12")},
        // Taking text up to the next " AND " would leave "AND (" behind here.
        Cas{"lastConditionInParentheses",
            "((QuantiteRestante > 0) OR (IsNull(QuantiteEntree))) AND (Position = 12)",
            "(QuantiteRestante > 0)" EXISTS_ENTREES("(PositionEntreeSortie = 12)")},
        Cas{"insideAGroupJoinedByAnd",
            "((QuantiteRestante > 0) AND ((millesime = 1998) AND (DateEntree >= #01/31/1999#)))",
            "((QuantiteRestante > 0) AND ((millesime = 1998)))" EXISTS_ENTREES(
                "(DateEntreeSortie >= #01/31/1999#)")},
        Cas{"severalConditionsGoTogether",
            "(Type = 'Blanc') AND (QuantiteEntree > 6) AND (Vins.Position = 3) AND (Millesime = 2000)",
            "(Type = 'Blanc') AND (Millesime = 2000)" EXISTS_ENTREES(
                "(QuantiteEntreeSortie > 6) AND (Vins.PositionEntreeSortie = 3)")},
        Cas{"aGroupJoinedByOrGoesWhole", "(Type = 'Blanc') AND ((Position = 1) OR (Position = 2))",
            "(Type = 'Blanc')" EXISTS_ENTREES("((PositionEntreeSortie = 1) OR (PositionEntreeSortie = 2))")},
        Cas{"nothingElseLeft", "WHERE Position BETWEEN 1 AND 4",
            "WHERE EXISTS (SELECT Cptr FROM [sortie cave] WHERE (Cptr = TableSource.Cptr) AND "
            "PositionEntreeSortie BETWEEN 1 AND 4 AND (QuantiteEntreeSortie > 0))"},
        Cas{"unreadableTextKeptAsItIs", "(Position = 12", "(Position = 12"}),
    [](const ::testing::TestParamInfo<Cas>& cas) { return std::string(cas.param.nom); });

TEST(CriteresVersion30, OneLinePerCriterion) {
    const QString crlf = QStringLiteral("\r\n");
    const struct {
        QString avant;
        QString apres;
    } cas[] = {
        // Criteria joined by connectors: the first row has no connector.
        {crlf + "Millesime" + crlf + ">=" + crlf + "2000" + crlf + "ET" + crlf + crlf + crlf + "Type" + crlf +
             "=" + crlf + "'Rouge'" + crlf + "OU" + crlf + crlf + crlf + "Prix" + crlf + "<" + crlf + "10",
         ",,Millesime,>=,2000" + crlf + ",ET,Type,=,'Rouge'" + crlf + ",OU,Prix,<,10"},
        // No connector lines: cut every three lines, joined by ET.
        {crlf + "Nom" + crlf + "COMME" + crlf + "'Clos'" + crlf + "Millesime" + crlf + "=" + crlf + "1998" +
             crlf + "Type" + crlf + "<>" + crlf + "'Blanc'",
         ",,Nom,COMME,'Clos'" + crlf + ",ET,Millesime,=,1998" + crlf + ",ET,Type,<>,'Blanc'"},
        // Blanks, commas and double quotes put the item between double quotes.
        {crlf + "Nom" + crlf + "COMME" + crlf + u("'Château \"Le Pin\", Pomerol'"),
         u(",,Nom,COMME,\"'Château \"\"Le Pin\"\", Pomerol'\"")},
        {QString(), QString()},
        {crlf, QString()},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.avant.toStdString());
        EXPECT_EQ(ConvertitCriteres(c.avant), c.apres);
    }
}

TEST(CriteresVersion30, TheWhereKeywordGoes) {
    EXPECT_EQ(SansWhere(QStringLiteral("  where (Type = 'Rouge')")), QStringLiteral(" (Type = 'Rouge')"));
    EXPECT_EQ(SansWhere(QStringLiteral("(Type = 'Rouge')")), QStringLiteral("(Type = 'Rouge')"));
}

TEST(CriteresVersion20, TheFieldNamesOfTheCriteriaFollowTheColumns) {
    EXPECT_EQ(
        RenommeColonnesEntree(QStringLiteral("\r\nPosition\r\n=\r\n12\r\nET\r\n\r\n\r\n(QuantiteEntree\r\n>"
                                             "\r\n2\r\nET\r\n\r\n\r\nNom\r\nCOMME\r\nPositionnement"),
                              false),
        QStringLiteral("\r\nPositionEntreeSortie\r\n=\r\n12\r\nET\r\n\r\n\r\n(QuantiteEntreeSortie\r\n>\r\n2"
                       "\r\nET\r\n\r\n\r\nNom\r\nCOMME\r\nPositionnement"));
}

}  // namespace
}  // namespace vinorium::upgrade
