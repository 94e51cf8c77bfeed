#include "startup/frminfos.h"

#include "data/dialogservice.h"
#include "data/programme.h"
#include "data/settingsstore.h"
#include "startup/frmsplash.h"
#include "ui/accessibility.h"
#include "ui/flatcontrols.h"
#include "ui/theme.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace vinorium::startup {

namespace {

// The "Path" of the current alias, read from the alias registry; "?" when the
// key or the value is missing.
QString cheminAliasCourant() {
    SettingsStore store(SettingsRoot::LocalMachine);
    if (!store.openKeyReadOnly(SettingsStore::aliasesKey() + programme().AliasCourant) ||
        !store.valueExists(QStringLiteral("Path"))) {
        return QStringLiteral("?");
    }
    return store.readString(QStringLiteral("Path"));
}

}  // namespace

TfrmInfos::TfrmInfos(QWidget* parent)
    : QDialog(parent,
              Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::CustomizeWindowHint) {
    setObjectName(QStringLiteral("frmInfos"));
    setWindowTitle(QStringLiteral("Informations"));

    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(16, 14, 16, 14);
    layout->setHorizontalSpacing(10);
    layout->setVerticalSpacing(8);
    const auto row = [this, layout](int r, const QString& name, const QString& caption,
                                    const QString& fieldName, const QString& value, QLabel*& label,
                                    ui::FlatEdit*& field) {
        label = new QLabel(caption, this);
        label->setObjectName(name);
        field = new ui::FlatEdit(this);
        field->setText(value);
        field->setObjectName(fieldName);
        field->setReadOnly(true);
        field->setMinimumWidth(320);
        label->setBuddy(field);
        layout->addWidget(label, r, 0);
        layout->addWidget(field, r, 1);
    };
    row(0, QStringLiteral("Label2"), QStringLiteral("Version de la base : "),
        QStringLiteral("txtVersionBase"), QString::number(programme().VersionBase), Label2, txtVersionBase);
    row(1, QStringLiteral("Label5"), QStringLiteral("Version du programme : "),
        QStringLiteral("txtVersionProgramme"), VersionProgramme(), Label5, txtVersionProgramme);
    row(2, QStringLiteral("Label6"), QStringLiteral("Chemin de la base :"), QStringLiteral("txtRepInstall"),
        cheminAliasCourant(), Label6, txtRepInstall);

    btnOK = new ui::FlatButton(this);
    btnOK->setText(QStringLiteral("OK"));
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setDefault(true);
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
    layout->addWidget(btnOK, 3, 1, Qt::AlignRight);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    ui::AppliqueTheme(this, true, false);
    ui::nameControls(this);
}

void TfrmInfos::Affiche() {
    dialogs().modal(this, objectName());
}

}  // namespace vinorium::startup
