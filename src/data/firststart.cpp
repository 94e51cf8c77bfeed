#include "data/firststart.h"

#include "data/defaultcellar.h"
#include "data/engine/database.h"
#include "data/paths.h"
#include "data/settingsstore.h"

#include <QDir>
#include <QFileInfo>

namespace vinorium::data {

namespace {

FirstStartResult failure(const QString& cellarPath, const QString& message) {
    FirstStartResult result;
    result.status = FirstStartResult::Status::Failed;
    result.cellarPath = cellarPath;
    result.message = message;
    return result;
}

}  // namespace

FirstStartResult installDefaultCellarIfNeeded() {
    if (QFileInfo::exists(SettingsStore::fileFor(SettingsRoot::LocalMachine))) {
        return {};
    }

    const QString dataDir = paths::dataDir();
    if (!QDir().mkpath(dataDir)) {
        return failure(QString(), QStringLiteral("Impossible de créer le dossier de données '%1'. "
                                                 "Vérifiez vos droits sur ce dossier.")
                                      .arg(QDir::toNativeSeparators(dataDir)));
    }

    const QString cellarPath =
        QDir::toNativeSeparators(QDir(dataDir).absoluteFilePath(QString::fromLatin1(kDefaultCellarFileName)));
    if (!QFileInfo::exists(cellarPath)) {
        try {
            createDefaultCellar(cellarPath);
        } catch (const EngineError& e) {
            return failure(cellarPath,
                           QStringLiteral("Impossible de créer la base de vins par défaut '%1'.\r\n%2")
                               .arg(cellarPath, e.message()));
        } catch (const std::exception& e) {
            return failure(cellarPath,
                           QStringLiteral("Impossible de créer la base de vins par défaut '%1'.\r\n%2")
                               .arg(cellarPath, QString::fromLocal8Bit(e.what())));
        }
    }

    const QString imagesDir = paths::imagesDir();
    if (!QDir().mkpath(imagesDir)) {
        return failure(cellarPath, QStringLiteral("Impossible de créer le dossier des étiquettes '%1'.")
                                       .arg(QDir::toNativeSeparators(imagesDir)));
    }

    SettingsStore store(SettingsRoot::LocalMachine);
    if (!store.openKey(SettingsStore::aliasesKey() + QString::fromLatin1(kDefaultAlias), true) ||
        !store.writeString(QStringLiteral("Path"), cellarPath)) {
        return failure(
            cellarPath,
            QStringLiteral("Impossible d'enregistrer la base de vins par défaut '%1' "
                           "sous le nom '%2' dans le fichier '%3'.")
                .arg(cellarPath, QString::fromLatin1(kDefaultAlias),
                     QDir::toNativeSeparators(SettingsStore::fileFor(SettingsRoot::LocalMachine))));
    }
    store.closeKey();

    FirstStartResult result;
    result.status = FirstStartResult::Status::Installed;
    result.cellarPath = cellarPath;
    return result;
}

}  // namespace vinorium::data
