// Format() in the French locale: number patterns (decimal comma, no-break
// space as thousands separator), date patterns (French month and day names),
// text patterns, named formats. UTF-8 in and out.

#include "data/engine/jetruntime.h"

#include <QString>

#include <charconv>
#include <cmath>
#include <cstring>

namespace vinorium::jet {
namespace detail {
namespace {

constexpr char kDecimalSep = ',';
constexpr const char* kGroupSep = "\xC2\xA0";  // U+00A0, as Windows writes French numbers

constexpr const char* kMonthShort[12] = {"janv.", "févr.", "mars",  "avr.", "mai",  "juin",
                                         "juil.", "août",  "sept.", "oct.", "nov.", "déc."};
constexpr const char* kMonthLong[12] = {"janvier", "février", "mars",      "avril",   "mai",      "juin",
                                        "juillet", "août",    "septembre", "octobre", "novembre", "décembre"};
constexpr const char* kDayShort[7] = {"dim.", "lun.", "mar.", "mer.", "jeu.", "ven.", "sam."};
constexpr const char* kDayLong[7] = {"dimanche", "lundi", "mardi", "mercredi", "jeudi", "vendredi", "samedi"};

char lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool iequals(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (lower(a[i]) != lower(b[i])) {
            return false;
        }
    }
    return true;
}

bool istarts(std::string_view a, std::size_t pos, std::string_view b) {
    return pos + b.size() <= a.size() && iequals(a.substr(pos, b.size()), b);
}

// Length of the UTF-8 character starting at p[i] (1 for an invalid byte).
std::size_t charLen(std::string_view p, std::size_t i) {
    const auto* s = reinterpret_cast<const unsigned char*>(p.data()) + i;
    const auto* e = reinterpret_cast<const unsigned char*>(p.data()) + p.size();
    const unsigned char* q = s;
    decodeUtf8(q, e);
    return static_cast<std::size_t>(q - s);
}

// Splits a pattern on ';' outside quotes and escapes; at most 4 sections.
int splitSections(std::string_view p, std::string_view out[4]) {
    int n = 0;
    std::size_t start = 0;
    bool quoted = false;
    for (std::size_t i = 0; i < p.size(); ++i) {
        const char c = p[i];
        if (quoted) {
            quoted = c != '"';
        } else if (c == '"') {
            quoted = true;
        } else if (c == '\\') {
            ++i;
        } else if (c == ';' && n < 3) {
            out[n++] = p.substr(start, i - start);
            start = i + 1;
        }
    }
    out[n++] = p.substr(start);
    return n;
}

void put2(std::string& out, int v) {
    out.push_back(static_cast<char>('0' + (v / 10) % 10));
    out.push_back(static_cast<char>('0' + v % 10));
}

void putInt(std::string& out, long long v) {
    char buf[24];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    out.append(buf, r.ptr);
}

// --- Named formats ------------------------------------------------------------

enum class Named {
    None,
    GeneralNumber,
    YesNo,
    TrueFalse,
    OnOff,
    NumberPattern,
    GeneralDate,
    DatePattern,
};

Named namedFormat(std::string_view p, std::string_view& pattern) {
    struct Entry {
        std::string_view name;
        Named kind;
        std::string_view pattern;
    };
    static constexpr Entry kEntries[] = {
        {"General Number", Named::GeneralNumber, ""},
        {"Currency", Named::NumberPattern, "#,##0.00 €;-#,##0.00 €"},
        {"Euro", Named::NumberPattern, "#,##0.00 €;-#,##0.00 €"},
        {"Fixed", Named::NumberPattern, "0.00"},
        {"Standard", Named::NumberPattern, "#,##0.00"},
        {"Percent", Named::NumberPattern, "0.00%"},
        {"Scientific", Named::NumberPattern, "0.00E+00"},
        {"Yes/No", Named::YesNo, ""},
        {"True/False", Named::TrueFalse, ""},
        {"On/Off", Named::OnOff, ""},
        {"General Date", Named::GeneralDate, ""},
        {"Long Date", Named::DatePattern, "dddd d mmmm yyyy"},
        {"Medium Date", Named::DatePattern, "dd-mmm-yy"},
        {"Short Date", Named::DatePattern, "dd/mm/yyyy"},
        {"Long Time", Named::DatePattern, "hh:nn:ss"},
        {"Medium Time", Named::DatePattern, "hh:nn"},
        {"Short Time", Named::DatePattern, "hh:nn"},
    };
    if (p.size() < 4 || p.size() > 14) {
        return Named::None;
    }
    for (const Entry& e : kEntries) {
        if (iequals(p, e.name)) {
            pattern = e.pattern;
            return e.kind;
        }
    }
    return Named::None;
}

// --- Number patterns ------------------------------------------------------------

// A decimal with 15 significant digits: value = 0.d1d2... x 10^exp10.
struct Decimal {
    char d[24];
    int len = 0;
    int exp10 = 0;

    void trim() {
        while (len > 0 && d[len - 1] == '0') {
            --len;
        }
        if (len == 0) {
            exp10 = 0;
        }
    }
    // Keeps `keep` digits, rounding half away from zero.
    void roundAt(int keep) {
        if (keep < 0) {
            len = 0;
            exp10 = 0;
            return;
        }
        if (keep >= len) {
            return;
        }
        const bool up = d[keep] >= '5';
        len = keep;
        if (up) {
            int i = len - 1;
            while (i >= 0 && d[i] == '9') {
                d[i] = '0';
                --i;
            }
            if (i < 0) {
                d[0] = '1';
                len = std::max(len, 1);
                for (int k = 1; k < len; ++k) {
                    d[k] = '0';
                }
                ++exp10;
            } else {
                ++d[i];
            }
        }
        trim();
    }
    char digit(int pos) const { return pos >= 0 && pos < len ? d[pos] : '0'; }
};

Decimal toDecimal(double x) {
    Decimal r;
    if (!(x > 0) || !std::isfinite(x)) {
        return r;
    }
    char buf[40];
    const auto res = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::scientific, 14);
    const char* p = buf;
    r.d[r.len++] = *p++;
    if (*p == '.') {
        ++p;
    }
    while (p < res.ptr && *p != 'e') {
        r.d[r.len++] = *p++;
    }
    int e = 0;
    if (p < res.ptr) {
        std::from_chars(p[1] == '+' ? p + 2 : p + 1, res.ptr, e);
    }
    r.exp10 = e + 1;
    r.trim();
    return r;
}

struct NumToken {
    enum Kind : std::uint8_t { Lit, Zero, Hash, Point, Comma, Percent, Exp } kind;
    std::string_view lit;  // Lit
    char expChar = 'E';
    char expSign = '+';
};

void tokenizeNumber(std::string_view p, std::vector<NumToken>& out) {
    bool seenPoint = false;
    for (std::size_t i = 0; i < p.size();) {
        const char c = p[i];
        NumToken t{NumToken::Lit, {}};
        if (c == '\\') {
            if (i + 1 >= p.size()) {
                break;
            }
            const std::size_t n = charLen(p, i + 1);
            t.lit = p.substr(i + 1, n);
            i += 1 + n;
        } else if (c == '"') {
            const std::size_t close = p.find('"', i + 1);
            const std::size_t end = close == std::string_view::npos ? p.size() : close;
            t.lit = p.substr(i + 1, end - i - 1);
            i = end + 1;
        } else if (c == '0') {
            t.kind = NumToken::Zero;
            ++i;
        } else if (c == '#') {
            t.kind = NumToken::Hash;
            ++i;
        } else if (c == '.' && !seenPoint) {
            t.kind = NumToken::Point;
            seenPoint = true;
            ++i;
        } else if (c == ',') {
            t.kind = NumToken::Comma;
            ++i;
        } else if (c == '%') {
            t.kind = NumToken::Percent;
            ++i;
        } else if ((c == 'E' || c == 'e') && i + 1 < p.size() && (p[i + 1] == '+' || p[i + 1] == '-')) {
            t.kind = NumToken::Exp;
            t.expChar = c;
            t.expSign = p[i + 1];
            i += 2;
        } else {
            const std::size_t n = charLen(p, i);
            t.lit = p.substr(i, n);
            i += n;
        }
        out.push_back(t);
    }
}

bool isDigitToken(const NumToken& t) {
    return t.kind == NumToken::Zero || t.kind == NumToken::Hash;
}

// One section applied to x >= 0; a '-' first when negative.
void formatSection(double x, bool negative, std::string_view section, std::string& out) {
    thread_local std::vector<NumToken> tok;  // reused: no allocation per row
    tok.clear();
    tokenizeNumber(section, tok);
    const std::size_t nt = tok.size();

    std::size_t pointIdx = nt;
    std::size_t expIdx = nt;
    int percents = 0;
    bool anyDigit = false;
    for (std::size_t i = 0; i < nt; ++i) {
        if (tok[i].kind == NumToken::Point && pointIdx == nt && expIdx == nt) {
            pointIdx = i;
        } else if (tok[i].kind == NumToken::Exp && expIdx == nt) {
            expIdx = i;
        } else if (tok[i].kind == NumToken::Percent) {
            ++percents;
        }
        anyDigit = anyDigit || isDigitToken(tok[i]);
    }
    const std::size_t intEnd = std::min(pointIdx, expIdx);
    const std::size_t fracEnd = expIdx;

    int nInt = 0;
    int first0 = -1;
    std::size_t lastIntDigit = nt;
    for (std::size_t i = 0; i < intEnd; ++i) {
        if (isDigitToken(tok[i])) {
            if (tok[i].kind == NumToken::Zero && first0 < 0) {
                first0 = nInt;
            }
            ++nInt;
            lastIntDigit = i;
        }
    }
    bool grouping = false;
    int scale = 0;
    for (std::size_t i = 0; i < intEnd; ++i) {
        if (tok[i].kind != NumToken::Comma) {
            continue;
        }
        if (lastIntDigit != nt && i < lastIntDigit) {
            // A comma with digit placeholders after it (and before it): grouping.
            bool before = false;
            for (std::size_t k = 0; k < i; ++k) {
                before = before || isDigitToken(tok[k]);
            }
            grouping = grouping || before;
        } else if (lastIntDigit != nt) {
            ++scale;  // after the last integer placeholder: divide by 1000
        }
    }
    thread_local std::string fracKind;
    fracKind.clear();
    for (std::size_t i = pointIdx + 1; i < fracEnd && pointIdx < nt; ++i) {
        if (isDigitToken(tok[i])) {
            fracKind.push_back(tok[i].kind == NumToken::Zero ? '0' : '#');
        }
    }
    const int nFrac = static_cast<int>(fracKind.size());
    int expZeros = 0;
    for (std::size_t i = expIdx + 1; i < nt && expIdx < nt; ++i) {
        if (tok[i].kind == NumToken::Zero) {
            ++expZeros;
        }
    }

    for (int i = 0; i < percents; ++i) {
        x *= 100.0;
    }
    for (int i = 0; i < scale; ++i) {
        x /= 1000.0;
    }

    Decimal dec = toDecimal(x);
    std::string intDigits;
    std::string fracDigits;
    int exponent = 0;
    if (expIdx < nt) {
        const int intD = std::max(nInt, 1);
        if (dec.len > 0) {
            dec.roundAt(intD + nFrac);
            exponent = dec.exp10 - intD;
        }
        for (int k = 0; k < intD; ++k) {
            intDigits.push_back(dec.digit(k));
        }
        for (int k = 0; k < nFrac; ++k) {
            fracDigits.push_back(dec.digit(intD + k));
        }
        // Leading zeros of the mantissa are shown only by '0' placeholders.
        std::size_t lead = 0;
        while (lead < intDigits.size() && intDigits[lead] == '0') {
            ++lead;
        }
        intDigits.erase(0, lead);
    } else {
        dec.roundAt(dec.exp10 + nFrac);
        for (int k = 0; k < dec.exp10; ++k) {
            intDigits.push_back(dec.digit(k));
        }
        for (int k = 0; k < nFrac; ++k) {
            fracDigits.push_back(dec.digit(dec.exp10 + k));
        }
    }
    const int minDigits = first0 >= 0 ? nInt - first0 : 0;
    if (static_cast<int>(intDigits.size()) < minDigits) {
        intDigits.insert(0, static_cast<std::size_t>(minDigits) - intDigits.size(), '0');
    }
    if (negative && dec.len > 0) {
        out.push_back('-');
    }

    const int L = static_cast<int>(intDigits.size());
    auto emitDigits = [&](int from, int to) {
        for (int k = from; k < to; ++k) {
            if (grouping && k > 0 && (L - k) % 3 == 0) {
                out.append(kGroupSep);
            }
            out.push_back(intDigits[static_cast<std::size_t>(k)]);
        }
    };
    int lastFrac = nFrac - 1;
    while (lastFrac >= 0 && fracKind[static_cast<std::size_t>(lastFrac)] == '#' &&
           fracDigits[static_cast<std::size_t>(lastFrac)] == '0') {
        --lastFrac;
    }

    int intPlaceholder = 0;
    int fracPlaceholder = 0;
    bool intEmitted = false;
    for (std::size_t i = 0; i < nt; ++i) {
        const NumToken& t = tok[i];
        if (i == intEnd && nInt == 0 && !intEmitted && anyDigit) {
            emitDigits(0, L);
            intEmitted = true;
        }
        switch (t.kind) {
            case NumToken::Lit:
                out.append(t.lit);
                break;
            case NumToken::Comma:
                break;
            case NumToken::Percent:
                out.push_back('%');
                break;
            case NumToken::Point:
                out.push_back(kDecimalSep);
                break;
            case NumToken::Exp: {
                out.push_back(t.expChar);
                if (exponent < 0) {
                    out.push_back('-');
                } else if (t.expSign == '+') {
                    out.push_back('+');
                }
                std::string e;
                putInt(e, exponent < 0 ? -exponent : exponent);
                if (static_cast<int>(e.size()) < expZeros) {
                    out.append(static_cast<std::size_t>(expZeros) - e.size(), '0');
                }
                out.append(e);
                break;
            }
            case NumToken::Zero:
            case NumToken::Hash:
                if (i < intEnd) {
                    const int j = intPlaceholder++;
                    if (j == 0) {
                        emitDigits(0, std::max(0, L - nInt + 1));
                    } else {
                        const int idx = L - nInt + j;
                        if (idx >= 0) {
                            emitDigits(idx, idx + 1);
                        }
                    }
                    intEmitted = true;
                } else if (i < fracEnd) {
                    const int k = fracPlaceholder++;
                    if (k <= lastFrac) {
                        out.push_back(fracDigits[static_cast<std::size_t>(k)]);
                    }
                }
                // Exponent placeholders were written with the exponent.
                break;
        }
    }
    if (!intEmitted && nInt == 0 && anyDigit && intEnd == nt) {
        emitDigits(0, L);
    }
}

// --- Date patterns ------------------------------------------------------------------

int dayOfYear(const Civil& c) {
    return static_cast<int>(daysFromCivil(c.year, c.month, c.day) - daysFromCivil(c.year, 1, 1)) + 1;
}

// Start (day number) of week 1 of a year.
std::int64_t weekOneStart(int year, int firstDay, int firstWeek) {
    const std::int64_t jan1 = daysFromCivil(year, 1, 1);
    Civil j;
    j.year = year;
    j.month = 1;
    j.day = 1;
    const int wd = (weekday(j) - firstDay + 7) % 7;  // 0 = first day of the week
    switch (firstWeek) {
        case 2:  // first week with four days in the year
            return jan1 - wd + (wd > 3 ? 7 : 0);
        case 3:  // first full week
            return jan1 + (wd == 0 ? 0 : 7 - wd);
        default:  // the week of 1 January
            return jan1 - wd;
    }
}

int weekOfYear(const Civil& c, int firstDay, int firstWeek) {
    const std::int64_t d = daysFromCivil(c.year, c.month, c.day);
    std::int64_t start = weekOneStart(c.year, firstDay, firstWeek);
    if (d < start) {
        start = weekOneStart(c.year - 1, firstDay, firstWeek);
    } else if (firstWeek == 2) {
        const std::int64_t next = weekOneStart(c.year + 1, firstDay, firstWeek);
        if (d >= next) {
            start = next;
        }
    }
    return static_cast<int>((d - start) / 7) + 1;
}

std::size_t runLength(std::string_view p, std::size_t i) {
    const char c = lower(p[i]);
    std::size_t n = 1;
    while (i + n < p.size() && lower(p[i + n]) == c) {
        ++n;
    }
    return n;
}

bool hasAmPm(std::string_view p) {
    bool quoted = false;
    for (std::size_t i = 0; i < p.size(); ++i) {
        const char c = p[i];
        if (quoted) {
            quoted = c != '"';
        } else if (c == '"') {
            quoted = true;
        } else if (c == '\\') {
            ++i;
        } else if ((c == 'a' || c == 'A') &&
                   (istarts(p, i, "am/pm") || istarts(p, i, "a/p") || istarts(p, i, "ampm"))) {
            return true;
        }
    }
    return false;
}

void formatDateInto(const Civil& c, std::string_view p, int firstDay, int firstWeek, std::string& out);

void longDate(const Civil& c, std::string& out) {
    formatDateInto(c, "dddd d mmmm yyyy", 1, 1, out);
}

void formatDateInto(const Civil& c, std::string_view p, int firstDay, int firstWeek, std::string& out) {
    const bool ampm = hasAmPm(p);
    bool afterHour = false;
    for (std::size_t i = 0; i < p.size();) {
        const char ch = p[i];
        const char l = lower(ch);
        std::size_t n = 1;
        switch (l) {
            case '\\': {
                if (i + 1 < p.size()) {
                    const std::size_t cl = charLen(p, i + 1);
                    out.append(p.substr(i + 1, cl));
                    n = 1 + cl;
                }
                break;
            }
            case '"': {
                const std::size_t close = p.find('"', i + 1);
                const std::size_t end = close == std::string_view::npos ? p.size() : close;
                out.append(p.substr(i + 1, end - i - 1));
                n = end + 1 - i;
                break;
            }
            case 'd': {
                const std::size_t run = runLength(p, i);
                n = std::min<std::size_t>(run, 6);
                const int wd = weekday(c) - 1;
                switch (n) {
                    case 1:
                        putInt(out, c.day);
                        break;
                    case 2:
                        put2(out, c.day);
                        break;
                    case 3:
                        out.append(kDayShort[wd]);
                        break;
                    case 4:
                        out.append(kDayLong[wd]);
                        break;
                    case 5:
                        formatDateInto(c, "dd/mm/yyyy", 1, 1, out);
                        break;
                    default:
                        longDate(c, out);
                        break;
                }
                afterHour = false;
                break;
            }
            case 'm': {
                const std::size_t run = runLength(p, i);
                if (afterHour && run <= 2) {
                    n = run;
                    if (n == 1) {
                        putInt(out, c.minute);
                    } else {
                        put2(out, c.minute);
                    }
                } else {
                    n = std::min<std::size_t>(run, 4);
                    switch (n) {
                        case 1:
                            putInt(out, c.month);
                            break;
                        case 2:
                            put2(out, c.month);
                            break;
                        case 3:
                            out.append(kMonthShort[c.month - 1]);
                            break;
                        default:
                            out.append(kMonthLong[c.month - 1]);
                            break;
                    }
                }
                afterHour = false;
                break;
            }
            case 'y': {
                const std::size_t run = runLength(p, i);
                if (run >= 4) {
                    n = 4;
                    putInt(out, c.year);
                } else if (run >= 2) {
                    n = 2;
                    put2(out, c.year % 100);
                } else {
                    putInt(out, dayOfYear(c));
                }
                afterHour = false;
                break;
            }
            case 'q':
                putInt(out, (c.month - 1) / 3 + 1);
                afterHour = false;
                break;
            case 'w': {
                const std::size_t run = runLength(p, i);
                const int fd = firstDay == 0 ? 2 : firstDay;
                if (run >= 2) {
                    n = 2;
                    put2(out, weekOfYear(c, fd, firstWeek == 0 ? 1 : firstWeek));
                } else {
                    putInt(out, (weekday(c) - fd + 7) % 7 + 1);
                }
                afterHour = false;
                break;
            }
            case 'h': {
                n = std::min<std::size_t>(runLength(p, i), 2);
                int h = c.hour;
                if (ampm) {
                    h = h % 12;
                    if (h == 0) {
                        h = 12;
                    }
                }
                if (n == 1) {
                    putInt(out, h);
                } else {
                    put2(out, h);
                }
                afterHour = true;
                break;
            }
            case 'n':
            case 's': {
                n = std::min<std::size_t>(runLength(p, i), 2);
                const int v = l == 'n' ? c.minute : c.second;
                if (n == 1) {
                    putInt(out, v);
                } else {
                    put2(out, v);
                }
                afterHour = false;
                break;
            }
            case 'c':
                out.append(generalDate(c));
                afterHour = false;
                break;
            case 't': {
                const std::size_t run = runLength(p, i);
                if (run >= 5) {
                    n = 5;
                    formatDateInto(c, "hh:nn:ss", 1, 1, out);
                    afterHour = false;
                } else {
                    out.push_back(ch);
                }
                break;
            }
            case 'a': {
                const bool pm = c.hour >= 12;
                if (istarts(p, i, "am/pm")) {
                    const bool up = ch == 'A';
                    out.append(pm ? (up ? "PM" : "pm") : (up ? "AM" : "am"));
                    n = 5;
                } else if (istarts(p, i, "a/p")) {
                    const bool up = ch == 'A';
                    out.push_back(pm ? (up ? 'P' : 'p') : (up ? 'A' : 'a'));
                    n = 3;
                } else if (istarts(p, i, "ampm")) {
                    out.append(pm ? "PM" : "AM");
                    n = 4;
                } else {
                    out.push_back(ch);
                }
                break;
            }
            default:
                n = charLen(p, i);
                out.append(p.substr(i, n));
                break;
        }
        i += n;
    }
}

}  // namespace

PatternKind patternKind(std::string_view p) {
    if (p.empty()) {
        return PatternKind::None;
    }
    std::string_view mapped;
    switch (namedFormat(p, mapped)) {
        case Named::None:
            break;
        case Named::GeneralDate:
        case Named::DatePattern:
            return PatternKind::Date;
        default:
            return PatternKind::Number;
    }
    bool digit = false;
    bool text = false;
    bool quoted = false;
    for (std::size_t i = 0; i < p.size(); ++i) {
        const char c = p[i];
        if (quoted) {
            quoted = c != '"';
            continue;
        }
        switch (lower(c)) {
            case '"':
                quoted = true;
                break;
            case '\\':
                ++i;
                break;
            case 'd':
            case 'm':
            case 'y':
            case 'q':
            case 'w':
            case 'h':
            case 'n':
            case 's':
            case 'c':
                return PatternKind::Date;
            case 't':
                if (runLength(p, i) >= 5) {
                    return PatternKind::Date;
                }
                break;
            case 'a':
                if (istarts(p, i, "am/pm") || istarts(p, i, "a/p") || istarts(p, i, "ampm")) {
                    return PatternKind::Date;
                }
                break;
            case '0':
            case '#':
                digit = true;
                break;
            case '@':
            case '&':
            case '<':
            case '>':
                text = true;
                break;
            default:
                break;
        }
    }
    if (digit) {
        return PatternKind::Number;
    }
    return text ? PatternKind::Text : PatternKind::Number;
}

bool formatNumberPattern(double v, bool isNull, std::string_view pattern, std::string& out) {
    std::string_view p = pattern;
    std::string_view mapped;
    switch (namedFormat(pattern, mapped)) {
        case Named::GeneralNumber:
        case Named::GeneralDate:
            if (isNull) {
                return false;
            }
            out.append(shortestNumber(v));
            return true;
        case Named::YesNo:
        case Named::TrueFalse:
        case Named::OnOff: {
            if (isNull) {
                return false;
            }
            std::string_view unused;
            const Named k = namedFormat(pattern, unused);
            const bool t = v != 0;
            out.append(k == Named::YesNo       ? (t ? "Oui" : "Non")
                       : k == Named::TrueFalse ? (t ? "Vrai" : "Faux")
                                               : (t ? "Actif" : "Inactif"));
            return true;
        }
        case Named::NumberPattern:
        case Named::DatePattern:
            p = mapped;
            break;
        case Named::None:
            break;
    }
    std::string_view sec[4];
    const int n = splitSections(p, sec);
    if (isNull) {
        if (n < 4) {
            return false;
        }
        formatSection(0.0, false, sec[3], out);
        return true;
    }
    if (std::isnan(v)) {
        return false;
    }
    std::string_view chosen = sec[0];
    bool minus = v < 0;
    if (v < 0 && n >= 2 && !sec[1].empty()) {
        chosen = sec[1];
        minus = false;
    } else if (v == 0 && n >= 3 && !sec[2].empty()) {
        chosen = sec[2];
    }
    if (chosen.empty()) {
        out.append(shortestNumber(v));
        return true;
    }
    formatSection(std::fabs(v), minus, chosen, out);
    return true;
}

std::string formatDatePattern(const Civil& c, std::string_view pattern, int firstDayOfWeek,
                              int firstWeekOfYear) {
    std::string out;
    std::string_view mapped;
    switch (namedFormat(pattern, mapped)) {
        case Named::None:
            if (pattern.empty()) {
                return generalDate(c);
            }
            formatDateInto(c, pattern, firstDayOfWeek, firstWeekOfYear, out);
            return out;
        case Named::DatePattern:
            formatDateInto(c, mapped, firstDayOfWeek, firstWeekOfYear, out);
            return out;
        default:
            return generalDate(c);
    }
}

std::string formatTextPattern(std::string_view text, std::string_view pattern) {
    std::string_view sec[4];
    const int ns = splitSections(pattern, sec);
    const std::string_view p = (text.empty() && ns >= 2) ? sec[1] : sec[0];

    // Tokens: placeholders '@' '&', flags '<' '>' '!', literals.
    struct Tok {
        char kind;  // '@', '&', 'L'
        std::string_view lit;
    };
    std::vector<Tok> toks;
    int caseMode = 0;
    bool leftToRight = false;
    for (std::size_t i = 0; i < p.size();) {
        const char c = p[i];
        if (c == '\\' && i + 1 < p.size()) {
            const std::size_t n = charLen(p, i + 1);
            toks.push_back({'L', p.substr(i + 1, n)});
            i += 1 + n;
        } else if (c == '"') {
            const std::size_t close = p.find('"', i + 1);
            const std::size_t end = close == std::string_view::npos ? p.size() : close;
            toks.push_back({'L', p.substr(i + 1, end - i - 1)});
            i = end + 1;
        } else if (c == '@' || c == '&') {
            toks.push_back({c, {}});
            ++i;
        } else if (c == '<' || c == '>') {
            caseMode = c == '<' ? -1 : 1;
            ++i;
        } else if (c == '!') {
            leftToRight = true;
            ++i;
        } else {
            const std::size_t n = charLen(p, i);
            toks.push_back({'L', p.substr(i, n)});
            i += n;
        }
    }
    std::string converted;
    if (caseMode != 0) {
        const QString q = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
        converted = (caseMode < 0 ? q.toLower() : q.toUpper()).toStdString();
        text = converted;
    }
    // The text's characters.
    std::vector<std::string_view> chars;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t n = charLen(text, i);
        chars.push_back(text.substr(i, n));
        i += n;
    }
    int np = 0;
    for (const Tok& t : toks) {
        np += t.kind != 'L' ? 1 : 0;
    }
    std::string out;
    const int L = static_cast<int>(chars.size());
    if (np == 0) {
        for (const Tok& t : toks) {
            out.append(t.lit);
        }
        out.append(text);
        return out;
    }
    int k = 0;
    for (const Tok& t : toks) {
        if (t.kind == 'L') {
            out.append(t.lit);
            continue;
        }
        int from = 0;
        int to = 0;
        if (leftToRight) {
            from = k;
            to = (k == np - 1) ? L : k + 1;
        } else {
            to = L - np + k + 1;
            from = (k == 0) ? 0 : to - 1;
        }
        from = std::max(from, 0);
        to = std::min(to, L);
        if (from < to) {
            for (int i = from; i < to; ++i) {
                out.append(chars[static_cast<std::size_t>(i)]);
            }
        } else if (t.kind == '@') {
            out.push_back(' ');
        }
        ++k;
    }
    return out;
}

}  // namespace detail

QString formatNumber(double value, const QString& pattern) {
    if (pattern.isEmpty()) {
        return QString::fromStdString(detail::shortestNumber(value));
    }
    const QByteArray p = pattern.toUtf8();
    const std::string_view pv(p.constData(), static_cast<std::size_t>(p.size()));
    switch (detail::patternKind(pv)) {
        case detail::PatternKind::Date: {
            detail::Civil c;
            if (!detail::civilFromSerial(value, c)) {
                return QString();
            }
            return QString::fromStdString(detail::formatDatePattern(c, pv));
        }
        case detail::PatternKind::Text:
            return QString::fromStdString(detail::formatTextPattern(detail::shortestNumber(value), pv));
        default: {
            std::string out;
            detail::formatNumberPattern(value, false, pv, out);
            return QString::fromStdString(out);
        }
    }
}

QString formatDate(const QDateTime& dt, const QString& pattern) {
    if (!dt.isValid()) {
        return QString();
    }
    detail::Civil c;
    c.year = dt.date().year();
    c.month = dt.date().month();
    c.day = dt.date().day();
    c.hour = dt.time().hour();
    c.minute = dt.time().minute();
    c.second = dt.time().second();
    if (pattern.isEmpty()) {
        return QString::fromStdString(detail::generalDate(c));
    }
    const QByteArray p = pattern.toUtf8();
    const std::string_view pv(p.constData(), static_cast<std::size_t>(p.size()));
    switch (detail::patternKind(pv)) {
        case detail::PatternKind::Number: {
            std::string out;
            detail::formatNumberPattern(detail::serialFromCivil(c), false, pv, out);
            return QString::fromStdString(out);
        }
        case detail::PatternKind::Text:
            return QString::fromStdString(detail::formatTextPattern(detail::generalDate(c), pv));
        default:
            return QString::fromStdString(detail::formatDatePattern(c, pv));
    }
}

}  // namespace vinorium::jet
