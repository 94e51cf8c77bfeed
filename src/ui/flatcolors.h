#pragma once

// Colours of the flat controls: the colour properties the theme painter sets,
// their default values per kind of control, and the style sheet that draws a
// control with them. Every flat control keeps one FlatColors value and
// regenerates its look from it whenever one of its colour properties changes.

#include <QColor>
#include <QString>

#include <array>
#include <cstdint>

class QWidget;

namespace vinorium::ui {

// The colour properties, by the names the theme painter uses (each is a
// Q_PROPERTY of that name on the kinds that have it).
enum class FlatRole : std::uint8_t {
    Color,
    ColorFocused,
    ColorDown,
    ColorBorder,
    ColorHighLight,
    ColorShadow,
    ColorFlat,
    ColorArrowBackground,
    ColorDot,
    ColorCheck,
    ColorUnselectedTab,
    BarColor,
    FontColor,
};
inline constexpr int kFlatRoleCount = 13;

// The property name of a role, e.g. "ColorBorder".
const char* flatRoleName(FlatRole role);

enum class FlatKind : std::uint8_t {
    Button,
    SpeedButton,
    Edit,
    Memo,
    ComboBox,
    RadioButton,
    CheckBox,
    Panel,
    TabControl,
    SpinEditInteger,
    Splitter,
    Gauge,
};

// Whether a kind of control has a colour property.
bool flatKindHas(FlatKind kind, FlatRole role);

// Standard colours of the suite.
namespace flat {
// Default border of every flat control, and highlight of the plan cells.
inline constexpr QRgb kDefaultBorder = 0xffa09683;  // (160, 150, 131)
// Caption colour of buttons, labels and options.
inline constexpr QRgb kCaption = 0xff4d4d39;  // (77, 77, 57)
}  // namespace flat

// One colour per role. An invalid colour means "not set": for a panel's
// Color it lets the parent show through.
class FlatColors {
  public:
    FlatColors() = default;

    // The look of a kind before any theme is applied: neutral greys.
    static FlatColors defaults(FlatKind kind);

    QColor get(FlatRole role) const { return colors_[static_cast<std::size_t>(role)]; }
    void set(FlatRole role, const QColor& color) { colors_[static_cast<std::size_t>(role)] = color; }

    bool operator==(const FlatColors& other) const = default;

  private:
    std::array<QColor, kFlatRoleCount> colors_{};
};

// The style sheet that draws a control of that kind with those colours, for
// the kinds drawn by style sheets: buttons, edits, memos, combo boxes and spin
// edits; empty for the kinds that paint themselves. Containers (panels, tab
// controls, splitters) never get a style sheet: Qt stops palette changes at a
// widget styled by one, and their children must go on following the window's
// palette.
QString flatStyleSheet(FlatKind kind, const FlatColors& colors);

// A colour to write on background: preferred when it reads there, else black
// or white, whichever reads better.
QColor readableOn(const QColor& background, const QColor& preferred);

// The colour a fraction t of the way from a to b.
QColor mixColors(const QColor& a, const QColor& b, double t);

// Base of every flat control: holds its colours and the accessors of every
// role. Each control inherits it privately and makes public (with using
// declarations and Q_PROPERTY) only the accessors of its own roles. Setting
// an invalid colour restores the kind's default.
class FlatColored {
  public:
    virtual ~FlatColored();
    FlatColored(const FlatColored&) = delete;
    FlatColored& operator=(const FlatColored&) = delete;

    FlatKind flatKind() const { return kind_; }
    const FlatColors& flatColors() const { return colors_; }

    QColor color() const { return colors_.get(FlatRole::Color); }
    void setColor(const QColor& c) { change(FlatRole::Color, c); }
    QColor colorFocused() const { return colors_.get(FlatRole::ColorFocused); }
    void setColorFocused(const QColor& c) { change(FlatRole::ColorFocused, c); }
    QColor colorDown() const { return colors_.get(FlatRole::ColorDown); }
    void setColorDown(const QColor& c) { change(FlatRole::ColorDown, c); }
    QColor colorBorder() const { return colors_.get(FlatRole::ColorBorder); }
    void setColorBorder(const QColor& c) { change(FlatRole::ColorBorder, c); }
    QColor colorHighLight() const { return colors_.get(FlatRole::ColorHighLight); }
    void setColorHighLight(const QColor& c) { change(FlatRole::ColorHighLight, c); }
    QColor colorShadow() const { return colors_.get(FlatRole::ColorShadow); }
    void setColorShadow(const QColor& c) { change(FlatRole::ColorShadow, c); }
    QColor colorFlat() const { return colors_.get(FlatRole::ColorFlat); }
    void setColorFlat(const QColor& c) { change(FlatRole::ColorFlat, c); }
    QColor colorArrowBackground() const { return colors_.get(FlatRole::ColorArrowBackground); }
    void setColorArrowBackground(const QColor& c) { change(FlatRole::ColorArrowBackground, c); }
    QColor colorDot() const { return colors_.get(FlatRole::ColorDot); }
    void setColorDot(const QColor& c) { change(FlatRole::ColorDot, c); }
    QColor colorCheck() const { return colors_.get(FlatRole::ColorCheck); }
    void setColorCheck(const QColor& c) { change(FlatRole::ColorCheck, c); }
    QColor colorUnselectedTab() const { return colors_.get(FlatRole::ColorUnselectedTab); }
    void setColorUnselectedTab(const QColor& c) { change(FlatRole::ColorUnselectedTab, c); }
    QColor barColor() const { return colors_.get(FlatRole::BarColor); }
    void setBarColor(const QColor& c) { change(FlatRole::BarColor, c); }
    QColor fontColor() const { return colors_.get(FlatRole::FontColor); }
    void setFontColor(const QColor& c) { change(FlatRole::FontColor, c); }

  protected:
    explicit FlatColored(FlatKind kind);

    // Redraws the control with flatColors(); called after every change, or
    // once at the end of a FlatColorBatch.
    virtual void applyFlatColors() = 0;

    // For the kinds drawn by style sheets: gives widget the sheet of its
    // colours, when it differs from the one it has.
    void applyStyleSheet(QWidget* widget) const;

  private:
    friend class FlatColorBatch;

    void change(FlatRole role, const QColor& color);

    FlatKind kind_;
    FlatColors colors_;
    bool pending_ = false;  // changed during a batch, not redrawn yet
};

// Groups the colour changes of many controls, such as a window being painted
// with a theme: while a batch exists, controls only note their changes, and
// each one that changed redraws once when the outermost batch ends (a style
// sheet costs a fraction of a millisecond to apply, and a control has up to
// seven colours).
//
//     FlatColorBatch batch;
//     for (QWidget* w : controls) { w->setProperty("ColorBorder", ...); ... }
class FlatColorBatch {
  public:
    FlatColorBatch();
    ~FlatColorBatch();
    FlatColorBatch(const FlatColorBatch&) = delete;
    FlatColorBatch& operator=(const FlatColorBatch&) = delete;

  private:
    friend class FlatColored;
    static void note(FlatColored* control);
    static void forget(FlatColored* control);
    static bool active();
};

}  // namespace vinorium::ui
