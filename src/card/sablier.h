#pragma once

#include <QApplication>

namespace vinorium::card {

// The hourglass while an action runs, restored on every way out.
class Sablier {
  public:
    Sablier() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~Sablier() { QApplication::restoreOverrideCursor(); }
    Sablier(const Sablier&) = delete;
    Sablier& operator=(const Sablier&) = delete;
};

}  // namespace vinorium::card
