#pragma once

#include <QString>
#include <QStringList>

#include <optional>

class QObject;

namespace vinorium {

// Every message box, question, input box, file dialog and modal window of both
// programs goes through this one service. The programs install the Qt
// implementation at start-up; tests install a scripted one that answers from a
// script and fails on any dialog it was not told to expect.
class DialogService {
  public:
    enum class Kind { Error, Warning, Information, Confirmation };
    enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
    enum class Answer { Ok, Cancel, Yes, No };
    enum class FileKind { Open, Save, Picture };

    virtual ~DialogService() = default;

    // A message box. The answer is one of the buttons offered; closing the box
    // answers Cancel where offered, else No, else Ok.
    virtual Answer message(Kind kind, const QString& title, const QString& text, Buttons buttons) = 0;

    // An input box: the text typed, or nothing when cancelled.
    virtual std::optional<QString> input(const QString& title, const QString& prompt,
                                         const QString& initial) = 0;

    // A file dialog: the chosen file, or nothing when cancelled. filter is a Qt
    // name filter ("Bases Vinorium (*.mdb)").
    virtual std::optional<QString> file(FileKind kind, const QString& title, const QString& folder,
                                        const QString& filter) = 0;

    // Shows a modal window (a QDialog) and returns its result code. name is the
    // window's component name, by which a test script recognises it.
    virtual int modal(QObject* window, const QString& name) = 0;

    // Shortcuts for the common boxes.
    void error(const QString& text) { message(Kind::Error, title(), text, Buttons::Ok); }
    void warning(const QString& text) { message(Kind::Warning, title(), text, Buttons::Ok); }
    void information(const QString& text) { message(Kind::Information, title(), text, Buttons::Ok); }
    Answer ask(const QString& text, Buttons buttons = Buttons::YesNo) {
        return message(Kind::Confirmation, title(), text, buttons);
    }

    // The title of boxes that do not give one: the application's.
    static QString title();
};

// The service in use. Until one is installed, every call fails loudly in
// debug builds and answers as a closed box would.
DialogService& dialogs();
// Installs a service (not owned); nullptr restores the default.
void setDialogService(DialogService* service);

}  // namespace vinorium
