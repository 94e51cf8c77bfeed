#include "card/frmsaisie.h"

#include "card/fichevin.h"
#include "data/programme.h"
#include "data/settingsstore.h"
#include "navigation/historique.h"
#include "navigation/infos.h"
#include "navigation/listevins.h"
#include "navigation/recherchenom.h"
#include "navigation/statistiques.h"
#include "plan/planfiche.h"
#include "support/cellarfixtures.h"
#include "support/grab.h"
#include "support/scripteddialogs.h"
#include "support/tempfolders.h"
#include "ui/accessibility.h"
#include "ui/controles.h"
#include "ui/flatcontrols.h"
#include "ui/theme.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTabBar>
#include <QTableWidget>
#include <QTest>
#include <QTreeView>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace vinorium::card {
namespace {

// A cellar with two wines, opened as the program's connection.
class Saisie_ : public ::testing::Test {
  public:
    void SetUp() override {
        reinitialiseProgramme();
        cellar_ = std::make_unique<test::CellarFixture>(folders_.scratch(QStringLiteral("cave.mdb")));
        cellar_->addPlanCell(1, 0, 0);
        cellar_->addPlanCell(2, 45, 0);
        cellar_->addPlanCell(3, 90, 0);
        margaux_ = cellar_->addWine(
            {.nom = QStringLiteral("Château Margaux"),
             .recoltant = QStringLiteral("Famille Mentzelopoulos"),
             .appellation = QStringLiteral("Margaux"),
             .type = QStringLiteral("Autre"),
             .conditionnement = QStringLiteral("Standard"),
             .millesime = 2005,
             .prix = 7.5,
             .vrac = false,
             .offert = true,
             .attendre = 2010,
             .boireAvant = 2030,
             .cuvee = QStringLiteral("Grand vin"),
             .classement = QStringLiteral("Premier grand cru classé"),
             .champsPerso = {QStringLiteral("Cadeau"), QStringLiteral("Cave du haut"),
                             QStringLiteral("Rang 2"), QStringLiteral("Dense"), QStringLiteral("À revoir")},
             .robe = QStringLiteral("Grenat"),
             .nez = QStringLiteral("Cassis"),
             .bouche = QStringLiteral("Ample"),
             .note = QStringLiteral("18/20"),
             .qualitePrix = QStringLiteral("Excellent")});
        cellar_->addMovement(margaux_, QDate(2006, 3, 12), 6, 3);
        cellar_->addMovement(margaux_, QDate(2007, 1, 2), -2, 3, QStringLiteral("anniversaire"));
        sansType_ = cellar_->addWine({.nom = QStringLiteral("Cuvée sans type"),
                                      .appellation = QStringLiteral("Margaux"),
                                      .type = QString(),
                                      .champsPerso = {QStringLiteral("Achat")}});
        cellar_->addMovement(sansType_, QDate(2008, 5, 1), 1, 0);
        programme().dbBase.open(cellar_->path());
    }
    void TearDown() override {
        programme().dbBase.close();
        reinitialiseProgramme();
    }

    // A window shown and active, as the start-up leaves it.
    std::unique_ptr<TfrmSaisie> ouvre() {
        auto w = std::make_unique<TfrmSaisie>();
        w->ouvreAide = [this] { ++aides_; };
        w->show();
        w->Initialise();
        QApplication::setActiveWindow(w.get());
        EXPECT_TRUE(QTest::qWaitForWindowActive(w.get()));
        return w;
    }

    static QString registre(const char* nom) {
        SettingsStore store(SettingsRoot::CurrentUser);
        return store.openKeyReadOnly(SettingsStore::userKey()) ? store.readString(QString::fromLatin1(nom))
                                                               : QStringLiteral("<aucune clé>");
    }
    static void ecritRegistre(const char* nom, const QString& valeur) {
        SettingsStore store(SettingsRoot::CurrentUser);
        ASSERT_TRUE(store.openKey(SettingsStore::userKey(), true));
        store.writeString(QString::fromLatin1(nom), valeur);
    }

    test::TempFolders folders_;
    std::unique_ptr<test::CellarFixture> cellar_;
    int margaux_ = 0;
    int sansType_ = 0;
    int aides_ = 0;
};

QString texte(QWidget* w) {
    if (auto* c = qobject_cast<QComboBox*>(w)) {
        return c->currentText();
    }
    if (auto* e = qobject_cast<QLineEdit*>(w)) {
        return e->text();
    }
    if (auto* m = qobject_cast<QPlainTextEdit*>(w)) {
        return m->toPlainText();
    }
    return QStringLiteral("<%1>").arg(w->metaObject()->className());
}

// The control that has the focus: an editable combo box rather than its line edit.
QWidget* controle(QWidget* w) {
    if (w && qobject_cast<QLineEdit*>(w) && qobject_cast<QComboBox*>(w->parentWidget())) {
        return w->parentWidget();
    }
    return w;
}

QStringList ligne(QTableWidget* g, int r) {
    QStringList cellules;
    for (int c = 0; c < g->columnCount(); ++c) {
        cellules << (g->item(r, c) ? g->item(r, c)->text() : QString());
    }
    return cellules;
}

TEST_F(Saisie_, FreshWindowIsNewCardWithEveryControlNamedAndThemed) {
    auto w = ouvre();
    EXPECT_EQ(w->windowTitle(),
              QStringLiteral("Vinorium / Tous les vins sélectionnés / Nouvelle saisie (recherche ou vin)"));
    EXPECT_EQ(w->size(), QSize(800, 600));
    EXPECT_EQ(w->minimumSize(), QSize(800, 600));
    EXPECT_TRUE(ui::unnamedControls(w.get()).isEmpty())
        << ui::unnamedControls(w.get()).join(u' ').toStdString();
    EXPECT_EQ(QApplication::focusWidget(), w->fiche->lst_nom);
    EXPECT_EQ(w->etat().ChaineSQLCourante, QStringLiteral("(QuantiteRestante > 0)"));
    EXPECT_EQ(w->etat().OrdreListe, QStringLiteral(" ORDER BY NomComplet"));
    EXPECT_EQ(w->listeVins->NombreLignes(), 2);
    EXPECT_EQ(w->fiche->tab_vin->count(), 4);
    EXPECT_EQ(w->infos->tabInfos->tabText(3), QStringLiteral("Aide"));
    for (ui::FlatButton* comp : w->fiche->comparateurs()) {
        EXPECT_FALSE(comp->isHidden()) << comp->objectName().toStdString();
    }
    EXPECT_TRUE(w->findChild<QWidget*>(QStringLiteral("imgVegetal"))->isVisibleTo(w.get()));
    EXPECT_FALSE(w->findChild<QWidget*>(QStringLiteral("imgCafe"))->isVisibleTo(w.get()));
    EXPECT_EQ(w->pnlOutils->color(), ui::palette().CouleurAccent);
    EXPECT_TRUE(w->fiche->plan->btnQuantitePlan->isChecked());
    EXPECT_EQ(w->fiche->plan->grp_Position->findChildren<ui::FlatSpeedButton*>().size(),
              4);  // 3 cells + elsewhere
    // A blank card with ModeSaisie on shows the theme's background in its fields.
    EXPECT_EQ(w->fiche->txt_prix->colorFlat(), ui::palette().CouleurFond);
    EXPECT_EQ(w->fiche->lst_nom->lineEdit()->maxLength(), 255);
    EXPECT_EQ(w->fiche->txt_millesime->maxLength(), 4);
    EXPECT_EQ(w->fiche->lst_appellation->lineEdit()->maxLength(), 50);
    EXPECT_EQ(w->fiche->txt_prix->maxLength(), 6);
    EXPECT_EQ(w->rechercheNom->txtRecherche->maxLength(), 30);
    EXPECT_TRUE(w->fiche->txt_QuantiteRestante->isReadOnly());
}

TEST_F(Saisie_, LoadingAWineFillsEveryControlAndClosingAsksNothing) {
    auto w = ouvre();
    FicheVin& f = *w->fiche;
    w->ChargeVin(QString::number(margaux_));
    const std::pair<QWidget*, const char*> attendus[] = {
        {f.lst_nom, "Château Margaux"},
        {f.txt_millesime, "2005"},
        {f.lst_appellation, "Margaux"},
        {f.lst_region, "Bordeaux"},
        {f.txt_QuantiteRestante, "4"},
        {f.txt_prix, "7,50"},
        {f.txt_classement, "Premier grand cru classé"},
        {f.txt_cuvee, "Grand vin"},
        {f.lst_recoltant, "Famille Mentzelopoulos"},
        {f.champs[0].lst, "Cadeau"},
        {f.champs[0].txt, "Cadeau"},
        {f.champs[1].lst, "Cave du haut"},
        {f.champs[2].lst, "Rang 2"},
        {f.txt_robe, "Grenat"},
        {f.txt_nez, "Cassis"},
        {f.txt_bouche, "Ample"},
        {f.lst_qualitePrix, "Excellent"},
        {f.txt_note, "18/20"},
        {f.txt_attendre, "2010"},
        {f.txt_boireAvant, "2030"},
        {f.champs[3].lst, "Dense"},
        {f.champs[4].lst, "À revoir"},
    };
    for (const auto& [controle, valeur] : attendus) {
        EXPECT_EQ(texte(controle), QString::fromUtf8(valeur)) << controle->objectName().toStdString();
    }
    EXPECT_TRUE(f.FlatRadioButton1->isChecked());
    EXPECT_EQ(FicheVin::LitCoche(f.pnl_Type), QStringLiteral("Autre"));
    EXPECT_TRUE(f.optConditionnement1->isChecked());
    EXPECT_EQ(FicheVin::LitCoche(f.pnl_Conditionnement), QStringLiteral("Standard "));
    EXPECT_EQ(f.optConditionnement1->fontColor(), ui::palette().CouleurAccent);
    EXPECT_EQ(f.optConditionnement2->fontColor(), ui::palette().CouleurMoyenne);
    EXPECT_EQ(FicheVin::EtatOption(f.btn_offert), -1);
    EXPECT_EQ(FicheVin::EtatOption(f.btn_vrac), 0);
    EXPECT_EQ(ligne(f.lst_entrees, 0), (QStringList{QStringLiteral("12/03/2006"), QStringLiteral("6"),
                                                    QStringLiteral("3"), QString()}));
    EXPECT_EQ(ligne(f.lst_sorties, 0), (QStringList{QStringLiteral("02/01/2007"), QStringLiteral("2"),
                                                    QStringLiteral("3"), QStringLiteral("anniversaire")}));
    auto* cellule3 = f.plan->grp_Position->findChild<ui::FlatSpeedButton*>(QStringLiteral("btn_Position3"));
    ASSERT_TRUE(cellule3);
    EXPECT_TRUE(cellule3->isChecked());
    EXPECT_EQ(cellule3->colorDown(), ui::palette().CouleurTexte) << "plan cells keep their own colours";
    EXPECT_EQ(cellule3->text(), QStringLiteral("4"));
    for (ui::FlatButton* comp : f.comparateurs()) {
        EXPECT_TRUE(comp->isHidden()) << comp->objectName().toStdString();
    }
    EXPECT_FALSE(w->etat().ModeNouveau);
    EXPECT_FALSE(w->etat().FicheModifiee);
    EXPECT_EQ(w->windowTitle(),
              QStringLiteral("Vinorium / Tous les vins sélectionnés / Modification d'un vin"));
    EXPECT_EQ(f.txt_prix->colorFlat(), QColor(Qt::white));
    QTreeWidgetItem* historique = w->infos->historique->lstHistorique->topLevelItem(0);
    ASSERT_TRUE(historique);
    EXPECT_EQ(historique->text(0), QStringLiteral("Affichage"));
    EXPECT_EQ(historique->text(1), QStringLiteral("Château Margaux"));
    EXPECT_EQ(historique->text(2), QString::number(margaux_));

    // A wine without type leaves the group empty; an unknown key changes nothing.
    w->ChargeVin(QString::number(sansType_));
    EXPECT_EQ(FicheVin::LitCoche(f.pnl_Type), QString());
    w->ChargeVin(QStringLiteral("9999"));
    EXPECT_EQ(f.lst_nom->currentText(), QStringLiteral("Cuvée sans type"));

    test::ScriptedDialogs dlg;  // nothing may be asked
    EXPECT_TRUE(w->close());
}

TEST_F(Saisie_, EmptyingTheCardClearsEveryFieldAndReturnsToTheNewMode) {
    auto w = ouvre();
    FicheVin& f = *w->fiche;
    w->ChargeVin(QString::number(margaux_));
    f.btn_millesime_comp->setText(QStringLiteral(">"));
    w->EffaceVin();
    for (QWidget* champ : std::initializer_list<QWidget*>{
             f.lst_nom, f.txt_millesime, f.lst_appellation, f.lst_region, f.txt_QuantiteRestante, f.txt_prix,
             f.txt_classement, f.txt_cuvee, f.lst_recoltant, f.champs[0].lst, f.champs[0].txt, f.txt_robe,
             f.lst_qualitePrix, f.txt_boireAvant, f.champs[4].lst, f.txt_etiquette}) {
        EXPECT_EQ(texte(champ), QString()) << champ->objectName().toStdString();
    }
    EXPECT_EQ(FicheVin::LitCoche(f.pnl_Type), QString());
    EXPECT_EQ(FicheVin::LitCoche(f.pnl_Conditionnement), QString());
    EXPECT_EQ(FicheVin::EtatOption(f.btn_offert), 1);
    EXPECT_EQ(f.btn_offert->text(), QString());
    EXPECT_EQ(f.btn_millesime_comp->text(), QString());
    EXPECT_TRUE(f.btn_millesime_comp->isVisibleTo(w.get()));
    EXPECT_TRUE(ligne(f.lst_entrees, 0).join(QString()).isEmpty());
    EXPECT_FALSE(
        f.plan->grp_Position->findChild<ui::FlatSpeedButton*>(QStringLiteral("btn_Position3"))->isChecked());
    EXPECT_TRUE(w->etat().ModeNouveau);
    EXPECT_FALSE(w->etat().FicheModifiee);
    f.txt_note->setPlainText(QStringLiteral("x"));
    EXPECT_TRUE(w->etat().FicheModifiee);
}

TEST_F(Saisie_, ToggleCyclesThreeStatesOnANewCardAndTwoOnAWine) {
    struct Cas {
        bool charge;
        std::vector<int> etats;  // after each click
    };
    const QColor marron(128, 0, 0);
    const QColor gris(128, 128, 128);
    for (const Cas& c : {Cas{false, {-1, 0, 1, -1}}, Cas{true, {0, -1, 0}}}) {
        auto w = ouvre();
        FicheVin& f = *w->fiche;
        if (c.charge) {
            w->ChargeVin(QString::number(margaux_));  // Offert is yes
        }
        for (int attendu : c.etats) {
            QTest::mouseClick(f.btn_offert, Qt::LeftButton);
            EXPECT_EQ(FicheVin::EtatOption(f.btn_offert), attendu) << c.charge;
            EXPECT_EQ(f.btn_offert->text().isEmpty(), attendu == 1);
            EXPECT_EQ(f.btn_offert->fontColor(), attendu == -1 ? marron : gris);
        }
        EXPECT_NE(f.btn_offert->text(), QString());
        EXPECT_TRUE(w->etat().FicheModifiee);
        f.LitOption(f.btn_vrac, -1);
        f.LitOption(f.btn_offert, 0);
        EXPECT_NE(f.btn_vrac->text(), f.btn_offert->text()) << "a check mark and a cross";
    }
}

TEST_F(Saisie_, SecondClickOrSpaceOnTheCheckedOptionClearsTheGroup) {
    auto w = ouvre();
    FicheVin& f = *w->fiche;
    QTest::mouseClick(f.optType3, Qt::LeftButton);
    EXPECT_EQ(FicheVin::LitCoche(f.pnl_Type), QStringLiteral("Blanc"));
    EXPECT_EQ(f.optType3->fontColor(), ui::palette().CouleurAccent);
    EXPECT_TRUE(w->etat().FicheModifiee);
    QTest::mouseClick(f.optType1, Qt::LeftButton);
    EXPECT_EQ(FicheVin::LitCoche(f.pnl_Type), QStringLiteral("Rouge"));
    QTest::mouseClick(f.optType1, Qt::LeftButton);
    EXPECT_EQ(FicheVin::LitCoche(f.pnl_Type), QString());
    EXPECT_EQ(f.optType1->fontColor(), ui::palette().CouleurMoyenne);

    f.optConditionnement4->setFocus();
    QTest::keyClick(f.optConditionnement4, Qt::Key_Space);
    EXPECT_EQ(FicheVin::LitCoche(f.pnl_Conditionnement), QStringLiteral("Magnum "));
    EXPECT_EQ(f.optConditionnement4->fontColor(), ui::palette().CouleurAccent);
    QTest::keyClick(f.optConditionnement4, Qt::Key_Space);
    EXPECT_EQ(FicheVin::LitCoche(f.pnl_Conditionnement), QString());
    EXPECT_EQ(f.optConditionnement4->fontColor(), ui::palette().CouleurMoyenne);

    // EcritCoche checks every option whose caption holds the value.
    f.EcritCoche(f.pnl_Conditionnement, QStringLiteral("Fillette"));
    EXPECT_TRUE(f.optConditionnement2->isChecked());
    f.EcritCoche(f.pnl_Conditionnement, QString());
    EXPECT_EQ(FicheVin::LitCoche(f.pnl_Conditionnement), QString());
}

TEST_F(Saisie_, GroupPanelsHandTheFocusOnAndBack) {
    auto w = ouvre();
    FicheVin& f = *w->fiche;
    f.EcritCoche(f.pnl_Type, QStringLiteral("Blanc"));
    f.lst_region->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), f.optType3);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), f.optConditionnement1) << "none checked: the first";
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), f.optType3);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(controle(QApplication::focusWidget()), f.lst_region);
}

TEST_F(Saisie_, TabFromCustomField1OpensThePageOnItsFirstFieldAndShiftTabComesBack) {
    auto w = ouvre();
    FicheVin& f = *w->fiche;
    const QString aujourdhui = QLocale().toString(QDate::currentDate(), QLocale::ShortFormat);
    struct Cas {
        int page;
        QWidget* premier;
        ui::FlatEdit* date;
    };
    for (const Cas& c :
         {Cas{0, f.champs[1].lst, nullptr}, Cas{1, f.txt_robe, nullptr},
          Cas{2, f.txt_QuantiteEntree, f.txt_DateEntree}, Cas{3, f.txt_QuantiteSortie, f.txt_DateSortie}}) {
        f.tab_vin->setCurrentIndex(c.page);
        f.champs[0].lst->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(controle(QApplication::focusWidget()), c.premier) << c.page;
        EXPECT_EQ(f.tab_vin->currentIndex(), c.page);
        if (c.date) {
            EXPECT_EQ(c.date->text(), aujourdhui);
            // Shift+Tab from the page's first field in tab order: its date.
            c.date->setFocus();
        }
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
        EXPECT_EQ(controle(QApplication::focusWidget()), f.champs[0].lst)
            << c.page << " " << QApplication::focusWidget()->objectName().toStdString();
    }
}

TEST_F(Saisie_, PickingATabOpensItsPageOnItsFirstField) {
    auto w = ouvre();
    FicheVin& f = *w->fiche;
    f.tab_vin->setCurrentIndex(1);
    f.txt_robe->setFocus();  // coming back from a page's first field would go back to custom field 1
    QTabBar* onglets = f.tab_vin->tabBar();
    QTest::mouseClick(onglets, Qt::LeftButton, {}, onglets->tabRect(3).center());
    EXPECT_EQ(f.tab_vin->currentIndex(), 3);
    EXPECT_EQ(QApplication::focusWidget(), f.txt_QuantiteSortie);
    QTest::mouseClick(onglets, Qt::LeftButton, {}, onglets->tabRect(0).center());
    EXPECT_EQ(controle(QApplication::focusWidget()), f.champs[1].lst);
}

TEST_F(Saisie_, CustomFieldsTakeTheirLabelsAndPresentationsFromChampsPerso) {
    cellar_->exec(
        QStringLiteral("UPDATE ChampsPerso SET Libelle = 'Cépage', Liste = 0 WHERE Nom = 'ChampPerso2'"));
    cellar_->exec(QStringLiteral("DELETE FROM ChampsPerso WHERE Nom = 'ChampPerso3'"));
    cellar_->exec(
        QStringLiteral("UPDATE ChampsPerso SET Libelle = 'Origine du vin' WHERE Nom = 'ChampPerso1'"));
    auto w = ouvre();
    FicheVin& f = *w->fiche;
    EXPECT_EQ(f.champs[0].lab->text(), QStringLiteral("Origine du vin"));
    EXPECT_EQ(f.champs[1].lab->text(), QStringLiteral("Cépage"));
    EXPECT_EQ(f.champs[2].lab->text(), QStringLiteral("ChampPerso3"));
    const bool listes[] = {true, false, true, true, true};
    for (int i = 0; i < 5; ++i) {
        const ChampPerso& c = f.champs[static_cast<std::size_t>(i)];
        EXPECT_NE(c.lst->isHidden(), c.txt->isHidden()) << i;
        EXPECT_EQ(c.lst->isHidden(), !listes[i]) << i;
    }
    QStringList valeurs;
    for (int i = 0; i < f.champs[0].lst->count(); ++i) {
        valeurs << f.champs[0].lst->itemText(i);
    }
    EXPECT_EQ(valeurs, (QStringList{QStringLiteral("Achat"), QStringLiteral("Cadeau")}));

    w->ChargeVin(QString::number(margaux_));
    EXPECT_EQ(f.champs[1].txt->toPlainText(), QStringLiteral("Cave du haut"));
    // With field 2 a memo, the first field of the "Cave" page is the memo.
    f.tab_vin->setCurrentIndex(0);
    f.champs[0].lst->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), f.champs[1].txt);
    // Leaving the memo copies its text into the list that holds the value.
    f.champs[1].txt->setPlainText(QStringLiteral("Cave du bas"));
    f.txt_cuvee->setFocus();
    EXPECT_EQ(f.champs[1].lst->currentText(), QStringLiteral("Cave du bas"));
    EXPECT_TRUE(w->etat().FicheModifiee);
}

TEST_F(Saisie_, ControlSwapsTheFourButtonsAndShortcutsPressTheirButton) {
    auto w = ouvre();
    const std::pair<ui::FlatSpeedButton*, ui::FlatSpeedButton*> paires[] = {
        {w->btn_supprimer, w->btn_supprimerTout},
        {w->btn_tous, w->btn_epuise},
        {w->btn_sauver, w->btn_dupliquer},
        {w->btn_rechercher, w->btn_rechercherIncremental}};
    const auto standard = [&](bool attendu) {
        for (const auto& [normal, alterne] : paires) {
            EXPECT_EQ(normal->isVisibleTo(w.get()), attendu) << normal->objectName().toStdString();
            EXPECT_EQ(alterne->isVisibleTo(w.get()), !attendu) << alterne->objectName().toStdString();
        }
    };
    QWidget* champ = w->fiche->lst_nom;
    standard(true);
    QTest::keyPress(champ, Qt::Key_Control, Qt::ControlModifier);
    standard(false);
    EXPECT_TRUE(w->etat().ToucheCtrl);
    QTest::keyRelease(champ, Qt::Key_Control);
    standard(true);
    QTest::keyPress(champ, Qt::Key_Control, Qt::ControlModifier);
    standard(false);
    QWidget autre;
    autre.show();
    QApplication::setActiveWindow(&autre);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&autre));
    standard(true);
    EXPECT_FALSE(w->etat().ToucheCtrl);
    autre.close();
    QApplication::setActiveWindow(w.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));

    // Every shortcut presses its button, Control held or not; no other modifier may be held.
    int sauver = 0;
    int epuise = 0;
    w->btn_sauver->setEnabled(true);
    w->btn_epuise->setEnabled(true);
    QObject::connect(w->btn_sauver, &QToolButton::clicked, [&sauver] { ++sauver; });
    QObject::connect(w->btn_epuise, &QToolButton::clicked, [&epuise] { ++epuise; });
    champ->setFocus();
    QTest::keyPress(champ, Qt::Key_Control, Qt::ControlModifier);
    QTest::keyClick(champ, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(sauver, 1);
    standard(true);
    EXPECT_TRUE(w->etat().RaccourciTraite);
    QTest::keyClick(champ, Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(sauver, 1);
    EXPECT_FALSE(w->etat().RaccourciTraite);
    QTest::keyClick(champ, Qt::Key_0, Qt::ControlModifier);
    EXPECT_EQ(epuise, 1);
    EXPECT_EQ(w->fiche->lst_nom->currentText(), QString()) << "the shortcut's character is swallowed";
    QTest::keyClick(champ, Qt::Key_F1, Qt::ShiftModifier | Qt::ControlModifier);
    EXPECT_EQ(aides_, 1);

    // Enter on a focused push button clicks it.
    int entrees = 0;
    QObject::connect(w->fiche->btn_EntreeCave, &QPushButton::clicked, [&entrees] { ++entrees; });
    w->fiche->tab_vin->setCurrentIndex(2);
    w->fiche->btn_EntreeCave->setFocus();
    w->fiche->txt_QuantiteEntree->setText(QStringLiteral("2"));
    QTest::keyClick(w->fiche->btn_EntreeCave, Qt::Key_Return);
    EXPECT_EQ(entrees, 1);
    EXPECT_EQ(w->fiche->lst_entrees->item(0, 1)->text(), QStringLiteral("2")) << "the entry is listed";
}

TEST_F(Saisie_, SettingsRoundTripAndFallBacks) {
    {
        auto w = ouvre();
        const QRect ecran = w->screen()->availableGeometry();
        EXPECT_EQ(w->size(), QSize(800, 600));
        EXPECT_EQ(w->x(), std::max(0, ecran.x() + (ecran.width() - 800) / 2));
        w->resize(900, 700);
        w->move(30, 40);
        w->rechercheNom->mnuVinsEpuisesRechMulti->setChecked(true);
        w->listeVins->AfficheEnTetes(true);
        w->infos->statistiques->txtNbMoisGraph->setValue(6);
        EXPECT_TRUE(w->rechercheNom->imgRecherchePlus->isVisibleTo(w.get()));
        w->close();
        EXPECT_EQ(registre("Ecran"), QStringLiteral("40\r30\r900\r700"));
        EXPECT_EQ(registre("Epuises"), QStringLiteral("0\r-1\r0"));
        EXPECT_EQ(registre("EnTetesListeSelection"), QStringLiteral("-1"));
        EXPECT_EQ(registre("NbMoisGraph"), QStringLiteral("6"));
        EXPECT_EQ(registre("ColonnesListeSelection"),
                  QStringLiteral(",20,0\rNom,100,0\rAppellation,100,0\rMillésime,50,0\rQuantité,50,0"));
        EXPECT_EQ(registre("ChoixBase"), QStringLiteral("-1"));
        EXPECT_EQ(registre("Splitter"), QStringLiteral("197"));
    }
    {
        auto w = ouvre();
        EXPECT_EQ(w->size(), QSize(900, 700));
        EXPECT_TRUE(w->rechercheNom->mnuVinsEpuisesRechMulti->isChecked());
        EXPECT_FALSE(w->rechercheNom->mnuVinsEpuisesRechNom->isChecked());
        EXPECT_EQ(w->etat().ChaineSQLCourante, QStringLiteral("(QuantiteRestante >= 0)"));
        EXPECT_TRUE(w->listeVins->EnTetesAffiches());
        EXPECT_EQ(w->infos->statistiques->txtNbMoisGraph->value(), 6);
        w->showMaximized();
        w->close();
        EXPECT_EQ(registre("Ecran"), QStringLiteral("1"));
    }
    struct Cas {
        const char* ecran;
        bool maximise;
    };
    for (const Cas& c :
         {Cas{"1", true}, Cas{"pas un nombre", true}, Cas{"10\r20\r30", true}, Cas{"", false}}) {
        ecritRegistre("Ecran", QString::fromUtf8(c.ecran));
        ecritRegistre("Epuises", QStringLiteral("-1\r-1"));
        ecritRegistre("ColonnesListeSelection", QStringLiteral(",20,0\rPrix,abc,2"));
        auto w = ouvre();
        EXPECT_EQ(w->isMaximized(), c.maximise) << c.ecran;
        if (!c.maximise) {
            EXPECT_EQ(w->size(), QSize(800, 600));
        }
        EXPECT_FALSE(w->rechercheNom->mnuVinsEpuisesRechNom->isChecked()) << "fewer than three lines";
        EXPECT_EQ(w->listeVins->NombreColonnes(), 5) << "unreadable columns give the default ones";
        w->showMinimized();
        w->close();
        EXPECT_EQ(registre("Ecran"), QString());
    }
}

TEST_F(Saisie_, OptionsOfTheCellarWithTheirDefaults) {
    struct Cas {
        QList<QPair<QString, QString>> options;  // rows changed; a null value deletes the row
        const char* theme;
        const char* image;
        int aBoire;
        int attendre;
        int tranche;
        bool modeSaisie;
    };
    const QString nul;
    for (const Cas& c : {Cas{{{QStringLiteral("Couleur"), QStringLiteral("Inconnu")}},
                             "Végétal",
                             "imgVegetal",
                             2,
                             5,
                             5,
                             true},
                         Cas{{{QStringLiteral("Couleur"), QStringLiteral("Chocolat")},
                              {QStringLiteral("Aboire"), QStringLiteral("3")},
                              {QStringLiteral("Attendre"), QStringLiteral("8")},
                              {QStringLiteral("TranchePrix"), QStringLiteral("10")},
                              {QStringLiteral("ModeSaisie"), QStringLiteral("0")}},
                             "Chocolat",
                             "imgCafe",
                             3,
                             8,
                             10,
                             false},
                         Cas{{{QStringLiteral("Couleur"), nul},
                              {QStringLiteral("Aboire"), nul},
                              {QStringLiteral("Attendre"), nul},
                              {QStringLiteral("TranchePrix"), nul},
                              {QStringLiteral("ModeSaisie"), nul}},
                             "Végétal",
                             "imgVegetal",
                             2,
                             5,
                             5,
                             true}}) {
        for (const auto& [nom, valeur] : c.options) {
            if (valeur.isNull()) {
                cellar_->exec(QStringLiteral("DELETE FROM Options WHERE Nom = '%1'").arg(nom));
            } else {
                cellar_->setOption(nom, valeur);
            }
        }
        auto w = ouvre();
        const EtatSaisie& e = w->etat();
        EXPECT_EQ(ui::palette().NomTheme, QString::fromUtf8(c.theme));
        EXPECT_TRUE(w->findChild<QWidget*>(QString::fromLatin1(c.image))->isVisibleTo(w.get())) << c.image;
        EXPECT_EQ(e.AnneesABoire, c.aBoire);
        EXPECT_EQ(e.AnneesAttendre, c.attendre);
        EXPECT_EQ(e.LargeurTranchePrix, c.tranche);
        EXPECT_EQ(e.ModeSaisie, c.modeSaisie);
        // With ModeSaisie off a blank card looks like a loaded wine.
        EXPECT_EQ(w->fiche->txt_prix->colorFlat() == QColor(Qt::white), !c.modeSaisie) << c.theme;
        w->ChargeVin(QString::number(margaux_));
        EXPECT_EQ(w->fiche->txt_prix->colorFlat(), QColor(Qt::white));
        EXPECT_EQ(w->fiche->optType1->fontColor(), ui::palette().CouleurMoyenne)
            << "labels and options keep theirs";
    }
}

TEST_F(Saisie_, ListsAlignTheCaseOnLeavingAndATypedRegionEmptiesTheAppellation) {
    auto w = ouvre();
    FicheVin& f = *w->fiche;
    w->ChargeVin(QString::number(margaux_));
    EXPECT_EQ(f.lst_appellation->currentText(), QStringLiteral("Margaux")) << "filling never empties it";
    f.lst_region->setFocus();
    f.lst_region->lineEdit()->selectAll();
    QTest::keyClicks(f.lst_region->lineEdit(), QStringLiteral("bordeaux"));
    EXPECT_EQ(f.lst_appellation->currentText(), QString());
    EXPECT_TRUE(w->etat().FicheModifiee);
    f.txt_prix->setFocus();
    EXPECT_EQ(f.lst_region->currentText(), QStringLiteral("Bordeaux"));
    EXPECT_EQ(w->etat().DernierChampSaisie, f.txt_prix);
    QStringList noms;
    for (int i = 0; i < f.lst_nom->count(); ++i) {
        noms << f.lst_nom->itemText(i);
    }
    EXPECT_EQ(noms, (QStringList{QStringLiteral("Château Margaux"), QStringLiteral("Cuvée sans type")}));
}

TEST_F(Saisie_, CommittingTheFieldRunsItsExitAndKeepsTheFocusAndLastField) {
    cellar_->exec(QStringLiteral("UPDATE ChampsPerso SET Liste = 0 WHERE Nom = 'ChampPerso1'"));
    auto w = ouvre();
    FicheVin& f = *w->fiche;
    f.champs[0].txt->setFocus();
    f.champs[0].txt->setPlainText(QStringLiteral("Héritage"));
    w->SimulerSortieChamp();
    EXPECT_EQ(f.champs[0].lst->currentText(), QStringLiteral("Héritage"));
    EXPECT_EQ(QApplication::focusWidget(), f.champs[0].txt);
    EXPECT_EQ(w->etat().DernierChampSaisie, f.champs[0].txt);
    EXPECT_TRUE(w->btnFocus->size().isNull());
}

TEST_F(Saisie_, TheHelpTabShowsTheLongHintAndTooltipsTheShortOne) {
    auto w = ouvre();
    EXPECT_EQ(w->infos->lblAide->text(),
              QStringLiteral("Déplacer la souris sur la zone où vous souhaitez avoir de l'aide"));
    QEvent entre(QEvent::Enter);
    QApplication::sendEvent(w->btn_quitter, &entre);
    EXPECT_EQ(w->infos->lblAide->text(), QStringLiteral("Sortie de Vinorium."));
    QApplication::sendEvent(w->fiche->txt_prix, &entre);
    EXPECT_EQ(w->infos->lblAide->text(),
              QStringLiteral("Prix d'une bouteille, ou d'un litre de vin si la case 'Vrac' est cochée"));
}

// Pictures of the window as a user sees it, a wine loaded, in two themes and
// two sizes (written when VINORIUM_GRAB_DIR is set).
TEST_F(Saisie_, GrabsTheWindowWithAWineLoaded) {
    for (const char* theme : {"Végétal", "Chocolat"}) {
        cellar_->setOption(QStringLiteral("Couleur"), QString::fromUtf8(theme));
        auto w = ouvre();
        EXPECT_EQ(ui::palette().NomTheme, QString::fromUtf8(theme));
        w->SelectionneVin(QString::number(margaux_));
        const QString nom = QStringLiteral("frmSaisie-") + ui::palette().Image;
        QTest::qWait(50);
        test::grabToPng(w.get(), nom + QStringLiteral("-800x600"));
        for (const auto& [page, suffixe] : {std::pair{1, "-degustation"}, std::pair{2, "-entrees"}}) {
            w->fiche->tab_vin->setCurrentIndex(page);
            QTest::qWait(20);
            test::grabToPng(w.get(), nom + QString::fromLatin1(suffixe));
        }
        w->fiche->tab_vin->setCurrentIndex(0);
        w->resize(1920, 1080);
        QTest::qWait(50);
        test::grabToPng(w.get(), nom + QStringLiteral("-1920x1080"));
        // The enlarged list with its headers, sorted by price descending.
        w->listeVins->AfficheEnTetes(true);
        w->listeVins->ChargeColonnes(QStringLiteral(",20,0\rNom,160,0\rAppellation,120,0\rPrix,80,2"));
        w->listeVins->Recharge();
        w->listeVins->mnuAgrandir->trigger();
        QTest::qWait(20);
        test::grabToPng(w.get(), nom + QStringLiteral("-liste-agrandie"));
        w->listeVins->mnuAgrandir->trigger();
        w->EffaceVin();
        test::grabToPng(w.get(), nom + QStringLiteral("-nouveau"));
    }
}

}  // namespace
}  // namespace vinorium::card

namespace vinorium::card {
namespace {

TEST_F(Saisie_, LeavingAChangedWineInTheListAsksOnceThenKeepsSavesOrDrops) {
    auto w = ouvre();
    QTreeView* liste = w->listeVins->lstSelection;
    w->listeVins->PositionneListeVin(QString::number(margaux_));
    ASSERT_EQ(texte(w->fiche->lst_nom), QStringLiteral("Château Margaux"));
    const auto clicSur = [&](int cptr) {
        for (int i = 0; i < w->listeVins->NombreLignes(); ++i) {
            if (w->listeVins->CptrDe(i) == QString::number(cptr)) {
                QTest::mouseClick(liste->viewport(), Qt::LeftButton, {},
                                  liste->visualRect(liste->model()->index(i, 1)).center());
                return;
            }
        }
        ADD_FAILURE() << "no row for " << cptr;
    };
    const auto modifie = [&](const QString& cuvee) {
        w->fiche->txt_cuvee->setFocus();
        w->fiche->txt_cuvee->selectAll();
        QTest::keyClicks(w->fiche->txt_cuvee, cuvee);
        ASSERT_TRUE(w->etat().FicheModifiee);
    };
    const QString question =
        QStringLiteral("Voulez-vous sauvegarder les modifications apportées au vin courant ?");

    modifie(QStringLiteral("Second vin"));
    {
        test::ScriptedDialogs dlg;
        dlg.expectMessage(question, DialogService::Answer::Cancel);
        clicSur(sansType_);
    }
    EXPECT_EQ(w->listeVins->CptrSelectionne(), QString::number(margaux_));
    EXPECT_EQ(texte(w->fiche->txt_cuvee), QStringLiteral("Second vin")) << "nothing typed is lost";

    {
        test::ScriptedDialogs dlg;
        dlg.expectMessage(question, DialogService::Answer::No);
        clicSur(sansType_);
    }
    EXPECT_EQ(texte(w->fiche->lst_nom), QStringLiteral("Cuvée sans type"));
    EXPECT_EQ(test::selectRows(programme().dbBase,
                               QStringLiteral("SELECT Cuvee FROM Vins WHERE Cptr = %1").arg(margaux_),
                               {QStringLiteral("Cuvee")}),
              QList<QStringList>{{QStringLiteral("Grand vin")}});

    // A click on the row already selected never drops what was typed.
    modifie(QStringLiteral("Autre cuvee"));
    clicSur(sansType_);
    EXPECT_EQ(texte(w->fiche->txt_cuvee), QStringLiteral("Autre cuvee"));
    // Selecting a wine from elsewhere asks first: Cancel changes nothing, No loads it and selects its row.
    {
        test::ScriptedDialogs dlg;
        dlg.expectMessage(question, DialogService::Answer::Cancel);
        w->SelectionneVin(QString::number(margaux_));
    }
    EXPECT_EQ(w->listeVins->CptrSelectionne(), QString::number(sansType_));
    EXPECT_EQ(texte(w->fiche->txt_cuvee), QStringLiteral("Autre cuvee"));
    {
        test::ScriptedDialogs dlg;
        dlg.expectMessage(question, DialogService::Answer::No);
        w->SelectionneVin(QString::number(margaux_));
    }
    EXPECT_EQ(w->listeVins->CptrSelectionne(), QString::number(margaux_));
    EXPECT_EQ(texte(w->fiche->lst_nom), QStringLiteral("Château Margaux"));
    // On a blank card, a click on the selected row brings its wine back.
    w->btn_NouveauClick();
    ASSERT_TRUE(w->etat().ModeNouveau);
    clicSur(margaux_);
    EXPECT_FALSE(w->etat().ModeNouveau);
    EXPECT_EQ(texte(w->fiche->lst_nom), QStringLiteral("Château Margaux"));
}

TEST_F(Saisie_, ResetButtonsLoadTheExhaustedWinesThenEveryWineInStock) {
    const int epuise = cellar_->addWine({.nom = QStringLiteral("Bu jusqu'au bout"),
                                         .appellation = QStringLiteral("Margaux"),
                                         .type = QStringLiteral("Rouge")});
    cellar_->addMovement(epuise, QDate(2008, 5, 1), 2, 0);
    cellar_->addMovement(epuise, QDate(2009, 5, 1), -2, 0);
    auto w = ouvre();
    const auto noms = [&w] {
        QStringList textes;
        for (int i = 0; i < w->listeVins->NombreLignes(); ++i) {
            textes << w->listeVins->Texte(i, 1);
        }
        return textes;
    };
    const auto critere = [&w] {
        QStringList champs;
        const QTreeWidgetItem* ligne = w->infos->lstCriteresSelection->topLevelItem(0);
        for (int j = 0; ligne && j < 5; ++j) {
            champs << ligne->text(j);
        }
        return QStringList{QString::number(w->infos->lstCriteresSelection->topLevelItemCount())} + champs;
    };
    EXPECT_EQ(noms(), QStringList({"Château Margaux", "Cuvée sans type"}));

    w->btn_epuise->click();
    EXPECT_EQ(w->etat().ChaineSQLCourante, QStringLiteral("(QuantiteRestante = 0)"));
    EXPECT_EQ(noms(), QStringList({"Bu jusqu'au bout"}));
    EXPECT_EQ(critere(), QStringList({"1", "", "", "(QuantiteRestante", "=", "0)"}));
    EXPECT_TRUE(w->windowTitle().contains(QStringLiteral(" / Sélection en cours")));

    // With the exhausted wines included in searches, the all-wines reset takes them too.
    w->rechercheNom->mnuVinsEpuisesRechMulti->setChecked(true);
    w->btn_tous->click();
    EXPECT_EQ(w->etat().ChaineSQLCourante, QStringLiteral("(QuantiteRestante >= 0)"));
    EXPECT_EQ(noms(), QStringList({"Bu jusqu'au bout", "Château Margaux", "Cuvée sans type"}));
    EXPECT_EQ(critere(), QStringList({"1", "", "", "Tous les vins", "", ""}));
    EXPECT_TRUE(w->windowTitle().contains(QStringLiteral(" / Tous les vins sélectionnés")));
    w->rechercheNom->mnuVinsEpuisesRechMulti->setChecked(false);
    // The order follows the sorted column.
    w->listeVins->ClicEnTete(1);
    w->listeVins->ClicEnTete(1);
    w->btn_tous->click();
    EXPECT_EQ(w->etat().OrdreListe, QStringLiteral(" ORDER BY NomComplet DESC"));
    EXPECT_EQ(noms(), QStringList({"Cuvée sans type", "Château Margaux"}));
}

}  // namespace
}  // namespace vinorium::card
