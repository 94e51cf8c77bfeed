// The cellar engine's connection: opening and locking the file, the schema
// catalog, stored queries (kept as Jet text in _jet_queries, each one also an
// SQLite view of its translation), structure changes and transactions.

#include "data/engine/database.h"

#include "data/engine/engineprivate.h"
#include "data/engine/jetruntime.h"
#include "data/settingsstore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <sqlite3.h>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace vinorium::data {

using engine::DatabasePrivate;
using jetsql::CatalogColumn;
using jetsql::CatalogSource;
using jetsql::Translation;
using jetsql::ValueKind;

EngineError::EngineError(const QString& message)
    : std::runtime_error(message.toStdString()), message_(message) {}

namespace engine {

namespace {

const char* const kQueryTable = "_jet_queries";

QString lower(const QString& s) {
    return s.toLower();
}

// Jet type of a column from its declared type in the file.
void readColumnType(const QString& declared, bool primaryKeyAlone, CatalogColumn& c) {
    const QString d = declared.trimmed().toUpper();
    static const QRegularExpression textWidth(QStringLiteral("^TEXT\\s*\\(\\s*(\\d+)\\s*\\)$"));
    auto m = textWidth.match(d);
    if (m.hasMatch()) {
        c.jetType = QStringLiteral("TEXT");
        c.width = m.captured(1).toInt();
        c.kind = ValueKind::Text;
        return;
    }
    struct Known {
        const char* decl;
        const char* jet;
        ValueKind kind;
    };
    static const Known known[] = {
        {"TEXT", "TEXT", ValueKind::Text},
        {"MEMO TEXT", "MEMO", ValueKind::Text},
        {"LONG INTEGER", "LONG", ValueKind::Number},
        {"SHORT INTEGER", "SHORT", ValueKind::Number},
        {"BYTE INTEGER", "BYTE", ValueKind::Number},
        {"DOUBLE", "DOUBLE", ValueKind::Number},
        {"SINGLE REAL", "SINGLE", ValueKind::Number},
        {"CURRENCY REAL", "CURRENCY", ValueKind::Number},
        {"DECIMAL REAL", "DECIMAL", ValueKind::Number},
        {"DATETIME TEXT", "DATETIME", ValueKind::Date},
        {"BIT INTEGER", "BIT", ValueKind::Boolean},
        {"GUID TEXT", "GUID", ValueKind::Text},
        {"LONGBINARY BLOB", "BINARY", ValueKind::Binary},
    };
    if (d == u"INTEGER" && primaryKeyAlone) {
        c.jetType = QStringLiteral("COUNTER");
        c.counter = true;
        c.kind = ValueKind::Number;
        return;
    }
    for (const Known& k : known) {
        if (d == QLatin1String(k.decl)) {
            c.jetType = QLatin1String(k.jet);
            c.kind = k.kind;
            return;
        }
    }
    // A table made outside the engine: SQLite's affinity rules.
    if (d.contains(u"INT")) {
        c.jetType = QStringLiteral("LONG");
        c.kind = ValueKind::Number;
    } else if (d.contains(u"CHAR") || d.contains(u"CLOB") || d.contains(u"TEXT")) {
        c.jetType = QStringLiteral("TEXT");
        c.kind = ValueKind::Text;
    } else if (d.contains(u"REAL") || d.contains(u"FLOA") || d.contains(u"DOUB")) {
        c.jetType = QStringLiteral("DOUBLE");
        c.kind = ValueKind::Number;
    } else if (d.contains(u"BLOB")) {
        c.jetType = QStringLiteral("BINARY");
        c.kind = ValueKind::Binary;
    } else if (d.contains(u"DATE") || d.contains(u"TIME")) {
        c.jetType = QStringLiteral("DATETIME");
        c.kind = ValueKind::Date;
    } else if (d.contains(u"BOOL") || d == u"BIT") {
        c.jetType = QStringLiteral("BIT");
        c.kind = ValueKind::Boolean;
    } else {
        c.jetType = QString();
        c.kind = ValueKind::Unknown;
    }
}

class Statement {
  public:
    Statement(sqlite3* db, const QString& sql) : db_(db) {
        const QByteArray utf8 = sql.toUtf8();
        int rc = sqlite3_prepare_v2(db, utf8.constData(), static_cast<int>(utf8.size()), &stmt_, nullptr);
        if (rc != SQLITE_OK) {
            QString message = sqliteMessage(db, rc);
            sqlite3_finalize(stmt_);
            stmt_ = nullptr;
            throw EngineError(message);
        }
    }
    ~Statement() { sqlite3_finalize(stmt_); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    bool step() {
        int rc = sqlite3_step(stmt_);
        if (rc == SQLITE_ROW) {
            return true;
        }
        if (rc != SQLITE_DONE) {
            throw EngineError(sqliteMessage(db_, rc));
        }
        return false;
    }
    QString text(int i) const {
        const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, i));
        return p ? QString::fromUtf8(p, sqlite3_column_bytes(stmt_, i)) : QString();
    }
    int integer(int i) const { return sqlite3_column_int(stmt_, i); }
    sqlite3_stmt* get() const { return stmt_; }

  private:
    sqlite3* db_;
    sqlite3_stmt* stmt_ = nullptr;
};

}  // namespace

const CatalogSource* EngineCatalog::find(const QString& name) const {
    auto it = sources.find(lower(name));
    return it == sources.end() ? nullptr : &it->second;
}

FieldKind fieldKind(ValueKind kind) {
    switch (kind) {
        case ValueKind::Text:
            return FieldKind::Text;
        case ValueKind::Boolean:
            return FieldKind::Boolean;
        case ValueKind::Date:
            return FieldKind::Date;
        case ValueKind::Binary:
            return FieldKind::Binary;
        default:
            return FieldKind::Unknown;
    }
}

QString sqliteMessage(sqlite3* db, int rc) {
    const QString msg = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString::fromUtf8(sqlite3_errstr(rc));
    const int primary = rc & 0xff;
    static const QRegularExpression width(
        QStringLiteral("CHECK constraint failed: length\\(\"?([^\")]+)\"?\\) <= (\\d+)"));
    auto m = width.match(msg);
    if (m.hasMatch()) {
        return QStringLiteral("Valeur trop longue pour la colonne %1 (%2 caractères au plus)")
            .arg(m.captured(1), m.captured(2));
    }
    if (msg.startsWith(QLatin1String("UNIQUE constraint failed: "))) {
        return QStringLiteral("Valeur en double : %1 doit être unique").arg(msg.mid(26));
    }
    if (msg.startsWith(QLatin1String("NOT NULL constraint failed: "))) {
        return QStringLiteral("La colonne %1 doit avoir une valeur").arg(msg.mid(28));
    }
    if (msg.startsWith(QLatin1String("no such column: "))) {
        return QStringLiteral("Colonne inconnue : %1").arg(msg.mid(16));
    }
    if (msg.startsWith(QLatin1String("no such table: "))) {
        return QStringLiteral("Table ou requête inconnue : %1").arg(msg.mid(15));
    }
    if (msg.startsWith(QLatin1String("no such function: "))) {
        return QStringLiteral("Fonction inconnue : %1").arg(msg.mid(18));
    }
    if (msg.startsWith(QLatin1String("error in view "))) {
        return QStringLiteral("Requête enregistrée inutilisable (%1)").arg(msg.mid(14));
    }
    switch (primary) {
        case SQLITE_BUSY:
            return QStringLiteral("La base est occupée par un autre programme ; réessayez plus tard");
        case SQLITE_LOCKED:
            return QStringLiteral("Table en cours d'utilisation : %1").arg(msg);
        case SQLITE_READONLY:
            return QStringLiteral("La base est en lecture seule");
        case SQLITE_CORRUPT:
        case SQLITE_NOTADB:
            return QStringLiteral("Le fichier de la base est endommagé (%1)").arg(msg);
        case SQLITE_FULL:
            return QStringLiteral("Le disque est plein");
        case SQLITE_IOERR:
        case SQLITE_CANTOPEN:
            return QStringLiteral("Erreur de lecture ou d'écriture du fichier de la base (%1)").arg(msg);
        case SQLITE_INTERRUPT:
            return QStringLiteral("Instruction interrompue");
        case SQLITE_NOMEM:
        case SQLITE_TOOBIG:
            return QStringLiteral("Mémoire insuffisante pour exécuter l'instruction");
        default:
            break;
    }
    // The Jet run-time functions already speak French.
    if (primary == SQLITE_ERROR && !msg.isEmpty() && !msg.contains(QLatin1String("syntax error")) &&
        !msg.startsWith(QLatin1String("near "))) {
        if (msg.at(0).isUpper() && !msg.contains(QLatin1String(" constraint "))) {
            return msg;
        }
    }
    return QStringLiteral("Erreur du moteur de base de données : %1").arg(msg);
}

QVariant columnValue(sqlite3_stmt* stmt, int i) {
    switch (sqlite3_column_type(stmt, i)) {
        case SQLITE_INTEGER:
            return QVariant(static_cast<qlonglong>(sqlite3_column_int64(stmt, i)));
        case SQLITE_FLOAT:
            return QVariant(sqlite3_column_double(stmt, i));
        case SQLITE_TEXT:
            return QVariant(QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, i)),
                                              sqlite3_column_bytes(stmt, i)));
        case SQLITE_BLOB: {
            const void* p = sqlite3_column_blob(stmt, i);
            return QVariant(QByteArray(static_cast<const char*>(p), sqlite3_column_bytes(stmt, i)));
        }
        default:
            return QVariant();
    }
}

void DatabasePrivate::checkOpen() const {
    if (!db) {
        throw EngineError(QStringLiteral("La base n'est pas ouverte"));
    }
}

void DatabasePrivate::exec(const QString& sqlite) {
    char* err = nullptr;
    int rc = sqlite3_exec(db, sqlite.toUtf8().constData(), nullptr, nullptr, &err);
    sqlite3_free(err);
    if (rc != SQLITE_OK) {
        throw EngineError(sqliteMessage(db, rc));
    }
}

template <typename F>
void DatabasePrivate::atomically(F body) {
    exec(QStringLiteral("SAVEPOINT jet_change"));
    try {
        body();
        exec(QStringLiteral("RELEASE jet_change"));
    } catch (...) {
        char* err = nullptr;
        sqlite3_exec(db, "ROLLBACK TO jet_change; RELEASE jet_change", nullptr, nullptr, &err);
        sqlite3_free(err);
        schemaVersion = -1;
        try {
            loadCatalog();
        } catch (const EngineError&) {
        }
        throw;
    }
    loadCatalog();
}

void DatabasePrivate::checkSchema() {
    // The schema cookie, read through a statement kept prepared: this runs
    // before every translation.
    if (!schemaStmt) {
        if (sqlite3_prepare_v3(db, "PRAGMA schema_version", -1, SQLITE_PREPARE_PERSISTENT, &schemaStmt,
                               nullptr) != SQLITE_OK) {
            throw EngineError(sqliteMessage(db, sqlite3_errcode(db)));
        }
    }
    int version = -1;
    int rc = sqlite3_step(schemaStmt);
    if (rc == SQLITE_ROW) {
        version = sqlite3_column_int(schemaStmt, 0);
    }
    sqlite3_reset(schemaStmt);
    if (rc != SQLITE_ROW && rc != SQLITE_DONE) {
        throw EngineError(sqliteMessage(db, rc));
    }
    if (version != schemaVersion) {
        loadCatalog();
    }
}

void DatabasePrivate::ensureQueryTable() {
    exec(QStringLiteral("CREATE TABLE IF NOT EXISTS %1 (name TEXT NOT NULL PRIMARY KEY COLLATE NOCASE, sql "
                        "TEXT NOT NULL)")
             .arg(QLatin1String(kQueryTable)));
}

namespace {

// Translates the stored queries in dependency order: a query can be translated
// once the queries it reads are. Those that never translate are broken.
struct QueryPlan {
    QString name;
    QString jet;
    bool ok = false;
    QString error;
    Translation tr;
};

std::vector<QueryPlan> planQueries(EngineCatalog& catalog) {
    std::vector<QueryPlan> plans;
    for (const QString& name : catalog.queryOrder) {
        plans.push_back(
            QueryPlan{name, catalog.queryText.value(lower(name)), false, QString(), Translation()});
        catalog.sources.erase(lower(name));
    }
    bool progress = true;
    while (progress) {
        progress = false;
        for (QueryPlan& p : plans) {
            if (p.ok) {
                continue;
            }
            try {
                p.tr = jetsql::translateView(p.jet, catalog);
                p.ok = true;
                progress = true;
                CatalogSource src;
                src.name = p.name;
                src.isQuery = true;
                src.jetText = p.jet;
                for (const jetsql::OutputColumn& c : p.tr.columns) {
                    CatalogColumn col;
                    col.name = c.name;
                    col.sqlName = c.sqlName;
                    col.kind = c.kind;
                    src.columns.push_back(col);
                }
                catalog.sources[lower(p.name)] = src;
            } catch (const jetsql::SyntaxError& e) {
                p.error = e.message;
            } catch (const jetsql::TranslateError& e) {
                p.error = e.message;
            }
        }
    }
    auto markBroken = [&](const QueryPlan& p) {
        CatalogSource src;
        src.name = p.name;
        src.isQuery = true;
        src.brokenMessage =
            QStringLiteral("La requête %1 ne peut pas être exécutée : %2").arg(p.name, p.error);
        catalog.sources[lower(p.name)] = src;
    };
    for (QueryPlan& p : plans) {
        if (!p.ok) {
            markBroken(p);
        }
    }
    // A query that reads a broken one says why that one is broken.
    for (int pass = 0; pass < 2; ++pass) {
        for (QueryPlan& p : plans) {
            if (p.ok) {
                continue;
            }
            try {
                jetsql::translateView(p.jet, catalog);
            } catch (const jetsql::SyntaxError& e) {
                p.error = e.message;
            } catch (const jetsql::TranslateError& e) {
                p.error = e.message;
            }
            markBroken(p);
        }
    }
    return plans;
}

QString viewSql(const QueryPlan& p) {
    return QStringLiteral("CREATE VIEW %1 AS %2").arg(jetsql::quoteIdentifier(p.name), p.tr.sql);
}

}  // namespace

void DatabasePrivate::loadCatalog() {
    cache.clear();
    shapes.clear();
    dropIdleStatements();
    EngineCatalog fresh;
    {
        Statement v(db, QStringLiteral("PRAGMA schema_version"));
        schemaVersion = v.step() ? v.integer(0) : -1;
    }
    Statement tables(
        db,
        QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite\\_%' "
                       "ESCAPE '\\' AND name NOT LIKE '\\_jet\\_%' ESCAPE '\\' ORDER BY rowid"));
    while (tables.step()) {
        CatalogSource src;
        src.name = tables.text(0);
        const QString quoted = jetsql::quoteIdentifier(src.name);
        std::vector<int> pk;
        {
            Statement info(db, QStringLiteral("PRAGMA table_info(%1)").arg(quoted));
            std::vector<std::pair<QString, int>> decl;
            while (info.step()) {
                CatalogColumn c;
                c.name = info.text(1);
                c.sqlName = c.name;
                c.notNull = info.integer(3) != 0;
                decl.emplace_back(info.text(2), info.integer(5));
                if (info.integer(5) > 0) {
                    pk.push_back(static_cast<int>(src.columns.size()));
                }
                src.columns.push_back(c);
            }
            for (size_t i = 0; i < decl.size(); ++i) {
                readColumnType(decl[i].first, decl[i].second > 0 && pk.size() == 1, src.columns[i]);
            }
        }
        if (!pk.empty()) {
            src.uniqueKeys.push_back(pk);
        }
        std::vector<QString> uniqueIndexes;
        {
            Statement list(db, QStringLiteral("PRAGMA index_list(%1)").arg(quoted));
            while (list.step()) {
                if (list.integer(2) != 0 && list.text(4) != u"partial") {
                    uniqueIndexes.push_back(list.text(1));
                }
            }
        }
        for (const QString& index : uniqueIndexes) {
            Statement info(db, QStringLiteral("PRAGMA index_info(%1)").arg(jetsql::quoteIdentifier(index)));
            std::vector<int> key;
            bool ok = true;
            while (info.step()) {
                int cid = info.integer(1);
                if (cid < 0) {
                    ok = false;
                }
                key.push_back(cid);
            }
            if (ok && !key.empty()) {
                src.uniqueKeys.push_back(key);
            }
        }
        fresh.tableOrder << src.name;
        fresh.sources[lower(src.name)] = src;
    }
    bool haveQueries = false;
    {
        Statement t(db,
                    QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name = '%1'")
                        .arg(QLatin1String(kQueryTable)));
        haveQueries = t.step() && t.integer(0) > 0;
    }
    if (haveQueries) {
        Statement q(
            db, QStringLiteral("SELECT name, sql FROM %1 ORDER BY rowid").arg(QLatin1String(kQueryTable)));
        while (q.step()) {
            fresh.queryOrder << q.text(0);
            fresh.queryText.insert(lower(q.text(0)), q.text(1));
        }
    }
    std::vector<QueryPlan> plans = planQueries(fresh);
    // The views in the file must be those of the current translations.
    QHash<QString, QString> views;
    {
        Statement v(db, QStringLiteral("SELECT name, sql FROM sqlite_master WHERE type = 'view'"));
        while (v.step()) {
            views.insert(lower(v.text(0)), v.text(1));
        }
    }
    bool stale = false;
    for (const QueryPlan& p : plans) {
        auto it = views.find(lower(p.name));
        if (p.ok ? (it == views.end() || it.value() != viewSql(p)) : it != views.end()) {
            stale = true;
        }
        views.remove(lower(p.name));
    }
    catalog = std::move(fresh);
    if ((stale || !views.isEmpty()) && !sqlite3_db_readonly(db, "main")) {
        rebuildViews();
    }
}

void DatabasePrivate::rebuildViews() {
    QStringList existing;
    {
        Statement v(db, QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'view'"));
        while (v.step()) {
            existing << v.text(0);
        }
    }
    for (const QString& name : existing) {
        exec(QStringLiteral("DROP VIEW IF EXISTS %1").arg(jetsql::quoteIdentifier(name)));
    }
    std::vector<QueryPlan> plans = planQueries(catalog);
    for (QueryPlan& p : plans) {
        if (!p.ok) {
            continue;
        }
        try {
            exec(viewSql(p));
        } catch (const EngineError& e) {
            CatalogSource src;
            src.name = p.name;
            src.isQuery = true;
            src.brokenMessage =
                QStringLiteral("La requête %1 ne peut pas être exécutée : %2").arg(p.name, e.message());
            catalog.sources[lower(p.name)] = src;
        }
    }
    Statement v(db, QStringLiteral("PRAGMA schema_version"));
    schemaVersion = v.step() ? v.integer(0) : -1;
    cache.clear();
    shapes.clear();
}

void DatabasePrivate::detachQueries() {
    for (QueryPrivate* q : queries) {
        detachQuery(q);
    }
}

std::shared_ptr<Translation> DatabasePrivate::translation(const QString& sql) {
    checkOpen();
    // The catalog is this connection's picture of the schema; another
    // connection may have changed it, which shows as a failure to translate
    // or to prepare (see run): the catalog is then read again, once.
    auto it = cache.find(sql);
    if (it != cache.end()) {
        return it.value();
    }
    std::shared_ptr<Translation> tr;
    try {
        tr = std::make_shared<Translation>(jetsql::translate(sql, catalog));
    } catch (const jetsql::SyntaxError& e) {
        throw EngineError(e.message);
    } catch (const jetsql::TranslateError& e) {
        const int before = schemaVersion;
        checkSchema();
        if (schemaVersion == before) {
            throw EngineError(e.message);
        }
        return translation(sql);
    }
    if (cache.size() > 500) {
        cache.clear();
    }
    if (tr->kind != jetsql::Statement::Kind::Transform) {
        cache.insert(sql, tr);
    }
    return tr;
}

std::vector<jetsql::PivotValue> DatabasePrivate::pivotValues(sqlite3_stmt* stmt) {
    std::vector<jetsql::PivotValue> values;
    while (true) {
        int rc = sqlite3_step(stmt);
        if (rc == SQLITE_DONE) {
            break;
        }
        if (rc != SQLITE_ROW) {
            throw EngineError(sqliteMessage(db, rc));
        }
        jetsql::PivotValue pv;
        switch (sqlite3_column_type(stmt, 0)) {
            case SQLITE_NULL:
                pv.literal = QStringLiteral("NULL");
                pv.name = QStringLiteral("<>");
                break;
            case SQLITE_INTEGER: {
                const qlonglong v = sqlite3_column_int64(stmt, 0);
                pv.literal = QString::number(v);
                pv.name = QString::number(v);
                break;
            }
            case SQLITE_FLOAT: {
                const double v = sqlite3_column_double(stmt, 0);
                pv.literal = QString::number(v, 'g', 17);
                pv.name = jet::formatNumber(v);
                break;
            }
            default: {
                const QString text =
                    QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)),
                                      sqlite3_column_bytes(stmt, 0));
                pv.literal = jetsql::quoteText(text);
                pv.name = text;
                break;
            }
        }
        values.push_back(pv);
    }
    return values;
}

PreparedRows DatabasePrivate::run(const QString& sql, bool wantRows, int& changes) {
    try {
        return runStatement(sql, wantRows, changes);
    } catch (const EngineError&) {
        throw;
    } catch (const std::exception& e) {
        // Never let a fault of the engine end the program: it is one more failing statement.
        throw EngineError(QStringLiteral("Erreur interne du moteur de base de données : %1")
                              .arg(QString::fromUtf8(e.what())));
    }
}

PreparedRows DatabasePrivate::runStatement(const QString& sql, bool wantRows, int& changes) {
    changes = 0;
    checkOpen();
    // Rows, inserts, updates and deletes: one translation per statement shape,
    // the literals bound as parameters.
    std::shared_ptr<Translation> tr;
    std::vector<jetsql::LiftedValue> binds;
    std::optional<jetsql::Lifted> lifted;
    if (useShapes) {
        lifted = jetsql::liftLiterals(sql);
    }
    if (lifted) {
        auto it = shapes.find(lifted->key);
        if (it != shapes.end()) {
            tr = it.value();
        } else {
            try {
                tr = std::make_shared<Translation>(jetsql::translate(lifted->statement, catalog));
                if (shapes.size() > 500) {
                    shapes.clear();
                }
                shapes.insert(lifted->key, tr);
            } catch (const jetsql::TranslateError&) {
                tr.reset();  // the ordinary path gives the message
            }
        }
        if (tr) {
            binds = std::move(lifted->values);
        }
    }
    if (!tr) {
        tr = translation(sql);
    }
    using K = jetsql::Statement::Kind;
    switch (tr->kind) {
        case K::Begin:
            if (!sqlite3_get_autocommit(db)) {
                throw EngineError(QStringLiteral("Une transaction est déjà en cours"));
            }
            exec(QStringLiteral("BEGIN"));
            return {};
        case K::Commit:
            if (sqlite3_get_autocommit(db)) {
                throw EngineError(QStringLiteral("Aucune transaction en cours"));
            }
            exec(QStringLiteral("COMMIT"));
            return {};
        case K::Rollback:
            if (sqlite3_get_autocommit(db)) {
                throw EngineError(QStringLiteral("Aucune transaction en cours"));
            }
            detachQueries();
            exec(QStringLiteral("ROLLBACK"));
            checkSchema();
            return {};
        case K::CreateView: {
            if (catalog.find(tr->objectName)) {
                throw EngineError(QStringLiteral("La table ou requête %1 existe déjà").arg(tr->objectName));
            }
            const QString name = tr->objectName, text = tr->viewSelectJet;
            detachQueries();
            atomically([&] {
                ensureQueryTable();
                Statement ins(db, QStringLiteral("INSERT INTO %1 (name, sql) VALUES (?, ?)")
                                      .arg(QLatin1String(kQueryTable)));
                const QByteArray n = name.toUtf8(), t = text.toUtf8();
                sqlite3_bind_text(ins.get(), 1, n.constData(), static_cast<int>(n.size()), SQLITE_TRANSIENT);
                sqlite3_bind_text(ins.get(), 2, t.constData(), static_cast<int>(t.size()), SQLITE_TRANSIENT);
                ins.step();
                catalog.queryOrder << name;
                catalog.queryText.insert(lower(name), text);
                rebuildViews();
            });
            return {};
        }
        case K::DropView: {
            const CatalogSource* src = catalog.find(tr->objectName);
            if (!src || !src->isQuery) {
                throw EngineError(QStringLiteral("Requête inconnue : %1").arg(tr->objectName));
            }
            const QString name = src->name;
            detachQueries();
            atomically([&] {
                Statement del(
                    db, QStringLiteral("DELETE FROM %1 WHERE name = ?").arg(QLatin1String(kQueryTable)));
                const QByteArray n = name.toUtf8();
                sqlite3_bind_text(del.get(), 1, n.constData(), static_cast<int>(n.size()), SQLITE_TRANSIENT);
                del.step();
                catalog.queryOrder.removeAll(name);
                catalog.queryText.remove(lower(name));
                rebuildViews();
            });
            return {};
        }
        case K::Select:
        case K::Insert:
        case K::Update:
        case K::Delete:
        case K::Transform:
            break;
        default:
            structureChange(*tr);
            return {};
    }
    QString sqlite = tr->sql;
    std::vector<jetsql::OutputColumn> columns = tr->columns;
    if (tr->kind == K::Transform) {
        Statement values(db, tr->sql);
        std::vector<jetsql::PivotValue> pv = pivotValues(values.get());
        Translation rows;
        try {
            rows = jetsql::translateTransform(tr->statement, catalog, pv);
        } catch (const jetsql::TranslateError& e) {
            throw EngineError(e.message);
        }
        sqlite = rows.sql;
        columns = rows.columns;
    }
    int rc = SQLITE_OK;
    sqlite3_stmt* stmt = acquire(sqlite, rc);
    if (rc != SQLITE_OK) {
        QString message = sqliteMessage(db, rc);
        const int before = schemaVersion;
        checkSchema();
        if (schemaVersion != before) {
            return runStatement(sql, wantRows, changes);
        }
        throw EngineError(message);
    }
    for (size_t i = 0; i < binds.size(); ++i) {
        const jetsql::LiftedValue& v = binds[i];
        const int index = static_cast<int>(i) + 1;
        if (v.kind == jetsql::LiftedValue::Kind::Number) {
            bool ok = false;
            const qlonglong n = v.text.toLongLong(&ok);
            if (ok) {
                sqlite3_bind_int64(stmt, index, n);
            } else {
                sqlite3_bind_double(stmt, index, v.text.toDouble());
            }
        } else {
            const QByteArray text = v.text.toUtf8();
            sqlite3_bind_text(stmt, index, text.constData(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
        }
    }
    if (tr->returnsRows && wantRows) {
        return PreparedRows{stmt, sqlite, columns};
    }
    while (true) {
        rc = sqlite3_step(stmt);
        if (rc == SQLITE_ROW) {
            continue;
        }
        break;
    }
    if (rc != SQLITE_DONE) {
        QString message = sqliteMessage(db, rc);
        sqlite3_finalize(stmt);
        throw EngineError(message);
    }
    if (!tr->returnsRows) {
        changes = sqlite3_changes(db);
    }
    release(stmt, sqlite);
    return {};
}

sqlite3_stmt* DatabasePrivate::acquire(const QString& sqlite, int& rc) {
    rc = SQLITE_OK;
    auto it = idle.find(sqlite);
    if (it != idle.end()) {
        sqlite3_stmt* stmt = it.value();
        idle.erase(it);
        return stmt;
    }
    const QByteArray utf8 = sqlite.toUtf8();
    sqlite3_stmt* stmt = nullptr;
    rc = sqlite3_prepare_v2(db, utf8.constData(), static_cast<int>(utf8.size()), &stmt, nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_finalize(stmt);
        return nullptr;
    }
    return stmt;
}

void DatabasePrivate::release(sqlite3_stmt* stmt, const QString& sqlite) {
    if (!stmt) {
        return;
    }
    if (!db || sqlite.isEmpty() || idle.contains(sqlite) || idle.size() >= 200) {
        sqlite3_finalize(stmt);
        return;
    }
    sqlite3_reset(stmt);
    sqlite3_clear_bindings(stmt);
    idle.insert(sqlite, stmt);
}

void DatabasePrivate::dropIdleStatements() {
    for (sqlite3_stmt* stmt : std::as_const(idle)) {
        sqlite3_finalize(stmt);
    }
    idle.clear();
}

void DatabasePrivate::structureChange(const Translation& tr) {
    detachQueries();
    atomically([&] {
        if (tr.dropsViewsFirst) {
            QStringList existing;
            {
                Statement v(db, QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'view'"));
                while (v.step()) {
                    existing << v.text(0);
                }
            }
            for (const QString& name : existing) {
                exec(QStringLiteral("DROP VIEW IF EXISTS %1").arg(jetsql::quoteIdentifier(name)));
            }
        }
        if (tr.kind == jetsql::Statement::Kind::AlterDropColumn) {
            // Indexes on the dropped column go with it.
            QStringList drop;
            Statement list(
                db, QStringLiteral("PRAGMA index_list(%1)").arg(jetsql::quoteIdentifier(tr.objectName)));
            while (list.step()) {
                const QString index = list.text(1);
                const QString origin = list.text(3);
                Statement info(db,
                               QStringLiteral("PRAGMA index_info(%1)").arg(jetsql::quoteIdentifier(index)));
                while (info.step()) {
                    if (info.text(2).compare(tr.name, Qt::CaseInsensitive) == 0) {
                        if (origin != u"c") {
                            throw EngineError(QStringLiteral("Impossible de supprimer la colonne %1 : elle "
                                                             "fait partie de la clé primaire")
                                                  .arg(tr.name));
                        }
                        drop << index;
                    }
                }
            }
            for (const QString& index : drop) {
                exec(QStringLiteral("DROP INDEX %1").arg(jetsql::quoteIdentifier(index)));
            }
        }
        exec(tr.sql);
        // Reading the new structure re-creates the views of the stored queries.
        loadCatalog();
    });
}

}  // namespace engine

using engine::Statement;

// ---------------------------------------------------------------------------

Database::Database() : d_(std::make_unique<DatabasePrivate>()) {}

Database::~Database() {
    close();
    for (engine::QueryPrivate* q : std::as_const(d_->queries)) {
        engine::forgetDatabase(q);
    }
    d_->queries.clear();
}

sqlite3* Database::handle() const {
    return d_->db;
}

namespace {

bool looksLikeSqliteFile(const QString& path, QString& why) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        why = f.errorString();
        return false;
    }
    const QByteArray header = f.read(100);
    if (header.size() < 100 || !header.startsWith(QByteArrayLiteral("SQLite format 3\0"))) {
        return false;
    }
    const auto* h = reinterpret_cast<const unsigned char*>(header.constData());
    quint32 pageSize = (static_cast<quint32>(h[16]) << 8) | h[17];
    if (pageSize == 1) {
        pageSize = 65536;
    }
    const quint32 pages = (static_cast<quint32>(h[28]) << 24) | (static_cast<quint32>(h[29]) << 16) |
                          (static_cast<quint32>(h[30]) << 8) | h[31];
    const quint32 changeCounter = (static_cast<quint32>(h[24]) << 24) | (static_cast<quint32>(h[25]) << 16) |
                                  (static_cast<quint32>(h[26]) << 8) | h[27];
    const quint32 validFor = (static_cast<quint32>(h[92]) << 24) | (static_cast<quint32>(h[93]) << 16) |
                             (static_cast<quint32>(h[94]) << 8) | h[95];
    if (pageSize < 512 || (pageSize & (pageSize - 1)) != 0) {
        return false;
    }
    if (f.size() % pageSize != 0) {
        return false;
    }
    if (pages != 0 && changeCounter == validFor && static_cast<qint64>(pages) * pageSize > f.size()) {
        return false;  // truncated
    }
    return true;
}

}  // namespace

void Database::open(const QString& path, bool exclusive) {
    close();
    const QString shown = QDir::toNativeSeparators(path);
    QFileInfo info(path);
    if (path.isEmpty() || !info.exists()) {
        throw EngineError(QStringLiteral("Le fichier %1 n'existe pas").arg(shown));
    }
    if (!info.isFile()) {
        throw EngineError(QStringLiteral("Le fichier %1 n'est pas une base de cave").arg(shown));
    }
    const QByteArray native = QFile::encodeName(info.absoluteFilePath());
    if (::access(native.constData(), R_OK) != 0) {
        throw EngineError(QStringLiteral("Le fichier %1 ne peut pas être lu (accès refusé)").arg(shown));
    }
    if (::access(native.constData(), W_OK) != 0) {
        throw EngineError(
            QStringLiteral("Le fichier %1 ne peut pas être modifié (accès refusé en écriture)").arg(shown));
    }
    QString why;
    if (!looksLikeSqliteFile(path, why)) {
        throw EngineError(QStringLiteral("Le fichier %1 n'est pas une base de cave").arg(shown));
    }
    int fd = ::open(native.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        throw EngineError(QStringLiteral("Le fichier %1 ne peut pas être ouvert").arg(shown));
    }
    if (::flock(fd, (exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB) != 0) {
        ::close(fd);
        throw EngineError(QStringLiteral("La base %1 est déjà ouverte par un autre programme").arg(shown));
    }
    sqlite3* db = nullptr;
    int rc = sqlite3_open_v2(native.constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_close(db);
        ::close(fd);
        throw EngineError(QStringLiteral("Le fichier %1 ne peut pas être ouvert").arg(shown));
    }
    sqlite3_extended_result_codes(db, 0);
    sqlite3_busy_timeout(db, 5000);
    if (jet::registerJetRuntime(db) != SQLITE_OK || engine::registerJetExtra(db) != SQLITE_OK) {
        sqlite3_close(db);
        ::close(fd);
        throw EngineError(QStringLiteral("Impossible de préparer le moteur de base de données"));
    }
    d_->db = db;
    d_->lockFd = fd;
    d_->path = path;
    d_->exclusive = exclusive;
    try {
        d_->exec(QStringLiteral("PRAGMA foreign_keys = OFF"));
        d_->loadCatalog();
    } catch (const EngineError& e) {
        close();
        throw EngineError(
            QStringLiteral("Le fichier %1 n'est pas une base de cave (%2)").arg(shown, e.message()));
    }
}

QString Database::aliasPath(const QString& alias) {
    SettingsStore store(SettingsRoot::LocalMachine);
    if (alias.isEmpty() || !store.openKeyReadOnly(SettingsStore::aliasesKey() + alias)) {
        return QString();
    }
    return store.readString(QStringLiteral("Path"));
}

void Database::openAlias(const QString& alias, bool exclusive) {
    const QString path = aliasPath(alias);
    if (path.isEmpty()) {
        close();
        throw EngineError(QStringLiteral("L'alias de base %1 n'existe pas ou n'a pas de chemin").arg(alias));
    }
    open(path, exclusive);
    d_->alias = alias;
}

void Database::close() {
    if (!d_) {
        return;
    }
    for (engine::QueryPrivate* q : d_->queries) {
        engine::closeQuery(q);
    }
    d_->cache.clear();
    d_->dropIdleStatements();
    if (d_->schemaStmt) {
        sqlite3_finalize(d_->schemaStmt);
        d_->schemaStmt = nullptr;
    }
    if (d_->db) {
        sqlite3_close_v2(d_->db);
        d_->db = nullptr;
    }
    if (d_->lockFd >= 0) {
        ::close(d_->lockFd);
        d_->lockFd = -1;
    }
    d_->path.clear();
    d_->alias.clear();
    d_->exclusive = false;
    d_->catalog = engine::EngineCatalog();
    d_->schemaVersion = -1;
}

bool Database::isOpen() const {
    return d_->db != nullptr;
}
QString Database::path() const {
    return d_->path;
}
QString Database::aliasName() const {
    return d_->alias;
}
bool Database::isExclusive() const {
    return d_->exclusive;
}

void Database::createEmpty(const QString& path) {
    const QString shown = QDir::toNativeSeparators(path);
    if (QFileInfo::exists(path)) {
        throw EngineError(QStringLiteral("Le fichier %1 existe déjà").arg(shown));
    }
    sqlite3* db = nullptr;
    int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &db,
                             SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (rc == SQLITE_OK) {
        char* err = nullptr;
        rc = sqlite3_exec(
            db,
            "PRAGMA application_id = 1447644751;"
            "CREATE TABLE _jet_queries (name TEXT NOT NULL PRIMARY KEY COLLATE NOCASE, sql TEXT NOT NULL);",
            nullptr, nullptr, &err);
        sqlite3_free(err);
    }
    sqlite3_close(db);
    if (rc != SQLITE_OK) {
        QFile::remove(path);
        throw EngineError(QStringLiteral("Impossible de créer le fichier %1").arg(shown));
    }
}

void Database::compact(const QString& source, const QString& destination) {
    if (QFileInfo::exists(destination)) {
        throw EngineError(
            QStringLiteral("Le fichier %1 existe déjà").arg(QDir::toNativeSeparators(destination)));
    }
    Database db;
    db.open(source, false);
    const QByteArray dest = QFile::encodeName(destination);
    Statement st(db.d_->db, QStringLiteral("VACUUM INTO ?"));
    sqlite3_bind_text(st.get(), 1, dest.constData(), static_cast<int>(dest.size()), SQLITE_TRANSIENT);
    try {
        st.step();
    } catch (const EngineError& e) {
        QFile::remove(destination);
        throw EngineError(QStringLiteral("Le compactage de la base a échoué : %1").arg(e.message()));
    }
}

int Database::execute(const QString& sql) {
    int changes = 0;
    d_->run(sql, false, changes);
    return changes;
}

void Database::beginTransaction() {
    execute(QStringLiteral("BEGIN TRANSACTION"));
}
void Database::commit() {
    execute(QStringLiteral("COMMIT"));
}
void Database::rollback() {
    execute(QStringLiteral("ROLLBACK"));
}
bool Database::inTransaction() const {
    return d_->db && !sqlite3_get_autocommit(d_->db);
}

QStringList Database::queryDefNames() const {
    d_->checkOpen();
    d_->checkSchema();
    return d_->catalog.queryOrder;
}

bool Database::hasQueryDef(const QString& name) const {
    d_->checkOpen();
    d_->checkSchema();
    const CatalogSource* s = d_->catalog.find(name);
    return s && s->isQuery;
}

QString Database::queryDefSql(const QString& name) const {
    if (!hasQueryDef(name)) {
        throw EngineError(QStringLiteral("Requête inconnue : %1").arg(name));
    }
    return d_->catalog.queryText.value(name.toLower());
}

namespace {
void checkQuerySyntax(const QString& sql) {
    try {
        jetsql::StatementP st = jetsql::parse(sql);
        if (st->kind != jetsql::Statement::Kind::Select) {
            throw EngineError(QStringLiteral("Une requête enregistrée doit être une instruction SELECT"));
        }
    } catch (const jetsql::SyntaxError& e) {
        throw EngineError(e.message);
    }
}
}  // namespace

void Database::setQueryDefSql(const QString& name, const QString& sql) {
    if (!hasQueryDef(name)) {
        throw EngineError(QStringLiteral("Requête inconnue : %1").arg(name));
    }
    checkQuerySyntax(sql);
    const QString canonical = d_->catalog.find(name)->name;
    d_->detachQueries();
    d_->atomically([&] {
        Statement up(d_->db, QStringLiteral("UPDATE _jet_queries SET sql = ? WHERE name = ?"));
        const QByteArray s = sql.toUtf8(), n = canonical.toUtf8();
        sqlite3_bind_text(up.get(), 1, s.constData(), static_cast<int>(s.size()), SQLITE_TRANSIENT);
        sqlite3_bind_text(up.get(), 2, n.constData(), static_cast<int>(n.size()), SQLITE_TRANSIENT);
        up.step();
        d_->catalog.queryText.insert(canonical.toLower(), sql);
        d_->rebuildViews();
    });
}

void Database::createQueryDef(const QString& name, const QString& sql) {
    d_->checkOpen();
    d_->checkSchema();
    if (name.trimmed().isEmpty()) {
        throw EngineError(QStringLiteral("Nom de requête vide"));
    }
    if (d_->catalog.find(name)) {
        throw EngineError(QStringLiteral("La table ou requête %1 existe déjà").arg(name));
    }
    checkQuerySyntax(sql);
    d_->detachQueries();
    d_->atomically([&] {
        d_->ensureQueryTable();
        Statement ins(d_->db, QStringLiteral("INSERT INTO _jet_queries (name, sql) VALUES (?, ?)"));
        const QByteArray n = name.toUtf8(), s = sql.toUtf8();
        sqlite3_bind_text(ins.get(), 1, n.constData(), static_cast<int>(n.size()), SQLITE_TRANSIENT);
        sqlite3_bind_text(ins.get(), 2, s.constData(), static_cast<int>(s.size()), SQLITE_TRANSIENT);
        ins.step();
        d_->catalog.queryOrder << name;
        d_->catalog.queryText.insert(name.toLower(), sql);
        d_->rebuildViews();
    });
}

void Database::deleteQueryDef(const QString& name) {
    execute(QStringLiteral("DROP VIEW [%1]").arg(name));
}

void Database::renameColumn(const QString& table, const QString& oldName, const QString& newName) {
    d_->checkOpen();
    d_->checkSchema();
    const CatalogSource* t = d_->catalog.find(table);
    if (!t || t->isQuery) {
        throw EngineError(QStringLiteral("Table inconnue : %1").arg(table));
    }
    const int index = t->columnIndex(oldName);
    if (index < 0) {
        throw EngineError(QStringLiteral("Colonne inconnue : %1").arg(oldName));
    }
    if (newName.trimmed().isEmpty() || newName.contains(u'[') || newName.contains(u']')) {
        throw EngineError(QStringLiteral("Nom de colonne non valide : %1").arg(newName));
    }
    const int other = t->columnIndex(newName);
    if (other >= 0 && other != index) {
        throw EngineError(QStringLiteral("La colonne %1 existe déjà dans la table %2").arg(newName, t->name));
    }
    jetsql::Translation tr;
    tr.kind = jetsql::Statement::Kind::AlterAlterColumn;
    tr.dropsViewsFirst = true;
    tr.objectName = t->name;
    tr.sql = QStringLiteral("ALTER TABLE %1 RENAME COLUMN %2 TO %3")
                 .arg(jetsql::quoteIdentifier(t->name),
                      jetsql::quoteIdentifier(t->columns[static_cast<size_t>(index)].sqlName),
                      jetsql::quoteIdentifier(newName));
    d_->structureChange(tr);
}

QStringList Database::tableNames() const {
    d_->checkOpen();
    d_->checkSchema();
    return d_->catalog.tableOrder;
}

QStringList Database::fieldNames(const QString& table) const {
    d_->checkOpen();
    d_->checkSchema();
    const CatalogSource* s = d_->catalog.find(table);
    if (!s) {
        throw EngineError(QStringLiteral("Table ou requête inconnue : %1").arg(table));
    }
    if (!s->brokenMessage.isEmpty()) {
        throw EngineError(s->brokenMessage);
    }
    QStringList names;
    for (const CatalogColumn& c : s->columns) {
        names << c.name;
    }
    return names;
}

QString Database::translate(const QString& sql) {
    return d_->translation(sql)->sql;
}

}  // namespace vinorium::data
