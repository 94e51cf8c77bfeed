// Migrevin, the upgrade tool of Vinorium cellars: brings a cellar file of an
// older layout to the layout the cellar manager opens.
//
//   migrevin [FOLDER]   with a folder, upgrades its VINORIUM.MDB at once and ends,
//                       with status 1 when the cellar is not at the current layout

#include "ui/application.h"
#include "upgrade/frmmigrevin.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    vinorium::ui::initialiseApplication(app, QStringLiteral("Mise à jour de la base de données"));
    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    vinorium::upgrade::TfrmMigrevin frmMigrevin;
    return frmMigrevin.Demarre(arguments);
}
