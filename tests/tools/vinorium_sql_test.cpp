// vinorium-sql, run as a separate program.

#include "data/engine/database.h"

#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace vinorium::test {
namespace {

struct Result {
    int exitCode = -1;
    QString out;
    QString err;
};

class VinoriumSql : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(dir_.isValid()); }

    Result run(const QStringList& args, const QByteArray& input = QByteArray()) {
        QProcess p;
        p.start(QStringLiteral(VINORIUM_BINARY_DIR "/src/tools/vinorium-sql"), args);
        EXPECT_TRUE(p.waitForStarted());
        if (!input.isEmpty()) {
            p.write(input);
        }
        p.closeWriteChannel();
        EXPECT_TRUE(p.waitForFinished(60000));
        return Result{p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
                      QString::fromUtf8(p.readAllStandardError())};
    }

    QString cellar() const { return dir_.filePath(QStringLiteral("cave.mdb")); }

    QTemporaryDir dir_;
};

TEST_F(VinoriumSql, CreatesRunsAndPrintsRows) {
    Result r =
        run({"--create", cellar(), "CREATE TABLE T (Nom TEXT(20), Prix DOUBLE, D DATETIME, B BIT, N LONG)",
             "INSERT INTO T VALUES ('a\tb\\c', 7.5, #3/1/2005#, 1, Null)",
             "INSERT INTO T VALUES ('ligne\r\nsuivante', 12, #3/1/2005 10:30#, 0, -3)",
             "SELECT * FROM T ORDER BY Prix", "UPDATE T SET N = 1"});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out,
              "Nom\tPrix\tD\tB\tN\n"
              "a\\tb\\\\c\t7.5\t2005-03-01\t-1\t\\N\n"
              "ligne\\r\\nsuivante\t12\t2005-03-01 10:30:00\t0\t-3\n");
    EXPECT_TRUE(r.err.isEmpty());
    // --create refuses an existing file.
    r = run({"--create", cellar(), "SELECT 1"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_TRUE(r.err.contains("existe déjà"));
}

TEST_F(VinoriumSql, ReadsStatementsFromStandardInputInTransactions) {
    ASSERT_EQ(run({"--create", cellar(), "CREATE TABLE T (x LONG)"}).exitCode, 0);
    Result r = run({cellar()},
                   "BEGIN TRANSACTION\n"
                   "INSERT INTO T (x) VALUES (1)\n"
                   "\n"
                   "   \n"
                   "INSERT INTO T (x) VALUES (2)\n"
                   "ROLLBACK\n"
                   "INSERT INTO T (x) VALUES (3);\n"
                   "SELECT Sum(x) AS s, Count(*) AS n FROM T\n");
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, "s\tn\n3\t1\n");
}

TEST_F(VinoriumSql, StopsAtTheFirstFailingStatement) {
    ASSERT_EQ(run({"--create", cellar(), "CREATE TABLE T (x TEXT(3))"}).exitCode, 0);
    Result r = run({cellar(), "SELECT 'avant' AS a", "INSERT INTO T (x) VALUES ('trop long')",
                    "INSERT INTO T (x) VALUES ('ok')"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "a\navant\n");
    EXPECT_EQ(r.err, "Valeur trop longue pour la colonne x (3 caractères au plus)\n");
    r = run({cellar(), "SELECT Count(*) AS n FROM T"});
    EXPECT_EQ(r.out, "n\n0\n");
    r = run({cellar(), "SELECT FROM T"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "Erreur de syntaxe près de « FROM »\n");
    r = run({dir_.filePath("absente.mdb"), "SELECT 1"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("n'existe pas"));
    EXPECT_EQ(run({}).exitCode, 1);
}

TEST_F(VinoriumSql, CountsAsAConnectionForAnExclusiveOpen) {
    ASSERT_EQ(run({"--create", cellar(), "CREATE TABLE T (x LONG)"}).exitCode, 0);
    data::Database exclusive;
    exclusive.open(cellar(), true);
    Result r = run({cellar(), "SELECT * FROM T"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("déjà ouverte par un autre programme")) << r.err.toStdString();
    exclusive.close();
    // While the tool reads its standard input, the file is in use.
    QProcess p;
    p.start(QStringLiteral(VINORIUM_BINARY_DIR "/src/tools/vinorium-sql"), {cellar()});
    ASSERT_TRUE(p.waitForStarted());
    p.write("SELECT * FROM T\n");
    ASSERT_TRUE(p.waitForReadyRead(30000));
    EXPECT_THROW(exclusive.open(cellar(), true), data::EngineError);
    p.closeWriteChannel();
    ASSERT_TRUE(p.waitForFinished(30000));
    exclusive.open(cellar(), true);
}

}  // namespace
}  // namespace vinorium::test
