#include "ui/qtdialogservice.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

namespace vinorium::ui {

namespace {

QWidget* parentWindow() {
    return QApplication::activeWindow();
}

QMessageBox::Icon iconFor(DialogService::Kind kind) {
    switch (kind) {
        case DialogService::Kind::Error:
            return QMessageBox::Critical;
        case DialogService::Kind::Warning:
            return QMessageBox::Warning;
        case DialogService::Kind::Information:
            return QMessageBox::Information;
        case DialogService::Kind::Confirmation:
            return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

DialogService::Answer QtDialogService::message(Kind kind, const QString& title, const QString& text,
                                               Buttons buttons) {
    QMessageBox box(iconFor(kind), title, text, QMessageBox::NoButton, parentWindow());
    box.setObjectName(QStringLiteral("boiteMessage"));
    const auto add = [&box](const QString& caption, QMessageBox::ButtonRole role) {
        QPushButton* button = box.addButton(caption, role);
        button->setAccessibleName(QString(caption).remove(QLatin1Char('&')));
        return button;
    };
    QPushButton* ok = nullptr;
    QPushButton* yes = nullptr;
    QPushButton* no = nullptr;
    QPushButton* cancel = nullptr;
    switch (buttons) {
        case Buttons::Ok:
            ok = add(QStringLiteral("OK"), QMessageBox::AcceptRole);
            box.setEscapeButton(ok);
            break;
        case Buttons::OkCancel:
            ok = add(QStringLiteral("OK"), QMessageBox::AcceptRole);
            cancel = add(QStringLiteral("Annuler"), QMessageBox::RejectRole);
            break;
        case Buttons::YesNo:
            yes = add(QStringLiteral("&Oui"), QMessageBox::YesRole);
            no = add(QStringLiteral("&Non"), QMessageBox::NoRole);
            box.setEscapeButton(no);
            break;
        case Buttons::YesNoCancel:
            yes = add(QStringLiteral("&Oui"), QMessageBox::YesRole);
            no = add(QStringLiteral("&Non"), QMessageBox::NoRole);
            cancel = add(QStringLiteral("Annuler"), QMessageBox::RejectRole);
            break;
    }
    box.setDefaultButton(ok ? ok : yes);
    if (cancel) {
        box.setEscapeButton(cancel);
    }
    box.exec();
    QAbstractButton* clicked = box.clickedButton();
    if (clicked == ok) {
        return Answer::Ok;
    }
    if (clicked == yes) {
        return Answer::Yes;
    }
    if (clicked == no) {
        return Answer::No;
    }
    if (cancel) {
        return Answer::Cancel;
    }
    return buttons == Buttons::YesNo ? Answer::No : Answer::Ok;
}

std::optional<QString> QtDialogService::input(const QString& title, const QString& prompt,
                                              const QString& initial) {
    QInputDialog dialog(parentWindow());
    dialog.setWindowTitle(title);
    dialog.setLabelText(prompt);
    dialog.setTextValue(initial);
    dialog.setOkButtonText(QStringLiteral("OK"));
    dialog.setCancelButtonText(QStringLiteral("Annuler"));
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.textValue();
}

std::optional<QString> QtDialogService::file(FileKind kind, const QString& title, const QString& folder,
                                             const QString& filter) {
    QString chosen;
    switch (kind) {
        case FileKind::Open:
        case FileKind::Picture:
            chosen = QFileDialog::getOpenFileName(parentWindow(), title, folder, filter);
            break;
        case FileKind::Save:
            chosen = QFileDialog::getSaveFileName(parentWindow(), title, folder, filter);
            break;
    }
    if (chosen.isEmpty()) {
        return std::nullopt;
    }
    return chosen;
}

int QtDialogService::modal(QObject* window, const QString&) {
    auto* dialog = qobject_cast<QDialog*>(window);
    return dialog ? dialog->exec() : 0;
}

}  // namespace vinorium::ui
