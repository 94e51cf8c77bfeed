#pragma once

#include <QString>
#include <QTemporaryDir>

namespace vinorium::test {

// Points VINORIUM_CONFIG_DIR and VINORIUM_DATA_DIR at fresh temporary folders
// for its lifetime, and restores the previous values afterwards.
class TempFolders {
  public:
    TempFolders();
    ~TempFolders();
    TempFolders(const TempFolders&) = delete;
    TempFolders& operator=(const TempFolders&) = delete;

    QString config() const { return config_.path(); }
    QString data() const { return data_.path(); }
    // A path inside a scratch folder of its own, for files a test makes.
    QString scratch(const QString& name) const { return scratch_.filePath(name); }

  private:
    QTemporaryDir config_;
    QTemporaryDir data_;
    QTemporaryDir scratch_;
    QByteArray oldConfig_;
    QByteArray oldData_;
};

}  // namespace vinorium::test
