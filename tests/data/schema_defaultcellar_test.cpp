// The default cellar every new cellar starts from, the tables' declared widths
// and the appellation reference list shipped with it.

#include "data/defaultcellar.h"
#include "data/engine/database.h"
#include "data/engine/query.h"
#include "data/schema.h"
#include "support/cellarfixtures.h"
#include "support/tempfolders.h"

#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <gtest/gtest.h>

using vinorium::data::Database;
using vinorium::data::EngineError;
using vinorium::test::selectRows;
using vinorium::test::TempFolders;
namespace schema = vinorium::data::schema;

namespace {

QString u(const char* utf8) {
    return QString::fromUtf8(utf8);
}

QByteArray digestOf(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

class SchemaDefaultCellar : public ::testing::Test {
  protected:
    // One default cellar for the whole suite: its content is only read.
    static void SetUpTestSuite() {
        folders_ = new TempFolders;
        path_ = new QString(folders_->scratch(QStringLiteral("VINORIUM.MDB")));
        QElapsedTimer timer;
        timer.start();
        vinorium::data::createDefaultCellar(*path_);
        creationMs_ = timer.elapsed();
    }
    static void TearDownTestSuite() {
        delete path_;
        delete folders_;
    }
    void SetUp() override { db.open(*path_); }

    QList<QStringList> rows(const QString& sql, const QStringList& columns) {
        return selectRows(db, sql, columns);
    }

    static TempFolders* folders_;
    static QString* path_;
    static qint64 creationMs_;
    Database db;
};

TempFolders* SchemaDefaultCellar::folders_ = nullptr;
QString* SchemaDefaultCellar::path_ = nullptr;
qint64 SchemaDefaultCellar::creationMs_ = 0;

TEST_F(SchemaDefaultCellar, HoldsEveryTableAndStoredQueryOfTheLayout) {
    RecordProperty("creation_ms", static_cast<int>(creationMs_));
    std::printf("default cellar created in %lld ms\n", static_cast<long long>(creationMs_));
    EXPECT_LT(creationMs_, 5000);

    QStringList tables = db.tableNames();
    for (const QString& name : schema::tableNames()) {
        EXPECT_TRUE(tables.contains(name, Qt::CaseInsensitive)) << name.toStdString();
    }
    for (const QString& name : schema::queryNames()) {
        SCOPED_TRACE(name.toStdString());
        ASSERT_TRUE(db.hasQueryDef(name));
        EXPECT_EQ(db.queryDefSql(name), schema::queryText(name));
        // Every stored query runs on the empty cellar.
        EXPECT_TRUE(rows(QStringLiteral("SELECT * FROM %1 AS TableSource").arg(name), {}).isEmpty());
    }
    EXPECT_EQ(rows(QStringLiteral("SELECT * FROM Version"), {QStringLiteral("Version")}),
              QList<QStringList>{{QStringLiteral("30")}});
    // Rows are inserted without a column list: the order of the columns matters.
    EXPECT_EQ(
        db.fieldNames(QStringLiteral("Selections")),
        (QStringList{QStringLiteral("Nom"), QStringLiteral("ChaineSQL"), QStringLiteral("ChaineCriteres")}));
    for (const char* table : {"Vins", "[Sortie cave]", "PLAN", "Selections", "EtatsGraphes"}) {
        EXPECT_EQ(rows(QStringLiteral("SELECT Count(*) AS n FROM %1").arg(u(table)), {QStringLiteral("n")}),
                  QList<QStringList>{{QStringLiteral("0")}})
            << table;
    }
}

TEST_F(SchemaDefaultCellar, HoldsTheCustomFieldsAndOptions) {
    const QStringList columns = {QStringLiteral("Nom"), QStringLiteral("Libelle"), QStringLiteral("Position"),
                                 QStringLiteral("Recherche"), QStringLiteral("Liste")};
    const QList<QStringList> expected = {
        {"ChampPerso1", "Origine", u("A gauche de la case à cocher \"Vrac\" et sous la zone \"Récoltant\""),
         "0", "-1"},
        {"ChampPerso2", "Commentaire", u("Onglet \"Plan\", sous le plan de cave, à gauche"), "0", "-1"},
        {"ChampPerso3", u("Précision"), u("Onglet \"Plan\", sous le plan de cave, à droite"), "0", "-1"},
        {"ChampPerso4", "Commentaire1", u("Onglet \"Dégustation\", en bas, avant dernière zone"), "0", "-1"},
        {"ChampPerso5", "Commentaire2", u("Onglet \"Dégustation\", en bas, dernière zone"), "0", "-1"},
    };
    EXPECT_EQ(
        rows(QStringLiteral("SELECT Nom, Libelle, Position, Recherche, Liste FROM ChampsPerso ORDER BY Nom"),
             columns),
        expected);
    EXPECT_EQ(rows(QStringLiteral("SELECT * FROM Options ORDER BY Nom"),
                   {QStringLiteral("Nom"), QStringLiteral("Valeur")}),
              (QList<QStringList>{{"Aboire", "2"},
                                  {"Attendre", "5"},
                                  {"Couleur", u("Végétal")},
                                  {"ModeSaisie", "-1"},
                                  {"TranchePrix", "5"}}));
}

TEST_F(SchemaDefaultCellar, HoldsTheReferenceAppellations) {
    const auto reference = vinorium::data::referenceAppellations();
    EXPECT_EQ(rows(QStringLiteral("SELECT Count(*) AS n FROM Appellations"), {QStringLiteral("n")}),
              QList<QStringList>{{QString::number(reference.size())}});
    EXPECT_EQ(rows(QStringLiteral("SELECT Region FROM Appellations WHERE Appellation = %1")
                       .arg(schema::quoted(u("Saint-Émilion grand cru"))),
                   {QStringLiteral("Region")}),
              QList<QStringList>{{QStringLiteral("Bordeaux")}});
    // The editors' lists.
    const auto regions = rows(QStringLiteral("SELECT DISTINCT Region FROM Appellations ORDER BY Region"),
                              {QStringLiteral("Region")});
    EXPECT_GE(regions.size(), 25);
}

TEST(SchemaAppellationList, IsARealReferenceList) {
    const auto list = vinorium::data::referenceAppellations();
    const QStringList countries = {
        u("Italie"),           u("Espagne"),  u("Portugal"),  u("Allemagne"),      u("Suisse"),
        u("Etats-Unis"),       u("Chili"),    u("Argentine"), u("Afrique du Sud"), u("Australie"),
        u("Nouvelle-Zélande"), u("Autriche"), u("Hongrie"),   u("Grèce"),          u("Liban")};
    const QStringList frenchRegions = {u("Alsace"),    u("Beaujolais"), u("Bordeaux"), u("Bourgogne"),
                                       u("Champagne"), u("Corse"),      u("Jura"),     u("Languedoc"),
                                       u("Loire"),     u("Provence"),   u("Rhône"),    u("Roussillon"),
                                       u("Savoie"),    u("Sud-Ouest"),  u("Bugey"),    u("Lorraine")};
    QSet<QString> regions;
    QSet<QString> names;
    int french = 0;
    for (const auto& row : list) {
        EXPECT_LE(row.appellation.size(), 50) << row.appellation.toStdString();
        EXPECT_LE(row.region.size(), 50) << row.region.toStdString();
        EXPECT_EQ(row.appellation, row.appellation.trimmed());
        EXPECT_FALSE(row.appellation.contains(QLatin1Char('\t')));
        names.insert(row.appellation);
        regions.insert(row.region);
        if (!countries.contains(row.region)) {
            ++french;
        }
    }
    EXPECT_GE(french, 300);
    for (const QString& region : frenchRegions + countries) {
        EXPECT_TRUE(regions.contains(region)) << region.toStdString();
    }
    for (const char* name :
         {"Saint-Émilion grand cru", "Châteauneuf-du-Pape", "Côtes du Rhône", "Crémant d'Alsace",
          "Pouilly-Fumé", "Chianti", "Barolo", "Rioja", "Porto", "Tokaji"}) {
        EXPECT_TRUE(names.contains(u(name))) << name;
    }

    // The file itself (its resource is registered by the reader above): a header, two
    // columns per line, no name twice (without case).
    QFile file(QStringLiteral(":/vinorium/appellations.tsv"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_EQ(lines.first(), QStringLiteral("Appellation\tRegion"));
    EXPECT_EQ(lines.size() - 1, list.size()) << "a name is repeated in the file";
    QSet<QString> folded;
    for (const QString& line : lines.mid(1)) {
        EXPECT_EQ(line.split(QLatin1Char('\t')).size(), 2) << line.toStdString();
        EXPECT_FALSE(folded.contains(line.section(QLatin1Char('\t'), 0, 0).toCaseFolded()))
            << line.toStdString();
        folded.insert(line.section(QLatin1Char('\t'), 0, 0).toCaseFolded());
    }
}

TEST(SchemaDefaultCellarFile, IsNeverMadeOverAnExistingFile) {
    TempFolders folders;
    const QString path = folders.scratch(QStringLiteral("cave.mdb"));
    vinorium::test::CellarFixture existing(path);
    existing.addWine({.nom = QStringLiteral("Gardé")});
    existing.close();
    const QByteArray before = digestOf(path);
    EXPECT_THROW(vinorium::data::createDefaultCellar(path), EngineError);
    EXPECT_EQ(digestOf(path), before);

    // A folder that cannot hold the file leaves nothing behind.
    const QString missing = folders.scratch(QStringLiteral("absent/cave.mdb"));
    EXPECT_THROW(vinorium::data::createDefaultCellar(missing), EngineError);
    EXPECT_FALSE(QFileInfo::exists(missing));
}

// Declared widths: a value one character too long is refused, the widest one kept.
TEST(SchemaWidths, TextColumnsHoldTheirDeclaredWidth) {
    TempFolders folders;
    vinorium::test::CellarFixture cellar(folders.scratch(QStringLiteral("cave.mdb")));
    const int cptr = cellar.addWine({.nom = QStringLiteral("Large")});
    struct Case {
        const char* table;
        const char* column;
        int width;
        QString where;
    };
    const Case cases[] = {
        {"Vins", "Nom", 255, QStringLiteral("Cptr = %1").arg(cptr)},
        {"Vins", "Etiquette", 255, QStringLiteral("Cptr = %1").arg(cptr)},
        {"Vins", "ChampPerso1", 255, QStringLiteral("Cptr = %1").arg(cptr)},
        {"Vins", "ChampPerso5", 255, QStringLiteral("Cptr = %1").arg(cptr)},
        {"Vins", "Robe", 255, QStringLiteral("Cptr = %1").arg(cptr)},
        {"Vins", "Note", 255, QStringLiteral("Cptr = %1").arg(cptr)},
        {"Vins", "QualitePrix", 255, QStringLiteral("Cptr = %1").arg(cptr)},
        {"Vins", "Appellation", 50, QStringLiteral("Cptr = %1").arg(cptr)},
        {"ChampsPerso", "Libelle", 20, QStringLiteral("Nom = 'ChampPerso1'")},
        {"ChampsPerso", "Position", 255, QStringLiteral("Nom = 'ChampPerso1'")},
        {"Appellations", "Region", 50, QStringLiteral("Appellation = 'Bordeaux'")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.table) + "." + c.column);
        const QString update = QStringLiteral("UPDATE %1 SET %2 = %3 WHERE %4").arg(u(c.table), u(c.column));
        EXPECT_NO_THROW(cellar.exec(update.arg(schema::quoted(QString(c.width, QChar(0xE9))), c.where)));
        EXPECT_THROW(cellar.exec(update.arg(schema::quoted(QString(c.width + 1, QLatin1Char('x'))), c.where)),
                     EngineError);
    }
    // Long saved searches fit.
    EXPECT_NO_THROW(cellar.addSelection(QStringLiteral("longue"), QString(4000, QLatin1Char('x')),
                                        QString(4000, QLatin1Char('y'))));
    // Appellation names are unique without regard to case.
    EXPECT_THROW(cellar.addAppellation(QStringLiteral("bordeaux"), QStringLiteral("Ailleurs")), EngineError);
    // The custom field names are the key of ChampsPerso.
    EXPECT_THROW(
        cellar.exec(QStringLiteral("INSERT INTO ChampsPerso (Nom, Libelle) VALUES ('ChampPerso1', 'Autre')")),
        EngineError);
}

}  // namespace
