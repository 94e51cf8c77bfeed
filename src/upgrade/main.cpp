// Migrevin, the upgrade tool of Vinorium cellars.

#include "ui/application.h"
#include "upgrade/frmmigrevin.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    vinorium::ui::initialiseApplication(app, QStringLiteral("Mise à jour de la base de données"));
    vinorium::upgrade::TfrmMigrevin frmMigrevin;
    frmMigrevin.show();
    return QApplication::exec();
}
