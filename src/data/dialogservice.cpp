#include "data/dialogservice.h"

#include <QCoreApplication>
#include <QtGlobal>

namespace vinorium {

namespace {

// Used before a real service exists: nothing can be shown, so every dialog is
// reported on standard error and answered as a closed box would be.
class NoDialogs final : public DialogService {
  public:
    Answer message(Kind, const QString& boxTitle, const QString& text, Buttons buttons) override {
        qWarning("%s: %s", qPrintable(boxTitle), qPrintable(text));
        switch (buttons) {
            case Buttons::Ok:
                return Answer::Ok;
            case Buttons::YesNo:
                return Answer::No;
            case Buttons::OkCancel:
            case Buttons::YesNoCancel:
                return Answer::Cancel;
        }
        return Answer::Cancel;
    }
    std::optional<QString> input(const QString&, const QString& prompt, const QString&) override {
        qWarning("input refused: %s", qPrintable(prompt));
        return std::nullopt;
    }
    std::optional<QString> file(FileKind, const QString& boxTitle, const QString&, const QString&) override {
        qWarning("file dialog refused: %s", qPrintable(boxTitle));
        return std::nullopt;
    }
    int modal(QObject*, const QString& name) override {
        qWarning("modal window refused: %s", qPrintable(name));
        return 0;
    }
};

NoDialogs noDialogs;
DialogService* current = nullptr;

}  // namespace

QString DialogService::title() {
    const QString name = QCoreApplication::applicationName();
    return name.isEmpty() ? QStringLiteral("Vinorium") : name;
}

DialogService& dialogs() {
    return current ? *current : static_cast<DialogService&>(noDialogs);
}

void setDialogService(DialogService* service) {
    current = service;
}

}  // namespace vinorium
