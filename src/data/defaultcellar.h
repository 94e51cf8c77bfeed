#pragma once

// The default cellar: the file every new cellar starts from. It holds every
// table and stored query of the current layout, Version 30, the five custom
// fields, the five options with their defaults and the appellation reference
// list; no wine, movement, plan cell, saved search or saved report.

#include <QList>
#include <QString>

namespace vinorium::data {

class Database;

struct AppellationRow {
    QString appellation;
    QString region;
};

// The appellation reference list shipped with the programs (French appellations
// by wine region, then other wine countries with a few appellations each), in
// file order. Throws EngineError when the list cannot be read.
QList<AppellationRow> referenceAppellations();

// Builds a new default cellar file at path, in one transaction. Refused
// (EngineError) when the file exists; on any failure the half-made file is
// removed and the EngineError carries the reason.
void createDefaultCellar(const QString& path);

// Fills a connection whose file holds no table yet with the default cellar's
// tables, stored queries and rows (inside the caller's transaction, if any).
void fillDefaultCellar(Database& db);

}  // namespace vinorium::data
