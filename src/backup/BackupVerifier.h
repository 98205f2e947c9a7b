#pragma once

#include "backup/ArchiveContents.h"
#include "backup/BackupManifest.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace quillio::backup {

// Proves a copy restorable before anyone relies on it, and refuses one that someone crafted. The
// zip reads back whole (its checksums), the manifest is ours, and the copy holds nothing but the
// files an archive has, each listed once: a known table file of a year ("2026/Fatture.DB") and the
// company file. Every file is there with the size and SHA-256 listed, is a whole SQLite database
// without triggers or views, and holds the records the manifest counts; every table file opens
// through the engine with the archive's password and has the columns of its kind.
// A file the manifest marks damaged (saved byte for byte because SQLite could not read it) is
// checked only for its SHA-256 and size.
class BackupVerifier
{
public:
    struct Result
    {
        std::optional<BackupManifest> manifest; // as read, when it could be read
        QStringList problems;                   // in Italian, one per fault found
        bool ok() const { return manifest && problems.isEmpty(); }
    };

    // With `extractInto`, the verified files stay there under their relative paths (for a restore);
    // without, they go to a temporary directory that is removed. `tableFiles`: the customers',
    // drafts' and invoices' table file names, the only ones a year of the copy may hold.
    static Result verify(const QString& zipPath, const QString& extractInto = {},
                         const QStringList& tableFiles = ArchiveContents::tableFilesOfSettings());
};

} // namespace quillio::backup
