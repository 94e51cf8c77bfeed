#include "data/requetes.h"

#include "data/defaultcellar.h"
#include "data/programme.h"
#include "support/scripteddialogs.h"
#include "support/tempfolders.h"

#include <QDate>

#include <gtest/gtest.h>

namespace vinorium {
namespace {

TEST(TexteSQL, TextUtilities) {
    EXPECT_EQ(Remplace(QStringLiteral(" (base par défaut)"), QString(),
                       QStringLiteral("Vinorium (base par défaut)")),
              QStringLiteral("Vinorium"));
    EXPECT_EQ(Remplace(QStringLiteral("a"), QStringLiteral("aa"), QStringLiteral("aa")),
              QStringLiteral("aaaa"));
    EXPECT_EQ(Remplace(QString(), QStringLiteral("x"), QStringLiteral("abc")), QStringLiteral("abc"));

    EXPECT_EQ(PosApres(3, QStringLiteral("'"), QStringLiteral("l'a'b")), 4);
    EXPECT_EQ(PosApres(0, QStringLiteral("'"), QStringLiteral("l'a'b")), 2);
    EXPECT_EQ(PosApres(-5, QStringLiteral("'"), QStringLiteral("l'a'b")), 2);
    EXPECT_EQ(PosApres(1, QStringLiteral("z"), QStringLiteral("l'a'b")), 0);
    EXPECT_EQ(PosApres(40, QStringLiteral("a"), QStringLiteral("abc")), 0);

    EXPECT_EQ(DoubleApostrophes(QStringLiteral("l'été")), QStringLiteral("l''été"));
    EXPECT_EQ(Quote(QStringLiteral("Côte d'Or")), QStringLiteral("'Côte d''Or'"));
    EXPECT_TRUE(
        EstDansListe(QStringLiteral("txt_prix"), {QStringLiteral("lst_nom"), QStringLiteral("txt_prix")}));
    EXPECT_FALSE(EstDansListe(QStringLiteral("txt_prixx"), {QStringLiteral("txt_prix")}));
}

TEST(TexteSQL, BooleansAndNumbers) {
    EXPECT_EQ(DonneBoolSQL(true), QStringLiteral("-1"));
    EXPECT_EQ(DonneBoolSQL(false), QStringLiteral("0"));
    EXPECT_EQ(DonneBoolEntier(true), -1);
    EXPECT_EQ(DonneBoolEntier(false), 0);
    for (const char* vrai : {"-1", "1", "oui", " "}) {
        EXPECT_TRUE(DonneBool(QString::fromUtf8(vrai))) << vrai;
    }
    for (const char* faux : {"0", ""}) {
        EXPECT_FALSE(DonneBool(QString::fromUtf8(faux))) << faux;
    }

    struct Case {
        const char* text;
        bool entier;
        bool expected;
    };
    for (const Case& c : {Case{"", true, true}, Case{"", false, true}, Case{"12,5", false, true},
                          Case{"12,5", true, false}, Case{"12.5", false, false}, Case{"2005", true, true},
                          Case{"-3", true, true}, Case{"20a5", true, false}, Case{"1 000", false, false}}) {
        EXPECT_EQ(EstNumerique(QString::fromUtf8(c.text), c.entier), c.expected) << c.text << " " << c.entier;
    }
    EXPECT_EQ(IIf(true, QStringLiteral("a"), QStringLiteral("b")), QStringLiteral("a"));
    EXPECT_EQ(IIf(false, 1, 2), 2);
}

TEST(TexteSQL, StockFilter) {
    EXPECT_EQ(DonneFiltreQuantite(false), QStringLiteral("(QuantiteRestante > 0)"));
    EXPECT_EQ(DonneFiltreQuantite(false, WhereAvant), QStringLiteral(" WHERE (QuantiteRestante > 0)"));
    EXPECT_EQ(DonneFiltreQuantite(true, AndApres), QStringLiteral("(QuantiteRestante >= 0) AND "));
    EXPECT_EQ(DonneFiltreQuantite(true, AndAvant), QStringLiteral(" AND (QuantiteRestante >= 0)"));
}

TEST(TexteSQL, DateInShortDateOrder) {
    const QString format = QStringLiteral("dd/MM/yyyy");
    EXPECT_EQ(DonneFormatDate(QStringLiteral("01"), QStringLiteral("01"), QStringLiteral("2004"), format),
              QStringLiteral("01/01/2004"));
    const QDate today = QDate::currentDate();
    EXPECT_EQ(DonneFormatDate(QStringLiteral("7"), QString(), QString(), format),
              QStringLiteral("7/") + today.toString(QStringLiteral("MM/yy")));
    EXPECT_EQ(DonneFormatDate(QString(), QStringLiteral("3"), QStringLiteral("05"), QStringLiteral("M/d/yy")),
              QStringLiteral("3/") + today.toString(QStringLiteral("dd")) + QStringLiteral("/05"));
}

// The query operations on a real cellar.
class RequetesCave : public ::testing::Test {
  protected:
    void SetUp() override {
        reinitialiseProgramme();
        path_ = folders_.scratch(QStringLiteral("VINORIUM.MDB"));
        data::createDefaultCellar(path_);
        programme().dbBase.open(path_);
        query_ = std::make_unique<data::Query>(&programme().dbBase);
        programme().qryGeneral = query_.get();
    }
    void TearDown() override {
        programme().qryGeneral = nullptr;
        query_.reset();
        reinitialiseProgramme();
    }
    test::TempFolders folders_;
    QString path_;
    std::unique_ptr<data::Query> query_;
};

TEST_F(RequetesCave, FailingStatementShowsOneBoxAndLeavesNoRows) {
    data::Query query(&programme().dbBase);
    const QString sql = QStringLiteral("SELECT Prixx FROM Vins");
    test::ScriptedDialogs dlg;
    dlg.expectMessage(QStringLiteral("Erreur SQL : SELECT Prixx FROM Vins\n\r"), DialogService::Answer::Ok);
    OuvreRequete(query, sql);
    EXPECT_FALSE(query.isActive());
    ASSERT_EQ(dlg.calls().size(), 1u);
    EXPECT_EQ(dlg.calls()[0].kind, DialogService::Kind::Error);
    EXPECT_GT(dlg.calls()[0].text.size(), QStringLiteral("Erreur SQL : \n\r").size() + sql.size());

    dlg.expectMessage(QStringLiteral("Erreur SQL : DELETE FROM Inconnue"), DialogService::Answer::Ok);
    ExecuteRequete(query, QStringLiteral("DELETE FROM Inconnue"));
}

TEST_F(RequetesCave, QueriesLookupsAndLayout) {
    data::Query query(&programme().dbBase);
    OuvreRequete(query, QStringLiteral("SELECT Nom, Valeur FROM Options WHERE Nom = 'Couleur'"));
    ASSERT_TRUE(query.isActive());
    EXPECT_EQ(query.field(QStringLiteral("valeur")).asString(), QStringLiteral("Végétal"));

    ExecuteRequete(query, QStringLiteral("UPDATE Options SET Valeur = 'Prune' WHERE Nom = 'Couleur'"));
    QStringList valeurs;
    RemplitChainesSQL(
        valeurs,
        QStringLiteral("SELECT Valeur FROM Options WHERE Nom IN ('Couleur', 'Aboire') ORDER BY Nom"));
    EXPECT_EQ(valeurs, (QStringList{QStringLiteral("2"), QStringLiteral("Prune")}));
    EXPECT_FALSE(query_->isActive());
    EXPECT_THROW(RemplitChainesSQL(valeurs, QStringLiteral("SELECT x FROM Nulle")), data::EngineError);

    EXPECT_EQ(DonneLibelleChampPerso(QStringLiteral("ChampPerso3")), QStringLiteral("Précision"));
    EXPECT_EQ(DonneLibelleChampPerso(QStringLiteral("ChampPerso9")), QStringLiteral("ChampPerso9"));

    EXPECT_TRUE(VerifieVersionBase(programme().dbBase));
    EXPECT_EQ(programme().VersionBase, 30);
    ExecuteRequete(query, QStringLiteral("UPDATE Version SET Version = 20"));
    EXPECT_FALSE(VerifieVersionBase(programme().dbBase));
    EXPECT_EQ(programme().VersionBase, 20);
    ExecuteRequete(query, QStringLiteral("DROP TABLE Version"));
    EXPECT_FALSE(VerifieVersionBase(programme().dbBase));
}

}  // namespace
}  // namespace vinorium
