#include "ui/theme.h"

#include "data/defaultcellar.h"
#include "data/programme.h"
#include "support/grab.h"
#include "support/tempfolders.h"
#include "ui/controles.h"
#include "ui/flatcontrols.h"

#include <QLabel>
#include <QListWidget>
#include <QTableWidget>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace vinorium::ui {
namespace {

class Theme_ : public ::testing::Test {
  protected:
    void SetUp() override { saved_ = palette(); }
    void TearDown() override { palette() = saved_; }
    Palette saved_;
};

TEST_F(Theme_, PalettesAndPictures) {
    ChoisitTheme(QStringLiteral("Chocolat"));
    EXPECT_EQ(palette().Image, QStringLiteral("imgCafe"));
    EXPECT_EQ(palette().CouleurFond, QColor(223, 200, 164));
    ChoisitTheme(QStringLiteral("Café"));
    EXPECT_EQ(palette().Image, QStringLiteral("imgChocolat"));
    EXPECT_EQ(palette().CouleurAccent, QColor(103, 27, 24));
    ChoisitTheme(QStringLiteral("Bordeaux sombre"));
    EXPECT_EQ(palette().NomTheme, QStringLiteral("Végétal"));
    EXPECT_EQ(palette().Image, QStringLiteral("imgVegetal"));
    EXPECT_EQ(palette().CouleurMoyenne, QColor(89, 151, 101));
    EXPECT_EQ(NomsThemes().size(), 11);
    EXPECT_EQ(ImagesThemes().size(), 11);
}

TEST_F(Theme_, FieldColourFollowsModeAndTheme) {
    struct Case {
        const char* theme;
        bool modeSaisie;
        bool courant;
        QColor expected;
    };
    const QColor blanc(255, 255, 255);
    const Case cases[] = {
        {"Prune", true, false, QColor(204, 255, 153)},
        {"Prune", true, true, blanc},
        {"Prune", false, false, blanc},
        {"Prune", false, true, blanc},
        {"Monochrome", true, false, blanc},
        {"Monochrome", true, true, QColor(225, 225, 225)},
        {"Monochrome", false, true, blanc},
    };
    for (const Case& c : cases) {
        ChoisitTheme(QString::fromUtf8(c.theme));
        palette().ModeSaisie = c.modeSaisie;
        EXPECT_EQ(CouleurChamp(c.courant), c.expected) << c.theme << c.modeSaisie << c.courant;
    }
}

// A small window with one component of each group of rules.
struct Fenetre : QWidget {
    explicit Fenetre(const char* nomFenetre) {
        setObjectName(QString::fromLatin1(nomFenetre));
        auto* layout = new QVBoxLayout(this);
        const auto add = [&](QWidget* w, const char* name) {
            w->setObjectName(QString::fromLatin1(name));
            layout->addWidget(w);
            return w;
        };
        outils = static_cast<FlatPanel*>(add(new FlatPanel(this), "pnlOutils"));
        outils->setMinimumHeight(30);
        auto* outilsLayout = new QHBoxLayout(outils);
        bouton = new FlatSpeedButton(outils);
        bouton->setObjectName(QStringLiteral("btn_sauver"));
        bouton->setText(QStringLiteral("Sauver"));
        outilsLayout->addWidget(bouton);
        nom = static_cast<FlatEdit*>(add(new FlatEdit(this), "txt_nom"));
        quantite = static_cast<FlatEdit*>(add(new FlatEdit(this), "txt_QuantiteRestante"));
        combo = static_cast<FlatComboBox*>(add(new FlatComboBox(this), "lst_appellation"));
        tri = static_cast<FlatComboBox*>(add(new FlatComboBox(this), "lstTri"));
        types = static_cast<FlatPanel*>(add(new FlatPanel(this), "pnlType"));
        auto* typesLayout = new QHBoxLayout(types);
        rouge = new FlatRadioButton(types);
        rouge->setObjectName(QStringLiteral("optType1"));
        rouge->setText(QStringLiteral("&Rouge"));
        blanc = new FlatRadioButton(types);
        blanc->setObjectName(QStringLiteral("optType2"));
        blanc->setText(QStringLiteral("B&lanc (sec)"));
        typesLayout->addWidget(rouge);
        typesLayout->addWidget(blanc);
        offert = static_cast<FlatCheckBox*>(add(new FlatCheckBox(this), "chkOffert"));
        offert->setText(QStringLiteral("Offert"));
        onglets = static_cast<FlatTabControl*>(add(new FlatTabControl(this), "tabInfos"));
        onglets->addTab(new QWidget, QStringLiteral("Statistiques"));
        onglets->addTab(new QWidget, QStringLiteral("Aide"));
        jauge = static_cast<FlatGauge*>(add(new FlatGauge(this), "gauProgression"));
        ok = static_cast<FlatButton*>(add(new FlatButton(this), "btnOK"));
        ok->setText(QStringLiteral("OK"));
        liste = add(new QListWidget(this), "lstSelection");
        resize(360, 520);
    }
    FlatPanel* outils;
    FlatSpeedButton* bouton;
    FlatEdit* nom;
    FlatEdit* quantite;
    FlatComboBox* combo;
    FlatComboBox* tri;
    FlatPanel* types;
    FlatRadioButton* rouge;
    FlatRadioButton* blanc;
    FlatCheckBox* offert;
    FlatTabControl* onglets;
    FlatGauge* jauge;
    FlatButton* ok;
    QWidget* liste;
};

TEST_F(Theme_, RulesGiveEachKindItsColours) {
    ChoisitTheme(QStringLiteral("Marine"));
    palette().ModeSaisie = true;
    const Palette& p = palette();
    Fenetre w("frmSaisie");
    w.rouge->setChecked(true);
    AppliqueTheme(&w, false, false);

    EXPECT_EQ(w.palette().color(QPalette::Window), p.CouleurFond);
    EXPECT_EQ(w.outils->color(), p.CouleurAccent);
    EXPECT_EQ(w.bouton->color(), p.CouleurAccent);
    EXPECT_EQ(w.bouton->colorDown(), p.CouleurFond);
    EXPECT_EQ(w.nom->colorFlat(), p.CouleurFond)
        << "blank card with ModeSaisie: fields in the background colour";
    EXPECT_EQ(w.nom->colorBorder(), p.CouleurMoyenne);
    EXPECT_EQ(w.nom->fontColor(), p.CouleurTexte);
    EXPECT_EQ(w.quantite->colorFlat(), p.CouleurFond);
    EXPECT_EQ(w.combo->color(), p.CouleurFond);
    EXPECT_EQ(w.tri->fontColor(), QColor(0, 0, 0));
    EXPECT_EQ(w.rouge->fontColor(), p.CouleurAccent) << "checked option on the main window";
    EXPECT_EQ(w.blanc->fontColor(), p.CouleurMoyenne) << "unchecked option on the main window";
    EXPECT_EQ(w.offert->colorCheck(), p.CouleurAccent);
    EXPECT_EQ(w.onglets->color(), p.CouleurMoyenne);
    EXPECT_EQ(w.onglets->colorUnselectedTab(), p.CouleurAccent);
    EXPECT_EQ(w.jauge->barColor(), p.CouleurAccent);
    EXPECT_EQ(w.ok->color(), p.CouleurMoyenne);
    EXPECT_EQ(w.liste->palette().color(QPalette::Base), p.CouleurMoyenne);
    EXPECT_EQ(w.types->colorHighLight(), p.CouleurMoyenne) << "panel on a background-coloured parent";

    // Switching the card's mode repaints only the "_" components.
    ChoisitTheme(QStringLiteral("Prune"));
    AppliqueTheme(&w, true, true);
    EXPECT_EQ(w.nom->colorFlat(), QColor(255, 255, 255));
    EXPECT_EQ(w.combo->color(), QColor(255, 255, 255));
    EXPECT_EQ(w.bouton->color(), QColor(155, 38, 73)) << "btn_sauver is an entry component by its name";
    EXPECT_EQ(w.rouge->fontColor(), QColor(86, 91, 124)) << "optType1 keeps its colour";
    EXPECT_EQ(w.outils->color(), QColor(86, 91, 124));
}

TEST_F(Theme_, OptionsOnOtherWindowsAllTakeTheAccent) {
    ChoisitTheme(QStringLiteral("Floral"));
    Fenetre w("frmOptions");
    AppliqueTheme(&w, true, false);
    EXPECT_EQ(w.rouge->fontColor(), palette().CouleurAccent);
    EXPECT_EQ(w.blanc->fontColor(), palette().CouleurAccent);
    EXPECT_EQ(w.nom->colorFlat(), QColor(255, 255, 255));
}

TEST_F(Theme_, ThemedWindowsLookDeliberate) {
    for (const char* theme : {"Végétal", "Chocolat", "Monochrome", "Marine"}) {
        ChoisitTheme(QString::fromUtf8(theme));
        Fenetre w("frmApercu");
        w.nom->setText(QStringLiteral("Château Lafleur"));
        w.combo->addItem(QStringLiteral("Pomerol"));
        w.blanc->setChecked(true);
        w.jauge->setValue(60);
        AppliqueTheme(&w, true, false);
        w.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
        test::grabToPng(&w, QStringLiteral("theme-") + QString::fromUtf8(theme));
    }
}

TEST(Controles, OptionPanels) {
    Fenetre w("frmSaisie");
    EXPECT_EQ(DonneTexteCoche(w.types), QString());
    EXPECT_EQ(DonneNumeroCoche(w.types), 0);
    w.blanc->setChecked(true);
    EXPECT_EQ(DonneTexteCoche(w.types), QStringLiteral("B&lanc "));
    EXPECT_EQ(DonneNumeroCoche(w.types), 2);

    // A second click on the checked option clears it.
    OptionCochee() = w.blanc;
    BasculeOption(w.blanc);
    EXPECT_FALSE(w.blanc->isChecked());
    EXPECT_EQ(DonneNumeroCoche(w.types), 0);
    w.rouge->setChecked(true);
    BasculeOption(w.rouge);
    EXPECT_TRUE(w.rouge->isChecked());
    EXPECT_EQ(w.rouge->fontColor(), palette().CouleurAccent);
    EXPECT_EQ(w.blanc->fontColor(), palette().CouleurMoyenne);
}

TEST(Controles, ListsAndGrids) {
    FlatComboBox combo;
    combo.setEditable(true);
    combo.addItems({QStringLiteral("Pomerol"), QStringLiteral("Saint-Julien")});
    combo.setCurrentText(QStringLiteral("saint-julien"));
    AligneSurListe(&combo);
    EXPECT_EQ(combo.currentText(), QStringLiteral("Saint-Julien"));

    FlatComboBox couleurs;
    couleurs.addItem(QStringLiteral("Blanc"));
    RemplitCombo(&couleurs, {QString(), QStringLiteral("Rouge")});
    ASSERT_EQ(couleurs.count(), 3);
    EXPECT_EQ(couleurs.itemText(1), QStringLiteral(" "));
    EXPECT_EQ(couleurs.itemText(2), QStringLiteral("Rouge"));

    QListWidget liste;
    for (int i = 0; i < 4; ++i) {
        auto* item = new QListWidgetItem(QString::number(i), &liste);
        item->setCheckState(i == 1 || i == 3 ? Qt::Checked : Qt::Unchecked);
    }
    EXPECT_EQ(DonneIndexCoche(&liste, true), 1);
    EXPECT_EQ(DonneIndexCoche(&liste, false), 3);

    QTableWidget grille(1, 3);
    AjouteLigneGrille(&grille, QStringLiteral("Nom;150;chaine"));
    EXPECT_EQ(grille.rowCount(), 1) << "the empty first row is reused";
    AjouteLigneGrille(&grille, QStringLiteral("Millésime;60;nombre"));
    ASSERT_EQ(grille.rowCount(), 2);
    EXPECT_EQ(grille.item(1, 0)->text(), QStringLiteral("Millésime"));
    QTableWidget toujours(1, 2);
    SetTag(&toujours, 1);
    AjouteLigneGrille(&toujours, QStringLiteral("a;b"));
    EXPECT_EQ(toujours.rowCount(), 2);
}

}  // namespace
}  // namespace vinorium::ui

namespace vinorium::ui {
namespace {

TEST(Controles, FillersReplaceItemsWithTheRowsOfASelect) {
    test::TempFolders folders;
    reinitialiseProgramme();
    const QString path = folders.scratch(QStringLiteral("VINORIUM.MDB"));
    data::createDefaultCellar(path);
    programme().dbBase.open(path);
    data::Query general(&programme().dbBase);
    programme().qryGeneral = &general;

    FlatComboBox combo;
    combo.addItem(QStringLiteral("ancien"));
    RemplitComboSQL(&combo, QStringLiteral("SELECT Libelle FROM ChampsPerso ORDER BY Nom"));
    EXPECT_EQ(combo.count(), 5);
    EXPECT_EQ(combo.itemText(0), QStringLiteral("Origine"));
    QListWidget liste;
    RemplitListeSQL(&liste, QStringLiteral("SELECT Valeur FROM Options WHERE Nom = 'Couleur'"));
    ASSERT_EQ(liste.count(), 1);
    EXPECT_EQ(liste.item(0)->text(), QStringLiteral("Végétal"));
    EXPECT_THROW(RemplitComboSQL(&combo, QStringLiteral("SELECT Rien FROM Nulle")), data::EngineError);

    programme().qryGeneral = nullptr;
    reinitialiseProgramme();
}

}  // namespace
}  // namespace vinorium::ui
