#include "data/paths.h"

#include <QDir>
#include <QStandardPaths>

namespace vinorium::paths {

namespace {

QString fromEnvironment(const char* variable, const char* xdgVariable, const char* homeFallback) {
    const QString explicitDir = qEnvironmentVariable(variable);
    if (!explicitDir.isEmpty()) {
        return QDir::cleanPath(explicitDir);
    }
    QString base = qEnvironmentVariable(xdgVariable);
    if (base.isEmpty()) {
        base = QDir::homePath() + QLatin1Char('/') + QLatin1String(homeFallback);
    }
    return QDir::cleanPath(base + QStringLiteral("/Vinorium"));
}

}  // namespace

QString configDir() {
    return fromEnvironment("VINORIUM_CONFIG_DIR", "XDG_CONFIG_HOME", ".config");
}

QString dataDir() {
    return fromEnvironment("VINORIUM_DATA_DIR", "XDG_DATA_HOME", ".local/share");
}

QString imagesDir() {
    return dataDir() + QStringLiteral("/Images");
}

}  // namespace vinorium::paths
