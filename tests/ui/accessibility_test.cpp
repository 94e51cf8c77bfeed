#include "ui/accessibility.h"

#include "ui/flatcontrols.h"

#include <QAccessible>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace vinorium::ui {
namespace {

// What a screen reader hears for a control.
QString heard(QWidget* w) {
    return QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name);
}

TEST(Accessibility, ControlsTakeTheirLabelCaptionOrShortHint) {
    QWidget window;
    window.setWindowTitle(QStringLiteral("Fiche"));
    auto* layout = new QVBoxLayout(&window);
    auto* label = new QLabel(QStringLiteral("&Récoltant :"), &window);
    auto* recoltant = new FlatEdit(&window);
    recoltant->setObjectName(QStringLiteral("txt_recoltant"));
    label->setBuddy(recoltant);
    auto* sauver = new FlatSpeedButton(&window);
    sauver->setObjectName(QStringLiteral("btn_sauver"));
    sauver->setToolTip(QStringLiteral("Sauver|Enregistre la fiche du vin"));
    auto* ok = new FlatButton(&window);
    ok->setText(QStringLiteral("&OK"));
    auto* groupe = new QGroupBox(QStringLiteral("Millésime"), &window);
    auto* annee = new FlatSpinEditInteger(groupe);
    annee->setObjectName(QStringLiteral("txt_millesime"));
    auto* anonyme = new FlatEdit(&window);
    anonyme->setObjectName(QStringLiteral("txtSansNom"));
    for (QWidget* w : std::initializer_list<QWidget*>{label, recoltant, sauver, ok, groupe, anonyme}) {
        layout->addWidget(w);
    }

    nameControls(&window);
    EXPECT_EQ(heard(sauver), QStringLiteral("Sauver"));
    EXPECT_EQ(heard(annee), QStringLiteral("Millésime"));
    EXPECT_EQ(heard(recoltant), QStringLiteral("Récoltant :"));
    EXPECT_EQ(heard(ok), QStringLiteral("OK"));
    EXPECT_EQ(window.accessibleName(), QStringLiteral("Fiche"));
    EXPECT_EQ(unnamedControls(&window), QStringList{QStringLiteral("txtSansNom")});
    EXPECT_EQ(shortHint(QStringLiteral("Nouveau|Crée une fiche")), QStringLiteral("Nouveau"));
    EXPECT_EQ(shortHint(QStringLiteral("Sans barre")), QStringLiteral("Sans barre"));
}

}  // namespace
}  // namespace vinorium::ui
