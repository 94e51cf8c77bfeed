#include "startup/demarrage.h"

#include "card/frmsaisie.h"
#include "data/defaultcellar.h"
#include "data/paths.h"
#include "data/programme.h"
#include "data/settingsstore.h"
#include "startup/frminfos.h"
#include "startup/frmsplash.h"
#include "support/grab.h"
#include "support/scripteddialogs.h"
#include "support/tempfolders.h"
#include "ui/flatcontrols.h"
#include "ui/frmchoix.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace vinorium::startup {
namespace {

using Answer = DialogService::Answer;

class Demarrage_ : public ::testing::Test {
  public:
    void SetUp() override { reinitialiseProgramme(); }
    void TearDown() override { reinitialiseProgramme(); }

    // Registers an alias; with a layout, also creates its cellar file.
    QString ajouteAlias(const QString& alias, int layout = 30) {
        const QString path = paths::dataDir() + QLatin1Char('/') + alias + QStringLiteral(".MDB");
        if (layout > 0) {
            data::createDefaultCellar(path);
            if (layout != 30) {
                data::Database db;
                db.open(path);
                db.execute(QStringLiteral("UPDATE Version SET Version = %1").arg(layout));
            }
        }
        enregistre(alias, path);
        return path;
    }
    static void enregistre(const QString& alias, const QString& path) {
        SettingsStore store(SettingsRoot::LocalMachine);
        ASSERT_TRUE(store.openKey(SettingsStore::aliasesKey() + alias, true));
        if (!path.isNull()) {
            ASSERT_TRUE(store.writeString(QStringLiteral("Path"), path));
        }
    }
    static void parametres(const QString& choixBase, const QString& lastBase) {
        SettingsStore store(SettingsRoot::CurrentUser);
        ASSERT_TRUE(store.openKey(SettingsStore::userKey(), true));
        store.writeString(QStringLiteral("ChoixBase"), choixBase);
        store.writeString(QStringLiteral("LastBase"), lastBase);
    }
    static QString lastBase() {
        SettingsStore store(SettingsRoot::CurrentUser);
        return store.openKeyReadOnly(SettingsStore::userKey()) ? store.readString(QStringLiteral("LastBase"))
                                                               : QStringLiteral("<aucune clé>");
    }

    test::TempFolders folders_;
};

TEST_F(Demarrage_, WithoutChoiceOpensLastBaseElseVinorium) {
    struct Case {
        const char* choixBase;
        const char* lastBase;
        const char* opened;
    };
    for (const Case& c : {Case{"-1", "", "Vinorium"}, Case{"0", "Autre", "Autre"}, Case{"0", "", "Vinorium"},
                          Case{"0", "Disparue", "Vinorium"}}) {
        test::TempFolders folders;
        reinitialiseProgramme();
        ajouteAlias(QStringLiteral("Vinorium"));
        if (QString::fromUtf8(c.choixBase) == QLatin1String("0")) {
            ajouteAlias(QStringLiteral("Autre"));
        }
        parametres(QString::fromUtf8(c.choixBase), QString::fromUtf8(c.lastBase));
        test::ScriptedDialogs dlg;  // no dialog at all
        auto window = Demarrage().OuvreBase();
        ASSERT_TRUE(window) << c.lastBase;
        EXPECT_EQ(programme().AliasCourant, QString::fromUtf8(c.opened));
        EXPECT_EQ(programme().DerniereBase, QString::fromUtf8(c.opened));
        EXPECT_TRUE(programme().dbBase.isOpen());
        EXPECT_EQ(lastBase(), QString::fromUtf8(c.lastBase)) << "nothing is written before the window closes";
        window.reset();
        programme().dbBase.close();
    }
}

// Drives the choice dialog: checks its list, then picks an item (or none) and clicks a button.
test::ScriptedDialogs::ModalDriver choix(int item, bool ok, QStringList* items, int* preselected) {
    return [=](QObject* window) {
        auto* frm = qobject_cast<ui::TfrmChoix*>(window);
        EXPECT_EQ(frm->lblChoix->text(), QStringLiteral("Sélectionner une base de vins"));
        for (int i = 0; i < frm->lstChoix->count(); ++i) {
            *items << frm->lstChoix->itemText(i);
        }
        *preselected = frm->lstChoix->currentIndex();
        frm->lstChoix->setCurrentIndex(item);
        QTest::mouseClick(ok ? frm->FlatButton1 : frm->btnAnnuler, Qt::LeftButton);
        return frm->result();
    };
}

TEST_F(Demarrage_, ChoiceDialogListsAliasesWithTheDefaultOneMarked) {
    ajouteAlias(QStringLiteral("Vinorium"));
    ajouteAlias(QStringLiteral("autre cave"));
    ajouteAlias(QStringLiteral("Bordeaux"));
    parametres(QStringLiteral("-1"), QStringLiteral("autre cave"));
    QStringList items;
    int preselected = -2;
    test::ScriptedDialogs dlg;
    dlg.expectModal(QStringLiteral("frmChoix"), choix(2, true, &items, &preselected));
    auto window = Demarrage().OuvreBase();
    ASSERT_TRUE(window);
    EXPECT_EQ(items, (QStringList{QStringLiteral("autre cave"), QStringLiteral("Bordeaux"),
                                  QStringLiteral("Vinorium (base par défaut)")}));
    EXPECT_EQ(preselected, 0);
    EXPECT_EQ(programme().AliasCourant, QStringLiteral("Vinorium"));
}

TEST_F(Demarrage_, CancelInTheChoiceDialogOpensVinorium) {
    ajouteAlias(QStringLiteral("Vinorium"));
    ajouteAlias(QStringLiteral("Autre"));
    QStringList items;
    int preselected = -2;
    test::ScriptedDialogs dlg;
    dlg.expectModal(QStringLiteral("frmChoix"), choix(0, false, &items, &preselected));
    auto window = Demarrage().OuvreBase();
    ASSERT_TRUE(window);
    EXPECT_EQ(preselected, -1);
    EXPECT_EQ(programme().AliasCourant, QStringLiteral("Vinorium"));
}

TEST(TfrmChoix, OkWithoutChoiceStaysOpenAndKeysActAsButtons) {
    ui::TfrmChoix frm;
    frm.lstChoix->addItems({QStringLiteral("Alsace"), QStringLiteral("Bordeaux")});
    frm.lstChoix->setCurrentIndex(-1);
    frm.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frm));
    QTest::mouseClick(frm.FlatButton1, Qt::LeftButton);
    EXPECT_TRUE(frm.isVisible());
    EXPECT_EQ(frm.result(), 0);

    frm.lstChoix->setCurrentIndex(1);
    QTest::keyClick(&frm, Qt::Key_Return);
    EXPECT_FALSE(frm.isVisible());
    EXPECT_EQ(frm.result(), 2);

    frm.show();
    QTest::keyClick(&frm, Qt::Key_Escape);
    EXPECT_FALSE(frm.isVisible());
    EXPECT_EQ(frm.result(), -1);
    test::grabToPng(&frm, QStringLiteral("frmChoix"));
}

TEST_F(Demarrage_, FailuresShowTheirMessageAndEnd) {
    struct Case {
        const char* name;
        std::function<void(Demarrage_*)> prepare;
        const char* message;
    };
    const Case cases[] = {
        {"no path anywhere", [](Demarrage_*) { enregistre(QStringLiteral("Vinorium"), QString()); },
         "Impossible de trouver le chemin de la base de données. Essayez de réinstaller Vinorium"},
        {"no alias registry", [](Demarrage_*) {},
         "Impossible de trouver le chemin de la base de données. Essayez de réinstaller Vinorium"},
        {"missing file",
         [](Demarrage_* t) {
             enregistre(QStringLiteral("Vinorium"), t->folders_.scratch(QStringLiteral("absent.mdb")));
         },
         "Impossible de se connecter à la base de données \r\nLe fichier '"},
        {"layout 20", [](Demarrage_* t) { t->ajouteAlias(QStringLiteral("Vinorium"), 20); },
         "La base de données 'Vinorium' (fichier '"},
    };
    for (const Case& c : cases) {
        test::TempFolders folders;
        reinitialiseProgramme();
        c.prepare(this);
        test::ScriptedDialogs dlg;
        dlg.expectMessage(QString::fromUtf8(c.message), Answer::Ok);
        EXPECT_FALSE(Demarrage().OuvreBase()) << c.name;
        EXPECT_FALSE(programme().dbBase.isOpen()) << c.name;
        ASSERT_EQ(dlg.messages().size(), 1) << c.name;
        if (QString::fromUtf8(c.name) == QLatin1String("layout 20")) {
            EXPECT_TRUE(dlg.messages()[0].endsWith(QStringLiteral(
                ".MDB') n'est pas dans la bonne version. Essayez d'utiliser 'Migrevin' pour mettre à "
                "jour votre base")));
        }
        if (QString::fromUtf8(c.name) == QLatin1String("missing file")) {
            EXPECT_TRUE(dlg.messages()[0].endsWith(QStringLiteral("absent.mdb' est introuvable")));
        }
    }
}

TEST_F(Demarrage_, RefusedConnectionRetriesOnVinoriumWhenAsked) {
    ajouteAlias(QStringLiteral("Vinorium"));
    const QString broken = ajouteAlias(QStringLiteral("Cassée"), 0);
    {
        QFile f(broken);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("ceci n'est pas une cave");
    }
    parametres(QStringLiteral("0"), QStringLiteral("Cassée"));
    {
        test::ScriptedDialogs dlg;
        dlg.expectMessage(QStringLiteral("Impossible de se connecter à la base de données 'Cassée'.\n"),
                          Answer::Ok)
            .expectMessage(
                QStringLiteral("Voulez-vous essayer de vous connecter à la base par défaut 'Vinorium' ?"),
                Answer::Ok);
        auto window = Demarrage().OuvreBase();
        ASSERT_TRUE(window);
        EXPECT_EQ(programme().AliasCourant, QStringLiteral("Vinorium"));
        window->close();
    }
    EXPECT_EQ(lastBase(), QStringLiteral("Vinorium"));

    reinitialiseProgramme();
    parametres(QStringLiteral("0"), QStringLiteral("Cassée"));
    test::ScriptedDialogs dlg;
    dlg.expectMessage(QStringLiteral("'Cassée'"), Answer::Ok)
        .expectMessage(QStringLiteral("Voulez-vous essayer"), Answer::Cancel);
    EXPECT_FALSE(Demarrage().OuvreBase());
    EXPECT_FALSE(programme().dbBase.isOpen());
}

TEST(TfrmSplash, ClosesAfterItsTimerOrOnAClickAtStartUpOnlyOnAClickLater) {
    TfrmSplash demarrage(0);
    demarrage.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&demarrage));
    EXPECT_FALSE(demarrage.FormCloseQuery());
    EXPECT_TRUE(demarrage.tmrSplash->isActive());
    EXPECT_EQ(demarrage.tmrSplash->interval(), 4000);
    EXPECT_EQ(demarrage.lblVersion->text(), QStringLiteral("3.0"));
    demarrage.close();
    EXPECT_TRUE(demarrage.isVisible()) << "the splash may not close before its time";
    demarrage.tmrSplashTimer();
    EXPECT_TRUE(demarrage.FormCloseQuery());
    test::grabToPng(&demarrage, QStringLiteral("frmSplash"));

    TfrmSplash accueil(1);
    accueil.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&accueil));
    EXPECT_FALSE(accueil.tmrSplash->isActive());
    QTest::keyClick(&accueil, Qt::Key_Escape);
    EXPECT_TRUE(accueil.isVisible());
    QTest::mouseClick(accueil.Image1, Qt::LeftButton);
    EXPECT_FALSE(accueil.isVisible());
}

TEST_F(Demarrage_, InformationWindowShowsLayoutVersionAndPath) {
    const QString path = ajouteAlias(QStringLiteral("Vinorium"));
    programme().AliasCourant = QStringLiteral("Vinorium");
    programme().VersionBase = 30;
    {
        TfrmInfos infos;
        EXPECT_EQ(infos.txtVersionBase->text(), QStringLiteral("30"));
        EXPECT_EQ(infos.txtVersionProgramme->text(), QStringLiteral("3.0"));
        EXPECT_EQ(infos.txtRepInstall->text(), path);
        EXPECT_TRUE(infos.txtRepInstall->isReadOnly());
        test::grabToPng(&infos, QStringLiteral("frmInfos"));
    }
    SettingsStore(SettingsRoot::LocalMachine)
        .deleteKey(SettingsStore::aliasesKey() + QStringLiteral("Vinorium"));
    TfrmInfos infos;
    EXPECT_EQ(infos.txtRepInstall->text(), QStringLiteral("?"));
}

}  // namespace
}  // namespace vinorium::startup

namespace vinorium::startup {
namespace {

QWidget* fenetre(const char* nom) {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->objectName() == QLatin1String(nom) && w->isVisible()) {
            return w;
        }
    }
    return nullptr;
}

TEST(Execute, FirstStartInstallsTheDefaultCellarShowsTheSplashThenTheMainWindow) {
    test::TempFolders folders;
    reinitialiseProgramme();
    test::ScriptedDialogs dlg;  // a first start asks nothing
    QString titre;
    bool splashVu = false;
    QTimer regarde;
    QObject::connect(&regarde, &QTimer::timeout, [&] {
        if (auto* splash = qobject_cast<TfrmSplash*>(fenetre("frmSplash"))) {
            splashVu = true;
            QTest::mouseClick(splash->Image1, Qt::LeftButton);  // no need to wait four seconds
        } else if (QWidget* principale = fenetre("frmSaisie")) {
            titre = principale->windowTitle();
            principale->close();
        }
    });
    regarde.start(20);
    EXPECT_EQ(Execute(), 0);
    EXPECT_TRUE(splashVu);
    EXPECT_EQ(titre,
              QStringLiteral("Vinorium / Tous les vins sélectionnés / Nouvelle saisie (recherche ou vin)"));
    EXPECT_TRUE(QFile::exists(folders.data() + QStringLiteral("/VINORIUM.MDB")));
    EXPECT_TRUE(QDir(folders.data() + QStringLiteral("/Images")).exists());
    EXPECT_EQ(data::Database::aliasPath(QStringLiteral("Vinorium")),
              folders.data() + QStringLiteral("/VINORIUM.MDB"));
    SettingsStore store(SettingsRoot::CurrentUser);
    ASSERT_TRUE(store.openKeyReadOnly(SettingsStore::userKey()));
    EXPECT_EQ(store.readString(QStringLiteral("LastBase")), QStringLiteral("Vinorium"));
    EXPECT_EQ(store.readString(QStringLiteral("ChoixBase")), QStringLiteral("-1"));
    EXPECT_FALSE(programme().dbBase.isOpen());
}

}  // namespace
}  // namespace vinorium::startup
