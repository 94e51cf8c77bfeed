#include "support/grab.h"

#include <QDir>
#include <QWidget>

namespace vinorium::test {

void grabToPng(QWidget* window, const QString& name) {
    const QString dir = qEnvironmentVariable("VINORIUM_GRAB_DIR");
    if (dir.isEmpty()) {
        return;
    }
    QDir().mkpath(dir);
    window->grab().save(dir + QLatin1Char('/') + name + QStringLiteral(".png"));
}

}  // namespace vinorium::test
