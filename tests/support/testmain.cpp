// Entry point of every test program: a Qt application on the offscreen
// platform, with the settings and data folders pointed at temporary folders so
// that no test ever touches the user's real settings or cellars.

#include "support/scripteddialogs.h"
#include "support/tempfolders.h"
#include "ui/application.h"

#include <QApplication>
#include <QLocale>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    ::testing::InitGoogleTest(&argc, argv);
    // Folders before the application, so that nothing reads the real ones.
    vinorium::test::TempFolders folders;
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vinorium"));
    // As the programs do: French number and date formats (decimal comma).
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    vinorium::ui::initialiseResources();
    // Every test starts with a scripted dialog service that expects nothing.
    ::testing::AddGlobalTestEnvironment(new vinorium::test::StrictDialogsEnvironment);
    return RUN_ALL_TESTS();
}
