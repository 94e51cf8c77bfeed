#pragma once

// Jet-dialect SQL: syntax tree, parser and translator to SQLite SQL.
//
// The parser is a hand-written recursive descent over Jet's grammar and
// operator precedence (from loosest: IMP, EQV, XOR, OR, AND, NOT, comparisons
// with LIKE / BETWEEN / IN / IS, &, + -, MOD, \, * /, unary minus, ^).
// The translator resolves every name against a catalog (case-insensitively),
// infers the kind of every expression and emits SQLite SQL that calls the Jet
// run-time functions (jetruntime.h) wherever SQLite's own semantics differ.

#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace vinorium::data::jetsql {

// ---------------------------------------------------------------------------
// Syntax tree

struct Select;
using SelectP = std::shared_ptr<Select>;

struct Expr;
using ExprP = std::shared_ptr<Expr>;

struct Expr {
    enum class Kind {
        Null,
        Number,    // text: the literal as written (point as separator)
        String,    // text: the value
        Date,      // text: ISO stored form
        Boolean,   // number: -1 or 0
        Column,    // qualifier (may be empty), name
        Star,      // qualifier (may be empty): * or t.*
        Unary,     // op: "-", "+", "NOT"; args[0]
        Binary,    // op: OR AND XOR EQV IMP = <> < > <= >= & + - * / \ MOD ^ ; args[0], args[1]
        IsNull,    // args[0]; negated
        Between,   // args[0] BETWEEN args[1] AND args[2]; negated
        InList,    // args[0] IN (args[1..]); negated
        InSelect,  // args[0] IN (select); negated
        Exists,    // EXISTS (select)
        Scalar,    // (select)
        Like,      // args[0] LIKE args[1]; negated
        Call,      // name(args); star for Count(*)
        Raw,       // already translated SQLite text (internal use), with a kind
        Param,     // a literal lifted out of the statement: text "?n", rawKind its ValueKind
    };
    Kind kind = Kind::Null;
    QString text;       // literal text, operator, function name
    QString qualifier;  // Column / Star
    QString name;       // Column
    std::vector<ExprP> args;
    SelectP select;
    bool negated = false;
    bool star = false;
    int rawKind = 0;   // Raw: a ValueKind
    int position = 0;  // offset in the statement text, for messages
};

struct SelectItem {
    ExprP expr;
    QString alias;
};

struct TableRef;
using TableRefP = std::shared_ptr<TableRef>;

struct TableRef {
    enum class Kind { Table, Subquery, Join };
    enum class JoinType { Inner, Left, Right };
    Kind kind = Kind::Table;
    QString name;    // Table
    QString alias;   // Table / Subquery
    SelectP select;  // Subquery
    JoinType joinType = JoinType::Inner;
    TableRefP left, right;  // Join
    ExprP on;               // Join
};

struct OrderItem {
    ExprP expr;
    bool descending = false;
};

struct Select {
    bool distinct = false;
    bool distinctRow = false;
    long long top = -1;
    bool topPercent = false;
    std::vector<SelectItem> items;
    std::vector<TableRefP> from;  // comma-separated sources (cross join)
    ExprP where;
    std::vector<ExprP> groupBy;
    ExprP having;
    std::vector<OrderItem> orderBy;  // of the whole statement (unions included)
    struct Union {
        bool all = false;
        SelectP select;
    };
    std::vector<Union> unions;
};

struct ColumnType {
    QString type;    // Jet type name as written, upper case (TEXT, LONG, BIT, ...)
    int width = -1;  // TEXT(n)
    int scale = -1;  // DECIMAL(p, s)
};

struct ColumnDefinition {
    QString name;
    ColumnType type;
    bool notNull = false;
    bool primaryKey = false;
    bool unique = false;
    QString constraintName;
    ExprP defaultValue;
};

struct TableConstraint {
    enum class Kind { PrimaryKey, Unique, ForeignKey };
    Kind kind = Kind::PrimaryKey;
    QString name;
    QStringList columns;
};

struct Statement;
using StatementP = std::shared_ptr<Statement>;

struct Statement {
    enum class Kind {
        Select,
        Insert,
        Update,
        Delete,
        CreateTable,
        AlterAddColumn,
        AlterDropColumn,
        AlterAlterColumn,
        AlterAddConstraint,
        AlterDropConstraint,
        DropTable,
        CreateIndex,
        DropIndex,
        CreateView,
        DropView,
        Transform,
        Begin,
        Commit,
        Rollback,
    };
    Kind kind = Kind::Select;
    SelectP select;  // Select, Insert ... SELECT, CreateView, Transform (the row part)

    // Insert / Update / Delete / DDL
    QString table;
    QStringList columns;                        // Insert column list, index columns
    std::vector<std::vector<ExprP>> values;     // Insert VALUES rows
    std::vector<TableRefP> sources;             // Update tables, Delete FROM
    std::vector<std::pair<ExprP, ExprP>> sets;  // Update: column reference, value
    ExprP where;

    std::vector<ColumnDefinition> columnDefs;  // CreateTable, AlterAdd/AlterColumn (one)
    std::vector<TableConstraint> constraints;  // CreateTable, AlterAddConstraint
    QString name;                              // index, view, constraint, dropped column
    bool unique = false;                       // CreateIndex
    bool primary = false;                      // CreateIndex WITH PRIMARY

    // Transform
    ExprP transformValue;  // the aggregate call
    QString transformAlias;
    ExprP pivot;
    std::vector<ExprP> pivotIn;
};

// A syntax error; message is French.
struct SyntaxError {
    QString message;
    int position = 0;
};

// Parses one statement (a trailing ";" is accepted). Throws SyntaxError.
StatementP parse(const QString& sql);

// A DML statement with its literals lifted out as parameters ?1, ?2, ...: the
// same translation then serves every statement of that shape (the wine card
// loads each wine with the same text but its key). key identifies the shape.
struct LiftedValue {
    enum class Kind { Number, Text, Date };
    Kind kind = Kind::Number;
    QString text;  // number as written, text value, ISO date
};
struct Lifted {
    QString key;
    std::vector<LiftedValue> values;
    StatementP statement;
};
// Empty for statements that are not SELECT, INSERT, UPDATE or DELETE and for
// texts that do not parse (the caller then takes the ordinary path, which
// gives the right message).
std::optional<Lifted> liftLiterals(const QString& sql);

// Structural equality of two expressions (names without case).
bool sameExpr(const Expr& a, const Expr& b);

// ---------------------------------------------------------------------------
// Catalog and translation

// What an expression holds, as far as the translator knows it.
enum class ValueKind { Unknown, Null, Number, Text, Boolean, Date, Binary };

struct CatalogColumn {
    QString name;     // as defined
    QString sqlName;  // the SQLite column name (views: unique names)
    ValueKind kind = ValueKind::Unknown;
    QString jetType;  // tables: TEXT, MEMO, LONG, COUNTER, BIT, DATETIME, ...
    int width = -1;
    bool counter = false;
    bool notNull = false;
};

struct CatalogSource {
    QString name;  // as defined
    bool isQuery = false;
    std::vector<CatalogColumn> columns;
    // Column sets that are unique (primary key, unique indexes), by column index.
    std::vector<std::vector<int>> uniqueKeys;
    // Stored queries: the error when the query cannot be used (empty when usable).
    QString brokenMessage;
    // Stored queries: their Jet text (the translator may plan a statement that
    // reads every row of the query from it rather than from its view).
    QString jetText;

    int columnIndex(const QString& column) const;
};

// The names the translator can read. find returns nullptr for an unknown name.
class Catalog {
  public:
    virtual ~Catalog() = default;
    virtual const CatalogSource* find(const QString& name) const = 0;
};

struct OutputColumn {
    QString name;     // name as Jet gives it
    QString sqlName;  // unique alias in the SQLite text
    ValueKind kind = ValueKind::Unknown;
};

struct Translation {
    Statement::Kind kind = Statement::Kind::Select;
    QString sql;                        // SQLite text (for a cross-tab: the query of its pivot values)
    std::vector<OutputColumn> columns;  // SELECT (and the view of CREATE VIEW)
    bool returnsRows = false;
    bool changesSchema = false;
    bool dropsViewsFirst = false;  // structure changes that need the views out of the way
    QString objectName;            // CreateView / DropView / DDL target
    QString name;                  // DROP COLUMN: the column
    QString viewSelectJet;         // CreateView: the Jet text of its SELECT
    StatementP statement;          // kept for cross-tabs
};

// An error of translation (unknown name, unsupported construct); French message.
struct TranslateError {
    QString message;
};

// Translates a parsed statement. Throws TranslateError.
Translation translate(const StatementP& statement, const Catalog& catalog);
// Parses and translates. Throws SyntaxError or TranslateError.
Translation translate(const QString& sql, const Catalog& catalog);

// A SELECT translated for use as a stored query (view): unique output names.
Translation translateView(const QString& selectSql, const Catalog& catalog);

// Second step of a cross-tab: the statement with one value column per pivot
// value. values are SQLite literals (already quoted) with their column names.
struct PivotValue {
    QString literal;  // SQLite literal, or "NULL"
    QString name;     // column name
};
Translation translateTransform(const StatementP& statement, const Catalog& catalog,
                               const std::vector<PivotValue>& values);

// Helpers shared with the engine.
QString quoteIdentifier(const QString& name);
QString quoteText(const QString& text);

}  // namespace vinorium::data::jetsql
