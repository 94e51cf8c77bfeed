#pragma once

// Generator of realistic synthetic cellars for benchmarks and tests: N wines
// with every column filled plausibly, about five movements each, a plan of 40
// cells. Seedable and fast (rows go straight into SQLite, in the engine's
// storage conventions: dates as ISO text, yes/no as -1/0).

#include <QString>

namespace vinorium::data {
class Database;
}

namespace vinorium::bench {

// Creates the tables and stored queries of the current layout on an open,
// empty cellar and fills them.
void generateCellar(data::Database& db, int wines, unsigned seed);

// A generated cellar file of that size, made once and kept in the temporary folder.
QString cachedCellar(int wines, unsigned seed = 42);

}  // namespace vinorium::bench
