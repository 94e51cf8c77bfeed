#pragma once

// The flat-look controls every window is built from. Each kind is the closest
// Qt widget plus the colour properties the theme painter sets, published as
// Q_PROPERTY under the painter's names, so that it can walk a window and call
// setProperty("ColorBorder", colour) on whatever it finds. A kind has only the
// properties below; a property it lacks does not exist on it (indexOfProperty
// gives -1).
//
// | Kind                 | Qt base        | Colour properties and what they paint                         |
// |----------------------|----------------|---------------------------------------------------------------|
// | FlatButton           | QPushButton    | Color face and ColorBorder border at rest; ColorFocused face  |
// |                      |                | under the mouse or with the keyboard focus, raised by         |
// |                      |                | ColorHighLight on the top and left and ColorShadow on the     |
// |                      |                | bottom and right; ColorDown face while pressed, sunk (the two |
// |                      |                | lines swapped). The caption keeps the standard caption        |
// |                      |                | colour, or black or white when that does not read on the face.|
// | FlatSpeedButton      | QToolButton    | as FlatButton (it never takes the keyboard focus; down is     |
// |                      |                | also the look of a toggle that is down); FontColor caption,   |
// |                      |                | or black or white when it does not read on the face.          |
// | FlatEdit, FlatMemo   | QLineEdit,     | ColorFlat field; ColorFocused field with the focus;           |
// |                      | QPlainTextEdit | ColorBorder border, selection and memo scroll bars; FontColor |
// | FlatComboBox         | QComboBox      | Color field and list; ColorArrowBackground arrow button;      |
// |                      |                | ColorBorder border and selection; FontColor text and arrow.   |
// | FlatRadioButton      | QRadioButton   | FontColor caption and circle; ColorDot dot; ColorDown circle  |
// |                      |                | while pressed; ColorFocused dotted focus frame.               |
// | FlatCheckBox         | QCheckBox      | FontColor caption and box; ColorCheck check mark; ColorDown   |
// |                      |                | box while pressed; ColorFocused dotted focus frame.           |
// | FlatPanel            | QFrame         | Color background and window colour of its children (unset:    |
// |                      |                | the parent's shows through);                                  |
// |                      |                | ColorHighLight top and left border; ColorShadow bottom and    |
// |                      |                | right border.                                                 |
// | FlatTabControl       | QTabWidget     | Color selected tab and page; ColorUnselectedTab other tabs;   |
// |                      |                | ColorBorder borders.                                          |
// | FlatSpinEditInteger  | QSpinBox       | ColorFlat field and arrows; ColorFocused field with the       |
// |                      |                | focus; ColorBorder border and arrow marks.                    |
// | FlatSplitter         | QSplitter      | none: its handle is invisible, the background shows through.  |
// | FlatGauge            | QWidget        | BarColor bar, border and percentage.                          |
//
// Setting a colour property to an invalid QColor restores its default. The
// controls manage their own style sheets: give them colours through their
// properties, never a style sheet of one's own. Containers (windows, panels,
// tab pages) take no style sheet either: Qt stops palette changes at a widget
// styled by one, so its children would no longer follow the window's colour.
// To recolour many controls at once, hold a FlatColorBatch meanwhile.

#include "ui/flatcolors.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QSplitter>
#include <QTabWidget>
#include <QToolButton>
#include <QWidget>

namespace vinorium::ui {

class FlatButton : public QPushButton, private FlatColored {
    Q_OBJECT
    Q_PROPERTY(QColor Color READ color WRITE setColor)
    Q_PROPERTY(QColor ColorFocused READ colorFocused WRITE setColorFocused)
    Q_PROPERTY(QColor ColorDown READ colorDown WRITE setColorDown)
    Q_PROPERTY(QColor ColorBorder READ colorBorder WRITE setColorBorder)
    Q_PROPERTY(QColor ColorHighLight READ colorHighLight WRITE setColorHighLight)
    Q_PROPERTY(QColor ColorShadow READ colorShadow WRITE setColorShadow)

  public:
    explicit FlatButton(QWidget* parent = nullptr);
    explicit FlatButton(const QString& text, QWidget* parent = nullptr);

    using FlatColored::color, FlatColored::setColor, FlatColored::colorFocused, FlatColored::setColorFocused,
        FlatColored::colorDown, FlatColored::setColorDown, FlatColored::colorBorder,
        FlatColored::setColorBorder, FlatColored::colorHighLight, FlatColored::setColorHighLight,
        FlatColored::colorShadow, FlatColored::setColorShadow, FlatColored::flatColors, FlatColored::flatKind;

  private:
    void applyFlatColors() override;
};

// A tool-bar or toggle button, usually showing only a picture (its hint names
// it). With a group index other than 0 it is a toggle whose "down" state is
// QAbstractButton::isChecked(): pressing a button down raises the other
// buttons of the same parent with the same group index; when all-up is
// allowed, clicking the down button raises it, otherwise it stays down.
class FlatSpeedButton : public QToolButton, private FlatColored {
    Q_OBJECT
    Q_PROPERTY(QColor Color READ color WRITE setColor)
    Q_PROPERTY(QColor ColorFocused READ colorFocused WRITE setColorFocused)
    Q_PROPERTY(QColor ColorDown READ colorDown WRITE setColorDown)
    Q_PROPERTY(QColor ColorBorder READ colorBorder WRITE setColorBorder)
    Q_PROPERTY(QColor ColorHighLight READ colorHighLight WRITE setColorHighLight)
    Q_PROPERTY(QColor ColorShadow READ colorShadow WRITE setColorShadow)
    Q_PROPERTY(QColor FontColor READ fontColor WRITE setFontColor)
    Q_PROPERTY(int groupIndex READ groupIndex WRITE setGroupIndex)
    Q_PROPERTY(bool allowAllUp READ allowAllUp WRITE setAllowAllUp)

  public:
    explicit FlatSpeedButton(QWidget* parent = nullptr);

    using FlatColored::color, FlatColored::setColor, FlatColored::colorFocused, FlatColored::setColorFocused,
        FlatColored::colorDown, FlatColored::setColorDown, FlatColored::colorBorder,
        FlatColored::setColorBorder, FlatColored::colorHighLight, FlatColored::setColorHighLight,
        FlatColored::colorShadow, FlatColored::setColorShadow, FlatColored::fontColor,
        FlatColored::setFontColor, FlatColored::flatColors, FlatColored::flatKind;

    int groupIndex() const { return groupIndex_; }
    void setGroupIndex(int index);
    bool allowAllUp() const { return allowAllUp_; }
    void setAllowAllUp(bool allow) { allowAllUp_ = allow; }

  protected:
    void nextCheckState() override;

  private:
    void applyFlatColors() override;
    void raiseGroup();

    int groupIndex_ = 0;
    bool allowAllUp_ = false;
};

class FlatEdit : public QLineEdit, private FlatColored {
    Q_OBJECT
    Q_PROPERTY(QColor ColorFlat READ colorFlat WRITE setColorFlat)
    Q_PROPERTY(QColor ColorFocused READ colorFocused WRITE setColorFocused)
    Q_PROPERTY(QColor ColorBorder READ colorBorder WRITE setColorBorder)
    Q_PROPERTY(QColor FontColor READ fontColor WRITE setFontColor)

  public:
    explicit FlatEdit(QWidget* parent = nullptr);

    using FlatColored::colorFlat, FlatColored::setColorFlat, FlatColored::colorFocused,
        FlatColored::setColorFocused, FlatColored::colorBorder, FlatColored::setColorBorder,
        FlatColored::fontColor, FlatColored::setFontColor, FlatColored::flatColors, FlatColored::flatKind;

  private:
    void applyFlatColors() override;
};

class FlatMemo : public QPlainTextEdit, private FlatColored {
    Q_OBJECT
    Q_PROPERTY(QColor ColorFlat READ colorFlat WRITE setColorFlat)
    Q_PROPERTY(QColor ColorFocused READ colorFocused WRITE setColorFocused)
    Q_PROPERTY(QColor ColorBorder READ colorBorder WRITE setColorBorder)
    Q_PROPERTY(QColor FontColor READ fontColor WRITE setFontColor)

  public:
    explicit FlatMemo(QWidget* parent = nullptr);

    using FlatColored::colorFlat, FlatColored::setColorFlat, FlatColored::colorFocused,
        FlatColored::setColorFocused, FlatColored::colorBorder, FlatColored::setColorBorder,
        FlatColored::fontColor, FlatColored::setFontColor, FlatColored::flatColors, FlatColored::flatKind;

  private:
    void applyFlatColors() override;
};

class FlatComboBox : public QComboBox, private FlatColored {
    Q_OBJECT
    Q_PROPERTY(QColor Color READ color WRITE setColor)
    Q_PROPERTY(QColor ColorArrowBackground READ colorArrowBackground WRITE setColorArrowBackground)
    Q_PROPERTY(QColor ColorBorder READ colorBorder WRITE setColorBorder)
    Q_PROPERTY(QColor FontColor READ fontColor WRITE setFontColor)

  public:
    explicit FlatComboBox(QWidget* parent = nullptr);

    using FlatColored::color, FlatColored::setColor, FlatColored::colorArrowBackground,
        FlatColored::setColorArrowBackground, FlatColored::colorBorder, FlatColored::setColorBorder,
        FlatColored::fontColor, FlatColored::setFontColor, FlatColored::flatColors, FlatColored::flatKind;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void childEvent(QChildEvent* event) override;

  private:
    void applyFlatColors() override;
};

class FlatRadioButton : public QRadioButton, private FlatColored {
    Q_OBJECT
    Q_PROPERTY(QColor FontColor READ fontColor WRITE setFontColor)
    Q_PROPERTY(QColor ColorDot READ colorDot WRITE setColorDot)
    Q_PROPERTY(QColor ColorDown READ colorDown WRITE setColorDown)
    Q_PROPERTY(QColor ColorFocused READ colorFocused WRITE setColorFocused)

  public:
    explicit FlatRadioButton(QWidget* parent = nullptr);
    explicit FlatRadioButton(const QString& text, QWidget* parent = nullptr);

    using FlatColored::fontColor, FlatColored::setFontColor, FlatColored::colorDot, FlatColored::setColorDot,
        FlatColored::colorDown, FlatColored::setColorDown, FlatColored::colorFocused,
        FlatColored::setColorFocused, FlatColored::flatColors, FlatColored::flatKind;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;
    bool hitButton(const QPoint& pos) const override;

  private:
    void applyFlatColors() override;
};

class FlatCheckBox : public QCheckBox, private FlatColored {
    Q_OBJECT
    Q_PROPERTY(QColor FontColor READ fontColor WRITE setFontColor)
    Q_PROPERTY(QColor ColorCheck READ colorCheck WRITE setColorCheck)
    Q_PROPERTY(QColor ColorDown READ colorDown WRITE setColorDown)
    Q_PROPERTY(QColor ColorFocused READ colorFocused WRITE setColorFocused)

  public:
    explicit FlatCheckBox(QWidget* parent = nullptr);
    explicit FlatCheckBox(const QString& text, QWidget* parent = nullptr);

    using FlatColored::fontColor, FlatColored::setFontColor, FlatColored::colorCheck,
        FlatColored::setColorCheck, FlatColored::colorDown, FlatColored::setColorDown,
        FlatColored::colorFocused, FlatColored::setColorFocused, FlatColored::flatColors,
        FlatColored::flatKind;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;
    bool hitButton(const QPoint& pos) const override;

  private:
    void applyFlatColors() override;
};

class FlatPanel : public QFrame, private FlatColored {
    Q_OBJECT
    Q_PROPERTY(QColor Color READ color WRITE setColor)
    Q_PROPERTY(QColor ColorHighLight READ colorHighLight WRITE setColorHighLight)
    Q_PROPERTY(QColor ColorShadow READ colorShadow WRITE setColorShadow)

  public:
    explicit FlatPanel(QWidget* parent = nullptr);

    using FlatColored::color, FlatColored::setColor, FlatColored::colorHighLight,
        FlatColored::setColorHighLight, FlatColored::colorShadow, FlatColored::setColorShadow,
        FlatColored::flatColors, FlatColored::flatKind;

    // The colour the panel shows: its own, else its parent's.
    QColor shownColor() const { return palette().color(QPalette::Window); }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    void applyFlatColors() override;
};

// Tabs over a page area: each tab shows its page (addTab). Windows that show
// panels of their own on a tab change can give every tab an empty page. The
// pages inherit Color as their window colour.
class FlatTabControl : public QTabWidget, private FlatColored {
    Q_OBJECT
    Q_PROPERTY(QColor Color READ color WRITE setColor)
    Q_PROPERTY(QColor ColorBorder READ colorBorder WRITE setColorBorder)
    Q_PROPERTY(QColor ColorUnselectedTab READ colorUnselectedTab WRITE setColorUnselectedTab)

  public:
    explicit FlatTabControl(QWidget* parent = nullptr);

    using FlatColored::color, FlatColored::setColor, FlatColored::colorBorder, FlatColored::setColorBorder,
        FlatColored::colorUnselectedTab, FlatColored::setColorUnselectedTab, FlatColored::flatColors,
        FlatColored::flatKind;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    void applyFlatColors() override;
};

class FlatSpinEditInteger : public QSpinBox, private FlatColored {
    Q_OBJECT
    Q_PROPERTY(QColor ColorFlat READ colorFlat WRITE setColorFlat)
    Q_PROPERTY(QColor ColorFocused READ colorFocused WRITE setColorFocused)
    Q_PROPERTY(QColor ColorBorder READ colorBorder WRITE setColorBorder)

  public:
    explicit FlatSpinEditInteger(QWidget* parent = nullptr);

    using FlatColored::colorFlat, FlatColored::setColorFlat, FlatColored::colorFocused,
        FlatColored::setColorFocused, FlatColored::colorBorder, FlatColored::setColorBorder,
        FlatColored::flatColors, FlatColored::flatKind;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    void applyFlatColors() override;
};

class FlatSplitter : public QSplitter, private FlatColored {
    Q_OBJECT

  public:
    explicit FlatSplitter(QWidget* parent = nullptr);
    explicit FlatSplitter(Qt::Orientation orientation, QWidget* parent = nullptr);

    using FlatColored::flatColors, FlatColored::flatKind;

  protected:
    QSplitterHandle* createHandle() override;

  private:
    void applyFlatColors() override {}
};

// A progress bar with its percentage written in the middle. The percentage is
// the truncated share of value between minimum and maximum.
class FlatGauge : public QWidget, private FlatColored {
    Q_OBJECT
    Q_PROPERTY(QColor BarColor READ barColor WRITE setBarColor)
    Q_PROPERTY(int minimum READ minimum WRITE setMinimum)
    Q_PROPERTY(int maximum READ maximum WRITE setMaximum)
    Q_PROPERTY(int value READ value WRITE setValue)

  public:
    explicit FlatGauge(QWidget* parent = nullptr);

    using FlatColored::barColor, FlatColored::setBarColor, FlatColored::flatColors, FlatColored::flatKind;

    int minimum() const { return minimum_; }
    void setMinimum(int minimum);
    int maximum() const { return maximum_; }
    void setMaximum(int maximum);
    void setRange(int minimum, int maximum);
    int value() const { return value_; }
    // Kept within the range.
    void setValue(int value);
    // 0 to 100.
    int percent() const;

    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    void applyFlatColors() override;

    int minimum_ = 0;
    int maximum_ = 100;
    int value_ = 0;
};

}  // namespace vinorium::ui
