#pragma once

// First start on a machine where the programs never ran: what an installer
// would have done, done by the program itself.

#include <QString>

namespace vinorium::data {

struct FirstStartResult {
    enum class Status {
        NotNeeded,  // the alias registry exists: nothing was touched
        Installed,  // the default cellar is in place and registered as "Vinorium"
        Failed,     // something could not be done; message says what
    };
    Status status = Status::NotNeeded;
    // The default cellar's file (Installed, and Failed once it was known).
    QString cellarPath;
    // French message for the user when Failed.
    QString message;
};

// Called by the start-up before the alias is resolved. When the alias registry
// file (SettingsStore::fileFor(SettingsRoot::LocalMachine)) does not exist:
//   1. creates the data folder (paths::dataDir());
//   2. creates the default cellar there as VINORIUM.MDB, unless that file
//      exists already (an existing file is never overwritten, and is
//      registered as it is);
//   3. creates the Images folder (paths::imagesDir());
//   4. registers the alias "Vinorium" with its Path in the alias registry.
// The registry is written last, so a failed first start is tried again at the
// next start. With an alias registry present, whatever it holds, nothing is
// done and the start-up goes on as usual. Never throws.
FirstStartResult installDefaultCellarIfNeeded();

// The default alias and its file name inside the data folder.
inline constexpr const char* kDefaultAlias = "Vinorium";
inline constexpr const char* kDefaultCellarFileName = "VINORIUM.MDB";

}  // namespace vinorium::data
