#pragma once

#include <QString>
#include <QStringList>

namespace quillio::engine {

// Where the archive's data lives: a folder on disk, or a database on a server given by an address
// (postgresql://host/database/). A year of the archive is a subfolder of the folder, or a schema of
// the database named after the year (postgresql://host/database/2026/); a table file of a year is
// a file of that folder, or a table of that schema named as the file. These functions answer the
// same questions for both, so no caller needs to know which one it has.
class DataPlace
{
public:
    // Whether `location` is a server address (postgresql:// or postgres://).
    static bool isServerAddress(const QString& location);
    // The year `name` inside `location`, ending with a separator: "/data/" + "2026" is
    // "/data/2026/"; an address gains a path segment, its options staying at the end. A name that is
    // not a year's (PlainName::isYear: one plain segment, not hidden) is refused with the engine's
    // error: names read from a server, a folder or the settings never reach a path unchecked.
    static QString child(const QString& location, const QString& name);
    // Where a copy puts the year `year` of `location` until it is whole: a hidden place beside the
    // years, named after it. The only kind of place remove() takes.
    static QString staging(const QString& location, const QString& year);
    // Whether the folder exists; for an address, whether the server answers and the database (for
    // a year's address, its schema) exists.
    static bool exists(const QString& location);
    // Makes the folder, or the year's schema; true when it is there afterwards.
    static bool create(const QString& location);
    // Whether the table file `fileName` of `directory` exists.
    static bool tableExists(const QString& directory, const QString& fileName);
    // Gives a year place (a folder, or a schema) of a data place the name of `newName` in the same
    // data place; false when it cannot, or when `newName` exists.
    static bool rename(const QString& location, const QString& newName);
    // Removes a staging place with everything in it: for a copy that did not finish. Refuses
    // (false) any other place, so nothing named from outside is ever removed.
    static bool remove(const QString& location);
    // The year-named subfolders of a folder, or year-named schemas of a database, sorted. The other
    // names found, but for staging places, go to `others` when given, for the caller to mention.
    static QStringList children(const QString& location, QStringList* others = nullptr);
    // The place as a message shows it: a folder with the system's separators, an address without
    // its password.
    static QString shown(const QString& location);
    // Why the last of these calls on this thread failed, as the server said it; never holds a
    // password.
    static QString lastError();
};

} // namespace quillio::engine
