#include "ui/flatcolors.h"

#include <QWidget>

#include <algorithm>
#include <cmath>
#include <vector>

namespace vinorium::ui {

namespace {

constexpr std::uint32_t bit(FlatRole role) {
    return 1u << static_cast<unsigned>(role);
}

template <typename... Roles>
constexpr std::uint32_t bits(Roles... roles) {
    return (0u | ... | bit(roles));
}

using R = FlatRole;

// Which colour properties each kind has; see the table in flatcontrols.h.
constexpr std::uint32_t rolesOf(FlatKind kind) {
    switch (kind) {
        case FlatKind::Button:
        case FlatKind::SpeedButton: {
            const std::uint32_t common = bits(R::Color, R::ColorFocused, R::ColorDown, R::ColorBorder,
                                              R::ColorHighLight, R::ColorShadow);
            return kind == FlatKind::SpeedButton ? common | bit(R::FontColor) : common;
        }
        case FlatKind::Edit:
        case FlatKind::Memo:
            return bits(R::ColorFlat, R::ColorFocused, R::ColorBorder, R::FontColor);
        case FlatKind::ComboBox:
            return bits(R::Color, R::ColorArrowBackground, R::ColorBorder, R::FontColor);
        case FlatKind::RadioButton:
            return bits(R::FontColor, R::ColorDot, R::ColorDown, R::ColorFocused);
        case FlatKind::CheckBox:
            return bits(R::FontColor, R::ColorCheck, R::ColorDown, R::ColorFocused);
        case FlatKind::Panel:
            return bits(R::Color, R::ColorHighLight, R::ColorShadow);
        case FlatKind::TabControl:
            return bits(R::Color, R::ColorBorder, R::ColorUnselectedTab);
        case FlatKind::SpinEditInteger:
            return bits(R::ColorFlat, R::ColorFocused, R::ColorBorder);
        case FlatKind::Splitter:
            return 0;
        case FlatKind::Gauge:
            return bit(R::BarColor);
    }
    return 0;
}

// Neutral greys of the untouched look.
const QColor kFace(240, 240, 240);
const QColor kHover(225, 225, 225);
const QColor kPressed(200, 200, 200);
const QColor kFocus(96, 96, 96);
const QColor kField(255, 255, 255);
const QColor kText(0, 0, 0);
const QColor kMark(51, 51, 51);

QString css(const QColor& c) {
    if (!c.isValid()) {
        return QStringLiteral("transparent");
    }
    if (c.alpha() == 255) {
        return QStringLiteral("rgb(%1, %2, %3)").arg(c.red()).arg(c.green()).arg(c.blue());
    }
    return QStringLiteral("rgba(%1, %2, %3, %4)").arg(c.red()).arg(c.green()).arg(c.blue()).arg(c.alpha());
}

double luminance(const QColor& c) {
    auto channel = [](int v) {
        const double s = v / 255.0;
        return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(c.red()) + 0.7152 * channel(c.green()) + 0.0722 * channel(c.blue());
}

double contrast(const QColor& a, const QColor& b) {
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// Flat scroll bars for the scrolling kinds: a thin groove in the field colour
// and a handle in the border colour, without arrow buttons.
QString scrollBars(const QString& owner, const QColor& field, const QColor& border) {
    return QStringLiteral(
               "%1 QScrollBar:vertical { background: %2; width: 12px; margin: 0; border: none;"
               " border-left: 1px solid %3; }"
               "%1 QScrollBar:horizontal { background: %2; height: 12px; margin: 0; border: none;"
               " border-top: 1px solid %3; }"
               "%1 QScrollBar::handle { background: %3; margin: 2px; }"
               "%1 QScrollBar::handle:vertical { min-height: 20px; }"
               "%1 QScrollBar::handle:horizontal { min-width: 20px; }"
               "%1 QScrollBar::add-line, %1 QScrollBar::sub-line { width: 0; height: 0; border: none; }"
               "%1 QScrollBar::add-page, %1 QScrollBar::sub-page { background: none; }")
        .arg(owner, css(field), css(border));
}

// Buttons: flat at rest (face and border); under the mouse or with the
// keyboard focus, the focused face raised by a highlight on the top and left
// and a shadow on the bottom and right; pressed or down, the down face sunk
// (the two lines swapped).
QString buttonSheet(const QString& self, const FlatColors& c, const QColor& caption, const QString& padding) {
    const QColor face = c.get(R::Color);
    const QColor focused = c.get(R::ColorFocused);
    const QColor down = c.get(R::ColorDown);
    const QString light = css(c.get(R::ColorHighLight));
    const QString dark = css(c.get(R::ColorShadow));
    return QStringLiteral(
               "%1 { background-color: %2; color: %3; border: 1px solid %4; padding: %5; }"
               "%1:hover, %1:focus { background-color: %6; color: %7; border-top-color: %8;"
               " border-left-color: %8; border-bottom-color: %9; border-right-color: %9; }"
               "%1:pressed, %1:checked { background-color: %10; color: %11; border-top-color: %9;"
               " border-left-color: %9; border-bottom-color: %8; border-right-color: %8; }"
               "%1:disabled { color: %12; }"
               "%1::menu-indicator { image: none; width: 0; }")
        .arg(self, css(face), css(readableOn(face, caption)), css(c.get(R::ColorBorder)), padding,
             css(focused), css(readableOn(focused, caption)), light, dark)
        .arg(css(down), css(readableOn(down, caption)), css(mixColors(caption, face, 0.55)));
}

QString editSheet(const QString& self, const FlatColors& c, const QColor& text, const QString& padding) {
    const QColor field = c.get(R::ColorFlat);
    const QColor border = c.get(R::ColorBorder);
    return QStringLiteral(
               "%1 { background-color: %2; color: %3; border: 1px solid %4; padding: %5;"
               " selection-background-color: %4; selection-color: %6; }"
               "%1:focus { background-color: %7; }"
               "%1:disabled { color: %8; }")
        .arg(self, css(field), css(text), css(border), padding, css(readableOn(border, field)),
             css(c.get(R::ColorFocused)), css(mixColors(text, field, 0.5)));
}

}  // namespace

const char* flatRoleName(FlatRole role) {
    static constexpr std::array<const char*, kFlatRoleCount> kNames = {
        "Color",     "ColorFocused",         "ColorDown", "ColorBorder", "ColorHighLight",     "ColorShadow",
        "ColorFlat", "ColorArrowBackground", "ColorDot",  "ColorCheck",  "ColorUnselectedTab", "BarColor",
        "FontColor"};
    return kNames[static_cast<std::size_t>(role)];
}

bool flatKindHas(FlatKind kind, FlatRole role) {
    return (rolesOf(kind) & bit(role)) != 0;
}

FlatColors FlatColors::defaults(FlatKind kind) {
    const QColor border = QColor::fromRgb(flat::kDefaultBorder);
    const QColor caption = QColor::fromRgb(flat::kCaption);
    FlatColors c;
    switch (kind) {
        case FlatKind::Button:
        case FlatKind::SpeedButton:
            c.set(R::Color, kFace);
            c.set(R::ColorFocused, kHover);
            c.set(R::ColorDown, kPressed);
            c.set(R::ColorBorder, border);
            c.set(R::ColorHighLight, QColor(255, 255, 255));
            c.set(R::ColorShadow, QColor(128, 128, 128));
            if (kind == FlatKind::SpeedButton) {
                c.set(R::FontColor, caption);
            }
            break;
        case FlatKind::Edit:
        case FlatKind::Memo:
            c.set(R::ColorFlat, kField);
            c.set(R::ColorFocused, kField);
            c.set(R::ColorBorder, border);
            c.set(R::FontColor, kText);
            break;
        case FlatKind::ComboBox:
            c.set(R::Color, kField);
            c.set(R::ColorArrowBackground, kFace);
            c.set(R::ColorBorder, border);
            c.set(R::FontColor, kText);
            break;
        case FlatKind::RadioButton:
        case FlatKind::CheckBox:
            c.set(R::FontColor, caption);
            c.set(kind == FlatKind::RadioButton ? R::ColorDot : R::ColorCheck, kMark);
            c.set(R::ColorDown, kPressed);
            c.set(R::ColorFocused, kFocus);
            break;
        case FlatKind::Panel:
            // Color stays unset: the panel shows its parent's background.
            c.set(R::ColorHighLight, border);
            c.set(R::ColorShadow, border);
            break;
        case FlatKind::TabControl:
            c.set(R::Color, QColor(250, 250, 250));
            c.set(R::ColorBorder, border);
            c.set(R::ColorUnselectedTab, QColor(228, 228, 228));
            break;
        case FlatKind::SpinEditInteger:
            c.set(R::ColorFlat, kField);
            c.set(R::ColorFocused, kField);
            c.set(R::ColorBorder, border);
            break;
        case FlatKind::Splitter:
            break;
        case FlatKind::Gauge:
            c.set(R::BarColor, QColor(110, 110, 110));
            break;
    }
    return c;
}

QColor readableOn(const QColor& background, const QColor& preferred) {
    if (!background.isValid() || contrast(background, preferred) >= 3.0) {
        return preferred;
    }
    const QColor black(0, 0, 0);
    const QColor white(255, 255, 255);
    return contrast(background, black) >= contrast(background, white) ? black : white;
}

QColor mixColors(const QColor& a, const QColor& b, double t) {
    if (!b.isValid()) {
        return a;
    }
    auto mix = [t](int x, int y) { return static_cast<int>(std::lround(x + (y - x) * t)); };
    return QColor(mix(a.red(), b.red()), mix(a.green(), b.green()), mix(a.blue(), b.blue()));
}

QString flatStyleSheet(FlatKind kind, const FlatColors& c) {
    const QColor caption = QColor::fromRgb(flat::kCaption);
    switch (kind) {
        case FlatKind::Button:
            return buttonSheet(QStringLiteral("vinorium--ui--FlatButton"), c, caption,
                               QStringLiteral("3px 12px"));
        case FlatKind::SpeedButton:
            return buttonSheet(QStringLiteral("vinorium--ui--FlatSpeedButton"), c, c.get(R::FontColor),
                               QStringLiteral("2px"));
        case FlatKind::Edit:
            return editSheet(QStringLiteral("vinorium--ui--FlatEdit"), c, c.get(R::FontColor),
                             QStringLiteral("1px 3px"));
        case FlatKind::Memo: {
            const QString self = QStringLiteral("vinorium--ui--FlatMemo");
            return editSheet(self, c, c.get(R::FontColor), QStringLiteral("0")) +
                   scrollBars(self, c.get(R::ColorFlat), c.get(R::ColorBorder));
        }
        case FlatKind::ComboBox: {
            const QString self = QStringLiteral("vinorium--ui--FlatComboBox");
            const QColor field = c.get(R::Color);
            const QColor text = c.get(R::FontColor);
            const QColor border = c.get(R::ColorBorder);
            return QStringLiteral(
                       "%1 { background-color: %2; color: %3; border: 1px solid %4;"
                       " padding: 1px 18px 1px 5px; selection-background-color: %4; selection-color: %5; }"
                       "%1:disabled { color: %6; }"
                       "%1::drop-down { subcontrol-origin: border; subcontrol-position: top right;"
                       " width: 16px; border: 1px solid %4; background-color: %7; }"
                       "%1::down-arrow { image: none; width: 0; height: 0; }"
                       "%1 QLineEdit { background: transparent; color: %3; border: none; padding: 0;"
                       " selection-background-color: %4; selection-color: %5; }"
                       "%1 QAbstractItemView { background-color: %2; color: %3; border: 1px solid %4;"
                       " selection-background-color: %4; selection-color: %5; outline: 0; }")
                       .arg(self, css(field), css(text), css(border), css(readableOn(border, field)),
                            css(mixColors(text, field, 0.5)), css(c.get(R::ColorArrowBackground))) +
                   scrollBars(self + QStringLiteral(" QAbstractItemView"), field, border);
        }
        case FlatKind::SpinEditInteger: {
            const QString self = QStringLiteral("vinorium--ui--FlatSpinEditInteger");
            const QColor border = c.get(R::ColorBorder);
            return editSheet(self, c, QColor(0, 0, 0), QStringLiteral("1px 3px")) +
                   QStringLiteral(
                       "%1::up-button, %1::down-button { subcontrol-origin: border; width: 15px;"
                       " border: 1px solid %2; background-color: %3; }"
                       "%1::up-button { subcontrol-position: top right; }"
                       "%1::down-button { subcontrol-position: bottom right; border-top: none; }"
                       "%1::up-button:pressed, %1::down-button:pressed { background-color: %2; }"
                       "%1::up-arrow, %1::down-arrow { image: none; width: 0; height: 0; }")
                       .arg(self, css(border), css(c.get(R::ColorFlat)));
        }
        case FlatKind::Panel:
        case FlatKind::TabControl:
        case FlatKind::Splitter:
        case FlatKind::RadioButton:
        case FlatKind::CheckBox:
        case FlatKind::Gauge:
            break;
    }
    return {};
}

FlatColored::FlatColored(FlatKind kind) : kind_(kind), colors_(FlatColors::defaults(kind)) {}

FlatColored::~FlatColored() {
    if (pending_) {
        FlatColorBatch::forget(this);
    }
}

void FlatColored::change(FlatRole role, const QColor& color) {
    const QColor value = color.isValid() ? color : FlatColors::defaults(kind_).get(role);
    if (colors_.get(role) == value) {
        return;
    }
    colors_.set(role, value);
    if (FlatColorBatch::active()) {
        FlatColorBatch::note(this);
    } else {
        applyFlatColors();
    }
}

namespace {

// The open batches (on the user-interface thread) and the controls waiting
// for their end.
int batchDepth = 0;
std::vector<FlatColored*>& pendingControls() {
    static std::vector<FlatColored*> controls;
    return controls;
}

}  // namespace

FlatColorBatch::FlatColorBatch() {
    ++batchDepth;
}

FlatColorBatch::~FlatColorBatch() {
    if (--batchDepth > 0) {
        return;
    }
    // One at a time, so that a control destroyed meanwhile has left the list.
    auto& controls = pendingControls();
    while (!controls.empty()) {
        FlatColored* control = controls.front();
        controls.erase(controls.begin());
        control->pending_ = false;
        control->applyFlatColors();
    }
}

bool FlatColorBatch::active() {
    return batchDepth > 0;
}

void FlatColorBatch::note(FlatColored* control) {
    if (!control->pending_) {
        control->pending_ = true;
        pendingControls().push_back(control);
    }
}

void FlatColorBatch::forget(FlatColored* control) {
    auto& controls = pendingControls();
    controls.erase(std::remove(controls.begin(), controls.end(), control), controls.end());
}

void FlatColored::applyStyleSheet(QWidget* widget) const {
    const QString sheet = flatStyleSheet(kind_, colors_);
    if (widget->styleSheet() != sheet) {
        widget->setStyleSheet(sheet);
    }
}

}  // namespace vinorium::ui
