#include "ui/accessibility.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTextEdit>
#include <QWidget>

namespace vinorium::ui {

namespace {

QString clean(QString text) {
    text.remove(QLatin1Char('&'));
    text = text.simplified();
    while (text.endsWith(QLatin1Char(':'))) {
        text.chop(1);
        text = text.trimmed();
    }
    return text;
}

// Controls a user acts on or reads a value from; labels and plain containers
// are named by Qt itself or need no name.
bool isControl(const QWidget* w) {
    return qobject_cast<const QAbstractButton*>(w) || qobject_cast<const QLineEdit*>(w) ||
           qobject_cast<const QComboBox*>(w) || qobject_cast<const QAbstractSpinBox*>(w) ||
           qobject_cast<const QPlainTextEdit*>(w) || qobject_cast<const QTextEdit*>(w) ||
           w->inherits("QAbstractItemView") || w->inherits("QTabBar") || w->inherits("QSlider") ||
           w->inherits("QProgressBar");
}

// The internals of composite Qt widgets (a combo's line edit, a spin box's
// editor, a tab widget's bar, a scroll area's bars) take their name from their owner.
bool isInternal(const QWidget* w) {
    if (w->inherits("QHeaderView")) {
        return true;  // a view's column headers speak through the view
    }
    if (w->objectName().startsWith(QLatin1String("qt_"))) {
        return true;
    }
    // Anything inside a combo box (its editor, its drop-down list), a spin box or
    // directly inside a tab widget (its bar) belongs to that owner.
    for (const QWidget* p = w->parentWidget(); p; p = p->parentWidget()) {
        if (qobject_cast<const QComboBox*>(p) || qobject_cast<const QAbstractSpinBox*>(p)) {
            return true;
        }
    }
    return qobject_cast<const QTabWidget*>(w->parentWidget()) != nullptr;
}

QString nameFor(const QWidget* w, const QList<QLabel*>& labels) {
    for (const QLabel* label : labels) {
        if (label->buddy() == w && !clean(label->text()).isEmpty()) {
            return clean(label->text());
        }
    }
    if (const auto* button = qobject_cast<const QAbstractButton*>(w);
        button && !clean(button->text()).isEmpty()) {
        return clean(button->text());
    }
    for (const QWidget* p = w->parentWidget(); p; p = p->parentWidget()) {
        if (const auto* group = qobject_cast<const QGroupBox*>(p);
            group && !clean(group->title()).isEmpty()) {
            if (!qobject_cast<const QAbstractButton*>(w)) {
                return clean(group->title());
            }
            break;
        }
    }
    if (const QString hint = clean(shortHint(w->toolTip())); !hint.isEmpty()) {
        return hint;
    }
    if (const auto* edit = qobject_cast<const QLineEdit*>(w); edit && !edit->placeholderText().isEmpty()) {
        return clean(edit->placeholderText());
    }
    return {};
}

// The name a screen reader hears for a widget: Qt's own (accessible name,
// caption, buddy label's text), as the desktop accessibility tree shows it.
QString spokenName(QWidget* w) {
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(w);
    return iface ? iface->text(QAccessible::Name).trimmed() : w->accessibleName();
}

}  // namespace

QString shortHint(const QString& hint) {
    const qsizetype bar = hint.indexOf(QLatin1Char('|'));
    return bar < 0 ? hint : hint.left(bar);
}

void nameControls(QWidget* window) {
    if (window->accessibleName().isEmpty() && !window->windowTitle().isEmpty()) {
        window->setAccessibleName(window->windowTitle());
    }
    const QList<QLabel*> labels = window->findChildren<QLabel*>();
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (!isControl(w) || !spokenName(w).isEmpty()) {
            continue;  // Qt already names it, from its caption or its label
        }
        QString name = nameFor(w, labels);
        if (name.isEmpty() && isInternal(w) && w->parentWidget()) {
            name = w->parentWidget()->accessibleName();
        }
        if (!name.isEmpty()) {
            w->setAccessibleName(name);
        }
    }
}

QStringList unnamedControls(QWidget* window) {
    QStringList names;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (isControl(w) && !isInternal(w) && spokenName(w).isEmpty()) {
            names << (w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className())
                                                : w->objectName());
        }
    }
    return names;
}

}  // namespace vinorium::ui
