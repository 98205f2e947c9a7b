#pragma once

#include "backup/BackupManifest.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

namespace quillio::backup {

// Writes one copy of a data directory: every working year's three tables and the company file,
// each copied consistently while others may write, and manifest.json. The zip is written under
// a temporary name beside its place, verified, and only then given its name: a copy is there
// whole or not at all.
class BackupWriter
{
public:
    // `tableFiles`: the three table file names of the settings.
    BackupWriter(QString dataDirectory, QStringList tableFiles);

    // Writes the copy into `zipPath` (replacing a file of that name only once the new one is
    // verified) and returns its manifest; BackupError when anything fails, leaving no new file.
    BackupManifest write(const QString& zipPath, const QDateTime& now) const;

    // "Quillio-2026-03-05-1030.zip"
    static QString fileNameFor(const QDateTime& moment);
    // "Quillio-prima-del-ripristino-2026-03-05-1030.zip"
    static QString preRestoreFileNameFor(const QDateTime& moment);

private:
    QString m_dataDirectory;
    QStringList m_tableFiles;
};

} // namespace quillio::backup
