// Saving, duplicating and deleting wines from the card, the checks before a
// save, the look-ups and the field checks, through the real window and the
// database rows they leave.

#include "card/fichevin.h"
#include "card/frmentreecave.h"
#include "card/frmsaisie.h"
#include "data/programme.h"
#include "navigation/listevins.h"
#include "plan/planfiche.h"
#include "support/cellarfixtures.h"
#include "support/scripteddialogs.h"
#include "support/tempfolders.h"
#include "ui/controles.h"
#include "ui/flatcontrols.h"
#include "ui/frmchoix.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTableWidget>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <ostream>

// Texts as texts in the failure messages.
static void PrintTo(const QString& texte, std::ostream* os) {
    *os << '"' << texte.toStdString() << '"';
}

namespace vinorium::card {
namespace {

using Answer = DialogService::Answer;

const QString kVins = QStringLiteral("SELECT * FROM Vins ORDER BY Cptr");
const QStringList kColonnesVin{
    QStringLiteral("Cptr"),        QStringLiteral("Nom"),        QStringLiteral("Millesime"),
    QStringLiteral("Appellation"), QStringLiteral("Type"),       QStringLiteral("Conditionnement"),
    QStringLiteral("Prix"),        QStringLiteral("Offert"),     QStringLiteral("Note"),
    QStringLiteral("Attendre"),    QStringLiteral("BoireAvant"), QStringLiteral("ChampPerso1")};
const QString kMouvements = QStringLiteral("SELECT * FROM [Sortie cave] ORDER BY Cptr, Clé");
const QStringList kColonnesMouvement{
    QStringLiteral("Cptr"), QStringLiteral("DateEntreeSortie"), QStringLiteral("QuantiteEntreeSortie"),
    QStringLiteral("PositionEntreeSortie"), QStringLiteral("CommentaireEntreeSortie")};

QString aujourdhui() {
    return QLocale().toString(QDate::currentDate(), QLocale::ShortFormat);
}

// Adds a row to a movement list as the entry and exit pages do (the blank row
// of an empty list is used first).
void ajouteLigne(QTableWidget* g, const QStringList& cellules) {
    int r = g->rowCount();
    if (r == 1 && (!g->item(0, 0) || g->item(0, 0)->text().isEmpty())) {
        r = 0;
    } else {
        g->insertRow(r);
    }
    for (int c = 0; c < 4; ++c) {
        g->setItem(r, c, new QTableWidgetItem(cellules.value(c)));
    }
}

class Sauvegarde_ : public ::testing::Test {
  public:
    void SetUp() override {
        reinitialiseProgramme();
        cellar_ = std::make_unique<test::CellarFixture>(folders_.scratch(QStringLiteral("cave.mdb")));
        for (int i = 1; i <= 3; ++i) {
            cellar_->addPlanCell(i, (i - 1) * 45, 0);
        }
        margaux_ = cellar_->addWine({.nom = QStringLiteral("Château Margaux"),
                                     .appellation = QStringLiteral("Margaux"),
                                     .type = QStringLiteral("Rouge"),
                                     .millesime = 2005,
                                     .prix = 7.5,
                                     .offert = true,
                                     .attendre = 2010,
                                     .boireAvant = 2030,
                                     .champsPerso = {QStringLiteral("Cadeau")},
                                     .note = QStringLiteral("18/20")});
        cellar_->addMovement(margaux_, QDate(2006, 3, 12), 6, 3);
        cellar_->addMovement(margaux_, QDate(2007, 1, 2), -2, 3, QStringLiteral("anniversaire"));
        chablis_ = cellar_->addWine({.nom = QStringLiteral("Vaillons"),
                                     .appellation = QStringLiteral("Chablis"),
                                     .type = QStringLiteral("Blanc")});
        cellar_->addMovement(chablis_, QDate(2008, 5, 1), 1, 0);
        epuise_ = cellar_->addWine({.nom = QStringLiteral("Bu depuis longtemps"),
                                    .appellation = QStringLiteral("Sancerre"),
                                    .type = QStringLiteral("Blanc")});
        cellar_->addMovement(epuise_, QDate(2001, 5, 1), 0, 0);
        programme().dbBase.open(cellar_->path());
    }
    void TearDown() override {
        programme().dbBase.close();
        reinitialiseProgramme();
    }

    std::unique_ptr<TfrmSaisie> ouvre() {
        auto w = std::make_unique<TfrmSaisie>();
        w->show();
        w->Initialise();
        QApplication::setActiveWindow(w.get());
        EXPECT_TRUE(QTest::qWaitForWindowActive(w.get()));
        return w;
    }

    QList<QStringList> vins() { return test::selectRows(cellar_->db(), kVins, kColonnesVin); }
    QList<QStringList> mouvements() {
        return test::selectRows(cellar_->db(), kMouvements, kColonnesMouvement);
    }
    QList<QStringList> mouvementsDe(int cptr) {
        return test::selectRows(
            cellar_->db(),
            QStringLiteral("SELECT * FROM [Sortie cave] WHERE Cptr = %1 ORDER BY Clé").arg(cptr),
            kColonnesMouvement.mid(1));
    }
    int dernierVin() {
        return test::selectRows(cellar_->db(), QStringLiteral("SELECT MAX(Cptr) AS m FROM Vins"),
                                {QStringLiteral("m")})
            .value(0)
            .value(0)
            .toInt();
    }

    // A new wine that passes every check but the bottle count.
    static void remplitNouveau(FicheVin& f, const QString& nom = QStringLiteral("Clos neuf")) {
        f.lst_nom->setEditText(nom);
        f.lst_appellation->setEditText(QStringLiteral("Chablis"));
        f.EcritCoche(f.pnl_Type, QStringLiteral("Blanc"));
    }

    test::TempFolders folders_;
    std::unique_ptr<test::CellarFixture> cellar_;
    int margaux_ = 0;
    int chablis_ = 0;
    int epuise_ = 0;
};

TEST_F(Sauvegarde_, FailedChecksRefuseTheSaveWithTheirMessageAndWriteNothing) {
    struct Cas {
        const char* nom;
        std::function<void(FicheVin&)> prepare;
        DialogService::Kind kind;
        const char* message;
    };
    const Cas cas[] = {
        {"appellation inconnue",
         [](FicheVin& f) { f.lst_appellation->setEditText(QStringLiteral("Cornas")); },
         DialogService::Kind::Information, "Cette appellation n'existe pas"},
        {"sans appellation", [](FicheVin& f) { f.lst_appellation->setEditText({}); },
         DialogService::Kind::Information, "Il faut indiquer une appellation"},
        {"sans type", [](FicheVin& f) { f.EcritCoche(f.pnl_Type, {}); }, DialogService::Kind::Information,
         "Il faut indiquer une couleur de vin"},
        {"attendre après boire avant",
         [](FicheVin& f) {
             f.txt_attendre->setText(QStringLiteral("2012"));
             f.txt_boireAvant->setText(QStringLiteral("2010"));
         },
         DialogService::Kind::Warning, "L'année 'A attendre' doit être inférieur à l'année 'A boire avant'"},
    };
    const auto avant = vins();
    for (const Cas& c : cas) {
        auto w = ouvre();
        FicheVin& f = *w->fiche;
        remplitNouveau(f);
        c.prepare(f);
        test::ScriptedDialogs dlg;
        dlg.expectMessage(QString::fromUtf8(c.message), Answer::Ok);
        w->btn_sauver->click();
        ASSERT_EQ(dlg.calls().size(), 1u) << c.nom;
        EXPECT_EQ(dlg.calls()[0].text, QString::fromUtf8(c.message)) << c.nom;
        EXPECT_EQ(dlg.calls()[0].kind, c.kind) << c.nom;
        EXPECT_EQ(vins(), avant) << c.nom;
        EXPECT_EQ(f.lst_nom->currentText(), QStringLiteral("Clos neuf")) << c.nom;
        EXPECT_TRUE(w->etat().ModeNouveau);
        EXPECT_TRUE(w->etat().FicheModifiee);
        EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "the hourglass is gone";
    }
    // Equal years pass, and so does an empty one: the bottle count is asked next.
    for (const auto& [attendre, boireAvant] : {std::pair{"2012", "2012"}, std::pair{"2012", ""}}) {
        auto w = ouvre();
        remplitNouveau(*w->fiche);
        w->fiche->txt_attendre->setText(QString::fromLatin1(attendre));
        w->fiche->txt_boireAvant->setText(QString::fromLatin1(boireAvant));
        test::ScriptedDialogs dlg;
        dlg.expectModal(QStringLiteral("frmEntreeCave"), [](QObject*) { return TfrmEntreeCave::Annulation; });
        w->btn_sauver->click();
        EXPECT_TRUE(dlg.done());
    }
    EXPECT_EQ(vins(), avant);
}

TEST_F(Sauvegarde_, BottleCountDialogCancelsOrWritesTheEntryOrAPlaceholder) {
    struct Cas {
        const char* nom;
        std::function<int(TfrmEntreeCave*, test::ScriptedDialogs&)> conduit;
        bool cellule2;                // a cell pressed on the card's plan
        QList<QStringList> attendus;  // the new wine's movements; empty: nothing written
    };
    const Cas cas[] = {
        {"Echap annule",
         [](TfrmEntreeCave* d, test::ScriptedDialogs&) {
             QTest::keyClick(d, Qt::Key_Escape);
             return d->result();
         },
         true,
         {}},
        {"six bouteilles par Entrée",
         [](TfrmEntreeCave* d, test::ScriptedDialogs& dlg) {
             // With 0 bottles the dialog warns and stays; the arrows change the count.
             dlg.expectMessage(QStringLiteral("Saisir un nombre de bouteilles à entrer en cave"), Answer::Ok);
             QTest::keyClick(d->txtNbBouteilles, Qt::Key_Return);
             EXPECT_EQ(d->result(), 0);
             for (int i = 0; i < 6; ++i) {
                 QTest::keyClick(d->txtNbBouteilles, Qt::Key_Up);
             }
             QTest::keyClicks(d->txtNbBouteilles, QStringLiteral("9"));
             EXPECT_EQ(d->txtNbBouteilles->value(), 6) << "typing does not change the count";
             QTest::keyClick(d->txtNbBouteilles, Qt::Key_Return);
             return d->result();
         },
         true,
         {{aujourdhui(), QStringLiteral("6"), QStringLiteral("2"), QStringLiteral("<Null>")}}},
        {"six bouteilles ailleurs",
         [](TfrmEntreeCave* d, test::ScriptedDialogs&) {
             d->txtNbBouteilles->setValue(6);
             d->btnEntree->click();
             return d->result();
         },
         false,
         {{aujourdhui(), QStringLiteral("6"), QStringLiteral("0"), QStringLiteral("<Null>")}}},
        {"sans bouteilles",
         [](TfrmEntreeCave* d, test::ScriptedDialogs&) {
             d->btnValider->click();
             return d->result();
         },
         false,
         {{aujourdhui(), QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("<Null>")}}},
    };
    for (const Cas& c : cas) {
        const int avant = dernierVin();
        auto w = ouvre();
        FicheVin& f = *w->fiche;
        remplitNouveau(f);
        if (c.cellule2) {
            f.plan->grp_Position->findChild<ui::FlatSpeedButton*>(QStringLiteral("btn_Position2"))
                ->setChecked(true);
        }
        test::ScriptedDialogs dlg;
        dlg.expectModal(QStringLiteral("frmEntreeCave"), [&](QObject* o) {
            auto* d = qobject_cast<TfrmEntreeCave*>(o);
            EXPECT_EQ(d->windowTitle(), QStringLiteral("Confirmation d'enregistrement"));
            EXPECT_EQ(d->txtNbBouteilles->minimum(), 0);
            EXPECT_EQ(d->txtNbBouteilles->maximum(), 99);
            return c.conduit(d, dlg);
        });
        w->btn_sauver->click();
        EXPECT_TRUE(dlg.done()) << c.nom;
        if (c.attendus.isEmpty()) {
            EXPECT_EQ(dernierVin(), avant) << c.nom;
            EXPECT_EQ(f.lst_nom->currentText(), QStringLiteral("Clos neuf"));
            continue;
        }
        const int nouveau = dernierVin();
        ASSERT_GT(nouveau, avant) << c.nom;
        EXPECT_EQ(mouvementsDe(nouveau), c.attendus) << c.nom;
        EXPECT_EQ(f.lst_nom->currentText(), QString()) << "the card is emptied";
        EXPECT_TRUE(w->etat().ModeNouveau);
        EXPECT_FALSE(w->etat().FicheModifiee);
    }
}

TEST_F(Sauvegarde_, ANewWineIsWrittenWithItsValuesQuotedAndItsExitsNegated) {
    auto w = ouvre();
    FicheVin& f = *w->fiche;
    f.lst_nom->setEditText(QStringLiteral("L'Enclos"));
    f.lst_appellation->setEditText(QStringLiteral("Margaux"));
    QTest::mouseClick(f.optType2, Qt::LeftButton);  // "R&osé"
    f.txt_prix->setText(QStringLiteral("12,5"));
    f.txt_note->setPlainText(QStringLiteral("  belle\tsurprise \n"));
    f.champs[0].lst->setEditText(QStringLiteral("Foire aux vins"));
    f.LitOption(f.btn_offert, -1);
    ajouteLigne(f.lst_entrees, {QStringLiteral("03/04/2020"), QStringLiteral("3"), QStringLiteral("1"),
                                QStringLiteral("achat")});
    ajouteLigne(f.lst_sorties, {QStringLiteral("05/06/2021"), QStringLiteral("2"), QStringLiteral("1")});
    w->btn_sauver->click();
    const int cle = dernierVin();
    EXPECT_EQ(
        vins().last(),
        (QStringList{QString::number(cle), QStringLiteral("L'Enclos"), QStringLiteral("<Null>"),
                     QStringLiteral("Margaux"), QStringLiteral("Rosé"), QStringLiteral("Standard"),
                     QStringLiteral("12,5"), QStringLiteral("-1"), QStringLiteral("belle\tsurprise"),
                     QStringLiteral("<Null>"), QStringLiteral("<Null>"), QStringLiteral("Foire aux vins")}));
    EXPECT_EQ(mouvementsDe(cle), (QList<QStringList>{{QStringLiteral("05/06/2021"), QStringLiteral("-2"),
                                                      QStringLiteral("1"), QStringLiteral("<Null>")},
                                                     {QStringLiteral("03/04/2020"), QStringLiteral("3"),
                                                      QStringLiteral("1"), QStringLiteral("achat")}}));
    EXPECT_TRUE(w->etat().ModeNouveau);
    EXPECT_EQ(f.lst_nom->currentText(), QString());
    EXPECT_EQ(w->listeVins->NombreLignes(), 3) << "the list shows the new wine";
    QStringList noms;
    for (int i = 0; i < f.lst_nom->count(); ++i) {
        noms << f.lst_nom->itemText(i);
    }
    EXPECT_TRUE(noms.contains(QStringLiteral("L'Enclos")));
}

TEST_F(Sauvegarde_, ModifyingAWineRewritesItsRowAndMovementsAndAsksWhenItIsExhausted) {
    cellar_->addMovement(margaux_, std::nullopt, 1, 2);  // migrated, without date
    auto w = ouvre();
    FicheVin& f = *w->fiche;
    const auto autres = mouvementsDe(chablis_);
    w->ChargeVin(QString::number(margaux_));
    f.txt_note->setPlainText(QStringLiteral("19/20"));
    w->btn_sauver->click();
    EXPECT_EQ(vins().first().value(8), QStringLiteral("19/20"));
    EXPECT_EQ(mouvementsDe(margaux_),
              (QList<QStringList>{{QStringLiteral("02/01/2007"), QStringLiteral("-2"), QStringLiteral("3"),
                                   QStringLiteral("anniversaire")},
                                  {QStringLiteral("12/03/2006"), QStringLiteral("6"), QStringLiteral("3"),
                                   QStringLiteral("<Null>")},
                                  {QStringLiteral("<Null>"), QStringLiteral("1"), QStringLiteral("2"),
                                   QStringLiteral("<Null>")}}))
        << "a movement without date is kept";
    EXPECT_EQ(mouvementsDe(chablis_), autres);
    EXPECT_TRUE(w->etat().ModeNouveau);

    // Every bottle taken out: the save asks first; No keeps the card unsaved.
    for (const Answer reponse : {Answer::No, Answer::Yes}) {
        w->ChargeVin(QString::number(margaux_));
        f.lst_sorties->item(0, 1)->setText(QStringLiteral("6"));
        f.txt_QuantiteRestante->setText(QStringLiteral("0"));
        const auto avant = mouvements();
        test::ScriptedDialogs dlg;
        dlg.expectMessage(QStringLiteral("Ce vin n'a plus de bouteille en cave. Il n'apparaitra plus dans la "
                                         "liste des vins à moins de rechercher explicitement les vins "
                                         "épuisés. Voulez-vous continuer ?"),
                          reponse);
        w->btn_sauver->click();
        EXPECT_TRUE(dlg.done());
        if (reponse == Answer::No) {
            EXPECT_EQ(mouvements(), avant);
            EXPECT_FALSE(w->etat().ModeNouveau);
            EXPECT_TRUE(w->etat().FicheModifiee);
        } else {
            EXPECT_EQ(mouvementsDe(margaux_).value(0).value(1), QStringLiteral("-6"));
        }
    }
}

TEST_F(Sauvegarde_, DuplicatingCopiesTheCardWithItsEditsAndMovements) {
    auto w = ouvre();
    FicheVin& f = *w->fiche;
    {
        test::ScriptedDialogs dlg;
        dlg.expectMessage(QStringLiteral("Il faut sélectionner le vin à dupliquer"), Answer::Ok);
        w->btn_dupliquer->click();
    }
    const auto source = vins().first();
    const auto mouvementsSource = mouvementsDe(margaux_);
    w->ChargeVin(QString::number(margaux_));
    f.txt_millesime->setText(QStringLiteral("2006"));
    w->btn_dupliquer->click();
    const int copie = dernierVin();
    ASSERT_NE(copie, epuise_);
    EXPECT_EQ(vins().first(), source) << "the source is left untouched";
    EXPECT_EQ(mouvementsDe(margaux_), mouvementsSource);
    QStringList attendu = source;
    attendu[0] = QString::number(copie);
    attendu[2] = QStringLiteral("2006");
    EXPECT_EQ(vins().last(), attendu);
    // Rows in list order: the exit, then the entry (an empty comment is written Null).
    QStringList entree = mouvementsSource[0];
    entree[3] = QStringLiteral("<Null>");
    EXPECT_EQ(mouvementsDe(copie), (QList<QStringList>{mouvementsSource[1], entree}));
    EXPECT_TRUE(w->etat().ModeNouveau);
}

TEST_F(Sauvegarde_, DeletingOneWineOrEveryWineOfTheSelection) {
    auto w = ouvre();
    FicheVin& f = *w->fiche;
    w->btn_supprimer->click();  // a new card: nothing happens, nothing is asked
    EXPECT_EQ(vins().size(), 3);

    w->ChargeVin(QString::number(margaux_));
    for (const Answer reponse : {Answer::No, Answer::Yes}) {
        test::ScriptedDialogs dlg;
        dlg.expectMessage(
            QStringLiteral("Etes-vous sur de vouloir supprimer le vin 'Château Margaux (Margaux "
                           "2005)' ? Cette opération est irréversible"),
            reponse);
        w->btn_supprimer->click();
        EXPECT_TRUE(dlg.done());
    }
    EXPECT_EQ(vins().size(), 2);
    EXPECT_TRUE(mouvementsDe(margaux_).isEmpty());
    EXPECT_TRUE(w->etat().ModeNouveau);
    EXPECT_EQ(f.lst_nom->currentText(), QString());
    EXPECT_EQ(w->listeVins->NombreLignes(), 1);

    // Delete all asks twice and deletes what the selection's condition selects:
    // the wines in the cellar, not the exhausted one.
    for (const Answer second : {Answer::No, Answer::Yes}) {
        test::ScriptedDialogs dlg;
        dlg.expectMessage(
            QStringLiteral("Etes-vous sur de vouloir supprimer les 1 vins de la sélection courante ?"),
            Answer::Yes);
        dlg.expectMessage(
            QStringLiteral("Attention : cette opération est irréversible !! Voulez-vous vraiment "
                           "tout supprimer ?"),
            second);
        w->btn_supprimerTout->click();
        EXPECT_TRUE(dlg.done());
    }
    const auto restants = vins();
    ASSERT_EQ(restants.size(), 1);
    EXPECT_EQ(restants[0][0], QString::number(epuise_));
    EXPECT_EQ(mouvements().size(), 1);
    EXPECT_EQ(w->listeVins->NombreLignes(), 0);
    w->btn_supprimerTout->click();  // an empty list: nothing is asked
}

TEST_F(Sauvegarde_, AFailingStatementRollsTheWholeSaveBackAndKeepsTheCard) {
    const QString longue(300, QLatin1Char('x'));  // over the comment column's 255 characters
    struct Cas {
        const char* nom;
        bool nouveau;
        bool parDialogue;  // no entry typed: the bottle-count dialog adds one
    };
    for (const Cas& c : {Cas{"vin chargé", false, false}, Cas{"nouveau vin", true, false},
                         Cas{"nouveau vin par le dialogue", true, true}}) {
        auto w = ouvre();
        FicheVin& f = *w->fiche;
        if (c.nouveau) {
            remplitNouveau(f);
        } else {
            w->ChargeVin(QString::number(margaux_));
        }
        f.txt_note->setPlainText(QStringLiteral("tapé"));
        QTableWidget* g = c.parDialogue ? f.lst_sorties : f.lst_entrees;
        if (c.nouveau && !c.parDialogue) {
            ajouteLigne(g, {QStringLiteral("01/02/2020"), QStringLiteral("2"), QStringLiteral("1")});
        }
        ajouteLigne(g, {QStringLiteral("03/04/2020"), QStringLiteral("3"), QStringLiteral("1"), longue});
        const int lignesEntrees = f.lst_entrees->rowCount();
        const auto vinsAvant = vins();
        const auto mouvementsAvant = mouvements();
        const auto sixBouteilles = [](QObject* o) {
            auto* d = qobject_cast<TfrmEntreeCave*>(o);
            d->txtNbBouteilles->setValue(6);
            d->btnEntree->click();
            return d->result();
        };
        test::ScriptedDialogs dlg;
        if (c.parDialogue) {
            dlg.expectModal(QStringLiteral("frmEntreeCave"), sixBouteilles);
        }
        dlg.expectMessage(QStringLiteral("Erreur SQL : INSERT INTO [Sortie cave]"), Answer::Ok);
        w->btn_sauver->click();
        EXPECT_TRUE(dlg.done()) << c.nom;
        EXPECT_EQ(dlg.messages().size(), 1) << c.nom;
        EXPECT_EQ(vins(), vinsAvant) << c.nom;
        EXPECT_EQ(mouvements(), mouvementsAvant) << c.nom;
        EXPECT_EQ(f.txt_note->toPlainText(), QStringLiteral("tapé"));
        EXPECT_EQ(f.lst_entrees->rowCount(), lignesEntrees) << c.nom;
        if (c.parDialogue) {
            EXPECT_FALSE(f.lst_entrees->item(0, 1) && !f.lst_entrees->item(0, 1)->text().isEmpty())
                << "the dialog's entry is taken back";
        }
        EXPECT_EQ(w->etat().ModeNouveau, c.nouveau);
        EXPECT_TRUE(w->etat().FicheModifiee);
        EXPECT_EQ(FicheVin::LitCoche(f.pnl_Conditionnement),
                  c.nouveau ? QString() : QStringLiteral("Standard "));
        EXPECT_FALSE(programme().dbBase.inTransaction());

        // Mended, the same card saves; the loaded wine keeps its key.
        g->item(g->rowCount() - 1, 3)->setText(QStringLiteral("court"));
        if (c.parDialogue) {
            dlg.expectModal(QStringLiteral("frmEntreeCave"), sixBouteilles);
        }
        w->btn_sauver->click();
        EXPECT_TRUE(dlg.done()) << c.nom;
        const int cle = c.nouveau ? dernierVin() : margaux_;
        const auto ecrits = mouvementsDe(cle);
        EXPECT_TRUE(ecrits.contains(QStringList{QStringLiteral("03/04/2020"),
                                                c.parDialogue ? QStringLiteral("-3") : QStringLiteral("3"),
                                                QStringLiteral("1"), QStringLiteral("court")}))
            << c.nom;
        EXPECT_EQ(ecrits.size(), c.nouveau ? 2 : 3) << c.nom;
        if (!c.nouveau) {
            EXPECT_EQ(vins().first().value(8), QStringLiteral("tapé"));
        }
    }
}

TEST_F(Sauvegarde_, NewCardAndClosingAskToSaveAModifiedCard) {
    const QString question =
        QStringLiteral("Voulez-vous sauvegarder les modifications apportées au vin courant ?");
    struct Cas {
        bool fermeture;  // closing the window, else the "Nouveau" button
        Answer reponse;
        bool vide;   // the card is emptied (or the window closed)
        bool ecrit;  // the new wine is written
    };
    for (const Cas& c : {Cas{false, Answer::Cancel, false, false}, Cas{false, Answer::No, true, false},
                         Cas{false, Answer::Yes, true, true}, Cas{true, Answer::Cancel, false, false},
                         Cas{true, Answer::No, true, false}}) {
        const auto avant = vins();
        auto w = ouvre();
        FicheVin& f = *w->fiche;
        remplitNouveau(f);
        ajouteLigne(f.lst_entrees, {QStringLiteral("01/02/2020"), QStringLiteral("2"), QStringLiteral("1")});
        f.txt_prix->setFocus();
        test::ScriptedDialogs dlg;
        dlg.expectMessage(question, c.reponse);
        if (c.fermeture) {
            EXPECT_EQ(w->close(), c.vide);
        } else {
            w->btn_Nouveau->click();
            EXPECT_EQ(f.lst_nom->currentText().isEmpty(), c.vide) << int(c.reponse);
        }
        ASSERT_EQ(dlg.calls().size(), 1u);
        EXPECT_EQ(dlg.calls()[0].buttons, DialogService::Buttons::YesNoCancel);
        EXPECT_EQ(vins().size(), avant.size() + (c.ecrit ? 1 : 0)) << int(c.reponse);
        if (c.reponse == Answer::Cancel) {
            EXPECT_TRUE(w->isVisible());
            EXPECT_EQ(QApplication::focusWidget(), f.txt_prix) << "back on the last field";
        }
    }
}

TEST_F(Sauvegarde_, NameAndAppellationLookUpsFillTheRegionOrCreateTheAppellation) {
    auto w = ouvre();
    FicheVin& f = *w->fiche;
    f.lst_nom->setFocus();
    f.lst_nom->setEditText(QStringLiteral("château margaux"));
    f.lst_appellation->setEditText(QStringLiteral("Chablis"));
    f.txt_millesime->setFocus();
    EXPECT_EQ(f.lst_nom->currentText(), QStringLiteral("Château Margaux"));
    EXPECT_EQ(f.lst_appellation->currentText(), QStringLiteral("Margaux"));
    EXPECT_EQ(f.lst_region->currentText(), QStringLiteral("Bordeaux"));

    const auto appellation = [this](const QString& nom) {
        return test::selectRows(
            cellar_->db(),
            QStringLiteral("SELECT Region FROM Appellations WHERE Appellation = '%1'").arg(nom),
            {QStringLiteral("Region")});
    };
    struct Cas {
        Answer creer;
        int choix;  // the region chosen, from 1; -1 cancels
        const char* appellation;
        const char* region;
    };
    for (const Cas& c : {Cas{Answer::No, 0, "Cornas", ""}, Cas{Answer::Yes, -1, "", ""},
                         Cas{Answer::Yes, 5, "Cornas", "Loire"}}) {
        f.lst_region->setEditText(QStringLiteral("Bordeaux"));
        f.lst_appellation->setFocus();
        f.lst_appellation->lineEdit()->selectAll();
        QTest::keyClicks(f.lst_appellation->lineEdit(), QStringLiteral("Cornas"));
        test::ScriptedDialogs dlg;
        dlg.expectMessage(
            QStringLiteral("Cette appellation n'existe pas dans la liste. Voulez-vous la créer ?"), c.creer);
        if (c.creer == Answer::Yes) {
            dlg.expectModal(QStringLiteral("frmChoix"), [&c](QObject* o) {
                auto* choix = qobject_cast<ui::TfrmChoix*>(o);
                EXPECT_EQ(choix->lblChoix->text(), QStringLiteral("Sélectionner une région"));
                EXPECT_EQ(choix->lstChoix->currentIndex(), -1);
                EXPECT_EQ(choix->lstChoix->itemText(4), QStringLiteral("Loire"));
                if (c.choix < 0) {
                    choix->btnAnnuler->click();
                } else {
                    choix->lstChoix->setCurrentIndex(c.choix - 1);
                    choix->FlatButton1->click();
                }
                return choix->result();
            });
        }
        f.txt_millesime->setFocus();
        EXPECT_TRUE(dlg.done());
        EXPECT_EQ(f.lst_appellation->currentText(), QString::fromUtf8(c.appellation)) << c.choix;
        EXPECT_EQ(f.lst_region->currentText(), QString::fromUtf8(c.region)) << c.choix;
    }
    EXPECT_EQ(appellation(QStringLiteral("Cornas")), (QList<QStringList>{{QStringLiteral("Loire")}}));
    EXPECT_GE(f.lst_appellation->findText(QStringLiteral("Cornas")), 0) << "the list knows it";
}

TEST_F(Sauvegarde_, FieldsAreCheckedOnLeavingThemAndStepWithTheArrows) {
    auto w = ouvre();
    FicheVin& f = *w->fiche;
    const QDate today = QDate::currentDate();
    const QString quinze = QLocale().toString(QDate(today.year(), today.month(), 15), QLocale::ShortFormat);
    struct Cas {
        ui::FlatEdit* champ;
        const char* tape;
        std::vector<std::pair<int, Qt::KeyboardModifiers>> touches;
        QString attendu;  // once the field is left
        bool refuse = false;
        const char* avantSortie = nullptr;  // after the keys, before the field is left
    };
    const Qt::KeyboardModifiers ctrl = Qt::ControlModifier;
    const Qt::KeyboardModifiers rien = Qt::NoModifier;
    const Cas cas[] = {
        {f.txt_DateEntree, "15", {}, quinze},
        {f.txt_DateEntree, "31/01/2005", {{Qt::Key_Up, ctrl}}, QStringLiteral("28/02/2005")},
        {f.txt_DateSortie,
         "29/02/2004",
         {{Qt::Key_Up, ctrl | Qt::ShiftModifier}},
         QStringLiteral("28/02/2005")},
        {f.txt_DateSortie, "01/03/2004", {{Qt::Key_Down, rien}}, QStringLiteral("29/02/2004")},
        {f.txt_DateEntree, "3/4/21", {}, QStringLiteral("03/04/2021")},
        {f.txt_DateEntree, "32", {}, QString(), true},
        {f.txt_prix, "9,95", {{Qt::Key_Up, ctrl}}, QStringLiteral("10,05"), false, "10,05"},
        {f.txt_prix, "9,5", {{Qt::Key_Up, rien}}, QStringLiteral("10,50"), false, "10,5"},
        {f.txt_prix, "0,1", {{Qt::Key_Down, ctrl}}, QStringLiteral("0,10"), false, "0,1"},
        {f.txt_prix, "12.5", {}, QStringLiteral("12,50")},
        {f.txt_prix, "", {{Qt::Key_Up, rien}, {Qt::Key_Up, rien}}, QStringLiteral("2,00")},
        {f.txt_prix, "abc", {}, QString(), true},
        {f.txt_millesime, "5", {}, QStringLiteral("2005")},
        {f.txt_millesime, "2a0x", {}, QStringLiteral("2020")},
        {f.txt_millesime, "", {{Qt::Key_Down, rien}}, QStringLiteral("2000")},  // 0, then completed as a year
        {f.txt_attendre, "2012", {{Qt::Key_Down, rien}}, QStringLiteral("2011")},
        {f.txt_boireAvant, "ab", {}, QString(), true},
    };
    for (const Cas& c : cas) {
        const QString nom = c.champ->objectName() + QLatin1Char(' ') + QString::fromUtf8(c.tape);
        f.tab_vin->setCurrentIndex(c.champ == f.txt_DateEntree ? 2 : c.champ == f.txt_DateSortie ? 3 : 1);
        c.champ->setFocus();
        c.champ->clear();
        QTest::keyClicks(c.champ, QString::fromUtf8(c.tape));
        for (const auto& [touche, modificateurs] : c.touches) {
            QTest::keyClick(c.champ, static_cast<Qt::Key>(touche), modificateurs);
        }
        if (c.avantSortie) {
            EXPECT_EQ(c.champ->text(), QString::fromUtf8(c.avantSortie)) << nom.toStdString();
        }
        test::ScriptedDialogs dlg;
        if (c.refuse) {
            dlg.expectMessage(QStringLiteral("Format non valide"), Answer::Ok);
        }
        w->btnFocus->setFocus();
        EXPECT_TRUE(dlg.done()) << nom.toStdString();
        EXPECT_EQ(c.champ->text(), c.attendu) << nom.toStdString();
    }
    // An empty date field is given today's date when entered.
    f.tab_vin->setCurrentIndex(2);
    f.txt_DateEntree->clear();
    f.txt_QuantiteEntree->setFocus();
    f.txt_DateEntree->setFocus();
    EXPECT_EQ(f.txt_DateEntree->text(), aujourdhui());
}

}  // namespace
}  // namespace vinorium::card
