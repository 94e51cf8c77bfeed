#include "support/scripteddialogs.h"

namespace vinorium::test {

namespace {

DialogService* installed = nullptr;

const char* typeName(ScriptedDialogs::Call::Type type) {
    switch (type) {
        case ScriptedDialogs::Call::Type::Message:
            return "message box";
        case ScriptedDialogs::Call::Type::Input:
            return "input box";
        case ScriptedDialogs::Call::Type::File:
            return "file dialog";
        case ScriptedDialogs::Call::Type::Modal:
            return "modal window";
    }
    return "dialog";
}

DialogService::Answer closedBox(DialogService::Buttons buttons) {
    switch (buttons) {
        case DialogService::Buttons::Ok:
            return DialogService::Answer::Ok;
        case DialogService::Buttons::YesNo:
            return DialogService::Answer::No;
        case DialogService::Buttons::OkCancel:
        case DialogService::Buttons::YesNoCancel:
            return DialogService::Answer::Cancel;
    }
    return DialogService::Answer::Cancel;
}

bool offers(DialogService::Buttons buttons, DialogService::Answer answer) {
    using A = DialogService::Answer;
    using B = DialogService::Buttons;
    switch (buttons) {
        case B::Ok:
            return answer == A::Ok;
        case B::OkCancel:
            return answer == A::Ok || answer == A::Cancel;
        case B::YesNo:
            return answer == A::Yes || answer == A::No;
        case B::YesNoCancel:
            return answer == A::Yes || answer == A::No || answer == A::Cancel;
    }
    return false;
}

}  // namespace

ScriptedDialogs::ScriptedDialogs() : previous_(installed) {
    installed = this;
    setDialogService(this);
}

ScriptedDialogs::~ScriptedDialogs() {
    for (const Step& step : script_) {
        ADD_FAILURE() << "expected " << typeName(step.type) << " never shown: \"" << step.part.toStdString()
                      << "\"";
    }
    installed = previous_;
    setDialogService(previous_);
}

ScriptedDialogs& ScriptedDialogs::expectMessage(const QString& textPart, Answer answer) {
    script_.push_back({Call::Type::Message, textPart, FileKind::Open, answer, std::nullopt, {}});
    return *this;
}

ScriptedDialogs& ScriptedDialogs::expectInput(const QString& promptPart, std::optional<QString> answer) {
    script_.push_back({Call::Type::Input, promptPart, FileKind::Open, Answer::Ok, std::move(answer), {}});
    return *this;
}

ScriptedDialogs& ScriptedDialogs::expectFile(FileKind kind, std::optional<QString> answer) {
    script_.push_back({Call::Type::File, QString(), kind, Answer::Ok, std::move(answer), {}});
    return *this;
}

ScriptedDialogs& ScriptedDialogs::expectModal(const QString& name, ModalDriver driver) {
    script_.push_back({Call::Type::Modal, name, FileKind::Open, Answer::Ok, std::nullopt, std::move(driver)});
    return *this;
}

QStringList ScriptedDialogs::messages() const {
    QStringList texts;
    for (const Call& call : calls_) {
        if (call.type == Call::Type::Message) {
            texts << call.text;
        }
    }
    return texts;
}

std::optional<ScriptedDialogs::Step> ScriptedDialogs::take(const Call& call) {
    calls_.push_back(call);
    const bool matches = !script_.empty() && script_.front().type == call.type &&
                         (call.type != Call::Type::Modal ? call.text.contains(script_.front().part)
                                                         : call.text == script_.front().part) &&
                         (call.type != Call::Type::File || script_.front().fileKind == call.fileKind);
    if (!matches) {
        ADD_FAILURE() << "unexpected " << typeName(call.type) << " \"" << call.title.toStdString() << "\": \""
                      << call.text.toStdString() << "\""
                      << (script_.empty()
                              ? std::string(" (the script expected nothing more)")
                              : " (the script expected a " + std::string(typeName(script_.front().type)) +
                                    " with \"" + script_.front().part.toStdString() + "\")");
        return std::nullopt;
    }
    Step step = std::move(script_.front());
    script_.pop_front();
    return step;
}

DialogService::Answer ScriptedDialogs::message(Kind kind, const QString& boxTitle, const QString& text,
                                               Buttons buttons) {
    const auto step = take({Call::Type::Message, kind, buttons, FileKind::Open, boxTitle, text});
    if (!step) {
        return closedBox(buttons);
    }
    if (!offers(buttons, step->answer)) {
        ADD_FAILURE() << "the script answers a button the box does not offer: \"" << text.toStdString()
                      << "\"";
        return closedBox(buttons);
    }
    return step->answer;
}

std::optional<QString> ScriptedDialogs::input(const QString& boxTitle, const QString& prompt,
                                              const QString&) {
    const auto step =
        take({Call::Type::Input, Kind::Information, Buttons::OkCancel, FileKind::Open, boxTitle, prompt});
    return step ? step->text : std::nullopt;
}

std::optional<QString> ScriptedDialogs::file(FileKind kind, const QString& boxTitle, const QString&,
                                             const QString&) {
    const auto step =
        take({Call::Type::File, Kind::Information, Buttons::OkCancel, kind, boxTitle, boxTitle});
    return step ? step->text : std::nullopt;
}

int ScriptedDialogs::modal(QObject* window, const QString& name) {
    const auto step = take({Call::Type::Modal, Kind::Information, Buttons::Ok, FileKind::Open, name, name});
    if (!step || !step->driver) {
        return 0;
    }
    return step->driver(window);
}

void StrictDialogsEnvironment::SetUp() {
    strict_ = std::make_unique<ScriptedDialogs>();
}

void StrictDialogsEnvironment::TearDown() {
    strict_.reset();
}

}  // namespace vinorium::test
