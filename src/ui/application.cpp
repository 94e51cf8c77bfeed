#include "ui/application.h"

#include "ui/qtdialogservice.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

// Q_INIT_RESOURCE must stand outside any namespace.
static void initialiseVinoriumResources() {
    Q_INIT_RESOURCE(vinorium);
}

namespace vinorium::ui {

void initialiseResources() {
    initialiseVinoriumResources();
}

void initialiseApplication(QApplication& app, const QString& name) {
    initialiseResources();
    QApplication::setApplicationName(name);
    QApplication::setOrganizationName(QStringLiteral("Vinorium"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/vinorium/icons/vinorium.svg")));

    const QLocale french(QLocale::French, QLocale::France);
    QLocale::setDefault(french);
    auto* translator = new QTranslator(&app);
    if (translator->load(french, QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(translator);
    }

    static QtDialogService service;
    setDialogService(&service);
}

}  // namespace vinorium::ui
