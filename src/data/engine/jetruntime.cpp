// The SQL functions of the Jet runtime and their registration. Each one
// switches on sqlite3_value_type and works on the UTF-8 bytes SQLite hands
// over: no QString on the per-row paths.

#include "data/engine/jetruntime.h"

#include <sqlite3.h>

#include <cmath>
#include <cstring>
#include <ctime>
#include <limits>

namespace vinorium::jet {
namespace {

using detail::Civil;
using detail::Number;

constexpr const char* kTypeMismatch = "Type incompatible";
constexpr const char* kDivisionByZero = "Division par zéro";
constexpr const char* kOverflow = "Dépassement de capacité";
constexpr const char* kBadArgument = "Argument ou appel de procédure incorrect";
constexpr double kExactLimit = 9007199254740992.0;  // 2^53

std::string_view textOf(sqlite3_value* v) {
    const auto* s = reinterpret_cast<const char*>(sqlite3_value_text(v));
    const int n = sqlite3_value_bytes(v);
    return s ? std::string_view(s, static_cast<std::size_t>(n)) : std::string_view();
}

bool isNumber(int type) {
    return type == SQLITE_INTEGER || type == SQLITE_FLOAT;
}

Number numberOf(sqlite3_value* v, int type) {
    Number n;
    if (type == SQLITE_INTEGER) {
        n.isInt = true;
        n.i = sqlite3_value_int64(v);
        n.d = static_cast<double>(n.i);
    } else {
        n.d = sqlite3_value_double(v);
    }
    return n;
}

bool storedDate(std::string_view t, Civil& c) {
    return detail::mayBeStoredDate(t) && detail::parseStoredDate(t, c);
}

// A value as a number for arithmetic: numbers, numeric texts, stored dates
// (as day numbers). `isDate` tells the caller a date was read.
bool toNumber(sqlite3_value* v, int type, Number& out, bool* isDate = nullptr) {
    if (isDate) {
        *isDate = false;
    }
    if (isNumber(type)) {
        out = numberOf(v, type);
        return true;
    }
    const std::string_view t = textOf(v);
    if (detail::parseNumericText(t, out)) {
        return true;
    }
    Civil c;
    if (storedDate(t, c)) {
        out.isInt = false;
        out.d = detail::serialFromCivil(c);
        if (isDate) {
            *isDate = true;
        }
        return true;
    }
    return false;
}

void resultDouble(sqlite3_context* ctx, double d) {
    if (!std::isfinite(d)) {
        sqlite3_result_error(ctx, kOverflow, -1);
    } else if (d == std::trunc(d) && std::fabs(d) <= kExactLimit) {
        sqlite3_result_int64(ctx, static_cast<sqlite3_int64>(d));
    } else {
        sqlite3_result_double(ctx, d);
    }
}

void resultString(sqlite3_context* ctx, const std::string& s) {
    sqlite3_result_text64(ctx, s.data(), s.size(), SQLITE_TRANSIENT, SQLITE_UTF8);
}

void resultDate(sqlite3_context* ctx, double serial) {
    Civil c;
    if (!detail::civilFromSerial(serial, c)) {
        sqlite3_result_error(ctx, kOverflow, -1);
        return;
    }
    resultString(ctx, detail::storedDateText(c));
}

// --- jet_num -------------------------------------------------------------------

void jetNum(sqlite3_context* ctx, int, sqlite3_value** argv) {
    const int type = sqlite3_value_type(argv[0]);
    if (type == SQLITE_TEXT) {
        Number n;
        if (detail::parseNumericText(textOf(argv[0]), n)) {
            if (n.isInt) {
                sqlite3_result_int64(ctx, n.i);
            } else {
                sqlite3_result_double(ctx, n.d);
            }
            return;
        }
    }
    sqlite3_result_value(ctx, argv[0]);
}

// --- Arithmetic ------------------------------------------------------------------

enum class Op { Add, Sub, Mul, Div };

void arith(sqlite3_context* ctx, Op op, const Number& a, const Number& b) {
    if (a.isInt && b.isInt) {
        sqlite3_int64 r = 0;
        bool overflow = false;
        switch (op) {
            case Op::Add:
                overflow = __builtin_add_overflow(a.i, b.i, &r);
                break;
            case Op::Sub:
                overflow = __builtin_sub_overflow(a.i, b.i, &r);
                break;
            case Op::Mul:
                overflow = __builtin_mul_overflow(a.i, b.i, &r);
                break;
            case Op::Div:
                if (b.i == 0) {
                    sqlite3_result_error(ctx, kDivisionByZero, -1);
                    return;
                }
                if (b.i != -1 && a.i % b.i == 0) {
                    sqlite3_result_int64(ctx, a.i / b.i);
                    return;
                }
                resultDouble(ctx, static_cast<double>(a.i) / static_cast<double>(b.i));
                return;
        }
        if (!overflow) {
            sqlite3_result_int64(ctx, r);
            return;
        }
    }
    const double x = a.value();
    const double y = b.value();
    switch (op) {
        case Op::Add:
            resultDouble(ctx, x + y);
            return;
        case Op::Sub:
            resultDouble(ctx, x - y);
            return;
        case Op::Mul:
            resultDouble(ctx, x * y);
            return;
        case Op::Div:
            if (y == 0) {
                sqlite3_result_error(ctx, kDivisionByZero, -1);
                return;
            }
            resultDouble(ctx, x / y);
            return;
    }
}

void concatTexts(sqlite3_context* ctx, std::string_view a, std::string_view b) {
    const std::size_t n = a.size() + b.size();
    char* buf = static_cast<char*>(sqlite3_malloc64(n + 1));
    if (!buf) {
        sqlite3_result_error_nomem(ctx);
        return;
    }
    if (!a.empty()) {
        std::memcpy(buf, a.data(), a.size());
    }
    if (!b.empty()) {
        std::memcpy(buf + a.size(), b.data(), b.size());
    }
    buf[n] = 0;
    sqlite3_result_text64(ctx, buf, n, sqlite3_free, SQLITE_UTF8);
}

// Reads the two operands of an arithmetic function as numbers, telling which
// are stored dates when asked. False when the result is already set: Null for
// a Null operand, an error for a text that does not read as a number.
bool operandesNumeriques(sqlite3_context* ctx, sqlite3_value** argv, Number& a, Number& b,
                         bool* dateA = nullptr, bool* dateB = nullptr) {
    const int ta = sqlite3_value_type(argv[0]);
    const int tb = sqlite3_value_type(argv[1]);
    if (ta == SQLITE_NULL || tb == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return false;
    }
    if (!toNumber(argv[0], ta, a, dateA) || !toNumber(argv[1], tb, b, dateB)) {
        sqlite3_result_error(ctx, kTypeMismatch, -1);
        return false;
    }
    return true;
}

void jetAdd(sqlite3_context* ctx, int, sqlite3_value** argv) {
    const int ta = sqlite3_value_type(argv[0]);
    const int tb = sqlite3_value_type(argv[1]);
    if (ta == SQLITE_NULL || tb == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    if (ta == SQLITE_INTEGER && tb == SQLITE_INTEGER) {
        const sqlite3_int64 a = sqlite3_value_int64(argv[0]);
        const sqlite3_int64 b = sqlite3_value_int64(argv[1]);
        sqlite3_int64 r = 0;
        if (!__builtin_add_overflow(a, b, &r)) {
            sqlite3_result_int64(ctx, r);
            return;
        }
    }
    const bool na = isNumber(ta);
    const bool nb = isNumber(tb);
    if (!na && !nb) {
        // Two texts concatenate.
        concatTexts(ctx, textOf(argv[0]), textOf(argv[1]));
        return;
    }
    Number a;
    Number b;
    bool dateA = false;
    bool dateB = false;
    if (!operandesNumeriques(ctx, argv, a, b, &dateA, &dateB)) {
        return;
    }
    if (dateA || dateB) {
        resultDate(ctx, a.value() + b.value());  // a date moved by a number of days
        return;
    }
    arith(ctx, Op::Add, a, b);
}

void jetSub(sqlite3_context* ctx, int, sqlite3_value** argv) {
    Number a;
    Number b;
    bool dateA = false;
    bool dateB = false;
    if (!operandesNumeriques(ctx, argv, a, b, &dateA, &dateB)) {
        return;
    }
    if (dateA && !dateB) {
        resultDate(ctx, a.value() - b.value());
        return;
    }
    arith(ctx, Op::Sub, a, b);
}

template <Op op>
void jetArith(sqlite3_context* ctx, int, sqlite3_value** argv) {
    Number a;
    Number b;
    if (!operandesNumeriques(ctx, argv, a, b)) {
        return;
    }
    arith(ctx, op, a, b);
}

void jetNeg(sqlite3_context* ctx, int, sqlite3_value** argv) {
    const int t = sqlite3_value_type(argv[0]);
    if (t == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    Number a;
    if (!toNumber(argv[0], t, a)) {
        sqlite3_result_error(ctx, kTypeMismatch, -1);
        return;
    }
    if (a.isInt && a.i != std::numeric_limits<sqlite3_int64>::min()) {
        sqlite3_result_int64(ctx, -a.i);
    } else {
        resultDouble(ctx, -a.value());
    }
}

// Operands of "\" and Mod: rounded to integers, half to even (as Jet's CLng).
bool roundedOperands(sqlite3_context* ctx, sqlite3_value** argv, sqlite3_int64& a, sqlite3_int64& b) {
    const int ta = sqlite3_value_type(argv[0]);
    const int tb = sqlite3_value_type(argv[1]);
    if (ta == SQLITE_NULL || tb == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return false;
    }
    Number x;
    Number y;
    if (!toNumber(argv[0], ta, x) || !toNumber(argv[1], tb, y)) {
        sqlite3_result_error(ctx, kTypeMismatch, -1);
        return false;
    }
    auto toInt = [&](const Number& n, sqlite3_int64& out) {
        if (n.isInt) {
            out = n.i;
            return true;
        }
        const double r = std::nearbyint(n.d);  // default rounding mode: half to even
        if (!std::isfinite(r) || std::fabs(r) >= 9.2e18) {
            return false;
        }
        out = static_cast<sqlite3_int64>(r);
        return true;
    };
    if (!toInt(x, a) || !toInt(y, b)) {
        sqlite3_result_error(ctx, kOverflow, -1);
        return false;
    }
    if (b == 0) {
        sqlite3_result_error(ctx, kDivisionByZero, -1);
        return false;
    }
    return true;
}

void jetIdiv(sqlite3_context* ctx, int, sqlite3_value** argv) {
    sqlite3_int64 a = 0;
    sqlite3_int64 b = 0;
    if (!roundedOperands(ctx, argv, a, b)) {
        return;
    }
    if (b == -1) {
        if (a == std::numeric_limits<sqlite3_int64>::min()) {
            sqlite3_result_error(ctx, kOverflow, -1);
        } else {
            sqlite3_result_int64(ctx, -a);
        }
        return;
    }
    sqlite3_result_int64(ctx, a / b);  // C++ division truncates toward zero
}

void jetMod(sqlite3_context* ctx, int, sqlite3_value** argv) {
    sqlite3_int64 a = 0;
    sqlite3_int64 b = 0;
    if (!roundedOperands(ctx, argv, a, b)) {
        return;
    }
    sqlite3_result_int64(ctx, b == -1 ? 0 : a % b);  // the sign of the dividend
}

void jetPow(sqlite3_context* ctx, int, sqlite3_value** argv) {
    Number a;
    Number b;
    if (!operandesNumeriques(ctx, argv, a, b)) {
        return;
    }
    const double x = a.value();
    const double y = b.value();
    if (x < 0 && y != std::trunc(y)) {
        sqlite3_result_error(ctx, kBadArgument, -1);
        return;
    }
    if (x == 0 && y < 0) {
        sqlite3_result_error(ctx, kDivisionByZero, -1);
        return;
    }
    resultDouble(ctx, std::pow(x, y));
}

// --- Text -------------------------------------------------------------------------

// The text of a value as "&" and LIKE see it; `scratch` holds converted texts.
std::string_view displayText(sqlite3_value* v, int type, std::string& scratch) {
    switch (type) {
        case SQLITE_INTEGER:
            scratch = detail::integerText(sqlite3_value_int64(v));
            return scratch;
        case SQLITE_FLOAT:
            scratch = detail::shortestNumber(sqlite3_value_double(v));
            return scratch;
        case SQLITE_NULL:
            return {};
        default: {
            const std::string_view t = textOf(v);
            Civil c;
            if (storedDate(t, c)) {
                scratch = detail::generalDate(c);
                return scratch;
            }
            return t;
        }
    }
}

void jetConcat(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (argc == 2) {
        std::string sa;
        std::string sb;
        const std::string_view a = displayText(argv[0], sqlite3_value_type(argv[0]), sa);
        const std::string_view b = displayText(argv[1], sqlite3_value_type(argv[1]), sb);
        concatTexts(ctx, a, b);
        return;
    }
    std::string out;
    std::string scratch;
    for (int i = 0; i < argc; ++i) {
        out.append(displayText(argv[i], sqlite3_value_type(argv[i]), scratch));
    }
    resultString(ctx, out);
}

void deleteLike(void* p) {
    delete static_cast<detail::LikePattern*>(p);
}

void jetLike(sqlite3_context* ctx, int, sqlite3_value** argv) {
    const int tt = sqlite3_value_type(argv[0]);
    const int tp = sqlite3_value_type(argv[1]);
    if (tt == SQLITE_NULL || tp == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    std::string scratch;
    std::string_view text;
    if (isNumber(tt)) {
        text = displayText(argv[0], tt, scratch);
    } else {
        text = textOf(argv[0]);
    }
    // The compiled pattern is kept by SQLite while the pattern argument is constant.
    auto* cached = static_cast<detail::LikePattern*>(sqlite3_get_auxdata(ctx, 1));
    if (cached) {
        sqlite3_result_int(ctx, cached->matches(text) ? 1 : 0);
        return;
    }
    std::string patternScratch;
    const std::string_view pattern =
        isNumber(tp) ? displayText(argv[1], tp, patternScratch) : textOf(argv[1]);
    auto* compiled = new detail::LikePattern(pattern);
    sqlite3_result_int(ctx, compiled->matches(text) ? 1 : 0);
    sqlite3_set_auxdata(ctx, 1, compiled, deleteLike);  // may delete it at once
}

// --- Functions ---------------------------------------------------------------------

void jetInt(sqlite3_context* ctx, int, sqlite3_value** argv) {
    const int t = sqlite3_value_type(argv[0]);
    switch (t) {
        case SQLITE_NULL:
        case SQLITE_INTEGER:
            sqlite3_result_value(ctx, argv[0]);
            return;
        case SQLITE_FLOAT:
            resultDouble(ctx, std::floor(sqlite3_value_double(argv[0])));
            return;
        default: {
            const std::string_view s = textOf(argv[0]);
            Number n;
            if (detail::parseNumericText(s, n)) {
                if (n.isInt) {
                    sqlite3_result_int64(ctx, n.i);
                } else {
                    resultDouble(ctx, std::floor(n.d));
                }
                return;
            }
            Civil c;
            if (storedDate(s, c)) {
                c.hour = c.minute = c.second = 0;
                resultString(ctx, detail::storedDateText(c));
                return;
            }
            sqlite3_result_error(ctx, kTypeMismatch, -1);
        }
    }
}

void jetVal(sqlite3_context* ctx, int, sqlite3_value** argv) {
    const int t = sqlite3_value_type(argv[0]);
    if (t == SQLITE_NULL || isNumber(t)) {
        sqlite3_result_value(ctx, argv[0]);
        return;
    }
    resultDouble(ctx, detail::parseVal(textOf(argv[0])));
}

void jetBool(sqlite3_context* ctx, int, sqlite3_value** argv) {
    const int t = sqlite3_value_type(argv[0]);
    switch (t) {
        case SQLITE_NULL:
            sqlite3_result_null(ctx);
            return;
        case SQLITE_INTEGER:
            sqlite3_result_int(ctx, sqlite3_value_int64(argv[0]) != 0 ? -1 : 0);
            return;
        case SQLITE_FLOAT:
            sqlite3_result_int(ctx, sqlite3_value_double(argv[0]) != 0.0 ? -1 : 0);
            return;
        default: {
            const std::string_view s = textOf(argv[0]);
            Number n;
            if (detail::parseNumericText(s, n)) {
                sqlite3_result_int(ctx, n.value() != 0.0 ? -1 : 0);
                return;
            }
            std::string_view w = s;
            while (!w.empty() && w.front() == ' ') {
                w.remove_prefix(1);
            }
            while (!w.empty() && w.back() == ' ') {
                w.remove_suffix(1);
            }
            auto is = [&](const char* word) {
                const std::size_t len = std::strlen(word);
                if (w.size() != len) {
                    return false;
                }
                for (std::size_t i = 0; i < len; ++i) {
                    if ((w[i] | 0x20) != word[i]) {
                        return false;
                    }
                }
                return true;
            };
            if (is("true") || is("vrai") || is("oui") || is("yes") || is("on")) {
                sqlite3_result_int(ctx, -1);
            } else if (is("false") || is("faux") || is("non") || is("no") || is("off")) {
                sqlite3_result_int(ctx, 0);
            } else {
                sqlite3_result_error(ctx, kTypeMismatch, -1);
            }
        }
    }
}

void jetCmp(sqlite3_context* ctx, int, sqlite3_value** argv) {
    const int ta = sqlite3_value_type(argv[0]);
    const int tb = sqlite3_value_type(argv[1]);
    if (ta == SQLITE_NULL || tb == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    const bool na = isNumber(ta);
    const bool nb = isNumber(tb);
    if (!na && !nb) {
        const std::string_view a = textOf(argv[0]);
        const std::string_view b = textOf(argv[1]);
        const int r = collate(a.data(), static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()));
        sqlite3_result_int(ctx, r < 0 ? -1 : (r > 0 ? 1 : 0));
        return;
    }
    Number a;
    Number b;
    if (!toNumber(argv[0], ta, a) || !toNumber(argv[1], tb, b)) {
        sqlite3_result_error(ctx, kTypeMismatch, -1);
        return;
    }
    int r = 0;
    if (a.isInt && b.isInt) {
        r = a.i < b.i ? -1 : (a.i > b.i ? 1 : 0);
    } else {
        const double x = a.value();
        const double y = b.value();
        r = x < y ? -1 : (x > y ? 1 : 0);
    }
    sqlite3_result_int(ctx, r);
}

// --- Format ------------------------------------------------------------------------

void jetFormat(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (argc < 1 || argc > 4) {
        sqlite3_result_error(ctx, kBadArgument, -1);
        return;
    }
    const int tv = sqlite3_value_type(argv[0]);
    std::string_view pattern;
    if (argc >= 2 && sqlite3_value_type(argv[1]) != SQLITE_NULL) {
        pattern = textOf(argv[1]);
    }
    const int firstDay =
        argc >= 3 && sqlite3_value_type(argv[2]) != SQLITE_NULL ? sqlite3_value_int(argv[2]) : 1;
    const int firstWeek =
        argc >= 4 && sqlite3_value_type(argv[3]) != SQLITE_NULL ? sqlite3_value_int(argv[3]) : 1;
    if (firstDay < 0 || firstDay > 7 || firstWeek < 0 || firstWeek > 3) {
        sqlite3_result_error(ctx, kBadArgument, -1);
        return;
    }
    const detail::PatternKind kind = detail::patternKind(pattern);

    if (tv == SQLITE_NULL) {
        std::string out;
        if (kind == detail::PatternKind::Number && detail::formatNumberPattern(0.0, true, pattern, out)) {
            resultString(ctx, out);
        } else {
            sqlite3_result_null(ctx);
        }
        return;
    }

    switch (kind) {
        case detail::PatternKind::None: {
            if (tv == SQLITE_INTEGER) {
                resultString(ctx, detail::integerText(sqlite3_value_int64(argv[0])));
            } else if (tv == SQLITE_FLOAT) {
                resultString(ctx, detail::shortestNumber(sqlite3_value_double(argv[0])));
            } else {
                const std::string_view t = textOf(argv[0]);
                Civil c;
                if (storedDate(t, c)) {
                    resultString(ctx, detail::generalDate(c));
                } else {
                    sqlite3_result_value(ctx, argv[0]);
                }
            }
            return;
        }
        case detail::PatternKind::Number: {
            Number n;
            if (!toNumber(argv[0], tv, n)) {
                sqlite3_result_value(ctx, argv[0]);  // a text that is no number stays itself
                return;
            }
            std::string out;
            detail::formatNumberPattern(n.value(), false, pattern, out);
            resultString(ctx, out);
            return;
        }
        case detail::PatternKind::Date: {
            Civil c;
            bool ok = false;
            if (isNumber(tv)) {
                ok = detail::civilFromSerial(sqlite3_value_double(argv[0]), c);
                if (!ok) {
                    sqlite3_result_error(ctx, kOverflow, -1);
                    return;
                }
            } else {
                const std::string_view t = textOf(argv[0]);
                Number n;
                ok = storedDate(t, c) || detail::parseDateText(t, c) ||
                     (detail::parseNumericText(t, n) && detail::civilFromSerial(n.value(), c));
            }
            if (!ok) {
                sqlite3_result_value(ctx, argv[0]);
                return;
            }
            resultString(ctx, detail::formatDatePattern(c, pattern, firstDay, firstWeek));
            return;
        }
        case detail::PatternKind::Text: {
            std::string scratch;
            const std::string_view t = displayText(argv[0], tv, scratch);
            resultString(ctx, detail::formatTextPattern(t, pattern));
            return;
        }
    }
}

// --- Dates ---------------------------------------------------------------------------

void jetDateValue(sqlite3_context* ctx, int, sqlite3_value** argv) {
    const int t = sqlite3_value_type(argv[0]);
    Civil c;
    if (t == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    if (isNumber(t)) {
        if (!detail::civilFromSerial(sqlite3_value_double(argv[0]), c)) {
            sqlite3_result_error(ctx, kOverflow, -1);
            return;
        }
    } else if (!detail::parseDateText(textOf(argv[0]), c)) {
        sqlite3_result_error(ctx, kTypeMismatch, -1);
        return;
    }
    c.hour = c.minute = c.second = 0;
    resultString(ctx, detail::storedDateText(c));
}

void jetNow(sqlite3_context* ctx, int, sqlite3_value**) {
    const std::time_t now = std::time(nullptr);
    std::tm tm{};
    localtime_r(&now, &tm);
    Civil c;
    c.year = tm.tm_year + 1900;
    c.month = tm.tm_mon + 1;
    c.day = tm.tm_mday;
    c.hour = tm.tm_hour;
    c.minute = tm.tm_min;
    c.second = tm.tm_sec > 59 ? 59 : tm.tm_sec;
    resultString(ctx, detail::storedDateText(c));
}

int jetCollate(void*, int lenA, const void* a, int lenB, const void* b) {
    return collate(static_cast<const char*>(a), lenA, static_cast<const char*>(b), lenB);
}

}  // namespace

int registerJetRuntime(sqlite3* db) {
    using Fn = void (*)(sqlite3_context*, int, sqlite3_value**);
    struct Entry {
        const char* name;
        int nArg;
        Fn fn;
        bool deterministic;
    };
    static const Entry kEntries[] = {
        {"jet_format", -1, jetFormat, true},
        {"jet_datevalue", 1, jetDateValue, true},
        {"jet_now", 0, jetNow, false},
        {"jet_val", 1, jetVal, true},
        {"jet_int", 1, jetInt, true},
        {"jet_num", 1, jetNum, true},
        {"jet_add", 2, jetAdd, true},
        {"jet_sub", 2, jetSub, true},
        {"jet_mul", 2, jetArith<Op::Mul>, true},
        {"jet_div", 2, jetArith<Op::Div>, true},
        {"jet_neg", 1, jetNeg, true},
        {"jet_idiv", 2, jetIdiv, true},
        {"jet_mod", 2, jetMod, true},
        {"jet_pow", 2, jetPow, true},
        {"jet_concat", -1, jetConcat, true},
        {"jet_like", 2, jetLike, true},
        {"jet_bool", 1, jetBool, true},
        {"jet_cmp", 2, jetCmp, true},
    };
    for (const Entry& e : kEntries) {
        const int flags = SQLITE_UTF8 | SQLITE_INNOCUOUS | (e.deterministic ? SQLITE_DETERMINISTIC : 0);
        const int rc =
            sqlite3_create_function_v2(db, e.name, e.nArg, flags, nullptr, e.fn, nullptr, nullptr, nullptr);
        if (rc != SQLITE_OK) {
            return rc;
        }
    }
    return sqlite3_create_collation_v2(db, "JET", SQLITE_UTF8, nullptr, jetCollate, nullptr);
}

}  // namespace vinorium::jet
