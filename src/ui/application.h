#pragma once

#include <QString>

class QApplication;

namespace vinorium::ui {

// Sets up a program of the suite: name and icon, the built-in pictures, the
// French locale (decimal comma, French dates) and Qt's own French
// translations so that standard dialogs speak French, and the Qt dialog service.
void initialiseApplication(QApplication& app, const QString& name);

// Makes the built-in pictures and data (":/vinorium/...") available; part of
// initialiseApplication, and called by test programs.
void initialiseResources();

}  // namespace vinorium::ui
