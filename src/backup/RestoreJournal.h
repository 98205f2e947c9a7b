#pragma once

#include "backup/FolderLock.h"

#include <QString>
#include <QStringList>

namespace quillio::backup {

// Puts a restore's files in place all at once or not at all, even when the program is killed or
// the power fails halfway: the next start (or the next run of quillio-archive, or the next restore)
// finds the journal of the swap and finishes it or undoes it.
//
// Before the first file is touched, the journal `.quillio-ripristino.journal` is written beside the
// years and forced to disk. It names the staging folder, each file to replace (its path in the data
// directory and whether it existed) and the year folders the restore creates. Each file then goes
//   target → <staging>/prima/<n>      the old file, moved aside by a rename (n: its place in the list)
//   <staging>/copia/<path> → target   the copy's file, already forced to disk
// each rename forced to disk with both its folders. The journal's state decides:
//   "swapping"   the swap may have stopped anywhere: recovery undoes it, newest first. An old file
//                still aside goes back to its place (over the copy's file, if that came in); when the
//                aside file is gone, the target holds the old file already. A file that did not exist
//                before is removed, and the created folders go when they are empty.
//   "committed"  written (and forced) only once every copy's file is in place and forced: from then
//                on the copy wins, and recovery only removes what is left over.
// Recovery then removes the staging folders and, last of all, the journal, so a crash during
// recovery leaves the journal for the next one: every step can be repeated. A staging folder with
// no journal was left by a restore that stopped before its swap, and holds nothing of the archive.
//
// One restore or recovery at a time works on a data directory: each holds the lock file
// `.quillio-ripristino.lock` beside the journal (FolderLock), which a killed process does not keep.
class RestoreJournal
{
public:
    enum class Recovery {
        Nothing,    // no restore had been stopped
        RolledBack, // the archive is again as before the stopped restore
        Completed,  // the stopped restore had put every file in place; what was left is removed
        Busy,       // another program is restoring into this folder now; left to it
    };

    static inline const QString journalName = QStringLiteral(".quillio-ripristino.journal");
    static inline const QString stagingPrefix = QStringLiteral(".quillio-ripristino-");

    // Takes the data directory's lock for a restore and recovers an earlier one. BackupError when
    // another restore holds the lock, the folder cannot be written or the recovery fails.
    explicit RestoreJournal(QString dataDirectory);
    RestoreJournal(const RestoreJournal&) = delete;
    RestoreJournal& operator=(const RestoreJournal&) = delete;

    // Puts each file of `paths` ('/'-separated, as in the copy), staged below `incoming` inside
    // `stagingDirectory`, in its place in the data directory, then removes the staging folder.
    // On failure raises BackupError with the data directory as it was before; only if even
    // putting back fails, the journal stays for the next start, and the message says so.
    void replace(const QString& stagingDirectory, const QString& incoming, const QStringList& paths);

    // Finishes or undoes a stopped restore in `dataDirectory` and removes its leftovers.
    // BackupError when the journal cannot be read or a file cannot be put back.
    static Recovery recover(const QString& dataDirectory);
    // What to tell the person after recover(); empty when there is nothing to say.
    static QString messageFor(Recovery recovery, const QString& dataDirectory);
    // Whether a restore is unfinished (its journal is there). Reads only.
    static bool isUnfinished(const QString& dataDirectory);

private:
    struct Plan;

    static Recovery recoverLocked(const QString& dataDirectory);
    Plan planFor(const QString& stagingDirectory, const QStringList& paths) const;
    void swap(const Plan& plan, const QString& incoming) const;
    Recovery undoAfterFailure(const QString& failure) const;

    QString m_dataDirectory;
    FolderLock m_lock;
};

} // namespace quillio::backup
