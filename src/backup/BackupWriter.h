#pragma once

#include "backup/BackupManifest.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

namespace quillio::backup {

// Writes one copy of a data directory: every table file of every working year and the company
// file, each copied consistently while others may write (a file SQLite cannot read goes in as it
// is, marked damaged), and manifest.json. The zip is written in a staging folder of its own beside
// its place, verified, and only then given its name: a copy is there whole or not at all. What
// killed runs left in that folder is removed at the next copy there.
class BackupWriter
{
public:
    // `tableFiles`: the three table file names of the settings.
    BackupWriter(QString dataDirectory, QStringList tableFiles);

    // Writes the copy into `zipPath` (replacing a file of that name only once the new one is
    // verified) and returns its manifest; BackupError when anything fails, leaving no new file, and
    // for a folder that holds no archive. The manifest's warnings() tell of damaged and missing
    // files: the copy is written all the same, since it still holds everything that was there.
    BackupManifest write(const QString& zipPath, const QDateTime& now) const;

    // "Quillio-2026-03-05-1030.zip"
    static QString fileNameFor(const QDateTime& moment);
    // "Quillio-prima-del-ripristino-2026-03-05-1030.zip"
    static QString preRestoreFileNameFor(const QDateTime& moment);
    // Creates an empty file `fileName` in `folder`, or "<name>-2.zip", "<name>-3.zip"… when that is
    // taken, in one exclusive step, so that two processes never pick one name; returns its path.
    // A copy written there replaces the empty file.
    static QString claimFreeName(const QString& folder, const QString& fileName);

private:
    QString m_dataDirectory;
    QStringList m_tableFiles;
};

} // namespace quillio::backup
