#include "navigation/frmcolonnesselection.h"

#include "data/programme.h"
#include "navigation/listevins.h"
#include "support/cellarfixtures.h"
#include "support/scripteddialogs.h"
#include "support/tempfolders.h"

#include <QDate>
#include <QListWidget>
#include <QPushButton>
#include <QWidget>

#include <gtest/gtest.h>

namespace vinorium::navigation {
namespace {

class ColonnesSelection : public ::testing::Test {
  public:
    void SetUp() override {
        reinitialiseProgramme();
        cellar_ = std::make_unique<test::CellarFixture>(folders_.scratch(QStringLiteral("cave.mdb")));
        programme().dbBase.open(cellar_->path());
        const int cptr = cellar_->addWine({.nom = QStringLiteral("Alpha"), .prix = 12.5});
        cellar_->addMovement(cptr, QDate(2006, 1, 1), 3);
        liste_ = std::make_unique<ListeVins>(&parent_);
        liste_->ChargeColonnes(
            QStringLiteral(",20,0\rNom,120,2\rAppellation,100,0\rMillésime,50,0\rQuantité,50,0"));
        liste_->ChargeListeVins(QStringLiteral("(QuantiteRestante > 0)"), QString(), 2, 5);
    }
    void TearDown() override {
        liste_.reset();
        programme().dbBase.close();
        reinitialiseProgramme();
    }
    // Opens the chooser through the list and lets the driver act in it.
    void choisit(const std::function<void(TfrmColonnesSelection&)>& action) {
        test::ScriptedDialogs dlg;
        dlg.expectModal(QStringLiteral("frmColonnesSelection"), [&action](QObject* fenetre) {
            auto* f = qobject_cast<TfrmColonnesSelection*>(fenetre);
            EXPECT_NE(f, nullptr);
            if (f) {
                action(*f);
                return f->result();
            }
            return 0;
        });
        liste_->ChoisitColonnes();
        EXPECT_TRUE(dlg.done());
    }
    static QStringList entrees(const TfrmColonnesSelection& f, bool cochees) {
        QStringList textes;
        for (int i = 0; i < f.lstColonnes->count(); ++i) {
            if ((f.lstColonnes->item(i)->checkState() == Qt::Checked) == cochees) {
                textes << f.lstColonnes->item(i)->text();
            }
        }
        return textes;
    }
    test::TempFolders folders_;
    std::unique_ptr<test::CellarFixture> cellar_;
    QWidget parent_;
    std::unique_ptr<ListeVins> liste_;
};

TEST_F(ColonnesSelection, OpensWithTheShownColumnsThenTheOthersAndAFixedIconEntry) {
    const QString dernierChampPerso = liste_->lstColonnesListeSelection.last().nomAffiche;
    choisit([&dernierChampPerso](TfrmColonnesSelection& f) {
        EXPECT_EQ(f.windowTitle(), QStringLiteral("Choix des colonnes"));
        EXPECT_EQ(entrees(f, true), QStringList({"Icône type et vieillissement", "Nom", "Appellation",
                                                 "Millésime", "Quantité"}));
        const QStringList autres = entrees(f, false);
        EXPECT_EQ(autres.first(), QStringLiteral("Prix"));
        EXPECT_EQ(autres.last(), dernierChampPerso);
        for (const char* jamais : {"1", "4", ""}) {
            EXPECT_FALSE(autres.contains(QString::fromLatin1(jamais))) << jamais;
        }
        EXPECT_FALSE(f.lstColonnes->item(0)->flags() & Qt::ItemIsUserCheckable);
        f.CocheTout(false);
        EXPECT_EQ(entrees(f, true), QStringList({"Icône type et vieillissement"}));
        f.CocheTout(true);
        EXPECT_TRUE(entrees(f, false).isEmpty());
        struct Cas {
            int depuis;
            int vers;
            bool accepte;
        };
        for (const Cas& c : {Cas{0, 1, false}, Cas{1, 0, false}, Cas{2, 1, true}, Cas{1, 2, true},
                             Cas{1, f.lstColonnes->count(), false}, Cas{-1, 1, false}}) {
            EXPECT_EQ(f.DeplaceEntree(c.depuis, c.vers), c.accepte) << c.depuis << " " << c.vers;
            EXPECT_EQ(f.lstColonnes->item(0)->text(), QStringLiteral("Icône type et vieillissement"));
        }
        // The buttons move the selected entry, never into first place.
        f.lstColonnes->setCurrentRow(2);
        f.btnHaut->click();
        EXPECT_EQ(f.lstColonnes->item(1)->text(), QStringLiteral("Appellation"));
        f.btnHaut->click();
        EXPECT_EQ(f.lstColonnes->item(1)->text(), QStringLiteral("Appellation"));
        f.btnBas->click();
        EXPECT_EQ(f.lstColonnes->item(2)->text(), QStringLiteral("Appellation"));
        f.lstColonnes->setCurrentRow(0);
        f.btnBas->click();
        EXPECT_EQ(f.lstColonnes->item(0)->text(), QStringLiteral("Icône type et vieillissement"));
        f.btnAnnuler->click();
    });
    EXPECT_EQ(liste_->TexteColonnes(),
              QStringLiteral(",20,0\rNom,120,2\rAppellation,100,0\rMillésime,50,0\rQuantité,50,0"));
}

TEST_F(ColonnesSelection, OkRebuildsTheColumnsKeepingWidthsAndStatesAndRefills) {
    choisit([](TfrmColonnesSelection& f) {
        f.lstColonnes->item(5)->setCheckState(Qt::Checked);  // Prix
        ASSERT_TRUE(f.DeplaceEntree(5, 2));
        f.lstColonnes->item(3)->setCheckState(Qt::Unchecked);  // Appellation
        f.btnOK->click();
    });
    EXPECT_EQ(liste_->TexteColonnes(),
              QStringLiteral(",20,0\rNom,120,2\rPrix,50,0\rMillésime,50,0\rQuantité,50,0"));
    ASSERT_EQ(liste_->NombreLignes(), 1);
    EXPECT_EQ(liste_->Texte(0, 1), QStringLiteral("Alpha"));
    EXPECT_FALSE(liste_->Texte(0, 2).isEmpty());
    EXPECT_EQ(liste_->Texte(0, 4), QStringLiteral("3"));
}

}  // namespace
}  // namespace vinorium::navigation
