#include "card/frmsaisie.h"

#include "ui/accessibility.h"

#include <QLabel>
#include <QVBoxLayout>

namespace vinorium::card {

TfrmSaisie::TfrmSaisie(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("frmSaisie"));
    setMinimumSize(800, 600);
    resize(1024, 720);

    auto* centre = new QWidget(this);
    centre->setObjectName(QStringLiteral("pnlSaisie"));
    auto* layout = new QVBoxLayout(centre);
    auto* welcome = new QLabel(QStringLiteral("Bienvenue dans Vinorium"), centre);
    welcome->setObjectName(QStringLiteral("lblBienvenue"));
    welcome->setAlignment(Qt::AlignCenter);
    layout->addWidget(welcome);
    setCentralWidget(centre);

    MajTitreFenetre();
    ui::nameControls(this);
}

void TfrmSaisie::MajTitreFenetre(const QString& alias) {
    setWindowTitle(alias.isEmpty() ? QStringLiteral("Vinorium") : QStringLiteral("Vinorium - ") + alias);
}

}  // namespace vinorium::card
