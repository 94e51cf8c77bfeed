// The Jet runtime: SQL functions and the JET collation, run on an in-memory
// SQLite connection. Table-driven: each row is an SQL expression and the text
// SQLite gives for its value ("NULL" for Null, "ERR:" + message for an error).

#include "data/engine/jetruntime.h"

#include <QChar>
#include <QDate>
#include <QDateTime>
#include <QTime>

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

namespace vinorium::jet {
namespace {

const std::string kNbsp = "\xC2\xA0";

class JetRuntime : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(sqlite3_open(":memory:", &db_), SQLITE_OK);
        ASSERT_EQ(registerJetRuntime(db_), SQLITE_OK);
    }
    void TearDown() override { sqlite3_close(db_); }

    // The value of one expression as text; "NULL", or "ERR:" + message.
    std::string eval(const std::string& expr) { return scalar("SELECT " + expr); }

    std::string scalar(const std::string& sql) {
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &st, nullptr) != SQLITE_OK) {
            return "PREPARE:" + std::string(sqlite3_errmsg(db_));
        }
        std::string out;
        const int rc = sqlite3_step(st);
        if (rc == SQLITE_ROW) {
            if (sqlite3_column_type(st, 0) == SQLITE_NULL) {
                out = "NULL";
            } else {
                out = reinterpret_cast<const char*>(sqlite3_column_text(st, 0));
            }
        } else if (rc == SQLITE_DONE) {
            out = "NOROW";
        } else {
            out = "ERR:" + std::string(sqlite3_errmsg(db_));
        }
        sqlite3_finalize(st);
        return out;
    }

    std::vector<std::string> column(const std::string& sql) {
        std::vector<std::string> out;
        sqlite3_stmt* st = nullptr;
        EXPECT_EQ(sqlite3_prepare_v2(db_, sql.c_str(), -1, &st, nullptr), SQLITE_OK) << sqlite3_errmsg(db_);
        while (st && sqlite3_step(st) == SQLITE_ROW) {
            const auto* t = sqlite3_column_text(st, 0);
            out.emplace_back(t ? reinterpret_cast<const char*>(t) : "NULL");
        }
        sqlite3_finalize(st);
        return out;
    }

    void exec(const std::string& sql) {
        char* err = nullptr;
        ASSERT_EQ(sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &err), SQLITE_OK) << (err ? err : "");
    }

    struct Case {
        const char* expr;
        std::string expected;
    };
    void check(const std::vector<Case>& cases) {
        for (const Case& c : cases) {
            EXPECT_EQ(eval(c.expr), c.expected) << "SELECT " << c.expr;
        }
    }

    sqlite3* db_ = nullptr;
};

// --- Format -------------------------------------------------------------------------

TEST_F(JetRuntime, FormatNumberPatternsOfTheIssue) {
    check({
        {"jet_format(12.5, '#.00')", "12,50"},
        {"jet_format(0.5, '#.00')", ",50"},
        {"jet_format(5, '00')", "05"},
        {"jet_format(125, '00')", "125"},
        {"jet_format(0, '##')", ""},
        {"jet_format(1234.56, '##')", "1235"},
        {"jet_format(12.5)", "12,5"},
        {"jet_format(15)", "15"},
        {"jet_format(15.0)", "15"},
        {"jet_format(jet_mul('7,50', 2))", "15"},
        {"jet_format(-3)", "-3"},
        {"jet_format(0.1 + 0.2)", "0,3"},
        {"jet_format(2005)", "2005"},
    });
}

TEST_F(JetRuntime, FormatNumberPatternsMore) {
    check({
        {"jet_format(-12.5, '#.00')", "-12,50"},
        {"jet_format(7.5, '#.00')", "7,50"},
        {"jet_format(0.75 * 10, '#.00')", "7,50"},
        {"jet_format(2.5, '0')", "3"},
        {"jet_format(-2.5, '0')", "-3"},
        {"jet_format(-0.4, '0')", "0"},
        {"jet_format(1.005, '0.00')", "1,01"},
        {"jet_format(5, '#.##')", "5,"},
        {"jet_format(5.25, '0.0#')", "5,25"},
        {"jet_format(5.2, '0.0#')", "5,2"},
        {"jet_format(12.5, '.00')", "12,50"},
        {"jet_format(7, '000')", "007"},
        {"jet_format(9.99, '00')", "10"},
        {"jet_format(1234567.891, '#,##0.00')", "1" + kNbsp + "234" + kNbsp + "567,89"},
        {"jet_format(999, '#,##0')", "999"},
        {"jet_format(1234567, '#,##0,')", "1" + kNbsp + "235"},
        {"jet_format(0.256, '0.0%')", "25,6%"},
        {"jet_format(1234.5, '0.00E+00')", "1,23E+03"},
        {"jet_format(0.000123, '0.0E-0')", "1,2E-4"},
        {"jet_format(-5, '0;(0)')", "(5)"},
        {"jet_format(0, '0;-0;\"zéro\"')", "zéro"},
        {"jet_format(NULL, '0;-0;0;\"vide\"')", "vide"},
        {"jet_format(12, '0\" €\"')", "12 €"},
        {"jet_format(12, '0 €')", "12 €"},
        {"jet_format(12, '\\#0')", "#12"},
        {"jet_format('12,50', '00')", "13"},
        {"jet_format('7,5', '#.00')", "7,50"},
        {"jet_format('abc', '00')", "abc"},
        {"jet_format('1899-12-31', '0')", "1"},
        {"jet_format(1234.5, 'Standard')", "1" + kNbsp + "234,50"},
        {"jet_format(1234.5, 'Fixed')", "1234,50"},
        {"jet_format(0.5, 'Percent')", "50,00%"},
        {"jet_format(-1, 'Yes/No')", "Oui"},
        {"jet_format(0, 'True/False')", "Faux"},
        {"jet_format(1234.5, 'General Number')", "1234,5"},
        {"jet_format(1234.5, 'Currency')", "1" + kNbsp + "234,50 €"},
        {"jet_format(1e20)", "1E+20"},
        {"jet_format(123456789012345)", "123456789012345"},
    });
}

TEST_F(JetRuntime, FormatNullAndTexts) {
    check({
        {"jet_format(NULL)", "NULL"},
        {"jet_format(NULL, '00')", "NULL"},
        {"jet_format(NULL, 'yyyy')", "NULL"},
        {"jet_format('')", ""},
        {"jet_format('abc')", "abc"},
        {"jet_format('7,50')", "7,50"},
        {"jet_format('2005-03-01')", "01/03/2005"},
        {"jet_format('2005-03-01 10:05:00')", "01/03/2005 10:05:00"},
        {"jet_format('abc', '>')", "ABC"},
        {"jet_format('ÉtÉ', '<')", "été"},
        {"jet_format('été', '>')", "ÉTÉ"},
        {"jet_format('abc', '@@@@@')", "  abc"},
        {"jet_format('abc', '!@@@@@')", "abc  "},
        {"jet_format('0612345678', '@@ @@ @@ @@ @@')", "06 12 34 56 78"},
        {"jet_format(12.5, '')", "12,5"},
        {"jet_format(12.5, NULL)", "12,5"},
    });
}

TEST_F(JetRuntime, FormatDatePatternsOfTheIssue) {
    check({
        {"jet_format('2005-02-14', 'yyyy')", "2005"},
        {"jet_format('2005-02-14', 'yy')", "05"},
        {"jet_format('2005-02-14', 'mm')", "02"},
        {"jet_format('2005-02-14', 'dd')", "14"},
        {"jet_format('2005-03-01', 'dd')", "01"},
        {"jet_format('2005-03-01', 'd')", "1"},
        {"jet_format('2005-03-01', 'm')", "3"},
        {"jet_format('2005-02-14', 'mmm')", "févr."},
        {"jet_format('2005-02-14', 'mmmm')", "février"},
        {"jet_format('2005-02-14', 'q')", "1"},
        {"jet_format('2005-08-14', 'q')", "3"},
        {"jet_format('2005-02-12', 'ww')", "07"},
        {"jet_format('2005-02-13', 'ww')", "08"},
        {"jet_format('2005-01-01', 'ww')", "01"},
        {"jet_format('2005-01-02', 'ww')", "02"},
        {"jet_format('2005-12-31', 'ww')", "53"},
        {"jet_format('2006-01-01', 'ww')", "01"},
        {"jet_format('2005-01-15', '1 mmm yyyy')", "1 janv. 2005"},
        {"jet_format('2005-01-15', 'q\\er')", "1er"},
        {"jet_format('2005-05-15', 'qè\\m\\e')", "2ème"},
        {"jet_format('2005-12-15', 'qè\\m\\e')", "4ème"},
        {"jet_format('2005-03-20', 'mmm yy')", "mars 05"},
        {"jet_format('2005-03-20', 'mm yyyy')", "03 2005"},
        {"jet_format('2005-03-20', 'mmmm') || jet_format('2005-03-20', 'yyyy')", "mars2005"},
        {"jet_format(38442, 'mmm yyyy')", "mars 2005"},
        {"jet_format(38442.75, 'mmm yyyy')", "mars 2005"},
        {"jet_format('38442', 'mmm yyyy')", "mars 2005"},
        {"jet_format('31/03/2005', 'yyyy-mm-dd')", "2005-03-31"},
        {"jet_format('1 mars 2005', 'dd/mm/yyyy')", "01/03/2005"},
        {"jet_format('abc', 'yyyy')", "abc"},
        {"'Semaine ' || jet_format('2005-02-12', 'ww') || ' de ' || jet_format('2005-02-12', 'yyyy')",
         "Semaine 07 de 2005"},
    });
}

TEST_F(JetRuntime, FormatAllMonthNames) {
    const char* shortNames[12] = {"janv.", "févr.", "mars",  "avr.", "mai",  "juin",
                                  "juil.", "août",  "sept.", "oct.", "nov.", "déc."};
    const char* longNames[12] = {"janvier", "février", "mars",      "avril",   "mai",      "juin",
                                 "juillet", "août",    "septembre", "octobre", "novembre", "décembre"};
    for (int m = 1; m <= 12; ++m) {
        char date[16];
        std::snprintf(date, sizeof date, "2005-%02d-10", m);
        EXPECT_EQ(eval(std::string("jet_format('") + date + "', 'mmm')"), shortNames[m - 1]);
        EXPECT_EQ(eval(std::string("jet_format('") + date + "', 'mmmm')"), longNames[m - 1]);
        EXPECT_EQ(eval(std::string("jet_format('") + date + "', 'q')"), std::to_string((m - 1) / 3 + 1));
        // DateValue reads back what Format writes for the consumption chart.
        char month[16];
        std::snprintf(month, sizeof month, "2005-%02d-01", m);
        EXPECT_EQ(eval(std::string("jet_datevalue(jet_format('") + date + "', '1 mmm yyyy'))"), month);
        EXPECT_EQ(eval(std::string("jet_datevalue(jet_format('") + date + "', 'mmmm yyyy'))"), month);
    }
}

TEST_F(JetRuntime, FormatTimesAndOtherDateTokens) {
    check({
        {"jet_format('2005-03-01 08:05:09', 'hh:nn:ss')", "08:05:09"},
        {"jet_format('2005-03-01 08:05:09', 'h:n:s')", "8:5:9"},
        {"jet_format('2005-03-01 08:05:09', 'hh:mm')", "08:05"},
        {"jet_format('2005-03-01 14:05:09', 'h:nn AM/PM')", "2:05 PM"},
        {"jet_format('2005-03-01 00:05:09', 'h:nn am/pm')", "12:05 am"},
        {"jet_format('2005-03-01 14:05:09', 'ttttt')", "14:05:09"},
        {"jet_format('2005-03-01', 'dddd d mmmm yyyy')", "mardi 1 mars 2005"},
        {"jet_format('2005-03-01', 'ddd')", "mar."},
        {"jet_format('2005-03-01', 'ddddd')", "01/03/2005"},
        {"jet_format('2005-03-01', 'dddddd')", "mardi 1 mars 2005"},
        {"jet_format('2005-03-01', 'Long Date')", "mardi 1 mars 2005"},
        {"jet_format('2005-03-01', 'Short Date')", "01/03/2005"},
        {"jet_format('2005-03-01 10:00:00', 'General Date')", "01/03/2005 10:00:00"},
        {"jet_format('2005-03-01', 'w')", "3"},
        {"jet_format('2005-03-01', 'y')", "60"},
        {"jet_format('2005-03-01', 'YYYY-MM-DD')", "2005-03-01"},
        {"jet_format('2005-03-01', '\"le\" d')", "le 1"},
        {"jet_format('2005-03-01', 'c')", "01/03/2005"},
        {"jet_format(0.5, 'hh:nn')", "12:00"},
        {"jet_format('2005-03-01', 'ww', 2, 2)", "09"},
    });
}

// --- Day numbers -----------------------------------------------------------------------

TEST_F(JetRuntime, DayNumbersBothWays) {
    check({
        {"jet_format('1899-12-30', '0')", "0"},
        {"jet_format('1900-01-01', '0')", "2"},
        {"jet_format('2005-03-01', '0')", "38412"},
        {"jet_format('2005-03-01 12:00:00', '0.00')", "38412,50"},
        {"jet_format('1899-12-29 06:00:00', '0.00')", "-1,25"},
        {"jet_format(2, 'yyyy-mm-dd')", "1900-01-01"},
        {"jet_format(38412, 'yyyy-mm-dd')", "2005-03-01"},
        {"jet_format(38412.5, 'yyyy-mm-dd hh:nn:ss')", "2005-03-01 12:00:00"},
        {"jet_format(-1.25, 'yyyy-mm-dd hh:nn')", "1899-12-29 06:00"},
        {"jet_format(-366, 'yyyy-mm-dd')", "1898-12-29"},
        {"jet_datevalue(38412)", "2005-03-01"},
        {"jet_datevalue(38412.9)", "2005-03-01"},
        {"jet_format(1e10, 'yyyy')", "ERR:Dépassement de capacité"},
    });
}

TEST(JetDayNumbers, CppConversions) {
    const QDateTime d(QDate(2005, 3, 1), QTime(0, 0));
    EXPECT_DOUBLE_EQ(dayNumber(d), 38412.0);
    EXPECT_DOUBLE_EQ(dayNumber(QDateTime(QDate(2005, 3, 1), QTime(18, 0))), 38412.75);
    EXPECT_DOUBLE_EQ(dayNumber(QDateTime(QDate(1899, 12, 30), QTime(0, 0))), 0.0);
    EXPECT_DOUBLE_EQ(dayNumber(QDateTime(QDate(1899, 12, 29), QTime(6, 0))), -1.25);
    EXPECT_EQ(fromDayNumber(38412.75), QDateTime(QDate(2005, 3, 1), QTime(18, 0)));
    EXPECT_EQ(fromDayNumber(-1.25), QDateTime(QDate(1899, 12, 29), QTime(6, 0)));
    EXPECT_EQ(fromDayNumber(-0.5), QDateTime(QDate(1899, 12, 30), QTime(12, 0)));
    EXPECT_EQ(fromDayNumber(1.9999999999), QDateTime(QDate(1900, 1, 1), QTime(0, 0)));
    EXPECT_FALSE(fromDayNumber(1e12).isValid());
    EXPECT_FALSE(fromDayNumber(std::nan("")).isValid());
    // Every day of a long span round-trips, positive and negative.
    for (int day = -800000; day <= 2958465; day += 997) {
        const double serial = day >= 0 ? day + 0.25 : day - 0.25;
        const QDateTime dt = fromDayNumber(serial);
        if (day < -657434) {
            EXPECT_FALSE(dt.isValid());
            continue;
        }
        ASSERT_TRUE(dt.isValid()) << day;
        EXPECT_EQ(dt.time(), QTime(6, 0)) << day;
        EXPECT_DOUBLE_EQ(dayNumber(dt), serial) << day;
        EXPECT_EQ(QDate(1899, 12, 30).daysTo(dt.date()), day);
    }
}

TEST(JetDates, StoredTextAndDateValue) {
    EXPECT_EQ(parseStoredDate("2005-03-01"), QDateTime(QDate(2005, 3, 1), QTime(0, 0)));
    EXPECT_EQ(parseStoredDate("2005-03-01 10:20:30"), QDateTime(QDate(2005, 3, 1), QTime(10, 20, 30)));
    EXPECT_FALSE(parseStoredDate("2005-02-30").has_value());
    EXPECT_FALSE(parseStoredDate("01/03/2005").has_value());
    EXPECT_FALSE(parseStoredDate(" 2005-03-01").has_value());
    EXPECT_EQ(storedDateText(QDateTime(QDate(2005, 3, 1), QTime(0, 0))), "2005-03-01");
    EXPECT_EQ(storedDateText(QDateTime(QDate(2005, 3, 1), QTime(7, 8, 9))), "2005-03-01 07:08:09");
    EXPECT_EQ(dateValue("1 mars 2005"), QDateTime(QDate(2005, 3, 1), QTime(0, 0)));
    EXPECT_EQ(dateValue("01/03/2005 10:00"), QDateTime(QDate(2005, 3, 1), QTime(0, 0)));
    EXPECT_FALSE(dateValue("n'importe quoi").has_value());
    EXPECT_EQ(formatDate(QDateTime(QDate(2005, 3, 1), QTime(0, 0))), "01/03/2005");
    EXPECT_EQ(formatDate(QDateTime(QDate(2005, 3, 1), QTime(0, 0)), "mmm yyyy"), "mars 2005");
    EXPECT_EQ(formatDate(QDateTime(QDate(2005, 3, 1), QTime(0, 0)), "0"), "38412");
    EXPECT_EQ(formatNumber(12.5, "#.00"), "12,50");
    EXPECT_EQ(formatNumber(12.5), "12,5");
    EXPECT_EQ(formatNumber(38442, "mmm yyyy"), "mars 2005");
}

TEST_F(JetRuntime, DateValue) {
    const std::string year = std::to_string(QDate::currentDate().year());
    check({
        {"jet_datevalue('1/3/2005')", "2005-03-01"},
        {"jet_datevalue('01/03/2005')", "2005-03-01"},
        {"jet_datevalue('01/03/05')", "2005-03-01"},
        {"jet_datevalue('1/3/99')", "1999-03-01"},
        {"jet_datevalue('1-3-2005')", "2005-03-01"},
        {"jet_datevalue('1.3.2005')", "2005-03-01"},
        {"jet_datevalue('  1/3/2005  ')", "2005-03-01"},
        {"jet_datevalue('01/03/2005 10:30:00')", "2005-03-01"},
        {"jet_datevalue('2005-03-01')", "2005-03-01"},
        {"jet_datevalue('2005-03-01 10:30:00')", "2005-03-01"},
        {"jet_datevalue('2005/3/1')", "2005-03-01"},
        {"jet_datevalue('1 mars 2005')", "2005-03-01"},
        {"jet_datevalue('1er mars 2005')", "2005-03-01"},
        {"jet_datevalue('1 janv. 2005')", "2005-01-01"},
        {"jet_datevalue('15 Février 2005')", "2005-02-15"},
        {"jet_datevalue('15 fevrier 2005')", "2005-02-15"},
        {"jet_datevalue('1 AOÛT 2005')", "2005-08-01"},
        {"jet_datevalue('mars 2005')", "2005-03-01"},
        {"jet_datevalue('déc. 2005')", "2005-12-01"},
        {"jet_datevalue('mardi 1 mars 2005')", "2005-03-01"},
        {"jet_datevalue('1 March 2005')", "2005-03-01"},
        {"jet_datevalue('March 1, 2005')", "2005-03-01"},
        {"jet_datevalue('1-mars-05')", "2005-03-01"},
        {"jet_datevalue(NULL)", "NULL"},
        {"jet_datevalue('31/02/2005')", "ERR:Type incompatible"},
        {"jet_datevalue('abc')", "ERR:Type incompatible"},
        {"jet_datevalue('')", "ERR:Type incompatible"},
        {"jet_datevalue('1 mars 2005 abc')", "ERR:Type incompatible"},
    });
    EXPECT_EQ(eval("jet_datevalue('1/3')"), year + "-03-01");
}

TEST_F(JetRuntime, Now) {
    const std::string now = eval("jet_now()");
    const auto parsed = parseStoredDate(QString::fromStdString(now));
    ASSERT_TRUE(parsed.has_value()) << now;
    EXPECT_LE(std::llabs(parsed->secsTo(QDateTime::currentDateTime())), 5);
    EXPECT_EQ(eval("jet_format(jet_now(), 'yyyy')"), std::to_string(QDate::currentDate().year()));
}

TEST_F(JetRuntime, DateArithmetic) {
    check({
        {"jet_add('2005-03-01', 30)", "2005-03-31"},
        {"jet_add(1, '2005-03-01')", "2005-03-02"},
        {"jet_add('2005-03-01', 0.5)", "2005-03-01 12:00:00"},
        {"jet_sub('2005-03-31', '2005-03-01')", "30"},
        {"jet_sub('2005-03-01', 1)", "2005-02-28"},
        {"jet_int('2005-03-01 10:00:00')", "2005-03-01"},
        {"jet_cmp('2005-03-01', 38412)", "0"},
        {"jet_cmp(38413, '2005-03-01')", "1"},
        {"'2005-03-01' < '2005-03-01 10:00:00' COLLATE JET", "1"},
    });
}

// --- Numbers --------------------------------------------------------------------------

TEST_F(JetRuntime, NumericText) {
    check({
        {"jet_num('7,50')", "7.5"},
        {"jet_num('7.50')", "7.5"},
        {"typeof(jet_num('12'))", "integer"},
        {"typeof(jet_num('15,00'))", "integer"},
        {"typeof(jet_num('7,5'))", "real"},
        {"jet_num(' -3 ')", "-3"},
        {"jet_num('+4')", "4"},
        {"jet_num(',5')", "0.5"},
        {"jet_num('5,')", "5"},
        {"jet_num('1e3')", "1000"},
        {"jet_num('1,5E-1')", "0.15"},
        {"jet_num('abc')", "abc"},
        {"jet_num('')", ""},
        {"jet_num('12,5,3')", "12,5,3"},
        {"jet_num('1 000')", "1 000"},
        {"jet_num('-')", "-"},
        {"jet_num(NULL)", "NULL"},
        {"jet_num(12)", "12"},
        {"jet_num(2.5)", "2.5"},
        {"jet_num('9223372036854775807')", "9223372036854775807"},
        {"typeof(jet_num('99999999999999999999'))", "real"},
    });
    EXPECT_EQ(numericText("7,50"), 7.5);
    EXPECT_EQ(numericText(" 12 "), 12.0);
    EXPECT_FALSE(numericText("12 abc").has_value());
    EXPECT_FALSE(numericText("").has_value());
}

TEST_F(JetRuntime, Arithmetic) {
    check({
        {"jet_mul('7,50', 2)", "15"},
        {"typeof(jet_mul('7,50', 2))", "integer"},
        {"jet_mul(0.75, 10)", "7.5"},
        {"jet_add('7,5', 1)", "8.5"},
        {"jet_add(1, '2')", "3"},
        {"jet_add(1, 2)", "3"},
        {"jet_add(1.5, 2.5)", "4"},
        {"jet_add('1', '2')", "12"},
        {"jet_add('Margaux', ' (')", "Margaux ("},
        {"jet_add(NULL, 'a')", "NULL"},
        {"jet_add('a', NULL)", "NULL"},
        {"jet_add(NULL, 1)", "NULL"},
        {"jet_add('a', 1)", "ERR:Type incompatible"},
        {"jet_add(2005, ' ')", "ERR:Type incompatible"},
        {"jet_add(9223372036854775807, 1)", "9.22337203685478e+18"},
        {"jet_sub(10, '2,5')", "7.5"},
        {"jet_sub('10', '4')", "6"},
        {"jet_sub(NULL, 1)", "NULL"},
        {"jet_sub('x', 1)", "ERR:Type incompatible"},
        {"jet_div(1, 0)", "ERR:Division par zéro"},
        {"jet_div(1.5, '0,0')", "ERR:Division par zéro"},
        {"jet_div(7, 2)", "3.5"},
        {"jet_div(6, 3)", "2"},
        {"typeof(jet_div(6, 3))", "integer"},
        {"jet_div('12,50', 5)", "2.5"},
        {"jet_div(NULL, 0)", "NULL"},
        {"jet_neg('7,5')", "-7.5"},
        {"jet_neg(3)", "-3"},
        {"jet_neg(NULL)", "NULL"},
        {"jet_neg('a')", "ERR:Type incompatible"},
        {"jet_idiv(7, 2)", "3"},
        {"jet_idiv(-7, 2)", "-3"},
        {"jet_idiv(7.5, 2)", "4"},
        {"jet_idiv(6.5, 2)", "3"},
        {"jet_idiv('12,50', 5)", "2"},
        {"jet_idiv(7, 0.4)", "ERR:Division par zéro"},
        {"jet_idiv(NULL, 2)", "NULL"},
        {"jet_mod(7, 3)", "1"},
        {"jet_mod(-7, 3)", "-1"},
        {"jet_mod(7, -3)", "1"},
        {"jet_mod(5.5, 2)", "0"},
        {"jet_mod(7, 0)", "ERR:Division par zéro"},
        {"jet_pow(2, 10)", "1024"},
        {"typeof(jet_pow(2, 10))", "integer"},
        {"jet_pow(2, -1)", "0.5"},
        {"jet_pow('9', 0.5)", "3"},
        {"jet_pow(-8, 0.5)", "ERR:Argument ou appel de procédure incorrect"},
        {"jet_pow(0, -1)", "ERR:Division par zéro"},
        {"jet_pow(10, 400)", "ERR:Dépassement de capacité"},
        {"jet_pow(-2, 3)", "-8"},
        // Format of the price-bracket expressions of the classification tree.
        {"jet_format(jet_mul(jet_int(jet_div('12,50', 5)), 5), '00')", "10"},
        {"jet_format(jet_add(jet_int(jet_div('12,50', 5)), 1), '00')", "03"},
    });
}

TEST_F(JetRuntime, IntValBool) {
    check({
        {"jet_int(7.5)", "7"},
        {"jet_int(-7.5)", "-8"},
        {"jet_int(7)", "7"},
        {"jet_int('7,5')", "7"},
        {"jet_int('-7,5')", "-8"},
        {"jet_int('2005')", "2005"},
        {"typeof(jet_int('2005'))", "integer"},
        {"jet_int('abc')", "ERR:Type incompatible"},
        {"jet_int(NULL)", "NULL"},
        {"jet_int(1e300)", "1.0e+300"},
        {"jet_val('12.5abc')", "12.5"},
        {"jet_val(' 1 2')", "12"},
        {"jet_val('abc')", "0"},
        {"jet_val('')", "0"},
        {"jet_val('12,5')", "12"},
        {"jet_val('-3')", "-3"},
        {"jet_val(' - 3')", "-3"},
        {"jet_val('.5')", "0.5"},
        {"jet_val('1.2.3')", "1.2"},
        {"jet_val('1e3')", "1000"},
        {"jet_val('1d2')", "100"},
        {"jet_val('1e')", "1"},
        {"jet_val('&HFF')", "255"},
        {"jet_val('&HFFFF')", "-1"},
        {"jet_val('&O17')", "15"},
        {"jet_val('2005')", "2005"},
        {"jet_val(jet_format('2005-03-01', 'mm'))", "3"},
        {"jet_val(12.5)", "12.5"},
        {"jet_val(NULL)", "NULL"},
        {"jet_bool(5)", "-1"},
        {"jet_bool(-1)", "-1"},
        {"jet_bool(0.5)", "-1"},
        {"jet_bool(0)", "0"},
        {"jet_bool(NULL)", "NULL"},
        {"jet_bool('1')", "-1"},
        {"jet_bool('0')", "0"},
        {"jet_bool('True')", "-1"},
        {"jet_bool('faux')", "0"},
        {"jet_bool('x')", "ERR:Type incompatible"},
    });
    EXPECT_DOUBLE_EQ(val("12.5abc"), 12.5);
    EXPECT_DOUBLE_EQ(val(" 1 2"), 12.0);
}

TEST_F(JetRuntime, Compare) {
    check({
        {"jet_cmp('12,50', 10)", "1"},
        {"jet_cmp(2, '10')", "-1"},
        {"jet_cmp('7,50', 7.5)", "0"},
        {"jet_cmp(1, 1.0)", "0"},
        {"jet_cmp('a', 'B')", "-1"},
        {"jet_cmp('Rouge', 'rouge')", "0"},
        {"jet_cmp('e', 'é')", "-1"},
        {"jet_cmp('Échezeaux', 'Entre-deux-Mers')", "-1"},
        {"jet_cmp('10', '9')", "-1"},
        {"jet_cmp(NULL, 1)", "NULL"},
        {"jet_cmp('a', NULL)", "NULL"},
        {"jet_cmp('abc', 1)", "ERR:Type incompatible"},
    });
}

// --- Concatenation ----------------------------------------------------------------------

TEST_F(JetRuntime, Concatenation) {
    check({
        {"jet_concat('a', NULL)", "a"},
        {"jet_concat(NULL, 'b')", "b"},
        {"jet_concat(NULL, NULL)", ""},
        {"typeof(jet_concat(NULL, NULL))", "text"},
        {"jet_concat(12.5, ' €')", "12,5 €"},
        {"jet_concat(3, ' vins')", "3 vins"},
        {"jet_concat(-0.25, '')", "-0,25"},
        {"jet_concat(jet_mul('7,50', 2), '')", "15"},
        {"jet_concat('2005-03-01', '')", "01/03/2005"},
        {"jet_concat('le ', '2005-03-01 10:00:00')", "le 01/03/2005 10:00:00"},
        {"jet_concat('a', 'b', 'c')", "abc"},
        {"jet_concat('a', 1, NULL, 2.5)", "a12,5"},
        {"jet_concat('', '')", ""},
        {"jet_concat('Château', ' Margaux')", "Château Margaux"},
        {"jet_concat(jet_concat(jet_format('2005-01-15', 'q\\er'), ' trimestre '), jet_format('2005-01-15', "
         "'yyyy'))",
         "1er trimestre 2005"},
    });
}

// --- LIKE ----------------------------------------------------------------------------------

TEST_F(JetRuntime, Like) {
    check({
        {"jet_like('Château Margaux', '*margaux*')", "1"},
        {"jet_like('Château Margaux', 'CH?TEAU*')", "1"},
        {"jet_like('Château Margaux', 'ch?teau')", "0"},
        {"jet_like('Chateau', '*â*')", "0"},
        {"jet_like('Château', '*Â*')", "1"},
        {"jet_like('ÉTÉ', 'été')", "1"},
        {"jet_like('ete', 'été')", "0"},
        {"jet_like('Œuvre', 'œ*')", "1"},
        {"jet_like('2005', '####')", "1"},
        {"jet_like('200a', '####')", "0"},
        {"jet_like('2005', '###')", "0"},
        {"jet_like('b', '[abc]')", "1"},
        {"jet_like('B', '[abc]')", "1"},
        {"jet_like('d', '[abc]')", "0"},
        {"jet_like('d', '[!abc]')", "1"},
        {"jet_like('a', '[!abc]')", "0"},
        {"jet_like('M', '[a-z]')", "1"},
        {"jet_like('m', '[A-Z]')", "1"},
        {"jet_like('5', '[a-z]')", "0"},
        {"jet_like('x-y', 'x[-]y')", "1"},
        {"jet_like('é', '[éè]')", "1"},
        {"jet_like('É', '[éè]')", "1"},
        {"jet_like('e', '[éè]')", "0"},
        {"jet_like('l''or', '*l''or*')", "1"},
        {"jet_like('Clos de l''Oratoire', '*l''or*')", "1"},
        {"jet_like(NULL, '*')", "NULL"},
        {"jet_like('a', NULL)", "NULL"},
        {"jet_like('abc', 'a*c')", "1"},
        {"jet_like('abcd', 'a*c')", "0"},
        {"jet_like('abcbc', 'a*bc')", "1"},
        {"jet_like('', '*')", "1"},
        {"jet_like('', '')", "1"},
        {"jet_like('a', '')", "0"},
        {"jet_like('', '?')", "0"},
        {"jet_like('a*b', 'a[*]b')", "1"},
        {"jet_like('axb', 'a[*]b')", "0"},
        {"jet_like('a?b', 'a[?]b')", "1"},
        {"jet_like('a#b', 'a[#]b')", "1"},
        {"jet_like('a[b', 'a[[]b')", "1"},
        {"jet_like('[', '[')", "1"},
        {"jet_like('ab', 'a[]b')", "1"},
        {"jet_like(2005, '20*')", "1"},
        {"jet_like(12.5, '*,5')", "1"},
        {"jet_like('a%b', 'a%b')", "1"},
        {"jet_like('axb', 'a%b')", "0"},
        {"jet_like('a_b', 'a_b')", "1"},
        {"jet_like('mississippi', '*sip*')", "1"},
        {"jet_like('mississippi', '*s*s*s*s*i')", "1"},
        {"jet_like('mississippi', 'm*?*?*x')", "0"},
        {"jet_like('aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaab', '*a*a*a*a*a*a*a*a*c')", "0"},
    });
    // Characters outside ASCII that fold to an ASCII letter still match it.
    EXPECT_TRUE(like(QString(QChar(0x17F)) + "aint", "*SAINT*"));
    EXPECT_TRUE(like("x" + QString(QChar(0x212A)) + "x", "*k*"));
    EXPECT_TRUE(like("Château", "*TEAU"));
    EXPECT_FALSE(like("Chateau", "*TÉAU"));
}

TEST_F(JetRuntime, LikeOverAColumnAndAChangingPattern) {
    exec("CREATE TABLE v(nom TEXT, motif TEXT)");
    exec("INSERT INTO v VALUES ('Margaux', 'marg*'), ('Pauillac', '*lac'), ('Pomerol', 'x*'), (NULL, '*')");
    EXPECT_EQ(scalar("SELECT group_concat(nom, ',') FROM v WHERE jet_like(nom, '*a*')"), "Margaux,Pauillac");
    EXPECT_EQ(scalar("SELECT group_concat(nom, ',') FROM v WHERE jet_like(nom, motif)"), "Margaux,Pauillac");
    EXPECT_EQ(scalar("SELECT count(*) FROM v WHERE jet_like(nom, '*') IS NULL"), "1");
    EXPECT_EQ(scalar("SELECT count(*) FROM v WHERE jet_like(nom, ?1) IS NULL"), "4");  // unbound: Null
}

// --- Collation --------------------------------------------------------------------------------

TEST_F(JetRuntime, CollationFrenchOrder) {
    exec("CREATE TABLE a(x TEXT)");
    exec("INSERT INTO a VALUES ('Entre-deux-Mers'), ('côte rôtie'), ('Échezeaux'), ('Corton')");
    EXPECT_EQ(column("SELECT x FROM a ORDER BY x COLLATE JET"),
              (std::vector<std::string>{"Corton", "côte rôtie", "Échezeaux", "Entre-deux-Mers"}));
    EXPECT_EQ(column("SELECT x FROM a ORDER BY x COLLATE JET DESC"),
              (std::vector<std::string>{"Entre-deux-Mers", "Échezeaux", "côte rôtie", "Corton"}));

    exec("DELETE FROM a");
    exec(
        "INSERT INTO a VALUES ('côté'), ('Zinfandel'), ('cote'), ('côte'), ('coté'), ('Cotes'), ('œuvre'), "
        "('Oeuvre'), ('ofni'), ('oeuf'), ('ça'), ('cz'), ('cb'), ('Ÿ'), ('y'), ('z'), ('10'), ('9'), (' x'), "
        "('ß'), ('ss'), ('st'), ('Æ'), ('ae'), ('af'), ('ad')");
    EXPECT_EQ(
        column("SELECT x FROM a ORDER BY x COLLATE JET, x"),
        (std::vector<std::string>{" x",   "10",   "9",    "ad",   "ae",    "Æ",  "af",   "ça",       "cb",
                                  "cote", "coté", "côte", "côté", "Cotes", "cz", "oeuf", "Oeuvre",   "œuvre",
                                  "ofni", "ss",   "ß",    "st",   "y",     "Ÿ",  "z",    "Zinfandel"}));
}

TEST_F(JetRuntime, CollationEquality) {
    check({
        {"'Rouge' = 'rouge' COLLATE JET", "1"},
        {"'ROSÉ' = 'rosé' COLLATE JET", "1"},
        {"'e' = 'é' COLLATE JET", "0"},
        {"'é' = 'É' COLLATE JET", "1"},
        {"'Œ' = 'œ' COLLATE JET", "1"},
        {"'œ' = 'oe' COLLATE JET", "0"},
        {"'ß' = 'ss' COLLATE JET", "0"},
        {"'a' = 'a ' COLLATE JET", "0"},
        {"'' = '' COLLATE JET", "1"},
        {"'Rosé' < 'rose' COLLATE JET", "0"},
        {"'rose' < 'Rosé' COLLATE JET", "1"},
        {"'Rosé' < 'Roses' COLLATE JET", "1"},
        {"'Rouge' COLLATE JET IN ('rouge', 'blanc')", "1"},
        {"'Rosé' COLLATE JET IN ('rose', 'blanc')", "0"},
    });
}

TEST_F(JetRuntime, CollationGroupByDistinctAndIndex) {
    exec("CREATE TABLE v(type TEXT COLLATE JET)");
    exec("INSERT INTO v VALUES ('Rouge'), ('rouge'), ('ROUGE'), ('Rosé'), ('rosé'), ('Rose'), ('Blanc')");
    EXPECT_EQ(scalar("SELECT count(DISTINCT type) FROM v"), "4");
    EXPECT_EQ(column("SELECT count(*) FROM v GROUP BY type ORDER BY type"),
              (std::vector<std::string>{"1", "1", "2", "3"}));
    exec("CREATE INDEX iv ON v(type)");
    for (int i = 0; i < 500; ++i) {
        exec("INSERT INTO v VALUES ('Vin " + std::to_string(i) + "'), ('vîn " + std::to_string(i) + "')");
    }
    EXPECT_EQ(scalar("SELECT count(*) FROM v WHERE type = 'rouge'"), "3");
    EXPECT_EQ(scalar("SELECT count(*) FROM v WHERE type = 'VIN 7'"), "1");
    EXPECT_EQ(scalar("SELECT count(*) FROM v WHERE type > 'vin' AND type < 'vio'"), "1000");
    EXPECT_EQ(scalar("PRAGMA integrity_check"), "ok");
    EXPECT_EQ(scalar("SELECT count(*) FROM (SELECT type FROM v INDEXED BY iv WHERE type = 'rosé')"), "2");
}

// Equal exactly when equal once case-folded, over every code point up to Latin Extended-A.
TEST(JetCollation, EqualityIsCaseFoldingOnLatin) {
    std::vector<std::string> texts;
    std::vector<char32_t> cps;
    for (char32_t c = 0x20; c < 0x180; ++c) {
        if (c == 0x7F || (c >= 0x80 && c < 0xA0)) {
            continue;
        }
        std::string s;
        detail::appendUtf8(s, c);
        texts.push_back(s);
        cps.push_back(c);
    }
    for (std::size_t i = 0; i < texts.size(); ++i) {
        for (std::size_t j = 0; j < texts.size(); ++j) {
            const int r = collate(texts[i].data(), static_cast<int>(texts[i].size()), texts[j].data(),
                                  static_cast<int>(texts[j].size()));
            const bool same = QChar::toCaseFolded(cps[i]) == QChar::toCaseFolded(cps[j]);
            ASSERT_EQ(r == 0, same) << std::hex << "U+" << static_cast<unsigned>(cps[i]) << " U+"
                                    << static_cast<unsigned>(cps[j]);
            const int back = collate(texts[j].data(), static_cast<int>(texts[j].size()), texts[i].data(),
                                     static_cast<int>(texts[i].size()));
            ASSERT_EQ((r > 0) - (r < 0), -((back > 0) - (back < 0)));
        }
    }
}

TEST(JetCollation, AccentedLettersSortWithTheirBaseLetter) {
    // Every Latin letter with a diacritic sorts after its base letter and before the next one.
    const char* groups[][2] = {{"a", "àáâãäåāăą"}, {"c", "çćĉċč"},     {"e", "èéêëēĕėęě"},  {"i", "ìíîïĩīĭį"},
                               {"n", "ñńņňŉŋ"},    {"o", "òóôõöøōŏő"}, {"u", "ùúûüũūŭůűų"}, {"y", "ýÿŷ"},
                               {"z", "źżž"},       {"s", "śŝşš"}};
    for (const auto& g : groups) {
        const QString letters = QString::fromUtf8(g[1]);
        const QString base = QString::fromUtf8(g[0]);
        const QString next = base == "z" ? QStringLiteral("þ") : QString(QChar(base[0].unicode() + 1));
        for (const QChar ch : letters) {
            EXPECT_LT(collate(base, ch), 0) << int(ch.unicode());
            EXPECT_LT(collate(ch, next), 0) << int(ch.unicode());
            EXPECT_GT(collate(base + "z", QString(ch) + "a"), 0) << int(ch.unicode());  // primary first
            EXPECT_LT(collate(QString(ch) + "a", base + "b"), 0) << int(ch.unicode());  // ditto
            EXPECT_EQ(collate(ch.toUpper(), ch), 0) << int(ch.unicode());
        }
    }
}

// A total preorder: antisymmetric and transitive on random texts mixing ASCII,
// accents, ligatures, other scripts and invalid bytes.
TEST(JetCollation, TotalPreorderOnRandomTexts) {
    const std::vector<std::string> pieces = {"a", "A", "e",  "E", "é",  "É",    "è",       "œ", "Œ", "oe",
                                             "o", "æ", "ae", "ß", "ss", "s",    " ",       "-", "1", "9",
                                             "z", "þ", "Ω",  "ω", "中", "\xff", "\xc3",    "ç", "c", "ÿ",
                                             "Ÿ", "y", "ı",  "İ", "i",  "I",    "\xC2\xA0"};
    std::mt19937 rng(12345);
    std::vector<std::string> texts;
    for (int k = 0; k < 600; ++k) {
        std::string s;
        const int n = static_cast<int>(rng() % 5);
        for (int i = 0; i < n; ++i) {
            s += pieces[rng() % pieces.size()];
        }
        texts.push_back(s);
    }
    auto cmp = [](const std::string& x, const std::string& y) {
        return collate(x.data(), static_cast<int>(x.size()), y.data(), static_cast<int>(y.size()));
    };
    std::sort(texts.begin(), texts.end(),
              [&](const std::string& x, const std::string& y) { return cmp(x, y) < 0; });
    for (std::size_t i = 0; i < texts.size(); ++i) {
        for (std::size_t j = i; j < texts.size(); ++j) {
            ASSERT_LE(cmp(texts[i], texts[j]), 0) << i << " " << j;
            ASSERT_GE(cmp(texts[j], texts[i]), 0) << i << " " << j;
        }
    }
}

TEST(JetCollation, CppEntryPoints) {
    EXPECT_LT(collate(QString("Corton"), QString("côte rôtie")), 0);
    EXPECT_LT(collate(QString("côte rôtie"), QString("Échezeaux")), 0);
    EXPECT_LT(collate(QString("Échezeaux"), QString("Entre-deux-Mers")), 0);
    EXPECT_EQ(collate(QString("Rouge"), QString("rouge")), 0);
    EXPECT_NE(collate(QString("e"), QString("é")), 0);
    EXPECT_EQ(collate("abc", 3, "ABCdef", 3), 0);
    EXPECT_EQ(collate("", 0, "", 0), 0);
    EXPECT_LT(collate("", 0, "a", 1), 0);
}

// --- Errors ---------------------------------------------------------------------------------

TEST_F(JetRuntime, ErrorsCarryFrenchMessages) {
    exec("CREATE TABLE p(prix)");
    exec("INSERT INTO p VALUES (10), ('abc')");
    EXPECT_EQ(scalar("SELECT sum(jet_add(prix, 1)) FROM p"), "ERR:Type incompatible");
    EXPECT_EQ(scalar("SELECT jet_div(prix, 0) FROM p"), "ERR:Division par zéro");
    EXPECT_EQ(scalar("SELECT jet_format(1, 2, 3, 4, 5)"), "ERR:Argument ou appel de procédure incorrect");
    EXPECT_EQ(scalar("SELECT jet_format(1, 'ww', 9)"), "ERR:Argument ou appel de procédure incorrect");
}

TEST_F(JetRuntime, RegisteredDeterministicExceptNow) {
    // Deterministic functions may appear in an index expression; jet_now may not.
    exec("CREATE TABLE d(x TEXT)");
    exec("CREATE INDEX dx ON d(jet_format(x, 'yyyy'))");
    EXPECT_NE(sqlite3_exec(db_, "CREATE INDEX dn ON d(jet_now())", nullptr, nullptr, nullptr), SQLITE_OK);
}

TEST_F(JetRuntime, MalformedInputNeverCrashes) {
    const std::vector<std::string> values = {
        "''",   "'\xff\xfe'", "'\xc3'",      "'['",    "'[!'",  "'*'",          "'\\'",         "'\"'",
        "'%'",  "NULL",       "0",           "-1e308", "1e308", "'9999-99-99'", "'2005-13-01'", "'yyyy'",
        "'E+'", "';;;;'",     "'####.####'", "'0,,,'", "'@@'",  "x'00ff'"};
    const std::vector<std::string> fns1 = {"jet_format", "jet_datevalue", "jet_val", "jet_int",
                                           "jet_num",    "jet_neg",       "jet_bool"};
    const std::vector<std::string> fns2 = {"jet_format", "jet_add",  "jet_sub", "jet_mul",
                                           "jet_div",    "jet_idiv", "jet_mod", "jet_pow",
                                           "jet_concat", "jet_like", "jet_cmp"};
    for (const auto& a : values) {
        for (const auto& f : fns1) {
            eval(f + "(" + a + ")");
        }
        for (const auto& b : values) {
            for (const auto& f : fns2) {
                eval(f + "(" + a + ", " + b + ")");
            }
            eval("(" + a + ") < (" + b + ") COLLATE JET");
        }
    }
    SUCCEED();
}

}  // namespace
}  // namespace vinorium::jet
