#pragma once

// Query execution and SQL-text helpers shared by every window: the two query
// operations with their one error box, list fillers, lookups, the stock
// filter, value conversions and text utilities.

#include "data/engine/query.h"

#include <QString>
#include <QStringList>
#include <QVariant>

namespace vinorium {

// Runs a SELECT on a query and moves to its first row. On failure shows one
// error box ("Erreur SQL : " statement, line feed, carriage return, engine
// message) and leaves the query closed, so the caller sees no rows.
void OuvreRequete(data::Query& query, const QString& sql);
// Runs a statement without rows; failures as OuvreRequete.
void ExecuteRequete(data::Query& query, const QString& sql);
// The text of the error box of a failed statement.
QString TexteErreurSQL(const QString& sql, const QString& message);

// Reads "SELECT * FROM Version" on a connection, keeps the layout in
// VersionBase and tells whether it is the current layout (30). Any error
// counts as a wrong layout, silently.
bool VerifieVersionBase(data::Database& database);

// Fills strings with column 0 of every row of a SELECT, run on qryGeneral.
// Engine errors reach the caller (EngineError).
void RemplitChainesSQL(QStringList& strings, const QString& sql);

// The label of a custom field (ChampPerso1 to ChampPerso5), or the name itself
// when ChampsPerso has no row for it.
QString DonneLibelleChampPerso(const QString& nom);

// Options of DonneFiltreQuantite, combined in this order.
enum OptionsFiltreQuantite {
    AndAvant = 1,   // " AND " before the condition
    AndApres = 2,   // " AND " after it
    WhereAvant = 4  // " WHERE " before it
};
// The stock condition: "(QuantiteRestante >= 0)" with exhausted wines, else
// "(QuantiteRestante > 0)", with the connecting words the options ask for.
QString DonneFiltreQuantite(bool inclureEpuises, int options = 0);

template <typename T>
T IIf(bool condition, const T& siVrai, const T& siFaux) {
    return condition ? siVrai : siFaux;
}
inline QString IIf(bool condition, const char* siVrai, const char* siFaux) {
    return QString::fromUtf8(condition ? siVrai : siFaux);
}

// "-1" for true, "0" for false.
QString DonneBoolSQL(bool b);
// False for "0" and the empty text, true for anything else.
bool DonneBool(const QString& texte);
// -1 for true, 0 for false.
int DonneBoolEntier(bool b);
// True for the empty text, else whether the text reads as an integer (entier)
// or a real number with the program's decimal separator (a comma).
bool EstNumerique(const QString& texte, bool entier);
// A date text in the order of the short date format: the parts given, today's
// for the empty ones (day and month on two digits, year on two).
QString DonneFormatDate(const QString& jour, const QString& mois, const QString& annee,
                        const QString& formatDateCourt = QString());

// Replaces every occurrence of cherche, left to right; the inserted text is not
// searched again. An empty cherche leaves the text unchanged.
QString Remplace(const QString& cherche, const QString& remplacement, const QString& texte);
// 1-based position of cherche in texte from position depart (from the start
// when depart <= 0); 0 when absent.
int PosApres(int depart, const QString& cherche, const QString& texte);
// Doubles every apostrophe, without quoting.
QString DoubleApostrophes(const QString& texte);
// The quoted SQL text of a value: apostrophes around, inner ones doubled.
QString Quote(const QString& texte);
// True when valeur equals one of the candidates (empty candidates never match
// a non-empty value).
bool EstDansListe(const QString& valeur, const QStringList& candidats);

}  // namespace vinorium
