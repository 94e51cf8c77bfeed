#pragma once

#include <QString>

class QWidget;

namespace vinorium::test {

// Saves a picture of a window to $VINORIUM_GRAB_DIR/<name>.png when that
// variable is set, so that windows can be looked at as a user sees them.
void grabToPng(QWidget* window, const QString& name);

}  // namespace vinorium::test
