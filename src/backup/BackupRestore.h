#pragma once

#include "backup/BackupManifest.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

namespace quillio::backup {

// Puts a copy back into a data directory. Nothing is lost by a restore, even a wrong one: the copy
// is verified first (a damaged copy replaces nothing), the archive as it is now is saved as a
// copy of its own (its damaged files byte for byte), and each file is then replaced in one
// rename; a file that copy did not save is never replaced. A file the copy holds only as it was
// when damaged is not put back. The replacement is all or nothing (RestoreJournal): should it fail
// halfway, or the program be stopped in the middle, the files already replaced are put back as
// they were, at once or at the next start.
class BackupRestore
{
public:
    struct Outcome
    {
        BackupManifest restored;
        QString preRestoreCopy;  // the copy of the archive as it was before; empty when there was none
        BackupManifest saved;    // what that copy holds
        QStringList notRestored; // files damaged in the copy, left as they are in the archive
        // What the person must learn: the damaged or missing files of the archive as it was, the
        // files not restored (Italian, one line each).
        QStringList warnings() const;
        // The backup folder the copy's company file named, when it is not the archive's own: kept
        // out of the restored file, for the person to choose or not.
        QString backupFolderOfCopy;
    };

    // `tableFiles`: the three table file names of the settings.
    BackupRestore(QString dataDirectory, QStringList tableFiles);

    // `preRestoreFolder` receives "Quillio-prima-del-ripristino-….zip". BackupError when the copy
    // is refused or anything fails; the data directory is then as it was.
    Outcome restore(const QString& zipPath, const QString& preRestoreFolder, const QDateTime& now) const;

private:
    // Writes the pre-restore copy into a name of its own; a failure says it is the archive's.
    void saveAsItIs(const QString& preRestoreFolder, const QDateTime& now, Outcome& outcome) const;

    QString m_dataDirectory;
    QStringList m_tableFiles;
};

} // namespace quillio::backup
