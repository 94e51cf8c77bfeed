#pragma once

namespace vinorium::bench {

// Closes the main window the window benchmarks opened, and its cellar; called
// before the application goes.
void fermeFenetre();

}  // namespace vinorium::bench
