#pragma once

// Text rewrites of the upgrade: the saved searches (table Selections) of the
// older layouts brought to the columns and the criteria format of today.
// Pure functions, no database.

#include <QString>
#include <QStringList>

namespace vinorium::upgrade {

// Replaces every occurrence of cherche, left to right, searching on after each
// inserted text. An empty cherche leaves the text unchanged.
QString RemplaceTout(const QString& cherche, const QString& remplacement, const QString& texte);

// Renames the three columns that layout 20 moved from Vins to the movements
// (Position, QuantiteEntree, DateEntree) to their movement names, as whole
// words only. With horsChaines, text inside quotes (a literal of a condition)
// is left alone.
QString RenommeColonnesEntree(const QString& texte, bool horsChaines);

// The WHERE text of a saved search of layout 11 rewritten for layout 20: the
// old stock condition "((QuantiteRestante > 0) OR (IsNull(QuantiteEntree)))"
// becomes "(QuantiteRestante > 0)"; every condition on the first entry once
// kept in Vins (QuantiteEntree, Position, DateEntree) leaves the text and goes,
// renamed, into one EXISTS subquery on the wine's entries, joined with AND.
// Conditions are taken whole, as the grammar of the text delimits them: a
// condition joined by AND at the top, or inside parentheses that only join by
// AND, goes alone; a group joined by OR goes whole. A text without such a
// condition, or one that does not read as a condition, is returned with only
// the stock condition replaced.
QString RecritConditionVersion20(const QString& chaineSql);

// Items as one comma text: separated by ",", an item holding a blank, a
// control character, a comma or a double quote between double quotes (inner
// ones doubled), an empty item as nothing.
QString TexteVirgules(const QStringList& items);

// The criteria text of layouts 11 and 20 (three lines per criterion, a
// connector line "ET" or "OU" followed by two empty lines between criteria,
// a leading line break) as the criteria rows of layout 30: one comma text per
// criterion (tag, connector, field, comparator, value), the first one with
// an empty connector, rows separated by a carriage return and a line feed.
// Lines not split by connectors are cut into criteria of three lines joined by
// ET. An empty text gives an empty text.
QString ConvertitCriteres(const QString& ancienTexte);

// The WHERE text stored by layout 30: without leading blanks and without a
// leading "WHERE" keyword.
QString SansWhere(const QString& chaineSql);

}  // namespace vinorium::upgrade
