#include "data/settingsstore.h"

#include "support/tempfolders.h"

#include <QFile>

#include <gtest/gtest.h>

namespace vinorium {
namespace {

const QString kUser = SettingsStore::userKey();
const QString kAliases = SettingsStore::aliasesKey();

TEST(SettingsStore, ValuesRoundTripExactlyIncludingLineBreaks) {
    test::TempFolders folders;
    const QStringList values = {
        QStringLiteral("-1"),
        QString(),
        QStringLiteral("Nom\r150\rAppellation\r80\r"),
        QStringLiteral("ligne 1\r\nligne 2\n\"cité\" = ; # [x] \\ é"),
        QStringLiteral("  blancs autour  "),
    };
    {
        SettingsStore store(SettingsRoot::CurrentUser);
        ASSERT_TRUE(store.openKey(kUser, true));
        for (int i = 0; i < values.size(); ++i) {
            ASSERT_TRUE(store.writeString(QStringLiteral("Valeur%1").arg(i), values[i]));
        }
    }
    SettingsStore store(SettingsRoot::CurrentUser);
    ASSERT_TRUE(store.openKeyReadOnly(kUser));
    for (int i = 0; i < values.size(); ++i) {
        EXPECT_EQ(store.readString(QStringLiteral("valeur%1").arg(i)), values[i]) << i;
    }
    EXPECT_TRUE(QFile::exists(folders.config() + QStringLiteral("/Vinorium.ini")));
}

TEST(SettingsStore, MissingKeysOpenOnlyWithCreation) {
    test::TempFolders folders;
    SettingsStore store(SettingsRoot::LocalMachine);
    EXPECT_FALSE(store.openKeyReadOnly(kAliases));
    EXPECT_FALSE(store.openKey(kAliases + QStringLiteral("Vinorium"), false));
    EXPECT_FALSE(store.keyExists(kAliases));
    EXPECT_FALSE(QFile::exists(SettingsStore::fileFor(SettingsRoot::LocalMachine)));
    EXPECT_EQ(store.readString(QStringLiteral("Path")), QString());
    // A path the store does not keep never opens, even with creation.
    EXPECT_FALSE(store.openKey(QStringLiteral("\\Software\\Autre\\"), true));

    ASSERT_TRUE(store.openKey(kAliases + QStringLiteral("Vinorium"), true));
    store.closeKey();
    EXPECT_TRUE(store.keyExists(kAliases + QStringLiteral("VINORIUM")));
    ASSERT_TRUE(store.openKeyReadOnly(kAliases));
    EXPECT_EQ(store.keyNames(), QStringList{QStringLiteral("Vinorium")});
    EXPECT_FALSE(store.writeString(QStringLiteral("Path"), QStringLiteral("/x")));
}

TEST(SettingsStore, SubkeysListInCaseInsensitiveOrderAndDelete) {
    test::TempFolders folders;
    SettingsStore store(SettingsRoot::LocalMachine);
    for (const char* alias : {"vinorium", "Cave de Paris", "bordeaux", "Zinfandel", "Été 2005"}) {
        ASSERT_TRUE(store.openKey(kAliases + QString::fromUtf8(alias), true));
        ASSERT_TRUE(
            store.writeString(QStringLiteral("Path"), QStringLiteral("/caves/") + QString::fromUtf8(alias)));
    }
    ASSERT_TRUE(store.openKeyReadOnly(kAliases));
    EXPECT_EQ(store.keyNames(), (QStringList{QStringLiteral("bordeaux"), QStringLiteral("Cave de Paris"),
                                             QStringLiteral("vinorium"), QStringLiteral("Zinfandel"),
                                             QStringLiteral("Été 2005")}));
    store.closeKey();

    // Names compare without case and keep their stored spelling.
    ASSERT_TRUE(store.openKeyReadOnly(kAliases + QStringLiteral("CAVE DE PARIS")));
    EXPECT_EQ(store.readString(QStringLiteral("path")), QStringLiteral("/caves/Cave de Paris"));
    store.closeKey();

    EXPECT_TRUE(store.deleteKey(kAliases + QStringLiteral("Cave de paris")));
    EXPECT_FALSE(store.deleteKey(kAliases + QStringLiteral("Cave de paris")));
    ASSERT_TRUE(store.openKeyReadOnly(kAliases));
    EXPECT_EQ(store.keyNames().size(), 4);
}

TEST(SettingsStore, CorruptOrUnreadableFileReadsAsMissing) {
    test::TempFolders folders;
    const QString file = SettingsStore::fileFor(SettingsRoot::CurrentUser);
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray("[General]\nChoixBase=-1\n[\x01\xff\xfe garbage\n=\n\\", 40));
    }
    SettingsStore store(SettingsRoot::CurrentUser);
    EXPECT_FALSE(store.openKeyReadOnly(kUser));
    EXPECT_EQ(store.readString(QStringLiteral("ChoixBase")), QString());
    // Nothing overwrites a file it could not read.
    EXPECT_FALSE(store.openKey(kUser, true));
    EXPECT_TRUE(QFile::exists(file));
}

}  // namespace
}  // namespace vinorium
