#pragma once

#include <QString>
#include <QStringList>

#include <memory>

class QSettings;

namespace vinorium {

// The two roots the programs use, named as the system names them.
enum class SettingsRoot {
    CurrentUser,   // HKEY_CURRENT_USER: "\Software\Vinorium\" lives in Vinorium.ini
    LocalMachine,  // HKEY_LOCAL_MACHINE: the alias registry lives in Aliases.ini
};

// The settings store: keys and string values, addressed as registry paths and
// kept in INI files of the config folder.
//
//   CurrentUser  "\Software\Vinorium\"                                   -> Vinorium.ini
//   LocalMachine "\SOFTWARE\Opus\DirectAccess\Configuration\Aliases\"    -> Aliases.ini
//
// The top key of a file holds its values at the top level of the file; a
// subkey is a group of the same name (one group per alias in Aliases.ini).
// Names of keys and values compare without case, as in the registry. A missing,
// unreadable or malformed file behaves as a missing key. Values may hold
// carriage returns and line feeds; they round-trip exactly.
class SettingsStore {
  public:
    explicit SettingsStore(SettingsRoot root);
    ~SettingsStore();
    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;

    static QString userKey() { return QStringLiteral("\\Software\\Vinorium\\"); }
    static QString aliasesKey() {
        return QStringLiteral("\\SOFTWARE\\Opus\\DirectAccess\\Configuration\\Aliases\\");
    }

    // Opens a key for reading and writing; with canCreate a missing key is
    // created (and its file with it). False when the key is missing or the
    // path is not one the store knows.
    bool openKey(const QString& key, bool canCreate);
    // Opens an existing key for reading only.
    bool openKeyReadOnly(const QString& key);
    void closeKey();
    bool hasOpenKey() const { return settings_ != nullptr; }

    bool keyExists(const QString& key) const;
    // Removes a key with its values and subkeys. True when something was removed.
    bool deleteKey(const QString& key);

    // Names of the open key's subkeys, case-insensitive alphabetical order.
    QStringList keyNames() const;
    // Names of the open key's values.
    QStringList valueNames() const;
    bool valueExists(const QString& name) const;
    // The value as text; empty when missing.
    QString readString(const QString& name) const;
    // False when no key is open for writing or the file cannot be written.
    bool writeString(const QString& name, const QString& value);
    bool deleteValue(const QString& name);

    // The INI file behind a root, in the config folder.
    static QString fileFor(SettingsRoot root);

  private:
    bool open(const QString& key, bool canCreate, bool readOnly);

    SettingsRoot root_;
    std::unique_ptr<QSettings> settings_;
    QString group_;  // actual group of the open key, "" for the file's top key
    bool readOnly_ = false;
};

}  // namespace vinorium
