// Translation of parsed Jet statements into SQLite SQL.
//
// Every expression is translated together with what it is known to hold
// (number, text, yes/no, date, unknown). Plain numeric operations stay SQLite
// operators so that indexes and the planner keep working; wherever Jet's rules
// differ from SQLite's (text concatenation with +, numeric texts, Null in &,
// case-insensitive French text order) the translation calls the Jet run-time
// functions or adds the JET collation.

#include "data/engine/jetsql.h"

#include <QHash>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>
#include <functional>

namespace vinorium::data::jetsql {

QString quoteIdentifier(const QString& name) {
    QString q = name;
    q.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + q + QLatin1Char('"');
}

QString quoteText(const QString& text) {
    QString q = text;
    q.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QLatin1Char('\'') + q + QLatin1Char('\'');
}

int CatalogSource::columnIndex(const QString& column) const {
    for (size_t i = 0; i < columns.size(); ++i) {
        if (columns[i].name.compare(column, Qt::CaseInsensitive) == 0) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

namespace {

[[noreturn]] void fail(const QString& message) {
    throw TranslateError{message};
}

bool same(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

bool isNumeric(ValueKind k) {
    return k == ValueKind::Number || k == ValueKind::Boolean;
}
bool isTextual(ValueKind k) {
    return k == ValueKind::Text || k == ValueKind::Unknown;
}

// A translated expression.
struct Tx {
    QString sql;
    ValueKind kind = ValueKind::Unknown;
    bool cond = false;       // sql is an SQLite truth value (1 / 0 / NULL)
    bool aggregate = false;  // contains an aggregate call
    bool literal = false;
    QString literalText;  // Number / String literal value
};

QString value(const Tx& t) {
    return t.cond ? QStringLiteral("(-(%1))").arg(t.sql) : t.sql;
}
QString condition(const Tx& t) {
    return t.sql;
}
ValueKind kindOf(const Tx& t) {
    return t.cond ? ValueKind::Boolean : t.kind;
}

ValueKind merge(ValueKind a, ValueKind b) {
    if (a == b) {
        return a;
    }
    if (a == ValueKind::Null) {
        return b;
    }
    if (b == ValueKind::Null) {
        return a;
    }
    if (isNumeric(a) && isNumeric(b)) {
        return ValueKind::Number;
    }
    return ValueKind::Unknown;
}

struct Binding {
    QString name;       // name Jet code uses: alias, or the table's name
    QString tableName;  // the table or query read
    QString sqlAlias;   // quoted name to emit
    std::vector<CatalogColumn> columns;
    const CatalogSource* source = nullptr;  // tables and stored queries
};

struct Scope {
    std::vector<Binding> bindings;
    const Scope* parent = nullptr;
    const std::vector<SelectItem>* items = nullptr;  // for select-list aliases
    // Aggregate push-down: aggregates become correlated subqueries on this binding.
    int pushdownBinding = -1;
    QString pushdownFrom;   // FROM text of that subquery
    QString pushdownWhere;  // its correlation condition
    // ... or, when every row is read anyway, aggregated once per key in a
    // derived table "_agg" joined to the left side.
    bool pushdownJoin = false;
    std::vector<std::pair<QString, QString>> pushdownAggs;  // aggregate SQL, its column in "_agg"
};

struct Resolved {
    const Binding* binding = nullptr;
    const CatalogColumn* column = nullptr;
    int bindingIndex = -1;
    const Scope* scope = nullptr;
};

struct SelectOut {
    QString sql;
    std::vector<OutputColumn> columns;
};

// Jet column types: canonical Jet name and the declared type written in the file.
struct TypeInfo {
    QString jet;
    QString decl;
    int width = -1;
    bool counter = false;
};

TypeInfo typeInfo(const ColumnType& t) {
    const QString& n = t.type;
    TypeInfo info;
    auto in = [&](std::initializer_list<const char*> names) {
        for (const char* name : names) {
            if (n == QLatin1String(name)) {
                return true;
            }
        }
        return false;
    };
    if (in({"TEXT", "VARCHAR", "CHAR", "CHARACTER", "STRING", "NVARCHAR", "NCHAR", "ALPHANUMERIC",
            "CHARACTERVARYING"})) {
        info.jet = QStringLiteral("TEXT");
        if (t.width >= 0) {
            if (t.width < 1 || t.width > 255) {
                fail(QStringLiteral("Taille de colonne texte non valide : %1 (de 1 à 255)").arg(t.width));
            }
            info.width = t.width;
            info.decl = QStringLiteral("TEXT(%1)").arg(t.width);
        } else {
            info.decl = QStringLiteral("TEXT");
        }
    } else if (in({"MEMO", "LONGTEXT", "LONGCHAR", "NOTE", "NTEXT"})) {
        info.jet = QStringLiteral("MEMO");
        info.decl = QStringLiteral("MEMO TEXT");
    } else if (in({"LONG", "INTEGER", "INT", "INTEGER4", "INT4"})) {
        info.jet = QStringLiteral("LONG");
        info.decl = QStringLiteral("LONG INTEGER");
    } else if (in({"SHORT", "SMALLINT", "INTEGER2", "INT2"})) {
        info.jet = QStringLiteral("SHORT");
        info.decl = QStringLiteral("SHORT INTEGER");
    } else if (in({"BYTE", "TINYINT", "INTEGER1"})) {
        info.jet = QStringLiteral("BYTE");
        info.decl = QStringLiteral("BYTE INTEGER");
    } else if (in({"DOUBLE", "FLOAT", "FLOAT8", "NUMBER", "IEEEDOUBLE"})) {
        info.jet = QStringLiteral("DOUBLE");
        info.decl = QStringLiteral("DOUBLE");
    } else if (in({"SINGLE", "REAL", "FLOAT4", "IEEESINGLE"})) {
        info.jet = QStringLiteral("SINGLE");
        info.decl = QStringLiteral("SINGLE REAL");
    } else if (in({"CURRENCY", "MONEY"})) {
        info.jet = QStringLiteral("CURRENCY");
        info.decl = QStringLiteral("CURRENCY REAL");
    } else if (in({"DECIMAL", "NUMERIC", "DEC"})) {
        info.jet = QStringLiteral("DECIMAL");
        info.decl = QStringLiteral("DECIMAL REAL");
    } else if (in({"DATETIME", "DATE", "TIME", "TIMESTAMP"})) {
        info.jet = QStringLiteral("DATETIME");
        info.decl = QStringLiteral("DATETIME TEXT");
    } else if (in({"BIT", "YESNO", "LOGICAL", "LOGICAL1", "BOOLEAN"})) {
        info.jet = QStringLiteral("BIT");
        info.decl = QStringLiteral("BIT INTEGER");
    } else if (in({"COUNTER", "AUTOINCREMENT", "IDENTITY"})) {
        info.jet = QStringLiteral("COUNTER");
        info.decl = QStringLiteral("INTEGER");
        info.counter = true;
    } else if (in({"GUID", "UNIQUEIDENTIFIER"})) {
        info.jet = QStringLiteral("GUID");
        info.decl = QStringLiteral("GUID TEXT");
    } else if (in({"BINARY", "VARBINARY", "LONGBINARY", "OLEOBJECT", "GENERAL", "IMAGE"})) {
        info.jet = QStringLiteral("BINARY");
        info.decl = QStringLiteral("LONGBINARY BLOB");
    } else {
        fail(QStringLiteral("Type de colonne inconnu : %1").arg(n));
    }
    return info;
}

class Translator {
  public:
    explicit Translator(const Catalog& catalog) : catalog_(catalog) {}

    // ---------------------------------------------------------------- names
    const CatalogSource* source(const QString& name) const {
        const CatalogSource* s = catalog_.find(name);
        if (!s) {
            fail(QStringLiteral("Table ou requête inconnue : %1").arg(name));
        }
        if (s->isQuery && !s->brokenMessage.isEmpty()) {
            fail(s->brokenMessage);
        }
        return s;
    }

    const CatalogSource* table(const QString& name) const {
        const CatalogSource* s = catalog_.find(name);
        if (!s) {
            fail(QStringLiteral("Table inconnue : %1").arg(name));
        }
        if (s->isQuery) {
            fail(QStringLiteral("%1 est une requête et non une table").arg(s->name));
        }
        return s;
    }

    static const CatalogColumn* column(const CatalogSource& s, const QString& name) {
        int i = s.columnIndex(name);
        if (i < 0) {
            fail(QStringLiteral("Colonne inconnue : %1").arg(name));
        }
        return &s.columns[static_cast<size_t>(i)];
    }

    std::optional<Resolved> resolve(const QString& qualifier, const QString& name, const Scope& scope) {
        for (const Scope* s = &scope; s; s = s->parent) {
            if (!qualifier.isEmpty()) {
                const Binding* found = nullptr;
                int foundIndex = -1;
                for (size_t i = 0; i < s->bindings.size(); ++i) {
                    if (same(s->bindings[i].name, qualifier)) {
                        found = &s->bindings[i];
                        foundIndex = static_cast<int>(i);
                        break;
                    }
                }
                if (!found) {
                    // A table read under an alias may still be named by its own name.
                    for (size_t i = 0; i < s->bindings.size(); ++i) {
                        if (same(s->bindings[i].tableName, qualifier)) {
                            found = &s->bindings[i];
                            foundIndex = static_cast<int>(i);
                            break;
                        }
                    }
                }
                if (!found) {
                    continue;
                }
                for (const CatalogColumn& c : found->columns) {
                    if (same(c.name, name)) {
                        return Resolved{found, &c, foundIndex, s};
                    }
                }
                fail(QStringLiteral("Colonne inconnue : %1.%2").arg(qualifier, name));
            }
            std::optional<Resolved> hit;
            for (size_t i = 0; i < s->bindings.size(); ++i) {
                for (const CatalogColumn& c : s->bindings[i].columns) {
                    if (same(c.name, name)) {
                        if (hit && hit->binding != &s->bindings[i]) {
                            fail(QStringLiteral(
                                     "Le nom de colonne %1 est ambigu : il existe dans %2 et dans %3")
                                     .arg(name, hit->binding->name, s->bindings[i].name));
                        }
                        if (!hit) {
                            hit = Resolved{&s->bindings[i], &c, static_cast<int>(i), s};
                        }
                        break;
                    }
                }
            }
            if (hit) {
                return hit;
            }
            if (s->items && aliasDepth_ < 8) {
                for (const SelectItem& item : *s->items) {
                    if (!item.alias.isEmpty() && same(item.alias, name)) {
                        return std::nullopt;  // the caller substitutes the aliased expression
                    }
                }
            }
        }
        if (!qualifier.isEmpty()) {
            fail(QStringLiteral("Colonne inconnue : %1.%2").arg(qualifier, name));
        }
        fail(QStringLiteral("Colonne inconnue : %1").arg(name));
    }

    // ---------------------------------------------------------------- expressions
    Tx literalNumber(const QString& text) {
        Tx t;
        t.sql = text;
        t.kind = ValueKind::Number;
        t.literal = true;
        t.literalText = text;
        return t;
    }

    // A text literal that reads as a number, as the number literal it stands for.
    static std::optional<QString> numericLiteral(const Tx& t) {
        if (!t.literal || t.kind != ValueKind::Text) {
            return std::nullopt;
        }
        static const QRegularExpression re(QStringLiteral("^\\s*([+-]?)(\\d+)(?:[.,](\\d+))?\\s*$"));
        auto m = re.match(t.literalText);
        if (!m.hasMatch()) {
            return std::nullopt;
        }
        QString n = m.captured(1) + m.captured(2);
        if (!m.captured(3).isEmpty()) {
            n += QLatin1Char('.') + m.captured(3);
        }
        if (n.startsWith(u'+')) {
            n.remove(0, 1);
        }
        return n;
    }

    // An operand made numeric for arithmetic or comparison with a number.
    static QString asNumber(const Tx& t) {
        if (isNumeric(kindOf(t)) || t.kind == ValueKind::Null) {
            return value(t);
        }
        if (auto n = numericLiteral(t)) {
            return *n;
        }
        return QStringLiteral("jet_num(%1)").arg(value(t));
    }

    static QString asDate(const Tx& t) {
        if (t.kind == ValueKind::Date || t.kind == ValueKind::Null) {
            return value(t);
        }
        return QStringLiteral("jet_cdate(%1)").arg(value(t));
    }

    static Tx makeCond(const QString& sql, bool aggregate) {
        Tx t;
        t.sql = sql;
        t.kind = ValueKind::Boolean;
        t.cond = true;
        t.aggregate = aggregate;
        return t;
    }

    Tx compare(const QString& op, const Tx& a, const Tx& b) {
        const ValueKind ka = kindOf(a), kb = kindOf(b);
        const bool agg = a.aggregate || b.aggregate;
        const QString sa = value(a), sb = value(b);
        QString sql;
        if (ka == ValueKind::Null || kb == ValueKind::Null) {
            sql = QStringLiteral("(%1 %2 %3)").arg(sa, op, sb);
        } else if (isNumeric(ka) && isNumeric(kb)) {
            sql = QStringLiteral("(%1 %2 %3)").arg(sa, op, sb);
        } else if (ka == ValueKind::Text && kb == ValueKind::Text) {
            sql = QStringLiteral("(%1 %2 %3 COLLATE JET)")
                      .arg(sa, op, b.literal ? sb : QStringLiteral("(%1)").arg(sb));
        } else if (ka == ValueKind::Date && kb == ValueKind::Date) {
            sql = QStringLiteral("(%1 %2 %3)").arg(sa, op, sb);
        } else if (ka == ValueKind::Date) {
            sql = QStringLiteral("(%1 %2 %3)").arg(sa, op, asDate(b));
        } else if (kb == ValueKind::Date) {
            sql = QStringLiteral("(%1 %2 %3)").arg(asDate(a), op, sb);
        } else if (isNumeric(ka)) {
            sql = QStringLiteral("(%1 %2 %3)").arg(sa, op, asNumber(b));
        } else if (isNumeric(kb)) {
            sql = QStringLiteral("(%1 %2 %3)").arg(asNumber(a), op, sb);
        } else {
            sql = QStringLiteral("(jet_cmp(%1, %2) %3 0)").arg(sa, sb, op);
        }
        return makeCond(sql, agg);
    }

    Tx arithmetic(const QString& op, const Tx& a, const Tx& b) {
        const ValueKind ka = kindOf(a), kb = kindOf(b);
        Tx t;
        t.aggregate = a.aggregate || b.aggregate;
        const QString sa = value(a), sb = value(b);
        const bool numeric =
            (isNumeric(ka) || ka == ValueKind::Null) && (isNumeric(kb) || kb == ValueKind::Null);
        if (op == u"+") {
            if (numeric) {
                t.sql = QStringLiteral("(%1 + %2)").arg(sa, sb);
                t.kind = ValueKind::Number;
            } else if ((ka == ValueKind::Text || ka == ValueKind::Null) &&
                       (kb == ValueKind::Text || kb == ValueKind::Null)) {
                t.sql = QStringLiteral("(%1 || %2)").arg(sa, sb);
                t.kind = ValueKind::Text;
            } else {
                t.sql = QStringLiteral("jet_add(%1, %2)").arg(sa, sb);
                t.kind =
                    (ka == ValueKind::Date || kb == ValueKind::Date) ? ValueKind::Date : ValueKind::Unknown;
            }
        } else if (op == u"-") {
            if (numeric) {
                t.sql = QStringLiteral("(%1 - %2)").arg(sa, sb);
                t.kind = ValueKind::Number;
            } else {
                t.sql = QStringLiteral("jet_sub(%1, %2)").arg(sa, sb);
                t.kind =
                    (ka == ValueKind::Date && kb != ValueKind::Date) ? ValueKind::Date : ValueKind::Number;
            }
        } else if (op == u"*") {
            t.sql = numeric ? QStringLiteral("(%1 * %2)").arg(sa, sb)
                            : QStringLiteral("jet_mul(%1, %2)").arg(sa, sb);
            t.kind = ValueKind::Number;
        } else if (op == u"/") {
            t.sql = QStringLiteral("jet_div(%1, %2)").arg(sa, sb);
            t.kind = ValueKind::Number;
        } else if (op == u"\\") {
            t.sql = QStringLiteral("jet_idiv(%1, %2)").arg(sa, sb);
            t.kind = ValueKind::Number;
        } else if (op == u"MOD") {
            t.sql = QStringLiteral("jet_mod(%1, %2)").arg(sa, sb);
            t.kind = ValueKind::Number;
        } else if (op == u"^") {
            t.sql = QStringLiteral("jet_pow(%1, %2)").arg(sa, sb);
            t.kind = ValueKind::Number;
        } else if (op == u"&") {
            if ((ka == ValueKind::Text || ka == ValueKind::Null) &&
                (kb == ValueKind::Text || kb == ValueKind::Null)) {
                t.sql = QStringLiteral("(coalesce(%1, '') || coalesce(%2, ''))").arg(sa, sb);
            } else {
                t.sql = QStringLiteral("jet_concat(%1, %2)").arg(sa, sb);
            }
            t.kind = ValueKind::Text;
        }
        return t;
    }

    Tx expr(const ExprP& e, Scope& scope) {
        if (++depth_ > 400) {
            fail(QStringLiteral("Instruction trop complexe"));
        }
        Tx t = exprInner(*e, scope);
        --depth_;
        return t;
    }

    Tx exprInner(const Expr& e, Scope& scope) {
        using K = Expr::Kind;
        switch (e.kind) {
            case K::Null: {
                Tx t;
                t.sql = QStringLiteral("NULL");
                t.kind = ValueKind::Null;
                return t;
            }
            case K::Number:
                return literalNumber(e.text);
            case K::String: {
                Tx t;
                t.sql = quoteText(e.text);
                t.kind = ValueKind::Text;
                t.literal = true;
                t.literalText = e.text;
                return t;
            }
            case K::Date: {
                Tx t;
                t.sql = quoteText(e.text);
                t.kind = ValueKind::Date;
                return t;
            }
            case K::Boolean: {
                Tx t = literalNumber(e.text);
                t.kind = ValueKind::Boolean;
                return t;
            }
            case K::Param: {
                Tx t;
                t.sql = e.text;
                t.kind = static_cast<ValueKind>(e.rawKind);
                return t;
            }
            case K::Raw: {
                Tx t;
                t.sql = e.text;
                t.kind = static_cast<ValueKind>(e.rawKind);
                return t;
            }
            case K::Column:
                return columnRef(e, scope);
            case K::Star:
                fail(QStringLiteral("Erreur de syntaxe près de « * »"));
            case K::Unary: {
                Tx a = expr(e.args[0], scope);
                if (e.text == u"NOT") {
                    return makeCond(QStringLiteral("(NOT %1)").arg(condition(a)), a.aggregate);
                }
                if (e.text == u"+") {
                    return a;
                }
                Tx t;
                t.aggregate = a.aggregate;
                t.kind = ValueKind::Number;
                if (a.literal && a.kind == ValueKind::Number) {
                    t = literalNumber(a.sql.startsWith(u'-') ? a.sql.mid(1) : QLatin1Char('-') + a.sql);
                } else if (isNumeric(kindOf(a))) {
                    t.sql = QStringLiteral("(-%1)").arg(value(a));
                } else {
                    t.sql = QStringLiteral("jet_neg(%1)").arg(value(a));
                }
                return t;
            }
            case K::Binary: {
                const QString& op = e.text;
                Tx a = expr(e.args[0], scope);
                Tx b = expr(e.args[1], scope);
                const bool agg = a.aggregate || b.aggregate;
                if (op == u"AND" || op == u"OR") {
                    return makeCond(QStringLiteral("(%1 %2 %3)").arg(condition(a), op, condition(b)), agg);
                }
                if (op == u"XOR") {
                    return makeCond(QStringLiteral("((%1) <> (%2))").arg(truth(a), truth(b)), agg);
                }
                if (op == u"EQV") {
                    return makeCond(QStringLiteral("((%1) = (%2))").arg(truth(a), truth(b)), agg);
                }
                if (op == u"IMP") {
                    return makeCond(QStringLiteral("((NOT %1) OR %2)").arg(condition(a), condition(b)), agg);
                }
                if (op == u"=" || op == u"<>" || op == u"<" || op == u">" || op == u"<=" || op == u">=") {
                    return compare(op, a, b);
                }
                return arithmetic(op, a, b);
            }
            case K::IsNull: {
                Tx a = expr(e.args[0], scope);
                return makeCond(QStringLiteral("(%1 IS %2NULL)")
                                    .arg(value(a), e.negated ? QStringLiteral("NOT ") : QString()),
                                a.aggregate);
            }
            case K::Between: {
                Tx a = expr(e.args[0], scope);
                Tx lo = expr(e.args[1], scope);
                Tx hi = expr(e.args[2], scope);
                Tx t;
                if (isNumeric(kindOf(a)) && isNumeric(kindOf(lo)) && isNumeric(kindOf(hi))) {
                    t = makeCond(QStringLiteral("(%1 BETWEEN %2 AND %3)").arg(value(a), value(lo), value(hi)),
                                 false);
                } else {
                    Tx ge = compare(QStringLiteral(">="), a, lo);
                    Tx le = compare(QStringLiteral("<="), a, hi);
                    t = makeCond(QStringLiteral("(%1 AND %2)").arg(ge.sql, le.sql), false);
                }
                t.aggregate = a.aggregate || lo.aggregate || hi.aggregate;
                if (e.negated) {
                    t.sql = QStringLiteral("(NOT %1)").arg(t.sql);
                }
                return t;
            }
            case K::InList: {
                Tx a = expr(e.args[0], scope);
                std::vector<Tx> items;
                bool allNumeric = true, allText = true, agg = a.aggregate;
                for (size_t i = 1; i < e.args.size(); ++i) {
                    items.push_back(expr(e.args[i], scope));
                    const ValueKind k = kindOf(items.back());
                    allNumeric =
                        allNumeric && (isNumeric(k) || k == ValueKind::Null || numericLiteral(items.back()));
                    allText = allText && (k == ValueKind::Text || k == ValueKind::Null);
                    agg = agg || items.back().aggregate;
                }
                QStringList list;
                QString sql;
                const ValueKind ka = kindOf(a);
                if ((isNumeric(ka) || (ka == ValueKind::Unknown)) && allNumeric) {
                    for (const Tx& i : items) {
                        list << asNumber(i);
                    }
                    sql = QStringLiteral("(%1 IN (%2))").arg(asNumber(a), list.join(QStringLiteral(", ")));
                } else if (isTextual(ka) && allText) {
                    for (const Tx& i : items) {
                        list << value(i);
                    }
                    sql = QStringLiteral("(%1 COLLATE JET IN (%2))")
                              .arg(value(a), list.join(QStringLiteral(", ")));
                } else {
                    for (const Tx& i : items) {
                        list << compare(QStringLiteral("="), a, i).sql;
                    }
                    sql = QStringLiteral("(%1)").arg(list.join(QStringLiteral(" OR ")));
                }
                if (e.negated) {
                    sql = QStringLiteral("(NOT %1)").arg(sql);
                }
                return makeCond(sql, agg);
            }
            case K::InSelect: {
                Tx a = expr(e.args[0], scope);
                SelectOut sub = select(*e.select, &scope, true);
                if (sub.columns.size() != 1) {
                    fail(QStringLiteral("La sous-requête de IN doit renvoyer une seule colonne"));
                }
                const ValueKind ks = sub.columns[0].kind;
                const ValueKind ka = kindOf(a);
                QString left = value(a);
                if (isTextual(ka) && ks == ValueKind::Text) {
                    left = QStringLiteral("%1 COLLATE JET").arg(left);
                } else if (!isNumeric(ka) && isNumeric(ks)) {
                    left = asNumber(a);
                }
                QString sql = QStringLiteral("(%1 %2IN (%3))")
                                  .arg(left, e.negated ? QStringLiteral("NOT ") : QString(), sub.sql);
                return makeCond(sql, a.aggregate);
            }
            case K::Exists: {
                SelectOut sub = select(*e.select, &scope, true);
                return makeCond(QStringLiteral("EXISTS (%1)").arg(sub.sql), false);
            }
            case K::Scalar: {
                SelectOut sub = select(*e.select, &scope, true);
                if (sub.columns.size() != 1) {
                    fail(QStringLiteral("La sous-requête doit renvoyer une seule colonne"));
                }
                Tx t;
                t.sql = QStringLiteral("(%1)").arg(sub.sql);
                t.kind = sub.columns[0].kind;
                return t;
            }
            case K::Like: {
                Tx a = expr(e.args[0], scope);
                Tx p = expr(e.args[1], scope);
                QString sql = QStringLiteral("jet_like(%1, %2)").arg(value(a), value(p));
                if (e.negated) {
                    sql = QStringLiteral("(NOT %1)").arg(sql);
                }
                return makeCond(sql, a.aggregate || p.aggregate);
            }
            case K::Call:
                return call(e, scope);
        }
        fail(QStringLiteral("Expression non prise en charge"));
    }

    // A truth value as 1 / 0 / NULL, for XOR and EQV.
    static QString truth(const Tx& t) {
        if (t.cond) {
            return t.sql;
        }
        return QStringLiteral("(%1 <> 0)").arg(t.sql);
    }

    Tx columnRef(const Expr& e, Scope& scope) {
        std::optional<Resolved> r = resolve(e.qualifier, e.name, scope);
        if (!r) {
            // A select-list alias: its expression, in the scope that defines it.
            for (Scope* s = &scope; s; s = const_cast<Scope*>(s->parent)) {
                if (!s->items) {
                    continue;
                }
                for (const SelectItem& item : *s->items) {
                    if (!item.alias.isEmpty() && same(item.alias, e.name) &&
                        item.expr->kind != Expr::Kind::Star) {
                        ++aliasDepth_;
                        Tx t = expr(item.expr, *s);
                        --aliasDepth_;
                        return t;
                    }
                }
            }
            fail(QStringLiteral("Colonne inconnue : %1").arg(e.name));
        }
        Tx t;
        t.sql = r->binding->sqlAlias + QLatin1Char('.') + quoteIdentifier(r->column->sqlName);
        t.kind = r->column->kind;
        if (r->scope == &scope && scope.pushdownBinding >= 0 && r->bindingIndex == scope.pushdownBinding &&
            !inAggregate_) {
            pushdownViolated_ = true;
        }
        if (inAggregate_ && (r->scope != &scope || r->bindingIndex != scope.pushdownBinding)) {
            aggregateReadsLeft_ = true;
        }
        return t;
    }

    Tx call(const Expr& e, Scope& scope) {
        const QString fn = e.text.toUpper();
        auto argc = [&](size_t lo, size_t hi) {
            if (e.args.size() < lo || e.args.size() > hi) {
                fail(QStringLiteral("Nombre d'arguments incorrect pour la fonction %1").arg(e.text));
            }
        };
        auto args = [&](size_t from = 0) {
            std::vector<Tx> out;
            for (size_t i = from; i < e.args.size(); ++i) {
                out.push_back(expr(e.args[i], scope));
            }
            return out;
        };
        auto anyAgg = [](const std::vector<Tx>& v) {
            return std::any_of(v.begin(), v.end(), [](const Tx& t) { return t.aggregate; });
        };
        auto fnCall = [&](const QString& name, const std::vector<Tx>& v, ValueKind kind) {
            QStringList parts;
            for (const Tx& t : v) {
                parts << value(t);
            }
            Tx t;
            t.sql = QStringLiteral("%1(%2)").arg(name, parts.join(QStringLiteral(", ")));
            t.kind = kind;
            t.aggregate = anyAgg(v);
            return t;
        };

        if (fn == u"SUM" || fn == u"AVG" || fn == u"COUNT" || fn == u"MIN" || fn == u"MAX") {
            return aggregate(e, fn, scope);
        }
        if (fn == u"FIRST" || fn == u"LAST" || fn == u"STDEV" || fn == u"STDEVP" || fn == u"VAR" ||
            fn == u"VARP") {
            fail(QStringLiteral("Fonction non prise en charge : %1").arg(e.text));
        }
        if (fn == u"__NULLIFZERO") {
            Tx a = expr(e.args[0], scope);
            Tx t;
            t.sql = QStringLiteral("NULLIF(%1, 0)").arg(value(a));
            t.kind = a.kind;
            t.aggregate = a.aggregate;
            return t;
        }
        if (e.star) {
            fail(QStringLiteral("Erreur de syntaxe près de « * »"));
        }
        if (fn == u"IIF") {
            argc(3, 3);
            // IIf(IsNull(x), y, x) is Jet's spelling of coalesce(x, y).
            const Expr& c = *e.args[0];
            const Expr* tested = nullptr;
            if (c.kind == Expr::Kind::Call && same(c.text, QStringLiteral("IsNull")) && c.args.size() == 1) {
                tested = c.args[0].get();
            } else if (c.kind == Expr::Kind::IsNull && !c.negated) {
                tested = c.args[0].get();
            }
            if (tested && sameExpr(*tested, *e.args[2])) {
                Tx x = expr(e.args[2], scope);
                Tx y = expr(e.args[1], scope);
                Tx t;
                t.sql = QStringLiteral("coalesce(%1, %2)").arg(value(x), value(y));
                t.kind = merge(kindOf(x), kindOf(y));
                t.aggregate = x.aggregate || y.aggregate;
                return t;
            }
            Tx cond = expr(e.args[0], scope);
            Tx a = expr(e.args[1], scope);
            Tx b = expr(e.args[2], scope);
            Tx t;
            t.sql =
                QStringLiteral("CASE WHEN %1 THEN %2 ELSE %3 END").arg(condition(cond), value(a), value(b));
            t.kind = merge(kindOf(a), kindOf(b));
            t.aggregate = cond.aggregate || a.aggregate || b.aggregate;
            return t;
        }
        if (fn == u"ISNULL") {
            argc(1, 1);
            Tx a = expr(e.args[0], scope);
            return makeCond(QStringLiteral("(%1 IS NULL)").arg(value(a)), a.aggregate);
        }
        if (fn == u"INT") {
            argc(1, 1);
            return fnCall(QStringLiteral("jet_int"), args(), ValueKind::Number);
        }
        if (fn == u"FIX") {
            argc(1, 1);
            return fnCall(QStringLiteral("jet_fix"), args(), ValueKind::Number);
        }
        if (fn == u"VAL") {
            argc(1, 1);
            return fnCall(QStringLiteral("jet_val"), args(), ValueKind::Number);
        }
        if (fn == u"FORMAT") {
            argc(1, 4);
            std::vector<Tx> v = args();
            // Without pattern an integer is written as its digits: done inline
            // for a plain column (the lists format a count and a vintage per row).
            static const QRegularExpression plain(
                QStringLiteral("^(coalesce\\()?\"[^\"]+\"\\.\"[^\"]+\"(, ('[^']*'|-?\\d+)\\))?$"));
            const QString x = value(v[0]);
            if (v.size() == 1 && kindOf(v[0]) != ValueKind::Text && kindOf(v[0]) != ValueKind::Date &&
                plain.match(x).hasMatch() && x.startsWith(u'c') == x.endsWith(u')')) {
                Tx t;
                t.sql = QStringLiteral(
                            "CASE WHEN typeof(%1) = 'integer' THEN CAST(%1 AS TEXT) ELSE jet_format(%1) END")
                            .arg(x);
                t.kind = ValueKind::Text;
                t.aggregate = v[0].aggregate;
                return t;
            }
            return fnCall(QStringLiteral("jet_format"), v, ValueKind::Text);
        }
        if (fn == u"DATEVALUE") {
            argc(1, 1);
            return fnCall(QStringLiteral("jet_datevalue"), args(), ValueKind::Date);
        }
        if (fn == u"NOW") {
            argc(0, 0);
            return fnCall(QStringLiteral("jet_now"), {}, ValueKind::Date);
        }
        if (fn == u"DATE") {
            argc(0, 0);
            Tx t;
            t.sql = QStringLiteral("jet_datevalue(jet_now())");
            t.kind = ValueKind::Date;
            return t;
        }
        if (fn == u"CDATE" || fn == u"CVDATE") {
            argc(1, 1);
            return fnCall(QStringLiteral("jet_cdate"), args(), ValueKind::Date);
        }
        if (fn == u"YEAR" || fn == u"MONTH" || fn == u"DAY" || fn == u"HOUR" || fn == u"MINUTE" ||
            fn == u"SECOND" || fn == u"WEEKDAY") {
            argc(1, 1);
            auto v = args();
            static const QHash<QString, QString> parts = {
                {QStringLiteral("YEAR"), QStringLiteral("yyyy")},
                {QStringLiteral("MONTH"), QStringLiteral("m")},
                {QStringLiteral("DAY"), QStringLiteral("d")},
                {QStringLiteral("HOUR"), QStringLiteral("h")},
                {QStringLiteral("MINUTE"), QStringLiteral("n")},
                {QStringLiteral("SECOND"), QStringLiteral("s")},
                {QStringLiteral("WEEKDAY"), QStringLiteral("w")},
            };
            Tx t;
            t.sql = QStringLiteral("jet_datepart('%1', %2)").arg(parts.value(fn), value(v[0]));
            t.kind = ValueKind::Number;
            t.aggregate = v[0].aggregate;
            return t;
        }
        if (fn == u"NZ") {
            argc(1, 2);
            auto v = args();
            Tx t;
            t.sql = QStringLiteral("coalesce(%1, %2)")
                        .arg(value(v[0]), v.size() > 1 ? value(v[1]) : QStringLiteral("''"));
            t.kind = v.size() > 1 ? merge(kindOf(v[0]), kindOf(v[1])) : ValueKind::Unknown;
            t.aggregate = anyAgg(v);
            return t;
        }
        if (fn == u"LEN") {
            argc(1, 1);
            auto v = args();
            Tx t;
            t.sql =
                QStringLiteral("length(%1)")
                    .arg(v[0].kind == ValueKind::Text ? value(v[0])
                                                      : QStringLiteral("jet_format(%1)").arg(value(v[0])));
            t.kind = ValueKind::Number;
            t.aggregate = v[0].aggregate;
            return t;
        }
        if (fn == u"LEFT" || fn == u"RIGHT" || fn == u"MID") {
            argc(fn == u"MID" ? 2 : 2, fn == u"MID" ? 3 : 2);
            auto v = args();
            QString s = v[0].kind == ValueKind::Text ? value(v[0])
                                                     : QStringLiteral("jet_format(%1)").arg(value(v[0]));
            Tx t;
            if (fn == u"LEFT") {
                t.sql = QStringLiteral("substr(%1, 1, %2)").arg(s, asNumber(v[1]));
            } else if (fn == u"RIGHT") {
                t.sql = QStringLiteral("jet_right(%1, %2)").arg(s, asNumber(v[1]));
            } else if (v.size() == 3) {
                t.sql = QStringLiteral("substr(%1, %2, %3)").arg(s, asNumber(v[1]), asNumber(v[2]));
            } else {
                t.sql = QStringLiteral("substr(%1, %2)").arg(s, asNumber(v[1]));
            }
            t.kind = ValueKind::Text;
            t.aggregate = anyAgg(v);
            return t;
        }
        if (fn == u"UCASE" || fn == u"LCASE") {
            argc(1, 1);
            return fnCall(fn == u"UCASE" ? QStringLiteral("jet_ucase") : QStringLiteral("jet_lcase"), args(),
                          ValueKind::Text);
        }
        if (fn == u"TRIM" || fn == u"LTRIM" || fn == u"RTRIM") {
            argc(1, 1);
            auto v = args();
            Tx t;
            t.sql = QStringLiteral("%1(%2, ' ')")
                        .arg(fn.toLower(), v[0].kind == ValueKind::Text
                                               ? value(v[0])
                                               : QStringLiteral("jet_format(%1)").arg(value(v[0])));
            t.kind = ValueKind::Text;
            t.aggregate = v[0].aggregate;
            return t;
        }
        if (fn == u"INSTR") {
            argc(2, 3);
            return fnCall(QStringLiteral("jet_instr"), args(), ValueKind::Number);
        }
        if (fn == u"REPLACE") {
            argc(3, 3);
            return fnCall(QStringLiteral("replace"), args(), ValueKind::Text);
        }
        if (fn == u"CSTR") {
            argc(1, 1);
            return fnCall(QStringLiteral("jet_format"), args(), ValueKind::Text);
        }
        if (fn == u"CINT" || fn == u"CLNG" || fn == u"CDBL" || fn == u"CSNG" || fn == u"CCUR" ||
            fn == u"ABS" || fn == u"SGN") {
            argc(1, 1);
            auto v = args();
            Tx t;
            const QString n = asNumber(v[0]);
            if (fn == u"CINT" || fn == u"CLNG") {
                t.sql = QStringLiteral("CAST(round(%1) AS INTEGER)").arg(n);
            } else if (fn == u"ABS") {
                t.sql = QStringLiteral("abs(%1)").arg(n);
            } else if (fn == u"SGN") {
                t.sql = QStringLiteral("sign(%1)").arg(n);
            } else {
                t.sql = QStringLiteral("CAST(%1 AS REAL)").arg(n);
            }
            t.kind = ValueKind::Number;
            t.aggregate = v[0].aggregate;
            return t;
        }
        if (fn == u"ROUND") {
            argc(1, 2);
            auto v = args();
            Tx t;
            t.sql = v.size() == 2 ? QStringLiteral("round(%1, %2)").arg(asNumber(v[0]), asNumber(v[1]))
                                  : QStringLiteral("round(%1)").arg(asNumber(v[0]));
            t.kind = ValueKind::Number;
            t.aggregate = anyAgg(v);
            return t;
        }
        if (fn == u"CBOOL") {
            argc(1, 1);
            return fnCall(QStringLiteral("jet_bool"), args(), ValueKind::Boolean);
        }
        if (fn == u"CHR" || fn == u"CHR$") {
            argc(1, 1);
            return fnCall(QStringLiteral("char"), args(), ValueKind::Text);
        }
        if (fn == u"ASC") {
            argc(1, 1);
            return fnCall(QStringLiteral("unicode"), args(), ValueKind::Number);
        }
        fail(QStringLiteral("Fonction inconnue : %1").arg(e.text));
    }

    Tx aggregate(const Expr& e, const QString& fn, Scope& scope) {
        if (inAggregate_) {
            fail(QStringLiteral("Une fonction d'agrégat ne peut pas en contenir une autre"));
        }
        if (e.star && fn != u"COUNT") {
            fail(QStringLiteral("Erreur de syntaxe près de « * »"));
        }
        if (!e.star && e.args.size() != 1) {
            fail(QStringLiteral("Nombre d'arguments incorrect pour la fonction %1").arg(e.text));
        }
        Tx t;
        t.aggregate = true;
        if (e.star) {
            t.sql = QStringLiteral("count(*)");
            t.kind = ValueKind::Number;
            if (scope.pushdownBinding >= 0) {
                pushdownViolated_ = true;
            }
            return t;
        }
        inAggregate_ = true;
        aggregateReadsLeft_ = false;
        const bool violatedBefore = pushdownViolated_;
        Tx a = expr(e.args[0], scope);
        inAggregate_ = false;
        pushdownViolated_ = violatedBefore;
        if (fn == u"SUM" || fn == u"AVG") {
            t.sql = QStringLiteral("%1(%2)").arg(fn.toLower(), asNumber(a));
            t.kind = ValueKind::Number;
        } else if (fn == u"COUNT") {
            t.sql = QStringLiteral("count(%1)").arg(value(a));
            t.kind = ValueKind::Number;
        } else {
            const ValueKind k = kindOf(a);
            t.sql =
                QStringLiteral("%1(%2%3)")
                    .arg(fn.toLower(), value(a), isTextual(k) ? QStringLiteral(" COLLATE JET") : QString());
            t.kind = k;
        }
        if (scope.pushdownBinding >= 0 && scope.pushdownJoin) {
            if (aggregateReadsLeft_) {
                pushdownViolated_ = true;
            }
            QString column;
            for (const auto& [sql, name] : scope.pushdownAggs) {
                if (sql == t.sql) {
                    column = name;
                }
            }
            if (column.isEmpty()) {
                column = QStringLiteral("a%1").arg(scope.pushdownAggs.size() + 1);
                scope.pushdownAggs.emplace_back(t.sql, column);
            }
            const QString ref = QStringLiteral("\"_agg\".") + quoteIdentifier(column);
            t.sql = fn == u"COUNT" ? QStringLiteral("coalesce(%1, 0)").arg(ref) : ref;
        } else if (scope.pushdownBinding >= 0) {
            t.sql = QStringLiteral("(SELECT %1 FROM %2 WHERE %3)")
                        .arg(t.sql, scope.pushdownFrom, scope.pushdownWhere);
        }
        return t;
    }

    // ---------------------------------------------------------------- FROM
    QString from(const TableRefP& ref, Scope& scope) {
        switch (ref->kind) {
            case TableRef::Kind::Table: {
                const CatalogSource* s = source(ref->name);
                if (s->isQuery && inlineQueries_ && !s->jetText.isEmpty() && inlineDepth_ < 8) {
                    // A statement that reads every row: the stored query's own
                    // plan, inlined, so that its aggregates are computed once.
                    StatementP inner;
                    try {
                        inner = parse(s->jetText);
                    } catch (const SyntaxError& e) {
                        fail(e.message);
                    }
                    ++inlineDepth_;
                    SelectOut sub = select(*inner->select, nullptr, true);
                    --inlineDepth_;
                    Binding b;
                    b.name = ref->alias.isEmpty() ? s->name : ref->alias;
                    b.tableName = s->name;
                    b.sqlAlias = quoteIdentifier(b.name);
                    b.columns = s->columns;
                    b.source = s;
                    for (size_t i = 0; i < b.columns.size() && i < sub.columns.size(); ++i) {
                        b.columns[i].sqlName = sub.columns[i].sqlName;
                    }
                    addBinding(scope, b);
                    return QStringLiteral("(%1) AS %2").arg(sub.sql, b.sqlAlias);
                }
                Binding b;
                b.name = ref->alias.isEmpty() ? s->name : ref->alias;
                b.tableName = s->name;
                b.sqlAlias = quoteIdentifier(b.name);
                b.columns = s->columns;
                b.source = s;
                addBinding(scope, b);
                if (ref->alias.isEmpty()) {
                    return quoteIdentifier(s->name);
                }
                return QStringLiteral("%1 AS %2").arg(quoteIdentifier(s->name), b.sqlAlias);
            }
            case TableRef::Kind::Subquery: {
                SelectOut sub = select(*ref->select, nullptr, true);
                Binding b;
                b.name = ref->alias.isEmpty() ? QStringLiteral("_sq%1").arg(++subqueries_) : ref->alias;
                b.sqlAlias = quoteIdentifier(b.name);
                for (const OutputColumn& c : sub.columns) {
                    CatalogColumn col;
                    col.name = c.name;
                    col.sqlName = c.sqlName;
                    col.kind = c.kind;
                    b.columns.push_back(col);
                }
                addBinding(scope, b);
                return QStringLiteral("(%1) AS %2").arg(sub.sql, b.sqlAlias);
            }
            case TableRef::Kind::Join: {
                QString left = from(ref->left, scope);
                QString right = from(ref->right, scope);
                if (ref->right->kind == TableRef::Kind::Join) {
                    right = QStringLiteral("(%1)").arg(right);
                }
                Tx on = expr(ref->on, scope);
                const char* type = ref->joinType == TableRef::JoinType::Inner  ? "INNER JOIN"
                                   : ref->joinType == TableRef::JoinType::Left ? "LEFT JOIN"
                                                                               : "RIGHT JOIN";
                return QStringLiteral("%1 %2 %3 ON %4").arg(left, QLatin1String(type), right, condition(on));
            }
        }
        return QString();
    }

    void addBinding(Scope& scope, const Binding& b) {
        for (const Binding& other : scope.bindings) {
            if (same(other.name, b.name)) {
                fail(QStringLiteral("La table %1 est lue deux fois sans alias distinct").arg(b.name));
            }
        }
        scope.bindings.push_back(b);
    }

    // ---------------------------------------------------------------- SELECT
    struct Item {
        QString sql;
        QString name;
        ValueKind kind = ValueKind::Unknown;
        bool columnRef = false;
        QString bindingName;
    };

    // Checks whether the grouped LEFT JOIN of s can be computed with one
    // correlated aggregate per row of its left side (see select()).
    bool pushdownPossible(const Select& s, Scope& scope, size_t rightIndex) {
        const Binding& right = scope.bindings[rightIndex];
        if (!right.source || right.source->isQuery || s.having) {
            return false;
        }
        // Group keys: plain columns of the left side only.
        QHash<int, QSet<QString>> keys;  // binding index -> key column names (lower case)
        for (const ExprP& g : s.groupBy) {
            if (g->kind != Expr::Kind::Column) {
                return false;
            }
            std::optional<Resolved> r;
            try {
                r = resolve(g->qualifier, g->name, scope);
            } catch (const TranslateError&) {
                return false;
            }
            if (!r || r->scope != &scope || r->bindingIndex == static_cast<int>(rightIndex)) {
                return false;
            }
            keys[r->bindingIndex].insert(r->column->name.toLower());
        }
        // Every left table must be determined by the keys: a unique key of its own
        // in the group keys, or equated in an inner join to a determined table.
        std::vector<bool> determined(rightIndex, false);
        for (size_t i = 0; i < rightIndex; ++i) {
            const Binding& b = scope.bindings[i];
            if (!b.source || b.source->isQuery) {
                return false;
            }
            for (const auto& key : b.source->uniqueKeys) {
                bool covered = !key.empty();
                for (int c : key) {
                    covered =
                        covered && keys.value(static_cast<int>(i))
                                       .contains(b.source->columns[static_cast<size_t>(c)].name.toLower());
                }
                if (covered) {
                    determined[i] = true;
                    break;
                }
            }
        }
        // Equalities of the inner joins of the left side.
        std::vector<std::tuple<int, QString, int, QString>> equalities;
        std::function<bool(const TableRefP&)> collect = [&](const TableRefP& ref) -> bool {
            if (ref->kind == TableRef::Kind::Table) {
                return true;
            }
            if (ref->kind != TableRef::Kind::Join || ref->joinType != TableRef::JoinType::Inner) {
                return false;
            }
            if (!collect(ref->left) || !collect(ref->right)) {
                return false;
            }
            std::vector<ExprP> conj;
            conjuncts(ref->on, conj);
            for (const ExprP& c : conj) {
                if (c->kind == Expr::Kind::Binary && c->text == u"=" &&
                    c->args[0]->kind == Expr::Kind::Column && c->args[1]->kind == Expr::Kind::Column) {
                    auto a = tryResolve(*c->args[0], scope);
                    auto b = tryResolve(*c->args[1], scope);
                    if (a && b) {
                        equalities.emplace_back(a->bindingIndex, a->column->name.toLower(), b->bindingIndex,
                                                b->column->name.toLower());
                    }
                }
            }
            return true;
        };
        if (!collect(s.from[0]->left)) {
            return false;
        }
        bool progress = true;
        while (progress) {
            progress = false;
            for (size_t i = 0; i < rightIndex; ++i) {
                if (determined[i]) {
                    continue;
                }
                const Binding& b = scope.bindings[i];
                QSet<QString> bound;
                for (const auto& [ia, ca, ib, cb] : equalities) {
                    if (ia == static_cast<int>(i) && ib != ia && ib < static_cast<int>(rightIndex) &&
                        determined[ib]) {
                        bound.insert(ca);
                    }
                    if (ib == static_cast<int>(i) && ia != ib && ia < static_cast<int>(rightIndex) &&
                        determined[ia]) {
                        bound.insert(cb);
                    }
                }
                for (const auto& key : b.source->uniqueKeys) {
                    bool covered = !key.empty();
                    for (int c : key) {
                        covered = covered &&
                                  bound.contains(b.source->columns[static_cast<size_t>(c)].name.toLower());
                    }
                    if (covered) {
                        determined[i] = true;
                        progress = true;
                        break;
                    }
                }
            }
        }
        if (std::find(determined.begin(), determined.end(), false) != determined.end()) {
            return false;
        }
        // The ON condition of the outer join: equalities between the right table and the left side.
        std::vector<ExprP> conj;
        conjuncts(s.from[0]->on, conj);
        for (const ExprP& c : conj) {
            if (c->kind != Expr::Kind::Binary || c->text != u"=") {
                return false;
            }
        }
        return true;
    }

    static void conjuncts(const ExprP& e, std::vector<ExprP>& out) {
        if (e->kind == Expr::Kind::Binary && e->text == u"AND") {
            conjuncts(e->args[0], out);
            conjuncts(e->args[1], out);
        } else {
            out.push_back(e);
        }
    }

    std::optional<Resolved> tryResolve(const Expr& e, Scope& scope) {
        try {
            return resolve(e.qualifier, e.name, scope);
        } catch (const TranslateError&) {
            return std::nullopt;
        }
    }

    SelectOut select(const Select& s, const Scope* parent, bool /*uniqueNames*/) {
        if (++depth_ > 100) {
            fail(QStringLiteral("Instruction trop complexe"));
        }
        SelectOut out = selectCore(s, parent);
        if (!s.unions.empty()) {
            QStringList parts{out.sql};
            for (const Select::Union& u : s.unions) {
                SelectOut part = selectCore(*u.select, parent);
                if (part.columns.size() != out.columns.size()) {
                    fail(QStringLiteral("Les requêtes d'une union doivent avoir le même nombre de colonnes"));
                }
                for (size_t i = 0; i < part.columns.size(); ++i) {
                    out.columns[i].kind = merge(out.columns[i].kind, part.columns[i].kind);
                }
                parts << (u.all ? QStringLiteral("UNION ALL") : QStringLiteral("UNION")) << part.sql;
            }
            out.sql = parts.join(QLatin1Char(' '));
            if (!s.orderBy.empty()) {
                QStringList terms;
                for (const OrderItem& o : s.orderBy) {
                    int index = -1;
                    if (o.expr->kind == Expr::Kind::Column) {
                        for (size_t i = 0; i < out.columns.size(); ++i) {
                            if (same(out.columns[i].name, o.expr->name)) {
                                index = static_cast<int>(i);
                                break;
                            }
                        }
                    } else if (o.expr->kind == Expr::Kind::Number) {
                        index = o.expr->text.toInt() - 1;
                    }
                    if (index < 0 || index >= static_cast<int>(out.columns.size())) {
                        fail(QStringLiteral("Le tri d'une union doit porter sur ses colonnes"));
                    }
                    terms << QStringLiteral("%1%2%3").arg(
                        quoteIdentifier(out.columns[static_cast<size_t>(index)].sqlName),
                        isTextual(out.columns[static_cast<size_t>(index)].kind)
                            ? QStringLiteral(" COLLATE JET")
                            : QString(),
                        o.descending ? QStringLiteral(" DESC") : QString());
                }
                out.sql += QStringLiteral(" ORDER BY ") + terms.join(QStringLiteral(", "));
            }
        }
        --depth_;
        return out;
    }

    SelectOut selectCore(const Select& s, const Scope* parent) {
        Scope scope;
        scope.parent = parent;
        QStringList fromParts;
        QString pushdownLeft;
        if (s.from.size() == 1 && s.from[0]->kind == TableRef::Kind::Join &&
            s.from[0]->joinType == TableRef::JoinType::Left &&
            s.from[0]->right->kind == TableRef::Kind::Table && !s.groupBy.empty() && s.unions.empty()) {
            // A grouped LEFT JOIN whose aggregates read only its right table and
            // whose groups are single rows of its left side: computed as one
            // correlated aggregate per left row (through the right table's index)
            // instead of grouping the joined rows.
            const TableRefP& join = s.from[0];
            pushdownLeft = from(join->left, scope);
            const size_t rightIndex = scope.bindings.size();
            QString right = from(join->right, scope);
            if (pushdownPossible(s, scope, rightIndex)) {
                Tx on = expr(join->on, scope);
                // Keys of the derived table: the right table's columns equated to the left side.
                QStringList keys, keyed;
                bool joinable = inlineQueries_;
                std::vector<ExprP> conj;
                conjuncts(join->on, conj);
                for (const ExprP& c : conj) {
                    const Expr* r = nullptr;
                    const Expr* l = nullptr;
                    for (int side = 0; side < 2 && c->args.size() == 2; ++side) {
                        auto a = c->args[side]->kind == Expr::Kind::Column ? tryResolve(*c->args[side], scope)
                                                                           : std::nullopt;
                        if (a && a->scope == &scope && a->bindingIndex == static_cast<int>(rightIndex) &&
                            isNumeric(a->column->kind)) {
                            r = c->args[side].get();
                            l = c->args[1 - side].get();
                        }
                    }
                    if (!r || !l) {
                        joinable = false;
                        break;
                    }
                    auto lr = l->kind == Expr::Kind::Column ? tryResolve(*l, scope) : std::nullopt;
                    if (!lr || lr->bindingIndex == static_cast<int>(rightIndex) ||
                        !isNumeric(lr->column->kind)) {
                        joinable = false;
                        break;
                    }
                    keys << value(expr(c->args[r == c->args[0].get() ? 0 : 1], scope));
                    keyed << value(expr(c->args[l == c->args[0].get() ? 0 : 1], scope));
                }
                for (int mode = joinable ? 0 : 1; mode < 2; ++mode) {
                    scope.pushdownBinding = static_cast<int>(rightIndex);
                    scope.pushdownFrom = right;
                    scope.pushdownWhere = condition(on);
                    scope.pushdownJoin = mode == 0;
                    scope.pushdownAggs.clear();
                    pushdownViolated_ = false;
                    SelectOut attempt;
                    bool ok = true;
                    try {
                        attempt = selectBody(
                            s, scope,
                            [&] {
                                if (!scope.pushdownJoin) {
                                    return QStringList{pushdownLeft};
                                }
                                QStringList cols, group, on2;
                                for (int k = 0; k < keys.size(); ++k) {
                                    cols << QStringLiteral("%1 AS \"k%2\"").arg(keys[k]).arg(k + 1);
                                    group << keys[k];
                                    on2 << QStringLiteral("\"_agg\".\"k%1\" = %2").arg(k + 1).arg(keyed[k]);
                                }
                                for (const auto& [sql, name] : scope.pushdownAggs) {
                                    cols << QStringLiteral("%1 AS %2").arg(sql, quoteIdentifier(name));
                                }
                                return QStringList{
                                    QStringLiteral(
                                        "%1 LEFT JOIN (SELECT %2 FROM %3 GROUP BY %4) AS \"_agg\" ON %5")
                                        .arg(pushdownLeft, cols.join(QStringLiteral(", ")), right,
                                             group.join(QStringLiteral(", ")),
                                             on2.join(QStringLiteral(" AND ")))};
                            },
                            true);
                    } catch (const TranslateError&) {
                        ok = false;
                    }
                    if (ok && !pushdownViolated_) {
                        return attempt;
                    }
                }
                scope.pushdownBinding = -1;
                scope.pushdownJoin = false;
                pushdownViolated_ = false;
            }
            Tx on = expr(join->on, scope);
            fromParts << QStringLiteral("%1 LEFT JOIN %2 ON %3").arg(pushdownLeft, right, condition(on));
        } else {
            for (const TableRefP& ref : s.from) {
                fromParts << from(ref, scope);
            }
        }
        return selectBody(
            s, scope, [&] { return fromParts; }, false);
    }

    // A GROUP BY or ORDER BY term: texts in the JET collation; a number
    // literal is a constant for Jet, never a column position.
    static QString sortTerm(const Tx& t) {
        if (t.literal && t.kind == ValueKind::Number) {
            return QStringLiteral("(%1 + 0)").arg(t.sql);
        }
        return value(t) + (isTextual(kindOf(t)) ? QStringLiteral(" COLLATE JET") : QString());
    }

    SelectOut selectBody(const Select& s, Scope& scope, const std::function<QStringList()>& fromText,
                         bool pushdown) {
        // Select list, with * expanded.
        std::vector<Item> items;
        int exprCounter = 1000;
        for (const SelectItem& si : s.items) {
            if (si.expr->kind == Expr::Kind::Star) {
                const QString& q = si.expr->qualifier;
                bool found = q.isEmpty();
                for (size_t bi = 0; bi < scope.bindings.size(); ++bi) {
                    const Binding& b = scope.bindings[bi];
                    if (pushdown && static_cast<int>(bi) == scope.pushdownBinding) {
                        pushdownViolated_ = true;
                        continue;
                    }
                    if (!q.isEmpty() && !same(b.name, q) && !same(b.tableName, q)) {
                        continue;
                    }
                    found = true;
                    for (const CatalogColumn& c : b.columns) {
                        Item it;
                        it.sql = b.sqlAlias + QLatin1Char('.') + quoteIdentifier(c.sqlName);
                        it.name = c.name;
                        it.kind = c.kind;
                        it.columnRef = true;
                        it.bindingName = b.name;
                        if (q.isEmpty() && scope.bindings.size() > 1) {
                            // A name present in several tables is qualified, as Jet does.
                            for (const Binding& other : scope.bindings) {
                                if (&other != &b && other.source != nullptr && other.columns.size() > 0 &&
                                    std::any_of(
                                        other.columns.begin(), other.columns.end(),
                                        [&](const CatalogColumn& oc) { return same(oc.name, c.name); })) {
                                    it.name = b.name + QLatin1Char('.') + c.name;
                                    break;
                                }
                            }
                        }
                        items.push_back(it);
                    }
                }
                if (!found) {
                    fail(QStringLiteral("Table ou requête inconnue : %1").arg(q));
                }
                if (scope.bindings.empty()) {
                    fail(QStringLiteral("SELECT * sans clause FROM"));
                }
                continue;
            }
            Tx t = expr(si.expr, scope);
            Item it;
            it.sql = value(t);
            it.kind = kindOf(t);
            if (!si.alias.isEmpty()) {
                it.name = si.alias;
            } else if (si.expr->kind == Expr::Kind::Column) {
                auto r = tryResolve(*si.expr, scope);
                it.name = r ? r->column->name : si.expr->name;
                it.columnRef = true;
                it.bindingName = r ? r->binding->name : QString();
            } else {
                it.name = QStringLiteral("Expr%1").arg(exprCounter++);
            }
            items.push_back(it);
        }
        // Two columns of different tables with the same name are qualified.
        for (size_t i = 0; i < items.size(); ++i) {
            if (!items[i].columnRef || items[i].name.contains(u'.')) {
                continue;
            }
            for (size_t j = 0; j < items.size(); ++j) {
                if (i != j && items[j].columnRef && same(items[i].name, items[j].name) &&
                    !same(items[i].bindingName, items[j].bindingName) && !items[i].bindingName.isEmpty() &&
                    !items[j].bindingName.isEmpty()) {
                    items[i].name = items[i].bindingName + QLatin1Char('.') + items[i].name;
                    break;
                }
            }
        }

        scope.items = &s.items;
        QString where;
        if (s.where) {
            Tx w = expr(s.where, scope);
            if (w.aggregate) {
                fail(QStringLiteral("Une fonction d'agrégat ne peut pas figurer dans la clause WHERE"));
            }
            where = condition(w);
        }
        QStringList group;
        if (!pushdown) {
            for (const ExprP& g : s.groupBy) {
                Tx t = expr(g, scope);
                group << sortTerm(t);
            }
        }
        QString having;
        if (s.having) {
            having = condition(expr(s.having, scope));
        }
        QStringList order;
        for (const OrderItem& o : s.orderBy) {
            Tx t = expr(o.expr, scope);
            order << sortTerm(t) + (o.descending ? QStringLiteral(" DESC") : QString());
        }

        // Output names: unique in the SQLite text.
        SelectOut out;
        QSet<QString> used;
        QStringList selectList;
        for (const Item& it : items) {
            OutputColumn c;
            c.name = it.name;
            c.kind = it.kind;
            QString sqlName = it.name;
            int n = 2;
            while (used.contains(sqlName.toLower())) {
                sqlName = QStringLiteral("%1#%2").arg(it.name).arg(n++);
            }
            used.insert(sqlName.toLower());
            c.sqlName = sqlName;
            QString itemSql = it.sql;
            if ((s.distinct || (!s.unions.empty())) && isTextual(it.kind)) {
                itemSql = QStringLiteral("%1 COLLATE JET").arg(itemSql);
            }
            selectList << QStringLiteral("%1 AS %2").arg(itemSql, quoteIdentifier(sqlName));
            out.columns.push_back(c);
        }
        QString sql = QStringLiteral("SELECT ");
        if (s.distinct) {
            sql += QStringLiteral("DISTINCT ");
        }
        sql += selectList.join(QStringLiteral(", "));
        const QStringList fromParts = fromText();
        if (!fromParts.isEmpty()) {
            sql += QStringLiteral(" FROM ") + fromParts.join(QStringLiteral(", "));
        }
        if (!where.isEmpty()) {
            sql += QStringLiteral(" WHERE ") + where;
        }
        if (!group.isEmpty()) {
            sql += QStringLiteral(" GROUP BY ") + group.join(QStringLiteral(", "));
        }
        if (!having.isEmpty()) {
            sql += QStringLiteral(" HAVING ") + having;
        }
        if (!order.isEmpty() && s.unions.empty()) {
            sql += QStringLiteral(" ORDER BY ") + order.join(QStringLiteral(", "));
        }
        if (s.top >= 0) {
            if (s.topPercent) {
                fail(QStringLiteral("TOP ... PERCENT n'est pas pris en charge"));
            }
            sql += QStringLiteral(" LIMIT %1").arg(s.top);
        }
        out.sql = sql;
        return out;
    }

    // ---------------------------------------------------------------- writes
    // A value written into a column, converted as Jet converts it.
    QString stored(const Tx& t, const CatalogColumn& c) {
        const ValueKind k = kindOf(t);
        const QString v = value(t);
        if (k == ValueKind::Null) {
            return v;
        }
        switch (c.kind) {
            case ValueKind::Boolean:
                if (t.literal && (k == ValueKind::Number || k == ValueKind::Boolean)) {
                    bool ok = false;
                    double d = t.sql.toDouble(&ok);
                    if (ok) {
                        return d != 0 ? QStringLiteral("-1") : QStringLiteral("0");
                    }
                }
                return QStringLiteral("jet_bool(%1)").arg(v);
            case ValueKind::Date:
                return asDate(t);
            case ValueKind::Number:
                return asNumber(t);
            case ValueKind::Text:
                if (k == ValueKind::Number || k == ValueKind::Boolean || k == ValueKind::Date) {
                    return QStringLiteral("jet_format(%1)").arg(v);
                }
                return v;
            default:
                return v;
        }
    }

    Translation insert(const Statement& st) {
        const CatalogSource* t = table(st.table);
        std::vector<const CatalogColumn*> cols;
        if (st.columns.isEmpty()) {
            for (const CatalogColumn& c : t->columns) {
                cols.push_back(&c);
            }
        } else {
            for (const QString& name : st.columns) {
                cols.push_back(column(*t, name));
            }
        }
        QStringList names;
        for (const CatalogColumn* c : cols) {
            names << quoteIdentifier(c->sqlName);
        }
        Translation tr;
        tr.kind = Statement::Kind::Insert;
        QString head = QStringLiteral("INSERT INTO %1 (%2) ")
                           .arg(quoteIdentifier(t->name), names.join(QStringLiteral(", ")));
        if (!st.values.empty()) {
            QStringList rows;
            for (const auto& row : st.values) {
                if (row.size() != cols.size()) {
                    fail(QStringLiteral(
                             "Le nombre de valeurs (%1) ne correspond pas au nombre de colonnes (%2)")
                             .arg(row.size())
                             .arg(cols.size()));
                }
                QStringList vals;
                Scope empty;
                for (size_t i = 0; i < row.size(); ++i) {
                    Tx v = expr(row[i], empty);
                    if (v.aggregate) {
                        fail(QStringLiteral("Fonction d'agrégat non permise dans VALUES"));
                    }
                    vals << stored(v, *cols[i]);
                }
                rows << QStringLiteral("(%1)").arg(vals.join(QStringLiteral(", ")));
            }
            tr.sql = head + QStringLiteral("VALUES ") + rows.join(QStringLiteral(", "));
        } else {
            SelectOut sub = select(*st.select, nullptr, true);
            if (sub.columns.size() != cols.size()) {
                fail(QStringLiteral("Le nombre de valeurs (%1) ne correspond pas au nombre de colonnes (%2)")
                         .arg(sub.columns.size())
                         .arg(cols.size()));
            }
            QStringList vals;
            bool converted = false;
            for (size_t i = 0; i < cols.size(); ++i) {
                Tx v;
                v.sql = QStringLiteral("\"_src\".") + quoteIdentifier(sub.columns[i].sqlName);
                v.kind = sub.columns[i].kind;
                QString s = stored(v, *cols[i]);
                converted = converted || s != v.sql;
                vals << s;
            }
            tr.sql = converted ? head + QStringLiteral("SELECT %1 FROM (%2) AS \"_src\"")
                                            .arg(vals.join(QStringLiteral(", ")), sub.sql)
                               : head + sub.sql;
        }
        return tr;
    }

    // Flattens the sources of a multi-table UPDATE or DELETE into tables and join conditions.
    void flatten(const TableRefP& ref, std::vector<TableRefP>& tables, std::vector<ExprP>& conditions) {
        if (ref->kind == TableRef::Kind::Table) {
            tables.push_back(ref);
        } else if (ref->kind == TableRef::Kind::Join) {
            if (ref->joinType != TableRef::JoinType::Inner) {
                fail(QStringLiteral("Jointure externe non prise en charge dans une mise à jour"));
            }
            flatten(ref->left, tables, conditions);
            flatten(ref->right, tables, conditions);
            conditions.push_back(ref->on);
        } else {
            fail(QStringLiteral("Sous-requête non prise en charge comme table à modifier"));
        }
    }

    Translation update(const Statement& st) {
        std::vector<TableRefP> tables;
        std::vector<ExprP> conditions;
        for (const TableRefP& ref : st.sources) {
            flatten(ref, tables, conditions);
        }
        Scope scope;
        std::vector<QString> tableSql;
        for (const TableRefP& ref : tables) {
            const CatalogSource* s = table(ref->name);
            Binding b;
            b.name = ref->alias.isEmpty() ? s->name : ref->alias;
            b.tableName = s->name;
            b.sqlAlias = quoteIdentifier(b.name);
            b.columns = s->columns;
            b.source = s;
            addBinding(scope, b);
            tableSql.push_back(ref->alias.isEmpty()
                                   ? quoteIdentifier(s->name)
                                   : QStringLiteral("%1 AS %2").arg(quoteIdentifier(s->name), b.sqlAlias));
        }
        // The target: the table of the columns set.
        int target = -1;
        std::vector<std::pair<const CatalogColumn*, ExprP>> sets;
        for (const auto& [col, val] : st.sets) {
            std::optional<Resolved> r = resolve(col->qualifier, col->name, scope);
            if (!r || r->scope != &scope) {
                fail(QStringLiteral("Colonne inconnue : %1").arg(col->name));
            }
            if (target >= 0 && target != r->bindingIndex) {
                fail(QStringLiteral("Une mise à jour ne peut modifier qu'une table à la fois"));
            }
            target = r->bindingIndex;
            sets.emplace_back(r->column, val);
        }
        QStringList assignments;
        for (const auto& [col, val] : sets) {
            Tx v = expr(val, scope);
            if (v.aggregate) {
                fail(QStringLiteral("Fonction d'agrégat non permise dans SET"));
            }
            assignments << QStringLiteral("%1 = %2").arg(quoteIdentifier(col->sqlName), stored(v, *col));
        }
        QStringList where;
        for (const ExprP& c : conditions) {
            where << condition(expr(c, scope));
        }
        if (st.where) {
            where << condition(expr(st.where, scope));
        }
        Translation tr;
        tr.kind = Statement::Kind::Update;
        tr.sql = QStringLiteral("UPDATE %1 SET %2")
                     .arg(tableSql[static_cast<size_t>(target)], assignments.join(QStringLiteral(", ")));
        QStringList others;
        for (size_t i = 0; i < tableSql.size(); ++i) {
            if (static_cast<int>(i) != target) {
                others << tableSql[i];
            }
        }
        if (!others.isEmpty()) {
            tr.sql += QStringLiteral(" FROM ") + others.join(QStringLiteral(", "));
        }
        if (!where.isEmpty()) {
            tr.sql += QStringLiteral(" WHERE ") + where.join(QStringLiteral(" AND "));
        }
        return tr;
    }

    Translation deleteStatement(const Statement& st) {
        Translation tr;
        tr.kind = Statement::Kind::Delete;
        if (st.sources.size() == 1 && st.sources[0]->kind == TableRef::Kind::Table) {
            const TableRefP& ref = st.sources[0];
            const CatalogSource* s = table(ref->name);
            Scope scope;
            Binding b;
            b.name = ref->alias.isEmpty() ? s->name : ref->alias;
            b.tableName = s->name;
            b.sqlAlias = quoteIdentifier(b.name);
            b.columns = s->columns;
            b.source = s;
            addBinding(scope, b);
            tr.sql = QStringLiteral("DELETE FROM %1")
                         .arg(ref->alias.isEmpty()
                                  ? quoteIdentifier(s->name)
                                  : QStringLiteral("%1 AS %2").arg(quoteIdentifier(s->name), b.sqlAlias));
            if (st.where) {
                tr.sql += QStringLiteral(" WHERE ") + condition(expr(st.where, scope));
            }
            return tr;
        }
        // Rows of one table chosen through a join: deleted by rowid.
        std::vector<TableRefP> tables;
        std::vector<ExprP> conditions;
        for (const TableRefP& ref : st.sources) {
            flatten(ref, tables, conditions);
        }
        Scope scope;
        QStringList fromSql;
        for (const TableRefP& ref : st.sources) {
            fromSql << from(ref, scope);
        }
        int target = 0;
        if (!st.columns.isEmpty()) {
            target = -1;
            for (size_t i = 0; i < scope.bindings.size(); ++i) {
                if (same(scope.bindings[i].name, st.columns[0]) ||
                    same(scope.bindings[i].tableName, st.columns[0])) {
                    target = static_cast<int>(i);
                }
            }
            if (target < 0) {
                fail(QStringLiteral("Table inconnue : %1").arg(st.columns[0]));
            }
        }
        const Binding& b = scope.bindings[static_cast<size_t>(target)];
        if (!b.source || b.source->isQuery) {
            fail(QStringLiteral("%1 n'est pas une table").arg(b.name));
        }
        QString sub =
            QStringLiteral("SELECT %1.rowid FROM %2").arg(b.sqlAlias, fromSql.join(QStringLiteral(", ")));
        if (st.where) {
            sub += QStringLiteral(" WHERE ") + condition(expr(st.where, scope));
        }
        tr.sql =
            QStringLiteral("DELETE FROM %1 WHERE rowid IN (%2)").arg(quoteIdentifier(b.source->name), sub);
        return tr;
    }

    // ---------------------------------------------------------------- DDL
    QString columnSql(const ColumnDefinition& def, const TypeInfo& info, bool alter) {
        QString sql = quoteIdentifier(def.name) + QLatin1Char(' ') + info.decl;
        if (info.counter) {
            return sql + QStringLiteral(" PRIMARY KEY AUTOINCREMENT");
        }
        if (info.jet == u"TEXT" || info.jet == u"MEMO") {
            sql += QStringLiteral(" COLLATE JET");
        }
        if (info.width > 0) {
            sql += QStringLiteral(" CHECK(length(%1) <= %2)").arg(quoteIdentifier(def.name)).arg(info.width);
        }
        if (def.defaultValue) {
            Scope empty;
            Tx d = expr(def.defaultValue, empty);
            sql += QStringLiteral(" DEFAULT (%1)").arg(value(d));
        }
        if ((def.notNull || def.primaryKey) && (!alter || def.defaultValue)) {
            sql += QStringLiteral(" NOT NULL");
        }
        return sql;
    }

    Translation createTable(const Statement& st) {
        if (catalog_.find(st.table)) {
            fail(QStringLiteral("La table ou requête %1 existe déjà").arg(st.table));
        }
        QStringList parts;
        QString counter;
        QStringList tail;
        QSet<QString> seen;
        for (const ColumnDefinition& def : st.columnDefs) {
            if (seen.contains(def.name.toLower())) {
                fail(QStringLiteral("Colonne en double : %1").arg(def.name));
            }
            seen.insert(def.name.toLower());
            TypeInfo info = typeInfo(def.type);
            if (info.counter) {
                if (!counter.isEmpty()) {
                    fail(QStringLiteral("Une table ne peut avoir qu'un compteur"));
                }
                counter = def.name;
            }
            parts << columnSql(def, info, false);
        }
        auto keySql = [&](const QString& name, const QStringList& cols, bool primary) {
            for (const QString& c : cols) {
                if (!seen.contains(c.toLower())) {
                    fail(QStringLiteral("Colonne inconnue : %1").arg(c));
                }
            }
            if (primary && cols.size() == 1 && same(cols[0], counter)) {
                return;  // the counter is the key already
            }
            QStringList quoted;
            for (const QString& c : cols) {
                quoted << quoteIdentifier(c);
            }
            const bool asPrimary = primary && counter.isEmpty() && !havePrimary_;
            havePrimary_ = havePrimary_ || asPrimary;
            tail << QStringLiteral("%1%2 (%3)")
                        .arg(name.isEmpty() ? QString()
                                            : QStringLiteral("CONSTRAINT %1 ").arg(quoteIdentifier(name)),
                             asPrimary ? QStringLiteral("PRIMARY KEY") : QStringLiteral("UNIQUE"),
                             quoted.join(QStringLiteral(", ")));
        };
        havePrimary_ = false;
        for (const ColumnDefinition& def : st.columnDefs) {
            if (def.primaryKey) {
                keySql(def.constraintName, {def.name}, true);
            } else if (def.unique) {
                keySql(def.constraintName, {def.name}, false);
            }
        }
        for (const TableConstraint& c : st.constraints) {
            if (c.kind == TableConstraint::Kind::ForeignKey) {
                continue;
            }
            keySql(c.name, c.columns, c.kind == TableConstraint::Kind::PrimaryKey);
        }
        // Primary-key columns may not hold Null.
        Translation tr;
        tr.kind = Statement::Kind::CreateTable;
        tr.changesSchema = true;
        tr.objectName = st.table;
        tr.sql = QStringLiteral("CREATE TABLE %1 (%2)")
                     .arg(quoteIdentifier(st.table), (parts + tail).join(QStringLiteral(", ")));
        return tr;
    }

    Translation ddl(const Statement& st) {
        Translation tr;
        tr.kind = st.kind;
        tr.changesSchema = true;
        using K = Statement::Kind;
        switch (st.kind) {
            case K::CreateTable:
                return createTable(st);
            case K::AlterAddColumn: {
                const CatalogSource* t = table(st.table);
                const ColumnDefinition& def = st.columnDefs[0];
                if (t->columnIndex(def.name) >= 0) {
                    fail(QStringLiteral("La colonne %1 existe déjà dans la table %2").arg(def.name, t->name));
                }
                TypeInfo info = typeInfo(def.type);
                if (info.counter) {
                    fail(QStringLiteral("Impossible d'ajouter un compteur à une table existante"));
                }
                tr.objectName = t->name;
                tr.sql = QStringLiteral("ALTER TABLE %1 ADD COLUMN %2")
                             .arg(quoteIdentifier(t->name), columnSql(def, info, true));
                if (def.unique || def.primaryKey) {
                    tr.sql += QStringLiteral("; CREATE UNIQUE INDEX %1 ON %2 (%3)")
                                  .arg(quoteIdentifier(
                                           t->name + QLatin1Char('.') +
                                           (def.constraintName.isEmpty() ? def.name : def.constraintName)),
                                       quoteIdentifier(t->name), quoteIdentifier(def.name));
                }
                return tr;
            }
            case K::AlterDropColumn: {
                const CatalogSource* t = table(st.table);
                const CatalogColumn* c = column(*t, st.name);
                tr.objectName = t->name;
                tr.name = c->sqlName;
                tr.dropsViewsFirst = true;
                tr.sql = QStringLiteral("ALTER TABLE %1 DROP COLUMN %2")
                             .arg(quoteIdentifier(t->name), quoteIdentifier(c->sqlName));
                return tr;
            }
            case K::AlterAlterColumn:
                fail(
                    QStringLiteral("ALTER COLUMN n'est pas pris en charge : ajoutez une colonne, copiez, "
                                   "puis supprimez l'ancienne"));
            case K::AlterAddConstraint: {
                const CatalogSource* t = table(st.table);
                const TableConstraint& c = st.constraints[0];
                QStringList quoted;
                for (const QString& name : c.columns) {
                    quoted << quoteIdentifier(column(*t, name)->sqlName);
                }
                tr.objectName = t->name;
                tr.sql = QStringLiteral("CREATE %1INDEX %2 ON %3 (%4)")
                             .arg(c.kind == TableConstraint::Kind::ForeignKey ? QString()
                                                                              : QStringLiteral("UNIQUE "),
                                  quoteIdentifier(t->name + QLatin1Char('.') + c.name),
                                  quoteIdentifier(t->name), quoted.join(QStringLiteral(", ")));
                return tr;
            }
            case K::AlterDropConstraint: {
                const CatalogSource* t = table(st.table);
                tr.objectName = t->name;
                tr.sql = QStringLiteral("DROP INDEX %1")
                             .arg(quoteIdentifier(t->name + QLatin1Char('.') + st.name));
                return tr;
            }
            case K::DropTable: {
                const CatalogSource* t = table(st.table);
                tr.objectName = t->name;
                tr.dropsViewsFirst = true;
                tr.sql = QStringLiteral("DROP TABLE %1").arg(quoteIdentifier(t->name));
                return tr;
            }
            case K::CreateIndex: {
                const CatalogSource* t = table(st.table);
                QStringList quoted;
                for (const QString& name : st.columns) {
                    quoted << quoteIdentifier(column(*t, name)->sqlName);
                }
                tr.objectName = t->name;
                tr.sql = QStringLiteral("CREATE %1INDEX %2 ON %3 (%4)")
                             .arg(st.unique ? QStringLiteral("UNIQUE ") : QString(),
                                  quoteIdentifier(t->name + QLatin1Char('.') + st.name),
                                  quoteIdentifier(t->name), quoted.join(QStringLiteral(", ")));
                return tr;
            }
            case K::DropIndex: {
                const CatalogSource* t = table(st.table);
                tr.objectName = t->name;
                tr.sql = QStringLiteral("DROP INDEX %1")
                             .arg(quoteIdentifier(t->name + QLatin1Char('.') + st.name));
                return tr;
            }
            default:
                break;
        }
        fail(QStringLiteral("Instruction non prise en charge"));
    }

    Translation statement(const StatementP& stp) {
        const Statement& st = *stp;
        using K = Statement::Kind;
        Translation tr;
        switch (st.kind) {
            case K::Select: {
                inlineQueries_ = readsEveryRow(*st.select);
                SelectOut out = select(*st.select, nullptr, true);
                tr.kind = K::Select;
                tr.sql = out.sql;
                tr.columns = out.columns;
                tr.returnsRows = true;
                return tr;
            }
            case K::Insert:
                return insert(st);
            case K::Update:
                return update(st);
            case K::Delete:
                return deleteStatement(st);
            case K::CreateView: {
                tr.kind = K::CreateView;
                tr.objectName = st.name;
                tr.viewSelectJet = st.table;
                tr.changesSchema = true;
                return tr;
            }
            case K::DropView: {
                tr.kind = K::DropView;
                tr.objectName = st.name;
                tr.changesSchema = true;
                return tr;
            }
            case K::Begin:
            case K::Commit:
            case K::Rollback:
                tr.kind = st.kind;
                return tr;
            case K::Transform:
                return transformValues(stp);
            default:
                return ddl(st);
        }
    }

    // A statement whose condition selects nothing by value (no =, IN, LIKE,
    // BETWEEN or EXISTS): it reads every row of its sources, so aggregates of
    // its stored queries are best computed once for all rows.
    static bool selective(const Expr& e) {
        using K = Expr::Kind;
        if (e.kind == K::InList || e.kind == K::InSelect || e.kind == K::Like || e.kind == K::Exists ||
            e.kind == K::Between || (e.kind == K::Binary && e.text == u"=")) {
            return true;
        }
        return std::any_of(e.args.begin(), e.args.end(), [](const ExprP& a) { return selective(*a); });
    }

    static bool readsEveryRow(const Select& s) {
        return s.unions.empty() && s.top < 0 && (!s.where || !selective(*s.where));
    }

    // ---------------------------------------------------------------- cross-tabs
    static bool isAggregateName(const QString& name) {
        return same(name, QStringLiteral("Sum")) || same(name, QStringLiteral("Count")) ||
               same(name, QStringLiteral("Avg")) || same(name, QStringLiteral("Min")) ||
               same(name, QStringLiteral("Max"));
    }

    static bool hasAggregate(const Expr& e) {
        if (e.kind == Expr::Kind::Call && isAggregateName(e.text)) {
            return true;
        }
        return std::any_of(e.args.begin(), e.args.end(), [](const ExprP& a) { return hasAggregate(*a); });
    }

    static void checkTransform(const Statement& st) {
        if (!hasAggregate(*st.transformValue)) {
            fail(QStringLiteral("TRANSFORM attend une fonction d'agrégat (Sum, Count, Avg, Min, Max)"));
        }
        if (st.select->groupBy.empty()) {
            fail(QStringLiteral("Une requête analyse croisée doit avoir une clause GROUP BY"));
        }
        if (!st.select->unions.empty()) {
            fail(QStringLiteral("Une requête analyse croisée ne peut pas être une union"));
        }
    }

    // The value expression of a cross-tab restricted to the rows where test
    // holds: every aggregate reads IIf(test, x, Null); a count of no row is Null.
    static ExprP restrictAggregates(const ExprP& e, const ExprP& test) {
        if (e->kind == Expr::Kind::Call && isAggregateName(e->text)) {
            if (!e->star && e->args.size() != 1) {
                fail(QStringLiteral("Nombre d'arguments incorrect pour la fonction %1").arg(e->text));
            }
            ExprP measured;
            if (e->star) {
                measured = std::make_shared<Expr>();
                measured->kind = Expr::Kind::Number;
                measured->text = QStringLiteral("1");
            } else {
                measured = e->args.at(0);
            }
            auto nullExpr = std::make_shared<Expr>();
            nullExpr->kind = Expr::Kind::Null;
            auto iif = std::make_shared<Expr>();
            iif->kind = Expr::Kind::Call;
            iif->text = QStringLiteral("IIf");
            iif->args = {test, measured, nullExpr};
            auto call = std::make_shared<Expr>();
            call->kind = Expr::Kind::Call;
            call->text = e->text;
            call->args = {iif};
            if (!same(e->text, QStringLiteral("Count"))) {
                return call;
            }
            auto wrap = std::make_shared<Expr>();
            wrap->kind = Expr::Kind::Call;
            wrap->text = QStringLiteral("__NULLIFZERO");
            wrap->args = {call};
            return wrap;
        }
        if (e->args.empty()) {
            return e;
        }
        auto copy = std::make_shared<Expr>(*e);
        for (ExprP& a : copy->args) {
            a = restrictAggregates(a, test);
        }
        return copy;
    }

    // First step: the distinct pivot values, in ascending order.
    Translation transformValues(const StatementP& stp) {
        const Statement& st = *stp;
        checkTransform(st);
        inlineQueries_ = readsEveryRow(*st.select);
        Select values;
        values.distinct = true;
        values.items.push_back(SelectItem{st.pivot, QStringLiteral("PivotValue")});
        values.from = st.select->from;
        values.where = st.select->where;
        values.orderBy.push_back(OrderItem{st.pivot, false});
        SelectOut out = select(values, nullptr, true);
        Translation tr;
        tr.kind = Statement::Kind::Transform;
        tr.sql = out.sql;
        tr.columns = out.columns;
        tr.returnsRows = true;
        tr.statement = stp;
        return tr;
    }

    Translation transformRows(const StatementP& stp, const std::vector<PivotValue>& pivotValues) {
        const Statement& st = *stp;
        checkTransform(st);
        inlineQueries_ = readsEveryRow(*st.select);
        Select rows = *st.select;
        for (const PivotValue& pv : pivotValues) {
            auto raw = std::make_shared<Expr>();
            raw->kind = Expr::Kind::Raw;
            raw->text = pv.literal;
            raw->rawKind = static_cast<int>(pv.literal == u"NULL"          ? ValueKind::Null
                                            : pv.literal.startsWith(u'\'') ? ValueKind::Text
                                                                           : ValueKind::Number);
            auto test = std::make_shared<Expr>();
            if (pv.literal == u"NULL") {
                test->kind = Expr::Kind::IsNull;
                test->args = {st.pivot};
            } else {
                test->kind = Expr::Kind::Binary;
                test->text = QStringLiteral("=");
                test->args = {st.pivot, raw};
            }
            rows.items.push_back(SelectItem{restrictAggregates(st.transformValue, test), pv.name});
        }
        SelectOut out = select(rows, nullptr, true);
        Translation tr;
        tr.kind = Statement::Kind::Select;
        tr.sql = out.sql;
        tr.columns = out.columns;
        tr.returnsRows = true;
        return tr;
    }

  private:
    const Catalog& catalog_;
    int depth_ = 0;
    int aliasDepth_ = 0;
    int subqueries_ = 0;
    bool inAggregate_ = false;
    bool pushdownViolated_ = false;
    bool aggregateReadsLeft_ = false;
    bool inlineQueries_ = false;  // the statement reads every row of its stored queries
    int inlineDepth_ = 0;
    bool havePrimary_ = false;
};

}  // namespace

Translation translate(const StatementP& statement, const Catalog& catalog) {
    Translator t(catalog);
    Translation tr = t.statement(statement);
    if (tr.kind == Statement::Kind::Transform) {
        tr.statement = statement;  // its second step is built from it
    }
    return tr;
}

Translation translate(const QString& sql, const Catalog& catalog) {
    return translate(parse(sql), catalog);
}

Translation translateView(const QString& selectSql, const Catalog& catalog) {
    StatementP st = parse(selectSql);
    if (st->kind != Statement::Kind::Select) {
        throw TranslateError{QStringLiteral("Une requête enregistrée doit être une instruction SELECT")};
    }
    return translate(st, catalog);
}

Translation translateTransform(const StatementP& statement, const Catalog& catalog,
                               const std::vector<PivotValue>& values) {
    Translator t(catalog);
    return t.transformRows(statement, values);
}

}  // namespace vinorium::data::jetsql
