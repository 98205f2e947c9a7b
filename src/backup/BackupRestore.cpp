#include "backup/BackupRestore.h"

#include "backup/ArchiveContents.h"
#include "backup/BackupError.h"
#include "backup/BackupPreferences.h"
#include "backup/BackupVerifier.h"
#include "backup/BackupWriter.h"
#include "business/BusinessFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <filesystem>

namespace quillio::backup {

namespace {

QString native(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

void renameOver(const QString& source, const QString& target)
{
    std::error_code error;
    std::filesystem::rename(QFile::encodeName(source).toStdString(), QFile::encodeName(target).toStdString(),
                            error);
    if (error)
        throw BackupError(QStringLiteral("Impossibile sostituire %1: %2.")
                              .arg(native(target), QString::fromLocal8Bit(error.message().c_str())));
}

// The files replaced so far, each with a copy of what it held, to put back if a later one fails.
class Replacements
{
public:
    explicit Replacements(QString asideDirectory) : m_aside(std::move(asideDirectory)) {}

    void replace(const QString& staged, const QString& target)
    {
        QDir().mkpath(QFileInfo(target).absolutePath());
        QString aside;
        if (QFileInfo::exists(target)) {
            aside = QDir(m_aside).filePath(QString::number(m_done.size()));
            if (!QFile::copy(target, aside))
                throw BackupError(QStringLiteral("Impossibile mettere da parte %1.").arg(native(target)));
        }
        renameOver(staged, target);
        m_done.append({target, aside});
    }

    // Best effort: puts every replaced file back, newest first.
    void undo() noexcept
    {
        for (qsizetype i = m_done.size() - 1; i >= 0; --i) {
            const Done& step = m_done.at(i);
            if (step.aside.isEmpty())
                QFile::remove(step.target);
            else
                try {
                    renameOver(step.aside, step.target);
                } catch (const BackupError&) {
                }
        }
        m_done.clear();
    }

private:
    struct Done
    {
        QString target;
        QString aside; // empty: the file did not exist before
    };
    QString m_aside;
    QList<Done> m_done;
};

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
    // Staged inside the data directory, so each file reaches its place by a rename on one disk.
    QTemporaryDir staging(QDir(m_dataDirectory).filePath(QStringLiteral(".quillio-ripristino-XXXXXX")));
    if (!staging.isValid())
        throw BackupError(
            QStringLiteral("Impossibile scrivere nella cartella dei dati %1.").arg(native(m_dataDirectory)));
    const QString incoming = QDir(staging.path()).filePath(QStringLiteral("copia"));
    const QString aside = QDir(staging.path()).filePath(QStringLiteral("prima"));
    QDir().mkpath(incoming);
    QDir().mkpath(aside);

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

    Replacements replacements(aside);
    try {
        for (const BackupManifest::File& file : replaced)
            replacements.replace(QDir(incoming).filePath(file.path),
                                 QDir(m_dataDirectory).filePath(file.path));
    } catch (...) {
        replacements.undo();
        throw;
    }
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
