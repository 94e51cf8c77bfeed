#pragma once

#include <QColor>
#include <QList>
#include <QString>
#include <QStringList>

class QWidget;

namespace vinorium::ui {

// The palette of the current theme, program-wide.
struct Palette {
    QString NomTheme = QStringLiteral("Végétal");
    QColor CouleurFond{162, 200, 169};             // window background, buttons, pressed toggles
    QColor CouleurMoyenne{89, 151, 101};           // borders, focus, lists and trees
    QColor CouleurTexte{35, 109, 158};             // text of entry fields, pressed plan cells
    QColor CouleurAccent{31, 95, 137};             // tool bar, checked options, gauge bar
    QString Image = QStringLiteral("imgVegetal");  // the theme picture of the main window
    // The card shows its blank mode and its modification mode in different
    // field colours (the cellar's ModeSaisie option).
    bool ModeSaisie = true;
};

Palette& palette();

// Fixed colours used beside the palette.
inline const QColor kCouleurSurbrillance{160, 150, 131};  // plan highlight, flat borders
inline const QColor kCouleurLegende{77, 77, 57};          // standard caption colour
inline const QColor kGrisClair{225, 225, 225};

// The theme names in the order the options window lists them.
QStringList NomsThemes();
// The eleven picture control names of the main window.
QStringList ImagesThemes();

// Loads the palette and picture of a theme; an unknown name gives "Végétal".
// Repaints nothing.
void ChoisitTheme(const QString& nom);

// The named components of a window in component order: the order in which
// the window creates them (depth first, children in creation order). The theme
// painter, the saved screen parameters and the query-by-form search all walk
// this one list.
QList<QWidget*> ComposantsFenetre(QWidget* fenetre);
// Components a panel makes for itself at run time (the plan's cells) carry
// this property set to true: they belong to their panel, not to the window's
// list, and the painter reaches them through their panel.
extern const char* const kComposantDuPanneau;

// The field colour F: what entry fields show for the card's mode.
QColor CouleurChamp(bool courant);

// Repaints a window with the palette. courant is false only for the main
// window's blank card (new wine or search); seulementSaisie limits the repaint
// to the components whose name has "_" as fourth character.
void AppliqueTheme(QWidget* fenetre, bool courant, bool seulementSaisie);

}  // namespace vinorium::ui
