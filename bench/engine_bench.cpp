// Benchmarks of the cellar engine on generated cellars of 10 000 and 100 000
// wines. Each figure has a baseline measured on the same connection: the
// fastest SQLite statement written by hand that returns the same rows.

#include "cellargen.h"

#include "data/engine/database.h"
#include "data/engine/query.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <map>
#include <memory>
#include <random>

namespace {

using vinorium::data::Database;
using vinorium::data::Query;

Database& cellar(int wines) {
    static std::map<int, std::unique_ptr<Database>> open;
    auto& db = open[wines];
    if (!db) {
        db = std::make_unique<Database>();
        db->open(vinorium::bench::cachedCellar(wines));
    }
    return *db;
}

// Runs an SQLite statement text and reads every value of every row.
long long runSqlite(sqlite3* db, const QByteArray& sql) {
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db, sql.constData(), static_cast<int>(sql.size()), &stmt, nullptr) != SQLITE_OK) {
        throw std::runtime_error(sqlite3_errmsg(db));
    }
    long long rows = 0;
    const int columns = sqlite3_column_count(stmt);
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        for (int i = 0; i < columns; ++i) {
            switch (sqlite3_column_type(stmt, i)) {
                case SQLITE_INTEGER:
                    benchmark::DoNotOptimize(sqlite3_column_int64(stmt, i));
                    break;
                case SQLITE_FLOAT:
                    benchmark::DoNotOptimize(sqlite3_column_double(stmt, i));
                    break;
                case SQLITE_TEXT:
                    benchmark::DoNotOptimize(sqlite3_column_text(stmt, i));
                    benchmark::DoNotOptimize(sqlite3_column_bytes(stmt, i));
                    break;
                default:
                    break;
            }
        }
        ++rows;
    }
    sqlite3_finalize(stmt);
    if (rc != SQLITE_DONE) {
        throw std::runtime_error(sqlite3_errmsg(db));
    }
    return rows;
}

// Opens a Jet statement on a query object and reads every row.
long long runEngine(Database& db, const QString& sql) {
    Query q(&db);
    q.setSql(sql);
    q.open();
    long long rows = 0;
    for (; !q.eof(); q.next()) {
        ++rows;
    }
    return rows;
}

const char* const kWineList =
    "SELECT Cptr, Type, BoireAvant, NomListe, * FROM RequeteListe AS TableSource WHERE (QuantiteRestante > "
    "0) "
    "ORDER BY NomComplet";

const char* const kWineListBaseline = R"sql(
WITH s AS (SELECT Cptr, sum(QuantiteEntreeSortie) AS q FROM "Sortie cave" GROUP BY Cptr),
w AS (SELECT v.*, a.Region, s.q AS QuantiteRestante,
             CASE WHEN v.Nom = '' OR v.Nom IS NULL THEN coalesce(v.Recoltant, '') ELSE v.Nom END AS NomComplet
      FROM Vins v JOIN Appellations a ON a.Appellation = v.Appellation JOIN s ON s.Cptr = v.Cptr WHERE s.q > 0),
l AS (SELECT w.*, NomComplet || '   (' || coalesce(Appellation, '') || ' ' || coalesce(Millesime, '') || ', ' ||
             QuantiteRestante || ' bouteilles)' AS NomListe,
             CASE WHEN Prix = 0 OR Prix IS NULL THEN 0
                  ELSE jet_format(CASE WHEN Vrac THEN 0.75 ELSE 1 END * Prix, '#.00') END AS PrixBouteille FROM w)
SELECT Cptr, Type, BoireAvant, NomListe, NomComplet, NomListe, QuantiteRestante, Cptr, Nom, Millesime, Recoltant,
       Etiquette, Region, Appellation, Type, Conditionnement, Cuvee, Classement, Prix, ChampPerso1, Offert, Vrac,
       BoireAvant, Attendre, ChampPerso2, ChampPerso3, ChampPerso4, ChampPerso5, CommentaireSorties, Robe, Nez,
       Bouche, Appreciation, QualitePrix, Note, PrixBouteille, Cptr
FROM l ORDER BY NomComplet COLLATE JET)sql";

const char* const kStatistics =
    "SELECT Type, Count(Cptr) AS [QuantiteVins], Sum([QuantiteRestante]) AS [QuantiteBouteilles] FROM "
    "RequeteInitiale AS TableSource WHERE (QuantiteRestante > 0) GROUP BY Type";

const char* const kStatisticsBaseline = R"sql(
SELECT v.Type, count(v.Cptr) AS QuantiteVins, sum(s.q) AS QuantiteBouteilles
FROM Vins v JOIN Appellations a ON a.Appellation = v.Appellation
     JOIN (SELECT Cptr, sum(QuantiteEntreeSortie) AS q FROM "Sortie cave" GROUP BY Cptr) s ON s.Cptr = v.Cptr
WHERE s.q > 0 GROUP BY v.Type COLLATE JET)sql";

void WineList_Engine(benchmark::State& state) {
    Database& db = cellar(static_cast<int>(state.range(0)));
    long long rows = 0;
    for (auto _ : state) {
        rows = runEngine(db, QString::fromUtf8(kWineList));
    }
    state.counters["rows"] = static_cast<double>(rows);
}

void WineList_Baseline(benchmark::State& state) {
    Database& db = cellar(static_cast<int>(state.range(0)));
    long long rows = 0;
    for (auto _ : state) {
        rows = runSqlite(db.handle(), kWineListBaseline);
    }
    state.counters["rows"] = static_cast<double>(rows);
}

void Statistics_Engine(benchmark::State& state) {
    Database& db = cellar(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(runEngine(db, QString::fromUtf8(kStatistics)));
    }
}

void Statistics_Baseline(benchmark::State& state) {
    Database& db = cellar(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(runSqlite(db.handle(), kStatisticsBaseline));
    }
}

// One wine's movements, as the wine card loads them (a different wine each time).
void Movements_Engine(benchmark::State& state) {
    const int wines = static_cast<int>(state.range(0));
    Database& db = cellar(wines);
    std::mt19937 rng(7);
    for (auto _ : state) {
        const int key = 1 + static_cast<int>(rng() % static_cast<unsigned>(wines));
        benchmark::DoNotOptimize(runEngine(
            db,
            QStringLiteral(
                "SELECT [Sortie cave].Clé, [Sortie cave].DateEntreeSortie, [Sortie "
                "cave].QuantiteEntreeSortie, "
                "[Sortie cave].PositionEntreeSortie, [Sortie cave].CommentaireEntreeSortie FROM "
                "[Sortie cave] WHERE [Sortie cave].Cptr = %1 ORDER BY [Sortie cave].DateEntreeSortie DESC")
                .arg(key)));
    }
}

void Movements_Baseline(benchmark::State& state) {
    const int wines = static_cast<int>(state.range(0));
    Database& db = cellar(wines);
    std::mt19937 rng(7);
    for (auto _ : state) {
        const int key = 1 + static_cast<int>(rng() % static_cast<unsigned>(wines));
        benchmark::DoNotOptimize(runSqlite(
            db.handle(),
            QStringLiteral("SELECT \"Clé\", DateEntreeSortie, QuantiteEntreeSortie, PositionEntreeSortie, "
                           "CommentaireEntreeSortie FROM \"Sortie cave\" WHERE Cptr = %1 ORDER BY "
                           "DateEntreeSortie DESC")
                .arg(key)
                .toUtf8()));
    }
}

// Saving a wine's movements: delete them all and insert five, in one transaction.
void Rewrite_Engine(benchmark::State& state) {
    const int wines = static_cast<int>(state.range(0));
    Database& db = cellar(wines);
    std::mt19937 rng(11);
    for (auto _ : state) {
        const int key = 1 + static_cast<int>(rng() % static_cast<unsigned>(wines));
        db.beginTransaction();
        db.execute(QStringLiteral("DELETE * FROM [Sortie cave] WHERE [cptr]=%1").arg(key));
        for (int i = 0; i < 5; ++i) {
            db.execute(QStringLiteral(
                           "INSERT INTO [Sortie cave] ([Cptr], [DateEntreeSortie], [QuantiteEntreeSortie], "
                           "[PositionEntreeSortie], [CommentaireEntreeSortie]) VALUES (%1, #%2/15/2005#, "
                           "%3, 3, 'Achat')")
                           .arg(key)
                           .arg(i + 1)
                           .arg(i == 0 ? 6 : -1));
        }
        db.commit();
    }
}

void Rewrite_Baseline(benchmark::State& state) {
    const int wines = static_cast<int>(state.range(0));
    Database& db = cellar(wines);
    sqlite3* h = db.handle();
    std::mt19937 rng(11);
    for (auto _ : state) {
        const int key = 1 + static_cast<int>(rng() % static_cast<unsigned>(wines));
        QString sql = QStringLiteral("BEGIN; DELETE FROM \"Sortie cave\" WHERE Cptr = %1;").arg(key);
        for (int i = 0; i < 5; ++i) {
            sql += QStringLiteral(
                       "INSERT INTO \"Sortie cave\" (Cptr, DateEntreeSortie, QuantiteEntreeSortie, "
                       "PositionEntreeSortie, CommentaireEntreeSortie) VALUES (%1, '2005-%2-15', %3, 3, "
                       "'Achat');")
                       .arg(key)
                       .arg(i + 1, 2, 10, QLatin1Char('0'))
                       .arg(i == 0 ? 6 : -1);
        }
        sql += QStringLiteral("COMMIT;");
        if (sqlite3_exec(h, sql.toUtf8().constData(), nullptr, nullptr, nullptr) != SQLITE_OK) {
            state.SkipWithError(sqlite3_errmsg(h));
        }
    }
}

#define VINORIUM_SIZES Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)
BENCHMARK(WineList_Baseline)->VINORIUM_SIZES;
BENCHMARK(WineList_Engine)->VINORIUM_SIZES;
BENCHMARK(Statistics_Baseline)->VINORIUM_SIZES;
BENCHMARK(Statistics_Engine)->VINORIUM_SIZES;
BENCHMARK(Movements_Baseline)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(Movements_Engine)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(Rewrite_Baseline)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(Rewrite_Engine)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);

}  // namespace
