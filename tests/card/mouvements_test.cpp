// Entries and exits of bottles on the wine card: the stock checks and their
// messages, the lists, the remaining stock and the information labels,
// through the real window, and the rows a save leaves in the cellar.

#include "card/fichevin.h"
#include "card/frmsaisie.h"
#include "data/programme.h"
#include "support/cellarfixtures.h"
#include "support/scripteddialogs.h"
#include "support/tempfolders.h"
#include "ui/flatcontrols.h"
#include "ui/theme.h"

#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <ostream>

static void PrintTo(const QString& texte, std::ostream* os) {
    *os << '"' << texte.toStdString() << '"';
}

namespace vinorium::card {
namespace {

using Answer = DialogService::Answer;
using Lignes = QList<QStringList>;

const QStringList kColonnesMouvement{
    QStringLiteral("DateEntreeSortie"), QStringLiteral("QuantiteEntreeSortie"),
    QStringLiteral("PositionEntreeSortie"), QStringLiteral("CommentaireEntreeSortie")};

QString aujourdhui() {
    return QLocale().toString(QDate::currentDate(), QLocale::ShortFormat);
}

// The rows of a list that hold something.
Lignes lignes(const QTableWidget* g) {
    Lignes r;
    for (int i = 0; i < g->rowCount(); ++i) {
        QStringList l;
        bool rempli = false;
        for (int c = 0; c < 4; ++c) {
            l << (g->item(i, c) ? g->item(i, c)->text() : QString());
            rempli = rempli || !l.last().isEmpty();
        }
        if (rempli) {
            r << l;
        }
    }
    return r;
}

// The fields of one page.
struct Page {
    ui::FlatEdit* date;
    ui::FlatEdit* quantite;
    ui::FlatEdit* position;
    QPlainTextEdit* commentaire;
    QTableWidget* liste;
    QLabel* label;
    QAbstractButton* ajoute;
    QAbstractButton* modifie;
    QAbstractButton* supprime;
    int onglet;
};

Page entrees(FicheVin& f) {
    return {
        f.txt_DateEntree, f.txt_QuantiteEntree, f.txt_PositionEntree,  f.txt_CommentaireEntree, f.lst_entrees,
        f.lblEntree,      f.btn_EntreeCave,     f.btn_ModifEntreeCave, f.btn_SupprEntreeCave,   2};
}

Page sorties(FicheVin& f) {
    return {
        f.txt_DateSortie, f.txt_QuantiteSortie, f.txt_PositionSortie,  f.txt_CommentaireSortie, f.lst_sorties,
        f.lblSortie,      f.btn_SortieCave,     f.btn_ModifSortieCave, f.btn_SupprSortieCave,   3};
}

void saisit(const Page& p, const QString& date, const QString& quantite, const QString& position,
            const QString& commentaire = QString()) {
    p.date->setText(date);
    p.quantite->setText(quantite);
    p.position->setText(position);
    p.commentaire->setPlainText(commentaire);
}

QStringList champs(const Page& p) {
    return {p.date->text(), p.quantite->text(), p.position->text(), p.commentaire->toPlainText()};
}

// A click on a row of a page's list, the page shown.
void choisit(FicheVin& f, const Page& p, int ligne) {
    f.tab_vin->setCurrentIndex(p.onglet);
    const QRect rect = p.liste->visualRect(p.liste->model()->index(ligne, 1));
    QTest::mouseClick(p.liste->viewport(), Qt::LeftButton, {}, rect.center());
}

class Mouvements_ : public ::testing::Test {
  public:
    void SetUp() override {
        reinitialiseProgramme();
        cellar_ = std::make_unique<test::CellarFixture>(folders_.scratch(QStringLiteral("cave.mdb")));
        margaux_ = cellar_->addWine({.nom = QStringLiteral("Château Margaux"),
                                     .appellation = QStringLiteral("Margaux"),
                                     .type = QStringLiteral("Rouge")});
        // Entries (most recent first) 2@5, 5@4, 12@12, 6@3; exits 2@5, 3@4, 3@12, 2@3.
        cellar_->addMovement(margaux_, QDate(2006, 3, 12), 6, 3);
        cellar_->addMovement(margaux_, QDate(2007, 1, 2), -2, 3, QStringLiteral("anniversaire"));
        cellar_->addMovement(margaux_, QDate(2008, 1, 1), 12, 12);
        cellar_->addMovement(margaux_, QDate(2009, 1, 1), -3, 12);
        cellar_->addMovement(margaux_, QDate(2010, 1, 1), 5, 4);
        cellar_->addMovement(margaux_, QDate(2011, 1, 1), -3, 4);
        cellar_->addMovement(margaux_, QDate(2012, 1, 1), 2, 5);
        cellar_->addMovement(margaux_, QDate(2013, 1, 1), -2, 5);
        chablis_ = cellar_->addWine({.nom = QStringLiteral("Vaillons"),
                                     .appellation = QStringLiteral("Chablis"),
                                     .type = QStringLiteral("Blanc")});
        cellar_->addMovement(chablis_, QDate(2008, 5, 1), 1, 0);
        cellar_->addMovement(chablis_, std::nullopt, 1, 2);  // migrated, without date
        epuise_ = cellar_->addWine({.nom = QStringLiteral("Bu depuis longtemps"),
                                    .appellation = QStringLiteral("Sancerre"),
                                    .type = QStringLiteral("Blanc")});
        cellar_->addMovement(epuise_, QDate(2001, 5, 1), 0, 0);
        migre_ = cellar_->addWine({.nom = QStringLiteral("Migré"),
                                   .appellation = QStringLiteral("Chablis"),
                                   .type = QStringLiteral("Blanc")});
        cellar_->addMovement(migre_, std::nullopt, 4, 6, QStringLiteral("ancien"));
        programme().dbBase.open(cellar_->path());
    }
    void TearDown() override {
        programme().dbBase.close();
        reinitialiseProgramme();
    }

    std::unique_ptr<TfrmSaisie> ouvre(int cptr) {
        auto w = std::make_unique<TfrmSaisie>();
        w->show();
        w->Initialise();
        QApplication::setActiveWindow(w.get());
        EXPECT_TRUE(QTest::qWaitForWindowActive(w.get()));
        w->ChargeVin(QString::number(cptr));
        return w;
    }

    Lignes mouvementsDe(int cptr) {
        return test::selectRows(
            cellar_->db(),
            QStringLiteral("SELECT * FROM [Sortie cave] WHERE Cptr = %1 ORDER BY Clé").arg(cptr),
            kColonnesMouvement);
    }

    test::TempFolders folders_;
    std::unique_ptr<test::CellarFixture> cellar_;
    int margaux_ = 0;
    int chablis_ = 0;
    int epuise_ = 0;
    int migre_ = 0;  // its only movement has no date
};

TEST_F(Mouvements_, LoadingSplitsExitsAndEntriesAndLeavesThePlaceholderOut) {
    auto w = ouvre(margaux_);
    FicheVin& f = *w->fiche;
    EXPECT_EQ(lignes(f.lst_entrees),
              (Lignes{{QStringLiteral("01/01/2012"), QStringLiteral("2"), QStringLiteral("5"), QString()},
                      {QStringLiteral("01/01/2010"), QStringLiteral("5"), QStringLiteral("4"), QString()},
                      {QStringLiteral("01/01/2008"), QStringLiteral("12"), QStringLiteral("12"), QString()},
                      {QStringLiteral("12/03/2006"), QStringLiteral("6"), QStringLiteral("3"), QString()}}));
    EXPECT_EQ(lignes(f.lst_sorties).value(3),
              (QStringList{QStringLiteral("02/01/2007"), QStringLiteral("2"), QStringLiteral("3"),
                           QStringLiteral("anniversaire")}));
    EXPECT_EQ(w->CalculeQuantiteRestante(QString(), -1, QString()), 15);
    EXPECT_EQ(w->CalculeQuantiteRestante(QStringLiteral("12"), -1, QString()), 9);
    EXPECT_EQ(w->CalculeQuantiteRestante(QStringLiteral("12"), 2, QStringLiteral("entree")), -3);
    EXPECT_EQ(w->CalculeQuantiteRestante(QStringLiteral("12"), 2, QStringLiteral("sortie")), 12);
    EXPECT_EQ(w->CalculeQuantiteEntreeSortie(f.lst_sorties, QString()), 10);

    w->ChargeVin(QString::number(epuise_));
    EXPECT_EQ(f.lst_entrees->rowCount(), 1) << "an empty list shows one blank row";
    EXPECT_EQ(lignes(f.lst_entrees), Lignes{}) << "the placeholder of 0 is not listed";
    EXPECT_EQ(lignes(f.lst_sorties), Lignes{});
}

TEST_F(Mouvements_, RefusedExitsShowTheirMessageAndChangeNothing) {
    struct Cas {
        int vin;
        QString date, quantite, position, message;
    };
    const QString d = QStringLiteral("02/02/2020");
    const std::vector<Cas> cas{
        {margaux_, QString(), QStringLiteral("1"), QStringLiteral("3"), QStringLiteral("Saisir une date")},
        {margaux_, d, QString(), QStringLiteral("3"), QStringLiteral("Saisir une quantité non nulle")},
        {margaux_, d, QStringLiteral("0"), QStringLiteral("3"),
         QStringLiteral("Saisir une quantité non nulle")},
        {margaux_, d, QStringLiteral("1"), QString(), QStringLiteral("Saisir une position")},
        {margaux_, d, QStringLiteral("3"), QStringLiteral("4"),
         QStringLiteral("Il ne reste que 2 bouteille(s) à l'emplacement 4")},
        {margaux_, d, QStringLiteral("1"), QStringLiteral("5"),
         QStringLiteral("Il ne reste plus de bouteilles à l'emplacement 5")},
        {margaux_, d, QStringLiteral("1"), QStringLiteral("9"),
         QStringLiteral("Il n'y a pas de bouteilles à l'emplacement 9")},
        {margaux_, d, QStringLiteral("1"), QStringLiteral("03"),
         QStringLiteral("Il n'y a pas de bouteilles à l'emplacement 03")},
        {epuise_, d, QStringLiteral("1"), QStringLiteral("0"),
         QStringLiteral("Entrer des bouteilles en cave avant de saisir des sorties de cave")},
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.message.toStdString());
        auto w = ouvre(c.vin);
        FicheVin& f = *w->fiche;
        const Page p = sorties(f);
        const Lignes avant = lignes(f.lst_sorties);
        const QString reste = f.txt_QuantiteRestante->text();
        saisit(p, c.date, c.quantite, c.position, QStringLiteral("dîner"));
        const QStringList saisie = champs(p);
        test::ScriptedDialogs dlg;
        dlg.expectMessage(c.message, Answer::Ok);
        p.ajoute->click();
        EXPECT_TRUE(dlg.done());
        EXPECT_EQ(dlg.messages(), QStringList{c.message});
        EXPECT_EQ(lignes(f.lst_sorties), avant);
        EXPECT_EQ(champs(p), saisie);
        EXPECT_EQ(f.txt_QuantiteRestante->text(), reste);
    }
}

TEST_F(Mouvements_, AddingMovementsListsThemAndFollowsTheRemainingStock) {
    auto w = ouvre(chablis_);
    FicheVin& f = *w->fiche;
    const Page e = entrees(f);
    const Page s = sorties(f);
    test::ScriptedDialogs dlg;
    f.tab_vin->setCurrentIndex(2);
    // Enter in the comment adds the entry; an empty position is listed as 0.
    saisit(e, QStringLiteral("03/04/2020"), QStringLiteral("3"), QString(), QStringLiteral("cadeau"));
    e.commentaire->setFocus();
    QTest::keyClick(e.commentaire, Qt::Key_Return);
    EXPECT_EQ(lignes(f.lst_entrees).value(2), (QStringList{QStringLiteral("03/04/2020"), QStringLiteral("3"),
                                                           QStringLiteral("0"), QStringLiteral("cadeau")}));
    EXPECT_EQ(champs(e), (QStringList{QString(), QString(), QString(), QString()}));
    EXPECT_EQ(f.txt_QuantiteRestante->text(), QStringLiteral("5"));
    EXPECT_TRUE(w->etat().FicheModifiee);

    // "07" and "7" are different positions.
    saisit(e, QStringLiteral("04/04/2020"), QStringLiteral("2"), QStringLiteral("07"));
    e.ajoute->click();
    f.tab_vin->setCurrentIndex(3);
    saisit(s, QStringLiteral("05/04/2020"), QStringLiteral("1"), QStringLiteral("7"));
    dlg.expectMessage(QStringLiteral("Il n'y a pas de bouteilles à l'emplacement 7"), Answer::Ok);
    s.ajoute->click();
    EXPECT_TRUE(dlg.done());
    saisit(s, QStringLiteral("05/04/2020"), QStringLiteral("2"), QStringLiteral("07"));
    s.commentaire->setFocus();
    QTest::keyClick(s.commentaire, Qt::Key_Enter);
    EXPECT_EQ(lignes(f.lst_sorties),
              (Lignes{{QStringLiteral("05/04/2020"), QStringLiteral("2"), QStringLiteral("07"), QString()}}))
        << "the first exit takes the blank row";
    EXPECT_EQ(f.txt_QuantiteRestante->text(), QStringLiteral("5"));
    EXPECT_EQ(dlg.messages(), QStringList{QStringLiteral("Il n'y a pas de bouteilles à l'emplacement 7")});
}

TEST_F(Mouvements_, AnExitTypedFromTheKeyboard) {
    auto w = ouvre(chablis_);
    FicheVin& f = *w->fiche;
    f.tab_vin->setCurrentIndex(3);
    f.txt_DateSortie->clear();
    f.txt_DateSortie->setFocus();
    EXPECT_EQ(f.txt_DateSortie->text(), aujourdhui()) << "an empty date field takes today's date";
    f.txt_QuantiteSortie->setFocus();
    QTest::keyClicks(f.txt_QuantiteSortie, QStringLiteral("1x"));
    EXPECT_EQ(f.txt_QuantiteSortie->text(), QStringLiteral("1")) << "digits only";
    f.txt_PositionSortie->setText(QStringLiteral(" 0 "));
    f.txt_PositionSortie->setFocus();
    f.txt_CommentaireSortie->setFocus();
    EXPECT_EQ(f.txt_PositionSortie->text(), QStringLiteral("0")) << "trimmed on leaving";
    QTest::keyClicks(f.txt_CommentaireSortie, QStringLiteral("aperitif"));
    test::ScriptedDialogs dlg;  // nothing may be asked
    QTest::keyClick(f.txt_CommentaireSortie, Qt::Key_Return);
    EXPECT_EQ(lignes(f.lst_sorties),
              (Lignes{{aujourdhui(), QStringLiteral("1"), QStringLiteral("0"), QStringLiteral("aperitif")}}));
    EXPECT_EQ(f.txt_QuantiteRestante->text(), QStringLiteral("1"));
    EXPECT_EQ(QApplication::focusWidget(), f.txt_QuantiteSortie) << "ready for the next exit";
}

TEST_F(Mouvements_, ChoosingARowFillsTheFieldsAndTheInformationLabel) {
    auto w = ouvre(margaux_);
    FicheVin& f = *w->fiche;
    choisit(f, entrees(f), 2);
    EXPECT_EQ(champs(entrees(f)), (QStringList{QStringLiteral("01/01/2008"), QStringLiteral("12"),
                                               QStringLiteral("12"), QString()}));
    EXPECT_EQ(f.lblEntree->text(), QStringLiteral("Position 12 : 3 bouteilles sortie(s), 9 restante(s)"));
    choisit(f, sorties(f), 3);
    EXPECT_EQ(champs(sorties(f)), (QStringList{QStringLiteral("02/01/2007"), QStringLiteral("2"),
                                               QStringLiteral("3"), QStringLiteral("anniversaire")}));
    EXPECT_EQ(f.lblSortie->text(), QStringLiteral("Position 3 : 6 bouteilles entrée(s), 4 restante(s)"));

    // A modification needs a non-empty row.
    w->ChargeVin(QString::number(epuise_));
    saisit(entrees(f), QStringLiteral("01/01/2020"), QStringLiteral("1"), QStringLiteral("1"));
    test::ScriptedDialogs dlg;
    dlg.expectMessage(QStringLiteral("Sélectionner une ligne non vide dans la liste"), Answer::Ok);
    f.btn_ModifEntreeCave->click();
    EXPECT_TRUE(dlg.done());
    EXPECT_EQ(lignes(f.lst_entrees), Lignes{});
}

TEST_F(Mouvements_, ListsPaintTheSelectedRowAndTheirHintFollowsThePointer) {
    auto w = ouvre(margaux_);
    FicheVin& f = *w->fiche;
    choisit(f, sorties(f), 3);
    QTableWidget* g = f.lst_sorties;
    QCoreApplication::processEvents();
    const QImage image = g->viewport()->grab().toImage();
    const QRect choisie = g->visualRect(g->model()->index(3, 3));
    const QRect autre = g->visualRect(g->model()->index(0, 3));
    EXPECT_EQ(image.pixelColor(choisie.right() - 2, choisie.bottom() - 1), ui::kCouleurSurbrillance);
    EXPECT_EQ(image.pixelColor(autre.right() - 2, autre.bottom() - 1), QColor(Qt::white));

    EXPECT_EQ(g->toolTip(), QStringLiteral("Liste des sorties de cave"));
    QTest::mouseMove(g->viewport(), choisie.center());
    EXPECT_EQ(g->toolTip(), QStringLiteral("anniversaire|Liste des sorties de cave"));
    QTest::mouseMove(g->viewport(), QPoint(5, g->rowViewportPosition(3) + 16 * 3));
    EXPECT_EQ(g->toolTip(), QStringLiteral("|Liste des sorties de cave")) << "outside the rows";
}

TEST_F(Mouvements_, DeletingAnEntryWaitsForItsExitsToGoFirst) {
    auto w = ouvre(margaux_);
    FicheVin& f = *w->fiche;
    const Lignes avant = lignes(f.lst_entrees);
    {
        test::ScriptedDialogs dlg;
        choisit(f, entrees(f), 3);  // 6 at position 3, 2 of them gone out
        dlg.expectMessage(QStringLiteral("La quantité restante à l'emplacement 3 n'est pas suffisante pour "
                                         "effectuer cette opération"),
                          Answer::Ok);
        f.btn_SupprEntreeCave->click();
        EXPECT_TRUE(dlg.done());
        EXPECT_EQ(lignes(f.lst_entrees), avant);
    }
    test::ScriptedDialogs dlg;  // nothing more is asked
    choisit(f, sorties(f), 3);
    QTest::keyClick(f.lst_sorties, Qt::Key_Delete);
    EXPECT_EQ(lignes(f.lst_sorties).size(), 3);
    EXPECT_EQ(f.txt_QuantiteRestante->text(), QStringLiteral("17"));
    choisit(f, entrees(f), 3);
    f.btn_SupprEntreeCave->click();
    EXPECT_EQ(lignes(f.lst_entrees), avant.mid(0, 3));
    EXPECT_EQ(f.txt_QuantiteRestante->text(), QStringLiteral("11"));
    EXPECT_TRUE(w->etat().FicheModifiee);

    w->btn_sauver->click();
    const Lignes stockes = mouvementsDe(margaux_);
    EXPECT_EQ(stockes.size(), 6);
    EXPECT_FALSE(stockes.contains(QStringList{QStringLiteral("12/03/2006"), QStringLiteral("6"),
                                              QStringLiteral("3"), QStringLiteral("<Null>")}));
    EXPECT_EQ(stockes.first(), (QStringList{QStringLiteral("01/01/2013"), QStringLiteral("-2"),
                                            QStringLiteral("5"), QStringLiteral("<Null>")}))
        << "exits first, negated";
}

TEST_F(Mouvements_, MovingAnEntryAsksToMoveTheExitsOfItsPosition) {
    for (const Answer reponse : {Answer::No, Answer::Yes}) {
        auto w = ouvre(margaux_);
        FicheVin& f = *w->fiche;
        const Lignes avant = lignes(f.lst_sorties);
        choisit(f, entrees(f), 1);  // 5 at position 4, 3 gone out
        f.txt_PositionEntree->setText(QStringLiteral("9"));
        test::ScriptedDialogs dlg;
        dlg.expectMessage(
            QStringLiteral("Voulez-vous déplacer toutes les entrées / sorties de l'emplacement 4 "
                           "vers l'emplacement 9 ?"),
            reponse);
        if (reponse == Answer::No) {
            dlg.expectMessage(QStringLiteral("Il ne reste pas assez de bouteilles à l'emplacement 4 pour "
                                             "effectuer cette opération"),
                              Answer::Ok);
        }
        f.btn_ModifEntreeCave->click();
        EXPECT_TRUE(dlg.done());
        if (reponse == Answer::No) {
            EXPECT_EQ(lignes(f.lst_entrees).value(1).value(2), QStringLiteral("4"));
            EXPECT_EQ(lignes(f.lst_sorties), avant);
            continue;
        }
        EXPECT_EQ(lignes(f.lst_entrees).value(1).value(2), QStringLiteral("9"));
        EXPECT_EQ(lignes(f.lst_sorties).value(1).value(2), QStringLiteral("9"));
        EXPECT_EQ(w->CalculeQuantiteRestante(QStringLiteral("9"), -1, QString()), 2);
        EXPECT_EQ(w->CalculeQuantiteRestante(QStringLiteral("4"), -1, QString()), 0);
        w->btn_sauver->click();
        EXPECT_TRUE(
            mouvementsDe(margaux_).contains(QStringList{QStringLiteral("01/01/2011"), QStringLiteral("-3"),
                                                        QStringLiteral("9"), QStringLiteral("<Null>")}));
    }
}

TEST_F(Mouvements_, ModificationsNeverLeaveAPositionNegative) {
    struct Cas {
        bool entree;
        int ligne;
        QString quantite, position, message;
    };
    const std::vector<Cas> cas{
        {true, 2, QStringLiteral("2"), QStringLiteral("12"),
         QStringLiteral(
             "Il ne reste pas assez de bouteilles à l'emplacement 12 pour effectuer cette opération")},
        {true, 2, QStringLiteral("3"), QStringLiteral("12"), QString()},
        {false, 1, QStringLiteral("6"), QStringLiteral("4"),
         QStringLiteral("Il reste 5 bouteilles à l'emplacement 4 ce qui n'est pas suffisant pour effectuer "
                        "cette opération")},
        {false, 1, QStringLiteral("5"), QStringLiteral("4"), QString()},
        // Moved to a position where nothing remains: checked where the exit goes.
        {false, 1, QStringLiteral("1"), QStringLiteral("5"),
         QStringLiteral("Il reste 0 bouteilles à l'emplacement 5 ce qui n'est pas suffisant pour effectuer "
                        "cette opération")},
        {false, 1, QStringLiteral("4"), QStringLiteral("12"), QString()},
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE((c.quantite + QLatin1Char('@') + c.position).toStdString());
        auto w = ouvre(margaux_);
        FicheVin& f = *w->fiche;
        const Page p = c.entree ? entrees(f) : sorties(f);
        const Lignes avant = lignes(p.liste);
        choisit(f, p, c.ligne);
        p.quantite->setText(c.quantite);
        p.position->setText(c.position);
        p.commentaire->setPlainText(QStringLiteral("revu"));
        test::ScriptedDialogs dlg;
        if (!c.message.isEmpty()) {
            dlg.expectMessage(c.message, Answer::Ok);
        }
        p.modifie->click();
        EXPECT_TRUE(dlg.done());
        EXPECT_EQ(dlg.messages().size(), c.message.isEmpty() ? 0 : 1);
        Lignes attendu = avant;
        if (c.message.isEmpty()) {
            attendu[c.ligne] = {avant[c.ligne][0], c.quantite, c.position, QStringLiteral("revu")};
        }
        EXPECT_EQ(lignes(p.liste), attendu);
        if (c.message.isEmpty()) {
            EXPECT_TRUE(w->etat().FicheModifiee);
        }
        for (const QString& pos :
             {QStringLiteral("3"), QStringLiteral("4"), QStringLiteral("5"), QStringLiteral("12")}) {
            EXPECT_GE(w->CalculeQuantiteRestante(pos, -1, QString()), 0) << pos.toStdString();
        }
        EXPECT_EQ(f.txt_QuantiteRestante->text(),
                  QString::number(w->CalculeQuantiteRestante(QString(), -1, QString())));
    }
}

TEST_F(Mouvements_, ASaveWritesTheListsAndKeepsAMovementWithoutDate) {
    auto w = ouvre(chablis_);
    FicheVin& f = *w->fiche;
    saisit(entrees(f), QStringLiteral("03/04/2020"), QStringLiteral("4"), QStringLiteral("1"));
    f.btn_EntreeCave->click();
    saisit(sorties(f), QStringLiteral("05/04/2020"), QStringLiteral("3"), QStringLiteral("1"),
           QStringLiteral("fête"));
    f.btn_SortieCave->click();
    EXPECT_EQ(f.txt_QuantiteRestante->text(), QStringLiteral("3"));
    w->btn_sauver->click();
    EXPECT_EQ(
        mouvementsDe(chablis_),
        (Lignes{
            {QStringLiteral("05/04/2020"), QStringLiteral("-3"), QStringLiteral("1"), QStringLiteral("fête")},
            {QStringLiteral("01/05/2008"), QStringLiteral("1"), QStringLiteral("0"),
             QStringLiteral("<Null>")},
            {QStringLiteral("<Null>"), QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("<Null>")},
            {QStringLiteral("03/04/2020"), QStringLiteral("4"), QStringLiteral("1"),
             QStringLiteral("<Null>")}}));

    // A list holding only a movement without date is not empty: an addition
    // goes after it instead of over it, and the save keeps both.
    w->ChargeVin(QString::number(migre_));
    saisit(entrees(f), QStringLiteral("06/06/2021"), QStringLiteral("1"), QStringLiteral("6"));
    f.btn_EntreeCave->click();
    EXPECT_EQ(f.txt_QuantiteRestante->text(), QStringLiteral("5"));
    w->btn_sauver->click();
    EXPECT_EQ(mouvementsDe(migre_), (Lignes{{QStringLiteral("<Null>"), QStringLiteral("4"),
                                             QStringLiteral("6"), QStringLiteral("ancien")},
                                            {QStringLiteral("06/06/2021"), QStringLiteral("1"),
                                             QStringLiteral("6"), QStringLiteral("<Null>")}}));

    // The placeholder of 0 is dropped once the wine has an entry.
    w->ChargeVin(QString::number(epuise_));
    saisit(entrees(f), aujourdhui(), QStringLiteral("2"), QStringLiteral("3"));
    f.btn_EntreeCave->click();
    w->btn_sauver->click();
    EXPECT_EQ(mouvementsDe(epuise_),
              (Lignes{{aujourdhui(), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("<Null>")}}));
}

}  // namespace
}  // namespace vinorium::card
