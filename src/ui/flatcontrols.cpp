#include "ui/flatcontrols.h"

#include <QChildEvent>
#include <QPainter>
#include <QStyleOptionComboBox>
#include <QStyleOptionSpinBox>
#include <QTabBar>

#include <algorithm>

namespace vinorium::ui {

namespace {

// Side of the box of a check box and of the circle of a radio button, and the
// room between it and the caption.
constexpr int kIndicator = 13;
constexpr int kIndicatorGap = 5;

// A small crisp triangle (rows of 7, 5, 3 and 1 pixels) centred in rect,
// pointing up or down.
void drawArrow(QPainter& p, const QRect& rect, bool up, const QColor& color) {
    constexpr int kRows = 4;
    if (rect.width() < 2 * kRows + 1 || rect.height() < kRows + 2) {
        return;
    }
    const int cx = rect.left() + (rect.width() - 1) / 2;
    const int top = rect.top() + (rect.height() - kRows) / 2;
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(color);
    for (int i = 0; i < kRows; ++i) {
        const int half = up ? i : kRows - 1 - i;
        p.drawLine(cx - half, top + i, cx + half, top + i);
    }
    p.restore();
}

QRect indicatorRect(const QRect& widget) {
    return QRect(widget.left() + 1, widget.top() + (widget.height() - kIndicator) / 2, kIndicator,
                 kIndicator);
}

QSize choiceSizeHint(const QAbstractButton* b) {
    const QFontMetrics fm = b->fontMetrics();
    int width = kIndicator + 2;
    if (!b->text().isEmpty()) {
        width += kIndicatorGap + fm.size(Qt::TextShowMnemonic, b->text()).width() + 3;
    }
    return QSize(width, std::max(kIndicator + 2, fm.height() + 4));
}

// Draws a radio button (round) or a check box: the indicator in the caption
// colour on a white ground (the pressed colour while pressed), its mark, the
// caption, and a dotted frame round the caption while it has the focus.
void paintChoice(QAbstractButton* b, const FlatColors& c, bool round, const QColor& mark, bool partial) {
    QPainter p(b);
    const QColor ground = b->palette().color(b->backgroundRole());
    const bool enabled = b->isEnabled();
    const QColor text =
        enabled ? c.get(FlatRole::FontColor) : mixColors(c.get(FlatRole::FontColor), ground, 0.55);
    const QColor markColor = enabled ? mark : mixColors(mark, ground, 0.55);
    QColor fill = b->isDown() ? c.get(FlatRole::ColorDown) : QColor(255, 255, 255);
    if (!enabled) {
        fill = mixColors(fill, ground, 0.5);
    }

    const QRect box = indicatorRect(b->rect());
    const QRectF frame = QRectF(box).adjusted(0.5, 0.5, -0.5, -0.5);
    if (round) {
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(text, 1));
        p.setBrush(fill);
        p.drawEllipse(frame);
        if (b->isChecked()) {
            p.setPen(Qt::NoPen);
            p.setBrush(markColor);
            p.drawEllipse(QRectF(box).adjusted(3.5, 3.5, -3.5, -3.5));
        }
    } else {
        p.setPen(QPen(text, 1));
        p.setBrush(fill);
        p.drawRect(frame);
        if (partial) {
            p.fillRect(box.adjusted(3, 3, -3, -3), markColor);
        } else if (b->isChecked()) {
            p.setRenderHint(QPainter::Antialiasing);
            QPen pen(markColor, 2);
            pen.setCapStyle(Qt::SquareCap);
            pen.setJoinStyle(Qt::MiterJoin);
            p.setPen(pen);
            const QPointF points[] = {{box.left() + 3.0, box.top() + 6.5},
                                      {box.left() + 5.5, box.top() + 9.0},
                                      {box.left() + 10.0, box.top() + 3.5}};
            p.drawPolyline(points, 3);
        }
    }

    if (b->text().isEmpty()) {
        return;
    }
    p.setRenderHint(QPainter::Antialiasing, false);
    const QRect area(box.right() + 1 + kIndicatorGap, 0, b->width() - box.right() - 1 - kIndicatorGap,
                     b->height());
    constexpr int flags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic;
    p.setPen(text);
    p.drawText(area, flags, b->text());
    if (b->hasFocus()) {
        const QRect used =
            p.boundingRect(area, flags, b->text()).adjusted(-2, 0, 1, -1) & b->rect().adjusted(0, 0, -1, -1);
        p.setPen(QPen(c.get(FlatRole::ColorFocused), 1, Qt::DotLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(used);
    }
}

}  // namespace

// --- FlatButton

FlatButton::FlatButton(QWidget* parent) : QPushButton(parent), FlatColored(FlatKind::Button) {
    applyFlatColors();
}

FlatButton::FlatButton(const QString& text, QWidget* parent) : FlatButton(parent) {
    setText(text);
}

void FlatButton::applyFlatColors() {
    applyStyleSheet(this);
}

// --- FlatSpeedButton

FlatSpeedButton::FlatSpeedButton(QWidget* parent) : QToolButton(parent), FlatColored(FlatKind::SpeedButton) {
    setFocusPolicy(Qt::NoFocus);
    setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    connect(this, &QAbstractButton::toggled, this, [this](bool down) {
        if (down) {
            raiseGroup();
        }
    });
    applyFlatColors();
}

void FlatSpeedButton::setGroupIndex(int index) {
    groupIndex_ = index;
    if (index == 0) {
        setChecked(false);
    }
    setCheckable(index != 0);
    if (isChecked()) {
        raiseGroup();
    }
}

void FlatSpeedButton::nextCheckState() {
    if (!isChecked()) {
        setChecked(true);
    } else if (allowAllUp_) {
        setChecked(false);
    }
}

void FlatSpeedButton::raiseGroup() {
    QWidget* parent = parentWidget();
    if (parent == nullptr || groupIndex_ == 0) {
        return;
    }
    for (FlatSpeedButton* other : parent->findChildren<FlatSpeedButton*>(Qt::FindDirectChildrenOnly)) {
        if (other != this && other->groupIndex_ == groupIndex_) {
            other->setChecked(false);
        }
    }
}

void FlatSpeedButton::applyFlatColors() {
    applyStyleSheet(this);
}

// --- FlatEdit, FlatMemo

FlatEdit::FlatEdit(QWidget* parent) : QLineEdit(parent), FlatColored(FlatKind::Edit) {
    applyFlatColors();
}

void FlatEdit::applyFlatColors() {
    applyStyleSheet(this);
}

FlatMemo::FlatMemo(QWidget* parent) : QPlainTextEdit(parent), FlatColored(FlatKind::Memo) {
    applyFlatColors();
}

void FlatMemo::applyFlatColors() {
    applyStyleSheet(this);
}

// --- FlatComboBox

FlatComboBox::FlatComboBox(QWidget* parent) : QComboBox(parent), FlatColored(FlatKind::ComboBox) {
    applyFlatColors();
}

void FlatComboBox::applyFlatColors() {
    QString sheet = flatStyleSheet(flatKind(), flatColors());
    if (isEditable()) {
        // The line edit keeps a margin of its own: the same left edge as the
        // text of a plain combo box and of an edit.
        sheet += QStringLiteral("vinorium--ui--FlatComboBox { padding-left: 3px; }");
    }
    if (styleSheet() != sheet) {
        setStyleSheet(sheet);
    }
}

void FlatComboBox::showEvent(QShowEvent* event) {
    applyFlatColors();
    QComboBox::showEvent(event);
}

void FlatComboBox::childEvent(QChildEvent* event) {
    QComboBox::childEvent(event);
    // The line edit of an editable combo box comes and goes with setEditable.
    if (event->type() == QEvent::ChildPolished || event->type() == QEvent::ChildRemoved) {
        QMetaObject::invokeMethod(
            this, [this] { applyFlatColors(); }, Qt::QueuedConnection);
    }
}

void FlatComboBox::paintEvent(QPaintEvent* event) {
    QComboBox::paintEvent(event);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    const QRect arrow = style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxArrow, this);
    const QColor text = fontColor();
    QPainter p(this);
    drawArrow(p, arrow, false, isEnabled() ? text : mixColors(text, colorArrowBackground(), 0.55));
}

// --- FlatRadioButton, FlatCheckBox

FlatRadioButton::FlatRadioButton(QWidget* parent)
    : QRadioButton(parent), FlatColored(FlatKind::RadioButton) {}

FlatRadioButton::FlatRadioButton(const QString& text, QWidget* parent) : FlatRadioButton(parent) {
    setText(text);
}

QSize FlatRadioButton::sizeHint() const {
    return choiceSizeHint(this);
}
QSize FlatRadioButton::minimumSizeHint() const {
    return choiceSizeHint(this);
}
bool FlatRadioButton::hitButton(const QPoint& pos) const {
    return rect().contains(pos);
}
void FlatRadioButton::applyFlatColors() {
    update();
}

void FlatRadioButton::paintEvent(QPaintEvent*) {
    paintChoice(this, flatColors(), true, colorDot(), false);
}

FlatCheckBox::FlatCheckBox(QWidget* parent) : QCheckBox(parent), FlatColored(FlatKind::CheckBox) {}

FlatCheckBox::FlatCheckBox(const QString& text, QWidget* parent) : FlatCheckBox(parent) {
    setText(text);
}

QSize FlatCheckBox::sizeHint() const {
    return choiceSizeHint(this);
}
QSize FlatCheckBox::minimumSizeHint() const {
    return choiceSizeHint(this);
}
bool FlatCheckBox::hitButton(const QPoint& pos) const {
    return rect().contains(pos);
}
void FlatCheckBox::applyFlatColors() {
    update();
}

void FlatCheckBox::paintEvent(QPaintEvent*) {
    paintChoice(this, flatColors(), false, colorCheck(), checkState() == Qt::PartiallyChecked);
}

// --- FlatPanel

namespace {

// Gives widget color as its window colour, which its children inherit, or
// with an invalid color lets it inherit its parent's again.
void setWindowColor(QWidget* widget, const QColor& color) {
    QPalette windowOnly;
    windowOnly.setColor(QPalette::Window, QColor(0, 0, 0));
    QPalette palette = widget->palette();
    if (color.isValid()) {
        palette.setColor(QPalette::Window, color);
    } else {
        palette.setResolveMask(palette.resolveMask() & ~windowOnly.resolveMask());
    }
    widget->setPalette(palette);
}

}  // namespace

FlatPanel::FlatPanel(QWidget* parent) : QFrame(parent), FlatColored(FlatKind::Panel) {
    // A one-pixel frame keeps the children's area inside the border lines.
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
}

void FlatPanel::applyFlatColors() {
    setWindowColor(this, color());
    update();
}

void FlatPanel::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QRect r = rect();
    if (color().isValid()) {
        p.fillRect(r, color());
    }
    p.setPen(colorHighLight());
    p.drawLine(r.topLeft(), r.topRight());
    p.drawLine(r.topLeft(), r.bottomLeft());
    p.setPen(colorShadow());
    p.drawLine(r.bottomLeft(), r.bottomRight());
    p.drawLine(r.topRight(), r.bottomRight());
}

// --- FlatTabControl

namespace {

// The tabs of a tab control, painted by hand: a style sheet on a tab bar
// would also stop its tab control's palette from reaching the pages.
class FlatTabBar : public QTabBar {
  public:
    FlatTabBar(const FlatColors& colors, QWidget* parent) : QTabBar(parent), colors_(colors) {
        setDrawBase(false);
        setExpanding(false);
    }

  protected:
    QSize tabSizeHint(int index) const override {
        const QSize text = fontMetrics().size(Qt::TextShowMnemonic, tabText(index));
        return QSize(text.width() + 22, text.height() + 10);
    }
    QSize minimumTabSizeHint(int index) const override { return tabSizeHint(index); }

    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        const QColor caption = QColor::fromRgb(flat::kCaption);
        const int current = currentIndex();
        // The selected tab last, so that its borders lie over its neighbours'.
        std::vector<int> order;
        for (int i = 0; i < count(); ++i) {
            if (i != current) {
                order.push_back(i);
            }
        }
        if (current >= 0) {
            order.push_back(current);
        }
        for (int i : order) {
            const bool selected = i == current;
            QRect r = tabRect(i);
            r.setRight(r.right() + 1);  // neighbours share one border line
            if (!selected) {
                r.setTop(r.top() + 2);
            }
            const QColor fill = colors_.get(selected ? FlatRole::Color : FlatRole::ColorUnselectedTab);
            p.fillRect(r, fill);
            p.setPen(colors_.get(FlatRole::ColorBorder));
            p.drawLine(r.topLeft(), r.topRight());
            p.drawLine(r.topLeft(), r.bottomLeft());
            p.drawLine(r.topRight(), r.bottomRight());
            if (!selected) {
                p.drawLine(r.bottomLeft(), r.bottomRight());
            }
            QColor text = readableOn(fill, caption);
            if (!isTabEnabled(i)) {
                text = mixColors(text, fill, 0.55);
            }
            p.setPen(text);
            p.drawText(r, Qt::AlignCenter | Qt::TextShowMnemonic, tabText(i));
            if (selected && hasFocus()) {
                p.setPen(QPen(text, 1, Qt::DotLine));
                p.drawRect(r.adjusted(3, 3, -4, -4));
            }
        }
    }

  private:
    const FlatColors& colors_;
};

}  // namespace

FlatTabControl::FlatTabControl(QWidget* parent) : QTabWidget(parent), FlatColored(FlatKind::TabControl) {
    setTabBar(new FlatTabBar(flatColors(), this));
    applyFlatColors();
}

void FlatTabControl::applyFlatColors() {
    setWindowColor(this, color());
    tabBar()->update();
    update();
}

void FlatTabControl::paintEvent(QPaintEvent*) {
    // The page area, its border meeting the tabs' on the tab bar's last line.
    QRect pane = rect();
    if (count() > 0 && tabBar()->isVisible()) {
        const QRect bar = tabBar()->geometry();
        switch (tabPosition()) {
            case North:
                pane.setTop(bar.bottom());
                break;
            case South:
                pane.setBottom(bar.top());
                break;
            case West:
                pane.setLeft(bar.right());
                break;
            case East:
                pane.setRight(bar.left());
                break;
        }
    }
    QPainter p(this);
    p.fillRect(pane, color());
    p.setPen(colorBorder());
    p.setBrush(Qt::NoBrush);
    p.drawRect(pane.adjusted(0, 0, -1, -1));
}

// --- FlatSpinEditInteger

FlatSpinEditInteger::FlatSpinEditInteger(QWidget* parent)
    : QSpinBox(parent), FlatColored(FlatKind::SpinEditInteger) {
    applyFlatColors();
}

void FlatSpinEditInteger::applyFlatColors() {
    applyStyleSheet(this);
}

void FlatSpinEditInteger::paintEvent(QPaintEvent* event) {
    QSpinBox::paintEvent(event);
    QStyleOptionSpinBox option;
    initStyleOption(&option);
    QPainter p(this);
    const QColor mark = colorBorder();
    const QColor dim = mixColors(mark, colorFlat(), 0.6);
    const bool enabled = isEnabled();
    const StepEnabled steps = stepEnabled();
    drawArrow(p, style()->subControlRect(QStyle::CC_SpinBox, &option, QStyle::SC_SpinBoxUp, this), true,
              enabled && steps.testFlag(StepUpEnabled) ? mark : dim);
    drawArrow(p, style()->subControlRect(QStyle::CC_SpinBox, &option, QStyle::SC_SpinBoxDown, this), false,
              enabled && steps.testFlag(StepDownEnabled) ? mark : dim);
}

// --- FlatSplitter

FlatSplitter::FlatSplitter(QWidget* parent) : FlatSplitter(Qt::Horizontal, parent) {}

FlatSplitter::FlatSplitter(Qt::Orientation orientation, QWidget* parent)
    : QSplitter(orientation, parent), FlatColored(FlatKind::Splitter) {
    setHandleWidth(4);
}

namespace {

// A splitter handle that draws nothing: the background shows through.
class InvisibleHandle : public QSplitterHandle {
  public:
    using QSplitterHandle::QSplitterHandle;

  protected:
    void paintEvent(QPaintEvent*) override {}
};

}  // namespace

QSplitterHandle* FlatSplitter::createHandle() {
    return new InvisibleHandle(orientation(), this);
}

// --- FlatGauge

FlatGauge::FlatGauge(QWidget* parent) : QWidget(parent), FlatColored(FlatKind::Gauge) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void FlatGauge::applyFlatColors() {
    update();
}

void FlatGauge::setMinimum(int minimum) {
    setRange(minimum, std::max(minimum, maximum_));
}

void FlatGauge::setMaximum(int maximum) {
    setRange(std::min(minimum_, maximum), maximum);
}

void FlatGauge::setRange(int minimum, int maximum) {
    minimum_ = minimum;
    maximum_ = std::max(minimum, maximum);
    value_ = std::clamp(value_, minimum_, maximum_);
    update();
}

void FlatGauge::setValue(int value) {
    const int clamped = std::clamp(value, minimum_, maximum_);
    if (clamped != value_) {
        value_ = clamped;
        update();
    }
}

int FlatGauge::percent() const {
    if (maximum_ == minimum_) {
        return 0;
    }
    return static_cast<int>(100LL * (value_ - minimum_) / (static_cast<long long>(maximum_) - minimum_));
}

QSize FlatGauge::sizeHint() const {
    return QSize(150, std::max(18, fontMetrics().height() + 4));
}

void FlatGauge::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QColor bar = barColor();
    const QColor ground(255, 255, 255);
    const QRect outer = rect();
    p.fillRect(outer, ground);
    p.setPen(bar);
    p.setBrush(Qt::NoBrush);
    p.drawRect(outer.adjusted(0, 0, -1, -1));

    const QRect inner = outer.adjusted(1, 1, -1, -1);
    const int filled = inner.width() * percent() / 100;
    const QRect done(inner.left(), inner.top(), filled, inner.height());
    const QRect rest(inner.left() + filled, inner.top(), inner.width() - filled, inner.height());
    p.fillRect(done, bar);

    // The percentage, in the bar's colour over the empty part and in a colour
    // that reads on the bar over the filled part.
    const QString text = QStringLiteral("%1\u00a0%").arg(percent());
    p.setClipRect(rest);
    p.setPen(readableOn(ground, bar));
    p.drawText(inner, Qt::AlignCenter, text);
    p.setClipRect(done);
    p.setPen(readableOn(bar, ground));
    p.drawText(inner, Qt::AlignCenter, text);
}

}  // namespace vinorium::ui
