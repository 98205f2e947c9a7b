#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace quillio::backup {

// The files of a data directory that a copy holds: every table file of every year directory, and
// the company file beside them when present. A year directory is one named as a year that holds
// at least one of the table files; the table files it lacks are listed as missing, so that a year
// short of one file still has the others copied.
class ArchiveContents
{
public:
    struct Item
    {
        QString relativePath; // '/'-separated, as inside the copy
        QString absolutePath;
        QString year; // empty for the company file
    };

    struct Listing
    {
        QList<Item> items;
        QStringList missing; // '/'-separated, as `relativePath`
    };

    // `tableFiles`: the three table file names of the settings.
    static Listing of(const QString& dataDirectory, const QStringList& tableFiles);
    // The three table file names the program uses when the settings name none.
    static inline const QStringList defaultTableFiles = {
        QStringLiteral("Rubrica.DB"), QStringLiteral("Bozze.DB"), QStringLiteral("Fatture.DB")};
    // The three table file names as the settings give them now, a default where a name is missing.
    static QStringList tableFilesOfSettings();
    // The data directory of the settings.
    static QString dataDirectoryOfSettings();
    // What the copy windows say of a server's archive instead of a folder of copies.
    static inline const QString serverCopies = QStringLiteral("sul server di database (pg_dump)");
    // Copies are of a data folder: an archive on a database server is copied on the server itself
    // (pg_dump), where the copy is consistent across every desk's work. Raises the BackupError
    // that says so for a server address.
    static void requireFolder(const QString& dataDirectory);
    // A folder that holds neither a year nor the company file is not an archive: a copy of it
    // would be empty. Raises the BackupError that names the folder.
    static void requireArchive(const QString& dataDirectory, const Listing& listing);
};

} // namespace quillio::backup
