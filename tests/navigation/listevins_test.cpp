#include "navigation/listevins.h"

#include "data/programme.h"
#include "support/cellarfixtures.h"
#include "support/tempfolders.h"

#include <QHeaderView>
#include <QTreeWidget>
#include <QWidget>

#include <gtest/gtest.h>

namespace vinorium::navigation {
namespace {

TEST(ListeVins, IconNumberIsTheColourBaseAndTheAgeingOffset) {
    struct Cas {
        const char* type;
        int boireAvant;
        int icone;
    };
    // Year 2006 with the default options: drink within 2 years, wait beyond 5.
    for (const Cas& c :
         {Cas{"Rouge", 2008, 8}, Cas{"Rouge", 2009, 9}, Cas{"Rouge", 2011, 9}, Cas{"Rouge", 2012, 10},
          Cas{"Rouge", 0, 8}, Cas{"Rosé", 2012, 13}, Cas{"Blanc", 2009, 15}, Cas{"Moelleux", 0, 17},
          Cas{"Effervescent", 0, 20}, Cas{"Autre", 2012, 25}, Cas{"Jaune", 0, 7}, Cas{"", 2012, 9}}) {
        EXPECT_EQ(ListeVins::IndexIcone(QString::fromUtf8(c.type), c.boireAvant, 2006, 2, 5), c.icone)
            << c.type << " " << c.boireAvant;
    }
}

class ListeVins_ : public ::testing::Test {
  public:
    void SetUp() override {
        reinitialiseProgramme();
        cellar_ = std::make_unique<test::CellarFixture>(folders_.scratch(QStringLiteral("cave.mdb")));
        programme().dbBase.open(cellar_->path());
    }
    void TearDown() override {
        programme().dbBase.close();
        reinitialiseProgramme();
    }
    test::TempFolders folders_;
    std::unique_ptr<test::CellarFixture> cellar_;
};

TEST_F(ListeVins_, SavedColumnsRoundTripAndUnreadableOnesGiveTheDefault) {
    QWidget parent;
    ListeVins liste(&parent);
    EXPECT_EQ(liste.TexteColonnes(),
              QStringLiteral(",20,0\rNom,100,0\rAppellation,100,0\rMillésime,50,0\rQuantité,50,0"));
    EXPECT_EQ(liste.donneTriListe(), QStringLiteral("NomComplet"));
    liste.ChargeColonnes(QStringLiteral(",20,0\rNom,120,0\rPrix,80,2"));
    EXPECT_EQ(liste.TexteColonnes(), QStringLiteral(",20,0\rNom,120,0\rPrix,80,2"));
    EXPECT_EQ(liste.donneTriListe(), QStringLiteral("PrixBouteille DESC"));
    for (const char* illisible : {"Nom,abc,0", "Nom", ""}) {
        liste.ChargeColonnes(QString::fromLatin1(illisible));
        EXPECT_EQ(liste.lstSelection->columnCount(), 5) << illisible;
    }
}

TEST_F(ListeVins_, RefillKeepsRowsByPositionAndDropsTheSurplus) {
    for (const char* nom : {"Alpha", "Bêta", "Gamma"}) {
        const int cptr =
            cellar_->addWine({.nom = QString::fromUtf8(nom), .appellation = QStringLiteral("Margaux")});
        cellar_->addMovement(cptr, QDate(2006, 1, 1), 2);
    }
    QWidget parent;
    ListeVins liste(&parent);
    liste.ChargeListeVins(QStringLiteral("(QuantiteRestante > 0)"), QStringLiteral(" ORDER BY NomComplet"), 2,
                          5);
    ASSERT_EQ(liste.lstSelection->topLevelItemCount(), 3);
    EXPECT_EQ(liste.lstSelection->topLevelItem(1)->text(1), QStringLiteral("Bêta"));
    EXPECT_EQ(liste.lstSelection->topLevelItem(1)->text(4), QStringLiteral("2"));
    QTreeWidgetItem* premier = liste.lstSelection->topLevelItem(0);
    liste.ChargeListeVins(QStringLiteral("(Nom <> 'Bêta')"), QStringLiteral(" ORDER BY NomComplet"), 2, 5);
    ASSERT_EQ(liste.lstSelection->topLevelItemCount(), 2);
    EXPECT_EQ(liste.lstSelection->topLevelItem(0), premier);
    EXPECT_EQ(liste.lstSelection->topLevelItem(1)->text(1), QStringLiteral("Gamma"));
    liste.ChargeListeVins(QStringLiteral("(QuantiteRestante = 0)"), QString(), 2, 5);
    EXPECT_EQ(liste.lstSelection->topLevelItemCount(), 0);
}

}  // namespace
}  // namespace vinorium::navigation
