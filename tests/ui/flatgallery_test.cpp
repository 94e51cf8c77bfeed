// Every flat control in one window, untouched and painted with two palettes,
// saved as pictures (VINORIUM_GRAB_DIR) so that the whole look can be judged
// at a glance.

#include "support/grab.h"
#include "ui/flatcontrols.h"

#include <QAbstractItemView>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace vinorium::ui {
namespace {

struct Palette {
    const char* name;
    QColor fond, moyenne, texte, accent;
};

QIcon glyph(int shape) {
    QPixmap pixmap(18, 18);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    // Light strokes with a dark fill read on light and dark tool bars alike.
    p.setPen(QPen(QColor(250, 250, 250), 1.5));
    p.setBrush(QColor(40, 40, 40, 160));
    switch (shape) {
        case 0:  // a bottle
            p.drawRoundedRect(QRectF(6, 7, 6, 10), 1.5, 1.5);
            p.drawRect(QRectF(8, 2, 2, 5));
            break;
        case 1:  // a glass
            p.drawEllipse(QRectF(4, 2, 10, 8));
            p.drawLine(QPointF(9, 10), QPointF(9, 15));
            p.drawLine(QPointF(6, 16), QPointF(12, 16));
            break;
        case 2:  // a page
            p.drawRect(QRectF(4, 2, 10, 14));
            p.drawLine(QPointF(6, 6), QPointF(12, 6));
            p.drawLine(QPointF(6, 9), QPointF(12, 9));
            p.drawLine(QPointF(6, 12), QPointF(10, 12));
            break;
        default:  // bars of a chart
            p.drawRect(QRectF(3, 9, 3, 7));
            p.drawRect(QRectF(8, 4, 3, 12));
            p.drawRect(QRectF(13, 7, 3, 9));
            break;
    }
    return QIcon(pixmap);
}

// A window laid out like a small cellar dialog, holding one of each kind.
class Gallery : public QWidget {
  public:
    Gallery() {
        setObjectName(QStringLiteral("frmGalerie"));
        setAutoFillBackground(true);
        resize(640, 440);
        auto* outer = new QVBoxLayout(this);
        outer->setContentsMargins(0, 0, 0, 6);

        tools = new FlatPanel(this);
        tools->setObjectName(QStringLiteral("pnlOutils"));
        auto* bar = new QHBoxLayout(tools);
        bar->setContentsMargins(4, 3, 4, 3);
        bar->setSpacing(2);
        for (int i = 0; i < 4; ++i) {
            auto* b = new FlatSpeedButton(tools);
            b->setIcon(glyph(i));
            b->setIconSize(QSize(18, 18));
            b->setToolTip(QStringLiteral("Outil %1").arg(i + 1));
            b->setGroupIndex(i == 1 ? 7 : 0);
            b->setAllowAllUp(true);
            b->setChecked(i == 1);
            bar->addWidget(b);
        }
        bar->addStretch();
        outer->addWidget(tools);

        splitter = new FlatSplitter(Qt::Horizontal, this);
        outer->addWidget(splitter, 1);

        // Left: the entry fields.
        auto* card = new QWidget(splitter);
        auto* form = new QGridLayout(card);
        form->setContentsMargins(8, 4, 4, 4);
        form->setVerticalSpacing(5);
        auto label = [&](const QString& text, int row, QWidget* buddy) {
            auto* l = new QLabel(text, card);
            l->setBuddy(buddy);
            labels.push_back(l);
            form->addWidget(l, row, 0);
        };
        edit = new FlatEdit(card);
        label(QStringLiteral("&Nom :"), 0, edit);
        edit->setText(QStringLiteral("Château Lafleur"));
        form->addWidget(edit, 0, 1, 1, 2);
        combo = new FlatComboBox(card);
        label(QStringLiteral("&Appellation :"), 1, combo);
        combo->addItems({QStringLiteral("Pomerol"), QStringLiteral("Saint-Emilion")});
        form->addWidget(combo, 1, 1, 1, 2);
        editable = new FlatComboBox(card);
        label(QStringLiteral("&Région :"), 2, editable);
        editable->setEditable(true);
        editable->addItem(QStringLiteral("Bordeaux"));
        form->addWidget(editable, 2, 1, 1, 2);
        spin = new FlatSpinEditInteger(card);
        label(QStringLiteral("&Millésime :"), 3, spin);
        spin->setRange(1900, 2100);
        spin->setValue(2005);
        form->addWidget(spin, 3, 1);
        readOnly = new FlatEdit(card);
        readOnly->setText(QStringLiteral("12 bouteilles"));
        readOnly->setReadOnly(true);
        readOnly->setEnabled(false);
        form->addWidget(readOnly, 3, 2);

        types = new FlatPanel(card);
        types->setObjectName(QStringLiteral("pnlType"));
        auto* typeRow = new QHBoxLayout(types);
        typeRow->setContentsMargins(6, 3, 6, 3);
        for (const char* type : {"&Rouge", "R&osé", "&Blanc"}) {
            auto* o = new FlatRadioButton(QString::fromUtf8(type), types);
            radios.push_back(o);
            typeRow->addWidget(o);
        }
        radios[0]->setChecked(true);
        form->addWidget(types, 4, 0, 1, 3);

        gift = new FlatCheckBox(QStringLiteral("&Cadeau"), card);
        gift->setChecked(true);
        bulk = new FlatCheckBox(QStringLiteral("En &vrac"), card);
        form->addWidget(gift, 5, 1);
        form->addWidget(bulk, 5, 2);

        memo = new FlatMemo(card);
        memo->setPlainText(QStringLiteral(
            "Robe grenat, nez de fruits noirs et de truffe.\nBouche ample, tanins fondus.\nA boire "
            "entre 2010 et 2020.\nAccompagne un gigot, un fromage affiné.\nFinale longue.\n\nDégusté en "
            "mars 2008 avec Jean et Marie.\nCarafé deux heures.\nA racheter."));
        form->addWidget(memo, 6, 0, 1, 3);
        gauge = new FlatGauge(card);
        gauge->setValue(62);
        form->addWidget(gauge, 7, 0, 1, 3);
        auto* buttons = new QHBoxLayout;
        buttons->addStretch();
        ok = new FlatButton(QStringLiteral("&Sauver"), card);
        cancel = new FlatButton(QStringLiteral("&Annuler"), card);
        buttons->addWidget(ok);
        buttons->addWidget(cancel);
        form->addLayout(buttons, 8, 0, 1, 3);

        // Right: tabs, the first holding a small cellar plan.
        tabs = new FlatTabControl(splitter);
        auto* planPage = new QWidget;
        plan = new FlatPanel(planPage);
        plan->setObjectName(QStringLiteral("grp_Position"));
        plan->setGeometry(8, 8, 220, 150);
        for (int i = 0; i < 12; ++i) {
            auto* cell = new FlatSpeedButton(plan);
            cell->setGeometry(15 + (i % 4) * 50, 10 + (i / 4) * 45, 44, 38);
            cell->setText(QString::number(i + 1));
            cell->setGroupIndex(1);
            cell->setAllowAllUp(true);
            cells.push_back(cell);
        }
        cells[5]->setChecked(true);
        tabs->addTab(planPage, QStringLiteral("&Cave"));
        tabs->addTab(new QWidget, QStringLiteral("&Dégustation"));
        tabs->addTab(new QWidget, QStringLiteral("&Entrées"));
        splitter->setSizes({360, 280});
    }

    // Paints the window with a palette the way the theme painter does.
    void paint(const Palette& t) {
        const QColor white(255, 255, 255);
        const QColor plain(160, 150, 131);
        QPalette pal = palette();
        pal.setColor(QPalette::Window, t.fond);
        setPalette(pal);
        for (QLabel* l : labels) {
            l->setStyleSheet(QStringLiteral("color: rgb(77, 77, 57);"));
        }
        for (QObject* o : findChildren<QObject*>()) {
            auto set = [o](const char* name, const QColor& c) {
                ASSERT_TRUE(o->setProperty(name, c)) << name;
            };
            auto* w = qobject_cast<QWidget*>(o);
            const bool onTools = w != nullptr && w->parentWidget() == tools;
            const bool onPlan = w != nullptr && w->parentWidget() == plan;
            if (o == tools) {
                set("Color", t.accent);
            } else if (qobject_cast<FlatSpeedButton*>(o) && onPlan) {
                set("Color", t.fond);
                set("ColorFocused", t.moyenne);
                set("ColorDown", t.texte);
                set("ColorHighLight", plain);
            } else if (qobject_cast<FlatSpeedButton*>(o) && onTools) {
                set("Color", t.accent);
                for (const char* n : {"ColorBorder", "ColorFocused", "ColorHighLight", "ColorDown"}) {
                    set(n, t.fond);
                }
            } else if (qobject_cast<FlatComboBox*>(o)) {
                set("Color", white);
                set("ColorArrowBackground", white);
                set("ColorBorder", t.moyenne);
                set("FontColor", t.texte);
            } else if (qobject_cast<FlatEdit*>(o) || qobject_cast<FlatMemo*>(o)) {
                const bool dead = !w->isEnabled() && w->property("readOnly").toBool();
                set("ColorFlat", dead ? t.fond : white);
                set("ColorFocused", dead ? t.fond : white);
                set("ColorBorder", t.moyenne);
                set("FontColor", t.texte);
            } else if (qobject_cast<FlatTabControl*>(o)) {
                set("Color", t.fond);
                set("ColorBorder", t.moyenne);
                set("ColorUnselectedTab", t.moyenne);
            } else if (qobject_cast<FlatButton*>(o)) {
                set("Color", t.moyenne);
                for (const char* n : {"ColorBorder", "ColorFocused", "ColorHighLight", "ColorDown"}) {
                    set(n, t.fond);
                }
            } else if (qobject_cast<FlatSpinEditInteger*>(o)) {
                set("ColorBorder", t.moyenne);
                set("ColorFlat", white);
                set("ColorFocused", white);
            } else if (auto* r = qobject_cast<FlatRadioButton*>(o)) {
                set("FontColor", r->isChecked() ? t.accent : t.moyenne);
                set("ColorDot", t.accent);
                set("ColorDown", t.fond);
                set("ColorFocused", t.moyenne);
            } else if (qobject_cast<FlatCheckBox*>(o)) {
                set("FontColor", t.accent);
                set("ColorCheck", t.accent);
                set("ColorDown", t.fond);
                set("ColorFocused", t.moyenne);
            } else if (auto* p = qobject_cast<FlatPanel*>(o)) {
                const QWidget* parent = p->parentWidget();
                const bool onFond = parent->palette().color(parent->backgroundRole()) == t.fond;
                set("ColorHighLight", onFond ? t.moyenne : t.fond);
                set("ColorShadow", onFond ? t.moyenne : t.fond);
            } else if (qobject_cast<FlatGauge*>(o)) {
                set("BarColor", t.accent);
            }
        }
    }

    FlatPanel* tools;
    FlatSplitter* splitter;
    std::vector<QLabel*> labels;
    FlatEdit* edit;
    FlatEdit* readOnly;
    FlatComboBox* combo;
    FlatComboBox* editable;
    FlatSpinEditInteger* spin;
    FlatPanel* types;
    std::vector<FlatRadioButton*> radios;
    FlatCheckBox* gift;
    FlatCheckBox* bulk;
    FlatMemo* memo;
    FlatGauge* gauge;
    FlatButton* ok;
    FlatButton* cancel;
    FlatTabControl* tabs;
    FlatPanel* plan;
    std::vector<FlatSpeedButton*> cells;
};

TEST(FlatGallery, EveryKindPaintedWithTwoPalettes) {
    const Palette palettes[] = {
        {"vegetal", {162, 200, 169}, {89, 151, 101}, {35, 109, 158}, {31, 95, 137}},
        {"chocolat", {223, 200, 164}, {164, 106, 72}, {37, 6, 0}, {37, 6, 0}},
    };
    {
        Gallery untouched;
        untouched.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&untouched));
        QTest::mouseMove(&untouched, QPoint(untouched.width() - 2, untouched.height() - 2));
        test::grabToPng(&untouched, QStringLiteral("flatcontrols-default"));
    }
    for (const Palette& t : palettes) {
        SCOPED_TRACE(t.name);
        Gallery g;
        g.paint(t);
        g.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&g));
        QTest::mouseMove(&g, QPoint(g.width() - 2, g.height() - 2));
        const QImage image = g.grab().toImage();
        // Painted, the tool bar and the window are one colour each.
        EXPECT_EQ(image.pixelColor(g.tools->geometry().center().x(), g.tools->geometry().bottom() - 1),
                  t.accent);
        EXPECT_EQ(image.pixelColor(g.width() - 3, g.height() - 3), t.fond);
        test::grabToPng(&g, QStringLiteral("flatcontrols-%1").arg(QLatin1String(t.name)));

        // The same window with a button under the mouse, one pressed, a
        // check box pressed and the keyboard focus on an option.
        QTest::mouseMove(g.ok, g.ok->rect().center());
        g.cancel->setDown(true);
        g.bulk->setDown(true);
        g.radios[1]->setFocus(Qt::TabFocusReason);
        test::grabToPng(&g, QStringLiteral("flatcontrols-%1-states").arg(QLatin1String(t.name)));

        // The list of a combo box, its second entry under the mouse.
        g.combo->addItems(
            {QStringLiteral("Margaux"), QStringLiteral("Pauillac"), QStringLiteral("Sauternes")});
        g.combo->showPopup();
        QAbstractItemView* list = g.combo->view();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(list->window()));
        list->setCurrentIndex(list->model()->index(1, 0));
        test::grabToPng(list->window(), QStringLiteral("flatcontrols-%1-list").arg(QLatin1String(t.name)));
        g.combo->hidePopup();
    }
}

}  // namespace
}  // namespace vinorium::ui
