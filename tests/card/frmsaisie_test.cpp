#include "card/frmsaisie.h"

#include "support/grab.h"
#include "ui/accessibility.h"

#include <QTest>

#include <gtest/gtest.h>

namespace vinorium::card {
namespace {

TEST(TfrmSaisie, TitleFollowsSelectionAndModeAndEveryControlIsNamed) {
    TfrmSaisie window;
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_EQ(window.windowTitle(),
              QStringLiteral("Vinorium / Tous les vins sélectionnés / Nouvelle saisie (recherche ou vin)"));
    EXPECT_GE(window.minimumWidth(), 800);
    EXPECT_GE(window.minimumHeight(), 600);
    EXPECT_TRUE(ui::unnamedControls(&window).isEmpty())
        << ui::unnamedControls(&window).join(u' ').toStdString();
    window.etat().TousLesVins = false;
    window.etat().ModeNouveau = false;
    window.MajTitreFenetre();
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Vinorium / Sélection en cours / Modification d'un vin"));
    test::grabToPng(&window, QStringLiteral("frmSaisie"));
}

}  // namespace
}  // namespace vinorium::card
