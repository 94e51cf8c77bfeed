#pragma once

#include "data/dialogservice.h"

class QWidget;

namespace vinorium::ui {

// The dialog service of the running programs: Qt message boxes, input boxes
// and file dialogs, with French buttons.
class QtDialogService final : public DialogService {
  public:
    Answer message(Kind kind, const QString& title, const QString& text, Buttons buttons) override;
    std::optional<QString> input(const QString& title, const QString& prompt,
                                 const QString& initial) override;
    std::optional<QString> file(FileKind kind, const QString& title, const QString& folder,
                                const QString& filter) override;
    int modal(QObject* window, const QString& name) override;
};

}  // namespace vinorium::ui
