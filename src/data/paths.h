#pragma once

#include <QString>

namespace vinorium {

// The folders the programs read and write. Tests and power users point them
// elsewhere with VINORIUM_CONFIG_DIR and VINORIUM_DATA_DIR.
namespace paths {

// Settings folder: $VINORIUM_CONFIG_DIR, else $XDG_CONFIG_HOME/Vinorium
// (~/.config/Vinorium).
QString configDir();

// Data folder (default cellar, label pictures, help): $VINORIUM_DATA_DIR, else
// $XDG_DATA_HOME/Vinorium (~/.local/share/Vinorium). This is what the program
// calls its own directory.
QString dataDir();

// Folder where label pictures are copied: the data folder followed by "Images".
QString imagesDir();

}  // namespace paths
}  // namespace vinorium
