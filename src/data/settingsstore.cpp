#include "data/settingsstore.h"

#include "data/paths.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStringDecoder>

#include <algorithm>
#include <optional>

namespace vinorium {

namespace {

// Splits a registry path into its names, ignoring empty parts.
QStringList splitKey(const QString& key) {
    return key.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
}

QStringList fileTopKey(SettingsRoot root) {
    return splitKey(root == SettingsRoot::CurrentUser ? SettingsStore::userKey()
                                                      : SettingsStore::aliasesKey());
}

// The subkey names below the file's top key, or nothing when the path lies
// outside what this root keeps.
std::optional<QStringList> relativeNames(SettingsRoot root, const QString& key) {
    const QStringList top = fileTopKey(root);
    const QStringList names = splitKey(key);
    if (names.size() < top.size()) {
        return std::nullopt;
    }
    for (qsizetype i = 0; i < top.size(); ++i) {
        if (names[i].compare(top[i], Qt::CaseInsensitive) != 0) {
            return std::nullopt;
        }
    }
    return names.mid(top.size());
}

// True when the file is an INI file as the store writes it: UTF-8 text of
// section lines, "name=value" lines, comments and blank lines. QSettings itself
// accepts nearly anything, so a damaged file is caught here.
bool wellFormed(const QString& file) {
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly)) {
        return false;
    }
    const QByteArray bytes = f.readAll();
    if (bytes.contains('\0')) {
        return false;
    }
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text = decoder(bytes);
    if (decoder.hasError()) {
        return false;
    }
    for (QStringView line : QStringView(text).split(QLatin1Char('\n'))) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')) || line.startsWith(QLatin1Char('#'))) {
            continue;
        }
        if (line.startsWith(QLatin1Char('['))) {
            if (!line.endsWith(QLatin1Char(']'))) {
                return false;
            }
        } else if (!line.contains(QLatin1Char('='))) {
            return false;
        }
    }
    return true;
}

std::unique_ptr<QSettings> readable(const QString& file) {
    if (!QFileInfo(file).isReadable() || !wellFormed(file)) {
        return nullptr;
    }
    auto settings = std::make_unique<QSettings>(file, QSettings::IniFormat);
    if (settings->status() != QSettings::NoError) {
        return nullptr;
    }
    return settings;
}

// Finds the stored spelling of a name among candidates, without case.
std::optional<QString> findName(const QStringList& candidates, const QString& name) {
    for (const QString& c : candidates) {
        if (c.compare(name, Qt::CaseInsensitive) == 0) {
            return c;
        }
    }
    return std::nullopt;
}

// Resolves relative names to the actual group path, or nothing when a part is missing.
std::optional<QString> resolveGroup(QSettings& settings, const QStringList& names) {
    QString group;
    for (const QString& name : names) {
        settings.beginGroup(group);
        const auto found = findName(settings.childGroups(), name);
        settings.endGroup();
        if (!found) {
            return std::nullopt;
        }
        group = group.isEmpty() ? *found : group + QLatin1Char('/') + *found;
    }
    return group;
}

}  // namespace

SettingsStore::SettingsStore(SettingsRoot root) : root_(root) {}

SettingsStore::~SettingsStore() {
    closeKey();
}

QString SettingsStore::fileFor(SettingsRoot root) {
    return paths::configDir() + (root == SettingsRoot::CurrentUser ? QStringLiteral("/Vinorium.ini")
                                                                   : QStringLiteral("/Aliases.ini"));
}

bool SettingsStore::openKey(const QString& key, bool canCreate) {
    return open(key, canCreate, false);
}

bool SettingsStore::openKeyReadOnly(const QString& key) {
    return open(key, false, true);
}

bool SettingsStore::open(const QString& key, bool canCreate, bool readOnly) {
    closeKey();
    const auto names = relativeNames(root_, key);
    if (!names) {
        return false;
    }
    const QString file = fileFor(root_);
    std::unique_ptr<QSettings> settings = readable(file);
    if (!settings) {
        if (!canCreate) {
            return false;
        }
        // A missing file is made; a malformed or unreadable one is left as it is.
        if (QFileInfo::exists(file) || !QDir().mkpath(QFileInfo(file).absolutePath())) {
            return false;
        }
        settings = std::make_unique<QSettings>(file, QSettings::IniFormat);
    }
    std::optional<QString> group = resolveGroup(*settings, *names);
    if (!group) {
        if (!canCreate) {
            return false;
        }
        // Keep the stored spelling of the parts that exist, add the rest as given.
        QString path;
        for (const QString& name : *names) {
            settings->beginGroup(path);
            const auto found = findName(settings->childGroups(), name);
            settings->endGroup();
            path = path.isEmpty() ? found.value_or(name) : path + QLatin1Char('/') + found.value_or(name);
        }
        group = path;
    }
    settings_ = std::move(settings);
    group_ = *group;
    readOnly_ = readOnly;
    if (canCreate) {
        // A key exists in the file once it is written; an empty group is kept
        // with a marker so that an empty key can be listed.
        settings_->beginGroup(group_);
        const bool empty = settings_->childKeys().isEmpty() && settings_->childGroups().isEmpty();
        settings_->endGroup();
        if (empty && !group_.isEmpty()) {
            settings_->setValue(group_ + QStringLiteral("/.key"), QString());
        }
        settings_->sync();
    }
    return true;
}

void SettingsStore::closeKey() {
    if (settings_) {
        settings_->sync();
    }
    settings_.reset();
    group_.clear();
    readOnly_ = false;
}

bool SettingsStore::keyExists(const QString& key) const {
    const auto names = relativeNames(root_, key);
    if (!names) {
        return false;
    }
    std::unique_ptr<QSettings> settings = readable(fileFor(root_));
    return settings && resolveGroup(*settings, *names).has_value();
}

bool SettingsStore::deleteKey(const QString& key) {
    const auto names = relativeNames(root_, key);
    if (!names) {
        return false;
    }
    const QString file = fileFor(root_);
    std::unique_ptr<QSettings> settings = readable(file);
    if (!settings) {
        return false;
    }
    const auto group = resolveGroup(*settings, *names);
    if (!group) {
        return false;
    }
    if (group->isEmpty()) {
        settings.reset();
        return QFile::remove(file);
    }
    settings->remove(*group);
    settings->sync();
    return settings->status() == QSettings::NoError;
}

QStringList SettingsStore::keyNames() const {
    if (!settings_) {
        return {};
    }
    settings_->beginGroup(group_);
    QStringList names = settings_->childGroups();
    settings_->endGroup();
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        const int c = a.compare(b, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a < b;
    });
    return names;
}

QStringList SettingsStore::valueNames() const {
    if (!settings_) {
        return {};
    }
    settings_->beginGroup(group_);
    QStringList names = settings_->childKeys();
    settings_->endGroup();
    names.removeAll(QStringLiteral(".key"));
    return names;
}

bool SettingsStore::valueExists(const QString& name) const {
    return findName(valueNames(), name).has_value();
}

QString SettingsStore::readString(const QString& name) const {
    const auto stored = findName(valueNames(), name);
    if (!stored) {
        return {};
    }
    settings_->beginGroup(group_);
    const QVariant value = settings_->value(*stored);
    settings_->endGroup();
    return value.toString();
}

bool SettingsStore::writeString(const QString& name, const QString& value) {
    if (!settings_ || readOnly_ || name.isEmpty()) {
        return false;
    }
    const QString stored = findName(valueNames(), name).value_or(name);
    settings_->beginGroup(group_);
    settings_->setValue(stored, value);
    settings_->remove(QStringLiteral(".key"));
    settings_->endGroup();
    settings_->sync();
    return settings_->status() == QSettings::NoError;
}

bool SettingsStore::deleteValue(const QString& name) {
    if (!settings_ || readOnly_) {
        return false;
    }
    const auto stored = findName(valueNames(), name);
    if (!stored) {
        return false;
    }
    settings_->beginGroup(group_);
    settings_->remove(*stored);
    settings_->endGroup();
    settings_->sync();
    return true;
}

}  // namespace vinorium
