// Vinorium, the cellar manager.

#include "startup/demarrage.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    return vinorium::startup::Demarre(app);
}
