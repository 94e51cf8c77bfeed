#include "support/scripteddialogs.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

namespace vinorium {
namespace {

using Answer = DialogService::Answer;
using Buttons = DialogService::Buttons;

TEST(ScriptedDialogs, AnswersInOrderAndRecordsEveryCall) {
    test::ScriptedDialogs dlg;
    dlg.expectMessage(QStringLiteral("sauvegarder"), Answer::Cancel)
        .expectInput(QStringLiteral("Nom"), QStringLiteral("Ma cave"))
        .expectFile(DialogService::FileKind::Picture, std::nullopt)
        .expectModal(QStringLiteral("frmChoix"), [](QObject*) { return 2; });

    EXPECT_EQ(dialogs().ask(QStringLiteral("Voulez-vous sauvegarder ?"), Buttons::YesNoCancel),
              Answer::Cancel);
    EXPECT_EQ(dialogs().input(QStringLiteral("Vinorium"), QStringLiteral("Nom de la base"), QString()),
              QStringLiteral("Ma cave"));
    EXPECT_FALSE(
        dialogs().file(DialogService::FileKind::Picture, QStringLiteral("Etiquette"), QString(), QString()));
    EXPECT_EQ(dialogs().modal(nullptr, QStringLiteral("frmChoix")), 2);

    ASSERT_EQ(dlg.calls().size(), 4u);
    EXPECT_EQ(dlg.calls()[0].kind, DialogService::Kind::Confirmation);
    EXPECT_EQ(dlg.calls()[0].buttons, Buttons::YesNoCancel);
    EXPECT_TRUE(dlg.done());
}

TEST(ScriptedDialogs, UnexpectedDialogFailsTheTestWithItsText) {
    EXPECT_NONFATAL_FAILURE(
        {
            test::ScriptedDialogs dlg;
            dialogs().error(QStringLiteral("Erreur SQL : SELECT"));
        },
        "Erreur SQL : SELECT");
    // Without a script of its own, a test runs under the strict service.
    EXPECT_NONFATAL_FAILURE(dialogs().warning(QStringLiteral("inattendu")), "inattendu");
}

TEST(ScriptedDialogs, ExpectedDialogNeverShownFailsTheTest) {
    EXPECT_NONFATAL_FAILURE(
        {
            test::ScriptedDialogs dlg;
            dlg.expectMessage(QStringLiteral("Supprimer"), Answer::Yes);
        },
        "Supprimer");
}

TEST(ScriptedDialogs, AnswerNotOfferedByTheBoxFails) {
    EXPECT_NONFATAL_FAILURE(
        {
            test::ScriptedDialogs dlg;
            dlg.expectMessage(QStringLiteral("Attention"), Answer::Yes);
            EXPECT_EQ(dialogs().message(DialogService::Kind::Warning, QStringLiteral("t"),
                                        QStringLiteral("Attention"), Buttons::OkCancel),
                      Answer::Cancel);
        },
        "does not offer");
}

}  // namespace
}  // namespace vinorium
