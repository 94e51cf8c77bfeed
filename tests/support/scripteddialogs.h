#pragma once

#include "data/dialogservice.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <optional>
#include <vector>

namespace vinorium::test {

// A dialog service that answers from a script. Create one in a test, say
// which dialogs to expect, in order, and how the user answers them; it installs
// itself for its lifetime. Any dialog the script does not expect fails the test
// with its text, and so does an expected dialog that never came.
//
//     ScriptedDialogs dlg;
//     dlg.expectMessage(u"Voulez-vous sauvegarder", DialogService::Answer::Yes);
//     window.btn_sauverClick();
//     EXPECT_EQ(dlg.calls().size(), 1);
class ScriptedDialogs final : public DialogService {
  public:
    struct Call {
        enum class Type { Message, Input, File, Modal } type;
        Kind kind = Kind::Information;
        Buttons buttons = Buttons::Ok;
        FileKind fileKind = FileKind::Open;
        QString title;
        QString text;  // message text, input prompt, or modal window name
    };

    // Drives a modal window in place of the user and returns its result code.
    using ModalDriver = std::function<int(QObject* window)>;

    ScriptedDialogs();
    ~ScriptedDialogs() override;
    ScriptedDialogs(const ScriptedDialogs&) = delete;
    ScriptedDialogs& operator=(const ScriptedDialogs&) = delete;

    // The next dialog is a message box whose text contains textPart.
    ScriptedDialogs& expectMessage(const QString& textPart, Answer answer);
    // The next dialog is an input box whose prompt contains promptPart; nothing cancels it.
    ScriptedDialogs& expectInput(const QString& promptPart, std::optional<QString> answer);
    // The next dialog is a file dialog of that kind; nothing cancels it.
    ScriptedDialogs& expectFile(FileKind kind, std::optional<QString> answer);
    // The next dialog is the modal window of that component name.
    ScriptedDialogs& expectModal(const QString& name, ModalDriver driver);

    // Every dialog shown so far, in order.
    const std::vector<Call>& calls() const { return calls_; }
    // The texts of the message boxes shown so far.
    QStringList messages() const;
    bool done() const { return script_.empty(); }

    Answer message(Kind kind, const QString& title, const QString& text, Buttons buttons) override;
    std::optional<QString> input(const QString& title, const QString& prompt,
                                 const QString& initial) override;
    std::optional<QString> file(FileKind kind, const QString& title, const QString& folder,
                                const QString& filter) override;
    int modal(QObject* window, const QString& name) override;

  private:
    struct Step {
        Call::Type type;
        QString part;
        FileKind fileKind = FileKind::Open;
        Answer answer = Answer::Ok;
        std::optional<QString> text;
        ModalDriver driver;
    };
    // The next step when it is of that type and matches; reports a failure otherwise.
    std::optional<Step> take(const Call& call);

    std::deque<Step> script_;
    std::vector<Call> calls_;
    DialogService* previous_;
};

// Installed for the whole test program: a script that expects nothing, so that
// a dialog in a test that made no script fails that test.
class StrictDialogsEnvironment final : public ::testing::Environment {
  public:
    void SetUp() override;
    void TearDown() override;

  private:
    std::unique_ptr<ScriptedDialogs> strict_;
};

}  // namespace vinorium::test
