#include "cellargen.h"

#include "data/engine/database.h"
#include "data/schema.h"

#include <QDir>
#include <QFile>
#include <QStringList>

#include <sqlite3.h>

#include <random>
#include <stdexcept>

namespace vinorium::bench {

namespace {

void check(sqlite3* db, int rc) {
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW) {
        throw std::runtime_error(sqlite3_errmsg(db));
    }
}

struct Insert {
    Insert(sqlite3* db, const char* sql) : db_(db) {
        check(db, sqlite3_prepare_v2(db, sql, -1, &stmt_, nullptr));
    }
    ~Insert() { sqlite3_finalize(stmt_); }
    void text(int i, const QString& v) {
        const QByteArray u = v.toUtf8();
        sqlite3_bind_text(stmt_, i, u.constData(), static_cast<int>(u.size()), SQLITE_TRANSIENT);
    }
    void integer(int i, long long v) { sqlite3_bind_int64(stmt_, i, v); }
    void real(int i, double v) { sqlite3_bind_double(stmt_, i, v); }
    void null(int i) { sqlite3_bind_null(stmt_, i); }
    void run() {
        check(db_, sqlite3_step(stmt_));
        sqlite3_reset(stmt_);
        sqlite3_clear_bindings(stmt_);
    }
    sqlite3* db_;
    sqlite3_stmt* stmt_ = nullptr;
};

const char* const kRegions[] = {"Bordeaux",  "Bourgogne", "Rhône",    "Loire",     "Alsace",
                                "Champagne", "Languedoc", "Provence", "Sud-Ouest", "Jura"};
const char* const kWords[] = {"Château",  "Domaine", "Clos",     "Mas",       "Côte",  "Cuvée",  "Les",
                              "Vieilles", "Vignes",  "Réserve",  "Échezeaux", "Saint", "Pierre", "Margaux",
                              "Haut",     "Brion",   "Grand",    "Cru",       "Lune",  "Église", "Roche",
                              "Abbaye",   "Moulin",  "Fontaine", "Chêne"};
const char* const kTypes[] = {"Rouge", "Rouge", "Rouge",    "Blanc",
                              "Blanc", "Rosé",  "Moelleux", "Effervescent"};
const char* const kConditionnements[] = {"Standard", "Standard", "Standard", "Fillette", "50 cl", "Magnum"};
const char* const kGrowers[] = {"Dupont", "Martin", "Bernard", "Lefèvre", "Moreau",   "Émile Roux",
                                "Girard", "Bonnet", "Mercier", "Lambert", "Fontaine", "Rousseau"};

}  // namespace

void generateCellar(data::Database& db, int wines, unsigned seed) {
    data::schema::createLayout(db);
    for (const QString& s : data::schema::champsPersoRows() + data::schema::optionRows()) {
        db.execute(s);
    }
    db.execute(QStringLiteral("INSERT INTO Version ([Version]) VALUES (30)"));
    sqlite3* h = db.handle();
    std::mt19937 rng(seed);
    auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    auto words = [&](int count) {
        QStringList w;
        for (int i = 0; i < count; ++i) {
            w << QString::fromUtf8(kWords[pick(static_cast<int>(std::size(kWords)))]);
        }
        return w.join(QLatin1Char(' '));
    };
    check(h, sqlite3_exec(h, "BEGIN", nullptr, nullptr, nullptr));
    // Appellations: 20 per region.
    QStringList appellations;
    {
        Insert ins(h, "INSERT INTO Appellations (Appellation, Region) VALUES (?, ?)");
        for (const char* region : kRegions) {
            for (int i = 0; i < 20; ++i) {
                const QString name = QStringLiteral("%1 %2").arg(words(2)).arg(appellations.size());
                appellations << name;
                ins.text(1, name);
                ins.text(2, QString::fromUtf8(region));
                ins.run();
            }
        }
    }
    {
        Insert ins(h, "INSERT INTO PLAN (Gauche, Haut, Largeur, Hauteur, Indexe) VALUES (?, ?, ?, ?, ?)");
        for (int i = 0; i < 40; ++i) {
            ins.integer(1, 10 + (i % 8) * 60);
            ins.integer(2, 10 + (i / 8) * 40);
            ins.integer(3, 55);
            ins.integer(4, 35);
            ins.integer(5, i + 1);
            ins.run();
        }
    }
    Insert vin(
        h,
        "INSERT INTO Vins (Nom, Millesime, Etiquette, Recoltant, Appellation, Type, Conditionnement, Cuvee, "
        "Classement, Prix, Offert, Vrac, ChampPerso1, ChampPerso2, ChampPerso3, ChampPerso4, ChampPerso5, "
        "Robe, Nez, Bouche, QualitePrix, Note, Appreciation, CommentaireSorties, Attendre, BoireAvant) "
        "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    Insert mvt(
        h,
        "INSERT INTO [Sortie cave] (Cptr, DateEntreeSortie, QuantiteEntreeSortie, PositionEntreeSortie, "
        "CommentaireEntreeSortie) VALUES (?, ?, ?, ?, ?)");
    for (int w = 1; w <= wines; ++w) {
        const int year = 1985 + pick(38);
        // One wine in twelve has no name and is listed under its grower.
        if (pick(12) == 0) {
            vin.text(1, QString());
        } else {
            vin.text(1, words(1 + pick(3)));
        }
        if (pick(20) == 0) {
            vin.null(2);
        } else {
            vin.integer(2, year);
        }
        vin.text(3, QStringLiteral("etiquette%1.jpg").arg(w));
        vin.text(4, QString::fromUtf8(kGrowers[pick(static_cast<int>(std::size(kGrowers)))]));
        // A few wines name an appellation missing from the reference list.
        vin.text(5, pick(50) == 0 ? QStringLiteral("Inconnue")
                                  : appellations[pick(static_cast<int>(appellations.size()))]);
        vin.text(6, QString::fromUtf8(kTypes[pick(static_cast<int>(std::size(kTypes)))]));
        vin.text(7,
                 QString::fromUtf8(kConditionnements[pick(static_cast<int>(std::size(kConditionnements)))]));
        vin.text(8, words(2));
        vin.text(9, pick(3) == 0 ? QStringLiteral("Grand cru") : QString());
        if (pick(15) == 0) {
            vin.null(10);
        } else {
            vin.real(10, (300 + pick(6000)) / 100.0);
        }
        vin.integer(11, pick(10) == 0 ? -1 : 0);
        vin.integer(12, pick(25) == 0 ? -1 : 0);
        for (int c = 13; c <= 17; ++c) {
            vin.text(c, words(1));
        }
        vin.text(18, QStringLiteral("Rubis"));
        vin.text(19, words(3));
        vin.text(20, words(3));
        vin.text(21, QStringLiteral("Bon rapport"));
        vin.text(22, QStringLiteral("%1/20").arg(10 + pick(10)));
        vin.text(23, words(2));
        vin.text(24, QString());
        vin.integer(25, year + 2 + pick(4));
        vin.integer(26, year + 6 + pick(15));
        vin.run();
        const int position = pick(41);
        int stock = 0;
        const int moves = 3 + pick(5);  // about five movements
        for (int m = 0; m < moves; ++m) {
            int q = m == 0 ? 6 + pick(7) : (pick(3) == 0 ? 1 + pick(6) : -(1 + pick(3)));
            if (stock + q < 0) {
                q = -stock;
            }
            stock += q;
            mvt.integer(1, w);
            mvt.text(2, QStringLiteral("%1-%2-%3")
                            .arg(2000 + pick(26))
                            .arg(1 + pick(12), 2, 10, QLatin1Char('0'))
                            .arg(1 + pick(28), 2, 10, QLatin1Char('0')));
            mvt.integer(3, q);
            mvt.integer(4, position);
            mvt.text(5, m == 0 ? QStringLiteral("Achat") : QString());
            mvt.run();
        }
    }
    check(h, sqlite3_exec(h, "COMMIT", nullptr, nullptr, nullptr));
}

QString cachedCellar(int wines, unsigned seed) {
    const QString path =
        QDir::temp().filePath(QStringLiteral("vinorium-bench-%1-%2.mdb").arg(wines).arg(seed));
    if (QFile::exists(path)) {
        return path;
    }
    const QString partial = path + QStringLiteral(".part");
    QFile::remove(partial);
    {
        data::Database::createEmpty(partial);
        data::Database db;
        db.open(partial);
        generateCellar(db, wines, seed);
    }
    QFile::rename(partial, path);
    return path;
}

}  // namespace vinorium::bench
