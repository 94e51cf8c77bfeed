#include "upgrade/pilote.h"

#include "data/dialogservice.h"
#include "data/engine/database.h"
#include "data/engine/query.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cmath>
#include <filesystem>
#include <limits>
#include <stdexcept>
#include <system_error>

namespace vinorium::upgrade {

namespace {

const char* const kNomBase = "VINORIUM.MDB";

// A file operation of the run that failed, with its French message.
class ErreurFichier : public std::runtime_error {
  public:
    explicit ErreurFichier(const QString& message)
        : std::runtime_error(message.toStdString()), message_(message) {}
    const QString& message() const { return message_; }

  private:
    QString message_;
};

QString natif(const QString& chemin) {
    return QDir::toNativeSeparators(chemin);
}

// Copies a file whole. The destination is replaced only once the copy is
// complete: a copy that fails leaves it as it was.
void copieFichier(const QString& source, const QString& destination) {
    QFile entree(source);
    if (!entree.open(QIODevice::ReadOnly)) {
        throw ErreurFichier(
            QStringLiteral("Impossible de lire le fichier %1 : %2").arg(natif(source), entree.errorString()));
    }
    QSaveFile sortie(destination);
    if (!sortie.open(QIODevice::WriteOnly)) {
        throw ErreurFichier(QStringLiteral("Impossible d'écrire le fichier %1 : %2")
                                .arg(natif(destination), sortie.errorString()));
    }
    while (!entree.atEnd()) {
        const QByteArray bloc = entree.read(1 << 20);
        if (bloc.isEmpty() && entree.error() != QFileDevice::NoError) {
            sortie.cancelWriting();
            throw ErreurFichier(QStringLiteral("Impossible de lire le fichier %1 : %2")
                                    .arg(natif(source), entree.errorString()));
        }
        if (sortie.write(bloc) != bloc.size()) {
            sortie.cancelWriting();
            throw ErreurFichier(QStringLiteral("Impossible d'écrire le fichier %1 : %2")
                                    .arg(natif(destination), sortie.errorString()));
        }
    }
    if (!sortie.commit()) {
        throw ErreurFichier(QStringLiteral("Impossible d'écrire le fichier %1 : %2")
                                .arg(natif(destination), sortie.errorString()));
    }
}

}  // namespace

PiloteMigrevin::PiloteMigrevin(Rappels rappels) : rappels_(std::move(rappels)) {}

QString PiloteMigrevin::chercheBase(const QString& dossier) {
    const QDir dir(dossier);
    if (dossier.isEmpty() || !dir.exists()) {
        return QString();
    }
    const QString nom = QString::fromLatin1(kNomBase);
    if (QFileInfo(dir.filePath(nom)).isFile()) {
        return dir.filePath(nom);
    }
    const QStringList fichiers = dir.entryList(QDir::Files | QDir::Hidden, QDir::Name);
    for (const QString& fichier : fichiers) {
        if (fichier.compare(nom, Qt::CaseInsensitive) == 0) {
            return dir.filePath(fichier);
        }
    }
    return QString();
}

int PiloteMigrevin::LitVersionBase(data::Database& base) {
    try {
        if (!base.tableNames().contains(QStringLiteral("Version"), Qt::CaseInsensitive)) {
            return 11;
        }
        data::Query version(&base);
        version.setSql(QStringLiteral("SELECT * FROM Version"));
        version.open();
        if (version.eof()) {
            return 0;
        }
        QString texte = version.field(QStringLiteral("Version")).asString().trimmed();
        texte.replace(QLatin1Char(','), QLatin1Char('.'));
        bool ok = false;
        const double valeur = texte.toDouble(&ok);
        if (!ok || !std::isfinite(valeur)) {
            return 0;
        }
        const double tronque = std::trunc(valeur);
        if (tronque >= static_cast<double>(std::numeric_limits<int>::max())) {
            return std::numeric_limits<int>::max();
        }
        if (tronque <= static_cast<double>(std::numeric_limits<int>::min())) {
            return std::numeric_limits<int>::min();
        }
        return static_cast<int>(tronque);
    } catch (const data::EngineError&) {
        return 0;
    }
}

QString PiloteMigrevin::texteVersion(int version) {
    const QString chiffres = QString::number(version);
    return chiffres.left(1) + QLatin1Char('.') + chiffres.mid(1, 1);
}

void PiloteMigrevin::AjouteInfo(const QString& ligne) {
    journal_ << ligne;
    if (rappels_.ligne) {
        rappels_.ligne(ligne);
    }
}

PiloteMigrevin::Issue PiloteMigrevin::cmdMAJ(const QString& dossier) {
    const QString fichier = chercheBase(dossier);
    if (fichier.isEmpty()) {
        dialogs().information(QStringLiteral("Pas de fichier VINORIUM.MDB dans ce répertoire"));
        return Issue::PasDeFichier;
    }
    if (rappels_.occupe) {
        rappels_.occupe(true);
    }
    journal_.clear();
    if (rappels_.efface) {
        rappels_.efface();
    }
    AjouteInfo(QStringLiteral("Ouvre la base de données ..."));
    const Issue issue = execute(dossier, fichier);
    if (rappels_.info) {
        rappels_.info(QStringLiteral("Prêt"));
    }
    AjouteInfo(QStringLiteral("Prêt"));
    ecritJournal(dossier);
    if (rappels_.occupe) {
        rappels_.occupe(false);
    }
    return issue;
}

PiloteMigrevin::Issue PiloteMigrevin::execute(const QString& dossier, const QString& fichier) {
    // The file stays open exclusively from the lock test to the end of the
    // steps: neither Vinorium nor anyone else may open it half-migrated (step
    // 30 writes layout 30 first).
    data::Database base;
    try {
        base.open(fichier, true);
    } catch (const data::EngineError& e) {
        AjouteInfo(e.message());
        dialogs().error(
            QStringLiteral("La base de données Vinorium n'est pas disponible pour effectuer la mise à "
                           "jour.Vérifiez que Vinorium n'est pas en cours d'exécution."));
        return Issue::Indisponible;
    }

    AjouteInfo(QStringLiteral("Recherche des informations ..."));
    VersionActuelle = LitVersionBase(base);
    AjouteInfo(QStringLiteral("Version de la base actuelle : ") + texteVersion(VersionActuelle));

    if (VersionActuelle < 1) {
        base.close();
        AjouteInfo(QStringLiteral("Impossible de récupérer la version de votre base de données"));
        dialogs().error(QStringLiteral(
            "Impossible de récupérer la version de votre base de données. Contactez le support "
            "pour vérifier la validité de votre base de données."));
        return Issue::VersionIllisible;
    }
    if (VersionActuelle >= VersionCible) {
        base.close();
        AjouteInfo(
            QStringLiteral("La version de la base de données Vinorium est déjà compatible avec la version du "
                           "logiciel que vous utilisez"));
        dialogs().information(
            QStringLiteral("La version de la base de données Vinorium est déjà compatible avec la version du "
                           "logiciel que vous utilisez. Il n'est pas nécessaire de faire de mise à jour."));
        return Issue::DejaAJour;
    }

    const QString sauvegarde =
        QDir(dossier).filePath(QStringLiteral("Vinorium_sauve_%1.mdb").arg(VersionActuelle));
    Migration migration(base, [this](const QString& ligne) { AjouteInfo(ligne); });
    migration.setAvantInstruction(avant_);
    bool sauvegardee = false;
    bool echec = false;
    QString erreur;
    try {
        AjouteInfo(QStringLiteral("Copie de sauvegarde ..."));
        copieFichier(fichier, sauvegarde);
        sauvegardee = true;
        if (VersionActuelle < 20) {
            migration.Etape20();
        }
        migration.Etape30();
    } catch (const data::EngineError& e) {
        echec = true;
        erreur = e.message();
    } catch (const ErreurFichier& e) {
        echec = true;
        erreur = e.message();
    } catch (const std::exception& e) {
        echec = true;
        erreur = QString::fromLocal8Bit(e.what());
    }

    if (echec) {
        base.close();
        AjouteInfo(erreur);
        if (!migration.derniereInstruction().isEmpty()) {
            AjouteInfo(migration.derniereInstruction());
        }
        // Without a backup of this run nothing was changed, and an older
        // backup must not replace the file.
        if (sauvegardee) {
            // A journal that the engine could not play back belongs to the
            // migrated file: played onto the restored one, it would change it.
            for (const char* suffixe : {"-journal", "-wal", "-shm"}) {
                QFile::remove(fichier + QString::fromLatin1(suffixe));
            }
            try {
                copieFichier(sauvegarde, fichier);
            } catch (const ErreurFichier& e) {
                AjouteInfo(e.message());
                dialogs().error(
                    QStringLiteral("Une erreur s'est produite pendant la mise à jour et la base de données "
                                   "initiale n'a pas pu être restaurée. Sa copie de sauvegarde est conservée "
                                   "dans le fichier %1.")
                        .arg(natif(sauvegarde)));
                return Issue::NonRestauree;
            }
            QFile::remove(sauvegarde);
        }
        dialogs().error(QStringLiteral(
            "Une erreur s'est produite pendant la mise à jour. La base de données initiale à été "
            "restaurée."));
        return Issue::Restauree;
    }

    if (rappels_.info) {
        rappels_.info(QStringLiteral(" "));
    }
    AjouteInfo(QStringLiteral("Mise à jour terminée ..."));
    AjouteInfo(QStringLiteral("Compactage de la base de données, Patientez S.V.P ..."));
    base.close();
    return compacte(dossier, fichier) ? Issue::Terminee : Issue::TermineeSansCompacter;
}

bool PiloteMigrevin::compacte(const QString& dossier, const QString& fichier) {
    const QDir dir(dossier);
    const QString compacteMdb = dir.filePath(QStringLiteral("Compacte.MDB"));
    const QString compacteLdb = dir.filePath(QStringLiteral("Compacte.LDB"));
    QString erreur;
    try {
        // A compacted file left by an interrupted run goes first.
        if (QFileInfo::exists(compacteMdb) && !QFile::remove(compacteMdb)) {
            throw ErreurFichier(
                QStringLiteral("Impossible de supprimer le fichier %1").arg(natif(compacteMdb)));
        }
        data::Database::compact(fichier, compacteMdb);
        QFile::setPermissions(compacteMdb, QFile::permissions(fichier));
        // The compacted file takes the cellar's place in one step: the cellar
        // is never half written.
        std::error_code code;
        std::filesystem::rename(QFile::encodeName(compacteMdb).toStdString(),
                                QFile::encodeName(fichier).toStdString(), code);
        if (code) {
            throw ErreurFichier(QStringLiteral("Impossible de remplacer le fichier %1 : %2")
                                    .arg(natif(fichier), QString::fromLocal8Bit(code.message())));
        }
        QFile::remove(compacteLdb);
        return true;
    } catch (const data::EngineError& e) {
        erreur = e.message();
    } catch (const ErreurFichier& e) {
        erreur = e.message();
    }
    QFile::remove(compacteMdb);
    QFile::remove(compacteLdb);
    AjouteInfo(erreur);
    dialogs().warning(QStringLiteral(
        "Une erreur s'est produite pendant le compactage de la base de données. Vos données ont "
        "malgré tout été mise à jour."));
    return false;
}

void PiloteMigrevin::ecritJournal(const QString& dossier) const {
    QSaveFile log(QDir(dossier).filePath(QStringLiteral("LogMigrevin.txt")));
    if (!log.open(QIODevice::WriteOnly | QIODevice::Text)) {
        return;
    }
    for (const QString& ligne : journal_) {
        log.write(ligne.toUtf8());
        log.write("\n");
    }
    log.commit();
}

}  // namespace vinorium::upgrade
