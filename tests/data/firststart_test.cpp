// First start: the default cellar is installed and registered once, on a
// machine without alias registry, and nothing is ever overwritten.

#include "data/firststart.h"
#include "data/engine/database.h"
#include "data/engine/query.h"
#include "data/paths.h"
#include "data/settingsstore.h"
#include "support/cellarfixtures.h"
#include "support/tempfolders.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

using vinorium::SettingsRoot;
using vinorium::SettingsStore;
using vinorium::data::Database;
using vinorium::data::FirstStartResult;
using vinorium::data::installDefaultCellarIfNeeded;
using vinorium::test::selectRows;
using vinorium::test::TempFolders;

namespace {

QByteArray digestOf(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

QString registeredPath(const QString& alias) {
    SettingsStore store(SettingsRoot::LocalMachine);
    if (!store.openKeyReadOnly(SettingsStore::aliasesKey() + alias)) {
        return {};
    }
    return store.readString(QStringLiteral("Path"));
}

QString defaultCellarPath() {
    return QDir(vinorium::paths::dataDir()).filePath(QStringLiteral("VINORIUM.MDB"));
}

TEST(FirstStart, InstallsAndRegistersTheDefaultCellarOnce) {
    TempFolders folders;
    ASSERT_FALSE(QFileInfo::exists(SettingsStore::fileFor(SettingsRoot::LocalMachine)));
    // The data folder need not exist yet.
    qputenv("VINORIUM_DATA_DIR", QDir(folders.data()).filePath(QStringLiteral("Vinorium")).toUtf8());

    const FirstStartResult result = installDefaultCellarIfNeeded();
    ASSERT_EQ(result.status, FirstStartResult::Status::Installed) << result.message.toStdString();
    EXPECT_EQ(QFileInfo(result.cellarPath), QFileInfo(defaultCellarPath()));
    EXPECT_TRUE(QFileInfo(vinorium::paths::imagesDir()).isDir());
    EXPECT_EQ(QFileInfo(registeredPath(QStringLiteral("Vinorium"))), QFileInfo(defaultCellarPath()));

    // The start-up opens it by its alias and accepts its layout.
    Database db;
    db.openAlias(QStringLiteral("Vinorium"));
    EXPECT_EQ(selectRows(db, QStringLiteral("SELECT * FROM Version"), {QStringLiteral("Version")}),
              QList<QStringList>{{QStringLiteral("30")}});
    db.close();

    // The next start finds the registry and touches nothing.
    const QByteArray before = digestOf(defaultCellarPath());
    const QByteArray registry = digestOf(SettingsStore::fileFor(SettingsRoot::LocalMachine));
    EXPECT_EQ(installDefaultCellarIfNeeded().status, FirstStartResult::Status::NotNeeded);
    EXPECT_EQ(digestOf(defaultCellarPath()), before);
    EXPECT_EQ(digestOf(SettingsStore::fileFor(SettingsRoot::LocalMachine)), registry);
}

TEST(FirstStart, RegistersAnExistingCellarWithoutOverwritingIt) {
    TempFolders folders;
    {
        vinorium::test::CellarFixture cellar(defaultCellarPath());
        cellar.addWine({.nom = QStringLiteral("Déjà là")});
    }
    const QByteArray before = digestOf(defaultCellarPath());

    const FirstStartResult result = installDefaultCellarIfNeeded();
    ASSERT_EQ(result.status, FirstStartResult::Status::Installed) << result.message.toStdString();
    EXPECT_EQ(digestOf(defaultCellarPath()), before);
    EXPECT_EQ(QFileInfo(registeredPath(QStringLiteral("Vinorium"))), QFileInfo(defaultCellarPath()));
}

TEST(FirstStart, LeavesAnExistingRegistryAsItIs) {
    TempFolders folders;
    {
        // A registry without the default alias: the start-up reports it, not the first start.
        SettingsStore store(SettingsRoot::LocalMachine);
        ASSERT_TRUE(store.openKey(SettingsStore::aliasesKey() + QStringLiteral("Autre"), true));
        ASSERT_TRUE(store.writeString(QStringLiteral("Path"), QStringLiteral("/nulle/part.mdb")));
    }
    EXPECT_EQ(installDefaultCellarIfNeeded().status, FirstStartResult::Status::NotNeeded);
    EXPECT_FALSE(QFileInfo::exists(defaultCellarPath()));
    EXPECT_TRUE(registeredPath(QStringLiteral("Vinorium")).isEmpty());
}

TEST(FirstStart, FailsWithAMessageAndRegistersNothing) {
    TempFolders folders;
    // The data folder's place is taken by a file.
    const QString blocked = folders.scratch(QStringLiteral("fichier"));
    {
        QFile file(blocked);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    qputenv("VINORIUM_DATA_DIR", QDir(blocked).filePath(QStringLiteral("Vinorium")).toUtf8());

    const FirstStartResult result = installDefaultCellarIfNeeded();
    EXPECT_EQ(result.status, FirstStartResult::Status::Failed);
    EXPECT_TRUE(result.message.startsWith(QStringLiteral("Impossible de créer")))
        << result.message.toStdString();
    EXPECT_FALSE(QFileInfo::exists(SettingsStore::fileFor(SettingsRoot::LocalMachine)));
}

}  // namespace
