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

// Removes the unfinished zip (once renamed, there is none left to remove).
struct PartialFile
{
    QString path;
    ~PartialFile() { QFile::remove(path); }
};

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
    const QString folder = QFileInfo(zipPath).absolutePath();
    if (!QDir().mkpath(folder))
        throw BackupError(QStringLiteral("Impossibile creare la cartella %1.").arg(native(folder)));
    QTemporaryDir staging(QDir(folder).filePath(QStringLiteral(".quillio-copia-XXXXXX")));
    if (!staging.isValid())
        throw BackupError(QStringLiteral("Impossibile scrivere nella cartella %1.").arg(native(folder)));

    BackupManifest manifest;
    manifest.created = now;
    manifest.programVersion = QStringLiteral(QUILLIO_VERSION);
    const PartialFile partial{zipPath + QStringLiteral(".part")};
    {
        ZipArchive zip(partial.path, ZipArchive::Mode::Create);
        int serial = 0;
        for (const ArchiveContents::Item& item : ArchiveContents::of(m_dataDirectory, m_tableFiles)) {
            const QString copy = staging.filePath(QString::number(++serial));
            SqliteFileCopy::copy(item.absolutePath, copy);
            manifest.files.append(SqliteFileCopy::describe(copy, item.relativePath, item.year));
            zip.addFile(item.relativePath, copy);
        }
        zip.addData(BackupManifest::fileName, manifest.toJson());
        zip.commit();
    }
    const BackupVerifier::Result verified = BackupVerifier::verify(partial.path);
    if (!verified.ok())
        throw BackupError(QStringLiteral("La copia %1 non ha superato la verifica: %2")
                              .arg(native(zipPath), verified.problems.join(QStringLiteral("; "))));
    moveOver(partial.path, zipPath);
    return manifest;
}

QString BackupWriter::fileNameFor(const QDateTime& moment)
{
    return QStringLiteral("Quillio-%1.zip").arg(moment.toString(QStringLiteral("yyyy-MM-dd-HHmm")));
}

QString BackupWriter::preRestoreFileNameFor(const QDateTime& moment)
{
    return QStringLiteral("Quillio-prima-del-ripristino-%1.zip")
        .arg(moment.toString(QStringLiteral("yyyy-MM-dd-HHmm")));
}

} // namespace quillio::backup
