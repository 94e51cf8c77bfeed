// Entry point of the benchmarks: a Qt application on the offscreen platform
// (the window benchmarks build the real main window), French locale, and the
// settings and data folders pointed at a temporary folder so that no run
// reads or writes the user's own settings or cellars.

#include "fenetrebench.h"

#include "data/dialogservice.h"
#include "ui/application.h"

#include <QApplication>
#include <QLocale>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>

namespace {

// A benchmark has nobody to answer a box: any dialog ends the run with its text.
class AucunDialogue final : public vinorium::DialogService {
  public:
    Answer message(Kind, const QString&, const QString& text, Buttons) override { return echec(text); }
    std::optional<QString> input(const QString&, const QString& prompt, const QString&) override {
        echec(prompt);
        return std::nullopt;
    }
    std::optional<QString> file(FileKind, const QString& title, const QString&, const QString&) override {
        echec(title);
        return std::nullopt;
    }
    int modal(QObject*, const QString& name) override {
        echec(name);
        return 0;
    }

  private:
    [[noreturn]] static Answer echec(const QString& text) {
        std::fprintf(stderr, "Dialogue inattendu pendant la mesure : %s\n", qPrintable(text));
        std::exit(2);
    }
};

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QTemporaryDir dossiers;
    qputenv("VINORIUM_CONFIG_DIR", dossiers.filePath(QStringLiteral("config")).toUtf8());
    qputenv("VINORIUM_DATA_DIR", dossiers.filePath(QStringLiteral("data")).toUtf8());
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vinorium"));
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    vinorium::ui::initialiseResources();
    AucunDialogue aucun;
    vinorium::setDialogService(&aucun);

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    vinorium::bench::fermeFenetre();
    benchmark::Shutdown();
    return 0;
}
