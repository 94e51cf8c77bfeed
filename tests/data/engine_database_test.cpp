// The connection and query objects: stored queries, structure changes,
// errors and their messages, opening and locking the file, transactions.

#include "data/enginetest.h"
#include "data/schema.h"
#include "data/settingsstore.h"

#include <QFile>

#include <sys/wait.h>
#include <unistd.h>

namespace vinorium::test {
namespace {

using data::Database;
using data::EngineError;
using data::Query;

class EngineDatabase : public EngineTest {
  protected:
    void SetUp() override {
        EngineTest::SetUp();
        exec(miniCellarDdl());
        exec({
            "INSERT INTO Appellations (Appellation, Region) VALUES ('Bordeaux', 'Bordeaux')",
            "INSERT INTO Vins (Nom, Appellation, Millesime, Prix) VALUES ('A', 'Bordeaux', 2005, 10)",
            "INSERT INTO Vins (Nom, Appellation, Millesime, Prix) VALUES ('B', 'Bordeaux', 2001, 20)",
            "INSERT INTO [Sortie cave] (Cptr, QuantiteEntreeSortie) VALUES (1, 6)",
        });
    }
};

TEST_F(EngineDatabase, StoredQueriesReadEachOtherAndFollowReplacement) {
    db_.createQueryDef("Dedans", "SELECT Cptr, Nom, Millesime FROM Vins WHERE Millesime > 2000");
    exec({"CREATE VIEW Dehors AS SELECT Nom FROM Dedans ORDER BY Nom"});
    EXPECT_EQ(rows("SELECT T.Nom FROM dehors AS T"), QStringList({"Nom", "A", "B"}));
    db_.setQueryDefSql("DEDANS", "SELECT Cptr, Nom, Millesime FROM Vins WHERE Millesime > 2003");
    EXPECT_EQ(rows("SELECT * FROM Dehors"), QStringList({"Nom", "A"}));
    EXPECT_EQ(db_.queryDefSql("dedans"), "SELECT Cptr, Nom, Millesime FROM Vins WHERE Millesime > 2003");
    EXPECT_EQ(db_.queryDefNames(), QStringList({"Dedans", "Dehors"}));
    EXPECT_EQ(db_.fieldNames("Dehors"), QStringList({"Nom"}));
    EXPECT_EQ(db_.tableNames(), QStringList({"Vins", "Appellations", "Sortie cave"}));
    exec({"DROP VIEW Dehors"});
    EXPECT_FALSE(db_.hasQueryDef("Dehors"));
    EXPECT_THROW(db_.createQueryDef("vins", "SELECT 1"), EngineError);
    EXPECT_THROW(db_.createQueryDef("Bad", "SELECT FROM"), EngineError);
}

TEST_F(EngineDatabase, StoredQueriesSurviveReopening) {
    db_.createQueryDef("Q", "SELECT Nom + '!' AS x FROM Vins WHERE Cptr = 1");
    db_.close();
    db_.open(path());
    EXPECT_EQ(rows("SELECT x FROM Q"), QStringList({"x", "A!"}));
}

TEST_F(EngineDatabase, DroppingAColumnAQueryReadsBreaksTheQueryUntilRewritten) {
    db_.createQueryDef("Q", "SELECT Nom, Millesime FROM Vins");
    db_.createQueryDef("Q2", "SELECT Nom FROM Q");
    exec({"ALTER TABLE [Vins] DROP COLUMN [Millesime]"});
    EXPECT_EQ(rows("SELECT Nom FROM Vins ORDER BY Nom"), QStringList({"Nom", "A", "B"}));
    const QString message = errorOf("SELECT * FROM Q2");
    EXPECT_TRUE(message.contains("Colonne inconnue : Millesime")) << message.toStdString();
    EXPECT_TRUE(message.contains("Q")) << message.toStdString();
    db_.setQueryDefSql("Q", "SELECT Nom FROM Vins");
    EXPECT_EQ(rows("SELECT * FROM Q2 ORDER BY Nom"), QStringList({"Nom", "A", "B"}));
}

TEST_F(EngineDatabase, RenamingAColumnKeepsDataWidthAndOtherQueries) {
    db_.createQueryDef("UsesNom", "SELECT Nom FROM Vins");
    db_.createQueryDef("UsesPrix", "SELECT Prix FROM Vins");
    exec({"CREATE TABLE ChampsPerso (Nom TEXT(15) CONSTRAINT idxNom PRIMARY KEY, Libelle TEXT(20))",
          "INSERT INTO ChampsPerso (Nom, Libelle) VALUES ('ChampPerso1', 'Origine')"});
    db_.renameColumn("vins", "nom", "Appelé");
    db_.renameColumn("ChampsPerso", "Libelle", "Etiquette");
    EXPECT_EQ(rows("SELECT Appelé FROM Vins WHERE Cptr = 1"), QStringList({"Appelé", "A"}));
    EXPECT_EQ(rows("SELECT Prix FROM UsesPrix ORDER BY Prix"), QStringList({"Prix", "10", "20"}));
    EXPECT_TRUE(errorOf("SELECT * FROM UsesNom").contains("Colonne inconnue : Nom"));
    try {
        db_.execute("UPDATE ChampsPerso SET Etiquette = '123456789012345678901' WHERE Nom = 'ChampPerso1'");
        FAIL() << "a value longer than the column was written";
    } catch (const EngineError& e) {
        EXPECT_EQ(e.message(), "Valeur trop longue pour la colonne Etiquette (20 caractères au plus)");
    }
    EXPECT_THROW(db_.renameColumn("Vins", "Absente", "X"), EngineError);
    EXPECT_THROW(db_.renameColumn("Vins", "Prix", "Cptr"), EngineError);
}

TEST_F(EngineDatabase, AddedColumnsAndWidenedTextsKeepTheirData) {
    // The upgrade tool widens a text column by copying it through a temporary one.
    exec({"ALTER TABLE [Vins] ADD COLUMN [Tempo] TEXT(255)", "UPDATE [Vins] SET Tempo = [ChampPerso1]",
          "UPDATE [Vins] SET Tempo = 'gardé' WHERE Cptr = 2", "ALTER TABLE [Vins] DROP COLUMN [ChampPerso1]",
          "ALTER TABLE [Vins] ADD COLUMN [ChampPerso1] TEXT(255)", "UPDATE [Vins] SET [ChampPerso1] = Tempo",
          "ALTER TABLE [Vins] DROP COLUMN [Tempo]", "ALTER TABLE Vins ADD COLUMN Liste BIT"});
    EXPECT_EQ(rows("SELECT Cptr, ChampPerso1, Liste FROM Vins ORDER BY Cptr"),
              QStringList({"Cptr|ChampPerso1|Liste", "1|\\N|\\N", "2|gardé|\\N"}));
    EXPECT_EQ(db_.fieldNames("Vins").last(), "Liste");
    // Dropping an indexed column drops its index.
    exec({"ALTER TABLE [Sortie cave] DROP COLUMN Cptr"});
    EXPECT_FALSE(db_.fieldNames("Sortie cave").contains("Cptr"));
}

TEST_F(EngineDatabase, ErrorsCarryFrenchMessages) {
    exec({"CREATE TABLE ChampsPerso (Nom TEXT(15) CONSTRAINT idxNom PRIMARY KEY, Libelle TEXT(20))"});
    struct Expected {
        const char* sql;
        const char* message;
    };
    const Expected cases[] = {
        {"SELECT FROM Vins", "Erreur de syntaxe près de « FROM »"},
        {"SELECT Nom FROM Vins WHERE", "Erreur de syntaxe : instruction incomplète"},
        {"SELECT Prixx FROM Vins", "Colonne inconnue : Prixx"},
        {"SELECT V.Prixx FROM Vins AS V", "Colonne inconnue : V.Prixx"},
        {"SELECT * FROM Absente", "Table ou requête inconnue : Absente"},
        {"SELECT Nom FROM Vins WHERE Nom = 'x", "Erreur de syntaxe : texte non terminé"},
        {"SELECT Cptr FROM Vins, [Sortie cave]",
         "Le nom de colonne Cptr est ambigu : il existe dans Vins et dans Sortie cave"},
        {"SELECT Frobnicate(1)", "Fonction inconnue : Frobnicate"},
        {"SELECT #13/45/2005#", "Date non valide : #13/45/2005#"},
        {"INSERT INTO ChampsPerso (Nom, Libelle) VALUES ('n', '123456789012345678901')",
         "Valeur trop longue pour la colonne Libelle (20 caractères au plus)"},
        {"INSERT INTO Appellations VALUES ('x')",
         "Le nombre de valeurs (1) ne correspond pas au nombre de colonnes (2)"},
        {"SELECT 1 / 0", "Division par zéro"},
        // Found by the fuzz target: an aggregate without argument in a cross-tab.
        {"TRANSFORM Sum() SELECT Cptr FROM [Sortie cave] GROUP BY Cptr PIVOT Format(DateEntreeSortie, "
         "'yyyy')",
         "Nombre d'arguments incorrect pour la fonction Sum"},
    };
    for (const Expected& c : cases) {
        EXPECT_EQ(errorOf(c.sql).toStdString(), c.message) << c.sql;
    }
    exec({"INSERT INTO ChampsPerso (Nom, Libelle) VALUES ('n', 'l')"});
    EXPECT_TRUE(
        errorOf("INSERT INTO ChampsPerso (Nom, Libelle) VALUES ('N', 'l')").startsWith("Valeur en double"));
}

TEST_F(EngineDatabase, QueryObjectReadsRowsForwardAndBack) {
    Query q(&db_);
    q.clear();
    q.addLine("SELECT Cptr, Nom, Prix, Millesime AS Annee, #3/1/2005# AS D, Vrac");
    q.addLine("FROM Vins ORDER BY Cptr");
    q.open();
    ASSERT_TRUE(q.isActive());
    EXPECT_EQ(q.fieldCount(), 6);
    EXPECT_EQ(q.fieldName(3), "Annee");
    EXPECT_EQ(q.field("nom").asString(), "A");
    EXPECT_EQ(q.field("PRIX").asFloat(), 10.0);
    EXPECT_EQ(q.field("d").asString(), "01/03/2005");
    EXPECT_EQ(q.field("d").asDateTime(), QDateTime(QDate(2005, 3, 1), QTime(0, 0)));
    EXPECT_TRUE(q.field("Vrac").isNull());
    EXPECT_FALSE(q.field("Vrac").asBoolean());
    EXPECT_EQ(q.field("Vrac").asString(), "");
    q.next();
    EXPECT_EQ(q.field(1).asString(), "B");
    q.next();
    EXPECT_TRUE(q.eof());
    EXPECT_THROW(q.field(1), EngineError);
    EXPECT_EQ(q.recordCount(), 2);
    q.first();
    EXPECT_EQ(q.field("Annee").asInteger(), 2005);
    EXPECT_TRUE(q.locate("Nom", "B"));
    EXPECT_EQ(q.field("Cptr").asInteger(), 2);
    EXPECT_FALSE(q.locate("Nom", "b"));
    EXPECT_TRUE(q.locate("Nom", "b", true));
    EXPECT_TRUE(q.locate("Annee", 2005));
    EXPECT_EQ(q.recNo(), 0);
    EXPECT_THROW(q.field("Absent"), EngineError);
    q.close();
    EXPECT_FALSE(q.isActive());
    EXPECT_TRUE(q.eof());
    q.setSql("UPDATE Vins SET Prix = 12.5 WHERE Cptr = 1");
    q.execSql();
    EXPECT_EQ(q.rowsAffected(), 1);
    q.setSql("SELECT Prix, '7,5' AS t, 'abc' AS u FROM Vins WHERE Cptr = 1");
    q.open();
    EXPECT_EQ(q.field("Prix").asString(), "12,5");
    EXPECT_EQ(q.field("t").asFloat(), 7.5);
    EXPECT_THROW(q.field("u").asInteger(), EngineError);
}

TEST_F(EngineDatabase, ForwardOnlyQueryReadsEveryRowOnceAndRefusesToGoBack) {
    exec({"INSERT INTO Vins (Nom, Prix) VALUES ('C', 3)", "INSERT INTO Vins (Nom, Prix) VALUES ('D', 4)"});
    Query q(&db_);
    q.setForwardOnly(true);
    q.setSql("SELECT Nom, Prix FROM Vins ORDER BY Nom");
    q.open();
    q.first();  // still on the first row: allowed
    QStringList lus;
    lus << q.field(0).asString();
    q.next();
    lus << q.field(0).asString() + q.field(1).asString();
    // A write while the query is open reads the rest ahead: the current row stays.
    exec({"UPDATE Vins SET Prix = 99 WHERE Nom = 'A'"});
    EXPECT_EQ(q.field(0).asString(), "B");
    for (q.next(); !q.eof(); q.next()) {
        lus << q.field(0).asString() + q.field(1).asString();
    }
    EXPECT_EQ(lus, QStringList({"A", "B20", "C3", "D4"}));
    try {
        q.first();
        ADD_FAILURE() << "first() went back";
    } catch (const EngineError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("La requête ne lit ses lignes qu'en avançant"));
    }
    EXPECT_THROW(q.locate("Nom", "A"), EngineError);

    // recordCount keeps what it reads, so the current row is still there.
    q.open();
    q.next();
    EXPECT_EQ(q.recordCount(), 4);
    EXPECT_EQ(q.field(0).asString(), "B");
}

TEST_F(EngineDatabase, OpenQueriesSurviveStructureChangesAndWrites) {
    Query reader(&db_);
    reader.setSql("SELECT Nom FROM Vins ORDER BY Cptr");
    reader.open();
    exec({"INSERT INTO Vins (Nom) VALUES ('C')", "ALTER TABLE Vins ADD COLUMN Extra LONG",
          "ALTER TABLE Vins DROP COLUMN Extra"});
    QStringList names;
    for (reader.first(); !reader.eof(); reader.next()) {
        names << reader.field(0).asString();
    }
    EXPECT_GE(names.size(), 2);
    EXPECT_EQ(names.mid(0, 2), QStringList({"A", "B"}));
}

TEST_F(EngineTest, AQueryOutlivesItsConnection) {
    Query q;
    {
        Database other;
        other.open(path());
        q.setDatabase(&other);
        q.setSql("SELECT 1 AS x");
        q.open();
        EXPECT_TRUE(q.isActive());
    }
    EXPECT_FALSE(q.isActive());
    EXPECT_EQ(q.database(), nullptr);
    EXPECT_THROW(q.open(), EngineError);
}

TEST_F(EngineDatabase, TransactionsCommitAndRollBack) {
    db_.beginTransaction();
    EXPECT_TRUE(db_.inTransaction());
    db_.execute("DELETE FROM Vins");
    db_.rollback();
    EXPECT_EQ(rows("SELECT Count(*) AS n FROM Vins"), QStringList({"n", "2"}));
    db_.execute("BEGIN TRANSACTION");
    db_.execute("DELETE FROM Vins WHERE Cptr = 1");
    db_.execute("COMMIT");
    EXPECT_FALSE(db_.inTransaction());
    EXPECT_EQ(rows("SELECT Count(*) AS n FROM Vins"), QStringList({"n", "1"}));
    EXPECT_THROW(db_.commit(), EngineError);
}

TEST_F(EngineDatabase, CompactionCopiesTablesQueriesAndData) {
    db_.createQueryDef("Q", "SELECT Nom FROM Vins WHERE Cptr = 2");
    db_.close();
    const QString copy = file("Compacte.MDB");
    Database::compact(path(), copy);
    EXPECT_THROW(Database::compact(path(), copy), EngineError);
    Database other;
    other.open(copy);
    Query q(&other);
    q.setSql("SELECT * FROM Q");
    q.open();
    EXPECT_EQ(q.field("Nom").asString(), "B");
}

TEST_F(EngineTest, OpeningRefusesFilesThatAreNotCellars) {
    db_.close();
    auto messageOf = [&](const QString& p) {
        try {
            Database d;
            d.open(p);
        } catch (const EngineError& e) {
            return e.message();
        }
        return QString();
    };
    EXPECT_TRUE(messageOf(file("absent.mdb")).contains("n'existe pas"));
    QFile text(file("texte.mdb"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("Ceci n'est pas une base.\n");
    text.close();
    EXPECT_TRUE(messageOf(text.fileName()).contains("n'est pas une base de cave"));
    QFile empty(file("vide.mdb"));
    ASSERT_TRUE(empty.open(QIODevice::WriteOnly));
    empty.close();
    EXPECT_TRUE(messageOf(empty.fileName()).contains("n'est pas une base de cave"));
    // A cellar cut in the middle.
    {
        Database big;
        const QString p = file("coupee.mdb");
        Database::createEmpty(p);
        big.open(p);
        big.execute("CREATE TABLE T (x TEXT)");
        big.beginTransaction();
        for (int i = 0; i < 300; ++i) {
            big.execute(
                QStringLiteral("INSERT INTO T (x) VALUES ('%1')").arg(QString(200, QLatin1Char('x'))));
        }
        big.commit();
        big.close();
        QFile f(p);
        ASSERT_TRUE(f.resize(f.size() / 2));
        EXPECT_TRUE(messageOf(p).contains("n'est pas une base de cave"));
    }
    // Corrupt pages behind a valid header.
    {
        const QString p = file("abimee.mdb");
        QFile::copy(path(), p);
        QFile f(p);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        f.seek(100);
        f.write(QByteArray(static_cast<int>(f.size()) - 100, '\x7f'));
        f.close();
        EXPECT_FALSE(messageOf(p).isEmpty());
    }
    if (::geteuid() != 0) {  // the super-user reads and writes anything
        const QString p = file("protegee.mdb");
        QFile::copy(path(), p);
        QFile::setPermissions(p, QFile::ReadOwner);
        EXPECT_TRUE(messageOf(p).contains("accès refusé"));
    }
    EXPECT_THROW(Database::createEmpty(path()), EngineError);
}

TEST_F(EngineTest, OpenAliasResolvesThePathOfTheRegistry) {
    db_.close();
    SettingsStore store(SettingsRoot::LocalMachine);
    ASSERT_TRUE(store.openKey(SettingsStore::aliasesKey() + "Essai", true));
    ASSERT_TRUE(store.writeString("Path", path()));
    store.closeKey();
    EXPECT_EQ(Database::aliasPath("Essai"), path());
    Database d;
    d.openAlias("Essai");
    EXPECT_TRUE(d.isOpen());
    EXPECT_EQ(d.aliasName(), "Essai");
    EXPECT_THROW(d.openAlias("Absent"), EngineError);
    EXPECT_FALSE(d.isOpen());
}

// Runs in a child process: opens the cellar (exclusively or not), reports on
// the pipe whether it could, and keeps it open until the parent closes its end.
pid_t holdInChild(const QString& path, bool exclusive, int& readFd) {
    int toParent[2], toChild[2];
    if (::pipe(toParent) != 0 || ::pipe(toChild) != 0) {
        return -1;
    }
    pid_t pid = ::fork();
    if (pid == 0) {
        ::close(toParent[0]);
        ::close(toChild[1]);
        char result = 'n';
        try {
            Database d;
            d.open(path, exclusive);
            result = 'y';
            ::write(toParent[1], &result, 1);
            char c;
            ::read(toChild[0], &c, 1);
        } catch (...) {
            ::write(toParent[1], &result, 1);
        }
        ::_exit(0);
    }
    ::close(toParent[1]);
    ::close(toChild[0]);
    readFd = toParent[0];
    char result = 0;
    ::read(readFd, &result, 1);
    ::close(readFd);
    readFd = toChild[1];  // closing it lets the child go
    return result == 'y' ? pid : -pid;
}

void release(pid_t pid, int fd) {
    ::close(fd);
    int status = 0;
    ::waitpid(pid < 0 ? -pid : pid, &status, 0);
}

TEST_F(EngineTest, ExclusiveOpenFailsWhileAnotherProcessHoldsTheFile) {
    db_.close();
    int fd = -1;
    pid_t child = holdInChild(path(), false, fd);
    ASSERT_GT(child, 0) << "the child could not open the cellar";
    Database d;
    try {
        d.open(path(), true);
        FAIL() << "exclusive open succeeded while another process held the file";
    } catch (const EngineError& e) {
        EXPECT_TRUE(e.message().contains("est déjà ouverte par un autre programme"))
            << e.message().toStdString();
    }
    d.open(path(), false);  // a shared open is fine
    d.close();
    release(child, fd);
    d.open(path(), true);
    EXPECT_TRUE(d.isExclusive());
    // Now nobody else gets in, not even for a shared connection.
    child = holdInChild(path(), false, fd);
    EXPECT_LT(child, 0);
    release(child, fd);
    Database second;
    EXPECT_THROW(second.open(path(), false), EngineError);
    d.close();
    second.open(path(), false);
}

}  // namespace
}  // namespace vinorium::test

namespace vinorium::test {
namespace {

// The stored queries of the cellar are planned two ways (one aggregate per
// wine through the index, or one aggregation of all movements for statements
// that read every wine): both must give the rows of the literal grouping.
TEST_F(EngineTest, StockQueriesGiveTheSameRowsWhateverThePlan) {
    data::schema::createLayout(db_);
    exec({"INSERT INTO Appellations (Appellation, Region) VALUES ('Bordeaux', 'Bordeaux')",
          "INSERT INTO Vins (Nom, Recoltant, Appellation, Type, Millesime, Prix, Vrac) VALUES "
          "('A', 'r', 'Bordeaux', 'Rouge', 2005, 10, -1)",
          "INSERT INTO Vins (Nom, Recoltant, Appellation, Type, Prix) VALUES ('', 'Martin', 'Bordeaux', "
          "'Blanc', 0)",
          "INSERT INTO Vins (Nom, Appellation, Type) VALUES ('Sans appellation', 'Absente', 'Rouge')",
          "INSERT INTO [Sortie cave] (Cptr, QuantiteEntreeSortie, PositionEntreeSortie) VALUES (1, 6, 3)",
          "INSERT INTO [Sortie cave] (Cptr, QuantiteEntreeSortie, PositionEntreeSortie) VALUES (1, -2, 4)",
          "INSERT INTO [Sortie cave] (Cptr, QuantiteEntreeSortie, PositionEntreeSortie) VALUES (3, 5, 1)"});
    const QString everyRow = "SELECT * FROM RequeteListe AS T WHERE (QuantiteRestante >= 0) ORDER BY Cptr";
    const QString selected =
        "SELECT * FROM RequeteListe AS T WHERE (QuantiteRestante >= 0) AND Cptr IN (SELECT Cptr FROM Vins) "
        "ORDER BY Cptr";
    EXPECT_TRUE(db_.translate(everyRow).contains("_agg"));
    EXPECT_FALSE(db_.translate(selected).contains("_agg"));
    const QStringList expected = rows(selected);
    ASSERT_EQ(expected.size(), 3);
    EXPECT_TRUE(expected[1].startsWith("A|A   (Bordeaux 2005, 4 bouteilles)|4|1|"))
        << expected[1].toStdString();
    EXPECT_TRUE(expected[2].startsWith("Martin|Martin   (Bordeaux , 0 bouteilles)|0|2|"))
        << expected[2].toStdString();
    EXPECT_TRUE(expected[1].endsWith("|7,50|1")) << expected[1].toStdString();
    EXPECT_EQ(rows(everyRow), expected);
    // Stock per position.
    EXPECT_EQ(
        rows("SELECT Cptr, Position, QuantiteRestante FROM RequeteInitialePositions ORDER BY Cptr, Position"),
        QStringList({"Cptr|Position|QuantiteRestante", "1|3|6", "1|4|-2", "2|\\N|0"}));
}

}  // namespace
}  // namespace vinorium::test
