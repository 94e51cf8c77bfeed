#include "support/tempfolders.h"

#include <QtGlobal>

namespace vinorium::test {

TempFolders::TempFolders()
    : oldConfig_(qgetenv("VINORIUM_CONFIG_DIR")), oldData_(qgetenv("VINORIUM_DATA_DIR")) {
    qputenv("VINORIUM_CONFIG_DIR", config_.path().toUtf8());
    qputenv("VINORIUM_DATA_DIR", data_.path().toUtf8());
}

TempFolders::~TempFolders() {
    qputenv("VINORIUM_CONFIG_DIR", oldConfig_);
    qputenv("VINORIUM_DATA_DIR", oldData_);
}

}  // namespace vinorium::test
