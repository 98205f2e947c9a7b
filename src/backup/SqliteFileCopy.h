#pragma once

#include "backup/BackupManifest.h"

#include <QString>

namespace quillio::backup {

// One SQLite file copied while others may be writing it, and the figures of a copy.
class SqliteFileCopy
{
public:
    // Copies `source` into a new file `target` with SQLite's online backup, in one step under
    // one read lock, so a writer on another desk waits a moment instead of tearing the copy.
    static void copy(const QString& source, const QString& target);
    // Saves `source` into `target` for a copy and returns its manifest entry: through copy() when
    // SQLite reads the file whole, else byte for byte, marked damaged with the reason, so that a
    // copy is still a full record of what was there. Other failures (a file held too long by
    // another desk, a disk error) raise BackupError as copy() does.
    static BackupManifest::File save(const QString& source, const QString& target,
                                     const QString& relativePath, const QString& year);
    // Why SQLite cannot read the file (empty, not a database, damaged pages); empty when it can, or
    // when what stops it is not damage of the file (a lock, a disk error).
    static QString damageOf(const QString& path);
    // The manifest entry of a copied file: SHA-256, size, records of each table, and for a table
    // file the highest OrdNum. Read plainly from the file, without the engine.
    static BackupManifest::File describe(const QString& path, const QString& relativePath,
                                         const QString& year);
    // Whether the file is an SQLite database and SQLite finds it whole ("ok" from its integrity
    // check); the problem otherwise. An empty file, which SQLite takes for an empty database, is not.
    static QString integrityProblem(const QString& path);
    // Whether the database declares triggers or views, which none of the program's files holds.
    static bool carriesTriggersOrViews(const QString& path);
    static QByteArray sha256Of(const QString& path);
};

} // namespace quillio::backup
