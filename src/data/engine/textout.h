#pragma once

// Values written as text for tools and tests: one line per row, fields
// separated by a tab, Null as \N; tab, carriage return, line feed and
// backslash inside texts as \t, \r, \n, \\; dates as yyyy-mm-dd (with
// hh:mm:ss when there is a time); yes/no as -1 or 0; numbers with a decimal
// point in their shortest form.

#include "data/engine/query.h"

#include <QString>
#include <QStringList>

namespace vinorium::data {

QString toolText(const Field& field);

// The current row of an open query, fields separated by a tab.
QString toolRow(const Query& query);
// The column names, separated by a tab.
QString toolHeader(const Query& query);

}  // namespace vinorium::data
