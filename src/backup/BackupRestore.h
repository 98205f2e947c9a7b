#pragma once

#include "backup/BackupManifest.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

namespace quillio::backup {

// Puts a copy back into a data directory. Nothing is lost by a restore, even a wrong one: the copy
// is verified first (a damaged copy replaces nothing), the archive as it is now is saved as a
// copy of its own, and each file is then replaced in one rename. The replacement is all or
// nothing (RestoreJournal): should it fail halfway, or the program be stopped in the middle, the
// files already replaced are put back as they were, at once or at the next start.
class BackupRestore
{
public:
    struct Outcome
    {
        BackupManifest restored;
        QString preRestoreCopy; // the copy of the archive as it was before
    };

    // `tableFiles`: the three table file names of the settings.
    BackupRestore(QString dataDirectory, QStringList tableFiles);

    // `preRestoreFolder` receives "Quillio-prima-del-ripristino-….zip". BackupError when the copy
    // is refused or anything fails; the data directory is then as it was.
    Outcome restore(const QString& zipPath, const QString& preRestoreFolder, const QDateTime& now) const;

private:
    QString m_dataDirectory;
    QStringList m_tableFiles;
};

} // namespace quillio::backup
