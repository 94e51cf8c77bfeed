// The upgrade window: its start with and without a command line, its log
// shown line by line while the run goes, its buttons.

#include "upgrade/frmmigrevin.h"

#include "data/settingsstore.h"
#include "support/cellarfixtures.h"
#include "support/grab.h"
#include "support/scripteddialogs.h"
#include "support/tempfolders.h"
#include "ui/accessibility.h"
#include "upgradetest.h"

#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTreeView>

#include <gtest/gtest.h>

namespace vinorium::test {
namespace {

using upgrade::TfrmMigrevin;
using Answer = DialogService::Answer;

QString u(const char* utf8) {
    return QString::fromUtf8(utf8);
}

QStringList lignes(const QListWidget* liste) {
    QStringList out;
    for (int i = 0; i < liste->count(); ++i) {
        out << liste->item(i)->text();
    }
    return out;
}

TEST(FenetreMigrevin, CommandLineRunShowsEachLineAsItComes) {
    TempFolders folders;
    const QString dossier = QFileInfo(folders.scratch("cave")).absoluteFilePath();
    QDir().mkpath(dossier);
    CellarFixture(dossier + "/VINORIUM.MDB", 20).close();

    TfrmMigrevin fenetre;
    auto* lstExplic = fenetre.findChild<QListWidget*>("lstExplic");
    auto* cmdMAJ = fenetre.findChild<QPushButton*>("cmdMAJ");
    auto* cmdFermer = fenetre.findChild<QPushButton*>("cmdFermer");
    auto* lblInfo = fenetre.findChild<QLabel*>("lblInfo");
    ASSERT_TRUE(lstExplic && cmdMAJ && cmdFermer && lblInfo);
    EXPECT_EQ(ui::unnamedControls(&fenetre), QStringList());
    int vus = 0;
    fenetre.pilote().setAvantInstruction([&](const QString&) {
        // While the run goes: the buttons are off and the list holds every line so far.
        ++vus;
        EXPECT_EQ(lignes(lstExplic), fenetre.pilote().journal());
        EXPECT_FALSE(cmdMAJ->isEnabled());
        EXPECT_FALSE(cmdFermer->isEnabled());
    });
    EXPECT_EQ(fenetre.Demarre({dossier}), 0);

    EXPECT_GT(vus, 10);
    EXPECT_EQ(fenetre.windowTitle(), u("Mise à jour de la base de données Vinorium en version 3.0"));
    EXPECT_EQ(fenetre.dossier(), dossier);
    EXPECT_EQ(fenetre.findChild<QLabel*>("lblReper")->text(), QDir::toNativeSeparators(dossier));
    EXPECT_EQ(lignes(lstExplic), journalMigrevin(dossier));
    EXPECT_EQ(lstExplic->item(lstExplic->count() - 1)->text(), u("Prêt"));
    EXPECT_EQ(lblInfo->text(), u("Prêt"));
    EXPECT_TRUE(cmdMAJ->isEnabled());
    EXPECT_FALSE(fenetre.isVisible());
}

TEST(FenetreMigrevin, CommandLineFolderWithoutCellar) {
    TempFolders folders;
    const QString dossier = QFileInfo(folders.scratch("vide")).absoluteFilePath();
    QDir().mkpath(dossier);
    ScriptedDialogs dlg;
    dlg.expectMessage(u("Impossible de trouver le fichier ") + dossier + "/VINORIUM.MDB", Answer::Ok);
    TfrmMigrevin fenetre;
    EXPECT_EQ(fenetre.Demarre({dossier}), 1);
    EXPECT_TRUE(dlg.done());
    EXPECT_TRUE(journalMigrevin(dossier).isEmpty());
}

TEST(FenetreMigrevin, WithoutCommandLineOpensOnTheDefaultCellarsFolder) {
    TempFolders folders;
    const QString dossier = QFileInfo(folders.scratch("defaut")).absoluteFilePath();
    QDir().mkpath(dossier);
    CellarFixture(dossier + "/VINORIUM.MDB", 30).close();
    {
        SettingsStore aliases(SettingsRoot::LocalMachine);
        ASSERT_TRUE(aliases.openKey(SettingsStore::aliasesKey() + "Vinorium", true));
        ASSERT_TRUE(aliases.writeString("Path", dossier + "/VINORIUM.MDB"));
    }
    const QString autre = QFileInfo(folders.scratch("autre")).absoluteFilePath();
    QDir().mkpath(autre);
    ScriptedDialogs dlg;
    dlg.expectModal("frmMigrevin", [&](QObject* window) {
        auto* fenetre = qobject_cast<TfrmMigrevin*>(window);
        EXPECT_EQ(fenetre->dossier(), dossier);
        fenetre->findChild<QPushButton*>("cmdMAJ")->click();
        grabToPng(fenetre, "frmMigrevin");
        // The user picks another folder in the list, without a cellar.
        auto* dirDestin = fenetre->findChild<QTreeView*>("dirDestin");
        dirDestin->setCurrentIndex(qobject_cast<QFileSystemModel*>(dirDestin->model())->index(autre));
        EXPECT_EQ(fenetre->findChild<QLabel*>("lblReper")->text(), autre);
        fenetre->findChild<QPushButton*>("cmdMAJ")->click();
        return 0;
    });
    dlg.expectMessage(u("déjà compatible"), Answer::Ok);
    dlg.expectMessage(u("Pas de fichier VINORIUM.MDB dans ce répertoire"), Answer::Ok);
    TfrmMigrevin fenetre;
    fenetre.Demarre({});
    EXPECT_TRUE(dlg.done());
    EXPECT_EQ(journalMigrevin(dossier).value(2), "Version de la base actuelle : 3.0");
    EXPECT_TRUE(journalMigrevin(autre).isEmpty());
}

}  // namespace
}  // namespace vinorium::test
