// vinorium-sql: the cellar engine on the command line.
//
//   vinorium-sql [--create | --template] FILE [STATEMENT ...]
//
// --template makes FILE a new default cellar (every table and stored query,
// the options, custom fields and appellation list) before the statements.
// Runs Jet statements on a cellar file exactly as the programs run them; with
// no statement on the command line, reads them from standard input, one per
// line (blank lines skipped). A statement that returns rows prints a header
// line of column names then one line per row, fields separated by a tab (see
// data/engine/textout.h for how values are written). The first failing
// statement prints the engine's message on standard error; the exit status is
// then 1, else 0.

#include "data/defaultcellar.h"
#include "data/engine/database.h"
#include "data/engine/query.h"
#include "data/engine/textout.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>
#include <functional>
#include <iostream>
#include <string>

namespace {

using vinorium::data::Database;
using vinorium::data::EngineError;
using vinorium::data::Query;

struct Options {
    bool create = false;
    bool templateCellar = false;
    QString file;
    QStringList statements;
};

// Options before FILE. Each entry applies itself to the options; new options
// are one more line here.
struct OptionSpec {
    const char* name;
    const char* help;
    std::function<void(Options&)> apply;
};

const std::vector<OptionSpec>& optionSpecs() {
    static const std::vector<OptionSpec> specs = {
        {"--create", "crée FILE, base de cave vide sans tables (refusé si FILE existe)",
         [](Options& o) { o.create = true; }},
        {"--template", "crée FILE, nouvelle base de cave par défaut (refusé si FILE existe)",
         [](Options& o) { o.templateCellar = true; }},
    };
    return specs;
}

void printUsage() {
    std::string usage = "Usage : vinorium-sql [options] FICHIER [INSTRUCTION ...]\n";
    for (const OptionSpec& s : optionSpecs()) {
        usage += std::string("  ") + s.name + "  " + s.help + "\n";
    }
    usage += "Sans instruction, les instructions sont lues sur l'entrée standard, une par ligne.\n";
    std::fputs(usage.c_str(), stderr);
}

bool parseArguments(const QStringList& args, Options& options) {
    int i = 1;
    for (; i < args.size() && args[i].startsWith(QLatin1String("--")); ++i) {
        if (args[i] == QLatin1String("--")) {
            ++i;
            break;
        }
        bool known = false;
        for (const OptionSpec& s : optionSpecs()) {
            if (args[i] == QLatin1String(s.name)) {
                s.apply(options);
                known = true;
            }
        }
        if (!known) {
            std::fprintf(stderr, "Option inconnue : %s\n", args[i].toUtf8().constData());
            return false;
        }
    }
    if (i >= args.size()) {
        return false;
    }
    options.file = args[i++];
    options.statements = args.mid(i);
    return true;
}

void writeLine(const QString& line) {
    const QByteArray utf8 = line.toUtf8();
    std::fwrite(utf8.constData(), 1, static_cast<size_t>(utf8.size()), stdout);
    std::fputc('\n', stdout);
}

// Runs one statement and prints its rows, if any.
void run(Database& db, const QString& sql) {
    Query q(&db);
    q.setSql(sql);
    q.open();
    if (q.fieldCount() == 0) {
        return;
    }
    writeLine(vinorium::data::toolHeader(q));
    for (; !q.eof(); q.next()) {
        writeLine(vinorium::data::toolRow(q));
    }
}

int runAll(const Options& options) {
    try {
        if (options.templateCellar) {
            vinorium::data::createDefaultCellar(options.file);
        } else if (options.create) {
            Database::createEmpty(options.file);
        }
        Database db;
        db.open(options.file);
        if (!options.statements.isEmpty()) {
            for (const QString& sql : options.statements) {
                run(db, sql);
            }
        } else {
            std::string line;
            while (std::getline(std::cin, line)) {
                const QString sql = QString::fromStdString(line).trimmed();
                if (!sql.isEmpty()) {
                    run(db, sql);
                }
            }
        }
    } catch (const EngineError& e) {
        std::fflush(stdout);
        std::fprintf(stderr, "%s\n", e.message().toUtf8().constData());
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    Options options;
    if (!parseArguments(QCoreApplication::arguments(), options)) {
        printUsage();
        return 1;
    }
    return runAll(options);
}
