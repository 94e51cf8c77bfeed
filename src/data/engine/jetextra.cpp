// SQL functions of the engine beside the Jet run-time: conversions to dates
// and the few text and date functions the translator maps onto them.

#include "data/engine/engineprivate.h"
#include "data/engine/jetruntime.h"

#include <sqlite3.h>

#include <cmath>
#include <string>

namespace vinorium::data::engine {

namespace {

QString textArg(sqlite3_value* v) {
    const auto* p = reinterpret_cast<const char*>(sqlite3_value_text(v));
    return p ? QString::fromUtf8(p, sqlite3_value_bytes(v)) : QString();
}

void resultText(sqlite3_context* ctx, const QString& s) {
    const QByteArray utf8 = s.toUtf8();
    sqlite3_result_text(ctx, utf8.constData(), static_cast<int>(utf8.size()), SQLITE_TRANSIENT);
}

void resultError(sqlite3_context* ctx, const char* message) {
    sqlite3_result_error(ctx, message, -1);
}

// A value read as a date: stored date text, a day number, or a date text as DateValue reads it.
bool toCivil(sqlite3_value* v, jet::detail::Civil& c) {
    switch (sqlite3_value_type(v)) {
        case SQLITE_INTEGER:
        case SQLITE_FLOAT:
            return jet::detail::civilFromSerial(sqlite3_value_double(v), c);
        case SQLITE_TEXT: {
            std::string_view text(reinterpret_cast<const char*>(sqlite3_value_text(v)),
                                  static_cast<size_t>(sqlite3_value_bytes(v)));
            if (jet::detail::mayBeStoredDate(text) && jet::detail::parseStoredDate(text, c)) {
                return true;
            }
            jet::detail::Number n;
            if (jet::detail::parseNumericText(text, n)) {
                return jet::detail::civilFromSerial(n.value(), c);
            }
            return jet::detail::parseDateText(text, c);
        }
        default:
            return false;
    }
}

void cdate(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    jet::detail::Civil c;
    if (!toCivil(argv[0], c)) {
        resultError(ctx, "Type incompatible");
        return;
    }
    const std::string s = jet::detail::storedDateText(c);
    sqlite3_result_text(ctx, s.data(), static_cast<int>(s.size()), SQLITE_TRANSIENT);
}

void datepart(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[1]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    jet::detail::Civil c;
    if (!toCivil(argv[1], c)) {
        resultError(ctx, "Type incompatible");
        return;
    }
    const QString part = textArg(argv[0]);
    int v = 0;
    if (part == u"yyyy") {
        v = c.year;
    } else if (part == u"m") {
        v = c.month;
    } else if (part == u"d") {
        v = c.day;
    } else if (part == u"h") {
        v = c.hour;
    } else if (part == u"n") {
        v = c.minute;
    } else if (part == u"s") {
        v = c.second;
    } else {
        v = jet::detail::weekday(c);
    }
    sqlite3_result_int(ctx, v);
}

void fix(sqlite3_context* ctx, int, sqlite3_value** argv) {
    sqlite3_value* v = argv[0];
    switch (sqlite3_value_type(v)) {
        case SQLITE_NULL:
            sqlite3_result_null(ctx);
            return;
        case SQLITE_INTEGER:
            sqlite3_result_int64(ctx, sqlite3_value_int64(v));
            return;
        case SQLITE_FLOAT:
            sqlite3_result_double(ctx, std::trunc(sqlite3_value_double(v)));
            return;
        default: {
            if (auto n = jet::numericText(textArg(v))) {
                sqlite3_result_double(ctx, std::trunc(*n));
                return;
            }
            resultError(ctx, "Type incompatible");
        }
    }
}

void right(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    const QString s = textArg(argv[0]);
    const long long n = sqlite3_value_int64(argv[1]);
    if (n < 0) {
        resultError(ctx, "Argument ou appel de procédure incorrect");
        return;
    }
    resultText(ctx, n >= s.size() ? s : s.right(static_cast<int>(n)));
}

void ucase(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    resultText(ctx, textArg(argv[0]).toUpper());
}

void lcase(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    resultText(ctx, textArg(argv[0]).toLower());
}

// InStr([start, ]text, sought): 1-based position without case, 0 when absent.
void instr(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    int start = 1;
    int first = 0;
    if (argc == 3) {
        if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
            sqlite3_result_null(ctx);
            return;
        }
        start = sqlite3_value_int(argv[0]);
        first = 1;
        if (start < 1) {
            resultError(ctx, "Argument ou appel de procédure incorrect");
            return;
        }
    }
    if (sqlite3_value_type(argv[first]) == SQLITE_NULL ||
        sqlite3_value_type(argv[first + 1]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    const QString text = textArg(argv[first]);
    const QString sought = textArg(argv[first + 1]);
    if (start > text.size()) {
        sqlite3_result_int(ctx, 0);
        return;
    }
    sqlite3_result_int(ctx, static_cast<int>(text.indexOf(sought, start - 1, Qt::CaseInsensitive)) + 1);
}

}  // namespace

int registerJetExtra(sqlite3* db) {
    struct Entry {
        const char* name;
        int args;
        void (*fn)(sqlite3_context*, int, sqlite3_value**);
        bool deterministic;
    };
    static const Entry entries[] = {
        {"jet_cdate", 1, cdate, true}, {"jet_datepart", 2, datepart, true}, {"jet_fix", 1, fix, true},
        {"jet_right", 2, right, true}, {"jet_ucase", 1, ucase, true},       {"jet_lcase", 1, lcase, true},
        {"jet_instr", 2, instr, true}, {"jet_instr", 3, instr, true},
    };
    for (const Entry& e : entries) {
        const int flags = SQLITE_UTF8 | (e.deterministic ? SQLITE_DETERMINISTIC : 0);
        const int rc =
            sqlite3_create_function_v2(db, e.name, e.args, flags, nullptr, e.fn, nullptr, nullptr, nullptr);
        if (rc != SQLITE_OK) {
            return rc;
        }
    }
    return SQLITE_OK;
}

}  // namespace vinorium::data::engine
