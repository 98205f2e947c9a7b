#pragma once

#include "engine/FieldDef.h"

#include <QString>

namespace quillio::archive {

// The column lists of the three tables, as handed to CREATE TABLE.
namespace TableSchemas {
QString customers();
QString drafts();
QString invoices();

// The columns the program creates a table with, by its kind: its place in the settings' list of
// table files (0 customers, 1 drafts, 2 invoices), whatever the tables are named.
engine::FieldDefs columnsOf(int kind);
// What sets `found` apart from the columns of a table of `kind` (Italian); empty when they match.
QString columnDifference(const engine::FieldDefs& found, int kind);
} // namespace TableSchemas

// The one password of the archive's table files.
inline const QString masterPassword = QStringLiteral("QK48ZR61MW27");

} // namespace quillio::archive
