#pragma once

// Internals of the cellar engine shared by the connection and query objects.

#include "data/engine/database.h"
#include "data/engine/jetsql.h"
#include "data/engine/query.h"

#include <QHash>
#include <QSet>
#include <QVariant>

#include <map>
#include <memory>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace vinorium::data::engine {

// Registers the engine's own SQL functions (beside the Jet run-time ones):
// jet_cdate, jet_datepart, jet_fix, jet_right, jet_ucase, jet_lcase, jet_instr.
int registerJetExtra(sqlite3* db);

// The schema of an open cellar, as the translator reads it.
class EngineCatalog : public jetsql::Catalog {
  public:
    const jetsql::CatalogSource* find(const QString& name) const override;

    std::map<QString, jetsql::CatalogSource> sources;  // by lower-case name
    QStringList tableOrder;                            // table names, creation order
    QStringList queryOrder;                            // stored query names, creation order
    QHash<QString, QString> queryText;                 // lower-case name -> Jet text
};

FieldKind fieldKind(jetsql::ValueKind kind);

// A prepared statement for rows, with what the translator knows of its columns.
struct PreparedRows {
    sqlite3_stmt* stmt = nullptr;
    QString text;  // its SQLite text, to give it back to the pool
    std::vector<jetsql::OutputColumn> columns;
};

struct DatabasePrivate {
    sqlite3* db = nullptr;
    QString path;
    QString alias;
    bool exclusive = false;
    int lockFd = -1;
    EngineCatalog catalog;
    int schemaVersion = -1;
    sqlite3_stmt* schemaStmt = nullptr;
    QHash<QString, std::shared_ptr<jetsql::Translation>> cache;
    // Translations of statement shapes (literals lifted out as parameters).
    bool useShapes = true;
    QHash<QString, std::shared_ptr<jetsql::Translation>> shapes;
    QSet<QueryPrivate*> queries;

    // Translation of a statement against the current schema (cached per text).
    std::shared_ptr<jetsql::Translation> translation(const QString& sql);
    // Runs a statement; for a statement with rows, prepares it and returns it
    // (the caller steps and finalizes). Returns changed rows in changes.
    PreparedRows run(const QString& sql, bool wantRows, int& changes);
    PreparedRows runStatement(const QString& sql, bool wantRows, int& changes);

    // Prepared statements kept for reuse, by SQLite text (one idle statement per text).
    QHash<QString, sqlite3_stmt*> idle;
    sqlite3_stmt* acquire(const QString& sqlite, int& rc);
    void release(sqlite3_stmt* stmt, const QString& sqlite);
    void dropIdleStatements();

    void checkOpen() const;
    void checkSchema();
    void loadCatalog();
    // Drops every view and creates again those of the stored queries that
    // translate (the others stay in the catalog, failing when used).
    void rebuildViews();
    void ensureQueryTable();
    void exec(const QString& sqlite);
    // Detaches every open query from its statement (reads its remaining rows),
    // before a structure change.
    void detachQueries();
    // Runs body inside a savepoint; on failure rolls back to it and rethrows.
    template <typename F>
    void atomically(F body);
    void structureChange(const jetsql::Translation& tr);
    std::vector<jetsql::PivotValue> pivotValues(sqlite3_stmt* stmt);
};

// Query objects as the connection sees them (query.cpp).
struct QueryPrivate;
void closeQuery(QueryPrivate* q);
// The connection goes away before the query: the query forgets it.
void forgetDatabase(QueryPrivate* q);
void detachQuery(QueryPrivate* q);

// The French message for an SQLite failure.
QString sqliteMessage(sqlite3* db, int rc);

// A value of the current row, read from a statement column.
QVariant columnValue(sqlite3_stmt* stmt, int column);

}  // namespace vinorium::data::engine
