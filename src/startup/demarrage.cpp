#include "startup/demarrage.h"

#include "card/frmsaisie.h"
#include "ui/application.h"

#include <QApplication>

namespace vinorium::startup {

int Demarre(QApplication& app) {
    ui::initialiseApplication(app, QStringLiteral("Vinorium"));
    card::TfrmSaisie frmSaisie;
    frmSaisie.show();
    return QApplication::exec();
}

}  // namespace vinorium::startup
