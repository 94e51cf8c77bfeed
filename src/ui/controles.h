#pragma once

// Small operations on window controls that several windows share: option
// panels, toggle colours, the cellar plan's cell buttons, aligning a typed
// value on a list, loading definition tables into grids, opening documents.

#include <QString>
#include <QStringList>

#include <functional>

class QComboBox;
class QListWidget;
class QMenu;
class QRadioButton;
class QTableWidget;
class QWidget;

namespace vinorium::data {
class Query;
}

namespace vinorium::ui {

class FlatCheckBox;
class FlatRadioButton;
class FlatSpeedButton;

// A widget's tag: a number the window keeps on a control (a plan cell's
// position, a grid's loading rule), stored as the dynamic property "Tag".
int Tag(const QWidget* w);
void SetTag(QWidget* w, int tag);

// Caption of the first checked option of a panel, cut just before its first
// "(" (accelerator marks and blanks before it stay); empty when none is checked.
QString DonneTexteCoche(const QWidget* panel);
// The last character of the first checked option's name as a number
// (optConditionnement3 gives 3); 0 when none is checked.
int DonneNumeroCoche(const QWidget* panel);

// The option that was already checked when the mouse went down on it, so
// that a second click clears the choice. Set by the card's mouse-down handler.
QRadioButton*& OptionCochee();
// Click handler of an option: siblings take the medium colour; the option
// remembered as already checked is cleared, any other takes the accent colour.
void BasculeOption(FlatRadioButton* option);

// Caption colours of toggles.
void CouleurBoutonBascule(FlatSpeedButton* button);
void CouleurCaseACocher(FlatCheckBox* check);

// Rebuilds the cell buttons of a plan panel from table PLAN: frees the old
// ones (but the "btnAilleurs…" one), then makes one toggle per row, named
// "btn_Position" + its number. clic receives the cell clicked; menu is the
// cells' context menu (the wine card's plan only).
void ConstruitPlan(data::Query& query, QWidget* panel, bool groupe,
                   const std::function<void(FlatSpeedButton*)>& clic = {}, QMenu* menu = nullptr);
// Shows the position numbers on the cells, or clears them.
void AfficheNumerosPlan(QWidget* panel, bool afficher);

// Replace a combo's or a list's items with column 0 of every row of a SELECT
// (run on the shared query; engine errors reach the caller).
void RemplitComboSQL(QComboBox* combo, const QString& sql);
void RemplitListeSQL(QListWidget* liste, const QString& sql);
// Appends strings to a combo's items, an empty one as a single blank so that
// it stays selectable.
void RemplitCombo(QComboBox* combo, const QStringList& chaines);

// Gives a typed value the capitals of the list entry it equals without case.
void AligneSurListe(QComboBox* combo);
// Index of the first (premier) or last checked item; 0 when none is checked.
int DonneIndexCoche(const QListWidget* liste, bool premier);
// Appends a line of ";"-separated fields to a grid; with tag 0 an empty last
// row is reused.
void AjouteLigneGrille(QTableWidget* grille, const QString& texte);

// Opens a URL, a mail link or a file with the desktop's default action; a
// relative file name is taken in the program's data folder.
bool OuvreDocument(const QString& cible);

}  // namespace vinorium::ui
