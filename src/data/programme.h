#pragma once

#include "data/engine/database.h"
#include "data/engine/query.h"

#include <QString>

namespace vinorium {

// The program-wide values of the cellar manager, set at start-up and kept for
// the life of the program; other windows read and change them.
struct Programme {
    QString AliasCourant;            // alias of the cellar in use
    QString DerniereBase;            // alias opened last time ("LastBase")
    bool ChoixBaseDemarrage = true;  // ask for the cellar at start-up ("ChoixBase")
    QString CheminBase;              // file of AliasCourant
    int VersionBase = 0;             // layout read from table Version

    data::Database dbBase;              // the one cellar connection
    data::Query* qryGeneral = nullptr;  // shared query object, owned by the main window
};

// The values of the running program.
Programme& programme();

// Puts every value back to its start (tests).
void reinitialiseProgramme();

}  // namespace vinorium
