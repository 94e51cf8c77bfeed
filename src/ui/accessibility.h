#pragma once

#include <QStringList>

class QWidget;

namespace vinorium::ui {

// The short part of a hint: hints are written "short|long", as tool-bar
// buttons show the short part and the status line the long one.
QString shortHint(const QString& hint);

// Gives every control of a window that has none an accessible name, so that
// the program reads well with a screen reader and can be driven through the
// desktop accessibility tree. In order: the text of the label whose buddy it
// is, its own caption, the title of its group, the short part of its hint,
// its placeholder text. Call once a window's controls exist.
void nameControls(QWidget* window);

// The object names of the controls of a window that still have no accessible
// name (for tests).
QStringList unnamedControls(QWidget* window);

}  // namespace vinorium::ui
