// vinorium-sql --template: a new default cellar made from the command line.

#include "data/defaultcellar.h"
#include "data/engine/database.h"
#include "support/cellarfixtures.h"
#include "support/tempfolders.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <gtest/gtest.h>

using vinorium::test::CellarFixture;
using vinorium::test::selectRows;
using vinorium::test::TempFolders;

namespace {

const char* const kTool = VINORIUM_BINARY_DIR "/src/tools/vinorium-sql";

int runTool(const QStringList& args, QString* err = nullptr) {
    QProcess p;
    p.start(QString::fromUtf8(kTool), args);
    // Without statements the tool reads them from its input: give it none.
    p.closeWriteChannel();
    if (!p.waitForFinished(60000)) {
        return -1;
    }
    if (err) {
        *err = QString::fromUtf8(p.readAllStandardError());
    }
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

QByteArray digestOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly)
               ? QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256)
               : QByteArray();
}

TEST(SchemaTemplateTool, MakesADefaultCellarAndNeverOverwrites) {
    if (!QFileInfo(QString::fromUtf8(kTool)).isExecutable()) {
        GTEST_SKIP() << "vinorium-sql is not built in " << VINORIUM_BINARY_DIR;
    }
    TempFolders folders;
    const QString path = folders.scratch(QStringLiteral("modele.mdb"));
    ASSERT_EQ(runTool({QStringLiteral("--template"), path}), 0);

    {
        auto cellar = CellarFixture::open(path);
        EXPECT_EQ(selectRows(cellar->db(), QStringLiteral("SELECT * FROM Version"), {"Version"}),
                  QList<QStringList>{{"30"}});
        EXPECT_EQ(selectRows(cellar->db(), QStringLiteral("SELECT Count(*) AS n FROM Appellations"), {"n"}),
                  QList<QStringList>{{QString::number(vinorium::data::referenceAppellations().size())}});
        const int bulk =
            cellar->addWine({.appellation = QStringLiteral("Margaux"), .prix = 10.0, .vrac = true});
        EXPECT_EQ(
            selectRows(cellar->db(),
                       QStringLiteral("SELECT QuantiteRestante, PrixBouteille, NomListe FROM RequeteListe AS "
                                      "TableSource WHERE Cptr = %1")
                           .arg(bulk),
                       {"QuantiteRestante", "PrixBouteille", "NomListe"}),
            (QList<QStringList>{{"0", "7,50", "   (Margaux , 0 bouteilles)"}}));
    }

    const QByteArray before = digestOf(path);
    QString err;
    EXPECT_EQ(runTool({QStringLiteral("--template"), path}, &err), 1);
    EXPECT_FALSE(err.trimmed().isEmpty());
    EXPECT_EQ(digestOf(path), before);
}

}  // namespace
