// Dates: Jet day numbers, the stored ISO text, and DateValue's reader.
// Pure arithmetic on broken-down dates (no QDateTime, no time zone) for the
// per-row SQL functions; the QDateTime functions of the header wrap these.

#include "data/engine/jetruntime.h"

#include <QDate>
#include <QTime>

#include <cmath>
#include <cstdio>
#include <ctime>

namespace vinorium::jet {
namespace detail {
namespace {

// Days from 1970-01-01 to 1899-12-30.
constexpr std::int64_t kEpochOffset = -25569;
// Jet's range: 0100-01-01 .. 9999-12-31.
constexpr std::int64_t kMinDay = -657434;
constexpr std::int64_t kMaxDay = 2958465;

int daysInMonth(int year, int month) {
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month == 2) {
        const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
        return leap ? 29 : 28;
    }
    return kDays[month - 1];
}

bool digits(std::string_view t, std::size_t pos, std::size_t n, int& out) {
    int v = 0;
    for (std::size_t i = pos; i < pos + n; ++i) {
        const char c = t[i];
        if (c < '0' || c > '9') {
            return false;
        }
        v = v * 10 + (c - '0');
    }
    out = v;
    return true;
}

void put2(std::string& out, int v) {
    out.push_back(static_cast<char>('0' + (v / 10) % 10));
    out.push_back(static_cast<char>('0' + v % 10));
}

void put4(std::string& out, int v) {
    out.push_back(static_cast<char>('0' + (v / 1000) % 10));
    out.push_back(static_cast<char>('0' + (v / 100) % 10));
    out.push_back(static_cast<char>('0' + (v / 10) % 10));
    out.push_back(static_cast<char>('0' + v % 10));
}

// --- DateValue's reader -----------------------------------------------------

struct DateToken {
    enum Kind { Num, Word, Time } kind;
    int value = 0;            // Num: the number; Word: month 1..12, 0 none, -1 weekday, -2 "er", -3 am, -4 pm
    int ndigits = 0;          // Num
    int h = 0, m = 0, s = 0;  // Time
};

// Lower-case ASCII letter of a letter, accents removed; 0 for a non-letter.
char baseLetter(char32_t c) {
    if (c < 0x80) {
        const char ch = static_cast<char>(c);
        if (ch >= 'a' && ch <= 'z') {
            return ch;
        }
        if (ch >= 'A' && ch <= 'Z') {
            return static_cast<char>(ch - 'A' + 'a');
        }
        return 0;
    }
    switch (foldCase(c)) {
        case 0xE0:
        case 0xE2:
        case 0xE4:
            return 'a';
        case 0xE7:
            return 'c';
        case 0xE8:
        case 0xE9:
        case 0xEA:
        case 0xEB:
            return 'e';
        case 0xEE:
        case 0xEF:
            return 'i';
        case 0xF4:
        case 0xF6:
            return 'o';
        case 0xF9:
        case 0xFB:
        case 0xFC:
            return 'u';
        case 0xFF:
            return 'y';
        default:
            return 0;
    }
}

int wordValue(std::string_view w) {
    struct Name {
        std::string_view text;
        int value;
    };
    static constexpr Name kNames[] = {
        {"janvier", 1},   {"janv", 1},      {"jan", 1},        {"january", 1},   {"fevrier", 2},
        {"fevr", 2},      {"fev", 2},       {"feb", 2},        {"february", 2},  {"mars", 3},
        {"mar", 3},       {"march", 3},     {"avril", 4},      {"avr", 4},       {"apr", 4},
        {"april", 4},     {"mai", 5},       {"may", 5},        {"juin", 6},      {"jun", 6},
        {"june", 6},      {"juillet", 7},   {"juil", 7},       {"jul", 7},       {"july", 7},
        {"aout", 8},      {"aou", 8},       {"aug", 8},        {"august", 8},    {"septembre", 9},
        {"sept", 9},      {"sep", 9},       {"september", 9},  {"octobre", 10},  {"oct", 10},
        {"october", 10},  {"novembre", 11}, {"nov", 11},       {"november", 11}, {"decembre", 12},
        {"dec", 12},      {"december", 12}, {"lundi", -1},     {"mardi", -1},    {"mercredi", -1},
        {"jeudi", -1},    {"vendredi", -1}, {"samedi", -1},    {"dimanche", -1}, {"lun", -1},
        {"mer", -1},      {"jeu", -1},      {"ven", -1},       {"sam", -1},      {"dim", -1},
        {"monday", -1},   {"tuesday", -1},  {"wednesday", -1}, {"thursday", -1}, {"friday", -1},
        {"saturday", -1}, {"sunday", -1},   {"mon", -1},       {"tue", -1},      {"wed", -1},
        {"thu", -1},      {"fri", -1},      {"sat", -1},       {"sun", -1},      {"er", -2},
        {"am", -3},       {"pm", -4},
    };
    for (const Name& n : kNames) {
        if (w == n.text) {
            return n.value;
        }
    }
    return 0;
}

// Splits a date text into numbers, words and times; false on anything else.
bool tokenize(std::string_view text, DateToken* tokens, int& count, int maxTokens) {
    count = 0;
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const unsigned char* end = p + text.size();
    while (p < end) {
        const unsigned char b = *p;
        if (b == ' ' || b == '\t' || b == '/' || b == '-' || b == '.' || b == ',') {
            ++p;
            continue;
        }
        if (count == maxTokens) {
            return false;
        }
        DateToken& t = tokens[count];
        if (b >= '0' && b <= '9') {
            int v = 0;
            int n = 0;
            while (p < end && *p >= '0' && *p <= '9') {
                if (n < 9) {
                    v = v * 10 + (*p - '0');
                }
                ++n;
                ++p;
            }
            if (p < end && *p == ':') {
                // A time: h:m[:s]
                int parts[3] = {v, 0, 0};
                int np = 1;
                while (p < end && *p == ':' && np < 3) {
                    ++p;
                    int w = 0;
                    int nd = 0;
                    while (p < end && *p >= '0' && *p <= '9' && nd < 3) {
                        w = w * 10 + (*p - '0');
                        ++nd;
                        ++p;
                    }
                    if (nd == 0) {
                        return false;
                    }
                    parts[np++] = w;
                }
                t.kind = DateToken::Time;
                t.h = parts[0];
                t.m = parts[1];
                t.s = parts[2];
            } else {
                t.kind = DateToken::Num;
                t.value = v;
                t.ndigits = n;
            }
            ++count;
            continue;
        }
        // A word.
        char word[16];
        int n = 0;
        while (p < end) {
            const unsigned char* q = p;
            const char32_t c = decodeUtf8(q, end);
            const char l = baseLetter(c);
            if (l == 0) {
                break;
            }
            if (n < 15) {
                word[n] = l;
            }
            ++n;
            p = q;
        }
        if (n == 0 || n > 15) {
            return false;
        }
        const int v = wordValue(std::string_view(word, static_cast<std::size_t>(n)));
        if (v == 0) {
            return false;
        }
        t.kind = DateToken::Word;
        t.value = v;
        ++count;
    }
    return true;
}

int currentYear() {
    const std::time_t now = std::time(nullptr);
    std::tm tm{};
    localtime_r(&now, &tm);
    return tm.tm_year + 1900;
}

int fullYear(const DateToken& t) {
    if (t.ndigits <= 2) {
        return t.value < 30 ? 2000 + t.value : 1900 + t.value;
    }
    return t.value;
}

}  // namespace

std::int64_t daysFromCivil(int year, int month, int day) {
    const std::int64_t y = static_cast<std::int64_t>(year) - (month <= 2 ? 1 : 0);
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yoe = y - era * 400;
    const std::int64_t doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468 - kEpochOffset;
}

void civilFromDays(std::int64_t days, int& year, int& month, int& day) {
    const std::int64_t z = days + kEpochOffset + 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const std::int64_t doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(yoe + era * 400 + (month <= 2 ? 1 : 0));
}

bool civilFromSerial(double serial, Civil& out) {
    if (!std::isfinite(serial) || serial < static_cast<double>(kMinDay - 1) ||
        serial > static_cast<double>(kMaxDay + 1)) {
        return false;
    }
    std::int64_t day = static_cast<std::int64_t>(std::trunc(serial));
    const double frac = std::fabs(serial - static_cast<double>(day));
    std::int64_t secs = std::llround(frac * 86400.0);
    if (secs >= 86400) {
        secs -= 86400;
        day += serial < 0 ? -1 : 1;
    }
    if (day < kMinDay || day > kMaxDay) {
        return false;
    }
    civilFromDays(day, out.year, out.month, out.day);
    out.hour = static_cast<int>(secs / 3600);
    out.minute = static_cast<int>(secs / 60 % 60);
    out.second = static_cast<int>(secs % 60);
    return true;
}

double serialFromCivil(const Civil& c) {
    const std::int64_t days = daysFromCivil(c.year, c.month, c.day);
    const double frac = (c.hour * 3600 + c.minute * 60 + c.second) / 86400.0;
    return days >= 0 ? static_cast<double>(days) + frac : static_cast<double>(days) - frac;
}

int weekday(const Civil& c) {
    // 1899-12-30 was a Saturday (7).
    const std::int64_t d = daysFromCivil(c.year, c.month, c.day);
    const std::int64_t r = ((d % 7) + 7 + 6) % 7;  // 0 = Sunday
    return static_cast<int>(r) + 1;
}

bool validCivil(const Civil& c) {
    return c.year >= 1 && c.year <= 9999 && c.month >= 1 && c.month <= 12 && c.day >= 1 &&
           c.day <= daysInMonth(c.year, c.month) && c.hour >= 0 && c.hour < 24 && c.minute >= 0 &&
           c.minute < 60 && c.second >= 0 && c.second < 60;
}

bool parseStoredDate(std::string_view t, Civil& out) {
    if (!mayBeStoredDate(t)) {
        return false;
    }
    Civil c;
    if (!digits(t, 0, 4, c.year) || !digits(t, 5, 2, c.month) || !digits(t, 8, 2, c.day)) {
        return false;
    }
    if (t.size() > 10) {
        if ((t[10] != ' ' && t[10] != 'T') || t[13] != ':' || !digits(t, 11, 2, c.hour) ||
            !digits(t, 14, 2, c.minute)) {
            return false;
        }
        if (t.size() == 19) {
            if (t[16] != ':' || !digits(t, 17, 2, c.second)) {
                return false;
            }
        } else if (t.size() != 16) {
            return false;
        }
    }
    if (!validCivil(c)) {
        return false;
    }
    out = c;
    return true;
}

std::string storedDateText(const Civil& c) {
    std::string out;
    out.reserve(19);
    put4(out, c.year);
    out.push_back('-');
    put2(out, c.month);
    out.push_back('-');
    put2(out, c.day);
    if (c.hour != 0 || c.minute != 0 || c.second != 0) {
        out.push_back(' ');
        put2(out, c.hour);
        out.push_back(':');
        put2(out, c.minute);
        out.push_back(':');
        put2(out, c.second);
    }
    return out;
}

std::string generalDate(const Civil& c) {
    std::string out;
    out.reserve(19);
    const bool hasTime = c.hour != 0 || c.minute != 0 || c.second != 0;
    const bool hasDate = !(c.year == 1899 && c.month == 12 && c.day == 30);
    if (hasDate || !hasTime) {
        put2(out, c.day);
        out.push_back('/');
        put2(out, c.month);
        out.push_back('/');
        put4(out, c.year);
    }
    if (hasTime) {
        if (!out.empty()) {
            out.push_back(' ');
        }
        put2(out, c.hour);
        out.push_back(':');
        put2(out, c.minute);
        out.push_back(':');
        put2(out, c.second);
    }
    return out;
}

bool parseDateText(std::string_view text, Civil& out) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
        text.remove_suffix(1);
    }
    if (parseStoredDate(text, out)) {
        return true;
    }
    if (text.empty() || text.size() > 64) {
        return false;
    }
    DateToken tokens[8];
    int count = 0;
    if (!tokenize(text, tokens, count, 8)) {
        return false;
    }
    // Drop a leading weekday, an "er" after the day, and take the time out.
    DateToken parts[8];
    int n = 0;
    Civil c;
    bool haveTime = false;
    int ampm = 0;
    for (int i = 0; i < count; ++i) {
        const DateToken& t = tokens[i];
        if (t.kind == DateToken::Word && t.value == -1) {
            if (n != 0) {
                return false;
            }
            continue;
        }
        if (t.kind == DateToken::Word && t.value == -2) {
            if (n == 0 || parts[n - 1].kind != DateToken::Num || parts[n - 1].value != 1) {
                return false;
            }
            continue;
        }
        if (t.kind == DateToken::Word && (t.value == -3 || t.value == -4)) {
            if (!haveTime || ampm != 0) {
                return false;
            }
            ampm = t.value;
            continue;
        }
        if (t.kind == DateToken::Time) {
            if (haveTime) {
                return false;
            }
            haveTime = true;
            c.hour = t.h;
            c.minute = t.m;
            c.second = t.s;
            continue;
        }
        parts[n++] = t;
    }
    if (ampm != 0) {
        if (c.hour < 1 || c.hour > 12) {
            return false;
        }
        c.hour = c.hour % 12 + (ampm == -4 ? 12 : 0);
    }
    auto isNum = [&](int i) { return parts[i].kind == DateToken::Num; };
    auto isMonth = [&](int i) { return parts[i].kind == DateToken::Word && parts[i].value > 0; };
    if (n == 0) {
        if (!haveTime) {
            return false;
        }
        // A time alone is a time of 1899-12-30.
    } else if (n == 3 && isNum(0) && isNum(1) && isNum(2)) {
        if (parts[0].ndigits >= 3) {  // y m d
            c.year = parts[0].value;
            c.month = parts[1].value;
            c.day = parts[2].value;
        } else {  // d m y, the French order
            c.day = parts[0].value;
            c.month = parts[1].value;
            c.year = fullYear(parts[2]);
        }
    } else if (n == 3 && isNum(0) && isMonth(1) && isNum(2)) {
        c.day = parts[0].value;
        c.month = parts[1].value;
        c.year = fullYear(parts[2]);
    } else if (n == 3 && isMonth(0) && isNum(1) && isNum(2)) {
        c.month = parts[0].value;
        c.day = parts[1].value;
        c.year = fullYear(parts[2]);
    } else if (n == 2 && isNum(0) && isNum(1)) {
        if (parts[1].ndigits >= 3 || parts[1].value > 31) {  // m y
            c.day = 1;
            c.month = parts[0].value;
            c.year = fullYear(parts[1]);
        } else {  // d m of this year
            c.day = parts[0].value;
            c.month = parts[1].value;
            c.year = currentYear();
        }
    } else if (n == 2 && isMonth(0) && isNum(1)) {
        if (parts[1].ndigits >= 3 || parts[1].value > 31) {  // "mars 2005": the 1st
            c.day = 1;
            c.month = parts[0].value;
            c.year = fullYear(parts[1]);
        } else {
            c.month = parts[0].value;
            c.day = parts[1].value;
            c.year = currentYear();
        }
    } else if (n == 2 && isNum(0) && isMonth(1)) {
        c.day = parts[0].value;
        c.month = parts[1].value;
        c.year = currentYear();
    } else {
        return false;
    }
    if (!validCivil(c) || c.year < 100) {
        return false;
    }
    out = c;
    return true;
}

}  // namespace detail

namespace {

detail::Civil civilOf(const QDateTime& dt) {
    detail::Civil c;
    const QDate d = dt.date();
    const QTime t = dt.time();
    c.year = d.year();
    c.month = d.month();
    c.day = d.day();
    c.hour = t.hour();
    c.minute = t.minute();
    c.second = t.second();
    return c;
}

QDateTime dateTimeOf(const detail::Civil& c) {
    return QDateTime(QDate(c.year, c.month, c.day), QTime(c.hour, c.minute, c.second));
}

}  // namespace

double dayNumber(const QDateTime& dt) {
    if (!dt.isValid()) {
        return std::nan("");
    }
    const detail::Civil c = civilOf(dt);
    const std::int64_t days = detail::daysFromCivil(c.year, c.month, c.day);
    const double frac = dt.time().msecsSinceStartOfDay() / 86400000.0;
    return days >= 0 ? static_cast<double>(days) + frac : static_cast<double>(days) - frac;
}

QDateTime fromDayNumber(double day) {
    detail::Civil c;
    if (!detail::civilFromSerial(day, c)) {
        return QDateTime();
    }
    return dateTimeOf(c);
}

std::optional<QDateTime> parseStoredDate(const QString& text) {
    const QByteArray u = text.toUtf8();
    detail::Civil c;
    if (!detail::parseStoredDate(std::string_view(u.constData(), static_cast<std::size_t>(u.size())), c)) {
        return std::nullopt;
    }
    return dateTimeOf(c);
}

QString storedDateText(const QDateTime& dt) {
    if (!dt.isValid()) {
        return QString();
    }
    return QString::fromStdString(detail::storedDateText(civilOf(dt)));
}

std::optional<QDateTime> dateValue(const QString& text) {
    const QByteArray u = text.toUtf8();
    detail::Civil c;
    if (!detail::parseDateText(std::string_view(u.constData(), static_cast<std::size_t>(u.size())), c)) {
        return std::nullopt;
    }
    c.hour = c.minute = c.second = 0;
    return dateTimeOf(c);
}

}  // namespace vinorium::jet
