#include "backup/ProgramRestore.h"

#include "archive/ArchiveSequences.h"
#include "backup/ArchiveContents.h"
#include "backup/BackupPreferences.h"
#include "config/Settings.h"
#include "config/SettingsKey.h"
#include "platform/Platform.h"

#include <QDir>

namespace quillio::backup {

namespace {

QString yearDirectory()
{
    return config::Settings::yearDirectory();
}

// The working year as the start-up opens it.
void reopen(archive::TFDB& db)
{
    const QString yearDir = yearDirectory();
    QDir().mkpath(yearDir);
    const bool created = archive::ArchiveSequences::missingTableCheck(db, yearDir);
    archive::ArchiveSequences::rebind(db);
    if (created)
        archive::ArchiveSequences::protectionPass(yearDir);
}

} // namespace

BackupRestore::Outcome ProgramRestore::run(archive::TFDB& db, const QString& zipPath)
{
    const QString dataDirectory = ArchiveContents::dataDirectoryOfSettings();
    const QString folder = BackupPreferences::folderForRestore(dataDirectory);
    // Closing the tables releases their files, so they can be replaced.
    archive::ArchiveSequences::rebind(db);
    try {
        BackupRestore::Outcome outcome = BackupRestore(dataDirectory, ArchiveContents::tableFilesOfSettings())
                                             .restore(zipPath, folder, Platform::clock().now());
        reopen(db);
        return outcome;
    } catch (...) {
        archive::ArchiveSequences::rebind(db);
        throw;
    }
}

} // namespace quillio::backup
