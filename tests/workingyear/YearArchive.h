#pragma once

#include <QString>
#include <QStringList>

namespace quillio::engine {
class Table;
}

namespace quillio::test {

// Year directories laid out by hand under the data directory of the settings, as another copy
// of the program or an older year would have left them, and probes of their table files.
namespace YearArchive {

inline const QStringList allTables = {"Rubrica.DB", "Bozze.DB", "Fatture.DB"};

// Makes the directory `year` (every level) with the given table files, unprotected, and stores
// the customers by name in its customer table when that is among them. Returns the directory,
// ending with a separator.
QString make(const QString& year, const QStringList& tables, const QStringList& customers = {});
// The year directory of a year text, as the start-up joins it.
QString directory(const QString& year);
bool opensWithoutPassword(const QString& dir, const QString& file);
// Refused without a password and opened with the master password.
bool isProtected(const QString& dir, const QString& file);
// The customer names of a table, which is opened when closed.
QStringList customerNames(engine::Table& table);

} // namespace YearArchive

} // namespace quillio::test
