#include "card/frmsaisie.h"

#include "support/grab.h"
#include "ui/accessibility.h"

#include <QTest>

#include <gtest/gtest.h>

namespace vinorium::card {
namespace {

TEST(TfrmSaisie, OpensTitledVinoriumWithEveryControlNamed) {
    TfrmSaisie window;
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Vinorium"));
    EXPECT_GE(window.minimumWidth(), 800);
    EXPECT_GE(window.minimumHeight(), 600);
    EXPECT_TRUE(ui::unnamedControls(&window).isEmpty()) << ui::unnamedControls(&window).join(u' ').toStdString();
    window.MajTitreFenetre(QStringLiteral("Ma cave"));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Vinorium - Ma cave"));
    test::grabToPng(&window, QStringLiteral("frmSaisie"));
}

}  // namespace
}  // namespace vinorium::card
