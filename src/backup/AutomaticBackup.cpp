#include "backup/AutomaticBackup.h"

#include "backup/ArchiveContents.h"
#include "backup/BackupPreferences.h"
#include "backup/BackupRotation.h"
#include "backup/BackupWriter.h"
#include "business/BusinessFile.h"
#include "engine/DataPlace.h"
#include "platform/Platform.h"

#include <QDir>
#include <exception>

namespace quillio::backup {

AutomaticBackup::Job AutomaticBackup::fromSettings()
{
    return {ArchiveContents::dataDirectoryOfSettings(), ArchiveContents::tableFilesOfSettings(),
            Platform::clock().now()};
}

AutomaticBackup::Outcome AutomaticBackup::run(const Job& job)
{
    Outcome outcome;
    // A server's archive is copied on the server, on its own schedule.
    if (engine::DataPlace::isServerAddress(job.dataDirectory))
        return outcome;
    try {
        business::BusinessFile file(job.dataDirectory);
        BackupPreferences preferences(file);
        if (preferences.lastAutomaticCopy() == job.now.date())
            return outcome;
        outcome.ran = true;
        const QString folder = preferences.folder(job.dataDirectory);
        outcome.copy = QDir(folder).filePath(BackupWriter::fileNameFor(job.now));
        try {
            const BackupManifest manifest =
                BackupWriter(job.dataDirectory, job.tableFiles).write(outcome.copy, job.now);
            const QStringList warnings = manifest.warnings();
            // While the archive is damaged or short of a file, the older copies may be the only
            // ones that hold it whole: none is removed until it is whole again.
            if (warnings.isEmpty())
                BackupRotation::apply(folder, job.now.date());
            else
                outcome.failure =
                    QStringLiteral("La copia di sicurezza automatica del %1 è stata scritta, ma "
                                   "l'archivio non è integro: %2. Le copie precedenti sono "
                                   "conservate tutte finché l'archivio non torna integro.")
                        .arg(job.now.toString(QStringLiteral("dd/MM/yyyy HH:mm")),
                             warnings.join(QStringLiteral("; ")));
            preferences.setLastAutomaticCopy(job.now.date());
            preferences.setPendingFailure(outcome.failure);
        } catch (const std::exception& error) {
            outcome.failure = QStringLiteral("La copia di sicurezza automatica del %1 non è riuscita: %2")
                                  .arg(job.now.toString(QStringLiteral("dd/MM/yyyy HH:mm")),
                                       QString::fromUtf8(error.what()));
            preferences.setPendingFailure(outcome.failure);
        }
    } catch (const std::exception& error) {
        // Not even the company file could be used: the failure can only be returned.
        outcome.ran = true;
        outcome.failure = QStringLiteral("La copia di sicurezza automatica non è riuscita: %1")
                              .arg(QString::fromUtf8(error.what()));
    }
    return outcome;
}

} // namespace quillio::backup
