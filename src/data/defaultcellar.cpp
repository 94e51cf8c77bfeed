#include "data/defaultcellar.h"

#include "data/engine/database.h"
#include "data/schema.h"

#include <QFile>
#include <QFileInfo>
#include <QSet>

// The resource library is linked statically: its initialiser must be called by
// name, from the global namespace.
static void initVinoriumResources() {
    static const bool registered = [] {
        Q_INIT_RESOURCE(vinorium);
        return true;
    }();
    (void)registered;
}

namespace vinorium::data {

namespace {

const char* const kAppellationsResource = ":/vinorium/appellations.tsv";

}  // namespace

QList<AppellationRow> referenceAppellations() {
    initVinoriumResources();
    QFile file(QString::fromLatin1(kAppellationsResource));
    if (!file.open(QIODevice::ReadOnly)) {
        throw EngineError(QStringLiteral("Impossible de lire la liste des appellations (%1)")
                              .arg(QString::fromLatin1(kAppellationsResource)));
    }
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    QList<AppellationRow> rows;
    QSet<QString> seen;
    // The first line holds the column titles.
    for (qsizetype i = 1; i < lines.size(); ++i) {
        QString line = lines.at(i);
        if (line.endsWith(QLatin1Char('\r'))) {
            line.chop(1);
        }
        if (line.trimmed().isEmpty()) {
            continue;
        }
        const QStringList columns = line.split(QLatin1Char('\t'));
        if (columns.size() != 2 || columns.at(0).trimmed().isEmpty() || columns.at(1).trimmed().isEmpty()) {
            throw EngineError(QStringLiteral("Liste des appellations : ligne %1 mal formée").arg(i + 1));
        }
        AppellationRow row{columns.at(0).trimmed(), columns.at(1).trimmed()};
        // Appellation names are unique without regard to case, as the table's key is.
        if (!seen.contains(row.appellation.toCaseFolded())) {
            seen.insert(row.appellation.toCaseFolded());
            rows.append(std::move(row));
        }
    }
    return rows;
}

void fillDefaultCellar(Database& db) {
    schema::createLayout(db);
    db.execute(QStringLiteral("INSERT INTO Version ([Version]) VALUES (%1)").arg(schema::kLayout));
    for (const QString& sql : schema::champsPersoRows()) {
        db.execute(sql);
    }
    for (const QString& sql : schema::optionRows()) {
        db.execute(sql);
    }
    for (const AppellationRow& row : referenceAppellations()) {
        db.execute(QStringLiteral("INSERT INTO Appellations (Appellation, Region) VALUES (%1, %2)")
                       .arg(schema::quoted(row.appellation), schema::quoted(row.region)));
    }
}

void createDefaultCellar(const QString& path) {
    if (QFileInfo::exists(path)) {
        throw EngineError(QStringLiteral("Le fichier '%1' existe déjà").arg(path));
    }
    Database::createEmpty(path);
    try {
        Database db;
        db.open(path);
        db.beginTransaction();
        try {
            fillDefaultCellar(db);
            db.commit();
        } catch (...) {
            db.rollback();
            throw;
        }
        db.close();
    } catch (...) {
        QFile::remove(path);
        throw;
    }
}

}  // namespace vinorium::data
