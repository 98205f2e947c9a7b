#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace quillio::backup {

// The files of a data directory that a copy holds: the three table files of every year directory
// that has all three, and the company file beside them when present.
class ArchiveContents
{
public:
    struct Item
    {
        QString relativePath; // '/'-separated, as inside the copy
        QString absolutePath;
        QString year; // empty for the company file
    };

    // `tableFiles`: the three table file names of the settings.
    static QList<Item> of(const QString& dataDirectory, const QStringList& tableFiles);
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
};

} // namespace quillio::backup
