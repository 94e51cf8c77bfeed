// Micro-benchmarks of the Jet runtime: the JET collation against SQLite's
// NOCASE on the same 100 000 French wine names, and the per-row functions
// against the plain SQLite expression that does the nearest thing. Each
// benchmark times both in the same run and reports "ratio" = Jet / baseline.

#include "data/engine/jetruntime.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <chrono>
#include <random>
#include <string>
#include <vector>

namespace {

std::vector<std::string> wineNames(int n) {
    static const char* first[] = {
        "Château",       "Domaine",   "Clos",           "côte",      "Côtes",
        "Mas",           "Cave",      "Cuvée",          "Échezeaux", "Entre-deux-Mers",
        "Saint-Émilion", "Corton",    "Œil-de-Perdrix", "Pouilly",   "Gevrey",
        "crémant",       "Hermitage", "Bâtard",         "Vosne",     "Musigny"};
    static const char* second[] = {"de la Tour", "des Anges",  "du Pré",     "Rôtie",        "de Nuits",
                                   "Margaux",    "Pétrus",     "l'Évangile", "les Grèves",   "Fuissé",
                                   "Chambertin", "du Rhône",   "Montrachet", "de Bourgogne", "Romanée",
                                   "d'Yquem",    "Saint-Jean", "Lafite",     "la Forêt"};
    std::mt19937 rng(42);
    std::vector<std::string> out;
    out.reserve(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        std::string s = first[rng() % std::size(first)];
        s += ' ';
        s += second[rng() % std::size(second)];
        if (rng() % 3 == 0) {
            s += ' ';
            s += std::to_string(1980 + rng() % 45);
        }
        if (rng() % 4 == 0) {
            for (char& c : s) {
                if (c >= 'a' && c <= 'z') {
                    c = static_cast<char>(c - 'a' + 'A');
                }
            }
        }
        out.push_back(std::move(s));
    }
    return out;
}

struct Db {
    sqlite3* db = nullptr;
    explicit Db(int rows) {
        sqlite3_open(":memory:", &db);
        vinorium::jet::registerJetRuntime(db);
        exec("CREATE TABLE t(nom TEXT, prix TEXT, qte INTEGER, d TEXT)");
        exec("BEGIN");
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(db, "INSERT INTO t VALUES (?1, ?2, ?3, ?4)", -1, &st, nullptr);
        const auto names = wineNames(rows);
        std::mt19937 rng(7);
        for (int i = 0; i < rows; ++i) {
            const std::string prix = std::to_string(rng() % 80) + "," + std::to_string(10 + rng() % 90);
            char date[16];
            std::snprintf(date, sizeof date, "20%02u-%02u-%02u", static_cast<unsigned>(rng() % 25),
                          static_cast<unsigned>(1 + rng() % 12), static_cast<unsigned>(1 + rng() % 28));
            sqlite3_bind_text(st, 1, names[static_cast<std::size_t>(i)].c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_text(st, 2, prix.c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_int(st, 3, static_cast<int>(rng() % 24));
            sqlite3_bind_text(st, 4, date, -1, SQLITE_TRANSIENT);
            sqlite3_step(st);
            sqlite3_reset(st);
        }
        sqlite3_finalize(st);
        exec("COMMIT");
    }
    ~Db() { sqlite3_close(db); }
    void exec(const char* sql) { sqlite3_exec(db, sql, nullptr, nullptr, nullptr); }
    // Runs a query to the end; returns seconds.
    double run(const char* sql) {
        const auto t0 = std::chrono::steady_clock::now();
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(db, sql, -1, &st, nullptr);
        long long sink = 0;
        while (sqlite3_step(st) == SQLITE_ROW) {
            sink += sqlite3_column_bytes(st, 0);
        }
        benchmark::DoNotOptimize(sink);
        sqlite3_finalize(st);
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    }
};

Db& database() {
    static Db db(100000);
    return db;
}

// Times `jet` (reported) and `baseline` in each iteration.
void compare(benchmark::State& state, const char* jet, const char* baseline) {
    Db& db = database();
    double jetTotal = 0;
    double baseTotal = 0;
    for (auto _ : state) {
        baseTotal += db.run(baseline);
        const double t = db.run(jet);
        jetTotal += t;
        state.SetIterationTime(t);
    }
    state.counters["baseline_ms"] =
        benchmark::Counter(baseTotal * 1000 / static_cast<double>(state.iterations()));
    state.counters["ratio"] = jetTotal / baseTotal;
}

void BM_SortCollateJet(benchmark::State& state) {
    compare(state, "SELECT nom FROM t ORDER BY nom COLLATE JET",
            "SELECT nom FROM t ORDER BY nom COLLATE NOCASE");
}
BENCHMARK(BM_SortCollateJet)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_GroupByCollateJet(benchmark::State& state) {
    compare(state, "SELECT nom, count(*) FROM t GROUP BY nom COLLATE JET",
            "SELECT nom, count(*) FROM t GROUP BY nom COLLATE NOCASE");
}
BENCHMARK(BM_GroupByCollateJet)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_Num(benchmark::State& state) {
    compare(state, "SELECT sum(jet_num(qte)) FROM t", "SELECT sum(qte) FROM t");
}
BENCHMARK(BM_Num)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_MulNumericText(benchmark::State& state) {
    compare(state, "SELECT sum(jet_mul(prix, qte)) FROM t",
            "SELECT sum(CAST(replace(prix, ',', '.') AS REAL) * qte) FROM t");
}
BENCHMARK(BM_MulNumericText)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_AddTexts(benchmark::State& state) {
    compare(state, "SELECT jet_add(jet_add(nom, ' ('), prix) FROM t", "SELECT nom || ' (' || prix FROM t");
}
BENCHMARK(BM_AddTexts)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_Concat(benchmark::State& state) {
    compare(state, "SELECT jet_concat(jet_concat(nom, ' '), qte) FROM t", "SELECT nom || ' ' || qte FROM t");
}
BENCHMARK(BM_Concat)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_FormatPrice(benchmark::State& state) {
    compare(state, "SELECT jet_format(jet_mul(0.75, prix), '#.00') FROM t",
            "SELECT printf('%.2f', 0.75 * CAST(replace(prix, ',', '.') AS REAL)) FROM t");
}
BENCHMARK(BM_FormatPrice)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_FormatMonth(benchmark::State& state) {
    compare(state, "SELECT jet_datevalue(jet_format(d, '1 mmm yyyy')) FROM t",
            "SELECT strftime('%Y-%m-01', d) FROM t");
}
BENCHMARK(BM_FormatMonth)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_Like(benchmark::State& state) {
    compare(state, "SELECT count(*) FROM t WHERE jet_like(nom, '*saint*')",
            "SELECT count(*) FROM t WHERE nom LIKE '%saint%'");
}
BENCHMARK(BM_Like)->UseManualTime()->Unit(benchmark::kMillisecond);

// The collation alone, on pairs of names: collate() against sqlite3_strnicmp.
void BM_CollateCalls(benchmark::State& state) {
    static const auto names = wineNames(4096);
    double jetTotal = 0;
    double baseTotal = 0;
    for (auto _ : state) {
        int sink = 0;
        auto t0 = std::chrono::steady_clock::now();
        for (std::size_t i = 0; i + 1 < names.size(); ++i) {
            const std::string& a = names[i];
            const std::string& b = names[i + 1];
            const int n = static_cast<int>(std::min(a.size(), b.size()));
            sink += sqlite3_strnicmp(a.data(), b.data(), n);
        }
        auto t1 = std::chrono::steady_clock::now();
        for (std::size_t i = 0; i + 1 < names.size(); ++i) {
            const std::string& a = names[i];
            const std::string& b = names[i + 1];
            sink += vinorium::jet::collate(a.data(), static_cast<int>(a.size()), b.data(),
                                           static_cast<int>(b.size()));
        }
        auto t2 = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(sink);
        baseTotal += std::chrono::duration<double>(t1 - t0).count();
        const double t = std::chrono::duration<double>(t2 - t1).count();
        jetTotal += t;
        state.SetIterationTime(t);
    }
    state.counters["ratio"] = jetTotal / baseTotal;
}
BENCHMARK(BM_CollateCalls)->UseManualTime()->Unit(benchmark::kMicrosecond);

}  // namespace
