#pragma once

// The query object: SQL text (Jet dialect) bound to a connection, opened for
// rows or executed. Rows are read from the engine as the caller moves forward
// and kept (unless the query is forward only), so first(), locate() and
// recordCount() work on them afterwards.

#include "data/engine/database.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>

namespace vinorium::data {

// What a result column holds, as far as the engine knows it.
enum class FieldKind { Unknown, Text, Integer, Float, Boolean, Date, Binary };

// One value of the current row. Conversions follow the engine's conventions:
// Null reads as the empty text, 0, false or an invalid date; numbers read as
// text with a decimal comma; dates as dd/MM/yyyy (with hh:mm:ss when there is a
// time); yes/no as -1 or 0. A value that cannot convert raises EngineError.
class Field {
  public:
    Field() = default;
    Field(QString name, QVariant value, FieldKind kind);

    const QString& name() const { return name_; }
    FieldKind kind() const { return kind_; }
    // The stored value: qlonglong, double, QString, QByteArray, QDateTime for
    // dates, or a null QVariant.
    QVariant value() const;
    bool isNull() const;
    QString asString() const;
    qlonglong asInteger() const;
    bool asBoolean() const;
    double asFloat() const;
    QDateTime asDateTime() const;

  private:
    QString name_;
    QVariant value_;
    FieldKind kind_ = FieldKind::Unknown;
};

namespace engine {
struct QueryPrivate;
}

class Query {
  public:
    explicit Query(Database* database = nullptr);
    ~Query();
    Query(const Query&) = delete;
    Query& operator=(const Query&) = delete;

    void setDatabase(Database* database);
    Database* database() const;

    // The SQL text, replaced whole: setSql, or clear followed by addLine (lines
    // are joined with a line feed). Changing the text closes the query.
    void setSql(const QString& sql);
    void clear();
    void addLine(const QString& line);
    QString sql() const;

    // Runs the statement for rows and moves to the first row.
    void open();
    // Runs a statement without rows (any statement; rows are dropped).
    void execSql();
    void close();
    bool isActive() const;
    // Forward only, a query keeps no more than the current row: for a long
    // result read once from start to end. first() and locate() then fail
    // once the query has moved past rows; recordCount() keeps what it reads.
    void setForwardOnly(bool forwardOnly);
    bool forwardOnly() const;
    // Rows changed by the last execSql.
    int rowsAffected() const;

    void first();
    void next();
    bool eof() const;
    bool bof() const;
    // Number of rows of the open result (reads them all).
    int recordCount();
    // Position of the current row, from 0.
    int recNo() const;
    // Moves to the first row whose field equals value (numbers numerically,
    // texts exactly, or without case when caseInsensitive); false, and the
    // position unchanged, when no row matches.
    bool locate(const QString& fieldName, const QVariant& value, bool caseInsensitive = false);

    int fieldCount() const;
    QString fieldName(int index) const;
    QStringList fieldNames() const;
    // Index of a field by case-insensitive name (the first of that name), -1 when absent.
    int fieldIndex(const QString& name) const;
    // Fields of the current row; unknown name or no current row raise EngineError.
    Field field(const QString& name) const;
    Field field(int index) const;

  private:
    std::unique_ptr<engine::QueryPrivate> d_;
};

}  // namespace vinorium::data
