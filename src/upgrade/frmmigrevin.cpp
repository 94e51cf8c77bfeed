#include "upgrade/frmmigrevin.h"

#include "ui/accessibility.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace vinorium::upgrade {

TfrmMigrevin::TfrmMigrevin(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmMigrevin"));
    setWindowTitle(QStringLiteral("Mise à jour de la base de données"));
    setMinimumSize(480, 320);

    auto* layout = new QVBoxLayout(this);
    auto* info = new QLabel(QStringLiteral("Prêt"), this);
    info->setObjectName(QStringLiteral("lblInfo"));
    layout->addWidget(info, 1);
    auto* close = new QPushButton(QStringLiteral("&Fermer"), this);
    close->setObjectName(QStringLiteral("cmdFermer"));
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    layout->addWidget(close, 0, Qt::AlignRight);

    ui::nameControls(this);
}

}  // namespace vinorium::upgrade
