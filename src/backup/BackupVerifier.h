#pragma once

#include "backup/BackupManifest.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace quillio::backup {

// Proves a copy restorable before anyone relies on it: the zip reads back whole (its checksums),
// the manifest is ours, every file it lists is there with its SHA-256, passes SQLite's integrity
// check, holds the records the manifest counts, and every table file opens through the engine
// with the archive's password. A file the manifest marks damaged (saved byte for byte because
// SQLite could not read it) is checked only for its SHA-256 and size.
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
    // without, they go to a temporary directory that is removed.
    static Result verify(const QString& zipPath, const QString& extractInto = {});
};

} // namespace quillio::backup
