#include "backup/BackupWriter.h"

#include "backup/ArchiveContents.h"
#include "backup/BackupError.h"
#include "backup/BackupVerifier.h"
#include "backup/DurableFile.h"
#include "backup/SqliteFileCopy.h"
#include "backup/ZipArchive.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <filesystem>

#ifndef QUILLIO_VERSION
#define QUILLIO_VERSION "unknown"
#endif

namespace quillio::backup {

namespace {

QString native(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

// Replaces `target` with `source` in one step, as the file system renames; the copy's bytes reach
// the disk before its name does, and its name before the caller hears the copy is there.
void moveOver(const QString& source, const QString& target)
{
    DurableFile::syncFile(source);
    std::error_code error;
    std::filesystem::rename(QFile::encodeName(source).toStdString(), QFile::encodeName(target).toStdString(),
                            error);
    if (error)
        throw BackupError(QStringLiteral("Impossibile dare il nome %1 alla copia: %2.")
                              .arg(native(target), QString::fromLocal8Bit(error.message().c_str())));
    DurableFile::syncDirectory(QFileInfo(target).absolutePath());
}

// Runs that were killed leave their staging folder (and, for a pre-restore copy, the empty file
// that claimed its name) behind. They are removed once an hour old, so that a copy still being
// written by another run keeps its own.
constexpr qint64 LeftoverAgeSeconds = 3600;
const QString stagingPattern = QStringLiteral(".quillio-copia-XXXXXX");
const QString preRestorePrefix = QStringLiteral("Quillio-prima-del-ripristino-");
constexpr int MostClaimAttempts = 1000;

// Only the files directly inside, then the folder: nothing in it is followed or searched.
void removeStagingFolder(const QFileInfo& staging)
{
    QDir directory(staging.filePath());
    for (const QString& name : directory.entryList(QDir::Files | QDir::Hidden | QDir::System))
        directory.remove(name);
    staging.dir().rmdir(staging.fileName());
}

void removeLeftovers(const QString& folder)
{
    static const QRegularExpression staging(QStringLiteral("^\\.quillio-copia-[A-Za-z0-9]{6}$"));
    static const QRegularExpression claimed(
        QStringLiteral("^%1.*\\.zip$").arg(QRegularExpression::escape(preRestorePrefix)));
    const QDateTime oldest = QDateTime::currentDateTime().addSecs(-LeftoverAgeSeconds);
    const QFileInfoList entries =
        QDir(folder).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo& entry : entries) {
        if (entry.isSymLink() || entry.lastModified() > oldest)
            continue;
        if (entry.isDir() && staging.match(entry.fileName()).hasMatch())
            removeStagingFolder(entry);
        else if (entry.isFile() && entry.size() == 0 && claimed.match(entry.fileName()).hasMatch())
            QFile::remove(entry.filePath());
    }
}

} // namespace

BackupWriter::BackupWriter(QString dataDirectory, QStringList tableFiles)
    : m_dataDirectory(std::move(dataDirectory)), m_tableFiles(std::move(tableFiles))
{
}

BackupManifest BackupWriter::write(const QString& zipPath, const QDateTime& now) const
{
    ArchiveContents::requireFolder(m_dataDirectory);
    if (!QFileInfo(m_dataDirectory).isDir())
        throw BackupError(QStringLiteral("La cartella dei dati %1 non esiste.").arg(native(m_dataDirectory)));
    const ArchiveContents::Listing listing = ArchiveContents::of(m_dataDirectory, m_tableFiles);
    ArchiveContents::requireArchive(m_dataDirectory, listing);
    const QString folder = QFileInfo(zipPath).absolutePath();
    if (!QDir().mkpath(folder))
        throw BackupError(QStringLiteral("Impossibile creare la cartella %1.").arg(native(folder)));
    removeLeftovers(folder);
    // Everything of this run, the unfinished zip too, is in a folder of its own beside the copy's
    // place: two runs never share a name, and the zip reaches its place by a rename on one disk.
    QTemporaryDir staging(QDir(folder).filePath(stagingPattern));
    if (!staging.isValid())
        throw BackupError(QStringLiteral("Impossibile scrivere nella cartella %1.").arg(native(folder)));
    const QString partial = staging.filePath(QStringLiteral("copia.zip.part"));

    BackupManifest manifest;
    manifest.created = now;
    manifest.programVersion = QStringLiteral(QUILLIO_VERSION);
    manifest.missing = listing.missing;
    {
        ZipArchive zip(partial, ZipArchive::Mode::Create);
        int serial = 0;
        for (const ArchiveContents::Item& item : listing.items) {
            const QString copy = staging.filePath(QString::number(++serial));
            manifest.files.append(
                SqliteFileCopy::save(item.absolutePath, copy, item.relativePath, item.year));
            zip.addFile(item.relativePath, copy);
        }
        zip.addData(BackupManifest::fileName, manifest.toJson());
        zip.commit();
    }
    const BackupVerifier::Result verified = BackupVerifier::verify(partial, {}, m_tableFiles);
    if (!verified.ok())
        throw BackupError(QStringLiteral("La copia %1 non ha superato la verifica: %2")
                              .arg(native(zipPath), verified.problems.join(QStringLiteral("; "))));
    moveOver(partial, zipPath);
    return manifest;
}

QString BackupWriter::fileNameFor(const QDateTime& moment)
{
    return QStringLiteral("Quillio-%1.zip").arg(moment.toString(QStringLiteral("yyyy-MM-dd-HHmm")));
}

QString BackupWriter::preRestoreFileNameFor(const QDateTime& moment)
{
    return preRestorePrefix + moment.toString(QStringLiteral("yyyy-MM-dd-HHmm")) + QStringLiteral(".zip");
}

QString BackupWriter::claimFreeName(const QString& folder, const QString& fileName)
{
    if (!QDir().mkpath(folder))
        throw BackupError(QStringLiteral("Impossibile creare la cartella %1.").arg(native(folder)));
    const QFileInfo name(fileName);
    for (int n = 1; n <= MostClaimAttempts; ++n) {
        const QString candidate =
            n == 1 ? fileName
                   : QStringLiteral("%1-%2.%3").arg(name.completeBaseName()).arg(n).arg(name.suffix());
        QFile file(QDir(folder).filePath(candidate));
        if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            return file.fileName();
        if (!file.exists())
            throw BackupError(QStringLiteral("Impossibile scrivere nella cartella %1: %2.")
                                  .arg(native(folder), file.errorString()));
    }
    throw BackupError(QStringLiteral("Nella cartella %1 ci sono già troppe copie di nome %2.")
                          .arg(native(folder), fileName));
}

} // namespace quillio::backup
