// Fuzz target: any text handed to the engine gives rows or an error with a
// message, never a crash or a hang. Each input is parsed and translated
// against a small cellar, then run on it inside a transaction that is rolled
// back, so that the file stays as it was.

#include "data/engine/database.h"
#include "data/engine/query.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QString>

#include <cstdint>
#include <cstdlib>
#include <memory>

namespace {

using vinorium::data::Database;
using vinorium::data::EngineError;
using vinorium::data::Query;

Database* cellar() {
    static std::unique_ptr<Database> db;
    if (!db) {
        static int argc = 1;
        static char name[] = "fuzz_jetsql";
        static char* argv[] = {name, nullptr};
        static QCoreApplication app(argc, argv);
        const QString path = QDir::temp().filePath(QStringLiteral("vinorium-fuzz-%1.mdb").arg(::getpid()));
        QFile::remove(path);
        Database::createEmpty(path);
        db = std::make_unique<Database>();
        db->open(path);
        const char* const setup[] = {
            "CREATE TABLE Vins (Cptr COUNTER CONSTRAINT pk PRIMARY KEY, Nom TEXT(50), Millesime LONG, Prix "
            "DOUBLE, "
            "Vrac BIT, Appellation TEXT(50))",
            "CREATE TABLE Appellations (Appellation TEXT(50) CONSTRAINT pa PRIMARY KEY, Region TEXT(50))",
            "CREATE TABLE [Sortie cave] (Cptr LONG, DateEntreeSortie DATETIME, QuantiteEntreeSortie LONG)",
            "INSERT INTO Appellations VALUES ('Bordeaux', 'Bordeaux')",
            "INSERT INTO Vins (Nom, Millesime, Prix, Vrac, Appellation) VALUES ('Château', 2005, 12.5, -1, "
            "'Bordeaux')",
            "INSERT INTO Vins (Nom, Millesime, Prix, Vrac, Appellation) VALUES (Null, Null, Null, 0, 'x')",
            "INSERT INTO [Sortie cave] VALUES (1, #3/1/2005#, 6)",
            "CREATE VIEW Stock AS SELECT Vins.Cptr, Nom, IIf(IsNull(Sum(QuantiteEntreeSortie)), 0, "
            "Sum(QuantiteEntreeSortie)) AS Q FROM (Vins INNER JOIN Appellations ON Vins.Appellation = "
            "Appellations.Appellation) LEFT JOIN [Sortie cave] ON Vins.Cptr = [Sortie cave].Cptr GROUP BY "
            "Vins.Cptr, Nom",
        };
        for (const char* s : setup) {
            db->execute(QString::fromUtf8(s));
        }
    }
    return db.get();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Database* db = cellar();
    const QString sql = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    // Statements that change the structure or end the transaction are not run,
    // only translated (the rollback must keep the cellar as it was).
    const QString head = sql.trimmed().left(12).toUpper();
    const bool structure =
        head.startsWith(QLatin1String("CREATE")) || head.startsWith(QLatin1String("ALTER")) ||
        head.startsWith(QLatin1String("DROP")) || head.startsWith(QLatin1String("BEGIN")) ||
        head.startsWith(QLatin1String("COMMIT")) || head.startsWith(QLatin1String("ROLLBACK"));
    try {
        if (structure) {
            db->translate(sql);
            return 0;
        }
        db->beginTransaction();
        Query q(db);
        q.setSql(sql);
        q.open();
        for (int n = 0; !q.eof() && n < 1000; q.next(), ++n) {
            for (int i = 0; i < q.fieldCount(); ++i) {
                (void)q.field(i).asString();
            }
        }
        q.close();
    } catch (const EngineError& e) {
        if (e.message().isEmpty()) {
            std::abort();  // every failure must say something
        }
    }
    if (db->inTransaction()) {
        db->rollback();
    }
    return 0;
}
