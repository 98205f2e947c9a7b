#pragma once

#include <QString>

namespace quillio::backup {

// Forces files and their folders to the disk, so that what a rename puts in place is still there,
// whole, after a power cut: the file's bytes before the rename makes them reachable, the folder
// after it, so the new name itself is kept. Each failure raises a BackupError naming the file.
class DurableFile
{
public:
    static void syncFile(const QString& path);
    // A file system that cannot force a folder (some network shares) is taken as it is.
    static void syncDirectory(const QString& path);
    // Renames `from` over `to` (replacing it in one step) and forces both folders.
    static void renameDurably(const QString& from, const QString& to);
};

} // namespace quillio::backup
