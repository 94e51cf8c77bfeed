#pragma once

#include <QDate>
#include <QString>

namespace vinorium::card {

// What a card value stands for when it is written into a statement.
enum class TypeValeur {
    Texte,   // quoted, apostrophes doubled
    Option,  // an option caption: quoted, without its "&"
    Date,    // a date of the short date format, as a Jet literal
    Nombre,  // a number with a decimal comma, written with a point
};

// The SQL literal of a card value: trimmed of the characters of code 32 or
// below at both ends, then "Null" when empty (or, for a date, unreadable).
QString FormateValeurSQL(const QString& valeur, TypeValeur type);

// A date typed in the order of the short date format: day, month and year as
// numbers, with the format's separator; without a year, the current one. A
// year of one or two digits falls in the hundred years around today.
QDate LitDate(const QString& texte);
// A date in the short date format.
QString EcritDate(const QDate& date);

}  // namespace vinorium::card
