#pragma once

// Jet semantics as SQLite functions and a collation: the run-time half of the
// cellar engine. The translator (jetsql) turns Jet-dialect SQL into SQLite SQL
// that calls these; everything here is also callable from C++ for tests and
// for the query object's field conversions.
//
// Storage conventions of the engine (decided once, here):
//   - dates are stored as ISO text, "yyyy-mm-dd" or "yyyy-mm-dd hh:mm:ss";
//     Jet day numbers (days since 1899-12-30, fraction = time of day) convert
//     to and from that text; every date text this runtime produces is in that
//     canonical form (the time only when it is not midnight), so that equal
//     dates are equal texts and ISO texts order chronologically;
//   - yes/no values are integers -1 and 0;
//   - text columns and text comparisons use the collation "JET":
//     case-insensitive, French alphabetical order (accented letters sort with
//     their base letter), accent-sensitive equality.
//
// SQL functions registered by registerJetRuntime (names as the translator emits them):
//   jet_format(v [, pattern [, firstdayofweek [, firstweekofyear]]])
//                              Format() in the French locale. Null -> Null (the
//                              4th section of a number pattern excepted);
//                              no pattern: a number is its shortest text with a
//                              decimal comma, a stored date text its short date
//                              ("dd/mm/yyyy", with " hh:nn:ss" when it has a time),
//                              any other text itself. The pattern kind is read from
//                              its characters: date tokens (d m y q w h n s c ttttt
//                              AM/PM) make a date pattern, a number where a date
//                              pattern is used being a day number and a text being
//                              read as a date; otherwise a number pattern (0 # . , %
//                              E+ ; sections), a numeric text being read as its number;
//                              a value that does not convert is returned as its text.
//   jet_datevalue(x)           DateValue(): date text -> ISO date text (time dropped);
//                              reads ISO text, d/m/yyyy, d/m/yy, d/m (current year),
//                              "1 mars 2005", "1er mars 2005", "1 janv. 2005", "mars 2005"
//                              (the 1st), month names French or English, with or without
//                              accents; a number is a day number. Null -> Null; a text
//                              that is no date -> SQL error "Type incompatible".
//   jet_now()                  Now(): local date-time, ISO text (canonical form)
//   jet_val(x)                 Val(): leading number of a text as VBA reads it (blanks
//                              skipped anywhere, only the point as decimal separator,
//                              E/D exponent, &H/&O prefixes), 0 when none. A number is
//                              returned unchanged; Null -> Null.
//   jet_int(x)                 Int(): floor, also of a numeric text; a stored date text
//                              gives its date without time. Null -> Null; other text ->
//                              SQL error "Type incompatible".
//   jet_num(x)                 a text that reads as a number (decimal comma or
//                              point) becomes that number; anything else is returned unchanged
//   jet_add(a, b)              "+": texts concatenate, Null gives Null, numbers
//                              (and numeric texts with a number) add; a stored date
//                              text and a number: the date moved by that many days.
//                              A number and a non-numeric text -> "Type incompatible".
//   jet_sub/jet_mul/jet_div(a, b), jet_neg(a)  arithmetic over jet_num'd operands, Null -> Null
//                              (date - date = days, date - number = date;
//                              division by zero -> SQL error "Division par zéro")
//   jet_idiv(a, b)             "\": integer division, truncated toward zero (operands
//                              first rounded to integers, half to even, as Jet does)
//   jet_mod(a, b), jet_pow(a, b)
//                              Mod: operands rounded as for "\", the sign of the dividend;
//                              "^": pow ("Argument ou appel de procédure incorrect" for a
//                              negative base with a fractional exponent)
//                              Numeric results: an integer (sqlite3 INTEGER) whenever the
//                              value is an exact integer (|x| <= 2^53), a REAL otherwise.
//   jet_concat(a, b, ...)      "&": Null as empty text, numbers as Format writes them,
//                              a stored date text as its short date (any number of
//                              arguments, at least one; the result is never Null)
//   jet_like(text, pattern)    LIKE with * ? # [..] [!..], case-insensitive; Null -> Null.
//                              Returns 1 or 0, as SQLite's own LIKE (a drop-in for it).
//                              A number is matched as its Format text.
//   jet_bool(x)                a stored yes/no: any non-zero number -> -1, zero -> 0, Null -> Null
//                              (numeric texts as numbers; "True"/"Vrai" -> -1, "False"/"Faux" -> 0)
//   jet_cmp(a, b)              three-way compare with Jet rules (numeric texts as
//                              numbers against numbers, text with the JET collation); Null -> Null
//                              Returns -1, 0 or 1. A number against a stored date text
//                              compares day numbers; a number against any other text
//                              -> SQL error "Type incompatible".
//
// Errors are SQL errors (sqlite3_result_error) with French messages:
// "Type incompatible", "Division par zéro", "Dépassement de capacité",
// "Argument ou appel de procédure incorrect".

#include <QDateTime>
#include <QString>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

struct sqlite3;

namespace vinorium::jet {

// Registers every function above and the JET collation on a connection.
// Returns SQLITE_OK or the SQLite error code.
int registerJetRuntime(sqlite3* db);

// The JET collation as a C++ comparison (<0, 0, >0) of two UTF-8 texts.
// Order: primary key = the base letters with case and accents removed (œ, æ,
// ß, ĳ as two letters; blanks, punctuation and digits before letters, in
// ASCII order); then secondary key = the accents, compared from the left
// (plain < acute < grave < circumflex < diaeresis < cedilla < others), so
// "e" < "é" but "Rouge" = "rouge". Two texts compare equal exactly when they
// are the same text once case-folded. Characters beyond Latin Extended-A sort
// after the Latin letters by code point (case-folded); invalid UTF-8 bytes
// sort after everything, byte by byte. Hyphens and apostrophes count as
// punctuation (Windows' "word sort" would ignore them); texts are taken as
// they are, without Unicode normalization (NFC is what the programs store).
int collate(const char* a, int lenA, const char* b, int lenB);
int collate(const QString& a, const QString& b);

// Day numbers. dayNumber reads the wall-clock date and time of dt (no time
// zone conversion); fromDayNumber returns a local QDateTime, invalid when the
// day number is out of Jet's range (years 100 to 9999) or not finite.
// A negative day number is, as in Jet, the day of its integer part (truncated
// toward zero) plus the absolute value of its fraction as the time of day:
// -1.25 is 1899-12-29 06:00. dayNumber of an invalid QDateTime is NaN.
double dayNumber(const QDateTime& dt);
QDateTime fromDayNumber(double day);

// Stored date text <-> date-time. parseStoredDate accepts "yyyy-mm-dd" and
// "yyyy-mm-dd hh:mm:ss"; storedDateText writes the time only when it is not midnight.
std::optional<QDateTime> parseStoredDate(const QString& text);
QString storedDateText(const QDateTime& dt);

// A text that reads as a number, with a decimal comma or point (blanks around
// allowed, an optional sign and an optional exponent "e+3"): "7,50" -> 7.5.
std::optional<double> numericText(const QString& text);

// Format(value, pattern) for a number, and for a date; formatNumber without
// pattern gives the shortest text with a decimal comma (15 significant digits,
// as VBA: 0.1 + 0.2 gives "0,3"). Number patterns write the thousands
// separator as U+00A0 (no-break space). A pattern of the other kind works
// as jet_format does: a number with a date pattern is a day number, a date
// with a number pattern its day number.
QString formatNumber(double value, const QString& pattern = QString());
QString formatDate(const QDateTime& dt, const QString& pattern = QString());

// DateValue(): the short date format (dd/MM/yyyy) and texts like "1 mars 2005"
// (everything jet_datevalue reads); the result is at midnight.
std::optional<QDateTime> dateValue(const QString& text);

// Jet LIKE: * ? # [abc] [!abc] [a-z], case-insensitive.
bool like(const QString& text, const QString& pattern);

// Val(): the leading number of a text, VBA rules (see jet_val above).
double val(const QString& text);

// ---------------------------------------------------------------------------
// Building blocks shared by the jetruntime*.cpp files. UTF-8 in and out, no
// Qt types, no allocation unless a text is returned. Not meant for callers
// outside the engine, but stable enough for the query object.
namespace detail {

// A broken-down date-time (proleptic Gregorian, wall clock).
struct Civil {
    int year = 1899, month = 12, day = 30;
    int hour = 0, minute = 0, second = 0;
};

// Days from 1899-12-30 to the given date (negative before it).
std::int64_t daysFromCivil(int year, int month, int day);
void civilFromDays(std::int64_t days, int& year, int& month, int& day);
// Day number <-> Civil (seconds rounded). civilFromSerial returns false when
// the value is not finite or outside years 100..9999.
bool civilFromSerial(double serial, Civil& out);
double serialFromCivil(const Civil& c);
// 1 = Sunday ... 7 = Saturday.
int weekday(const Civil& c);
bool validCivil(const Civil& c);

// "yyyy-mm-dd" or "yyyy-mm-dd hh:mm:ss" (also "yyyy-mm-ddThh:mm[:ss]" and
// "yyyy-mm-dd hh:mm"); exactly that, no blanks around.
bool parseStoredDate(std::string_view text, Civil& out);
// Quick test whether a text can be a stored date (length and dashes), before parsing.
inline bool mayBeStoredDate(std::string_view t) {
    return (t.size() == 10 || t.size() >= 16) && t.size() <= 19 && t[4] == '-' && t[7] == '-';
}
// Canonical stored text: the time only when it is not midnight.
std::string storedDateText(const Civil& c);
// DateValue's reader; keeps the time when the text gives one.
bool parseDateText(std::string_view text, Civil& out);
// Short date "dd/mm/yyyy", with " hh:nn:ss" when there is a time; a pure time
// (day 1899-12-30 with a time) gives only the time.
std::string generalDate(const Civil& c);

// Numbers read from text.
struct Number {
    bool isInt = false;
    std::int64_t i = 0;
    double d = 0.0;
    double value() const { return isInt ? static_cast<double>(i) : d; }
};
// Text that reads as a number: blanks, optional sign, digits with at most one
// decimal comma or point, optional exponent, blanks. Integers without
// separator or exponent that fit 64 bits are isInt.
bool parseNumericText(std::string_view text, Number& out);
// VBA Val().
double parseVal(std::string_view text);

// Shortest text of a number as Format writes it (15 significant digits,
// decimal comma, "E+nn" for large or small magnitudes).
std::string shortestNumber(double v);
std::string integerText(std::int64_t v);

// Pattern kinds, decided by the pattern's characters.
enum class PatternKind { None, Number, Date, Text };
PatternKind patternKind(std::string_view pattern);
// Named formats ("Fixed", "Short Date", ...) are resolved by these too.
// formatNumberPattern: isNull selects the 4th section (returns false when the
// pattern has none: the result is then Null).
bool formatNumberPattern(double v, bool isNull, std::string_view pattern, std::string& out);
std::string formatDatePattern(const Civil& c, std::string_view pattern, int firstDayOfWeek = 1,
                              int firstWeekOfYear = 1);
std::string formatTextPattern(std::string_view text, std::string_view pattern);

// Case folding of one code point (simple folding, as QChar::toCaseFolded).
char32_t foldCase(char32_t c);
// Decodes one UTF-8 code point at p (p < end), advancing p; an invalid byte
// gives 0x110000 + that byte and advances by one.
char32_t decodeUtf8(const unsigned char*& p, const unsigned char* end);
void appendUtf8(std::string& out, char32_t c);

// LIKE over UTF-8 texts; the compiled form is what jet_like caches per statement.
class LikePattern {
  public:
    explicit LikePattern(std::string_view pattern);
    bool matches(std::string_view text) const;

    struct Token {
        enum Kind : std::uint8_t { Literal, AnyOne, Digit, AnyRun, Class };
        Kind kind = Literal;
        bool negate = false;      // [!...]
        char32_t c = 0;           // Literal: the case-folded code point
        std::uint32_t first = 0;  // Class: ranges_[first, first + count)
        std::uint32_t count = 0;
    };

  private:
    bool tokenMatches(const Token& t, char32_t folded) const;
    std::vector<Token> tokens_;
    std::vector<std::pair<char32_t, char32_t>> ranges_;  // case-folded, inclusive
};

}  // namespace detail
}  // namespace vinorium::jet
