#include "ui/flatcontrols.h"

#include <QApplication>
#include <QLabel>
#include <QTabBar>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace vinorium::ui {
namespace {

using R = FlatRole;

const FlatRole kAllRoles[] = {R::Color,       R::ColorFocused,         R::ColorDown,
                              R::ColorBorder, R::ColorHighLight,       R::ColorShadow,
                              R::ColorFlat,   R::ColorArrowBackground, R::ColorDot,
                              R::ColorCheck,  R::ColorUnselectedTab,   R::BarColor,
                              R::FontColor};

struct KindCase {
    const char* name;
    std::function<QWidget*(QWidget*)> make;
    std::vector<FlatRole> roles;
};

// The colour properties the theme painter relies on, kind by kind.
const std::vector<KindCase>& kinds() {
    static const std::vector<KindCase> cases = {
        {"FlatButton",
         [](QWidget* p) { return new FlatButton(p); },
         {R::Color, R::ColorFocused, R::ColorDown, R::ColorBorder, R::ColorHighLight, R::ColorShadow}},
        {"FlatSpeedButton",
         [](QWidget* p) { return new FlatSpeedButton(p); },
         {R::Color, R::ColorFocused, R::ColorDown, R::ColorBorder, R::ColorHighLight, R::ColorShadow,
          R::FontColor}},
        {"FlatEdit",
         [](QWidget* p) { return new FlatEdit(p); },
         {R::ColorFlat, R::ColorFocused, R::ColorBorder, R::FontColor}},
        {"FlatMemo",
         [](QWidget* p) { return new FlatMemo(p); },
         {R::ColorFlat, R::ColorFocused, R::ColorBorder, R::FontColor}},
        {"FlatComboBox",
         [](QWidget* p) { return new FlatComboBox(p); },
         {R::Color, R::ColorArrowBackground, R::ColorBorder, R::FontColor}},
        {"FlatRadioButton",
         [](QWidget* p) { return new FlatRadioButton(p); },
         {R::FontColor, R::ColorDot, R::ColorDown, R::ColorFocused}},
        {"FlatCheckBox",
         [](QWidget* p) { return new FlatCheckBox(p); },
         {R::FontColor, R::ColorCheck, R::ColorDown, R::ColorFocused}},
        {"FlatPanel",
         [](QWidget* p) { return new FlatPanel(p); },
         {R::Color, R::ColorHighLight, R::ColorShadow}},
        {"FlatTabControl",
         [](QWidget* p) { return new FlatTabControl(p); },
         {R::Color, R::ColorBorder, R::ColorUnselectedTab}},
        {"FlatSpinEditInteger",
         [](QWidget* p) { return new FlatSpinEditInteger(p); },
         {R::ColorFlat, R::ColorFocused, R::ColorBorder}},
        {"FlatSplitter", [](QWidget* p) { return new FlatSplitter(p); }, {}},
        {"FlatGauge", [](QWidget* p) { return new FlatGauge(p); }, {R::BarColor}},
    };
    return cases;
}

bool has(const std::vector<FlatRole>& roles, FlatRole role) {
    return std::find(roles.begin(), roles.end(), role) != roles.end();
}

TEST(FlatControls, EachKindPublishesExactlyItsColourProperties) {
    QWidget host;
    for (const KindCase& k : kinds()) {
        SCOPED_TRACE(k.name);
        QWidget* w = k.make(&host);
        for (FlatRole role : kAllRoles) {
            const char* name = flatRoleName(role);
            EXPECT_EQ(w->metaObject()->indexOfProperty(name) >= 0, has(k.roles, role)) << name;
        }
    }
}

TEST(FlatControls, ColourPropertiesRoundTripAndAnInvalidColourRestoresTheDefault) {
    QWidget host;
    for (const KindCase& k : kinds()) {
        SCOPED_TRACE(k.name);
        QWidget* w = k.make(&host);
        int n = 0;
        for (FlatRole role : k.roles) {
            const char* name = flatRoleName(role);
            const QVariant original = w->property(name);
            const QColor colour(10 + 17 * n, 200 - 13 * n, 30 + 11 * n);
            ++n;
            ASSERT_TRUE(w->setProperty(name, colour)) << name;
            EXPECT_EQ(w->property(name).value<QColor>(), colour) << name;
            ASSERT_TRUE(w->setProperty(name, QColor())) << name;
            EXPECT_EQ(w->property(name), original) << name;
        }
    }
}

// --- What is drawn

// A window on screen holding one control at a time.
class Stage {
  public:
    Stage() {
        window_.resize(320, 200);
        window_.show();
        QApplication::setActiveWindow(&window_);
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window_));
        // The mouse away from where the controls go.
        QTest::mouseMove(&window_, QPoint(310, 190));
    }

    template <typename T>
    T* place(T* widget, QSize size) {
        widget->setParent(&window_);
        widget->setGeometry(QRect(QPoint(10, 10), size));
        widget->show();
        return widget;
    }

    QWidget* window() { return &window_; }

  private:
    QWidget window_;
};

QImage picture(QWidget* w) {
    QCoreApplication::processEvents();
    return w->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

int countPixels(const QImage& image, const QColor& colour, const QRect& area) {
    int n = 0;
    const QRect r = area & image.rect();
    for (int y = r.top(); y <= r.bottom(); ++y) {
        for (int x = r.left(); x <= r.right(); ++x) {
            n += image.pixelColor(x, y) == colour;
        }
    }
    return n;
}

void focus(QWidget* w) {
    w->setFocus(Qt::OtherFocusReason);
    ASSERT_TRUE(w->hasFocus());
}

// A real mouse move, so that the control tracks the mouse as it does on a
// desktop (it moves twice, the control being restyled in between).
void hover(QWidget* w) {
    QTest::mouseMove(w, QPoint(w->width() / 2 - 1, w->height() / 2));
    QTest::mouseMove(w, QPoint(w->width() / 2, w->height() / 2));
    ASSERT_TRUE(w->underMouse());
}

struct DrawCase {
    const char* what;
    std::function<QWidget*(Stage&)> make;
    const char* property;
    // Puts the control in the state in which the property shows.
    std::function<void(QWidget*)> state;
    // Where the colour must appear.
    std::function<QPoint(QWidget*)> at;
};

QPoint leftInside(QWidget* w) {
    return {3, w->height() / 2};
}
QPoint leftEdge(QWidget* w) {
    return {0, w->height() / 2};
}
QPoint rightEdge(QWidget* w) {
    return {w->width() - 1, w->height() / 2};
}
QPoint rightInside(QWidget* w) {
    return {w->width() - 4, w->height() / 2};
}
QPoint centre(QWidget* w) {
    return {w->width() / 2, w->height() / 2};
}
void none(QWidget*) {}

QWidget* button(Stage& s) {
    return s.place(new FlatButton(QStringLiteral("OK")), {100, 26});
}
QWidget* speedButton(Stage& s) {
    auto* b = s.place(new FlatSpeedButton, {40, 30});
    b->setGroupIndex(1);
    return b;
}
QWidget* edit(Stage& s) {
    return s.place(new FlatEdit, {100, 24});
}
QWidget* memo(Stage& s) {
    return s.place(new FlatMemo, {100, 60});
}
QWidget* combo(Stage& s) {
    return s.place(new FlatComboBox, {120, 24});
}
QWidget* spin(Stage& s) {
    return s.place(new FlatSpinEditInteger, {80, 24});
}
QWidget* panel(Stage& s) {
    return s.place(new FlatPanel, {80, 50});
}
QWidget* tabs(Stage& s) {
    auto* t = s.place(new FlatTabControl, {200, 100});
    t->addTab(new QWidget, QStringLiteral("Un"));
    t->addTab(new QWidget, QStringLiteral("Deux"));
    return t;
}
QWidget* radio(Stage& s) {
    return s.place(new FlatRadioButton(QStringLiteral("Rouge")), {100, 22});
}
QWidget* checkBox(Stage& s) {
    return s.place(new FlatCheckBox(QStringLiteral("Cadeau")), {100, 22});
}

void down(QWidget* w) {
    static_cast<QAbstractButton*>(w)->setDown(true);
}
void checked(QWidget* w) {
    static_cast<QAbstractButton*>(w)->setChecked(true);
}
QPoint indicatorCentre(QWidget* w) {
    return {7, w->height() / 2};
}
QPoint insideIndicator(QWidget* w) {
    return {4, w->height() / 2 - 3};
}

TEST(FlatControls, EachColourPropertyChangesWhatIsDrawn) {
    const DrawCase cases[] = {
        {"button face", button, "Color", none, leftInside},
        {"button border", button, "ColorBorder", none, leftEdge},
        {"button face under the mouse", button, "ColorFocused", hover, leftInside},
        {"button face with the focus", button, "ColorFocused", focus, leftInside},
        {"button raised left", button, "ColorHighLight", hover, leftEdge},
        {"button raised right", button, "ColorShadow", focus, rightEdge},
        {"button face pressed", button, "ColorDown", down, leftInside},
        {"button sunk left", button, "ColorShadow", down, leftEdge},
        {"button sunk right", button, "ColorHighLight", down, rightEdge},
        {"speed button face", speedButton, "Color", none, centre},
        {"speed button border", speedButton, "ColorBorder", none, leftEdge},
        {"speed button face under the mouse", speedButton, "ColorFocused", hover, centre},
        {"speed button raised left", speedButton, "ColorHighLight", hover, leftEdge},
        {"speed button face down", speedButton, "ColorDown", checked, centre},
        {"speed button sunk left", speedButton, "ColorShadow", checked, leftEdge},
        {"edit field", edit, "ColorFlat", none, rightInside},
        {"edit border", edit, "ColorBorder", none, leftEdge},
        {"edit field with the focus", edit, "ColorFocused", focus, rightInside},
        {"memo field", memo, "ColorFlat", none, centre},
        {"memo border", memo, "ColorBorder", none, leftEdge},
        {"memo field with the focus", memo, "ColorFocused", focus, centre},
        {"combo field", combo, "Color", none, leftInside},
        {"combo border", combo, "ColorBorder", none, leftEdge},
        {"combo arrow button", combo, "ColorArrowBackground", none,
         [](QWidget* w) { return QPoint(w->width() - 3, 3); }},
        {"spin field", spin, "ColorFlat", none, centre},
        {"spin border", spin, "ColorBorder", none, leftEdge},
        {"spin field with the focus", spin, "ColorFocused", focus, centre},
        {"panel background", panel, "Color", none, centre},
        {"panel top and left", panel, "ColorHighLight", none,
         [](QWidget* w) { return QPoint(w->width() / 2, 0); }},
        {"panel bottom and right", panel, "ColorShadow", none,
         [](QWidget* w) { return QPoint(w->width() - 1, w->height() / 2); }},
        {"selected tab and page", tabs, "Color", none,
         [](QWidget* w) { return QPoint(w->width() / 2, w->height() - 10); }},
        {"page border", tabs, "ColorBorder", none, [](QWidget* w) { return QPoint(0, w->height() - 10); }},
        {"unselected tab", tabs, "ColorUnselectedTab", none,
         [](QWidget* w) {
             const QRect tab = static_cast<QTabWidget*>(w)->tabBar()->tabRect(1);
             return static_cast<QTabWidget*>(w)->tabBar()->mapTo(w, tab.topLeft() + QPoint(3, 3));
         }},
        {"radio dot", radio, "ColorDot", checked, indicatorCentre},
        {"radio circle pressed", radio, "ColorDown", down, insideIndicator},
        {"check box pressed", checkBox, "ColorDown", down, insideIndicator},
        {"check box frame", checkBox, "FontColor", none,
         [](QWidget* w) { return QPoint(1, w->height() / 2); }},
    };
    const QColor colour(200, 30, 120);
    for (const DrawCase& c : cases) {
        SCOPED_TRACE(c.what);
        Stage stage;
        QWidget* w = c.make(stage);
        c.state(w);
        const QPoint at = c.at(w);
        EXPECT_NE(picture(w).pixelColor(at), colour) << "already drawn so before the change";
        ASSERT_TRUE(w->setProperty(c.property, colour));
        c.state(w);
        EXPECT_EQ(picture(w).pixelColor(at), colour) << c.property << " at " << at.x() << "," << at.y();
    }
}

// Colours drawn as text or thin marks: they show somewhere in an area.
TEST(FlatControls, CaptionsAndMarksTakeTheirColours) {
    struct Case {
        const char* what;
        std::function<QWidget*(Stage&)> make;
        const char* property;
        std::function<void(QWidget*)> state;
    };
    const Case cases[] = {
        {"speed button caption",
         [](Stage& s) {
             auto* b = s.place(new FlatSpeedButton, {40, 30});
             b->setText(QStringLiteral("12"));
             return b;
         },
         "FontColor", none},
        {"edit text",
         [](Stage& s) {
             auto* e = s.place(new FlatEdit, {100, 24});
             e->setText(QStringLiteral("Médoc"));
             return e;
         },
         "FontColor", none},
        {"memo text",
         [](Stage& s) {
             auto* m = s.place(new FlatMemo, {100, 60});
             m->setPlainText(QStringLiteral("Tanins"));
             return m;
         },
         "FontColor", none},
        {"combo text",
         [](Stage& s) {
             auto* c = s.place(new FlatComboBox, {120, 24});
             c->addItem(QStringLiteral("Pomerol"));
             return c;
         },
         "FontColor", none},
        {"combo arrow", combo, "FontColor", none},
        {"radio caption", radio, "FontColor", none},
        {"check box caption", checkBox, "FontColor", none},
        {"check mark", checkBox, "ColorCheck", checked},
        {"radio focus frame", radio, "ColorFocused", focus},
        {"check box focus frame", checkBox, "ColorFocused", focus},
    };
    const QColor colour(200, 30, 120);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Stage stage;
        QWidget* w = c.make(stage);
        c.state(w);
        EXPECT_EQ(countPixels(picture(w), colour, w->rect()), 0);
        ASSERT_TRUE(w->setProperty(c.property, colour));
        EXPECT_GT(countPixels(picture(w), colour, w->rect()), 3) << c.property;
    }
}

TEST(FlatControls, ButtonCaptionStaysReadableOnADarkFace) {
    Stage stage;
    auto* b = stage.place(new FlatButton(QStringLiteral("Sauver")), {100, 26});
    auto brightest = [&] {
        const QImage image = picture(b);
        int best = 0;
        for (int y = 4; y < b->height() - 4; ++y) {
            for (int x = 14; x < b->width() - 14; ++x) {
                best = std::max(best, qGray(image.pixel(x, y)));
            }
        }
        return best;
    };
    b->setColor(QColor(250, 250, 250));
    const int onLight = brightest();
    b->setColor(QColor(20, 30, 40));
    EXPECT_GT(brightest(), 200);
    EXPECT_GE(onLight, 245);  // the light face itself
}

TEST(FlatControls, FieldTextsShareOneLeftEdge) {
    Stage stage;
    auto* e = stage.place(new FlatEdit, {120, 24});
    e->setText(QStringLiteral("Haut-Médoc"));
    auto* plain = stage.place(new FlatComboBox, {120, 24});
    plain->addItem(QStringLiteral("Haut-Médoc"));
    auto* editable = stage.place(new FlatComboBox, {120, 24});
    editable->setEditable(true);
    editable->addItem(QStringLiteral("Haut-Médoc"));
    stage.window()->setFocus();
    QTest::qWait(1);
    // The first column, after the border, holding a dark text pixel.
    auto textLeft = [](QWidget* w) {
        const QImage image = picture(w);
        for (int x = 1; x < image.width(); ++x) {
            for (int y = 2; y < image.height() - 2; ++y) {
                if (qGray(image.pixel(x, y)) < 100) {
                    return x;
                }
            }
        }
        return -1;
    };
    const int left = textLeft(e);
    EXPECT_GT(left, 1);
    EXPECT_EQ(textLeft(plain), left);
    EXPECT_EQ(textLeft(editable), left);
}

TEST(FlatControls, GaugeFillsItsShareAndWritesThePercentage) {
    Stage stage;
    auto* g = stage.place(new FlatGauge, {202, 20});
    const QColor bar(31, 95, 137);
    const QColor white(255, 255, 255);
    g->setBarColor(bar);
    g->setRange(0, 718);
    struct Case {
        int value, percent;
        QColor quarter, threeQuarters, lastColumn;
    };
    const Case cases[] = {
        {0, 0, white, white, white},  {359, 50, bar, white, white}, {700, 97, bar, bar, white},
        {718, 100, bar, bar, bar},    {2000, 100, bar, bar, bar},  // kept within the range
        {-5, 0, white, white, white},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        g->setValue(c.value);
        EXPECT_EQ(g->percent(), c.percent);
        const QImage image = picture(g);
        EXPECT_EQ(image.pixelColor(0, 10), bar) << "border";
        EXPECT_EQ(image.pixelColor(50, 1), c.quarter);
        EXPECT_EQ(image.pixelColor(150, 1), c.threeQuarters);
        EXPECT_EQ(image.pixelColor(200, 1), c.lastColumn);
        // The percentage is written in the middle, over the bar or not.
        const QRect middle(70, 2, 62, 16);
        EXPECT_LT(countPixels(image, bar, middle) + countPixels(image, white, middle), middle.width() * 16);
    }
    g->setRange(5, 5);
    EXPECT_EQ(g->percent(), 0);
}

// Counts the restylings of a widget.
class StyleChanges : public QObject {
  public:
    explicit StyleChanges(QWidget* w) { w->installEventFilter(this); }
    int count = 0;

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        count += event->type() == QEvent::StyleChange;
        return false;
    }
};

TEST(FlatControls, ABatchRedrawsEachChangedControlOnceAtItsEnd) {
    Stage stage;
    auto* once = stage.place(new FlatEdit, {100, 24});
    auto* batched = stage.place(new FlatEdit, {100, 24});
    auto* gone = new FlatEdit;
    StyleChanges single(once);
    StyleChanges grouped(batched);
    once->setColorBorder(QColor(1, 2, 3));

    const QColor last(200, 30, 120);
    {
        FlatColorBatch outer;
        {
            FlatColorBatch inner;
            batched->setColorBorder(QColor(1, 2, 3));
            batched->setColorFlat(QColor(4, 5, 6));
            gone->setColorBorder(last);
            delete gone;  // a control destroyed before the end is left alone
        }
        batched->setColorFlat(last);
        EXPECT_EQ(grouped.count, 0) << "nothing redrawn before the outermost batch ends";
        EXPECT_EQ(batched->colorFlat(), last) << "the properties change at once";
    }
    EXPECT_GT(single.count, 0);
    EXPECT_EQ(grouped.count, single.count);
    EXPECT_EQ(picture(batched).pixelColor(rightInside(batched)), last);
    EXPECT_EQ(picture(batched).pixelColor(leftEdge(batched)), QColor(1, 2, 3));
}

// --- Speed button groups

TEST(FlatSpeedButtons, GroupsBehaveAsToggles) {
    QWidget panel;
    QWidget otherPanel;
    auto make = [](QWidget* parent, int group, bool allUp) {
        auto* b = new FlatSpeedButton(parent);
        b->setGroupIndex(group);
        b->setAllowAllUp(allUp);
        return b;
    };
    // One cell at a time, none required.
    FlatSpeedButton* a = make(&panel, 1, true);
    FlatSpeedButton* b = make(&panel, 1, true);
    // A group of its own, and the same group number on another panel.
    FlatSpeedButton* alone = make(&panel, 9, true);
    FlatSpeedButton* elsewhere = make(&otherPanel, 1, true);
    // A group that must keep one button down.
    FlatSpeedButton* x = make(&panel, 2, false);
    FlatSpeedButton* y = make(&panel, 2, false);
    FlatSpeedButton* plain = make(&panel, 0, false);

    elsewhere->click();
    alone->click();
    a->click();
    EXPECT_TRUE(a->isChecked());
    b->click();
    EXPECT_TRUE(b->isChecked());
    EXPECT_FALSE(a->isChecked()) << "pressing b raises a";
    EXPECT_TRUE(alone->isChecked()) << "another group is untouched";
    EXPECT_TRUE(elsewhere->isChecked()) << "the same group on another panel is untouched";
    b->click();
    EXPECT_FALSE(b->isChecked()) << "all up allowed";

    x->click();
    x->click();
    EXPECT_TRUE(x->isChecked()) << "all up not allowed: stays down";
    y->setChecked(true);
    EXPECT_FALSE(x->isChecked()) << "putting a button down by program raises the others too";

    plain->click();
    EXPECT_FALSE(plain->isChecked()) << "group 0 is a plain button";
    EXPECT_EQ(plain->focusPolicy(), Qt::NoFocus);
}

// --- Window colour

TEST(FlatContainers, ChildrenFollowThePanelColourAndTheWindowPalette) {
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* panel = new FlatPanel;
    auto* inPanel = new QLabel(QStringLiteral("Nom"), panel);
    auto* tabs = new FlatTabControl;
    auto* page = new QWidget;
    auto* onPage = new QLabel(QStringLiteral("Robe"), page);
    tabs->addTab(page, QStringLiteral("Dégustation"));
    // Styled controls inside the containers must not stop the palette.
    new FlatEdit(panel);
    new FlatButton(page);
    layout->addWidget(panel);
    layout->addWidget(tabs);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    auto windowColour = [](QWidget* w) { return w->palette().color(QPalette::Window); };
    const QColor fond(162, 200, 169);
    QPalette palette = window.palette();
    palette.setColor(QPalette::Window, fond);
    window.setPalette(palette);
    EXPECT_EQ(windowColour(inPanel), fond);
    EXPECT_EQ(panel->shownColor(), fond);

    const QColor accent(31, 95, 137);
    panel->setColor(accent);
    tabs->setColor(accent);
    EXPECT_EQ(windowColour(inPanel), accent);
    EXPECT_EQ(windowColour(onPage), accent);

    panel->setColor(QColor());
    EXPECT_EQ(windowColour(inPanel), fond) << "an unset colour shows the parent's again";
    const QColor other(223, 200, 164);
    palette.setColor(QPalette::Window, other);
    window.setPalette(palette);
    EXPECT_EQ(windowColour(inPanel), other);
    EXPECT_EQ(windowColour(onPage), accent);
}

}  // namespace
}  // namespace vinorium::ui
