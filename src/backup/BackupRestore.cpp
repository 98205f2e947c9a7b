#include "backup/BackupRestore.h"

#include "backup/ArchiveContents.h"
#include "backup/BackupError.h"
#include "backup/BackupVerifier.h"
#include "backup/BackupWriter.h"
#include "backup/RestoreJournal.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

namespace quillio::backup {

namespace {

QString native(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

// The pre-restore copy never replaces an earlier one taken in the same minute.
QString freePath(const QString& folder, const QString& fileName)
{
    const QFileInfo name(fileName);
    QString path = QDir(folder).filePath(fileName);
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = QDir(folder).filePath(
            QStringLiteral("%1-%2.%3").arg(name.completeBaseName()).arg(n).arg(name.suffix()));
    return path;
}

QString refusal(const QString& zipPath, const QStringList& problems)
{
    return QStringLiteral("La copia %1 non può essere ripristinata: %2. Nessun file è stato sostituito.")
        .arg(native(zipPath), problems.join(QStringLiteral("; ")));
}

} // namespace

BackupRestore::BackupRestore(QString dataDirectory, QStringList tableFiles)
    : m_dataDirectory(std::move(dataDirectory)), m_tableFiles(std::move(tableFiles))
{
}

BackupRestore::Outcome BackupRestore::restore(const QString& zipPath, const QString& preRestoreFolder,
                                              const QDateTime& now) const
{
    ArchiveContents::requireFolder(m_dataDirectory);
    if (!QFileInfo(m_dataDirectory).isDir())
        throw BackupError(QStringLiteral("La cartella dei dati %1 non esiste.").arg(native(m_dataDirectory)));
    // Holds the folder for this restore alone, after finishing or undoing one that was stopped.
    RestoreJournal journal(m_dataDirectory);
    // Staged inside the data directory, so each file reaches its place by a rename on one disk.
    QTemporaryDir staging(
        QDir(m_dataDirectory).filePath(RestoreJournal::stagingPrefix + QStringLiteral("XXXXXX")));
    if (!staging.isValid())
        throw BackupError(
            QStringLiteral("Impossibile scrivere nella cartella dei dati %1.").arg(native(m_dataDirectory)));
    const QString incoming = QDir(staging.path()).filePath(QStringLiteral("copia"));
    QDir().mkpath(incoming);

    const BackupVerifier::Result verified = BackupVerifier::verify(zipPath, incoming);
    if (!verified.ok())
        throw BackupError(refusal(zipPath, verified.problems));

    Outcome outcome;
    outcome.restored = *verified.manifest;
    outcome.preRestoreCopy = freePath(preRestoreFolder, BackupWriter::preRestoreFileNameFor(now));
    BackupWriter(m_dataDirectory, m_tableFiles).write(outcome.preRestoreCopy, now);

    QStringList paths;
    for (const BackupManifest::File& file : outcome.restored.files)
        paths << file.path;
    // From here the journal owns the staging folder, which comes to hold the old files set aside.
    staging.setAutoRemove(false);
    journal.replace(staging.path(), incoming, paths);
    return outcome;
}

} // namespace quillio::backup
