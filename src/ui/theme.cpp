#include "ui/theme.h"

#include "ui/flatcontrols.h"

#include <QAbstractItemView>
#include <QPalette>

#include <array>

namespace vinorium::ui {

namespace {

struct Theme {
    const char* nom;
    const char* image;
    QRgb fond, moyenne, texte, accent;
};

// Note the pictures of "Chocolat" and "Café": each shows the other's.
constexpr std::array<Theme, 11> kThemes{{
    {"Monochrome", "imgMonochrome", qRgb(255, 255, 255), qRgb(192, 192, 192), qRgb(0, 0, 0),
     qRgb(51, 51, 51)},
    {"Chocolat", "imgCafe", qRgb(223, 200, 164), qRgb(164, 106, 72), qRgb(37, 6, 0), qRgb(37, 6, 0)},
    {"Cendré", "imgCendre", qRgb(223, 217, 215), qRgb(140, 140, 157), qRgb(81, 68, 81), qRgb(81, 68, 81)},
    {"Café", "imgChocolat", qRgb(231, 207, 127), qRgb(175, 115, 63), qRgb(103, 27, 24), qRgb(103, 27, 24)},
    {"Elégant", "imgElegant", qRgb(223, 230, 108), qRgb(112, 158, 118), qRgb(108, 62, 85),
     qRgb(129, 73, 101)},
    {"Epicé", "imgEpice", qRgb(255, 193, 51), qRgb(239, 83, 16), qRgb(109, 81, 20), qRgb(109, 81, 20)},
    {"Floral", "imgFloral", qRgb(242, 236, 106), qRgb(225, 81, 91), qRgb(46, 94, 141), qRgb(46, 94, 141)},
    {"Marine", "imgMarine", qRgb(200, 213, 223), qRgb(125, 189, 147), qRgb(86, 91, 124), qRgb(86, 91, 124)},
    {"Prune", "imgPrune", qRgb(204, 255, 153), qRgb(174, 137, 188), qRgb(155, 38, 73), qRgb(155, 38, 73)},
    {"Végétal", "imgVegetal", qRgb(162, 200, 169), qRgb(89, 151, 101), qRgb(35, 109, 158), qRgb(31, 95, 137)},
    {"Vigne", "imgVigne", qRgb(249, 255, 121), qRgb(128, 202, 15), qRgb(132, 0, 72), qRgb(132, 0, 72)},
}};

const QColor kBlanc{255, 255, 255};
const QColor kNoir{0, 0, 0};

bool nomEst(const QWidget* w, std::initializer_list<const char*> noms) {
    for (const char* nom : noms) {
        if (w->objectName() == QLatin1String(nom)) {
            return true;
        }
    }
    return false;
}

bool surOutils(const QWidget* w) {
    return w->parentWidget() && w->parentWidget()->objectName() == QLatin1String("pnlOutils");
}

// The colour a component shows as its background, for the panel rule.
QColor couleurAffichee(const QWidget* w) {
    if (const auto* panel = qobject_cast<const FlatPanel*>(w)) {
        return panel->shownColor();
    }
    return w->palette().color(QPalette::Window);
}

void peintFond(QWidget* w, const QColor& couleur) {
    QPalette p = w->palette();
    p.setColor(QPalette::Window, couleur);
    w->setPalette(p);
    w->setAutoFillBackground(true);
}

void peintListe(QWidget* w, const QColor& couleur) {
    QPalette p = w->palette();
    p.setColor(QPalette::Base, couleur);
    p.setColor(QPalette::Window, couleur);
    w->setPalette(p);
}

void peintCellulesPlan(QWidget* panel) {
    const Palette& pal = palette();
    for (QObject* child : panel->children()) {
        if (auto* cell = qobject_cast<FlatSpeedButton*>(child)) {
            cell->setColor(pal.CouleurFond);
            cell->setColorFocused(pal.CouleurMoyenne);
            cell->setColorDown(pal.CouleurTexte);
            cell->setColorHighLight(kCouleurSurbrillance);
        }
    }
}

// Applies the first matching rule of the painter to one component.
void appliqueRegle(QWidget* fenetre, QWidget* w, const QColor& f) {
    const Palette& pal = palette();
    const QColor& fond = pal.CouleurFond;
    const QColor& moyenne = pal.CouleurMoyenne;
    const QColor& texte = pal.CouleurTexte;
    const QColor& accent = pal.CouleurAccent;

    if (nomEst(w, {"grp_Position", "pnlPlanEntreeSortie"})) {
        peintCellulesPlan(w);  // then the panel itself goes on through the rules
    }
    if (nomEst(w, {"treIndexes", "lstSelection"})) {
        peintListe(w, moyenne);
        return;
    }
    if (nomEst(w, {"btnAilleurs", "btnAilleursEntreeSortie"})) {
        w->setProperty("Color", fond);
        w->setProperty("ColorFocused", moyenne);
        w->setProperty("ColorDown", texte);
        return;
    }
    if (nomEst(w, {"pnlOutils"})) {
        if (auto* panel = qobject_cast<FlatPanel*>(w)) {
            panel->setColor(accent);
        } else {
            peintFond(w, accent);
        }
        return;
    }
    if (nomEst(w, {"pnlPlanLegende"})) {
        if (auto* panel = qobject_cast<FlatPanel*>(w)) {
            panel->setColor(moyenne);
        } else {
            peintFond(w, moyenne);
        }
        return;
    }
    if (auto* combo = qobject_cast<FlatComboBox*>(w)) {
        if (nomEst(w, {"lstTri", "cboSelection"})) {
            combo->setColorBorder(moyenne);
            combo->setColor(fond);
            combo->setColorArrowBackground(fond);
            combo->setFontColor(kNoir);
        } else {
            combo->setColor(f);
            combo->setColorArrowBackground(f);
            combo->setColorBorder(moyenne);
            combo->setFontColor(texte);
        }
        return;
    }
    if (nomEst(w, {"txt_QuantiteRestante"})) {
        w->setProperty("ColorFlat", fond);
        w->setProperty("ColorFocused", fond);
        w->setProperty("ColorBorder", moyenne);
        w->setProperty("FontColor", texte);
        return;
    }
    if (qobject_cast<FlatEdit*>(w) || qobject_cast<FlatMemo*>(w)) {
        const auto* edit = qobject_cast<FlatEdit*>(w);
        const auto* memo = qobject_cast<FlatMemo*>(w);
        const bool lectureSeule = edit ? edit->isReadOnly() : memo->isReadOnly();
        const QColor plat = (!w->isEnabled() && lectureSeule) ? fond : f;
        w->setProperty("ColorFlat", plat);
        w->setProperty("ColorFocused", plat);
        w->setProperty("ColorBorder", moyenne);
        w->setProperty("FontColor", texte);
        return;
    }
    if (auto* tab = qobject_cast<FlatTabControl*>(w)) {
        if (nomEst(w, {"tabInfos"})) {
            tab->setColor(moyenne);
            tab->setColorBorder(accent);
            tab->setColorUnselectedTab(accent);
        } else {
            tab->setColor(fond);
            tab->setColorBorder(moyenne);
            tab->setColorUnselectedTab(moyenne);
        }
        return;
    }
    if (nomEst(w, {"btn_offert", "btn_vrac"})) {
        w->setProperty("Color", f);
        w->setProperty("ColorBorder", moyenne);
        w->setProperty("ColorFocused", fond);
        return;
    }
    if (nomEst(w, {"btnHaut", "btnBas"})) {
        for (const char* p : {"Color", "ColorBorder", "ColorFocused", "ColorHighLight", "ColorDown"}) {
            w->setProperty(p, moyenne);
        }
        return;
    }
    if (nomEst(w, {"btnNumPlan", "btnQuantitePlan"})) {
        w->setProperty("Color", fond);
        w->setProperty("ColorFocused", moyenne);
        w->setProperty("ColorDown", moyenne);
        w->setProperty("ColorHighLight", kCouleurSurbrillance);
        return;
    }
    if (auto* speed = qobject_cast<FlatSpeedButton*>(w)) {
        if (surOutils(w)) {
            speed->setColor(accent);
            speed->setColorBorder(fond);
            speed->setColorFocused(fond);
            speed->setColorHighLight(fond);
            speed->setColorDown(fond);
        } else {
            speed->setColor(fond);
            speed->setColorFocused(fond);
            speed->setColorHighLight(fond);
            speed->setColorDown(fond);
            speed->setColorBorder(fond);
        }
        return;
    }
    if (auto* button = qobject_cast<FlatButton*>(w)) {
        if (surOutils(w)) {
            button->setColor(accent);
            button->setColorBorder(fond);
            button->setColorFocused(fond);
            button->setColorHighLight(fond);
            button->setColorDown(fond);
        } else if (nomEst(w, {"btn_PositionEntreeOuvre", "btn_PositionSortieOuvre"})) {
            button->setColorBorder(moyenne);
            button->setColorHighLight(moyenne);
            button->setColorShadow(moyenne);
            button->setColorFocused(moyenne);
            const QColor c = w->isEnabled() ? f : fond;
            button->setColor(c);
            button->setColorDown(c);
        } else if (nomEst(w, {"btnInclusTout"})) {
            button->setColor(fond);
            button->setColorFocused(moyenne);
            button->setColorHighLight(moyenne);
            button->setColorDown(fond);
        } else {
            button->setColor(moyenne);
            button->setColorBorder(fond);
            button->setColorFocused(fond);
            button->setColorHighLight(fond);
            button->setColorDown(fond);
        }
        return;
    }
    if (auto* spin = qobject_cast<FlatSpinEditInteger*>(w)) {
        if (nomEst(w, {"txtNbMoisGraph"})) {
            spin->setColorBorder(moyenne);
            spin->setColorFlat(moyenne);
            spin->setColorFocused(moyenne);
        } else {
            spin->setColorBorder(moyenne);
            spin->setColorFlat(kBlanc);
            spin->setColorFocused(kBlanc);
        }
        return;
    }
    if (auto* option = qobject_cast<FlatRadioButton*>(w)) {
        const bool fenetrePrincipale = fenetre->objectName() == QLatin1String("frmSaisie");
        option->setFontColor(option->isChecked() || !fenetrePrincipale ? accent : moyenne);
        option->setColorDot(accent);
        option->setColorDown(fond);
        option->setColorFocused(moyenne);
        return;
    }
    if (auto* check = qobject_cast<FlatCheckBox*>(w)) {
        check->setFontColor(accent);
        check->setColorCheck(accent);
        check->setColorDown(fond);
        check->setColorFocused(moyenne);
        return;
    }
    if (auto* panel = qobject_cast<FlatPanel*>(w)) {
        if (w->objectName().startsWith(QLatin1String("shp"))) {
            return;
        }
        const QWidget* parent = w->parentWidget();
        const QColor bord = (parent && couleurAffichee(parent) == fond) ? moyenne : fond;
        panel->setColorHighLight(bord);
        panel->setColorShadow(bord);
        return;
    }
    if (auto* gauge = qobject_cast<FlatGauge*>(w)) {
        gauge->setBarColor(accent);
        return;
    }
    if (nomEst(w, {"lst_entrees", "lst_sorties"})) {
        peintListe(w, f);
    }
}

}  // namespace

const char* const kComposantDuPanneau = "composantDuPanneau";

Palette& palette() {
    static Palette p;
    return p;
}

QStringList NomsThemes() {
    return {QStringLiteral("Café"),    QStringLiteral("Cendré"),     QStringLiteral("Chocolat"),
            QStringLiteral("Elégant"), QStringLiteral("Epicé"),      QStringLiteral("Floral"),
            QStringLiteral("Marine"),  QStringLiteral("Monochrome"), QStringLiteral("Prune"),
            QStringLiteral("Végétal"), QStringLiteral("Vigne")};
}

QStringList ImagesThemes() {
    QStringList images;
    for (const Theme& t : kThemes) {
        images << QString::fromLatin1(t.image);
    }
    return images;
}

void ChoisitTheme(const QString& nom) {
    const Theme* choisi = &kThemes[9];  // "Végétal"
    for (const Theme& t : kThemes) {
        if (nom == QString::fromUtf8(t.nom)) {
            choisi = &t;
        }
    }
    Palette& p = palette();
    p.NomTheme = QString::fromUtf8(choisi->nom);
    p.CouleurFond = QColor(choisi->fond);
    p.CouleurMoyenne = QColor(choisi->moyenne);
    p.CouleurTexte = QColor(choisi->texte);
    p.CouleurAccent = QColor(choisi->accent);
    p.Image = QString::fromLatin1(choisi->image);
}

QList<QWidget*> ComposantsFenetre(QWidget* fenetre) {
    QList<QWidget*> composants;
    for (QWidget* w : fenetre->findChildren<QWidget*>()) {
        if (!w->objectName().isEmpty() && !w->objectName().startsWith(QLatin1String("qt_")) &&
            !w->property(kComposantDuPanneau).toBool()) {
            composants << w;
        }
    }
    return composants;
}

QColor CouleurChamp(bool courant) {
    const Palette& p = palette();
    if (p.NomTheme == QLatin1String("Monochrome")) {
        return (courant && p.ModeSaisie) ? kGrisClair : kBlanc;
    }
    return (courant || !p.ModeSaisie) ? kBlanc : p.CouleurFond;
}

void AppliqueTheme(QWidget* fenetre, bool courant, bool seulementSaisie) {
    FlatColorBatch batch;  // each control redraws once, when the window is painted
    const QColor f = CouleurChamp(courant);
    peintFond(fenetre, palette().CouleurFond);
    for (QWidget* w : ComposantsFenetre(fenetre)) {
        if (seulementSaisie && (w->objectName().size() < 4 || w->objectName().at(3) != QLatin1Char('_'))) {
            continue;
        }
        appliqueRegle(fenetre, w, f);
    }
    if (fenetre->objectName() == QLatin1String("frmSaisie") && !seulementSaisie) {
        for (const QString& image : ImagesThemes()) {
            if (QWidget* picture = fenetre->findChild<QWidget*>(image)) {
                picture->setVisible(image == palette().Image);
            }
        }
    }
}

}  // namespace vinorium::ui
