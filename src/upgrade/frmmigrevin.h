#pragma once

#include <QDialog>

namespace vinorium::upgrade {

// The one window of Migrevin, the upgrade tool.
class TfrmMigrevin final : public QDialog {
    Q_OBJECT

public:
    explicit TfrmMigrevin(QWidget* parent = nullptr);
};

}  // namespace vinorium::upgrade
