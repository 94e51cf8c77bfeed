// The query object and its fields.

#include "data/engine/query.h"

#include "data/engine/engineprivate.h"
#include "data/engine/jetruntime.h"

#include <sqlite3.h>

#include <cmath>
#include <string>

namespace vinorium::data {

namespace engine {

struct QueryPrivate {
    Database* database = nullptr;
    QStringList lines;
    bool active = false;
    sqlite3_stmt* stmt = nullptr;  // while rows remain to be read
    std::vector<jetsql::OutputColumn> columns;
    // The rows read so far, kept as SQLite gave them: one cell per value,
    // texts and blobs in one byte pool, converted when a field is read.
    struct Cell {
        union {
            qint64 i;
            double d;
            struct {
                quint32 offset;
                quint32 length;
            } bytes;
        };
        int type = SQLITE_NULL;
        Cell() : i(0) {}
    };
    std::vector<Cell> cells;
    std::string pool;
    size_t rowCount = 0;
    size_t width = 0;
    // Forward only: the rows kept start at row base (the earlier ones are gone).
    bool forwardOnly = false;
    size_t base = 0;

    size_t rowsRead() const { return rowCount; }

    QVariant value(size_t row, size_t column) const {
        const Cell& c = cells[(row - base) * width + column];
        switch (c.type) {
            case SQLITE_INTEGER:
                return QVariant(static_cast<qlonglong>(c.i));
            case SQLITE_FLOAT:
                return QVariant(c.d);
            case SQLITE_TEXT:
                return QVariant(
                    QString::fromUtf8(pool.data() + c.bytes.offset, static_cast<qsizetype>(c.bytes.length)));
            case SQLITE_BLOB:
                return QVariant(
                    QByteArray(pool.data() + c.bytes.offset, static_cast<qsizetype>(c.bytes.length)));
            default:
                return QVariant();
        }
    }
    size_t pos = 0;
    int changes = 0;

    DatabasePrivate* db() const { return database ? database->d() : nullptr; }

    QString stmtText;

    // Done with the statement: back to the connection's pool when it ran to its end.
    void finalize(bool reusable = false) {
        if (stmt) {
            if (reusable && db()) {
                db()->release(stmt, stmtText);
            } else {
                sqlite3_finalize(stmt);
            }
            stmt = nullptr;
        }
    }

    // Reads rows until row n exists or the result ends. Forward only, the rows
    // before the current one are dropped unless every row is to be kept.
    void fetchUntil(size_t n, bool keepAll = false) {
        while (stmt && rowCount <= n) {
            int rc = sqlite3_step(stmt);
            if (rc == SQLITE_ROW) {
                if (forwardOnly && !keepAll && rowCount > base && rowCount - 1 < pos) {
                    cells.clear();
                    pool.clear();
                    base = rowCount;
                }
                width = static_cast<size_t>(sqlite3_column_count(stmt));
                for (size_t i = 0; i < width; ++i) {
                    const int col = static_cast<int>(i);
                    Cell cell;
                    cell.type = sqlite3_column_type(stmt, col);
                    switch (cell.type) {
                        case SQLITE_INTEGER:
                            cell.i = sqlite3_column_int64(stmt, col);
                            break;
                        case SQLITE_FLOAT:
                            cell.d = sqlite3_column_double(stmt, col);
                            break;
                        case SQLITE_TEXT:
                        case SQLITE_BLOB: {
                            const void* p = cell.type == SQLITE_TEXT
                                                ? static_cast<const void*>(sqlite3_column_text(stmt, col))
                                                : sqlite3_column_blob(stmt, col);
                            cell.bytes.length = static_cast<quint32>(sqlite3_column_bytes(stmt, col));
                            cell.bytes.offset = static_cast<quint32>(pool.size());
                            pool.append(static_cast<const char*>(p), cell.bytes.length);
                            break;
                        }
                        default:
                            break;
                    }
                    cells.push_back(cell);
                }
                ++rowCount;
            } else {
                QString message;
                if (rc != SQLITE_DONE) {
                    message = sqliteMessage(sqlite3_db_handle(stmt), rc);
                }
                finalize(rc == SQLITE_DONE);
                if (!message.isEmpty()) {
                    throw EngineError(message);
                }
            }
        }
    }

    void close() {
        finalize();
        active = false;
        cells.clear();
        cells.shrink_to_fit();
        pool.clear();
        pool.shrink_to_fit();
        rowCount = 0;
        base = 0;
        columns.clear();
        pos = 0;
    }

    // The rows before the current one are gone: nothing can go back.
    void checkBackward() const {
        if (base > 0) {
            throw EngineError(QStringLiteral("La requête ne lit ses lignes qu'en avançant"));
        }
    }
};

void closeQuery(QueryPrivate* q) {
    q->close();
}

void forgetDatabase(QueryPrivate* q) {
    q->close();
    q->database = nullptr;
}

void detachQuery(QueryPrivate* q) {
    try {
        q->fetchUntil(static_cast<size_t>(-2), true);
    } catch (const EngineError&) {
        q->finalize();
    }
}

}  // namespace engine

// ---------------------------------------------------------------------------
// Field

Field::Field(QString name, QVariant value, FieldKind kind)
    : name_(std::move(name)), value_(std::move(value)), kind_(kind) {}

namespace {

std::optional<QDateTime> storedDate(const QVariant& v) {
    if (v.userType() == QMetaType::QString) {
        return jet::parseStoredDate(v.toString());
    }
    return std::nullopt;
}

QString dateText(const QDateTime& dt) {
    QString s = dt.date().toString(QStringLiteral("dd/MM/yyyy"));
    if (dt.time() != QTime(0, 0)) {
        s += dt.time().toString(QStringLiteral(" hh:mm:ss"));
    }
    return s;
}

[[noreturn]] void conversionError(const QString& text, const char* what) {
    throw EngineError(QStringLiteral("« %1 » n'est pas %2").arg(text, QLatin1String(what)));
}

}  // namespace

bool Field::isNull() const {
    return value_.isNull() || !value_.isValid();
}

QVariant Field::value() const {
    if (kind_ == FieldKind::Date) {
        if (auto d = storedDate(value_)) {
            return *d;
        }
    }
    return value_;
}

QString Field::asString() const {
    if (isNull()) {
        return QString();
    }
    switch (value_.userType()) {
        case QMetaType::LongLong:
            return QString::number(value_.toLongLong());
        case QMetaType::Double:
            if (kind_ == FieldKind::Date) {
                QDateTime dt = jet::fromDayNumber(value_.toDouble());
                if (dt.isValid()) {
                    return dateText(dt);
                }
            }
            return jet::formatNumber(value_.toDouble());
        case QMetaType::QByteArray:
            return QString::fromUtf8(value_.toByteArray());
        default:
            break;
    }
    if (kind_ == FieldKind::Date) {
        if (auto d = storedDate(value_)) {
            return dateText(*d);
        }
    }
    return value_.toString();
}

qlonglong Field::asInteger() const {
    if (isNull()) {
        return 0;
    }
    switch (value_.userType()) {
        case QMetaType::LongLong:
            return value_.toLongLong();
        case QMetaType::Double: {
            const double d = value_.toDouble();
            if (!std::isfinite(d) || std::fabs(d) > 9.2e18) {
                conversionError(asString(), "une valeur entière valide");
            }
            return static_cast<qlonglong>(std::llround(d));
        }
        default:
            break;
    }
    const QString text = value_.toString();
    if (auto d = storedDate(value_)) {
        return static_cast<qlonglong>(std::floor(jet::dayNumber(*d)));
    }
    bool ok = false;
    const qlonglong i = text.trimmed().toLongLong(&ok);
    if (ok) {
        return i;
    }
    if (auto n = jet::numericText(text)) {
        if (std::fabs(*n) < 9.2e18) {
            return static_cast<qlonglong>(std::llround(*n));
        }
    }
    conversionError(text, "une valeur entière valide");
}

double Field::asFloat() const {
    if (isNull()) {
        return 0.0;
    }
    switch (value_.userType()) {
        case QMetaType::LongLong:
            return static_cast<double>(value_.toLongLong());
        case QMetaType::Double:
            return value_.toDouble();
        default:
            break;
    }
    const QString text = value_.toString();
    if (auto n = jet::numericText(text)) {
        return *n;
    }
    if (auto d = storedDate(value_)) {
        return jet::dayNumber(*d);
    }
    conversionError(text, "une valeur numérique valide");
}

bool Field::asBoolean() const {
    if (isNull()) {
        return false;
    }
    switch (value_.userType()) {
        case QMetaType::LongLong:
            return value_.toLongLong() != 0;
        case QMetaType::Double:
            return value_.toDouble() != 0.0;
        default:
            break;
    }
    const QString text = value_.toString().trimmed();
    if (text.compare(u"true", Qt::CaseInsensitive) == 0 || text.compare(u"vrai", Qt::CaseInsensitive) == 0 ||
        text.compare(u"oui", Qt::CaseInsensitive) == 0) {
        return true;
    }
    if (text.isEmpty() || text.compare(u"false", Qt::CaseInsensitive) == 0 ||
        text.compare(u"faux", Qt::CaseInsensitive) == 0 || text.compare(u"non", Qt::CaseInsensitive) == 0) {
        return false;
    }
    if (auto n = jet::numericText(text)) {
        return *n != 0.0;
    }
    conversionError(text, "une valeur booléenne valide");
}

QDateTime Field::asDateTime() const {
    if (isNull()) {
        return QDateTime();
    }
    switch (value_.userType()) {
        case QMetaType::LongLong:
        case QMetaType::Double: {
            QDateTime dt = jet::fromDayNumber(value_.toDouble());
            if (!dt.isValid()) {
                conversionError(asString(), "une date valide");
            }
            return dt;
        }
        default:
            break;
    }
    if (auto d = storedDate(value_)) {
        return *d;
    }
    const QString text = value_.toString();
    if (auto d = jet::dateValue(text)) {
        return *d;
    }
    conversionError(text, "une date valide");
}

// ---------------------------------------------------------------------------
// Query

Query::Query(Database* database) : d_(std::make_unique<engine::QueryPrivate>()) {
    setDatabase(database);
}

Query::~Query() {
    setDatabase(nullptr);
}

void Query::setDatabase(Database* database) {
    close();
    if (d_->db()) {
        d_->db()->queries.remove(d_.get());
    }
    d_->database = database;
    if (d_->db()) {
        d_->db()->queries.insert(d_.get());
    }
}

Database* Query::database() const {
    return d_->database;
}

void Query::setSql(const QString& sql) {
    close();
    d_->lines = QStringList{sql};
}

void Query::clear() {
    close();
    d_->lines.clear();
}

void Query::addLine(const QString& line) {
    close();
    d_->lines << line;
}

QString Query::sql() const {
    return d_->lines.join(QLatin1Char('\n'));
}

namespace {
engine::DatabasePrivate* connection(engine::QueryPrivate* d) {
    if (!d->database) {
        throw EngineError(QStringLiteral("La requête n'est liée à aucune base"));
    }
    engine::DatabasePrivate* db = d->db();
    db->checkOpen();
    return db;
}

// The text to run; an empty one is refused.
QString statement(const QString& text) {
    if (text.trimmed().isEmpty()) {
        throw EngineError(QStringLiteral("La requête ne contient aucune instruction"));
    }
    return text;
}
}  // namespace

void Query::open() {
    close();
    engine::DatabasePrivate* db = connection(d_.get());
    const QString text = statement(sql());
    int changes = 0;
    engine::PreparedRows rows = db->run(text, true, changes);
    d_->stmt = rows.stmt;
    d_->stmtText = rows.text;
    d_->columns = rows.columns;
    d_->changes = changes;
    d_->active = true;
    d_->pos = 0;
    try {
        d_->fetchUntil(0);
    } catch (...) {
        d_->close();
        throw;
    }
}

void Query::execSql() {
    close();
    engine::DatabasePrivate* db = connection(d_.get());
    const QString text = statement(sql());
    int changes = 0;
    db->run(text, false, changes);
    d_->changes = changes;
}

void Query::close() {
    d_->close();
}

void Query::setForwardOnly(bool forwardOnly) {
    d_->forwardOnly = forwardOnly;
}

bool Query::forwardOnly() const {
    return d_->forwardOnly;
}
bool Query::isActive() const {
    return d_->active;
}
int Query::rowsAffected() const {
    return d_->changes;
}

void Query::first() {
    if (!d_->active) {
        throw EngineError(QStringLiteral("La requête n'est pas ouverte"));
    }
    d_->checkBackward();
    d_->pos = 0;
}

void Query::next() {
    if (!d_->active) {
        throw EngineError(QStringLiteral("La requête n'est pas ouverte"));
    }
    if (d_->pos < d_->rowsRead()) {
        ++d_->pos;
    }
    d_->fetchUntil(d_->pos);
}

bool Query::eof() const {
    return !d_->active || d_->pos >= d_->rowsRead();
}
bool Query::bof() const {
    return !d_->active || d_->pos == 0;
}

int Query::recordCount() {
    if (!d_->active) {
        return 0;
    }
    d_->fetchUntil(static_cast<size_t>(-2), true);
    return static_cast<int>(d_->rowsRead());
}

int Query::recNo() const {
    return static_cast<int>(d_->pos);
}

bool Query::locate(const QString& fieldName, const QVariant& value, bool caseInsensitive) {
    const int index = fieldIndex(fieldName);
    if (index < 0) {
        throw EngineError(QStringLiteral("Colonne inconnue : %1").arg(fieldName));
    }
    d_->checkBackward();
    const FieldKind kind = engine::fieldKind(d_->columns[static_cast<size_t>(index)].kind);
    const bool numeric = value.userType() == QMetaType::Int || value.userType() == QMetaType::LongLong ||
                         value.userType() == QMetaType::Double || value.userType() == QMetaType::UInt ||
                         value.userType() == QMetaType::ULongLong;
    for (size_t row = 0;; ++row) {
        d_->fetchUntil(row, true);
        if (row >= d_->rowsRead()) {
            return false;
        }
        Field f(QString(), d_->value(row, static_cast<size_t>(index)), kind);
        bool match = false;
        if (value.isNull()) {
            match = f.isNull();
        } else if (f.isNull()) {
            match = false;
        } else if (numeric) {
            try {
                match = f.asFloat() == value.toDouble();
            } catch (const EngineError&) {
                match = false;
            }
        } else {
            match = f.asString().compare(value.toString(),
                                         caseInsensitive ? Qt::CaseInsensitive : Qt::CaseSensitive) == 0;
        }
        if (match) {
            d_->pos = row;
            return true;
        }
    }
}

int Query::fieldCount() const {
    return static_cast<int>(d_->columns.size());
}

QString Query::fieldName(int index) const {
    if (index < 0 || index >= fieldCount()) {
        throw EngineError(QStringLiteral("Numéro de colonne hors limites : %1").arg(index));
    }
    return d_->columns[static_cast<size_t>(index)].name;
}

QStringList Query::fieldNames() const {
    QStringList names;
    for (const auto& c : d_->columns) {
        names << c.name;
    }
    return names;
}

int Query::fieldIndex(const QString& name) const {
    for (size_t i = 0; i < d_->columns.size(); ++i) {
        if (d_->columns[i].name.compare(name, Qt::CaseInsensitive) == 0) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

Field Query::field(const QString& name) const {
    const int index = fieldIndex(name);
    if (index < 0) {
        throw EngineError(QStringLiteral("Colonne inconnue : %1").arg(name));
    }
    return field(index);
}

Field Query::field(int index) const {
    if (index < 0 || index >= fieldCount()) {
        throw EngineError(QStringLiteral("Numéro de colonne hors limites : %1").arg(index));
    }
    if (eof()) {
        throw EngineError(QStringLiteral("Aucune ligne courante"));
    }
    const auto& c = d_->columns[static_cast<size_t>(index)];
    return Field(c.name, d_->value(d_->pos, static_cast<size_t>(index)), engine::fieldKind(c.kind));
}

}  // namespace vinorium::data
