#pragma once

// The cellar engine's connection: one cellar file (SQLite underneath) reached
// through SQL in the Jet dialect. Every statement handed to the engine is Jet
// text; the engine translates it and runs it.
//
// A cellar at rest is one file: tables, stored queries (kept with their Jet
// text) and data. While a connection is open it holds a shared lock on the file;
// an exclusive connection holds an exclusive one, so an exclusive open fails
// while any other connection, of this process or another, has the file open.

#include <QString>
#include <QStringList>

#include <memory>
#include <stdexcept>

struct sqlite3;

namespace vinorium::data {

// Every failure of the engine: a French message meant for the user.
class EngineError : public std::runtime_error {
  public:
    explicit EngineError(const QString& message);
    const QString& message() const { return message_; }

  private:
    QString message_;
};

class Query;

namespace engine {
struct DatabasePrivate;
}

class Database {
  public:
    Database();
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // Connects to a cellar file. Fails (EngineError) for a missing file, a file
    // that is not a cellar, a file without read or write permission, and a file
    // held by an exclusive connection; with exclusive, also while any other
    // connection holds it. An open connection is closed first.
    void open(const QString& path, bool exclusive = false);
    // Resolves an alias of the alias registry to its "Path" and opens that file.
    void openAlias(const QString& alias, bool exclusive = false);
    // The "Path" of an alias in the alias registry; empty when the alias or its
    // value is missing.
    static QString aliasPath(const QString& alias);
    void close();
    bool isOpen() const;
    QString path() const;
    // The alias given to openAlias; empty after a plain open.
    QString aliasName() const;
    bool isExclusive() const;

    // Creates a new empty cellar file (no tables). Refused when the file exists.
    static void createEmpty(const QString& path);
    // Copies a closed cellar into a new, compacted file. The destination must
    // not exist; the source must not be held exclusively.
    static void compact(const QString& source, const QString& destination);

    // Runs one Jet statement of any kind; a SELECT runs and its rows are dropped.
    // Also accepts BEGIN TRANSACTION, COMMIT and ROLLBACK.
    // Returns the number of rows changed by INSERT, UPDATE and DELETE (else 0).
    int execute(const QString& sql);

    void beginTransaction();
    void commit();
    void rollback();
    bool inTransaction() const;

    // Stored queries (query definitions), by case-insensitive name.
    QStringList queryDefNames() const;
    bool hasQueryDef(const QString& name) const;
    // The Jet text of a stored query; fails when there is none of that name.
    QString queryDefSql(const QString& name) const;
    // Replaces the text of an existing stored query (fails when missing); the
    // queries reading it follow the new text.
    void setQueryDefSql(const QString& name, const QString& sql);
    // Adds a stored query; fails when a table or query of that name exists.
    void createQueryDef(const QString& name, const QString& sql);
    void deleteQueryDef(const QString& name);

    // Renames a column of a table, keeping its data. Stored queries that still
    // name the old column fail when used until they are rewritten.
    void renameColumn(const QString& table, const QString& oldName, const QString& newName);

    // Names of the user tables (no stored queries), in creation order.
    QStringList tableNames() const;
    // Column names of a table or of a stored query, in order; fails when unknown.
    QStringList fieldNames(const QString& table) const;

    // The SQLite text the engine runs for a Jet statement (for tools and tests).
    // A cross-tab gives the text of its first step.
    QString translate(const QString& sql);

    // Engine internals (query objects, tools).
    engine::DatabasePrivate* d() const { return d_.get(); }
    sqlite3* handle() const;

  private:
    std::unique_ptr<engine::DatabasePrivate> d_;
};

}  // namespace vinorium::data
