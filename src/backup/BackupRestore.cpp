#include "backup/BackupRestore.h"

#include "backup/ArchiveContents.h"
#include "backup/BackupError.h"
#include "backup/BackupPreferences.h"
#include "backup/BackupVerifier.h"
#include "backup/BackupWriter.h"
#include "backup/RestoreJournal.h"
#include "business/BusinessFile.h"

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

QString refusal(const QString& zipPath, const QStringList& problems)
{
    return QStringLiteral("La copia %1 non può essere ripristinata: %2. Nessun file è stato sostituito.")
        .arg(native(zipPath), problems.join(QStringLiteral("; ")));
}

// The files of the copy that take the place of what is there. One damaged in the copy is not put
// back: what is there stays. Nor is one that the copy of the archive as it was did not save, so
// that nothing is replaced without being kept.
QList<BackupManifest::File> replacedFiles(const BackupRestore::Outcome& outcome, const QString& dataDirectory,
                                          const QString& zipPath)
{
    QList<BackupManifest::File> replaced;
    for (const BackupManifest::File& file : outcome.restored.files) {
        if (file.damaged)
            continue;
        if (QFileInfo::exists(QDir(dataDirectory).filePath(file.path)) && !outcome.saved.find(file.path))
            throw BackupError(
                refusal(zipPath, {QStringLiteral("%1 nell'archivio attuale non è stato salvato "
                                                 "nella copia di prima del ripristino, quindi non "
                                                 "si sostituisce")
                                      .arg(file.path)}));
        replaced.append(file);
    }
    return replaced;
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

    const BackupVerifier::Result verified = BackupVerifier::verify(zipPath, incoming, m_tableFiles);
    if (!verified.ok())
        throw BackupError(refusal(zipPath, verified.problems));

    Outcome outcome;
    outcome.restored = *verified.manifest;
    for (const BackupManifest::File& file : outcome.restored.files)
        if (file.damaged)
            outcome.notRestored.append(file.path);
    if (!outcome.notRestored.contains(business::BusinessFile::fileName))
        outcome.backupFolderOfCopy = BackupPreferences::keepAcrossRestore(
            incoming, m_dataDirectory, BackupPreferences::held(m_dataDirectory));
    // An empty place (a new computer) has nothing to save.
    if (!ArchiveContents::of(m_dataDirectory, m_tableFiles).items.isEmpty())
        saveAsItIs(preRestoreFolder, now, outcome);
    QList<BackupManifest::File> replaced;
    try {
        replaced = replacedFiles(outcome, m_dataDirectory, zipPath);
    } catch (const BackupError&) {
        // Refused before anything changed: the copy taken for it has nothing to undo.
        if (!outcome.preRestoreCopy.isEmpty())
            QFile::remove(outcome.preRestoreCopy);
        throw;
    }

    QStringList paths;
    for (const BackupManifest::File& file : replaced)
        paths << file.path;
    // From here the journal owns the staging folder, which comes to hold the old files set aside.
    staging.setAutoRemove(false);
    journal.replace(staging.path(), incoming, paths);
    return outcome;
}

QStringList BackupRestore::Outcome::warnings() const
{
    QStringList lines = saved.warnings();
    for (const QString& path : notRestored)
        lines.append(QStringLiteral("%1 non è stato ripristinato: nella copia è danneggiato, quindi resta "
                                    "com'era")
                         .arg(path));
    return lines;
}

void BackupRestore::saveAsItIs(const QString& preRestoreFolder, const QDateTime& now, Outcome& outcome) const
{
    try {
        outcome.preRestoreCopy =
            BackupWriter::claimFreeName(preRestoreFolder, BackupWriter::preRestoreFileNameFor(now));
        outcome.saved = BackupWriter(m_dataDirectory, m_tableFiles).write(outcome.preRestoreCopy, now);
    } catch (const BackupError& error) {
        if (!outcome.preRestoreCopy.isEmpty())
            QFile::remove(outcome.preRestoreCopy);
        throw BackupError(QStringLiteral("Prima di ripristinare, l'archivio attuale in %1 va salvato in una "
                                         "copia a parte, ma non è stato possibile: %2 Nessun file è stato "
                                         "sostituito.")
                              .arg(native(m_dataDirectory), error.text()));
    }
}

} // namespace quillio::backup
