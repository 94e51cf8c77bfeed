#pragma once

// Helpers of the upgrade tests: file contents, the log of a run, the real
// program.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

#include <ostream>

// Texts shown as texts in the failures of the upgrade tests.
inline void PrintTo(const QString& texte, std::ostream* os) {
    *os << '"' << texte.toStdString() << '"';
}

namespace vinorium::test {

inline QByteArray contenuFichier(const QString& chemin) {
    QFile f(chemin);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The lines of LogMigrevin.txt in a folder; empty when there is none.
inline QStringList journalMigrevin(const QString& dossier) {
    QFile f(QDir(dossier).filePath(QStringLiteral("LogMigrevin.txt")));
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text)) {
        return {};
    }
    QStringList lignes = QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'));
    if (!lignes.isEmpty() && lignes.last().isEmpty()) {
        lignes.removeLast();
    }
    return lignes;
}

inline QString programme(const char* nom) {
    return QStringLiteral(VINORIUM_BINARY_DIR) + QString::fromUtf8(nom);
}

// Runs migrevin with the arguments (in the test's settings folders and on the
// offscreen platform, inherited) and returns its exit code.
inline int lanceMigrevin(const QStringList& arguments) {
    QProcess p;
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p.start(programme("/src/upgrade/migrevin"), arguments);
    EXPECT_TRUE(p.waitForStarted()) << p.errorString().toStdString();
    EXPECT_TRUE(p.waitForFinished(120000));
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

}  // namespace vinorium::test
