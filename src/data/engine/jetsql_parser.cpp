// Lexer and recursive-descent parser of the Jet dialect.

#include "data/engine/jetsql.h"

#include <QDate>

namespace vinorium::data::jetsql {

namespace {

enum class Tok { End, Ident, Bracketed, String, Number, Date, Symbol, Param };

struct Token {
    Tok type = Tok::End;
    QString text;
    int pos = 0;
};

[[noreturn]] void fail(const QString& message, int pos) {
    throw SyntaxError{message, pos};
}

bool isIdentStart(QChar c) {
    return c.isLetter() || c == u'_';
}
bool isIdentPart(QChar c) {
    return c.isLetterOrNumber() || c == u'_';
}

// Reads a Jet date literal's content (between the # signs) into ISO text.
QString parseDateLiteral(const QString& content, int pos) {
    const QString text = content.trimmed();
    auto bad = [&]() -> QString { fail(QStringLiteral("Date non valide : #%1#").arg(content), pos); };
    int i = 0;
    const int n = text.size();
    auto readInt = [&](int& value) {
        int start = i;
        value = 0;
        while (i < n && text[i].isDigit() && i - start < 9) {
            value = value * 10 + text[i].digitValue();
            ++i;
        }
        return i - start;
    };
    auto skipBlanks = [&]() {
        while (i < n && text[i].isSpace()) {
            ++i;
        }
    };
    int year = 1899, month = 12, day = 30;
    bool hasDate = false;
    int a = 0;
    int lenA = readInt(a);
    if (lenA > 0 && i < n && (text[i] == u'/' || text[i] == u'-')) {
        const QChar sep = text[i];
        ++i;
        int b = 0, c = 0;
        if (readInt(b) == 0) {
            bad();
        }
        int lenC = 0;
        bool hasThird = false;
        if (i < n && text[i] == sep) {
            ++i;
            lenC = readInt(c);
            if (lenC == 0) {
                bad();
            }
            hasThird = true;
        }
        if (sep == u'-' && lenA == 4 && hasThird) {
            year = a;
            month = b;
            day = c;
        } else {
            month = a;
            day = b;
            if (hasThird) {
                year = c;
                if (lenC <= 2) {
                    year += year < 30 ? 2000 : 1900;
                }
            } else {
                year = QDate::currentDate().year();
            }
        }
        hasDate = true;
        skipBlanks();
    } else {
        i = 0;
    }
    int hour = 0, minute = 0, second = 0;
    bool hasTime = false;
    if (i < n) {
        if (readInt(hour) == 0 || i >= n || text[i] != u':') {
            bad();
        }
        ++i;
        if (readInt(minute) == 0) {
            bad();
        }
        if (i < n && text[i] == u':') {
            ++i;
            if (readInt(second) == 0) {
                bad();
            }
        }
        skipBlanks();
        const QString rest = text.mid(i).toUpper();
        if (rest == u"PM" || rest == u"P") {
            if (hour < 12) {
                hour += 12;
            }
        } else if (rest == u"AM" || rest == u"A") {
            if (hour == 12) {
                hour = 0;
            }
        } else if (!rest.isEmpty()) {
            bad();
        }
        hasTime = true;
    }
    if (!hasDate && !hasTime) {
        bad();
    }
    if (!QDate::isValid(year, month, day) || hour > 23 || minute > 59 || second > 59 || year < 100) {
        bad();
    }
    QString iso = QStringLiteral("%1-%2-%3")
                      .arg(year, 4, 10, QLatin1Char('0'))
                      .arg(month, 2, 10, QLatin1Char('0'))
                      .arg(day, 2, 10, QLatin1Char('0'));
    if (hour != 0 || minute != 0 || second != 0) {
        iso += QStringLiteral(" %1:%2:%3")
                   .arg(hour, 2, 10, QLatin1Char('0'))
                   .arg(minute, 2, 10, QLatin1Char('0'))
                   .arg(second, 2, 10, QLatin1Char('0'));
    }
    return iso;
}

std::vector<Token> tokenize(const QString& s) {
    std::vector<Token> out;
    int i = 0;
    const int n = s.size();
    while (true) {
        while (i < n && s[i].isSpace()) {
            ++i;
        }
        Token t;
        t.pos = i;
        if (i >= n) {
            t.type = Tok::End;
            out.push_back(t);
            return out;
        }
        const QChar c = s[i];
        if (isIdentStart(c)) {
            int start = i;
            while (i < n && isIdentPart(s[i])) {
                ++i;
            }
            t.type = Tok::Ident;
            t.text = s.mid(start, i - start);
        } else if (c == u'[' || c == u'`') {
            const QChar close = c == u'[' ? u']' : u'`';
            int end = s.indexOf(close, i + 1);
            if (end < 0) {
                fail(QStringLiteral("Erreur de syntaxe : crochet non fermé"), i);
            }
            t.type = Tok::Bracketed;
            t.text = s.mid(i + 1, end - i - 1);
            if (t.text.trimmed().isEmpty()) {
                fail(QStringLiteral("Erreur de syntaxe : nom vide entre crochets"), i);
            }
            i = end + 1;
        } else if (c == u'\'' || c == u'"') {
            QString value;
            ++i;
            bool closed = false;
            while (i < n) {
                if (s[i] == c) {
                    if (i + 1 < n && s[i + 1] == c) {
                        value += c;
                        i += 2;
                        continue;
                    }
                    ++i;
                    closed = true;
                    break;
                }
                value += s[i];
                ++i;
            }
            if (!closed) {
                fail(QStringLiteral("Erreur de syntaxe : texte non terminé"), t.pos);
            }
            t.type = Tok::String;
            t.text = value;
        } else if (c.isDigit() || (c == u'.' && i + 1 < n && s[i + 1].isDigit())) {
            int start = i;
            while (i < n && s[i].isDigit()) {
                ++i;
            }
            if (i < n && s[i] == u'.') {
                ++i;
                while (i < n && s[i].isDigit()) {
                    ++i;
                }
            }
            if (i < n && (s[i] == u'e' || s[i] == u'E')) {
                int save = i;
                ++i;
                if (i < n && (s[i] == u'+' || s[i] == u'-')) {
                    ++i;
                }
                if (i < n && s[i].isDigit()) {
                    while (i < n && s[i].isDigit()) {
                        ++i;
                    }
                } else {
                    i = save;
                }
            }
            if (i < n && isIdentStart(s[i])) {
                fail(QStringLiteral("Erreur de syntaxe près de « %1 »").arg(s.mid(start, i + 1 - start)),
                     start);
            }
            t.type = Tok::Number;
            t.text = s.mid(start, i - start);
            if (t.text.startsWith(u'.')) {
                t.text.prepend(u'0');
            }
        } else if (c == u'#') {
            int end = s.indexOf(u'#', i + 1);
            if (end < 0) {
                fail(QStringLiteral("Erreur de syntaxe : date non terminée"), i);
            }
            t.type = Tok::Date;
            t.text = parseDateLiteral(s.mid(i + 1, end - i - 1), i);
            i = end + 1;
        } else {
            t.type = Tok::Symbol;
            const QString two = s.mid(i, 2);
            if (two == u"<>" || two == u"<=" || two == u">=" || two == u"!=" || two == u"=<" ||
                two == u"=>") {
                t.text = two == u"!="   ? QStringLiteral("<>")
                         : two == u"=<" ? QStringLiteral("<=")
                         : two == u"=>" ? QStringLiteral(">=")
                                        : two;
                i += 2;
            } else if (QStringLiteral("(),.;*+-/\\^&=<>").contains(c)) {
                t.text = c;
                ++i;
            } else {
                fail(QStringLiteral("Erreur de syntaxe près de « %1 »").arg(c), i);
            }
        }
        out.push_back(t);
    }
}

// Words that end an expression or a name list and never start an implicit alias.
bool isReserved(const QString& word) {
    static const QStringList words = {
        QStringLiteral("SELECT"), QStringLiteral("FROM"),      QStringLiteral("WHERE"),
        QStringLiteral("GROUP"),  QStringLiteral("HAVING"),    QStringLiteral("ORDER"),
        QStringLiteral("UNION"),  QStringLiteral("ON"),        QStringLiteral("INNER"),
        QStringLiteral("LEFT"),   QStringLiteral("RIGHT"),     QStringLiteral("JOIN"),
        QStringLiteral("AS"),     QStringLiteral("AND"),       QStringLiteral("OR"),
        QStringLiteral("NOT"),    QStringLiteral("SET"),       QStringLiteral("VALUES"),
        QStringLiteral("PIVOT"),  QStringLiteral("INTO"),      QStringLiteral("BY"),
        QStringLiteral("OUTER"),  QStringLiteral("TRANSFORM"), QStringLiteral("IN"),
        QStringLiteral("LIKE"),   QStringLiteral("IS"),        QStringLiteral("BETWEEN"),
        QStringLiteral("XOR"),    QStringLiteral("EQV"),       QStringLiteral("IMP"),
        QStringLiteral("MOD"),    QStringLiteral("DISTINCT"),  QStringLiteral("ASC"),
        QStringLiteral("DESC"),   QStringLiteral("WITH"),      QStringLiteral("EXISTS"),
    };
    for (const QString& w : words) {
        if (word.compare(w, Qt::CaseInsensitive) == 0) {
            return true;
        }
    }
    return false;
}

class Parser {
  public:
    explicit Parser(const QString& sql) : tokens_(tokenize(sql)) {}
    explicit Parser(std::vector<Token> tokens) : tokens_(std::move(tokens)) {}

    StatementP statement() {
        StatementP st;
        if (isWord("SELECT")) {
            st = std::make_shared<Statement>();
            st->kind = Statement::Kind::Select;
            st->select = select();
        } else if (acceptWord("INSERT")) {
            st = insert();
        } else if (acceptWord("UPDATE")) {
            st = update();
        } else if (acceptWord("DELETE")) {
            st = deleteStatement();
        } else if (acceptWord("CREATE")) {
            st = create();
        } else if (acceptWord("ALTER")) {
            st = alter();
        } else if (acceptWord("DROP")) {
            st = drop();
        } else if (acceptWord("TRANSFORM")) {
            st = transform();
        } else if (acceptWord("BEGIN")) {
            st = std::make_shared<Statement>();
            st->kind = Statement::Kind::Begin;
            if (!acceptWord("TRANSACTION")) {
                acceptWord("WORK");
            }
        } else if (acceptWord("COMMIT")) {
            st = std::make_shared<Statement>();
            st->kind = Statement::Kind::Commit;
            if (!acceptWord("TRANSACTION")) {
                acceptWord("WORK");
            }
        } else if (acceptWord("ROLLBACK")) {
            st = std::make_shared<Statement>();
            st->kind = Statement::Kind::Rollback;
            if (!acceptWord("TRANSACTION")) {
                acceptWord("WORK");
            }
        } else if (isSymbol("(")) {
            // A parenthesised SELECT, as some programs write unions.
            st = std::make_shared<Statement>();
            st->kind = Statement::Kind::Select;
            st->select = select();
        } else {
            syntaxError();
        }
        while (acceptSymbol(";")) {
        }
        if (peek().type != Tok::End) {
            syntaxError();
        }
        return st;
    }

  private:
    // --- token helpers
    const Token& peek(int ahead = 0) const {
        size_t i = std::min(pos_ + ahead, tokens_.size() - 1);
        return tokens_[i];
    }
    Token take() {
        Token t = peek();
        if (pos_ < tokens_.size() - 1) {
            ++pos_;
        }
        return t;
    }
    bool isWord(const char* w, int ahead = 0) const {
        const Token& t = peek(ahead);
        return t.type == Tok::Ident && t.text.compare(QLatin1String(w), Qt::CaseInsensitive) == 0;
    }
    bool acceptWord(const char* w) {
        if (isWord(w)) {
            take();
            return true;
        }
        return false;
    }
    void expectWord(const char* w) {
        if (!acceptWord(w)) {
            syntaxError();
        }
    }
    bool isSymbol(const char* s, int ahead = 0) const {
        const Token& t = peek(ahead);
        return t.type == Tok::Symbol && t.text == QLatin1String(s);
    }
    bool acceptSymbol(const char* s) {
        if (isSymbol(s)) {
            take();
            return true;
        }
        return false;
    }
    void expectSymbol(const char* s) {
        if (!acceptSymbol(s)) {
            syntaxError();
        }
    }
    [[noreturn]] void syntaxError() const {
        const Token& t = peek();
        if (t.type == Tok::End) {
            fail(QStringLiteral("Erreur de syntaxe : instruction incomplète"), t.pos);
        }
        QString shown = t.text;
        if (t.type == Tok::String) {
            shown = QLatin1Char('\'') + t.text + QLatin1Char('\'');
        } else if (t.type == Tok::Bracketed) {
            shown = QLatin1Char('[') + t.text + QLatin1Char(']');
        }
        fail(QStringLiteral("Erreur de syntaxe près de « %1 »").arg(shown), t.pos);
    }
    bool isName() const {
        const Token& t = peek();
        return t.type == Tok::Bracketed || (t.type == Tok::Ident && !isReserved(t.text));
    }
    QString name() {
        const Token& t = peek();
        if (t.type == Tok::Bracketed || t.type == Tok::Ident) {
            return take().text;
        }
        syntaxError();
    }
    // Guards against statements nested so deep that the stack would suffer.
    struct Depth {
        explicit Depth(Parser& p) : p_(p) {
            if (++p_.depth_ > 200) {
                fail(QStringLiteral("Instruction trop complexe"), p_.peek().pos);
            }
        }
        ~Depth() { --p_.depth_; }
        Parser& p_;
    };

    // --- SELECT
    SelectP select() {
        Depth guard(*this);
        SelectP sel = selectCore();
        while (isWord("UNION")) {
            take();
            Select::Union u;
            u.all = acceptWord("ALL");
            u.select = selectCore();
            sel->unions.push_back(u);
        }
        if (acceptWord("ORDER")) {
            expectWord("BY");
            do {
                OrderItem item;
                item.expr = expr();
                if (acceptWord("DESC")) {
                    item.descending = true;
                } else {
                    acceptWord("ASC");
                }
                sel->orderBy.push_back(item);
            } while (acceptSymbol(","));
        }
        return sel;
    }

    SelectP selectCore() {
        if (acceptSymbol("(")) {
            SelectP inner = select();
            expectSymbol(")");
            return inner;
        }
        expectWord("SELECT");
        auto sel = std::make_shared<Select>();
        if (acceptWord("DISTINCT")) {
            sel->distinct = true;
        } else if (acceptWord("DISTINCTROW")) {
            sel->distinctRow = true;
        } else {
            acceptWord("ALL");
        }
        if (acceptWord("TOP")) {
            const Token t = take();
            bool ok = false;
            sel->top = t.text.toLongLong(&ok);
            if (t.type != Tok::Number || !ok) {
                fail(QStringLiteral("Erreur de syntaxe près de « %1 »").arg(t.text), t.pos);
            }
            sel->topPercent = acceptWord("PERCENT");
        }
        do {
            SelectItem item;
            if (isSymbol("*")) {
                take();
                item.expr = std::make_shared<Expr>();
                item.expr->kind = Expr::Kind::Star;
            } else {
                item.expr = expr();
                if (acceptWord("AS")) {
                    item.alias = name();
                }
            }
            sel->items.push_back(item);
        } while (acceptSymbol(","));
        if (isWord("INTO")) {
            fail(QStringLiteral("SELECT ... INTO n'est pas pris en charge"), peek().pos);
        }
        if (acceptWord("FROM")) {
            do {
                sel->from.push_back(tableRef());
            } while (acceptSymbol(","));
        }
        if (acceptWord("WHERE")) {
            sel->where = expr();
        }
        if (acceptWord("GROUP")) {
            expectWord("BY");
            do {
                sel->groupBy.push_back(expr());
            } while (acceptSymbol(","));
        }
        if (acceptWord("HAVING")) {
            sel->having = expr();
        }
        return sel;
    }

    TableRefP tableRef() {
        Depth guard(*this);
        TableRefP left = tablePrimary();
        while (true) {
            TableRef::JoinType type;
            if (acceptWord("INNER")) {
                type = TableRef::JoinType::Inner;
            } else if (acceptWord("LEFT")) {
                acceptWord("OUTER");
                type = TableRef::JoinType::Left;
            } else if (acceptWord("RIGHT")) {
                acceptWord("OUTER");
                type = TableRef::JoinType::Right;
            } else if (isWord("JOIN")) {
                type = TableRef::JoinType::Inner;
            } else {
                break;
            }
            expectWord("JOIN");
            auto join = std::make_shared<TableRef>();
            join->kind = TableRef::Kind::Join;
            join->joinType = type;
            join->left = left;
            join->right = tablePrimary();
            expectWord("ON");
            join->on = expr();
            left = join;
        }
        return left;
    }

    TableRefP tablePrimary() {
        Depth guard(*this);
        if (acceptSymbol("(")) {
            if (isWord("SELECT") || isSymbol("(")) {
                auto ref = std::make_shared<TableRef>();
                ref->kind = TableRef::Kind::Subquery;
                ref->select = select();
                expectSymbol(")");
                alias(ref->alias);
                return ref;
            }
            TableRefP inner = tableRef();
            expectSymbol(")");
            return inner;
        }
        auto ref = std::make_shared<TableRef>();
        ref->kind = TableRef::Kind::Table;
        if (!isName()) {
            syntaxError();
        }
        ref->name = name();
        alias(ref->alias);
        return ref;
    }

    void alias(QString& out) {
        if (acceptWord("AS")) {
            out = name();
        } else if (isName()) {
            out = name();
        }
    }

    // --- expressions
    ExprP makeBinary(const QString& op, ExprP a, ExprP b, int pos) {
        auto e = std::make_shared<Expr>();
        e->kind = Expr::Kind::Binary;
        e->text = op;
        e->args = {std::move(a), std::move(b)};
        e->position = pos;
        return e;
    }

    ExprP expr() {
        Depth guard(*this);
        return impExpr();
    }
    ExprP impExpr() {
        ExprP left = eqvExpr();
        while (isWord("IMP")) {
            int p = take().pos;
            left = makeBinary(QStringLiteral("IMP"), left, eqvExpr(), p);
        }
        return left;
    }
    ExprP eqvExpr() {
        ExprP left = xorExpr();
        while (isWord("EQV")) {
            int p = take().pos;
            left = makeBinary(QStringLiteral("EQV"), left, xorExpr(), p);
        }
        return left;
    }
    ExprP xorExpr() {
        ExprP left = orExpr();
        while (isWord("XOR")) {
            int p = take().pos;
            left = makeBinary(QStringLiteral("XOR"), left, orExpr(), p);
        }
        return left;
    }
    ExprP orExpr() {
        ExprP left = andExpr();
        while (isWord("OR")) {
            int p = take().pos;
            left = makeBinary(QStringLiteral("OR"), left, andExpr(), p);
        }
        return left;
    }
    ExprP andExpr() {
        ExprP left = notExpr();
        while (isWord("AND")) {
            int p = take().pos;
            left = makeBinary(QStringLiteral("AND"), left, notExpr(), p);
        }
        return left;
    }
    ExprP notExpr() {
        if (isWord("NOT")) {
            Depth guard(*this);
            auto e = std::make_shared<Expr>();
            e->position = take().pos;
            e->kind = Expr::Kind::Unary;
            e->text = QStringLiteral("NOT");
            e->args = {notExpr()};
            return e;
        }
        return comparison();
    }
    ExprP comparison() {
        ExprP left = concat();
        while (true) {
            const Token& t = peek();
            if (t.type == Tok::Symbol && (t.text == u"=" || t.text == u"<>" || t.text == u"<" ||
                                          t.text == u">" || t.text == u"<=" || t.text == u">=")) {
                Token op = take();
                left = makeBinary(op.text, left, concat(), op.pos);
                continue;
            }
            bool negated = false;
            int save = static_cast<int>(pos_);
            if (isWord("NOT") && (isWord("LIKE", 1) || isWord("IN", 1) || isWord("BETWEEN", 1))) {
                take();
                negated = true;
            }
            if (isWord("LIKE")) {
                auto e = std::make_shared<Expr>();
                e->position = take().pos;
                e->kind = Expr::Kind::Like;
                e->negated = negated;
                e->args = {left, concat()};
                left = e;
            } else if (isWord("BETWEEN")) {
                auto e = std::make_shared<Expr>();
                e->position = take().pos;
                e->kind = Expr::Kind::Between;
                e->negated = negated;
                ExprP lo = concat();
                expectWord("AND");
                e->args = {left, lo, concat()};
                left = e;
            } else if (isWord("IN")) {
                int p = take().pos;
                expectSymbol("(");
                auto e = std::make_shared<Expr>();
                e->position = p;
                e->negated = negated;
                if (isWord("SELECT")) {
                    e->kind = Expr::Kind::InSelect;
                    e->args = {left};
                    e->select = select();
                } else {
                    e->kind = Expr::Kind::InList;
                    e->args = {left};
                    do {
                        e->args.push_back(expr());
                    } while (acceptSymbol(","));
                }
                expectSymbol(")");
                left = e;
            } else if (isWord("IS")) {
                int p = take().pos;
                auto e = std::make_shared<Expr>();
                e->position = p;
                e->kind = Expr::Kind::IsNull;
                e->negated = acceptWord("NOT");
                expectWord("NULL");
                e->args = {left};
                left = e;
            } else {
                pos_ = static_cast<size_t>(save);
                break;
            }
        }
        return left;
    }
    ExprP concat() {
        ExprP left = additive();
        while (isSymbol("&")) {
            int p = take().pos;
            left = makeBinary(QStringLiteral("&"), left, additive(), p);
        }
        return left;
    }
    ExprP additive() {
        ExprP left = modulo();
        while (isSymbol("+") || isSymbol("-")) {
            Token op = take();
            left = makeBinary(op.text, left, modulo(), op.pos);
        }
        return left;
    }
    ExprP modulo() {
        ExprP left = intDivision();
        while (isWord("MOD")) {
            int p = take().pos;
            left = makeBinary(QStringLiteral("MOD"), left, intDivision(), p);
        }
        return left;
    }
    ExprP intDivision() {
        ExprP left = multiplicative();
        while (isSymbol("\\")) {
            int p = take().pos;
            left = makeBinary(QStringLiteral("\\"), left, multiplicative(), p);
        }
        return left;
    }
    ExprP multiplicative() {
        ExprP left = unary();
        while (isSymbol("*") || isSymbol("/")) {
            Token op = take();
            left = makeBinary(op.text, left, unary(), op.pos);
        }
        return left;
    }
    ExprP unary() {
        if (isSymbol("-") || isSymbol("+")) {
            Depth guard(*this);
            Token op = take();
            auto e = std::make_shared<Expr>();
            e->kind = Expr::Kind::Unary;
            e->text = op.text;
            e->position = op.pos;
            e->args = {unary()};
            return e;
        }
        return power();
    }
    ExprP power() {
        ExprP left = primary();
        while (isSymbol("^")) {
            int p = take().pos;
            ExprP right;
            if (isSymbol("-") || isSymbol("+")) {
                Token op = take();
                right = std::make_shared<Expr>();
                right->kind = Expr::Kind::Unary;
                right->text = op.text;
                right->position = op.pos;
                right->args = {primary()};
            } else {
                right = primary();
            }
            left = makeBinary(QStringLiteral("^"), left, right, p);
        }
        return left;
    }

    ExprP primary() {
        Depth guard(*this);
        const Token t = peek();
        auto e = std::make_shared<Expr>();
        e->position = t.pos;
        switch (t.type) {
            case Tok::Number:
                take();
                e->kind = Expr::Kind::Number;
                e->text = t.text;
                return e;
            case Tok::String:
                take();
                e->kind = Expr::Kind::String;
                e->text = t.text;
                return e;
            case Tok::Date:
                take();
                e->kind = Expr::Kind::Date;
                e->text = t.text;
                return e;
            case Tok::Param:
                take();
                e->kind = Expr::Kind::Param;
                e->text = t.text;
                e->rawKind = t.pos;
                return e;
            case Tok::Symbol:
                if (t.text == u"(") {
                    take();
                    if (isWord("SELECT")) {
                        e->kind = Expr::Kind::Scalar;
                        e->select = select();
                        expectSymbol(")");
                        return e;
                    }
                    ExprP inner = expr();
                    expectSymbol(")");
                    return inner;
                }
                syntaxError();
            case Tok::Bracketed:
            case Tok::Ident: {
                if (t.type == Tok::Ident) {
                    if (isWord("NULL")) {
                        take();
                        e->kind = Expr::Kind::Null;
                        return e;
                    }
                    if (isWord("TRUE") || isWord("FALSE")) {
                        e->kind = Expr::Kind::Boolean;
                        e->text = isWord("TRUE") ? QStringLiteral("-1") : QStringLiteral("0");
                        take();
                        return e;
                    }
                    if (isWord("EXISTS") && isSymbol("(", 1)) {
                        take();
                        take();
                        e->kind = Expr::Kind::Exists;
                        e->select = select();
                        expectSymbol(")");
                        return e;
                    }
                    if (isReserved(t.text)) {
                        syntaxError();
                    }
                    if (isSymbol("(", 1)) {
                        take();
                        take();
                        e->kind = Expr::Kind::Call;
                        e->text = t.text;
                        if (acceptSymbol("*")) {
                            e->star = true;
                        } else if (!isSymbol(")")) {
                            if (acceptWord("DISTINCT")) {
                                fail(QStringLiteral("Count(DISTINCT ...) n'est pas pris en charge"), t.pos);
                            }
                            do {
                                e->args.push_back(expr());
                            } while (acceptSymbol(","));
                        }
                        expectSymbol(")");
                        return e;
                    }
                }
                take();
                if (acceptSymbol(".")) {
                    if (acceptSymbol("*")) {
                        e->kind = Expr::Kind::Star;
                        e->qualifier = t.text;
                        return e;
                    }
                    e->kind = Expr::Kind::Column;
                    e->qualifier = t.text;
                    e->name = name();
                    return e;
                }
                e->kind = Expr::Kind::Column;
                e->name = t.text;
                return e;
            }
            case Tok::End:
                break;
        }
        syntaxError();
    }

    // --- INSERT / UPDATE / DELETE
    StatementP insert() {
        auto st = std::make_shared<Statement>();
        st->kind = Statement::Kind::Insert;
        expectWord("INTO");
        st->table = name();
        if (isSymbol("(") && !isWord("SELECT", 1)) {
            take();
            do {
                st->columns << columnName();
            } while (acceptSymbol(","));
            expectSymbol(")");
        }
        if (acceptWord("VALUES")) {
            expectSymbol("(");
            std::vector<ExprP> row;
            do {
                row.push_back(expr());
            } while (acceptSymbol(","));
            expectSymbol(")");
            st->values.push_back(std::move(row));
        } else if (isWord("SELECT") || isSymbol("(")) {
            st->select = select();
        } else {
            syntaxError();
        }
        return st;
    }

    // A column name in a list, optionally qualified by its table (t.c).
    QString columnName() {
        QString n = name();
        if (acceptSymbol(".")) {
            n = name();
        }
        return n;
    }

    StatementP update() {
        auto st = std::make_shared<Statement>();
        st->kind = Statement::Kind::Update;
        do {
            st->sources.push_back(tableRef());
        } while (acceptSymbol(","));
        expectWord("SET");
        do {
            ExprP target = primary();
            if (target->kind != Expr::Kind::Column) {
                syntaxError();
            }
            expectSymbol("=");
            st->sets.emplace_back(target, expr());
        } while (acceptSymbol(","));
        if (acceptWord("WHERE")) {
            st->where = expr();
        }
        return st;
    }

    StatementP deleteStatement() {
        auto st = std::make_shared<Statement>();
        st->kind = Statement::Kind::Delete;
        if (!isWord("FROM")) {
            // DELETE *, DELETE t.*, DELETE t.c, ...: Jet deletes whole rows anyway.
            do {
                if (acceptSymbol("*")) {
                    continue;
                }
                QString qualifier = name();
                if (acceptSymbol(".")) {
                    if (!acceptSymbol("*")) {
                        name();
                    }
                    st->columns << qualifier;
                }
            } while (acceptSymbol(","));
        }
        expectWord("FROM");
        do {
            st->sources.push_back(tableRef());
        } while (acceptSymbol(","));
        if (acceptWord("WHERE")) {
            st->where = expr();
        }
        return st;
    }

    // --- DDL
    ColumnType columnType() {
        ColumnType type;
        const Token t = peek();
        if (t.type != Tok::Ident) {
            syntaxError();
        }
        type.type = take().text.toUpper();
        if (type.type == u"LONG" && (isWord("BINARY") || isWord("TEXT") || isWord("CHAR"))) {
            type.type += take().text.toUpper();
        } else if (type.type == u"DOUBLE" && isWord("PRECISION")) {
            take();
        }
        if (acceptSymbol("(")) {
            const Token w = take();
            bool ok = false;
            int width = w.text.toInt(&ok);
            if (w.type != Tok::Number || !ok) {
                fail(QStringLiteral("Erreur de syntaxe près de « %1 »").arg(w.text), w.pos);
            }
            type.width = width;
            if (acceptSymbol(",")) {
                const Token s = take();
                type.scale = s.text.toInt(&ok);
                if (s.type != Tok::Number || !ok) {
                    fail(QStringLiteral("Erreur de syntaxe près de « %1 »").arg(s.text), s.pos);
                }
            }
            expectSymbol(")");
        }
        return type;
    }

    ColumnDefinition columnDefinition() {
        ColumnDefinition def;
        def.name = name();
        def.type = columnType();
        while (true) {
            if (acceptWord("NOT")) {
                expectWord("NULL");
                def.notNull = true;
            } else if (acceptWord("NULL")) {
            } else if (acceptWord("CONSTRAINT")) {
                def.constraintName = name();
            } else if (acceptWord("PRIMARY")) {
                expectWord("KEY");
                def.primaryKey = true;
            } else if (acceptWord("UNIQUE")) {
                def.unique = true;
            } else if (acceptWord("DEFAULT")) {
                def.defaultValue = primary();
            } else if (acceptWord("WITH")) {
                if (!acceptWord("COMPRESSION")) {
                    expectWord("COMP");
                }
            } else if (acceptWord("REFERENCES")) {
                name();
                if (acceptSymbol("(")) {
                    do {
                        name();
                    } while (acceptSymbol(","));
                    expectSymbol(")");
                }
            } else {
                break;
            }
        }
        return def;
    }

    QStringList nameList() {
        QStringList names;
        expectSymbol("(");
        do {
            names << name();
            if (!acceptWord("ASC")) {
                acceptWord("DESC");
            }
        } while (acceptSymbol(","));
        expectSymbol(")");
        return names;
    }

    bool tableConstraint(TableConstraint& c) {
        if (acceptWord("CONSTRAINT")) {
            c.name = name();
        } else if (!isWord("PRIMARY") && !isWord("UNIQUE") && !isWord("FOREIGN")) {
            return false;
        }
        if (acceptWord("PRIMARY")) {
            expectWord("KEY");
            c.kind = TableConstraint::Kind::PrimaryKey;
        } else if (acceptWord("UNIQUE")) {
            c.kind = TableConstraint::Kind::Unique;
        } else if (acceptWord("FOREIGN")) {
            expectWord("KEY");
            c.kind = TableConstraint::Kind::ForeignKey;
        } else {
            syntaxError();
        }
        c.columns = nameList();
        if (c.kind == TableConstraint::Kind::ForeignKey) {
            expectWord("REFERENCES");
            name();
            if (isSymbol("(")) {
                nameList();
            }
        }
        return true;
    }

    StatementP create() {
        auto st = std::make_shared<Statement>();
        if (acceptWord("TABLE")) {
            st->kind = Statement::Kind::CreateTable;
            st->table = name();
            expectSymbol("(");
            do {
                TableConstraint c;
                if (tableConstraint(c)) {
                    st->constraints.push_back(c);
                } else {
                    st->columnDefs.push_back(columnDefinition());
                }
            } while (acceptSymbol(","));
            expectSymbol(")");
            return st;
        }
        if (acceptWord("UNIQUE")) {
            st->unique = true;
        }
        if (acceptWord("INDEX")) {
            st->kind = Statement::Kind::CreateIndex;
            st->name = name();
            expectWord("ON");
            st->table = name();
            st->columns = nameList();
            if (acceptWord("WITH")) {
                do {
                    if (acceptWord("PRIMARY")) {
                        st->primary = true;
                        st->unique = true;
                    } else if (acceptWord("DISALLOW") || acceptWord("IGNORE")) {
                        expectWord("NULL");
                    } else {
                        syntaxError();
                    }
                } while (true && (isWord("PRIMARY") || isWord("DISALLOW") || isWord("IGNORE")));
            }
            return st;
        }
        if (st->unique) {
            syntaxError();
        }
        if (acceptWord("VIEW") || acceptWord("PROCEDURE")) {
            st->kind = Statement::Kind::CreateView;
            st->name = name();
            if (isSymbol("(")) {
                st->columns = nameList();
            }
            expectWord("AS");
            viewStart_ = peek().pos;
            st->select = select();
            return st;
        }
        syntaxError();
    }

    StatementP alter() {
        auto st = std::make_shared<Statement>();
        expectWord("TABLE");
        st->table = name();
        if (acceptWord("ADD")) {
            TableConstraint c;
            if (tableConstraint(c)) {
                st->kind = Statement::Kind::AlterAddConstraint;
                st->constraints.push_back(c);
                return st;
            }
            acceptWord("COLUMN");
            st->kind = Statement::Kind::AlterAddColumn;
            st->columnDefs.push_back(columnDefinition());
            return st;
        }
        if (acceptWord("DROP")) {
            if (acceptWord("CONSTRAINT")) {
                st->kind = Statement::Kind::AlterDropConstraint;
                st->name = name();
                return st;
            }
            acceptWord("COLUMN");
            st->kind = Statement::Kind::AlterDropColumn;
            st->name = name();
            return st;
        }
        if (acceptWord("ALTER")) {
            acceptWord("COLUMN");
            st->kind = Statement::Kind::AlterAlterColumn;
            st->columnDefs.push_back(columnDefinition());
            return st;
        }
        syntaxError();
    }

    StatementP drop() {
        auto st = std::make_shared<Statement>();
        if (acceptWord("TABLE")) {
            st->kind = Statement::Kind::DropTable;
            st->table = name();
        } else if (acceptWord("INDEX")) {
            st->kind = Statement::Kind::DropIndex;
            st->name = name();
            expectWord("ON");
            st->table = name();
        } else if (acceptWord("VIEW") || acceptWord("PROCEDURE")) {
            st->kind = Statement::Kind::DropView;
            st->name = name();
        } else {
            syntaxError();
        }
        return st;
    }

    StatementP transform() {
        auto st = std::make_shared<Statement>();
        st->kind = Statement::Kind::Transform;
        st->transformValue = expr();
        if (acceptWord("AS")) {
            st->transformAlias = name();
        }
        if (!isWord("SELECT")) {
            syntaxError();
        }
        st->select = select();
        expectWord("PIVOT");
        st->pivot = expr();
        if (acceptWord("IN")) {
            expectSymbol("(");
            do {
                st->pivotIn.push_back(expr());
            } while (acceptSymbol(","));
            expectSymbol(")");
        }
        return st;
    }

    std::vector<Token> tokens_;
    size_t pos_ = 0;
    int depth_ = 0;

  public:
    int viewStart_ = -1;
};

}  // namespace

StatementP parse(const QString& sql) {
    Parser p(sql);
    StatementP st = p.statement();
    if (st->kind == Statement::Kind::CreateView && p.viewStart_ >= 0) {
        QString text = sql.mid(p.viewStart_).trimmed();
        while (text.endsWith(u';')) {
            text.chop(1);
            text = text.trimmed();
        }
        st->table = text;  // the Jet text of the view's SELECT
    }
    return st;
}

std::optional<Lifted> liftLiterals(const QString& sql) {
    std::vector<Token> tokens;
    try {
        tokens = tokenize(sql);
    } catch (const SyntaxError&) {
        return std::nullopt;
    }
    if (tokens.empty() || tokens[0].type != Tok::Ident) {
        return std::nullopt;
    }
    const QString first = tokens[0].text.toUpper();
    if (first != u"SELECT" && first != u"INSERT" && first != u"UPDATE" && first != u"DELETE") {
        return std::nullopt;
    }
    Lifted out;
    QString key;
    key.reserve(sql.size());
    for (size_t i = 0; i < tokens.size(); ++i) {
        Token& t = tokens[i];
        const bool afterTop = i > 0 && tokens[i - 1].type == Tok::Ident &&
                              tokens[i - 1].text.compare(QLatin1String("TOP"), Qt::CaseInsensitive) == 0;
        switch (t.type) {
            case Tok::Number:
            case Tok::String:
            case Tok::Date:
                if (!afterTop) {
                    LiftedValue v;
                    v.kind = t.type == Tok::Number   ? LiftedValue::Kind::Number
                             : t.type == Tok::String ? LiftedValue::Kind::Text
                                                     : LiftedValue::Kind::Date;
                    v.text = t.text;
                    out.values.push_back(v);
                    key += t.type == Tok::Number   ? QLatin1String("?n ")
                           : t.type == Tok::String ? QLatin1String("?s ")
                                                   : QLatin1String("?d ");
                    t.pos = static_cast<int>(v.kind == LiftedValue::Kind::Number ? ValueKind::Number
                                             : v.kind == LiftedValue::Kind::Text ? ValueKind::Text
                                                                                 : ValueKind::Date);
                    t.type = Tok::Param;
                    t.text = QStringLiteral("?%1").arg(out.values.size());
                    continue;
                }
                key += t.text + QLatin1Char(' ');
                break;
            case Tok::Bracketed:
                key += QLatin1Char('[') + t.text + QLatin1String("] ");
                break;
            default:
                key += t.text + QLatin1Char(' ');
                break;
        }
    }
    out.key = key;
    Parser p(std::move(tokens));
    try {
        out.statement = p.statement();
    } catch (const SyntaxError&) {
        return std::nullopt;
    }
    return out;
}

bool sameExpr(const Expr& a, const Expr& b) {
    if (a.kind != b.kind || a.negated != b.negated || a.star != b.star || a.args.size() != b.args.size()) {
        return false;
    }
    if (a.text.compare(b.text, a.kind == Expr::Kind::String ? Qt::CaseSensitive : Qt::CaseInsensitive) != 0 ||
        a.qualifier.compare(b.qualifier, Qt::CaseInsensitive) != 0 ||
        a.name.compare(b.name, Qt::CaseInsensitive) != 0) {
        return false;
    }
    if (a.select || b.select || a.kind == Expr::Kind::Param) {
        return false;  // subqueries and statement parameters are never taken for equal
    }
    for (size_t i = 0; i < a.args.size(); ++i) {
        if (!sameExpr(*a.args[i], *b.args[i])) {
            return false;
        }
    }
    return true;
}

}  // namespace vinorium::data::jetsql
