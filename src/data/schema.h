#pragma once

// The cellar file at the current layout: its tables, their columns, the
// stored queries and the conventions every program relies on. This is the one
// place that knows how a cellar is built; the default cellar (defaultcellar.h)
// and the test fixtures create their files through it.

#include <QString>
#include <QStringList>

namespace vinorium::data {

class Database;

namespace schema {

// Layout number held by table Version; the programs open no other.
inline constexpr int kLayout = 30;

// Table names as the SQL of the programs writes them.
namespace table {
inline constexpr const char* kVins = "Vins";
inline constexpr const char* kAppellations = "Appellations";
inline constexpr const char* kSortieCave = "Sortie cave";  // written [Sortie cave] in SQL
inline constexpr const char* kPlan = "PLAN";
inline constexpr const char* kChampsPerso = "ChampsPerso";
inline constexpr const char* kEtatsGraphes = "EtatsGraphes";
inline constexpr const char* kSelections = "Selections";
inline constexpr const char* kOptions = "Options";
inline constexpr const char* kVersion = "Version";
}  // namespace table

// Stored query names.
namespace query {
inline constexpr const char* kRequeteInitiale = "RequeteInitiale";
inline constexpr const char* kRequeteListe = "RequeteListe";
inline constexpr const char* kRequeteConsommation = "RequeteConsommation";
inline constexpr const char* kRequeteInitialePositions = "RequeteInitialePositions";
inline constexpr const char* kRequeteListePositions = "RequeteListePositions";
}  // namespace query

// Names of the rows of table Options and their values when a row is missing.
namespace option {
inline constexpr const char* kCouleur = "Couleur";
inline constexpr const char* kTranchePrix = "TranchePrix";
inline constexpr const char* kAboire = "Aboire";
inline constexpr const char* kAttendre = "Attendre";
inline constexpr const char* kModeSaisie = "ModeSaisie";

inline constexpr const char* kDefaultCouleur = "Végétal";
inline constexpr int kDefaultTranchePrix = 5;
inline constexpr int kDefaultAboire = 2;
inline constexpr int kDefaultAttendre = 5;
inline constexpr const char* kDefaultModeSaisie = "-1";
}  // namespace option

// The nine tables, in creation order.
QStringList tableNames();

// The five stored queries, in creation order (each reads only the ones before it).
QStringList queryNames();

// The Jet text of a stored query of the current layout; empty for an unknown name.
QString queryText(const QString& name);

// The Jet statements that create the tables and indexes of the current layout,
// in order. Stored queries are not among them: they go through createQueryDef.
QStringList createStatements();

// The Jet statements that create the indexes alone (the last ones of
// createStatements). A cellar brought to this layout by the upgrade needs them
// too: without the index on the movements' wine, the wine list of a cellar of
// 10 000 wines takes minutes instead of a fraction of a second.
QStringList indexStatements();

// Creates every table, index and stored query of the current layout on an
// open connection whose file holds none of them yet. Throws EngineError from
// the first statement that fails. Writes no rows (not even Version).
void createLayout(Database& db);

// The five rows of ChampsPerso of a new or migrated cellar, as INSERT statements.
QStringList champsPersoRows();

// The five rows of Options with their defaults, as INSERT statements.
QStringList optionRows();

// Quotes a text for Jet SQL: between apostrophes, inner apostrophes doubled.
QString quoted(const QString& text);

}  // namespace schema
}  // namespace vinorium::data
