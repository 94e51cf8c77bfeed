#pragma once

// Fixture of the engine tests: a fresh cellar file in a temporary folder, and
// helpers that run Jet statements and read rows back as text lines.

#include "data/engine/database.h"
#include "data/engine/query.h"
#include "data/engine/textout.h"

#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace vinorium::test {

// A small cellar: wines, appellations and movements, with the column types
// the programs use.
inline const QStringList& miniCellarDdl() {
    static const QStringList ddl = {
        QStringLiteral(
            "CREATE TABLE Vins (Cptr COUNTER CONSTRAINT idxCptr PRIMARY KEY, Nom TEXT(255), "
            "Millesime LONG, Recoltant TEXT(255), Appellation TEXT(50), Type TEXT(50), Prix DOUBLE, "
            "Vrac BIT, Offert BIT, BoireAvant LONG, ChampPerso1 TEXT(255))"),
        QStringLiteral(
            "CREATE TABLE Appellations (Appellation TEXT(50) CONSTRAINT idxAppellation PRIMARY KEY, "
            "Region TEXT(50))"),
        QStringLiteral("CREATE TABLE [Sortie cave] ([Clé] COUNTER CONSTRAINT idxCle PRIMARY KEY, Cptr LONG, "
                       "DateEntreeSortie DATETIME, QuantiteEntreeSortie LONG, PositionEntreeSortie LONG, "
                       "CommentaireEntreeSortie TEXT(255))"),
        QStringLiteral("CREATE INDEX idxSortieCptr ON [Sortie cave] (Cptr)"),
    };
    return ddl;
}

class EngineTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        path_ = dir_.filePath(QStringLiteral("VINORIUM.MDB"));
        data::Database::createEmpty(path_);
        db_.open(path_);
    }

    QString path() const { return path_; }
    QString file(const QString& name) const { return dir_.filePath(name); }

    void exec(const QStringList& statements) {
        for (const QString& s : statements) {
            db_.execute(s);
        }
    }

    // Header line then one line per row, fields separated by "|".
    QStringList rows(const QString& sql) {
        data::Query q(&db_);
        q.setSql(sql);
        q.open();
        QStringList out{data::toolHeader(q).replace(QLatin1Char('\t'), QLatin1Char('|'))};
        for (; !q.eof(); q.next()) {
            out << data::toolRow(q).replace(QLatin1Char('\t'), QLatin1Char('|'));
        }
        return out;
    }

    // The message of the EngineError a statement raises; empty when it succeeds.
    QString errorOf(const QString& sql) {
        try {
            data::Query q(&db_);
            q.setSql(sql);
            q.open();
            q.recordCount();
        } catch (const data::EngineError& e) {
            return e.message();
        }
        return QString();
    }

    QTemporaryDir dir_;
    QString path_;
    data::Database db_;
};

}  // namespace vinorium::test
