#include "navigation/listevins.h"

#include "data/programme.h"
#include "support/cellarfixtures.h"
#include "support/tempfolders.h"

#include <QAction>
#include <QCoreApplication>
#include <QDate>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QTreeView>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>

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
        EXPECT_EQ(liste.NombreColonnes(), 5) << illisible;
    }
    // Readable but odd: the icon column goes first, once, and states out of range read 0.
    struct Cas {
        const char* lu;
        const char* garde;
    };
    for (const Cas& c : {Cas{"Nom,120,1", ",20,0\rNom,120,1"}, Cas{"Nom,120,0\r,20,3", ",20,3\rNom,120,0"},
                         Cas{",20,0\rNom,120,7\r,20,0\rPrix,80,-1", ",20,0\rNom,120,0\rPrix,80,0"},
                         Cas{",20,5\rNom,120,2", ",20,0\rNom,120,2"}}) {
        liste.ChargeColonnes(QString::fromLatin1(c.lu));
        EXPECT_EQ(liste.TexteColonnes(), QString::fromLatin1(c.garde)) << c.lu;
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
    ASSERT_EQ(liste.NombreLignes(), 3);
    EXPECT_EQ(liste.Texte(1, 1), QStringLiteral("Bêta"));
    EXPECT_EQ(liste.Texte(1, 4), QStringLiteral("2"));
    liste.PositionneListeVin(liste.CptrDe(1));
    QList<QPair<int, int>> retirees;
    int ajouts = 0;
    int changements = 0;
    QObject::connect(liste.modele, &QAbstractItemModel::rowsRemoved,
                     [&retirees](const QModelIndex&, int premiere, int derniere) {
                         retirees.append({premiere, derniere});
                     });
    QObject::connect(liste.modele, &QAbstractItemModel::rowsInserted, [&ajouts] { ++ajouts; });
    QObject::connect(&liste, &ListeVins::vinCourantChange, [&changements] { ++changements; });
    liste.ChargeListeVins(QStringLiteral("(Nom <> 'Alpha')"), QStringLiteral(" ORDER BY NomComplet"), 2, 5);
    ASSERT_EQ(liste.NombreLignes(), 2);
    EXPECT_EQ(liste.Texte(1, 1), QStringLiteral("Gamma"));
    // Only the last row went; the second row stays selected, holding what it now shows.
    EXPECT_EQ(retirees, (QList<QPair<int, int>>{{2, 2}}));
    EXPECT_EQ(ajouts, 0);
    EXPECT_EQ(liste.lstSelection->currentIndex().row(), 1);
    EXPECT_EQ(changements, 0);
    liste.ChargeListeVins(QStringLiteral("(QuantiteRestante > 0)"), QStringLiteral(" ORDER BY NomComplet"), 2,
                          5);
    EXPECT_EQ(liste.NombreLignes(), 3);
    EXPECT_EQ(ajouts, 1);
    liste.ChargeListeVins(QStringLiteral("(QuantiteRestante = 0)"), QString(), 2, 5);
    EXPECT_EQ(liste.NombreLignes(), 0);
}

TEST_F(ListeVins_, HeaderClicksCycleTheStatesAndGiveTheOrder) {
    QWidget parent;
    ListeVins liste(&parent);
    int signaux = 0;
    QObject::connect(&liste, &ListeVins::triChange, [&signaux] { ++signaux; });
    EXPECT_EQ(liste.donneTriListe(), QStringLiteral("NomComplet"));
    EXPECT_FALSE(liste.lstSelection->header()->isSortIndicatorShown());
    struct Cas {
        int colonne;
        int etatIcone;
        int etatNom;
        const char* tri;
    };
    for (const Cas& c :
         {Cas{0, 1, 0, "BoireAvant, Type"}, Cas{0, 2, 0, "BoireAvant DESC, Type"},
          Cas{0, 3, 0, "Type, BoireAvant"}, Cas{0, 4, 0, "Type DESC, BoireAvant"},
          Cas{0, 1, 0, "BoireAvant, Type"}, Cas{1, 0, 1, "NomComplet"}, Cas{1, 0, 2, "NomComplet DESC"},
          Cas{1, 0, 1, "NomComplet"}, Cas{4, 0, 0, "QuantiteRestante"}}) {
        liste.ClicEnTete(c.colonne);
        EXPECT_EQ(liste.EtatTri(0), c.etatIcone) << c.tri;
        EXPECT_EQ(liste.EtatTri(1), c.etatNom) << c.tri;
        EXPECT_EQ(liste.donneTriListe(), QString::fromLatin1(c.tri));
        // The arrow follows the sorted column, descending for an even state.
        EXPECT_EQ(liste.lstSelection->header()->sortIndicatorSection(), c.colonne);
        EXPECT_EQ(liste.lstSelection->header()->sortIndicatorOrder(),
                  liste.EtatTri(c.colonne) % 2 == 0 ? Qt::DescendingOrder : Qt::AscendingOrder);
    }
    EXPECT_EQ(signaux, 9);
}

TEST_F(ListeVins_, CatalogueHasThePseudoRowsTheIconRowAndTheCustomLabels) {
    QWidget parent;
    ListeVins liste(&parent);
    ASSERT_NE(liste.LigneDe(QStringLiteral("3")), nullptr);
    EXPECT_EQ(liste.LigneDe(QStringLiteral("3"))->champ2, QStringLiteral("BoireAvant"));
    EXPECT_EQ(liste.LigneDe(QString())->type, QStringLiteral("image"));
    EXPECT_EQ(liste.LigneDe(QStringLiteral("PRIX"))->champ, QStringLiteral("PrixBouteille"));
    EXPECT_EQ(liste.lstColonnesListeSelection.last().champ, QStringLiteral("ChampPerso5"));
    EXPECT_EQ(liste.LigneDe(QStringLiteral("Inconnue")), nullptr);
}

// Rows of the list in display order, as the text of one column.
QStringList colonne(const ListeVins& liste, int j) {
    QStringList textes;
    for (int i = 0; i < liste.NombreLignes(); ++i) {
        textes << liste.Texte(i, j);
    }
    return textes;
}

TEST_F(ListeVins_, RowsSortByTheColumnType) {
    struct Vin {
        const char* nom;
        std::optional<double> prix;
        const char* type;
        std::optional<int> boireAvant;
    };
    const int annee = QDate::currentDate().year();
    for (const Vin& v :
         {Vin{"delta", 10, "Blanc", annee + 9}, Vin{"Bêta", 9, "Rouge", annee + 9},
          Vin{"alpha", std::nullopt, "Blanc", std::nullopt}, Vin{"Gamma", 9, "Rouge", std::nullopt}}) {
        const int cptr = cellar_->addWine({.nom = QString::fromUtf8(v.nom),
                                           .type = QString::fromLatin1(v.type),
                                           .prix = v.prix,
                                           .boireAvant = v.boireAvant});
        cellar_->addMovement(cptr, QDate(2006, 1, 1), 1);
    }
    QWidget parent;
    ListeVins liste(&parent);
    // An unknown caption is shown empty and sorts without failing.
    liste.ChargeColonnes(QStringLiteral(",20,0\rNom,100,0\rPrix,80,2\rInconnue,50,0"));
    EXPECT_EQ(liste.LargeurColonne(2), 80);
    const QString ordre = QStringLiteral(" ORDER BY NomComplet");
    liste.ChargeListeVins(QStringLiteral("(QuantiteRestante > 0)"), ordre, 2, 5);
    // Prices (written "10,00") descending: 10, then the two 9 in fetch order, then 0.
    EXPECT_EQ(colonne(liste, 1), QStringList({"delta", "Bêta", "Gamma", "alpha"}));
    struct Cas {
        int colonne;
        QStringList noms;
    };
    for (const Cas& c :
         {Cas{2, {"alpha", "Bêta", "Gamma", "delta"}}, Cas{1, {"alpha", "Bêta", "delta", "Gamma"}},
          Cas{1, {"Gamma", "delta", "Bêta", "alpha"}}, Cas{3, {"Gamma", "delta", "Bêta", "alpha"}},
          // Icon: colour first (red before white), then ageing class.
          Cas{0, {"Gamma", "Bêta", "alpha", "delta"}}, Cas{0, {"delta", "alpha", "Bêta", "Gamma"}},
          // Ageing class first, then colour.
          Cas{0, {"Gamma", "alpha", "Bêta", "delta"}}}) {
        liste.ClicEnTete(c.colonne);
        EXPECT_EQ(colonne(liste, 1), c.noms) << c.colonne << " " << liste.EtatTri(c.colonne);
    }
    // A refill keeps the sort of the list.
    liste.ChargeListeVins(QStringLiteral("(QuantiteRestante > 0)"), ordre, 2, 5);
    EXPECT_EQ(colonne(liste, 1), QStringList({"Gamma", "alpha", "Bêta", "delta"}));
}

TEST_F(ListeVins_, AnEmptyResultClearsTheSelection) {
    const int cptr = cellar_->addWine({.nom = QStringLiteral("Alpha")});
    cellar_->addMovement(cptr, QDate(2006, 1, 1), 1);
    QWidget parent;
    ListeVins liste(&parent);
    liste.ChargeListeVins(QStringLiteral("(QuantiteRestante > 0)"), QString(), 2, 5);
    liste.lstSelection->setCurrentIndex(liste.modele->index(0, 0));
    EXPECT_EQ(liste.CptrSelectionne(), QString::number(cptr));
    liste.ChargeListeVins(QStringLiteral("(QuantiteRestante = 0)"), QString(), 2, 5);
    EXPECT_EQ(liste.CptrSelectionne(), QString());
    EXPECT_FALSE(liste.lstSelection->selectionModel()->hasSelection());
    EXPECT_FALSE(liste.lstSelection->currentIndex().isValid());
}

TEST_F(ListeVins_, PopupMenuEnlargesShowsHeadersAndControlShowsThemForAMoment) {
    QWidget parent;
    ListeVins liste(&parent);
    QStringList textes;
    for (const QAction* action : liste.mnuListeSelection->actions()) {
        textes << action->text();
    }
    EXPECT_EQ(textes, QStringList({"&Agrandir", "Afficher les &en-têtes", "&Colonnes..."}));

    auto touche = [&liste](QEvent::Type type, Qt::Key cle) {
        QKeyEvent event(
            type, cle,
            type == QEvent::KeyPress && cle == Qt::Key_Control ? Qt::ControlModifier : Qt::NoModifier);
        QCoreApplication::sendEvent(liste.lstSelection, &event);
    };
    // Control alone shows the hidden headers; releasing hides them unless the item is checked.
    EXPECT_TRUE(liste.lstSelection->isHeaderHidden());
    touche(QEvent::KeyPress, Qt::Key_Control);
    EXPECT_FALSE(liste.lstSelection->isHeaderHidden());
    touche(QEvent::KeyRelease, Qt::Key_Control);
    EXPECT_TRUE(liste.lstSelection->isHeaderHidden());
    liste.mnuEnTetes->trigger();
    EXPECT_TRUE(liste.EnTetesAffiches());
    touche(QEvent::KeyRelease, Qt::Key_Control);
    EXPECT_FALSE(liste.lstSelection->isHeaderHidden());
    liste.mnuEnTetes->trigger();
    EXPECT_TRUE(liste.lstSelection->isHeaderHidden());
    EXPECT_FALSE(liste.EnTetesAffiches());

    // "Agrandir" asks for the enlarged layout; Escape or a double click asks for the normal one.
    QList<bool> demandes;
    QObject::connect(&liste, &ListeVins::agrandissement, [&demandes](bool agrandi) { demandes << agrandi; });
    touche(QEvent::KeyPress, Qt::Key_Escape);
    liste.mnuAgrandir->trigger();
    touche(QEvent::KeyPress, Qt::Key_Escape);
    liste.mnuAgrandir->trigger();
    QMouseEvent clic(QEvent::MouseButtonDblClick, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton,
                     Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(liste.lstSelection->viewport(), &clic);
    EXPECT_EQ(demandes, QList<bool>({true, false, true, false}));
    EXPECT_FALSE(liste.mnuAgrandir->isChecked());
}

TEST_F(ListeVins_, PositioningAndTheAskBeforeLeavingARow) {
    QList<int> cles;
    for (const char* nom : {"Alpha", "Bêta", "Gamma"}) {
        cles << cellar_->addWine({.nom = QString::fromUtf8(nom)});
        cellar_->addMovement(cles.last(), QDate(2006, 1, 1), 1);
    }
    QWidget parent;
    ListeVins liste(&parent);
    liste.lstSelection->resize(300, 200);
    parent.resize(300, 200);
    parent.show();
    liste.ChargeListeVins(QStringLiteral("(QuantiteRestante > 0)"), QStringLiteral(" ORDER BY NomComplet"), 2,
                          5);
    liste.PositionneListeVin(QString::number(cles[1]));
    EXPECT_EQ(liste.CptrSelectionne(), QString::number(cles[1]));
    liste.PositionneListeVin(QStringLiteral("99999"));
    EXPECT_EQ(liste.CptrSelectionne(), QString::number(cles[1]));

    int questions = 0;
    bool reponse = false;
    liste.ValideChangementSelection = [&questions, &reponse] {
        ++questions;
        return reponse;
    };
    auto clic = [&liste](int ligne) {
        const QPoint point = liste.lstSelection->visualRect(liste.modele->index(ligne, 1)).center();
        for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            QMouseEvent event(type, point, liste.lstSelection->viewport()->mapToGlobal(point), Qt::LeftButton,
                              type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                              Qt::NoModifier);
            QCoreApplication::sendEvent(liste.lstSelection->viewport(), &event);
        }
    };
    auto touche = [&liste](Qt::Key cle) {
        QKeyEvent event(QEvent::KeyPress, cle, Qt::NoModifier);
        QCoreApplication::sendEvent(liste.lstSelection, &event);
    };
    struct Cas {
        std::function<void()> action;
        bool reponse;
        int ligne;
        int questions;
    };
    for (const Cas& c :
         {Cas{[&] { clic(0); }, false, 1, 1}, Cas{[&] { clic(0); }, true, 0, 1},
          Cas{[&] { clic(0); }, false, 0, 0}, Cas{[&] { touche(Qt::Key_Down); }, false, 0, 1},
          Cas{[&] { touche(Qt::Key_End); }, true, 2, 1}, Cas{[&] { touche(Qt::Key_Down); }, false, 2, 0}}) {
        questions = 0;
        reponse = c.reponse;
        c.action();
        EXPECT_EQ(liste.CptrSelectionne(), QString::number(cles[c.ligne])) << c.ligne;
        EXPECT_EQ(questions, c.questions) << c.ligne;
    }
    liste.refreshListView();
    EXPECT_TRUE(liste.lstSelection->updatesEnabled());
}

TEST_F(ListeVins_, CompareReadsNumbersAsNumbersAndOtherTextsAsZero) {
    QWidget parent;
    ListeVins liste(&parent);
    liste.ChargeColonnes(QStringLiteral(",20,0\rNom,100,0\rPrix,80,1"));
    struct Cas {
        const char* a;
        const char* b;
        int resultat;
    };
    for (const Cas& c :
         {Cas{"9", "10", -1}, Cas{"10,50", "9,00", 1}, Cas{"abc", "1", -1}, Cas{"abc", "0", 0},
          Cas{"-2", "abc", -1}, Cas{"1 200,00", "999", 1}, Cas{"", "0", 0}, Cas{"nan", "1", -1}}) {
        LigneVin a;
        a.textes = {QString(), QString(), QString::fromUtf8(c.a)};
        LigneVin b;
        b.textes = {QString(), QString(), QString::fromUtf8(c.b)};
        EXPECT_EQ(liste.lstSelectionCompare(a, b), c.resultat) << c.a << " " << c.b;
        liste.ClicEnTete(2);  // descending reverses the result
        EXPECT_EQ(liste.lstSelectionCompare(a, b), -c.resultat) << c.a << " " << c.b;
        liste.ClicEnTete(2);
    }
    // No sorted column: every pair is equal.
    liste.ChargeColonnes(QStringLiteral(",20,0\rNom,100,0"));
    LigneVin a;
    a.textes = {QString(), QStringLiteral("a")};
    LigneVin b;
    b.textes = {QString(), QStringLiteral("b")};
    EXPECT_EQ(liste.lstSelectionCompare(a, b), 0);
}

TEST_F(ListeVins_, DraggedHeadersKeepTheIconColumnFirstAndSaveTheDisplayOrder) {
    QWidget parent;
    ListeVins liste(&parent);
    QHeaderView* entetes = liste.lstSelection->header();
    entetes->moveSection(0, 3);
    EXPECT_EQ(entetes->logicalIndex(0), 0);
    entetes->moveSection(2, 1);  // Appellation before Nom
    EXPECT_EQ(liste.TexteColonnes(),
              QStringLiteral(",20,0\rAppellation,100,0\rNom,100,0\rMillésime,50,0\rQuantité,50,0"));
    // With no sorted column the second column in display order gives the order.
    EXPECT_EQ(liste.donneTriListe(), QStringLiteral("Appellation"));
    entetes->moveSection(1, 0);
    EXPECT_EQ(entetes->logicalIndex(0), 0);
    // New columns start from the logical order again.
    liste.ChargeColonnes(QStringLiteral(",20,0\rNom,100,0\rPrix,80,2"));
    EXPECT_EQ(liste.TexteColonnes(), QStringLiteral(",20,0\rNom,100,0\rPrix,80,2"));
}

}  // namespace
}  // namespace vinorium::navigation
