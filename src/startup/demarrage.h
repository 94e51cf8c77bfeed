#pragma once

class QApplication;

namespace vinorium::startup {

// The start-up of the cellar manager: sets the program up, shows the main
// window and runs the message loop. Returns the program's exit code.
int Demarre(QApplication& app);

}  // namespace vinorium::startup
